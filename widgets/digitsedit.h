#pragma once
// Line edit that holds only the digits 0-9, typed, pasted or set.

#include <QLineEdit>

namespace talvera::widgets {

class DigitsEdit : public QLineEdit {
    Q_OBJECT
    // Shadows QLineEdit::text so that setting it through the property system
    // cannot bring in anything but digits. Changes still come through
    // QLineEdit::textChanged (moc cannot name an inherited signal with
    // arguments as NOTIFY).
    Q_PROPERTY(QString text READ text WRITE setDigitsText USER true)

public:
    explicit DigitsEdit(QWidget* parent = nullptr);
    explicit DigitsEdit(int maxDigits, QWidget* parent = nullptr);

    // Keeps the digits of the text, in order, up to maxLength().
    void setDigitsText(const QString& text);
};

} // namespace talvera::widgets
