#pragma once
// Read-only access to a dBASE table file through shapelib, for files that come
// from outside: the header, the declared fields and the file's length are
// checked when it is opened, and a refusal names the file and the field.

#include "writeoff/codepage.h"

#include <QString>

#include <initializer_list>
#include <vector>

namespace talvera::writeoff {

// A field the program expects: its name and dBASE type ('C' character,
// 'D' date, 'N' numeric, which also accepts 'F').
struct DeclaredField {
    const char* name;
    char type;
};

class DbaseTable {
public:
    // Opens `path`; `label` is the name messages use ("F110.DBF"). Throws
    // db::DatabaseError when the file is not a readable dBASE table, is shorter
    // than its header says, or lacks a declared field or has it of another type.
    DbaseTable(const QString& path, const QString& label, std::initializer_list<DeclaredField> fields);
    ~DbaseTable();
    DbaseTable(const DbaseTable&) = delete;
    DbaseTable& operator=(const DbaseTable&) = delete;

    const QString& label() const { return label_; }
    CodePage codePage() const { return codePage_; }
    int recordCount() const;

    // Makes `record` (0-based) current; false when it is marked deleted, which
    // a dBASE reader does not show.
    bool read(int record);
    // The current record's value of a declared field (by its position in the
    // declaration), decoded and without trailing blanks.
    QString text(int field) const;
    // Whether that value holds exactly `bytes` (trailing blanks aside), for
    // selecting records without decoding them.
    bool holds(int field, QByteArrayView bytes) const;

private:
    QString label_;
    void* handle_ = nullptr; // shapelib's DBFHandle, whose struct has no name to declare
    CodePage codePage_ = CodePage::Dos850;
    std::vector<int> offsets_; // of each declared field in a record
    std::vector<int> sizes_;
    const char* record_ = nullptr;
};

// The file named `name` in `directory`, matched without regard to case as a
// DOS directory would; empty when there is none.
QString findFile(const QString& directory, const QString& name);

} // namespace talvera::writeoff
