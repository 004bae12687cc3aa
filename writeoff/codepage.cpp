#include "writeoff/codepage.h"

#include "core/codepage.h"

#include <array>

namespace talvera::writeoff {

namespace {

using Table = std::array<char16_t, 128>; // bytes 0x80 to 0xFF

constexpr Table kDos850 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C,
    0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

constexpr Table kDos437 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

const Table* tableOf(CodePage page)
{
    switch (page) {
    case CodePage::Dos850: return &kDos850;
    case CodePage::Dos437: return &kDos437;
    default: return nullptr;
    }
}

} // namespace

CodePage codePageFromMark(const QString& mark)
{
    const QString m = mark.trimmed().toUpper();
    if (m.startsWith(QLatin1String("LDID/"))) {
        // The language driver byte of the dBASE header.
        switch (m.mid(5).toInt()) {
        case 0x01: return CodePage::Dos437;
        case 0x03: case 0x57: case 0x58: case 0x59: return CodePage::Windows1252;
        default: return CodePage::Dos850;
        }
    }
    QString name = m;
    name.remove(u'-').remove(u'_').remove(u' ');
    if (name == QLatin1String("UTF8"))
        return CodePage::Utf8;
    if (name == QLatin1String("1252") || name == QLatin1String("CP1252") || name == QLatin1String("WINDOWS1252")
        || name == QLatin1String("ANSI1252"))
        return CodePage::Windows1252;
    if (name == QLatin1String("437") || name == QLatin1String("CP437") || name == QLatin1String("IBM437"))
        return CodePage::Dos437;
    if (name == QLatin1String("88591") || name == QLatin1String("ISO88591") || name == QLatin1String("LATIN1"))
        return CodePage::Latin1;
    return CodePage::Dos850;
}

QString codePageName(CodePage page)
{
    switch (page) {
    case CodePage::Dos850: return QStringLiteral("850");
    case CodePage::Dos437: return QStringLiteral("437");
    case CodePage::Windows1252: return QStringLiteral("1252");
    case CodePage::Latin1: return QStringLiteral("ISO-8859-1");
    case CodePage::Utf8: return QStringLiteral("UTF-8");
    }
    return {};
}

QString decodeField(QByteArrayView bytes, CodePage page)
{
    qsizetype size = bytes.size();
    while (size > 0 && (bytes[size - 1] == ' ' || bytes[size - 1] == '\0'))
        --size;
    bytes = bytes.first(size);
    QString text;
    if (page == CodePage::Utf8) {
        text = QString::fromUtf8(bytes);
    } else if (page == CodePage::Windows1252) {
        text = codepage::fromWin1252(bytes.toByteArray());
    } else {
        text.resize(size);
        const Table* table = tableOf(page);
        for (qsizetype i = 0; i < size; ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            text[i] = QChar(b >= 0x80 && table ? (*table)[b - 0x80] : char16_t(b));
        }
    }
    // Anything Windows-1252 cannot store becomes '?'.
    if (!codepage::win1252Holds(text))
        text = codepage::fromWin1252(codepage::toWin1252(text));
    return text;
}

QByteArray encodeText(const QString& text, CodePage page)
{
    if (page == CodePage::Utf8)
        return text.toUtf8();
    if (page == CodePage::Windows1252)
        return codepage::toWin1252(text);
    const Table* table = tableOf(page);
    QByteArray out;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        char byte = c < 0x80 || (!table && c <= 0xFF) ? static_cast<char>(c) : '?';
        for (int b = 0; table && c >= 0x80 && b < 128; ++b) {
            if ((*table)[b] == c) {
                byte = static_cast<char>(0x80 + b);
                break;
            }
        }
        out += byte;
    }
    return out;
}

} // namespace talvera::writeoff
