#pragma once
// Table model that hands out its rows a page at a time through fetchMore,
// like a database query read incrementally. Columns: CODIGO, NOME, EXTRA.

#include <QAbstractTableModel>
#include <QStringList>

class PagedModel : public QAbstractTableModel {
public:
    PagedModel(int total, int page, int initiallyLoaded)
        : m_total(total), m_page(page), m_loaded(std::min(total, initiallyLoaded))
    {
        for (int i = 0; i < total; ++i)
            m_keys.append(QString::number(1000 + i));
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_loaded; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 3; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || role != Qt::DisplayRole)
            return {};
        const QString& key = m_keys.at(index.row());
        switch (index.column()) {
        case 0: return key;
        case 1: return QStringLiteral("Item %1").arg(key);
        default: return QStringLiteral("extra %1").arg(index.row());
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const QStringList names{"CODIGO", "NOME", "EXTRA"};
        return names.value(section);
    }

    bool canFetchMore(const QModelIndex& parent) const override
    {
        return !parent.isValid() && !m_closed && m_loaded < m_total;
    }

    void fetchMore(const QModelIndex& parent) override
    {
        if (!canFetchMore(parent))
            return;
        const int more = std::min(m_page, m_total - m_loaded);
        beginInsertRows({}, m_loaded, m_loaded + more - 1);
        m_loaded += more;
        endInsertRows();
    }

    // Re-reads the list in reverse order, first page only, as a re-query would.
    void reloadReversed()
    {
        beginResetModel();
        std::reverse(m_keys.begin(), m_keys.end());
        m_loaded = std::min(m_total, m_page);
        endResetModel();
    }

    // Closes the list (no rows at all), as a dataset does when its connection is switched.
    void close()
    {
        beginResetModel();
        m_loaded = 0;
        m_closed = true;
        endResetModel();
    }
    // Reads the first page again.
    void reopen()
    {
        beginResetModel();
        m_loaded = std::min(m_total, m_page);
        m_closed = false;
        endResetModel();
    }

    QString keyOf(int row) const { return m_keys.at(row); }

private:
    int m_total;
    int m_page;
    int m_loaded;
    bool m_closed = false;
    QStringList m_keys;
};
