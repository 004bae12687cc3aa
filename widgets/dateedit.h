#pragma once
// Date field (dd/MM/yyyy) with a calendar popup and an empty state. An invalid
// QDate means empty, both when read and when set.

#include <QDate>
#include <QDateEdit>

namespace talvera::widgets {

class DateEdit : public QDateEdit {
    Q_OBJECT
    // Shadows QDateTimeEdit::date so the property system sees the empty state.
    Q_PROPERTY(QDate date READ date WRITE setDate NOTIFY valueChanged USER true)

public:
    explicit DateEdit(QWidget* parent = nullptr);

    // Invalid when empty.
    QDate date() const;
    // An invalid date empties the field.
    void setDate(QDate date);
    bool isEmpty() const { return !date().isValid(); }
    void clear() override;
    void stepBy(int steps) override;

signals:
    // The date as date() reports it, invalid when the field was emptied.
    void valueChanged(QDate date);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QDate m_last;
};

} // namespace talvera::widgets
