#include "core/numbers.h"

#include <cmath>

namespace talvera::numbers {

namespace {
QString paddedBase(qint64 base)
{
    QString text = QString::number(base < 0 ? -base : base);
    if (text.size() > 12)
        text.truncate(12);
    return text.rightJustified(12, QLatin1Char('0'));
}
} // namespace

int checkDigit(qint64 base)
{
    const int remainder = static_cast<int>(base % 11);
    return remainder == 10 ? 0 : remainder;
}

int checkDigit(double base)
{
    return checkDigit(static_cast<qint64>(std::trunc(base)));
}

QString displayTextWithoutDigit(qint64 base)
{
    const QString d = paddedBase(base);
    return d.mid(0, 2) + u'.' + d.mid(2, 2) + u'.' + d.mid(4, 1) + u'.' + d.mid(5, 1) + u'.'
           + d.mid(6, 3) + u'.' + d.mid(9, 3);
}

QString displayText(qint64 base, int digit)
{
    return displayTextWithoutDigit(base) + u'-' + QString::number(digit);
}

QString categoryDigit(qint64 base)
{
    return paddedBase(base).mid(4, 1);
}

QString categoryTextForDigit(int digit)
{
    switch (digit) {
    case 1: return QStringLiteral("AIH´s p/ uso geral");
    case 2: return QStringLiteral("APAC´s");
    case 3: return QStringLiteral("AIH´s específica da CNRAC");
    case 4: return QStringLiteral("APAC´s específica da CNRAC");
    case 5: return QStringLiteral("AIH´s p/ cirurgias eletivas");
    default: return {};
    }
}

QString categoryText(qint64 base)
{
    return categoryTextForDigit(categoryDigit(base).toInt());
}

bool hasTwelveDigits(qint64 base)
{
    return base >= 100000000000LL && base <= 999999999999LL;
}

int stateOf(qint64 base) { return static_cast<int>(base / 10000000000LL); }
int yearDigitsOf(qint64 base) { return static_cast<int>(base / 100000000LL % 100); }
int categoryOf(qint64 base) { return static_cast<int>(base / 10000000LL % 10); }

SplitNumber splitVorqNumber(const QString& nAih)
{
    if (nAih.size() < 13)
        return {};
    for (int i = 0; i < 13; ++i) {
        if (nAih.at(i) < u'0' || nAih.at(i) > u'9')
            return {};
    }
    return {nAih.left(12).toDouble(), nAih.mid(12, 1).toDouble()};
}

QString cpfText(qint64 cpf)
{
    const QString d = QString::number(cpf).trimmed().rightJustified(11, QLatin1Char('0'));
    return d.mid(0, 3) + u'.' + d.mid(3, 3) + u'.' + d.mid(6, 3) + u'-' + d.mid(9, 2);
}

QString cnpjText(const QString& digits)
{
    if (digits.isEmpty())
        return {};
    const QString d = digits.leftJustified(14, QLatin1Char(' '));
    return d.mid(0, 2) + u'.' + d.mid(2, 3) + u'.' + d.mid(5, 3) + u'/' + d.mid(8, 4) + u'-'
           + d.mid(12, 2);
}

} // namespace talvera::numbers
