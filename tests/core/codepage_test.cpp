#include "core/codepage.h"

#include <gtest/gtest.h>

using namespace talvera::codepage;

TEST(Codepage, Win1252HoldsPortugueseTextAndItsPunctuationOnly)
{
    EXPECT_TRUE(win1252Holds(QString::fromUtf8("AIH´s específica — “Maceió” € ção")));
    for (const char* foreign : {"Ω", "😀", "ğ"})
        EXPECT_FALSE(win1252Holds(QString::fromUtf8(foreign))) << foreign;
}

TEST(Codepage, RoundTripAndReplacement)
{
    const QString text = QString::fromUtf8("São João – “´” €");
    const QByteArray bytes = toWin1252(text);
    EXPECT_EQ(bytes, QByteArray("S\xE3o Jo\xE3o \x96 \x93\xB4\x94 \x80"));
    EXPECT_EQ(fromWin1252(bytes), text);
    EXPECT_EQ(toWin1252(QString::fromUtf8("a😀Ωb")), QByteArray("a??b"));
}
