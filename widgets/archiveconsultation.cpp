#include "widgets/archiveconsultation.h"

#include "core/datamodule.h"
#include "widgets/enterfocus.h"
#include "widgets/guard.h"
#include "widgets/radiogroup.h"

#include <QHideEvent>
#include <QShowEvent>

namespace talvera::widgets {

ArchiveConsultation::ArchiveConsultation(DataModule& dm, const char* name, const QString& caption, QWidget* parent)
    : QDialog(parent), dm_(dm)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    rgBanco = new RadioGroup(QStringLiteral("Anos"), {QStringLiteral("2006 a 2010"), QStringLiteral("2011 em diante")},
                             this);
    rgBanco->setObjectName(QStringLiteral("rgBanco"));
    rgBanco->setItemIndex(1);
    connect(rgBanco, &RadioGroup::clicked, this, guardedSlot([this] { chooseDatabase(); }));
    installEnterMovesFocus(this);
}

void ArchiveConsultation::switchTo(bool archive)
{
    dm_.switchMainDatabase(archive);
    // Names and lists come from the chosen database's MUN.
    db::Dataset& mun = dm_.dataset(QStringLiteral("quMun"));
    mun.close();
    mun.open();
}

void ArchiveConsultation::chooseDatabase()
{
    const int choice = rgBanco->itemIndex();
    if (choice == 0 || choice == 1)
        switchTo(choice == 0);
    opened();
}

void ArchiveConsultation::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { chooseDatabase(); });
}

void ArchiveConsultation::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // Whatever was consulted, the other forms find the main database again.
    if (!event->spontaneous())
        guarded([this] { switchTo(false); });
}

} // namespace talvera::widgets
