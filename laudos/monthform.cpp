#include "laudos/monthform.h"

#include "laudos/laudokit.h"
#include "laudos/laudorules.h"
#include "widgets/enterfocus.h"
#include "widgets/guard.h"
#include "widgets/numericedit.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace talvera::laudos {

MonthForm::MonthForm(DataModule& dm, const char* name, const QString& caption, QWidget* parent)
    : QDialog(parent), dm_(dm), grid_(new QGridLayout(this))
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    edMes = numericEdit(this, "edMes", QStringLiteral("00"), 0, 12);
    edAno = numericEdit(this, "edAno", QStringLiteral("0000"), 2006, 2016, 2016);
    btPesq = button(this, "btPesq", QStringLiteral("Confirmar"));
    grid_->addWidget(new QLabel(QStringLiteral("Mês"), this), 0, 0);
    grid_->addWidget(edMes, 0, 1);
    grid_->addWidget(new QLabel(QStringLiteral("Ano"), this), 1, 0);
    grid_->addWidget(edAno, 1, 1);
    grid_->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(edMes, edAno);
    connect(btPesq, &QPushButton::clicked, this, widgets::guardedSlot([this] { btPesqClick(); }));
    widgets::installEnterMovesFocus(this);
}

void MonthForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        widgets::guarded([this] { formShow(); });
}

void MonthForm::formShow()
{
    if (const auto competence = storedCompetence(dm_)) {
        edMes->setValue(competence->mes);
        edAno->setValue(competence->ano);
    }
    edMes->setFocus();
}

} // namespace talvera::laudos
