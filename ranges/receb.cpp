#include "ranges/receb.h"

#include "core/datamodule.h"
#include "core/numbers.h"
#include "ranges/formkit.h"
#include "widgets/datagrid.h"
#include "widgets/guard.h"
#include "widgets/lookupcombo.h"
#include "widgets/maskededit.h"
#include "widgets/messages.h"
#include "widgets/numericedit.h"
#include "widgets/radiogroup.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace talvera::ranges {

TfmReceb::TfmReceb(DataModule& dm, QWidget* parent)
    : RangeForm(dm, QStringLiteral("fmReceb"), QStringLiteral("Previsão Anual de AIH´s / APAC's"), parent)
{
    edAno = numericEdit(this, "edAno", QStringLiteral("0000"), 2006, 2016, 2016);
    cbMun = municipalityCombo("cbMun");
    rgCateg = categoryGroup("rgCateg");
    makeGrid(dm.dataset(QStringLiteral("quAnual")), {{"ANO", "Ano"},
                                                     {"nomemun", "Município"},
                                                     {"inic", "Inicial"},
                                                     {"fina", "Final"},
                                                     {"categoria", "Categoria"}});

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Ano"), this), 0, 0);
    layout->addWidget(edAno, 0, 1, Qt::AlignLeft);
    layout->addWidget(new QLabel(QStringLiteral("Município de Referência"), this), 1, 0);
    layout->addWidget(cbMun, 1, 1);
    auto number = [&](const QString& label, QWidget* edit, QWidget* digit, int row) {
        layout->addWidget(new QLabel(label, this), row, 0);
        auto* line = new QHBoxLayout;
        line->addWidget(edit);
        line->addWidget(new QLabel(QStringLiteral("-"), this));
        line->addWidget(digit);
        line->addStretch(1);
        layout->addLayout(line, row, 1);
    };
    number(QStringLiteral("Inicial"), edInicial, edDvinic, 2);
    number(QStringLiteral("Final"), edFinal, edDvfina, 3);
    layout->addWidget(rgCateg, 0, 2, 4, 1);
    layout->addWidget(grNome, 4, 0, 1, 3);
    layout->setRowStretch(4, 1);
    addButtons(layout, 5);
    setTabOrder(edAno, cbMun);
    setTabOrder(cbMun, edInicial);
    setTabOrder(edInicial, edDvinic);
    setTabOrder(edDvinic, edFinal);
    setTabOrder(edFinal, edDvfina);
    setTabOrder(edDvfina, rgCateg);
    resize(820, 560);

    connect(btInclui, &QPushButton::clicked, this, widgets::guardedSlot([this] { btIncluiClick(); }));
    connect(btConfirma, &QPushButton::clicked, this, widgets::guardedSlot([this] { btConfirmaClick(); }));
    connect(btCancela, &QPushButton::clicked, this, widgets::guardedSlot([this] { btCancelaClick(); }));
    connect(btExclui, &QPushButton::clicked, this, widgets::guardedSlot([this] { btExcluiClick(); }));
    connect(grNome, &widgets::DataGrid::doubleClicked, this, widgets::guardedSlot([this] { grNomeDblClick(); }));
}

void TfmReceb::showEvent(QShowEvent* event)
{
    RangeForm::showEvent(event);
    if (!event->spontaneous())
        widgets::guarded([this] { btCancelaClick(); });
}

void TfmReceb::setEntryEditable(bool editable)
{
    cbMun->setEnabled(editable);
    edAno->setReadOnly(!editable);
    setRangeEditable(editable);
}

void TfmReceb::btCancelaClick()
{
    db::Dataset& anual = dm_.dataset(QStringLiteral("quAnual"));
    anual.close();
    anual.open();
    setEntryEditable(false);
    clearRange();
    cbMun->setKey({});
    rgCateg->setItemIndex(-1);
    showBrowsing();
}

void TfmReceb::btIncluiClick()
{
    btCancelaClick();
    setEntryEditable(true);
    showEntry();
    edAno->setFocus();
}

void TfmReceb::btConfirmaClick()
{
    if (!including_)
        return;
    auto& messages = widgets::messages();
    const int year = static_cast<int>(edAno->value());
    const QString municipality = cbMun->key();
    // Blocks are always recorded in the main database.
    dm_.switchMainDatabase(false);
    reopenMunicipalities();
    if (refuseMissingCategory() || refuseCategory())
        return;
    const auto range = typedRange(year);
    if (!range)
        return;
    if (const QString refusal = checkNumbers(*range); !refusal.isEmpty()) {
        messages.information(refusal);
        return;
    }
    if (municipality.isEmpty()) {
        messages.information(QStringLiteral("Selecione o município"));
        return;
    }
    if (forecastOverlaps(dm_, range->first, range->last)) {
        messages.information(QStringLiteral("Faixa de documentos já utilizada!"));
        return;
    }
    const auto written = insertForecast(
        dm_, {year, municipality, range->first, range->firstDigit, range->last, range->lastDigit});
    if (!written) {
        reportFailure(QStringLiteral("gravar a previsão anual"), written);
        return;
    }
    btCancelaClick();
}

void TfmReceb::btExcluiClick()
{
    const auto first = readNumber(edInicial->digits());
    const auto last = readNumber(edFinal->digits());
    if (!first || !last) {
        widgets::messages().information(QStringLiteral("Selecione na lista a faixa a excluir"));
        return;
    }
    if (anyDistributed(dm_, *first, *last)) {
        widgets::messages().information(QStringLiteral("Documentos já foram distribuidos, exclusão não permitida"));
        return;
    }
    const auto deleted = deleteForecast(dm_, {static_cast<int>(edAno->value()), cbMun->key(), *first,
                                              static_cast<int>(edDvinic->value()), *last,
                                              static_cast<int>(edDvfina->value())});
    if (!deleted) {
        reportFailure(QStringLiteral("excluir a previsão anual"), deleted);
        return;
    }
    btCancelaClick();
}

void TfmReceb::grNomeDblClick()
{
    db::Dataset& anual = dm_.dataset(QStringLiteral("quAnual"));
    if (!anual.moveTo(grNome->currentRow()))
        return;
    edAno->setValue(anual.value(QStringLiteral("ANO")).toInt());
    cbMun->setKey(anual.asString(QStringLiteral("MUNORIG")));
    const qint64 first = anual.value(QStringLiteral("INICIAL")).toLongLong();
    showRange(first, anual.value(QStringLiteral("DVINIC")).toInt(), anual.value(QStringLiteral("FINAL")).toLongLong(),
              anual.value(QStringLiteral("DVFINA")).toInt());
    btInclui->setEnabled(false);
    btExclui->setEnabled(true);
    setCategory(numbers::categoryOf(first));
}

} // namespace talvera::ranges
