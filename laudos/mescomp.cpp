#include "laudos/mescomp.h"

#include "core/datamodule.h"
#include "laudos/laudokit.h"
#include "laudos/laudorules.h"
#include "widgets/enterfocus.h"
#include "widgets/guard.h"
#include "widgets/messages.h"
#include "widgets/numericedit.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace talvera::laudos {

TfmMescomp::TfmMescomp(DataModule& dm, QWidget* parent) : QDialog(parent), dm_(dm)
{
    setObjectName(QStringLiteral("fmMescomp"));
    setWindowTitle(QStringLiteral("Configurar Mês de Competência"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    edMes = numericEdit(this, "edMes", QStringLiteral("00"), 0, 12);
    edAno = numericEdit(this, "edAno", QStringLiteral("0000"), 2006, 2016, 2016);
    btPesq = button(this, "btPesq", QStringLiteral("Confirmar"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Mês"), this), 0, 0);
    layout->addWidget(edMes, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Ano"), this), 1, 0);
    layout->addWidget(edAno, 1, 1);
    layout->addWidget(btPesq, 2, 0, 1, 2, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(edMes, edAno);
    setTabOrder(edAno, btPesq);
    connect(btPesq, &QPushButton::clicked, this, widgets::guardedSlot([this] { btPesqClick(); }));
    widgets::installEnterMovesFocus(this);
}

void TfmMescomp::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        widgets::guarded([this] { formShow(); });
}

void TfmMescomp::formShow()
{
    if (const auto competence = storedCompetence(dm_)) {
        edMes->setValue(competence->mes);
        edAno->setValue(competence->ano);
    }
    edMes->setFocus();
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
