#include "widgets/datagrid.h"

#include <algorithm>

#include <QHash>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QStyle>

namespace talvera::widgets {

GridColumn::GridColumn(int column, QString columnTitle, int width)
    : modelColumn(column), title(std::move(columnTitle)), widthChars(width)
{
}

GridColumn::GridColumn(QString name, QString columnTitle, int width)
    : headerName(std::move(name)), title(std::move(columnTitle)), widthChars(width)
{
}

// Passes the model through unchanged except for the form's column titles.
class DataGrid::TitleProxy : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    void setTitles(const QHash<int, QString>& titles)
    {
        if (titles == m_titles)
            return;
        m_titles = titles;
        if (const int count = columnCount(); count > 0)
            emit headerDataChanged(Qt::Horizontal, 0, count - 1);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
            const auto title = m_titles.constFind(section);
            if (title != m_titles.constEnd())
                return *title;
        }
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return QIdentityProxyModel::flags(index) & ~Qt::ItemIsEditable;
    }

private:
    QHash<int, QString> m_titles;
};

DataGrid::DataGrid(QWidget* parent) : QTableView(parent), m_proxy(new TitleProxy(this))
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    // Tab leaves the grid for the next control instead of walking the cells.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    QTableView::setModel(m_proxy);

    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit doubleClicked(index.row());
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { emit currentRowChanged(current.isValid() ? current.row() : -1); });
    // The header forgets hidden and moved sections when the columns change.
    connect(m_proxy, &QAbstractItemModel::modelReset, this, &DataGrid::applyColumns);
    connect(m_proxy, &QAbstractItemModel::columnsInserted, this, &DataGrid::applyColumns);
    connect(m_proxy, &QAbstractItemModel::columnsRemoved, this, &DataGrid::applyColumns);
    connect(m_proxy, &QAbstractItemModel::columnsMoved, this, &DataGrid::applyColumns);
    connect(m_proxy, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation orientation) {
                if (orientation == Qt::Horizontal)
                    applyColumns();
            });
}

void DataGrid::setModel(QAbstractItemModel* model)
{
    m_proxy->setSourceModel(model);
    applyColumns();
}

QAbstractItemModel* DataGrid::sourceModel() const
{
    return m_proxy->sourceModel();
}

void DataGrid::setColumns(const QList<GridColumn>& columns)
{
    m_columns = columns;
    applyColumns();
}

int DataGrid::modelColumnAt(int position) const
{
    return position >= 0 && position < m_shown.size() ? m_shown.at(position) : -1;
}

void DataGrid::applyColumns()
{
    QHeaderView* header = horizontalHeader();
    const int count = m_proxy->columnCount();
    QList<int> shown;
    QList<int> widths;
    QHash<int, QString> titles;
    if (m_columns.isEmpty()) {
        for (int column = 0; column < count; ++column) {
            shown.append(column);
            widths.append(0);
        }
    } else {
        for (const GridColumn& wanted : m_columns) {
            int column = wanted.modelColumn;
            if (column < 0 && !wanted.headerName.isEmpty()) {
                for (int c = 0; c < count; ++c) {
                    const QString name = sourceModel()->headerData(c, Qt::Horizontal).toString().trimmed();
                    if (name.compare(wanted.headerName.trimmed(), Qt::CaseInsensitive) == 0) {
                        column = c;
                        break;
                    }
                }
            }
            if (column < 0 || column >= count || shown.contains(column))
                continue;
            shown.append(column);
            widths.append(wanted.widthChars);
            if (!wanted.title.isNull())
                titles.insert(column, wanted.title);
        }
    }
    m_shown = shown;
    m_proxy->setTitles(titles);

    for (int column = 0; column < count; ++column)
        header->setSectionHidden(column, !shown.contains(column));
    const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    for (int position = 0; position < shown.size(); ++position) {
        const int column = shown.at(position);
        header->moveSection(header->visualIndex(column), position);
        if (widths.at(position) > 0) {
            // Never narrower than the column's title.
            const QString title = m_proxy->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
            const int titleWidth = header->fontMetrics().horizontalAdvance(title) + 2 * margin;
            // Digits are the widest characters these grids show.
            const int charWidth = std::max(fontMetrics().averageCharWidth(),
                                           fontMetrics().horizontalAdvance(QLatin1Char('0')));
            header->resizeSection(column, std::max(titleWidth, charWidth * (widths.at(position) + 1) + margin));
        }
    }
}

int DataGrid::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void DataGrid::setCurrentRow(int row)
{
    // Bounded by the row asked for: never reads the whole model.
    while (row >= m_proxy->rowCount() && m_proxy->canFetchMore(QModelIndex())) {
        const int before = m_proxy->rowCount();
        m_proxy->fetchMore(QModelIndex());
        if (m_proxy->rowCount() == before)
            break;
    }
    if (row < 0 || row >= m_proxy->rowCount()) {
        selectionModel()->clear();
        return;
    }
    const int column = m_shown.isEmpty() ? 0 : m_shown.first();
    const QModelIndex index = m_proxy->index(row, column);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void DataGrid::setEnterChoosesRow(bool chooses)
{
    m_enterChoosesRow = chooses;
    // The form's Enter-moves-focus filter leaves such a grid its Enter.
    setProperty("enterMovesFocus", chooses ? QVariant(false) : QVariant());
}

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!m_enterChoosesRow) {
            // Not the grid's key: the form moves the focus on.
            event->ignore();
            return;
        }
        const QModelIndex current = currentIndex();
        if (current.isValid())
            emit doubleClicked(current.row());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace talvera::widgets
