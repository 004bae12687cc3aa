#include "widgets/lookupcombo.h"

#include "widgets/guard.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QKeyEvent>

namespace talvera::widgets {

LookupCombo::LookupCombo(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    // A placeholder stops QComboBox from choosing row 0 on its own when rows
    // arrive in an empty model.
    setPlaceholderText(QStringLiteral(" "));
    connect(this, &QComboBox::currentIndexChanged, this, &LookupCombo::onCurrentIndexChanged);
}

LookupCombo::LookupCombo(QAbstractItemModel* model, int keyColumn, int displayColumn, QWidget* parent)
    : LookupCombo(parent)
{
    setup(model, keyColumn, displayColumn);
}

void LookupCombo::setup(QAbstractItemModel* model, int keyColumn, int displayColumn)
{
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    m_keyColumn = keyColumn;
    {
        // Installing the model may select its first row; that is not a choice.
        const QSignalBlocker block(this);
        setModel(model);
        setModelColumn(displayColumn);
        setCurrentIndex(-1);
    }
    m_wantedKey.clear();
    if (!m_lastKey.isEmpty()) {
        m_lastKey.clear();
        emit keyChanged(m_lastKey);
    }
    // While the list is re-read QComboBox jumps to its first row; that is
    // not a choice. The reset handler runs after QComboBox's (connected later)
    // and puts back the row of the key chosen before.
    if (!model)
        return;
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_resetting = true; });
    connect(model, &QAbstractItemModel::modelReset, this, &LookupCombo::onModelReset);
}

QString LookupCombo::keyAt(int row) const
{
    if (!m_model || row < 0)
        return {};
    return m_model->index(row, m_keyColumn, rootModelIndex()).data().toString();
}

QString LookupCombo::key() const
{
    if (currentIndex() < 0 && listClosed())
        return m_wantedKey;
    return keyAt(currentIndex());
}

bool LookupCombo::listClosed() const
{
    return !m_model || m_model->rowCount(rootModelIndex()) == 0;
}

int LookupCombo::rowOfKey(const QString& key)
{
    if (!m_model || key.isEmpty())
        return -1;
    const QModelIndex root = rootModelIndex();
    int row = 0;
    for (;;) {
        for (const int rows = m_model->rowCount(root); row < rows; ++row) {
            if (keyAt(row) == key)
                return row;
        }
        if (!m_model->canFetchMore(root))
            return -1;
        m_model->fetchMore(root);
        // A model that claims more rows but delivers none would loop forever.
        if (m_model->rowCount(root) == row)
            return -1;
    }
}

void LookupCombo::setKey(const QString& key)
{
    setCurrentIndex(rowOfKey(key));
    m_wantedKey = key;
}

void LookupCombo::onCurrentIndexChanged(int row)
{
    if (m_resetting)
        return;
    const QString now = keyAt(row);
    m_wantedKey = now;
    if (row >= 0 && onRowChosen)
        guarded([&] { onRowChosen(row); });
    if (now != m_lastKey) {
        m_lastKey = now;
        emit keyChanged(now);
    }
}

void LookupCombo::onModelReset()
{
    // Keep the same choice over a re-read list, or show none if it is gone.
    const int row = rowOfKey(m_wantedKey);
    {
        const QSignalBlocker block(this);
        setCurrentIndex(row);
    }
    m_resetting = false;
    // A list closed for a moment (its connection switched) has no rows to
    // choose from: the choice waits, unchanged, for the list to be read again.
    if (row < 0 && listClosed())
        return;
    // Reported as a fresh choice: the row number may differ after the re-read.
    onCurrentIndexChanged(row);
}

void LookupCombo::keyPressEvent(QKeyEvent* event)
{
    // QComboBox's own search starts in column 0 when nothing is chosen; this
    // one always looks at the display column, by prefix and ignoring case.
    const QString typed = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!m_model || !plain || typed.isEmpty() || !typed.at(0).isPrint()) {
        QComboBox::keyPressEvent(event);
        return;
    }
    if (!m_typing.isValid() || m_typing.elapsed() > QApplication::keyboardInputInterval())
        m_typed.clear();
    m_typed += typed;
    m_typing.restart();
    const QModelIndexList hits = m_model->match(m_model->index(0, modelColumn(), rootModelIndex()), Qt::DisplayRole,
                                                m_typed, 1, Qt::MatchStartsWith);
    if (!hits.isEmpty())
        setCurrentIndex(hits.first().row());
    event->accept();
}

} // namespace talvera::widgets
