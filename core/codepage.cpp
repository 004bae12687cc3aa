#include "core/codepage.h"

namespace talvera::codepage {

namespace {

// Codes 0x80 to 0x9F; 0 where Windows-1252 leaves the code unassigned.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The code of a character, or -1.
int codeOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] != 0 && kHigh[i] == c)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

bool win1252Holds(const QString& text)
{
    for (const QChar c : text) {
        if (codeOf(c.unicode()) < 0)
            return false;
    }
    return true;
}

QByteArray toWin1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const int code = codeOf(c);
        out.append(code < 0 ? '?' : static_cast<char>(code));
        // A character outside the basic plane is one '?', not two.
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    }
    return out;
}

QString fromWin1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const auto code = static_cast<unsigned char>(b);
        if (code >= 0x80 && code < 0xA0)
            out.append(QChar(kHigh[code - 0x80] != 0 ? kHigh[code - 0x80] : code));
        else
            out.append(QChar(code));
    }
    return out;
}

} // namespace talvera::codepage
