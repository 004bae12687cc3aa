#pragma once
// Drop-down choice over a list model: shows the display column and reports
// the key column of the chosen row. An empty key means no choice. Typing
// letters chooses the first row whose display text starts with them.

#include <QComboBox>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <functional>

class QAbstractItemModel;

namespace talvera::widgets {

class LookupCombo : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(QString key READ key WRITE setKey NOTIFY keyChanged USER true)
    Q_PROPERTY(int keyColumn READ keyColumn)
    Q_PROPERTY(int displayColumn READ displayColumn)

public:
    explicit LookupCombo(QWidget* parent = nullptr);
    LookupCombo(QAbstractItemModel* model, int keyColumn, int displayColumn, QWidget* parent = nullptr);

    // The combo does not own the model. Starts with no choice.
    void setup(QAbstractItemModel* model, int keyColumn, int displayColumn);
    int keyColumn() const { return m_keyColumn; }
    int displayColumn() const { return modelColumn(); }

    // Key of the chosen row; empty when nothing is chosen. While the list is
    // closed (no rows) the combo keeps the key it held and reports it.
    QString key() const;
    // Chooses the row holding the key, fetching more rows of an incremental
    // model until found or exhausted; an empty or absent key clears the choice.
    // An absent key is still looked for when the model is next reset, so a
    // key set before the list is (re)read is chosen once it arrives.
    void setKey(const QString& key);
    // Row holding the key, or -1. Fetches like setKey.
    int rowOfKey(const QString& key);

    // Called whenever the choice becomes a row (by the user or by setKey), so
    // the owner can make it the current row of its list. Exceptions it throws
    // are reported through messages().error.
    std::function<void(int row)> onRowChosen;

signals:
    void keyChanged(const QString& key);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onCurrentIndexChanged(int row);
    void onModelReset();
    QString keyAt(int row) const;
    bool listClosed() const;

    int m_keyColumn = 0;
    QString m_lastKey;
    // Key to restore when the model is reset (e.g. the list re-queried).
    QString m_wantedKey;
    bool m_resetting = false;
    QPointer<QAbstractItemModel> m_model;
    QString m_typed; // type-to-search text so far
    QElapsedTimer m_typing;
};

} // namespace talvera::widgets
