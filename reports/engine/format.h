#pragma once
// Display formats of printed values, as a Brazilian installation shows them.

#include <QDate>
#include <QString>
#include <QVariant>

namespace talvera::reports {

// A number in a picture such as "###,###,##0", "00" or "#0.00": every "0" is a
// digit always shown, "#" a digit shown only when significant, a "," asks for
// thousands grouping (written "."), and a "." starts the decimals (written ",").
QString formatNumber(double value, const QString& picture);
// Empty for a null value.
QString formatNumber(const QVariant& value, const QString& picture);

// dd/mm/yyyy.
QString formatDate(const QDate& date);

} // namespace talvera::reports
