#include "widgets/maskededit.h"

namespace talvera::widgets {

namespace {

QString onlyDigits(const QString& text)
{
    QString result;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            result.append(c);
    }
    return result;
}

// Qt's mask language: '9' is a required digit; separators that would be mask
// meta characters are escaped so they show literally.
QString qtMaskOf(const QString& picture)
{
    static const QString meta = QStringLiteral("AaNnXx90Dd#HhBb><!;[]{}\\");
    QString mask;
    for (const QChar c : picture) {
        if (c == QLatin1Char('0'))
            mask.append(QLatin1Char('9'));
        else if (meta.contains(c))
            mask.append(QLatin1Char('\\')).append(c);
        else
            mask.append(c);
    }
    return mask.isEmpty() ? QString() : mask + QStringLiteral(";_");
}

} // namespace

MaskedEdit::MaskedEdit(QWidget* parent) : MaskedEdit(QString(), parent) {}

MaskedEdit::MaskedEdit(const QString& picture, QWidget* parent) : QLineEdit(parent)
{
    setPicture(picture);
    connect(this, &QLineEdit::textChanged, this, [this] {
        const QString now = digits();
        if (now == m_lastDigits)
            return;
        m_lastDigits = now;
        emit digitsChanged(now);
    });
}

void MaskedEdit::setPicture(const QString& picture)
{
    const QString kept = digits();
    m_picture = picture;
    m_capacity = static_cast<int>(picture.count(QLatin1Char('0')));
    setInputMask(qtMaskOf(picture));
    setDigits(kept);
}

QString MaskedEdit::digits() const
{
    return onlyDigits(text());
}

void MaskedEdit::setDigits(const QString& digits)
{
    QString wanted = onlyDigits(digits);
    if (m_capacity > 0)
        wanted.truncate(m_capacity);
    // The mask places each digit in the next digit position, skipping separators.
    setText(wanted);
}

} // namespace talvera::widgets
