#include "laudos/rellaudo.h"

#include "core/datamodule.h"
#include "laudos/laudokit.h"
#include "laudos/laudorules.h"
#include "reports/relato.h"
#include "widgets/enterfocus.h"
#include "widgets/guard.h"
#include "widgets/lookupcombo.h"
#include "widgets/numericedit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace talvera::laudos {

TfmRellaudo::TfmRellaudo(DataModule& dm, reports::TfmRelato& relato, QWidget* parent)
    : QDialog(parent), dm_(dm), relato_(relato)
{
    setObjectName(QStringLiteral("fmRellaudo"));
    setWindowTitle(QStringLiteral("Relação de Laudos do VORQ"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    edMes = numericEdit(this, "edMes", QStringLiteral("00"), 0, 12);
    edAno = numericEdit(this, "edAno", QStringLiteral("0000"), 2006, 2016, 2016);
    pqFolha = numericEdit(this, "pqFolha", QStringLiteral("000"), 0, 999);
    pqPrest = lookupCombo(this, dm.dataset(QStringLiteral("quPrest")), "pqPrest", QStringLiteral("CNES"),
                          QStringLiteral("CNES"));
    pqPrest->setMinimumWidth(110);
    chFolha = filterBox(this, "chFolha", QStringLiteral("Folha"), {pqFolha});
    chPrest = filterBox(this, "chPrest", QStringLiteral("Prestador"), {pqPrest});
    btPesq = button(this, "btPesq", QStringLiteral("Confirmar"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Mês"), this), 0, 0);
    layout->addWidget(edMes, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Ano"), this), 1, 0);
    layout->addWidget(edAno, 1, 1);
    layout->addWidget(chFolha, 2, 0);
    layout->addWidget(pqFolha, 2, 1);
    layout->addWidget(chPrest, 3, 0);
    layout->addWidget(pqPrest, 3, 1);
    layout->addWidget(btPesq, 4, 0, 1, 2, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(edMes, edAno);
    setTabOrder(edAno, chFolha);
    setTabOrder(chFolha, chPrest);
    setTabOrder(chPrest, btPesq);
    setTabOrder(btPesq, pqPrest);
    setTabOrder(pqPrest, pqFolha);
    connect(btPesq, &QPushButton::clicked, this, widgets::guardedSlot([this] { btPesqClick(); }));
    widgets::installEnterMovesFocus(this);
}

void TfmRellaudo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        widgets::guarded([this] { formShow(); });
}

void TfmRellaudo::formShow()
{
    db::Dataset& providers = dm_.dataset(QStringLiteral("quPrest"));
    providers.close();
    providers.open();
    providers.first();
    if (const auto competence = storedCompetence(dm_)) {
        edMes->setValue(competence->mes);
        edAno->setValue(competence->ano);
    }
    edMes->setFocus();
}

void TfmRellaudo::btPesqClick()
{
    ListingSelection selection;
    selection.ano = static_cast<int>(edAno->value());
    selection.mes = static_cast<int>(edMes->value());
    if (chPrest->isChecked())
        selection.cnes = pqPrest->key();
    if (chFolha->isChecked())
        selection.folha = static_cast<int>(pqFolha->value());
    openStatement(dm_.dataset(QStringLiteral("quRlaudo")), laudoListing(selection));
    // The form stays open for another selection.
    relato_.repLaudos->print();
}

} // namespace talvera::laudos
