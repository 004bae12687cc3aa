#pragma once
// Text of dBASE files: the code page a file's mark names (DOS code page 850
// when it has none), decoded to Unicode, with the trailing blanks of a
// character field dropped.

#include <QByteArrayView>
#include <QString>

namespace talvera::writeoff {

enum class CodePage { Dos850, Dos437, Windows1252, Latin1, Utf8 };

// The code page of a file from shapelib's mark ("LDID/2", or the text of a
// .cpg file); no mark, or one this program does not know, reads as 850.
CodePage codePageFromMark(const QString& mark);
QString codePageName(CodePage page);

// A character field's bytes as text: trailing blanks and NULs are padding.
// Characters the databases cannot hold (their character set is Windows-1252)
// become '?', so a stray box-drawing byte cannot make a whole import fail.
QString decodeField(QByteArrayView bytes, CodePage page);

// The inverse for tests and generators: Unicode to the code page's bytes
// ('?' for what it cannot hold).
QByteArray encodeText(const QString& text, CodePage page);

} // namespace talvera::writeoff
