#pragma once
// A read-only table model over a dataset. Rows are fetched from the database
// only as a view asks for them, so a large result shows its first screen at once.

#include "core/dataset.h"

#include <QAbstractTableModel>

namespace talvera::db {

class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // `columns` names the fields to show, in order; empty: the dataset's shown fields.
    explicit DatasetModel(Dataset& dataset, QStringList columns = {}, QObject* parent = nullptr);
    ~DatasetModel() override;

    Dataset& dataset() { return dataset_; }
    void setColumns(const QStringList& columns);
    void setBatchSize(int rows) { batch_ = rows; }
    int fieldIndexOfColumn(int column) const;

    // The field definition of a column, for widths and titles.
    static constexpr int FieldWidthRole = Qt::UserRole + 1;
    static constexpr int RawValueRole = Qt::UserRole + 2;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    void reset();

    Dataset& dataset_;
    QStringList requested_;
    std::vector<int> fieldOf_;
    int rows_ = 0;
    int batch_ = 256;
    bool fetching_ = false;
    size_t resetHook_ = 0;
    size_t fetchHook_ = 0;
};

} // namespace talvera::db
