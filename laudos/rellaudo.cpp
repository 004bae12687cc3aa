#include "laudos/rellaudo.h"

#include "core/datamodule.h"
#include "laudos/laudokit.h"
#include "laudos/laudorules.h"
#include "reports/relato.h"
#include "widgets/lookupcombo.h"
#include "widgets/numericedit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>

namespace talvera::laudos {

TfmRellaudo::TfmRellaudo(DataModule& dm, reports::TfmRelato& relato, QWidget* parent)
    : MonthForm(dm, "fmRellaudo", QStringLiteral("Relação de Laudos do VORQ"), parent), relato_(relato)
{
    pqFolha = numericEdit(this, "pqFolha", QStringLiteral("000"), 0, 999);
    pqPrest = lookupCombo(this, dm.dataset(QStringLiteral("quPrest")), "pqPrest", QStringLiteral("CNES"),
                          QStringLiteral("CNES"));
    pqPrest->setMinimumWidth(110);
    chFolha = filterBox(this, "chFolha", QStringLiteral("Folha"), {pqFolha});
    chPrest = filterBox(this, "chPrest", QStringLiteral("Prestador"), {pqPrest});
    grid()->addWidget(chFolha, 2, 0);
    grid()->addWidget(pqFolha, 2, 1);
    grid()->addWidget(chPrest, 3, 0);
    grid()->addWidget(pqPrest, 3, 1);
    grid()->addWidget(btPesq, 4, 0, 1, 2, Qt::AlignRight);
    QWidget* order[] = {edAno, chFolha, chPrest, btPesq, pqPrest, pqFolha};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TfmRellaudo::formShow()
{
    // The provider list is read again, so it is current.
    db::Dataset& providers = dm_.dataset(QStringLiteral("quPrest"));
    providers.close();
    providers.open();
    providers.first();
    MonthForm::formShow();
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
