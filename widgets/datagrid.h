#pragma once
// Read-only grid over any item model, one whole row selected at a time. The
// form lists the columns it shows: model column (by index or header name),
// title and width in characters. Rows are fetched as the view scrolls.

#include <QList>
#include <QString>
#include <QTableView>

namespace talvera::widgets {

struct GridColumn {
    GridColumn(int modelColumn, QString title, int widthChars = 0);
    // Found by the model's horizontal header text, ignoring case.
    GridColumn(QString headerName, QString title, int widthChars = 0);

    int modelColumn = -1; // -1: look up headerName
    QString headerName;
    QString title;
    int widthChars = 0; // 0: the view's default width
};

class DataGrid : public QTableView {
    Q_OBJECT
    Q_PROPERTY(int currentRow READ currentRow WRITE setCurrentRow NOTIFY currentRowChanged USER true)
    // Off by default: Enter belongs to the form, which moves the focus on.
    // A lookup list turns it on so that Enter picks the current row.
    Q_PROPERTY(bool enterChoosesRow READ enterChoosesRow WRITE setEnterChoosesRow)

public:
    explicit DataGrid(QWidget* parent = nullptr);

    // The grid shows the model through its own column-titling proxy, so
    // model() returns that proxy; rows and model columns are unchanged.
    void setModel(QAbstractItemModel* model) override;
    QAbstractItemModel* sourceModel() const;

    // Each model column may be listed once. An empty list shows every column
    // with the model's own titles. Names not found in the model are skipped.
    void setColumns(const QList<GridColumn>& columns);
    QList<GridColumn> columns() const { return m_columns; }
    // Model column shown at the given position, or -1.
    int modelColumnAt(int position) const;

    bool enterChoosesRow() const { return m_enterChoosesRow; }
    void setEnterChoosesRow(bool chooses);

    // -1 when there is no current row.
    int currentRow() const;
    // Rows not yet fetched are fetched up to the one asked for; a row the
    // model does not have clears the current row.
    void setCurrentRow(int row);

signals:
    // Double-click on a row, or Enter where the grid takes it.
    void doubleClicked(int row);
    void currentRowChanged(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyColumns();

    class TitleProxy;
    TitleProxy* m_proxy;
    QList<GridColumn> m_columns;
    QList<int> m_shown; // model column of each shown position
    bool m_enterChoosesRow = false;
};

} // namespace talvera::widgets
