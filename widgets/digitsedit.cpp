#include "widgets/digitsedit.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace talvera::widgets {

DigitsEdit::DigitsEdit(QWidget* parent) : QLineEdit(parent)
{
    // [0-9] rather than \d, which would also accept other scripts' digits.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
}

DigitsEdit::DigitsEdit(int maxDigits, QWidget* parent) : DigitsEdit(parent)
{
    setMaxLength(maxDigits);
}

void DigitsEdit::setDigitsText(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.append(c);
    }
    setText(digits.left(maxLength()));
}

} // namespace talvera::widgets
