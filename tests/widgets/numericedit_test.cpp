#include "widgets/numericedit.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>

using talvera::widgets::NumericEdit;

namespace {

struct Typed {
    const char* format;
    double minimum;
    double maximum;
    const char* keys;
    double value;     // read while still typing
    const char* text; // shown once editing is finished
};

void PrintTo(const Typed& c, std::ostream* out)
{
    *out << c.format << " [" << c.minimum << ", " << c.maximum << "] typed " << c.keys;
}

class NumericEditTyping : public testing::TestWithParam<Typed> {};

TEST_P(NumericEditTyping, ReadsClampedValueAndShowsItPadded)
{
    const Typed& c = GetParam();
    NumericEdit edit(QString::fromLatin1(c.format));
    edit.setRange(c.minimum, c.maximum);
    edit.selectAll(); // a range without 0 starts at its minimum, shown

    QTest::keyClicks(&edit, QString::fromLatin1(c.keys));
    EXPECT_EQ(edit.property("value").toDouble(), c.value);

    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(edit.text(), QString::fromLatin1(c.text));
    EXPECT_EQ(edit.property("value").toDouble(), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumericEditTyping,
    testing::Values(Typed{"00", 1, 12, "13", 12, "12"},            // above the range: the bound
                    Typed{"00", 1, 12, "0", 1, "01"},              // below the range: the bound
                    Typed{"00", 1, 12, "7", 7, "07"},
                    Typed{"0000", 0, 9999, "5", 5, "0005"},
                    Typed{"000", 0, 999, "1x2", 12, "012"},        // letters are refused
                    Typed{"0", 0, 999999999999, "271610000001", 271610000001.0, "271610000001"},
                    Typed{"0.00", 0, 1000, "12,5", 12.5, "12,50"},
                    Typed{"0.00", 0, 1000, "3.257", 3.25, "3,25"}, // third decimal refused
                    Typed{"0.00", 0, 1000, "5000", 1000, "1000,00"}));

TEST(NumericEdit, KeepsOutOfRangeTextWhileTyping)
{
    NumericEdit edit(QStringLiteral("00"));
    edit.setRange(1, 12);
    edit.selectAll();
    QTest::keyClicks(&edit, QStringLiteral("13"));
    EXPECT_EQ(edit.text(), QStringLiteral("13"));
}

struct Set {
    const char* format;
    double value;
    double read;
    const char* text;
};

void PrintTo(const Set& c, std::ostream* out)
{
    *out << c.format << " set " << c.value;
}

class NumericEditSetting : public testing::TestWithParam<Set> {};

TEST_P(NumericEditSetting, PropertyRoundTrip)
{
    const Set& c = GetParam();
    NumericEdit edit(QString::fromLatin1(c.format));
    edit.setRange(1, 999999999999);
    ASSERT_TRUE(edit.setProperty("value", c.value));
    EXPECT_EQ(edit.property("value").toDouble(), c.read);
    EXPECT_EQ(edit.text(), QString::fromLatin1(c.text));
}

INSTANTIATE_TEST_SUITE_P(Cases, NumericEditSetting,
                         testing::Values(Set{"0", 271610000001.0, 271610000001.0, "271610000001"},
                                         Set{"0000", 5, 5, "0005"},
                                         Set{"0000", 12345, 12345, "12345"},
                                         Set{"0", 1e13, 999999999999, "999999999999"},
                                         Set{"0.00", 2.005, 2.01, "2,01"},
                                         Set{"00", 0, 1, "01"})); // below the range: the bound

TEST(NumericEdit, ZeroCanBeShown)
{
    NumericEdit digit(QStringLiteral("0"));
    digit.setRange(0, 9);
    digit.setValue(0);
    EXPECT_EQ(digit.text(), "");
    digit.setProperty("zeroShown", true);
    EXPECT_EQ(digit.text(), "0");
    EXPECT_EQ(digit.property("value").toDouble(), 0.0);
}

TEST(NumericEdit, EmptiedTextReadsTheNearestBoundAndSignalsChange)
{
    struct Case {
        double minimum, maximum, read;
        const char* shown; // once editing is finished
    };
    for (const Case& c : {Case{2006, 2016, 2006, "2006"}, Case{0, 12, 0, ""}}) {
        NumericEdit edit(QStringLiteral("0000"));
        edit.setRange(c.minimum, c.maximum);
        edit.setValue(c.minimum == 0 ? 7 : c.maximum - 1);
        QSignalSpy changed(&edit, &NumericEdit::valueChanged);
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_Delete);
        EXPECT_EQ(edit.value(), c.read) << c.minimum;
        ASSERT_EQ(changed.size(), 1);
        EXPECT_EQ(changed.at(0).at(0).toDouble(), c.read);
        emit edit.editingFinished();
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.shown)) << c.minimum;
    }
}

TEST(NumericEdit, NarrowingTheRangeClampsTheValue)
{
    NumericEdit edit(QStringLiteral("00"));
    edit.setRange(1, 31);
    edit.setValue(31);
    edit.setMaximum(12);
    EXPECT_EQ(edit.value(), 12);
    EXPECT_EQ(edit.text(), QStringLiteral("12"));
}

} // namespace
