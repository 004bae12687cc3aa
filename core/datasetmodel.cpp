#include "core/datasetmodel.h"

namespace talvera::db {

DatasetModel::DatasetModel(Dataset& dataset, QStringList columns, QObject* parent)
    : QAbstractTableModel(parent), dataset_(dataset), requested_(std::move(columns))
{
    resetHook_ = dataset_.onReset.size();
    dataset_.onReset.push_back([this] { reset(); });
    fetchHook_ = dataset_.onRowsFetched.size();
    // Rows fetched by someone else (a form walking the dataset) appear too.
    dataset_.onRowsFetched.push_back([this](int, int last) {
        if (fetching_ || last < rows_)
            return;
        beginInsertRows({}, rows_, last);
        rows_ = last + 1;
        endInsertRows();
    });
    reset();
}

DatasetModel::~DatasetModel()
{
    // Leave the hooks in place but harmless: the dataset outlives the model.
    dataset_.onReset[resetHook_] = [] {};
    dataset_.onRowsFetched[fetchHook_] = [](int, int) {};
}

void DatasetModel::setColumns(const QStringList& columns)
{
    requested_ = columns;
    reset();
}

void DatasetModel::reset()
{
    beginResetModel();
    fieldOf_.clear();
    const auto& fields = dataset_.fields();
    if (requested_.isEmpty()) {
        for (size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].shown)
                fieldOf_.push_back(static_cast<int>(i));
        }
    } else {
        for (const QString& name : requested_)
            fieldOf_.push_back(dataset_.fieldIndex(name));
    }
    rows_ = dataset_.fetchedRows();
    endResetModel();
}

int DatasetModel::fieldIndexOfColumn(int column) const
{
    return column >= 0 && static_cast<size_t>(column) < fieldOf_.size() ? fieldOf_[static_cast<size_t>(column)] : -1;
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(fieldOf_.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_)
        return {};
    const int fi = fieldIndexOfColumn(index.column());
    if (fi < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return dataset_.displayText(index.row(), fi);
    case RawValueRole:
        return dataset_.valueAt(index.row(), fi);
    case Qt::TextAlignmentRole: {
        const auto type = dataset_.fields()[static_cast<size_t>(fi)].type;
        if (type == FieldType::Text || type == FieldType::Date)
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    const int fi = fieldIndexOfColumn(section);
    if (fi < 0)
        return {};
    const FieldDef& f = dataset_.fields()[static_cast<size_t>(fi)];
    if (role == Qt::DisplayRole)
        return f.title();
    if (role == FieldWidthRole)
        return f.width;
    return {};
}

bool DatasetModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && (rows_ < dataset_.fetchedRows() || dataset_.canFetchMore());
}

void DatasetModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid())
        return;
    fetching_ = true;
    if (dataset_.fetchedRows() - rows_ < batch_)
        dataset_.fetchMore(batch_ - (dataset_.fetchedRows() - rows_));
    fetching_ = false;
    const int available = dataset_.fetchedRows();
    if (available > rows_) {
        beginInsertRows({}, rows_, available - 1);
        rows_ = available;
        endInsertRows();
    }
}

} // namespace talvera::db
