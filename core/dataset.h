#pragma once
// A dataset is a query with a fixed catalogue of fields: data fields bound by
// name to result columns, lookup fields read from an index of another dataset,
// and calculated fields filled from the row itself. Rows are fetched on demand
// and kept, so a grid can move back and forth without refetching.

#include "core/firebird.h"

#include <QHash>

#include <functional>
#include <optional>

namespace talvera::db {

enum class FieldType { SmallInt, Integer, BigInt, Float, Text, Date, Decimal };
enum class FieldKind { Data, Lookup, Calculated };

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0; // characters of a text field
    FieldKind kind = FieldKind::Data;
    bool required = false;
    QString label; // empty: the field name is the title
    int width = 0;
    bool shown = true;
    // Lookup: the row of `lookupDataset` whose `lookupKey` equals this row's
    // `keyField` gives `lookupResult`.
    QString keyField;
    QString lookupDataset;
    QString lookupKey;
    QString lookupResult;
    QString editMask;

    QString title() const { return label.isEmpty() ? name : label; }
};

class Dataset;

// Fills the calculated fields of one row; `set` cuts text to the field's size.
class CalcRow {
public:
    CalcRow(const Dataset& ds, std::vector<QVariant>& values) : ds_(ds), values_(values) {}
    QVariant operator[](const QString& field) const; // a data field of the row
    void set(const QString& field, const QVariant& value);

private:
    const Dataset& ds_;
    std::vector<QVariant>& values_;
};

class Dataset : public Query {
public:
    // An empty field list exposes every column of the result as it comes.
    Dataset(Database& db, QString name, QStringList defaultSql, std::vector<FieldDef> fields);

    const std::vector<FieldDef>& fields() const { return fields_; }
    int fieldIndex(const QString& name) const; // -1 when absent (case-insensitive)
    const FieldDef& field(const QString& name) const;

    QString dataSource; // name of the data source grids and reports bind to
    std::function<void(CalcRow&)> calculate;
    // Finds the dataset a lookup field reads; set by the data module.
    std::function<Dataset*(const QString&)> resolveLookup;
    // A table too large to index whole serves lookups through a narrower
    // statement: it is reopened with it, and indexed, each time a dataset that
    // looks up in it opens.
    void setLookupSql(const QString& sql) { lookupSql_ = sql; }
    void openForLookup();

    void restoreDefaultSql();

    void open() override;
    void close() override;
    void next() override; // moves the current row, fetching when needed

    // Buffered rows.
    int fetchedRows() const { return fetched_; }
    bool canFetchMore() const { return isOpen() && !exhausted_; }
    int fetchMore(int count); // returns the number of rows added
    void fetchAll();
    int recNo() const { return current_; } // 0-based; -1 when empty
    bool moveTo(int row);                   // fetches up to the row; false past the end
    void first() { moveTo(0); }

    QVariant valueAt(int row, int fieldIndex) const;
    QVariant value(const QString& name) const { return fieldValue(name); }
    bool eof() const override { return current_ < 0 || current_ >= fetched_; }
    QVariant fieldValue(const QString& name) const; // of the current row
    QString asString(const QString& name) const { return fieldValue(name).toString(); }
    QString displayText(int row, int fieldIndex) const;

    // Row of the first fetched-or-fetchable row whose field equals key; -1 when none.
    int locate(const QString& field, const QVariant& key);
    // The value of `result` in the row whose `key` field equals `keyValue`.
    QVariant lookup(const QString& key, const QVariant& keyValue, const QString& result);

    // Called after the dataset opens, closes, or fetches rows.
    std::vector<std::function<void()>> onReset;
    std::vector<std::function<void(int first, int last)>> onRowsFetched;

private:
    friend class CalcRow;
    void bindColumns();
    bool fetchOne();
    void completeRow(int row) const;
    static QVariant coerce(const QVariant& raw, const FieldDef& def);

    QStringList defaultSql_;
    std::vector<FieldDef> fields_;
    bool allColumns_ = false;
    std::vector<int> columnOf_; // result column of each data field, -1 otherwise
    mutable std::vector<QVariant> values_; // fetched_ rows × fields_.size()
    mutable std::vector<bool> completed_;  // lookups and calculations filled
    int fetched_ = 0;
    int current_ = -1;
    bool exhausted_ = true;

    QString lookupSql_;
    QHash<QString, QHash<QString, int>> indexes_; // key field -> key text -> row
};

} // namespace talvera::db
