#pragma once
// Where a report reads its rows: a cursor over records with fields by name.
// DatasetSource reads a data module dataset (its calculated and looked-up
// fields included); TableSource holds rows in memory.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace talvera::db {
class Dataset;
}

namespace talvera::reports {

class RecordSource {
public:
    virtual ~RecordSource() = default;
    virtual int fieldIndex(const QString& name) const = 0; // -1 when absent
    // Makes the row current; false when there is no such row.
    virtual bool moveTo(int row) = 0;
    virtual QVariant value(int field) const = 0; // of the current row
    virtual QString displayText(int field) const = 0;
};

class DatasetSource : public RecordSource {
public:
    explicit DatasetSource(db::Dataset& dataset);
    int fieldIndex(const QString& name) const override;
    bool moveTo(int row) override;
    QVariant value(int field) const override;
    QString displayText(int field) const override;

private:
    db::Dataset& dataset_;
    int row_ = -1;
};

class TableSource : public RecordSource {
public:
    explicit TableSource(QStringList fields, std::vector<QVariantList> rows = {});
    void add(const QVariantList& row) { rows_.push_back(row); }
    int fieldIndex(const QString& name) const override;
    bool moveTo(int row) override;
    QVariant value(int field) const override;
    QString displayText(int field) const override;

private:
    QStringList fields_;
    std::vector<QVariantList> rows_;
    int row_ = -1;
};

} // namespace talvera::reports
