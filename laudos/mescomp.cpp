#include "laudos/mescomp.h"

#include "laudos/laudokit.h"
#include "laudos/laudorules.h"
#include "widgets/messages.h"
#include "widgets/numericedit.h"

#include <QGridLayout>
#include <QPushButton>

namespace talvera::laudos {

TfmMescomp::TfmMescomp(DataModule& dm, QWidget* parent)
    : MonthForm(dm, "fmMescomp", QStringLiteral("Configurar Mês de Competência"), parent)
{
    grid()->addWidget(btPesq, 2, 0, 1, 2, Qt::AlignRight);
    setTabOrder(edAno, btPesq);
}

void TfmMescomp::btPesqClick()
{
    if (!widgets::messages().question(QStringLiteral("Confirma Mês/Ano?")))
        return;
    const db::WriteResult stored =
        storeCompetence(dm_, {static_cast<int>(edMes->value()), static_cast<int>(edAno->value())});
    if (!stored) {
        // The typed month stays for another try.
        reportFailure(QStringLiteral("gravar o mês de competência"), stored);
        return;
    }
    close();
}

} // namespace talvera::laudos
