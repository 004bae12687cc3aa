#pragma once
// The rows of one reference table, read once when a lookup dialog is shown
// and narrowed in memory as the operator types: a keystroke costs one pass
// over the rows, never a statement, so the search text can never reach SQL.
// A search keeps the rows whose column contains the text as stored (exact
// characters, as the database's binary collation compares them), ordered by
// that column as the database orders it.

#include "core/dataset.h"

#include <QAbstractTableModel>

#include <vector>

namespace talvera::laudos {

class LookupList : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LookupList(QObject* parent = nullptr);

    // Reads every row of the dataset with its current statement (opening it),
    // in the order the database returns them, then closes it.
    void load(db::Dataset& source);

    // Every row, in the order read (-1) or ordered by a field.
    void showAll(int orderField = -1);
    // The rows whose field contains the text, ordered by that field.
    void search(int field, const QString& text);

    int fieldIndex(const QString& name) const; // -1 when absent
    // Rows shown, whether or not the view has asked for them yet.
    int size() const { return static_cast<int>(shown_.size()); }
    QString value(int row, const QString& field) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    const QString& cell(int record, int field) const
    {
        return cells_[static_cast<size_t>(record) * fields_.size() + static_cast<size_t>(field)];
    }
    bool isNull(int record, int field) const
    {
        return nulls_[static_cast<size_t>(record) * fields_.size() + static_cast<size_t>(field)] != 0;
    }
    const std::vector<int>& orderedBy(int field);
    void show(std::vector<int> records);

    std::vector<db::FieldDef> fields_;
    int records_ = 0;
    std::vector<QString> cells_;  // display text, records × fields
    std::vector<char> nulls_;
    std::vector<std::vector<int>> orders_; // per field, built when first needed
    std::vector<int> shown_;      // records listed, in order
    int exposed_ = 0;             // rows handed to views so far
};

// The order of two stored texts under WIN1252's binary collation: byte by
// byte, the shorter one padded with blanks.
int compareStoredText(const QString& a, const QString& b);

} // namespace talvera::laudos
