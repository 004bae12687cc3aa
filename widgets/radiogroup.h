#pragma once
// Captioned group of mutually exclusive radio buttons, one per item text.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace talvera::widgets {

class RadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(int itemIndex READ itemIndex WRITE setItemIndex NOTIFY itemIndexChanged USER true)
    Q_PROPERTY(QStringList items READ items WRITE setItems)
    Q_PROPERTY(int columns READ columns WRITE setColumns)

public:
    explicit RadioGroup(QWidget* parent = nullptr);
    RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    QStringList items() const { return m_items; }
    // Rebuilds the buttons; nothing is chosen afterwards.
    void setItems(const QStringList& items);
    // Buttons are laid out column by column, top to bottom.
    int columns() const { return m_columns; }
    void setColumns(int columns);

    // -1 when none is chosen, else the 0-based item.
    int itemIndex() const;
    // Out-of-range indexes choose none.
    void setItemIndex(int index);
    QRadioButton* button(int index) const;

signals:
    // Only when the user picks an item, not when set by code.
    void clicked(int index);
    void itemIndexChanged(int index);

private:
    void rebuild();
    void noteIndex(int index);

    QButtonGroup* m_group = nullptr;
    QStringList m_items;
    int m_columns = 1;
    int m_lastIndex = -1;
};

} // namespace talvera::widgets
