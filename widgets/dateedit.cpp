#include "widgets/dateedit.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

namespace talvera::widgets {

namespace {
// QDateEdit has no empty state: the minimum date stands for it and is shown
// as the blank special-value text. No real date in this system is that old.
const QDate emptyDate(100, 1, 1);
} // namespace

DateEdit::DateEdit(QWidget* parent) : QDateEdit(parent)
{
    setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setCalendarPopup(true);
    setMinimumDate(emptyDate);
    setSpecialValueText(QStringLiteral(" "));
    QDateEdit::setDate(emptyDate);
    if (QCalendarWidget* calendar = calendarWidget())
        calendar->installEventFilter(this);
    connect(this, &QDateTimeEdit::dateChanged, this, [this] {
        const QDate now = date();
        if (now == m_last)
            return;
        m_last = now;
        emit valueChanged(now);
    });
}

QDate DateEdit::date() const
{
    const QDate shown = QDateEdit::date();
    return shown == emptyDate ? QDate() : shown;
}

void DateEdit::setDate(QDate date)
{
    QDateEdit::setDate(date.isValid() && date > emptyDate ? date : emptyDate);
}

void DateEdit::clear()
{
    setDate(QDate());
}

void DateEdit::stepBy(int steps)
{
    // Stepping from empty would count from the placeholder date.
    if (isEmpty()) {
        setDate(QDate::currentDate());
        return;
    }
    QDateEdit::stepBy(steps);
}

void DateEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool erase = key == Qt::Key_Delete || key == Qt::Key_Backspace;
    if (erase && !isEmpty() && lineEdit()->selectedText() == lineEdit()->text()) {
        clear();
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (isEmpty() && typed.size() == 1 && typed.at(0).isDigit()) {
        // Typing into an empty field starts from today, day first, so the
        // digits replace the day instead of being refused by the blank text.
        QDateEdit::setDate(QDate::currentDate());
        setCurrentSection(QDateTimeEdit::DaySection);
        setSelectedSection(QDateTimeEdit::DaySection);
    }
    QDateEdit::keyPressEvent(event);
}

bool DateEdit::eventFilter(QObject* watched, QEvent* event)
{
    // An empty field opens the calendar on the current month, not on the placeholder.
    if (event->type() == QEvent::Show && isEmpty()) {
        if (auto* calendar = qobject_cast<QCalendarWidget*>(watched)) {
            const QDate today = QDate::currentDate();
            calendar->setCurrentPage(today.year(), today.month());
        }
    }
    return QDateEdit::eventFilter(watched, event);
}

} // namespace talvera::widgets
