#include "ranges/exporta.h"

#include "core/datamodule.h"
#include "core/datasetmodel.h"
#include "ranges/formkit.h"
#include "reports/relato.h"
#include "widgets/enterfocus.h"
#include "widgets/guard.h"
#include "widgets/lookupcombo.h"
#include "widgets/numericedit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace talvera::ranges {

Statement exportSelection(const QString& reference, double year, double month)
{
    return {QStringLiteral("select * from TBMOVIM where MUNREF = :p1 and anocomp = :p2 and mescomp = :p3 "
                           "order by MUNREF, ANOCOMP, MESCOMP, NUMERO"),
            {reference, year, month}};
}

TfmExporta::TfmExporta(DataModule& dm, reports::TfmRelato& relato, QWidget* parent)
    : QDialog(parent), dm_(dm), relato_(relato)
{
    setObjectName(QStringLiteral("fmExporta"));
    setWindowTitle(QStringLiteral("Exportar Aih's e Apac's"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    db::Dataset& municipalities = dm.dataset(QStringLiteral("quMun"));
    auto* model = new db::DatasetModel(municipalities, {QStringLiteral("CODMUN"), QStringLiteral("NOME")}, this);
    cbMun = municipalityCombo(this, municipalities, model, "cbMun");
    Anopesq = numericEdit(this, "Anopesq", QStringLiteral("0000"), 2006, 2016, 2016);
    Mespesq = numericEdit(this, "Mespesq", QStringLiteral("00"), 0, 12);
    btPesq = new QPushButton(QStringLiteral("Atualizar"), this);
    btPesq->setObjectName(QStringLiteral("btPesq"));
    btPesq->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Município de Referência"), this), 0, 0);
    layout->addWidget(cbMun, 0, 1);
    auto* period = new QHBoxLayout;
    period->addWidget(Anopesq);
    period->addWidget(new QLabel(QStringLiteral("/"), this));
    period->addWidget(Mespesq);
    period->addStretch(1);
    layout->addWidget(new QLabel(QStringLiteral("Ano/Mês competência"), this), 1, 0);
    layout->addLayout(period, 1, 1);
    layout->addWidget(btPesq, 2, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(cbMun, Anopesq);
    setTabOrder(Anopesq, Mespesq);
    setTabOrder(Mespesq, btPesq);
    widgets::installEnterMovesFocus(this);

    connect(btPesq, &QPushButton::clicked, this, widgets::guardedSlot([this] { btPesqClick(); }));
}

void TfmExporta::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous() || dm_.edition() != Edition::Municipal)
        return;
    // A municipal installation exports its own municipality only.
    cbMun->setEnabled(false);
    cbMun->setKey(dm_.settings.edPref);
}

void TfmExporta::btPesqClick()
{
    openStatement(dm_.dataset(QStringLiteral("quSerie")),
                  exportSelection(cbMun->key(), Anopesq->value(), Mespesq->value()));
    relato_.repExcel->print();
}

} // namespace talvera::ranges
