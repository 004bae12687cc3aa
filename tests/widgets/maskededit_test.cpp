#include "widgets/maskededit.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>

using talvera::widgets::MaskedEdit;

namespace {

struct MaskCase {
    QString picture;
    const char* given;  // set through the digits property
    const char* digits; // read back
    const char* shown;
};

void PrintTo(const MaskCase& c, std::ostream* out)
{
    *out << c.picture.toStdString() << " set \"" << c.given << '"';
}

class MaskedEditDigits : public testing::TestWithParam<MaskCase> {};

TEST_P(MaskedEditDigits, FillsTheMaskAndReadsDigitsBack)
{
    const MaskCase& c = GetParam();
    MaskedEdit edit(c.picture);
    ASSERT_TRUE(edit.setProperty("digits", QString::fromLatin1(c.given)));
    EXPECT_EQ(edit.property("digits").toString(), QString::fromLatin1(c.digits));
    EXPECT_EQ(edit.displayText().replace(QLatin1Char('_'), QLatin1Char(' ')).trimmed(),
              QString::fromLatin1(c.shown).trimmed());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MaskedEditDigits,
    testing::Values(MaskCase{MaskedEdit::aihPicture, "271610000001", "271610000001", "27.16.1.0.000.001"},
                    MaskCase{MaskedEdit::aihPicture, "27.16.1.0.000.001", "271610000001", "27.16.1.0.000.001"},
                    MaskCase{MaskedEdit::aihPicture, "", "", "  .  . . .   .   "},
                    MaskCase{MaskedEdit::cpfPicture, "12345678901", "12345678901", "123.456.789-01"},
                    MaskCase{MaskedEdit::cpfPicture, "123.456.789-01", "12345678901", "123.456.789-01"},
                    MaskCase{MaskedEdit::cpfPicture, "1234567890199", "12345678901", "123.456.789-01"},
                    MaskCase{MaskedEdit::cpfPicture, "1234", "1234", "123.4  .   -"}));

TEST(MaskedEdit, TypedDigitsSkipTheSeparators)
{
    MaskedEdit edit(MaskedEdit::cpfPicture);
    QSignalSpy changed(&edit, &MaskedEdit::digitsChanged);
    edit.setFocus();
    edit.home(false);
    QTest::keyClicks(&edit, QStringLiteral("98765432100"));
    EXPECT_EQ(edit.property("digits").toString(), QStringLiteral("98765432100"));
    EXPECT_TRUE(edit.isComplete());
    EXPECT_EQ(edit.text(), QStringLiteral("987.654.321-00"));
    ASSERT_FALSE(changed.isEmpty());
    EXPECT_EQ(changed.last().at(0).toString(), QStringLiteral("98765432100"));
}

TEST(MaskedEdit, ClearingLeavesNoDigits)
{
    MaskedEdit edit(MaskedEdit::aihPicture);
    edit.setProperty("digits", QStringLiteral("271610000001"));
    edit.clear();
    EXPECT_EQ(edit.property("digits").toString(), QString());
    EXPECT_FALSE(edit.isComplete());
}

} // namespace
