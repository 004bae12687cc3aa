#include "widgets/digitsedit.h"

#include <QTest>
#include <gtest/gtest.h>

using talvera::widgets::DigitsEdit;

namespace {

TEST(DigitsEdit, TypingKeepsOnlyDigits)
{
    DigitsEdit edit;
    QTest::keyClicks(&edit, QStringLiteral("12a3-4 5"));
    EXPECT_EQ(edit.property("text").toString(), QStringLiteral("12345"));
}

TEST(DigitsEdit, SettingTextDropsNonDigitsAndHonoursMaxLength)
{
    DigitsEdit edit(4);
    ASSERT_TRUE(edit.setProperty("text", QStringLiteral("a1.2-3b45")));
    EXPECT_EQ(edit.text(), QStringLiteral("1234"));
}

} // namespace
