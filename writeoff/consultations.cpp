#include "writeoff/consultations.h"

#include "core/datamodule.h"
#include "core/datasetmodel.h"
#include "widgets/datagrid.h"
#include "widgets/enterfocus.h"
#include "widgets/formkit.h"
#include "widgets/guard.h"
#include "widgets/longoperation.h"
#include "widgets/lookupcombo.h"
#include "widgets/maskededit.h"
#include "widgets/numericedit.h"
#include "widgets/radiogroup.h"
#include "writeoff/writeoffrules.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace talvera::writeoff {

namespace {

const QList<QPair<QString, QString>> kMonthMunicipalityColumns = {
    {"ANOPROC", "Ano Proc"}, {"MESPROC", "Mês Proc"}, {"nomemun", "Município de Origem"}};

} // namespace

// ------------------------------------------- municipalities with write-offs

TfmBaixamun::TfmBaixamun(DataModule& dm, QWidget* parent)
    : ArchiveConsultation(dm, "fmBaixamun", QStringLiteral("Consulta dos Municípios Baixados"), parent)
{
    rgBanco->setColumns(2);
    grNome = widgets::datasetGrid(this, dm.dataset(QStringLiteral("quBaixamun")), kMonthMunicipalityColumns);
    auto* layout = new QGridLayout(this);
    layout->addWidget(rgBanco, 0, 0, Qt::AlignLeft);
    layout->addWidget(grNome, 1, 0);
    setFixedSize(720, 520);
}

void TfmBaixamun::opened()
{
    db::Dataset& months = dm_.dataset(QStringLiteral("quBaixamun"));
    months.close();
    months.open();
}

// ---------------------------------------- municipalities without write-offs

TfmNbaixamun::TfmNbaixamun(DataModule& dm, QWidget* parent)
    : ArchiveConsultation(dm, "fmNbaixamun", QStringLiteral("Consulta dos Municípios não Baixados"), parent)
{
    edAno = widgets::numericEdit(this, "edAno", QStringLiteral("0000"), 2006, 2016, 2016);
    edMes = widgets::numericEdit(this, "edMes", QStringLiteral("00"), 1, 12, 1);
    btPesq = widgets::boldButton(this, "btPesq", QStringLiteral("Atualizar"));
    grNome = widgets::datasetGrid(this, dm.dataset(QStringLiteral("quNbaixamun")), kMonthMunicipalityColumns);

    auto* label2 = new QLabel(QStringLiteral("Ano/Mês processamento"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    auto* top = new QHBoxLayout;
    top->addWidget(label2);
    top->addWidget(edAno);
    top->addWidget(new QLabel(QStringLiteral("/"), this));
    top->addWidget(edMes);
    top->addSpacing(16);
    top->addWidget(btPesq);
    top->addStretch(1);
    top->addWidget(rgBanco);
    auto* layout = new QGridLayout(this);
    layout->addLayout(top, 0, 0);
    layout->addWidget(grNome, 1, 0);
    setFixedSize(720, 520);

    connect(btPesq, &QPushButton::clicked, this, widgets::guardedSlot([this] { btPesqClick(); }));
}

void TfmNbaixamun::btPesqClick()
{
    db::Dataset& without = dm_.dataset(QStringLiteral("quNbaixamun"));
    without.close();
    db::WriteResult rebuilt;
    {
        widgets::LongOperation operation(this, QStringLiteral("Atualizando os municípios não baixados..."));
        rebuilt = rebuildWithoutWriteOffs(dm_, static_cast<int>(edAno->value()), static_cast<int>(edMes->value()),
                                          [&operation](const QString& phase, qint64 done, qint64 total) {
                                              operation.setTotal(total);
                                              return operation.step(done, phase);
                                          });
    }
    if (!rebuilt)
        widgets::reportFailure(QStringLiteral("atualizar os municípios não baixados; nada foi alterado"), rebuilt);
    // What the table holds now: the new month, or the last one after a failure.
    without.open();
}

// ------------------------------------------------------ written-off numbers

TfmCbaixa::TfmCbaixa(DataModule& dm, QWidget* parent)
    : ArchiveConsultation(dm, "fmCbaixa", QStringLiteral("Consulta Baixa das Aih´s / Apac´s"), parent)
{
    edNumero = new widgets::MaskedEdit(widgets::MaskedEdit::aihPicture, this);
    edNumero->setObjectName(QStringLiteral("edNumero"));
    db::Dataset& mun = dm.dataset(QStringLiteral("quMun"));
    cbMun = widgets::municipalityCombo(
        this, mun, new db::DatasetModel(mun, {QStringLiteral("CODMUN"), QStringLiteral("NOME")}, this), "cbMun");
    edAno = widgets::numericEdit(this, "edAno", QStringLiteral("0000"), 2006, 2015, 2015);
    edMes = widgets::numericEdit(this, "edMes", QStringLiteral("00"), 0, 12);
    edPac = new QLineEdit(this);
    edPac->setObjectName(QStringLiteral("edPac"));
    edPac->setMaxLength(40);
    // Upper case as it is typed, the cursor staying where it was.
    connect(edPac, &QLineEdit::textEdited, edPac, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int cursor = edPac->cursorPosition();
        edPac->setText(upper);
        edPac->setCursorPosition(cursor);
    });
    chAih = widgets::filterBox(this, "chAih", QStringLiteral("Nº Aih/Apac"), edNumero);
    chMun = widgets::filterBox(this, "chMun", QStringLiteral("Município"), cbMun);
    chAno = widgets::filterBox(this, "chAno", QStringLiteral("Ano"), edAno);
    chMes = widgets::filterBox(this, "chMes", QStringLiteral("Mês"), edMes);
    chPac = widgets::filterBox(this, "chPac", QStringLiteral("Nome do Paciente"), edPac);
    btPesq = widgets::boldButton(this, "btPesq", QStringLiteral("Pesquisar"));
    grNome = widgets::datasetGrid(this, dm.dataset(QStringLiteral("quBaixa2")),
                                  {{"nume", "Nº Aih/Apac"},
                                   {"NOMEPAC", "Nome do Paciente"},
                                   {"nomemun", "Município de Atendimento"},
                                   {"MESPROC", "Mês Proc"},
                                   {"ANOPROC", "Ano Proc"},
                                   {"nomehosp", "Nome do Prestador"},
                                   {"CGC_HSP", "CNPJ"},
                                   {"categoria", "Categoria"}});

    auto* layout = new QGridLayout(this);
    int row = 0;
    for (auto [box, edit] : {std::pair<QWidget*, QWidget*>{chAih, edNumero}, {chMun, cbMun}, {chAno, edAno},
                             {chMes, edMes}, {chPac, edPac}}) {
        layout->addWidget(box, row, 0);
        layout->addWidget(edit, row++, 1, Qt::AlignLeft);
    }
    edPac->setMinimumWidth(320);
    layout->addWidget(rgBanco, 0, 2, 3, 1);
    layout->addWidget(btPesq, row - 1, 3, Qt::AlignBottom);
    layout->addWidget(grNome, row, 0, 1, 4);
    layout->setRowStretch(row, 1);
    layout->setColumnStretch(1, 1);
    setFixedSize(1100, 620);

    connect(btPesq, &QPushButton::clicked, this, widgets::guardedSlot([this] { btPesqClick(); }));
}

void TfmCbaixa::btPesqClick()
{
    db::Dataset& found = dm_.dataset(QStringLiteral("quBaixa2"));
    found.close();
    WriteOffFilter filter;
    if (chAih->isChecked()) {
        bool ok = false;
        const double number = edNumero->digits().toDouble(&ok);
        if (!ok)
            throw db::DatabaseError(QStringLiteral("Informe o número da Aih/Apac a pesquisar"));
        filter.number = number;
    }
    if (chMun->isChecked())
        filter.municipality = cbMun->key();
    if (chAno->isChecked())
        filter.year = static_cast<int>(edAno->value());
    if (chMes->isChecked())
        filter.month = static_cast<int>(edMes->value());
    if (chPac->isChecked())
        filter.patient = edPac->text();
    const Statement s = writeOffSearch(filter);
    found.setStatement(s.sql, s.params);
    found.open();
}

} // namespace talvera::writeoff
