#pragma once
// AIH/APAC number rules: a 12-digit base (state, year, category, serial) and
// a check digit kept apart, plus the CPF and CNPJ display texts.

#include <QString>
#include <QtGlobal>

#include <type_traits>

namespace talvera::numbers {

// Base modulo 11, a remainder of 10 giving 0.
int checkDigit(qint64 base);
// Floating-point bases (from numeric edits) are truncated toward zero first.
int checkDigit(double base);
// Any other integer type reads as a 64-bit base.
template <class T>
    requires std::is_integral_v<T>
int checkDigit(T base)
{
    return checkDigit(static_cast<qint64>(base));
}

// "d1d2.d3d4.d5.d6.d7d8d9.d10d11d12-c"; only the first 12 digits of a longer base are used.
QString displayText(qint64 base, int checkDigit);

// The typed-number form without "-" and check digit (17 characters).
QString displayTextWithoutDigit(qint64 base);

// The fifth digit of the 12-character padded base as one character.
QString categoryDigit(qint64 base);

// Text of the category named by the fifth digit; empty for anything else.
QString categoryText(qint64 base);
QString categoryTextForDigit(int digit);

// The base number written without leading zeros must have exactly 12 digits.
bool hasTwelveDigits(qint64 base);

// Digits 1-2 (state), 3-4 (year modulo 100) and 5 (category) of a 12-digit base.
int stateOf(qint64 base);
int yearDigitsOf(qint64 base);
int categoryOf(qint64 base);

// N_AIH of Vorq's DOS files: 12 digits of base then the check digit. Anything
// that is not 13 leading decimal digits gives 0 and 0.
struct SplitNumber {
    double numero = 0;
    double dv = 0;
};
SplitNumber splitVorqNumber(const QString& nAih);

// "ddd.ddd.ddd-dd" of a CPF held as an integer.
QString cpfText(qint64 cpf);
// "dd.ddd.ddd/dddd-dd" of a 14-digit CNPJ stored without punctuation.
QString cnpjText(const QString& digits);

} // namespace talvera::numbers
