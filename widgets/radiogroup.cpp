#include "widgets/radiogroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <algorithm>

namespace talvera::widgets {

RadioGroup::RadioGroup(QWidget* parent) : RadioGroup(QString(), {}, parent) {}

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this))
{
    new QGridLayout(this);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) { emit clicked(id); });
    // Only the button turned on counts: the one turned off passes through a
    // state where nothing looks chosen.
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            noteIndex(id);
    });
    setItems(items);
}

void RadioGroup::setItems(const QStringList& items)
{
    m_items = items;
    rebuild();
}

void RadioGroup::setColumns(int columns)
{
    const int previous = itemIndex();
    m_columns = std::max(1, columns);
    rebuild();
    setItemIndex(previous);
}

void RadioGroup::rebuild()
{
    for (QAbstractButton* old : m_group->buttons()) {
        m_group->removeButton(old);
        delete old;
    }
    auto* grid = static_cast<QGridLayout*>(layout());
    const int count = static_cast<int>(m_items.size());
    const int rows = (count + m_columns - 1) / m_columns;
    for (int i = 0; i < count; ++i) {
        auto* radio = new QRadioButton(m_items.at(i), this);
        m_group->addButton(radio, i);
        grid->addWidget(radio, rows > 0 ? i % rows : 0, rows > 0 ? i / rows : 0);
    }
    noteIndex(-1);
}

void RadioGroup::noteIndex(int index)
{
    if (index == m_lastIndex)
        return;
    m_lastIndex = index;
    emit itemIndexChanged(index);
}

int RadioGroup::itemIndex() const
{
    return m_group->checkedId();
}

QRadioButton* RadioGroup::button(int index) const
{
    return qobject_cast<QRadioButton*>(m_group->button(index));
}

void RadioGroup::setItemIndex(int index)
{
    if (QRadioButton* radio = button(index)) {
        radio->setChecked(true);
        return;
    }
    // An exclusive group refuses to uncheck its last button, so lift that briefly.
    if (QAbstractButton* checked = m_group->checkedButton()) {
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
    noteIndex(-1);
}

} // namespace talvera::widgets
