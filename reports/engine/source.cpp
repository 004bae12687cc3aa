#include "reports/engine/source.h"

#include "core/dataset.h"

namespace talvera::reports {

DatasetSource::DatasetSource(db::Dataset& dataset) : dataset_(dataset) {}

int DatasetSource::fieldIndex(const QString& name) const
{
    return dataset_.fieldIndex(name);
}

bool DatasetSource::moveTo(int row)
{
    if (!dataset_.isOpen() && dataset_.fetchedRows() == 0)
        return false;
    if (!dataset_.moveTo(row))
        return false;
    row_ = row;
    return true;
}

QVariant DatasetSource::value(int field) const
{
    return dataset_.valueAt(row_, field);
}

QString DatasetSource::displayText(int field) const
{
    return dataset_.displayText(row_, field);
}

TableSource::TableSource(QStringList fields, std::vector<QVariantList> rows)
    : fields_(std::move(fields)), rows_(std::move(rows))
{
}

int TableSource::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields_.size(); ++i) {
        if (fields_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool TableSource::moveTo(int row)
{
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return false;
    row_ = row;
    return true;
}

QVariant TableSource::value(int field) const
{
    if (row_ < 0 || field < 0)
        return {};
    const QVariantList& row = rows_[static_cast<size_t>(row_)];
    return field < row.size() ? row[field] : QVariant();
}

QString TableSource::displayText(int field) const
{
    const QVariant v = value(field);
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    return v.toString();
}

} // namespace talvera::reports
