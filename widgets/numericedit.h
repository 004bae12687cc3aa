#pragma once
// Number field with a fixed display picture ("0000", "00", "0", "000" or
// "0.00"). Whatever digits are typed are kept; a value outside the range reads
// as the nearest bound, and so does an empty field, as if it held 0 (0 itself
// is shown blank).

#include <QAbstractSpinBox>
#include <QString>

namespace talvera::widgets {

class NumericEdit : public QAbstractSpinBox {
    Q_OBJECT
    Q_PROPERTY(double value READ value WRITE setValue NOTIFY valueChanged USER true)
    Q_PROPERTY(double minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(double maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(QString format READ format WRITE setFormat)
    // Zero is shown blank unless set (a check digit 0 is a real value).
    Q_PROPERTY(bool zeroShown READ zeroShown WRITE setZeroShown)

public:
    explicit NumericEdit(QWidget* parent = nullptr);
    explicit NumericEdit(const QString& format, QWidget* parent = nullptr);

    double value() const { return m_value; }
    void setValue(double value);

    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    void setMinimum(double minimum);
    void setMaximum(double maximum);
    void setRange(double minimum, double maximum);

    // Zeros before the point give the padded width; zeros after it, the decimals.
    QString format() const { return m_format; }
    void setFormat(const QString& format);
    int decimals() const { return m_decimals; }
    bool zeroShown() const { return m_zeroShown; }
    void setZeroShown(bool shown);

    QString textFromValue(double value) const;
    // Empty text counts as 0; the value is clamped to the range.
    double valueFromText(const QString& text) const;

    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    void stepBy(int steps) override;
    void clear() override;
    QSize sizeHint() const override;

signals:
    void valueChanged(double value);

protected:
    StepEnabled stepEnabled() const override;

private:
    void onTextEdited(const QString& text);
    void showValue();
    double rounded(double value) const;
    double clamped(double value) const;

    QString m_format;
    int m_width = 1;
    int m_decimals = 0;
    bool m_zeroShown = false;
    double m_minimum = 0;
    double m_maximum = 999999999999999.0;
    double m_value = 0;
};

} // namespace talvera::widgets
