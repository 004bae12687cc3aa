#include "core/numbers.h"
#include "core/sqltext.h"
#include "tests/support/qtprint.h"

#include <gtest/gtest.h>

using namespace talvera;

TEST(Numbers, CheckDigitDisplayAndCategory)
{
    struct Case {
        qint64 base;
        int digit;
        const char* display;
        const char* category;
    };
    const Case cases[] = {
        {271110000001, 5, "27.11.1.0.000.001-5", "AIH´s p/ uso geral"},
        {271650000005, 0, "27.16.5.0.000.005-0", "AIH´s p/ cirurgias eletivas"}, // remainder 10
        {100000000000, 0, "10.00.0.0.000.000-0", ""},                             // remainder 10
        {272220000011, 3, "27.22.2.0.000.011-3", "APAC´s"},
        {271630000000, 7, "27.16.3.0.000.000-7", "AIH´s específica da CNRAC"},
        {271640000000, 6, "27.16.4.0.000.000-6", "APAC´s específica da CNRAC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.base);
        EXPECT_EQ(numbers::checkDigit(c.base), c.digit);
        EXPECT_EQ(numbers::displayText(c.base, c.digit), QString::fromUtf8(c.display));
        EXPECT_EQ(numbers::categoryText(c.base), QString::fromUtf8(c.category));
    }
    // A short base is padded; its fifth digit is 0, which names no category.
    EXPECT_EQ(numbers::displayText(12345, 3), "00.00.0.0.012.345-3");
    EXPECT_EQ(numbers::categoryText(12345), QString());
    // Floating-point bases are truncated before the remainder.
    EXPECT_EQ(numbers::checkDigit(271110000001.9), 5);
    // The accent after AIH is the acute accent, not an apostrophe.
    EXPECT_EQ(numbers::categoryText(271110000001).at(3), QChar(0x00B4));
    // Only the first 12 digits of a longer base are shown.
    EXPECT_EQ(numbers::displayText(2711100000019, 5), "27.11.1.0.000.001-5");
}

TEST(Numbers, TypedFormAndFieldRules)
{
    EXPECT_EQ(numbers::displayTextWithoutDigit(271110000001), "27.11.1.0.000.001");
    EXPECT_EQ(numbers::displayTextWithoutDigit(271110000001).size(), 17);
    EXPECT_EQ(numbers::categoryDigit(271650000005), "5");
    EXPECT_TRUE(numbers::hasTwelveDigits(271610000000));
    EXPECT_FALSE(numbers::hasTwelveDigits(71610000000));
    EXPECT_FALSE(numbers::hasTwelveDigits(2716100000000));
    EXPECT_EQ(numbers::stateOf(271650000005), 27);
    EXPECT_EQ(numbers::yearDigitsOf(271650000005), 16);
    EXPECT_EQ(numbers::categoryOf(271650000005), 5);
}

TEST(Numbers, VorqNumberSplit)
{
    struct Case {
        const char* nAih;
        double numero;
        double dv;
    };
    const Case cases[] = {
        {"2711100000015", 271110000001, 5},
        {"27111000000X5", 0, 0},       // a letter in place of the twelfth digit
        {"271110000001", 0, 0},        // too short
        {"2711100000015  ", 271110000001, 5},
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nAih);
        const auto split = numbers::splitVorqNumber(QString::fromLatin1(c.nAih));
        EXPECT_EQ(split.numero, c.numero);
        EXPECT_EQ(split.dv, c.dv);
    }
}

TEST(Numbers, CpfAndCnpj)
{
    EXPECT_EQ(numbers::cpfText(1234567890), "012.345.678-90");
    EXPECT_EQ(numbers::cpfText(12345678909), "123.456.789-09");
    EXPECT_EQ(numbers::cpfText(0), "000.000.000-00");
    EXPECT_EQ(numbers::cnpjText("12345678000199"), "12.345.678/0001-99");
    EXPECT_EQ(numbers::cnpjText(""), "");
}

TEST(PositionalSql, NamesBecomeQuestionMarksOutsideLiterals)
{
    const auto p = db::toPositional(
        "select * from t where a = :p1 and b = ':notparam' and c = :p1 -- :comment\n"
        "and d = :PSEN /* :x */ and e = \"col:y\" and f=:p_2");
    EXPECT_EQ(p.text, "select * from t where a = ? and b = ':notparam' and c = ? -- :comment\n"
                      "and d = ? /* :x */ and e = \"col:y\" and f=?");
    EXPECT_EQ(p.parameters, QStringList({"p1", "p1", "PSEN", "p_2"}));
    // A doubled quote inside a literal does not end it.
    EXPECT_EQ(db::toPositional("x = 'it''s :no' and y = :yes").parameters, QStringList({"yes"}));
}
