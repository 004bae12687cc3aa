#pragma once
// Writes the dBASE files of Vorq's DOS version with shapelib, for the tests:
// any field list, raw bytes per value (so code-page bytes are exact), records
// marked deleted, and a code-page mark when asked for.

#include <QByteArray>
#include <QString>

#include <vector>

namespace talvera::test {

struct DbfField {
    const char* name;
    char type; // 'C', 'D', 'N'
    int width;
    int decimals = 0;
};

struct DbfRecord {
    std::vector<QByteArray> values; // one per field, as stored; empty: blank
    bool deleted = false;
};

// `mark` as DBFCreateEx takes it: "LDID/3", a .cpg name, or null for none.
void writeDbf(const QString& path, const std::vector<DbfField>& fields, const std::vector<DbfRecord>& records,
              const char* mark = nullptr);

const std::vector<DbfField>& f110Fields();
const std::vector<DbfField>& f030Fields();
const std::vector<DbfField>& m01Fields();

// An F110 admission record: the values the import reads, the rest blank.
struct F110 {
    QByteArray nAih;
    QByteArray cmpt;
    QByteArray munRes;
    QByteArray munInt;
    QByteArray nomePac;
    QByteArray cgc;
    bool deleted = false;
};
struct F030 {
    QByteArray cgc;
    QByteArray nome;
};

// N_AIH of a number: its 12 digits and its check digit.
QByteArray nAih(qint64 numero);

// F110.DBF, F030.DBF and an empty M01.DBF in `dir`.
void writeVorqFiles(const QString& dir, const std::vector<F110>& admissions, const std::vector<F030>& hospitals,
                    const char* mark = nullptr);

} // namespace talvera::test
