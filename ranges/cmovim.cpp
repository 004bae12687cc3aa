#include "ranges/cmovim.h"

#include "core/datamodule.h"
#include "core/datasetmodel.h"
#include "ranges/formkit.h"
#include "ranges/rangerules.h"
#include "widgets/datagrid.h"
#include "widgets/enterfocus.h"
#include "widgets/guard.h"
#include "widgets/lookupcombo.h"
#include "widgets/maskededit.h"
#include "widgets/numericedit.h"
#include "widgets/radiogroup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace talvera::ranges {

namespace {
QLabel* countLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

TfmCmovim::TfmCmovim(DataModule& dm, QWidget* parent)
    : ArchiveConsultation(dm, "fmCmovim", QStringLiteral("Consulta de Aih´s / Apac´s distribuidas"), parent)
{

    edNumero = new widgets::MaskedEdit(widgets::MaskedEdit::aihPicture, this);
    edNumero->setObjectName(QStringLiteral("edNumero"));
    db::Dataset& mun = dm.dataset(QStringLiteral("quMun"));
    cbMun = municipalityCombo(
        this, mun, new db::DatasetModel(mun, {QStringLiteral("CODMUN"), QStringLiteral("NOME")}, this), "cbMun");
    rgMun = new widgets::RadioGroup(QStringLiteral("Classificação do Município"),
                                    {QStringLiteral("Referência"), QStringLiteral("Origem")}, this);
    rgMun->setObjectName(QStringLiteral("rgMun"));
    rgMun->setColumns(2);
    rgMun->setItemIndex(1);
    edAno = numericEdit(this, "edAno", QStringLiteral("0000"), 2006, 2016, 2016);
    edMes = numericEdit(this, "edMes", QStringLiteral("00"), 0, 12);
    chAih = filterBox(this, "chAih", QStringLiteral("Nº Aih/Apac"), edNumero);
    chMun = filterBox(this, "chMun", QStringLiteral("Município"), cbMun);
    chAno = filterBox(this, "chAno", QStringLiteral("Ano"), edAno);
    chMes = filterBox(this, "chMes", QStringLiteral("Mês"), edMes);
    btPesq = new QPushButton(QStringLiteral("Pesquisar"), this);
    btPesq->setObjectName(QStringLiteral("btPesq"));
    btPesq->setAutoDefault(false);

    grNome = datasetGrid(this, dm.dataset(QStringLiteral("quMovim")), {{"nomemun", "Município de Referência"},
                                                                      {"nomemunorig", "Município de Origem"},
                                                                      {"ANOCOMP", "Ano Comp"},
                                                                      {"MESCOMP", "Mês Comp"},
                                                                      {"TIPO", "Tipo"},
                                                                      {"nume", "Nº Aih/Apac"},
                                                                      {"USADA", "Usada"},
                                                                      {"categoria", "Categoria"}});
    lbQuant = countLabel(this, "lbQuant");
    lbUsada = countLabel(this, "lbUsada");
    lbNusada = countLabel(this, "lbNusada");

    auto* layout = new QGridLayout(this);
    layout->addWidget(chAih, 0, 0);
    layout->addWidget(edNumero, 0, 1, Qt::AlignLeft);
    layout->addWidget(chMun, 1, 0);
    layout->addWidget(cbMun, 1, 1);
    layout->addWidget(chAno, 2, 0);
    layout->addWidget(edAno, 2, 1, Qt::AlignLeft);
    layout->addWidget(chMes, 3, 0);
    layout->addWidget(edMes, 3, 1, Qt::AlignLeft);
    layout->addWidget(rgMun, 0, 2, 2, 1);
    layout->addWidget(rgBanco, 2, 2, 2, 1);
    layout->addWidget(btPesq, 3, 3, Qt::AlignBottom);
    layout->addWidget(grNome, 4, 0, 1, 4);
    layout->setRowStretch(4, 1);
    auto* counts = new QHBoxLayout;
    counts->addWidget(lbQuant);
    counts->addSpacing(24);
    counts->addWidget(lbUsada);
    counts->addSpacing(24);
    counts->addWidget(lbNusada);
    counts->addStretch(1);
    layout->addLayout(counts, 5, 0, 1, 4);
    layout->setColumnStretch(1, 1);
    resize(1000, 620);

    connect(btPesq, &QPushButton::clicked, this, widgets::guardedSlot([this] { btPesqClick(); }));
}

void TfmCmovim::opened()
{
    lbQuant->clear();
    lbUsada->clear();
    lbNusada->clear();
}

void TfmCmovim::btPesqClick()
{
    MovementFilter filter;
    if (chAih->isChecked()) {
        const auto number = readNumber(edNumero->digits());
        if (!number) {
            // Nothing from an earlier search stays on show.
            dm_.dataset(QStringLiteral("quMovim")).close();
            lbQuant->clear();
            lbUsada->clear();
            lbNusada->clear();
            throw db::DatabaseError(QStringLiteral("Informe o número da Aih/Apac a pesquisar"));
        }
        filter.number = *number;
    }
    if (chMun->isChecked())
        filter.municipality = cbMun->key();
    filter.byOrigin = rgMun->itemIndex() != 0;
    if (chAno->isChecked())
        filter.year = static_cast<int>(edAno->value());
    if (chMes->isChecked())
        filter.month = static_cast<int>(edMes->value());
    const MovementStatements s = movementConsultation(filter);
    db::Dataset& movim = dm_.dataset(QStringLiteral("quMovim"));
    db::Dataset& total = dm_.dataset(QStringLiteral("quConta"));
    db::Dataset& used = dm_.dataset(QStringLiteral("quUsada"));
    db::Dataset& unused = dm_.dataset(QStringLiteral("quNusada"));
    openStatement(movim, s.listing);
    openStatement(total, s.total);
    openStatement(used, s.used);
    openStatement(unused, s.unused);
    lbQuant->setText(QString::number(total.value(QStringLiteral("QUANT")).toLongLong()) +
                     QStringLiteral(" Documentos totais"));
    lbUsada->setText(QString::number(used.value(QStringLiteral("QUANT")).toLongLong()) +
                     QStringLiteral(" Documentos usados"));
    lbNusada->setText(QString::number(unused.value(QStringLiteral("QUANT")).toLongLong()) +
                      QStringLiteral(" Documentos a usar"));
}

} // namespace talvera::ranges
