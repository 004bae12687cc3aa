#pragma once
// Windows-1252, the character set of the databases and of the files the
// secretariat's machines read: what it can hold, and conversions both ways.

#include <QByteArray>
#include <QString>

namespace talvera::codepage {

// True when every character of the text has a Windows-1252 code.
bool win1252Holds(const QString& text);
// Characters Windows-1252 cannot hold become '?'.
QByteArray toWin1252(const QString& text);
QString fromWin1252(const QByteArray& bytes);

} // namespace talvera::codepage
