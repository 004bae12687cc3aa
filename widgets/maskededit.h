#pragma once
// Line edit with a fixed digit picture such as the AIH number or the CPF.
// In the picture every '0' is one digit; any other character is a separator
// shown in place. The `digits` property is the typed digits without separators.

#include <QLineEdit>
#include <QString>

namespace talvera::widgets {

class MaskedEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString digits READ digits WRITE setDigits NOTIFY digitsChanged USER true)
    Q_PROPERTY(QString picture READ picture WRITE setPicture)

public:
    static inline const QString aihPicture = QStringLiteral("00.00.0.0.000.000");
    static inline const QString cpfPicture = QStringLiteral("000.000.000-00");

    explicit MaskedEdit(QWidget* parent = nullptr);
    explicit MaskedEdit(const QString& picture, QWidget* parent = nullptr);

    QString picture() const { return m_picture; }
    void setPicture(const QString& picture);
    // Number of digit places in the picture.
    int capacity() const { return m_capacity; }

    // Empty when nothing was typed.
    QString digits() const;
    // Non-digits are dropped; digits beyond the capacity are ignored.
    void setDigits(const QString& digits);
    // All digit places are filled.
    bool isComplete() const { return digits().size() == m_capacity; }

signals:
    void digitsChanged(const QString& digits);

private:
    QString m_picture;
    QString m_lastDigits;
    int m_capacity = 0;
};

} // namespace talvera::widgets
