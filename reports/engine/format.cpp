#include "reports/engine/format.h"

#include <algorithm>
#include <cmath>

namespace talvera::reports {

QString formatNumber(double value, const QString& picture)
{
    const qsizetype point = picture.indexOf(u'.');
    const QString whole = point < 0 ? picture : picture.left(point);
    const QString fraction = point < 0 ? QString() : picture.mid(point + 1);
    const bool grouped = whole.contains(u',');
    const int minDigits = static_cast<int>(whole.count(u'0'));
    const int decimals = static_cast<int>(fraction.count(u'0') + fraction.count(u'#'));
    const int forcedDecimals = static_cast<int>(fraction.count(u'0'));

    const bool negative = value < 0;
    QString digits = QString::number(std::fabs(value), 'f', decimals);
    QString intPart = digits;
    QString decPart;
    if (decimals > 0) {
        const qsizetype dot = digits.indexOf(u'.');
        intPart = digits.left(dot);
        decPart = digits.mid(dot + 1);
        while (decPart.size() > forcedDecimals && decPart.endsWith(u'0'))
            decPart.chop(1);
    }
    if (intPart == QLatin1String("0") && minDigits == 0)
        intPart.clear();
    while (intPart.size() < minDigits)
        intPart.prepend(u'0');
    if (grouped) {
        for (qsizetype i = intPart.size() - 3; i > 0; i -= 3)
            intPart.insert(i, u'.');
    }
    QString out = intPart;
    if (!decPart.isEmpty())
        out += u',' + decPart;
    const bool zero = std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c == u'0' || c == u'.'; });
    if (negative && !zero)
        out.prepend(u'-');
    return out;
}

QString formatNumber(const QVariant& value, const QString& picture)
{
    if (!value.isValid() || value.isNull())
        return {};
    return formatNumber(value.toDouble(), picture);
}

QString formatDate(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

} // namespace talvera::reports
