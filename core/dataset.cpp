#include "core/dataset.h"

#include "core/numbers.h"

#include <QLocale>

namespace talvera::db {

QVariant CalcRow::operator[](const QString& field) const
{
    const int i = ds_.fieldIndex(field);
    return i < 0 ? QVariant() : values_[static_cast<size_t>(i)];
}

void CalcRow::set(const QString& field, const QVariant& value)
{
    const int i = ds_.fieldIndex(field);
    if (i < 0)
        return;
    const FieldDef& def = ds_.fields_[static_cast<size_t>(i)];
    QVariant v = value;
    if (def.type == FieldType::Text && def.size > 0 && v.isValid())
        v = v.toString().left(def.size);
    values_[static_cast<size_t>(i)] = v;
}

Dataset::Dataset(Database& db, QString name, QStringList defaultSql, std::vector<FieldDef> fields)
    : Query(db, std::move(name)), defaultSql_(std::move(defaultSql)), fields_(std::move(fields)),
      allColumns_(fields_.empty())
{
    restoreDefaultSql();
}

void Dataset::restoreDefaultSql()
{
    clearSql();
    for (const QString& line : defaultSql_)
        addLine(line);
}

int Dataset::fieldIndex(const QString& name) const
{
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

const FieldDef& Dataset::field(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DatabaseError(QStringLiteral("%1: campo %2 não encontrado").arg(componentName(), name));
    return fields_[static_cast<size_t>(i)];
}

void Dataset::open()
{
    close();
    // Lookup datasets open together with this one.
    for (const FieldDef& f : fields_) {
        if (f.kind != FieldKind::Lookup || !resolveLookup)
            continue;
        Dataset* source = resolveLookup(f.lookupDataset);
        if (!source || source == this)
            continue;
        if (!source->lookupSql_.isEmpty())
            source->openForLookup();
        else if (!source->isOpen())
            source->open();
    }
    Query::open();
    if (!Query::isOpen())
        return; // a statement without rows
    try {
        bindColumns();
    } catch (...) {
        Query::close();
        throw;
    }
    exhausted_ = Query::eof();  // the query's own end-of-data after the first fetch
    if (!exhausted_) {
        // The first row is already in the query's buffer.
        values_.resize(fields_.size());
        for (size_t i = 0; i < fields_.size(); ++i)
            values_[i] = columnOf_[i] < 0 ? QVariant() : coerce(Query::value(columnOf_[i]), fields_[i]);
        completed_.push_back(false);
        fetched_ = 1;
        current_ = 0;
    }
    for (auto& f : onReset)
        f();
}

void Dataset::openForLookup()
{
    close();
    setStatement(lookupSql_);
    open();
}

void Dataset::bindColumns()
{
    if (allColumns_) {
        fields_.clear();
        for (const Column& c : columns()) {
            FieldDef def;
            def.name = c.name;
            fields_.push_back(def);
        }
    }
    columnOf_.assign(fields_.size(), -1);
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].kind != FieldKind::Data)
            continue;
        const int column = columnIndex(fields_[i].name);
        if (column < 0)
            throw DatabaseError(QStringLiteral("%1: o campo %2 não foi encontrado no resultado da consulta")
                                    .arg(componentName(), fields_[i].name));
        columnOf_[i] = column;
    }
    if (allColumns_) {
        // Types follow the values that come back.
        for (size_t i = 0; i < fields_.size(); ++i) {
            switch (columns()[i].type) {
            case 500: fields_[i].type = FieldType::SmallInt; break;  // SQL_SHORT
            case 496: fields_[i].type = FieldType::Integer; break;   // SQL_LONG
            case 580: fields_[i].type = FieldType::BigInt; break;    // SQL_INT64
            case 480: fields_[i].type = FieldType::Float; break;     // SQL_DOUBLE
            case 570: fields_[i].type = FieldType::Date; break;      // SQL_TYPE_DATE
            default: fields_[i].type = FieldType::Text; break;
            }
        }
    }
}

void Dataset::close()
{
    const bool had = Query::isOpen() || fetched_ > 0;
    Query::close();
    values_.clear();
    completed_.clear();
    fetched_ = 0;
    current_ = -1;
    exhausted_ = true;
    indexes_.clear();
    if (had) {
        for (auto& f : onReset)
            f();
    }
}

QVariant Dataset::coerce(const QVariant& raw, const FieldDef& def)
{
    if (!raw.isValid() || raw.isNull())
        return {};
    switch (def.type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
        return raw.toInt();
    case FieldType::BigInt:
        return raw.toLongLong();
    case FieldType::Float:
    case FieldType::Decimal:
        return raw.toDouble();
    case FieldType::Date:
        return raw.toDate();
    case FieldType::Text:
        return raw.toString();
    }
    return raw;
}

bool Dataset::fetchOne()
{
    if (exhausted_)
        return false;
    if (!fetchRow()) {
        exhausted_ = true;
        return false;
    }
    const size_t base = values_.size();
    values_.resize(base + fields_.size());
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (columnOf_[i] >= 0)
            values_[base + i] = coerce(Query::value(columnOf_[i]), fields_[i]);
    }
    completed_.push_back(false);
    ++fetched_;
    return true;
}

int Dataset::fetchMore(int count)
{
    const int before = fetched_;
    for (int i = 0; i < count && fetchOne(); ++i) {
    }
    if (fetched_ > before) {
        for (auto& f : onRowsFetched)
            f(before, fetched_ - 1);
    }
    return fetched_ - before;
}

void Dataset::fetchAll()
{
    while (canFetchMore())
        fetchMore(4096);
}

bool Dataset::moveTo(int row)
{
    if (row < 0)
        return false;
    if (row >= fetched_)
        fetchMore(row - fetched_ + 1);
    if (row >= fetched_) {
        if (fetched_ > 0)
            current_ = fetched_ - 1;
        return false;
    }
    current_ = row;
    return true;
}

void Dataset::next()
{
    if (current_ < 0)
        return;
    if (!moveTo(current_ + 1))
        current_ = fetched_; // past the last row: end of data
}

void Dataset::completeRow(int row) const
{
    const size_t base = static_cast<size_t>(row) * fields_.size();
    std::vector<QVariant> rowValues(values_.begin() + static_cast<qsizetype>(base),
                                    values_.begin() + static_cast<qsizetype>(base + fields_.size()));
    for (size_t i = 0; i < fields_.size(); ++i) {
        const FieldDef& f = fields_[i];
        if (f.kind != FieldKind::Lookup || !resolveLookup)
            continue;
        Dataset* source = resolveLookup(f.lookupDataset);
        const int keyIndex = fieldIndex(f.keyField);
        if (!source || keyIndex < 0)
            continue;
        QVariant v = source->lookup(f.lookupKey, rowValues[static_cast<size_t>(keyIndex)], f.lookupResult);
        if (f.type == FieldType::Text && f.size > 0 && v.isValid())
            v = v.toString().left(f.size);
        rowValues[i] = v;
    }
    if (calculate) {
        CalcRow calc(*this, rowValues);
        calculate(calc);
    }
    for (size_t i = 0; i < fields_.size(); ++i)
        values_[base + i] = rowValues[i];
    completed_[static_cast<size_t>(row)] = true;
}

QVariant Dataset::valueAt(int row, int fieldIndex) const
{
    if (row < 0 || row >= fetched_ || fieldIndex < 0 || static_cast<size_t>(fieldIndex) >= fields_.size())
        return {};
    if (fields_[static_cast<size_t>(fieldIndex)].kind != FieldKind::Data && !completed_[static_cast<size_t>(row)])
        completeRow(row);
    return values_[static_cast<size_t>(row) * fields_.size() + static_cast<size_t>(fieldIndex)];
}

QVariant Dataset::fieldValue(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DatabaseError(QStringLiteral("%1: campo %2 não encontrado").arg(componentName(), name));
    if (current_ < 0 || current_ >= fetched_)
        return {};
    return valueAt(current_, i);
}

QString Dataset::displayText(int row, int fieldIndex) const
{
    const QVariant v = valueAt(row, fieldIndex);
    if (!v.isValid() || v.isNull())
        return {};
    const FieldDef& f = fields_[static_cast<size_t>(fieldIndex)];
    // Decimal comma as a Brazilian installation shows numbers, but no thousands
    // separator: a float field is shown plain ("1000").
    static const QLocale brazil = [] {
        QLocale l(QLocale::Portuguese, QLocale::Brazil);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    switch (f.type) {
    case FieldType::Date:
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case FieldType::Decimal:
        return brazil.toString(v.toDouble(), 'f', 2);
    case FieldType::Float:
        return brazil.toString(v.toDouble(), 'g', 15);
    case FieldType::Text:
        if (!f.editMask.isEmpty() && f.name.compare(QStringLiteral("CGC_HSP"), Qt::CaseInsensitive) == 0)
            return numbers::cnpjText(v.toString());
        return v.toString();
    default:
        return v.toString();
    }
}

int Dataset::locate(const QString& fieldName, const QVariant& key)
{
    const int fi = fieldIndex(fieldName);
    if (fi < 0 || !isOpen())
        return -1;
    const QString wanted = key.toString();
    for (int row = 0;; ++row) {
        if (row >= fetched_ && fetchMore(256) == 0)
            return -1;
        if (valueAt(row, fi).toString() == wanted)
            return row;
    }
}

QVariant Dataset::lookup(const QString& key, const QVariant& keyValue, const QString& result)
{
    if (!keyValue.isValid() || keyValue.isNull())
        return {};
    const QString keyText = keyValue.toString();
    if (!isOpen() && fetched_ == 0) {
        if (lookupSql_.isEmpty())
            open();
        else
            openForLookup();
    }
    auto it = indexes_.find(key.toUpper());
    if (it == indexes_.end()) {
        fetchAll();
        QHash<QString, int> index;
        const int fi = fieldIndex(key);
        if (fi < 0)
            return {};
        index.reserve(fetched_);
        for (int row = fetched_ - 1; row >= 0; --row)
            index.insert(values_[static_cast<size_t>(row) * fields_.size() + static_cast<size_t>(fi)].toString(), row);
        it = indexes_.insert(key.toUpper(), index);
    }
    const auto row = it->constFind(keyText);
    if (row == it->constEnd())
        return {};
    return valueAt(*row, fieldIndex(result));
}

} // namespace talvera::db
