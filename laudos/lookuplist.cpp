#include "laudos/lookuplist.h"

#include <algorithm>
#include <numeric>

namespace talvera::laudos {

namespace {

// Rows handed to a view at a time: a reset costs the same for 50 rows or 50,000.
constexpr int kBatch = 256;

// The WIN1252 byte of a character; characters outside the code page (which a
// WIN1252 column cannot hold) sort after it.
int win1252(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    static const char16_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    for (int i = 0; i < 32; ++i) {
        if (high[i] == u)
            return 0x80 + i;
    }
    return 0x100 + u;
}

bool numeric(db::FieldType type)
{
    return type != db::FieldType::Text && type != db::FieldType::Date;
}

} // namespace

int compareStoredText(const QString& a, const QString& b)
{
    const qsizetype n = std::max(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int ca = i < a.size() ? win1252(a.at(i)) : ' ';
        const int cb = i < b.size() ? win1252(b.at(i)) : ' ';
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return 0;
}

LookupList::LookupList(QObject* parent) : QAbstractTableModel(parent) {}

void LookupList::load(db::Dataset& source)
{
    beginResetModel();
    source.open();
    source.fetchAll();
    fields_ = source.fields();
    records_ = source.fetchedRows();
    const size_t width = fields_.size();
    cells_.assign(static_cast<size_t>(records_) * width, QString());
    nulls_.assign(cells_.size(), 0);
    for (int r = 0; r < records_; ++r) {
        for (size_t f = 0; f < width; ++f) {
            const size_t at = static_cast<size_t>(r) * width + f;
            const QVariant v = source.valueAt(r, static_cast<int>(f));
            nulls_[at] = !v.isValid() || v.isNull();
            cells_[at] = source.displayText(r, static_cast<int>(f));
        }
    }
    source.close();
    orders_.assign(width, {});
    // Built now, so the first keystroke does not pay for the sorting.
    for (size_t f = 0; f < width; ++f) {
        if (fields_[f].type == db::FieldType::Text || fields_[f].type == db::FieldType::Integer)
            orderedBy(static_cast<int>(f));
    }
    shown_.clear();
    exposed_ = 0;
    endResetModel();
}

const std::vector<int>& LookupList::orderedBy(int field)
{
    std::vector<int>& order = orders_[static_cast<size_t>(field)];
    if (static_cast<int>(order.size()) == records_)
        return order;
    order.resize(static_cast<size_t>(records_));
    std::iota(order.begin(), order.end(), 0);
    const bool number = numeric(fields_[static_cast<size_t>(field)].type);
    std::vector<double> values;
    if (number) {
        values.resize(order.size());
        for (int r = 0; r < records_; ++r)
            values[static_cast<size_t>(r)] = cell(r, field).toDouble();
    }
    // Nulls first, as the database puts them in an ascending order.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const bool na = isNull(a, field);
        const bool nb = isNull(b, field);
        if (na || nb)
            return na && !nb;
        if (number)
            return values[static_cast<size_t>(a)] < values[static_cast<size_t>(b)];
        return compareStoredText(cell(a, field), cell(b, field)) < 0;
    });
    return order;
}

void LookupList::show(std::vector<int> records)
{
    beginResetModel();
    shown_ = std::move(records);
    exposed_ = std::min(size(), kBatch);
    endResetModel();
}

void LookupList::showAll(int orderField)
{
    if (orderField < 0 || orderField >= static_cast<int>(fields_.size())) {
        std::vector<int> all(static_cast<size_t>(records_));
        std::iota(all.begin(), all.end(), 0);
        show(std::move(all));
        return;
    }
    show(orderedBy(orderField));
}

void LookupList::search(int field, const QString& text)
{
    if (field < 0 || field >= static_cast<int>(fields_.size())) {
        show({});
        return;
    }
    std::vector<int> hits;
    for (const int r : orderedBy(field)) {
        if (!isNull(r, field) && cell(r, field).contains(text, Qt::CaseSensitive))
            hits.push_back(r);
    }
    show(std::move(hits));
}

int LookupList::fieldIndex(const QString& name) const
{
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

QString LookupList::value(int row, const QString& field) const
{
    const int f = fieldIndex(field);
    if (row < 0 || row >= size() || f < 0)
        return {};
    return cell(shown_[static_cast<size_t>(row)], f);
}

int LookupList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : exposed_;
}

int LookupList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(fields_.size());
}

QVariant LookupList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= exposed_ || index.column() >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return cell(shown_[static_cast<size_t>(index.row())], index.column());
    if (role == Qt::TextAlignmentRole) {
        const bool number = numeric(fields_[static_cast<size_t>(index.column())].type);
        return QVariant::fromValue((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

QVariant LookupList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= columnCount())
        return {};
    return fields_[static_cast<size_t>(section)].title();
}

bool LookupList::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && exposed_ < size();
}

void LookupList::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || exposed_ >= size())
        return;
    const int more = std::min(size(), exposed_ + kBatch);
    beginInsertRows({}, exposed_, more - 1);
    exposed_ = more;
    endInsertRows();
}

} // namespace talvera::laudos
