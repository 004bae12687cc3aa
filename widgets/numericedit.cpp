#include "widgets/numericedit.h"

#include <QLineEdit>
#include <algorithm>
#include <cmath>

namespace talvera::widgets {

namespace {
// Integer digits a double still holds exactly.
constexpr int maxIntegerDigits = 15;
} // namespace

NumericEdit::NumericEdit(QWidget* parent) : NumericEdit(QStringLiteral("0"), parent) {}

NumericEdit::NumericEdit(const QString& format, QWidget* parent) : QAbstractSpinBox(parent)
{
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    // The value follows the text through our own connection, not the base class.
    setKeyboardTracking(false);
    setFormat(format);
    connect(lineEdit(), &QLineEdit::textChanged, this, &NumericEdit::onTextEdited);
    // Leaving the field shows the value as it is read (clamped and padded).
    connect(this, &QAbstractSpinBox::editingFinished, this, &NumericEdit::showValue);
}

void NumericEdit::setFormat(const QString& format)
{
    m_format = format;
    const qsizetype point = std::max(format.indexOf(QLatin1Char('.')), format.indexOf(QLatin1Char(',')));
    const QString integerPart = point < 0 ? format : format.left(point);
    const QString fraction = point < 0 ? QString() : format.mid(point + 1);
    m_width = std::max<int>(1, static_cast<int>(integerPart.count(QLatin1Char('0'))));
    m_decimals = static_cast<int>(fraction.count(QLatin1Char('0')));
    setValue(m_value);
}

double NumericEdit::rounded(double value) const
{
    const double scale = std::pow(10.0, m_decimals);
    return std::round(value * scale) / scale;
}

double NumericEdit::clamped(double value) const
{
    return std::clamp(value, m_minimum, m_maximum);
}

void NumericEdit::setValue(double value)
{
    if (std::isnan(value))
        value = 0;
    const double next = clamped(rounded(value));
    const bool changed = next != m_value;
    m_value = next;
    showValue();
    if (changed)
        emit valueChanged(m_value);
}

void NumericEdit::setMinimum(double minimum)
{
    setRange(minimum, std::max(minimum, m_maximum));
}

void NumericEdit::setMaximum(double maximum)
{
    setRange(std::min(m_minimum, maximum), maximum);
}

void NumericEdit::setRange(double minimum, double maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    setValue(m_value);
}

void NumericEdit::clear()
{
    setValue(0);
}

void NumericEdit::setZeroShown(bool shown)
{
    m_zeroShown = shown;
    showValue();
}

QString NumericEdit::textFromValue(double value) const
{
    if (value == 0 && !m_zeroShown)
        return {};
    QString text = QString::number(std::abs(value), 'f', m_decimals);
    qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        point = text.size();
    if (point < m_width)
        text.prepend(QString(m_width - point, QLatin1Char('0')));
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    if (value < 0)
        text.prepend(QLatin1Char('-'));
    return text;
}

double NumericEdit::valueFromText(const QString& text) const
{
    QString normal = text;
    normal.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double parsed = normal.toDouble(&ok);
    // Empty (or a lone sign) reads as 0, which the range then brings to its nearest bound.
    return clamped(ok ? rounded(parsed) : 0.0);
}

QValidator::State NumericEdit::validate(QString& input, int& /*pos*/) const
{
    // Any well-formed number is acceptable: range is applied when it is read,
    // so typing never gets stuck on an out-of-range intermediate value.
    if (input.isEmpty())
        return QValidator::Acceptable;
    qsizetype i = 0;
    if (input.at(0) == QLatin1Char('-')) {
        if (m_minimum >= 0)
            return QValidator::Invalid;
        ++i;
    }
    int integerDigits = 0;
    int fractionDigits = 0;
    bool seenPoint = false;
    for (; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (c.isDigit() && c.unicode() < 128) {
            if (seenPoint)
                ++fractionDigits;
            else
                ++integerDigits;
        } else if ((c == QLatin1Char(',') || c == QLatin1Char('.')) && m_decimals > 0 && !seenPoint) {
            seenPoint = true;
        } else {
            return QValidator::Invalid;
        }
    }
    if (integerDigits > maxIntegerDigits || fractionDigits > m_decimals)
        return QValidator::Invalid;
    if (integerDigits + fractionDigits == 0)
        return QValidator::Intermediate;
    return QValidator::Acceptable;
}

void NumericEdit::fixup(QString& input) const
{
    input = textFromValue(valueFromText(input));
}

void NumericEdit::stepBy(int steps)
{
    setValue(clamped(m_value + steps));
    selectAll();
}

QAbstractSpinBox::StepEnabled NumericEdit::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    return StepUpEnabled | StepDownEnabled;
}

QSize NumericEdit::sizeHint() const
{
    // Room for the padded width or the widest bound, whichever is larger.
    const auto chars = std::max({qsizetype(m_width + (m_decimals > 0 ? m_decimals + 1 : 0)),
                                 textFromValue(m_minimum).size(), textFromValue(m_maximum).size()});
    QSize hint = QAbstractSpinBox::sizeHint();
    const int textWidth = fontMetrics().horizontalAdvance(QString(chars + 1, QLatin1Char('0')));
    hint.setWidth(std::max(hint.width(), textWidth + 2 * fontMetrics().averageCharWidth()));
    return hint;
}

void NumericEdit::onTextEdited(const QString& text)
{
    const double next = valueFromText(text);
    if (next == m_value)
        return;
    m_value = next;
    emit valueChanged(m_value);
}

void NumericEdit::showValue()
{
    const QString text = textFromValue(m_value);
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
}

} // namespace talvera::widgets
