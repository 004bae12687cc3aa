#include "ranges/distr.h"

#include "core/datamodule.h"
#include "core/numbers.h"
#include "ranges/formkit.h"
#include "widgets/datagrid.h"
#include "widgets/digitsedit.h"
#include "widgets/guard.h"
#include "widgets/longoperation.h"
#include "widgets/lookupcombo.h"
#include "widgets/maskededit.h"
#include "widgets/messages.h"
#include "widgets/numericedit.h"
#include "widgets/radiogroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace talvera::ranges {

TfmDistr::TfmDistr(DataModule& dm, QWidget* parent)
    : RangeForm(dm, QStringLiteral("fmDistr"), QStringLiteral("Distribuição de AIH´s / APAC's para os municípios"),
                parent)
{
    cbMunorig = municipalityCombo("cbMunorig");
    cbMun = municipalityCombo("cbMun");
    edAno = numericEdit(this, "edAno", QStringLiteral("0000"), 2006, 2016, 2016);
    edMes = numericEdit(this, "edMes", QStringLiteral("00"), 0, 12);
    edQuant = new widgets::DigitsEdit(this);
    edQuant->setObjectName(QStringLiteral("edQuant"));
    edQuant->setText(QStringLiteral("0"));
    edQuant->setMaximumWidth(80);
    rgcategoria = categoryGroup("rgcategoria");
    rgtipo = new widgets::RadioGroup(QStringLiteral("Tipo"), {QStringLiteral("Eletiva"), QStringLiteral("Urgência")},
                                     this);
    rgtipo->setObjectName(QStringLiteral("rgtipo"));
    makeGrid(dm.dataset(QStringLiteral("quDistr")), {{"ANOCOMP", "Ano"},
                                                     {"MESCOMP", "Mês"},
                                                     {"nomemunorig", "Município de Origem"},
                                                     {"nomemun", "Município de Referência"},
                                                     {"inic", "Inicial"},
                                                     {"fina", "Final"},
                                                     {"quant", "Quant"},
                                                     {"TIPO", "Tipo"},
                                                     {"categoria", "Categoria"}});

    // Selection and order of the list.
    auto* search = new QGroupBox(QStringLiteral("Classificação"), this);
    search->setObjectName(QStringLiteral("gbClassificacao"));
    cbPesq = municipalityCombo("cbPesq");
    cbPesq->setParent(search);
    Anopesq = numericEdit(search, "Anopesq", QStringLiteral("0000"), 2006, 9999, 2016);
    Mespesq = numericEdit(search, "Mespesq", QStringLiteral("00"), 0, 12);
    chMun = filterBox(search, "chMun", QStringLiteral("Município"), cbPesq);
    chAno = filterBox(search, "chAno", QStringLiteral("Ano"), Anopesq);
    chMes = filterBox(search, "chMes", QStringLiteral("Mês"), Mespesq);
    rgPesq = new widgets::RadioGroup(QStringLiteral("Classificação Município"),
                                     {QStringLiteral("Mun.Origem"), QStringLiteral("Mun.Referência"),
                                      QStringLiteral("Ano/Mês Comp")},
                                     search);
    rgPesq->setObjectName(QStringLiteral("rgPesq"));
    btPesq = new QPushButton(QStringLiteral("Atualizar"), search);
    btPesq->setObjectName(QStringLiteral("btPesq"));
    btPesq->setAutoDefault(false);
    auto* searchLayout = new QGridLayout(search);
    searchLayout->addWidget(chMun, 0, 0);
    searchLayout->addWidget(cbPesq, 0, 1);
    searchLayout->addWidget(chAno, 1, 0);
    searchLayout->addWidget(Anopesq, 1, 1, Qt::AlignLeft);
    searchLayout->addWidget(chMes, 2, 0);
    searchLayout->addWidget(Mespesq, 2, 1, Qt::AlignLeft);
    searchLayout->addWidget(rgPesq, 0, 2, 3, 1);
    searchLayout->addWidget(btPesq, 3, 2);

    auto* layout = new QGridLayout(this);
    int row = 0;
    auto labelled = [&](const QString& label, QWidget* w) {
        layout->addWidget(new QLabel(label, this), row, 0);
        layout->addWidget(w, row++, 1);
    };
    labelled(QStringLiteral("Município de Origem"), cbMunorig);
    labelled(QStringLiteral("Município de Referência"), cbMun);
    auto* period = new QHBoxLayout;
    period->addWidget(edAno);
    period->addWidget(new QLabel(QStringLiteral("/"), this));
    period->addWidget(edMes);
    period->addStretch(1);
    layout->addWidget(new QLabel(QStringLiteral("Ano/Mês competência"), this), row, 0);
    layout->addLayout(period, row++, 1);
    auto number = [&](const QString& label, QWidget* edit, QWidget* digit) {
        auto* line = new QHBoxLayout;
        line->addWidget(edit);
        line->addWidget(new QLabel(QStringLiteral("-"), this));
        line->addWidget(digit);
        line->addStretch(1);
        layout->addWidget(new QLabel(label, this), row, 0);
        layout->addLayout(line, row++, 1);
    };
    number(QStringLiteral("Inicial"), edInicial, edDvinic);
    number(QStringLiteral("Final"), edFinal, edDvfina);
    labelled(QStringLiteral("Quant"), edQuant);
    layout->addWidget(rgcategoria, 0, 2, 4, 1);
    layout->addWidget(rgtipo, 4, 2, 2, 1);
    layout->addWidget(search, 0, 3, 6, 1);
    layout->addWidget(grNome, row, 0, 1, 4);
    layout->setRowStretch(row++, 1);
    addButtons(layout, row);
    setTabOrder(cbMunorig, cbMun);
    setTabOrder(cbMun, edAno);
    setTabOrder(edAno, edMes);
    setTabOrder(edMes, edInicial);
    setTabOrder(edInicial, edDvinic);
    setTabOrder(edDvinic, edFinal);
    setTabOrder(edFinal, edDvfina);
    setTabOrder(edDvfina, edQuant);
    setTabOrder(edQuant, rgcategoria);
    setTabOrder(rgcategoria, rgtipo);
    resize(1100, 640);

    for (QWidget* w : {static_cast<QWidget*>(cbMunorig), static_cast<QWidget*>(cbMun),
                       static_cast<QWidget*>(edQuant)})
        w->installEventFilter(this);
    connect(btInclui, &QPushButton::clicked, this, widgets::guardedSlot([this] { btIncluiClick(); }));
    connect(btConfirma, &QPushButton::clicked, this, widgets::guardedSlot([this] { btConfirmaClick(); }));
    connect(btCancela, &QPushButton::clicked, this, widgets::guardedSlot([this] { btCancelaClick(); }));
    connect(btExclui, &QPushButton::clicked, this, widgets::guardedSlot([this] { btExcluiClick(); }));
    connect(btPesq, &QPushButton::clicked, this, widgets::guardedSlot([this] { btPesqClick(); }));
    connect(grNome, &widgets::DataGrid::doubleClicked, this, widgets::guardedSlot([this] { grNomeDblClick(); }));
    // A click on any of the three groups looks at the category.
    for (widgets::RadioGroup* g : {rgtipo, rgPesq})
        connect(g, &widgets::RadioGroup::clicked, this, widgets::guardedSlot([this] { checkCategoryClick(); }));
}

void TfmDistr::showEvent(QShowEvent* event)
{
    RangeForm::showEvent(event);
    if (!event->spontaneous())
        widgets::guarded([this] { btCancelaClick(); });
}

bool TfmDistr::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == cbMunorig || watched == cbMun)
            widgets::guarded([this] { municipalityExit(); });
        else if (watched == edQuant)
            widgets::guarded([this] { edQuantExit(); });
    }
    return RangeForm::eventFilter(watched, event);
}

void TfmDistr::setEntryEditable(bool editable)
{
    cbMun->setEnabled(editable);
    cbMunorig->setEnabled(editable);
    edAno->setReadOnly(!editable);
    edMes->setReadOnly(!editable);
    setRangeEditable(editable);
}

void TfmDistr::btCancelaClick()
{
    setEntryEditable(false);
    cbMun->setKey({});
    cbMunorig->setKey({});
    clearRange();
    edMes->setValue(0);
    edQuant->setText(QStringLiteral("0"));
    rgtipo->setItemIndex(-1);
    showBrowsing();
}

void TfmDistr::btIncluiClick()
{
    btCancelaClick();
    setEntryEditable(true);
    showEntry();
    cbMunorig->setFocus();
}

void TfmDistr::reopenList()
{
    // The list keeps the statement and parameters it last had.
    db::Dataset& distr = dm_.dataset(QStringLiteral("quDistr"));
    distr.close();
    distr.open();
}

void TfmDistr::btConfirmaClick()
{
    if (!including_)
        return;
    auto& messages = widgets::messages();
    Distribution d;
    d.reference = cbMun->key();
    d.origin = cbMunorig->key();
    d.year = static_cast<int>(edAno->value());
    d.month = static_cast<int>(edMes->value());
    const int type = rgtipo->itemIndex();
    // Ranges are always created in the main database.
    dm_.switchMainDatabase(false);
    reopenMunicipalities();
    if (refuseMissingCategory())
        return;
    if (type < 0) {
        messages.information(QStringLiteral("Selecione o tipo"));
        return;
    }
    if (refuseCategory())
        return;
    if (d.month < 1 || d.month > 12) {
        messages.information(QStringLiteral("Mês inválido"));
        return;
    }
    const auto range = typedRange(d.year);
    if (!range)
        return;
    if (const QString refusal = checkNumbers(*range); !refusal.isEmpty()) {
        messages.information(refusal);
        return;
    }
    if (d.origin.isEmpty()) {
        messages.information(QStringLiteral("Selecione o município de origem"));
        return;
    }
    if (d.reference.isEmpty()) {
        messages.information(QStringLiteral("Selecione o município de referência"));
        return;
    }
    if (anyDistributed(dm_, range->first, range->last)) {
        messages.information(QStringLiteral("Documentos já foram distribuidos, inclusão não permitida"));
        return;
    }
    if (!insideForecast(dm_, d.reference, range->first, range->last)) {
        messages.information(
            QStringLiteral("Documentos não foram efetuados a previsão anual, inclusão não permitida"));
        return;
    }
    d.first = range->first;
    d.firstDigit = range->firstDigit;
    d.last = range->last;
    d.lastDigit = range->lastDigit;
    d.type = type == 0 ? QStringLiteral("E") : QStringLiteral("U");

    const qint64 total = d.last - d.first + 1;
    db::WriteResult written;
    {
        widgets::LongOperation operation(this, QStringLiteral("Gravando a distribuição de %1 números...").arg(total),
                                         total);
        written = saveDistribution(dm_, d, operation.progress());
    }
    if (!written) {
        reportFailure(QStringLiteral("gravar a distribuição"), written);
        return;
    }
    btCancelaClick();
    reopenList();
}

Distribution TfmDistr::shownDistribution(qint64 first, qint64 last) const
{
    Distribution d;
    d.reference = cbMun->key();
    d.origin = cbMunorig->key();
    d.year = static_cast<int>(edAno->value());
    d.month = static_cast<int>(edMes->value());
    d.first = first;
    d.last = last;
    return d;
}

void TfmDistr::btExcluiClick()
{
    auto& messages = widgets::messages();
    const auto first = readNumber(edInicial->digits());
    const auto last = readNumber(edFinal->digits());
    if (!first || !last) {
        messages.information(QStringLiteral("Selecione na lista a distribuição a excluir"));
        return;
    }
    const Distribution d = shownDistribution(*first, *last);
    const QString notDistributed = QStringLiteral("Documentos não foram distribuidos, exclusão não permitida");
    if (!anyDistributed(dm_, d.first, d.last) || !distributionExists(dm_, d)) {
        messages.information(notDistributed);
        return;
    }
    if (anyWrittenOff(dm_, d.first, d.last)) {
        messages.information(QStringLiteral("Existem documentos já baixados nessa faixa, exclusão não permitida"));
        return;
    }
    if (!messages.question(QStringLiteral("CONFIRMA EXCLUSÃO?")))
        return;
    const auto deleted = deleteDistribution(dm_, d);
    if (!deleted) {
        reportFailure(QStringLiteral("excluir a distribuição"), deleted);
        return;
    }
    btCancelaClick();
    reopenList();
}

void TfmDistr::btPesqClick()
{
    DistributionFilter filter;
    if (chMun->isChecked())
        filter.municipality = cbPesq->key();
    if (chAno->isChecked())
        filter.year = static_cast<int>(Anopesq->value());
    if (chMes->isChecked())
        filter.month = static_cast<int>(Mespesq->value());
    filter.order = rgPesq->itemIndex();
    openStatement(dm_.dataset(QStringLiteral("quDistr")), distributionListing(filter));
}

void TfmDistr::grNomeDblClick()
{
    db::Dataset& distr = dm_.dataset(QStringLiteral("quDistr"));
    if (!distr.moveTo(grNome->currentRow()))
        return;
    edAno->setValue(distr.value(QStringLiteral("ANOCOMP")).toInt());
    edMes->setValue(distr.value(QStringLiteral("MESCOMP")).toInt());
    cbMun->setKey(distr.asString(QStringLiteral("MUNREF")));
    cbMunorig->setKey(distr.asString(QStringLiteral("MUNORIG")));
    edQuant->setText(QString::number(distr.value(QStringLiteral("quant")).toLongLong()));
    const qint64 first = distr.value(QStringLiteral("INICIAL")).toLongLong();
    showRange(first, distr.value(QStringLiteral("DVINIC")).toInt(), distr.value(QStringLiteral("FINAL")).toLongLong(),
              distr.value(QStringLiteral("DVFINA")).toInt());
    const QString type = distr.asString(QStringLiteral("TIPO"));
    rgtipo->setItemIndex(type == QLatin1String("E") ? 0 : type == QLatin1String("U") ? 1 : -1);
    btInclui->setEnabled(false);
    btExclui->setEnabled(dm_.settings.user.trimmed() == QLatin1String("1"));
    setCategory(numbers::categoryOf(first));
}

void TfmDistr::municipalityExit()
{
    const QString origin = cbMunorig->key();
    const QString reference = cbMun->key();
    if (origin.isEmpty() || reference.isEmpty())
        rgtipo->setItemIndex(-1);
    else
        rgtipo->setItemIndex(origin == reference ? 0 : 1);
    checkCategoryClick();
}

void TfmDistr::edQuantExit()
{
    bool readable = false;
    const qint64 quantity = edQuant->text().toLongLong(&readable);
    if (!readable && !edQuant->text().isEmpty()) {
        widgets::messages().information(QStringLiteral("Quantidade inválida: o número tem dígitos demais"));
        edQuant->setFocus();
        return;
    }
    if (!including_ || quantity <= 0 || category() == 0 || cbMun->key().isEmpty())
        return;
    const auto proposal = proposeRange(dm_, cbMun->key(), static_cast<int>(edAno->value()), category(), quantity);
    if (!proposal) {
        widgets::messages().information(QStringLiteral("Não há faixa livre na previsão anual para essa quantidade"));
        return;
    }
    showRange(proposal->first, numbers::checkDigit(proposal->first), proposal->second,
              numbers::checkDigit(proposal->second));
}

} // namespace talvera::ranges
