#pragma once
// Writing off the numbers Vorq's data shows as used: its DOS version's dBASE
// files or its Windows version's Firebird database. Both imports mark the
// movement rows of the month's numbers, record each number once in TBBAIXA,
// register hospitals in TBHOSP and the month's municipalities of origin in
// TBBAIXAMES, all in one transaction on the main connection.
//
// The work goes to the database in EXECUTE BLOCK batches that run, row after
// row, the same checks and writes as the one-statement-per-row steps; those
// steps are kept as well (Method::RowByRow) to compare results and speed.

#include "core/firebird.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace talvera {
class DataModule;
}

namespace talvera::writeoff {

class DbaseTable;

// A hospital of Vorq's register (F030).
struct Hospital {
    QString cnpj;
    QString name;
};

// One admission record of the month (F110), with its number split.
struct Admission {
    double numero = 0; // 0 (and dv 0) when N_AIH is not 13 digits
    double dv = 0;
    QString residence;       // MUN_RES
    QString admission;       // MUN_INT
    QString patient;         // NOME_PAC
    QString cnpj;            // CGC_HSP
};

struct DosMonth {
    std::vector<Hospital> hospitals;    // every F030 record, in file order
    std::vector<Admission> admissions;  // the F110 records of the competence, in file order
};

// One laudo of the release month in a Vorq database.
struct Laudo {
    double numaih = 0;
    double dvaih = 0;
    QString origin;    // MUNORIG
    QString admission; // MUNINTERN
    QString patient;   // PACIENTE
    QString cnes;
};

// What an import did.
struct ImportSummary {
    qint64 rowsRead = 0;
    qint64 writtenOff = 0;        // new TBBAIXA rows
    qint64 alreadyWrittenOff = 0; // found in TBMOVIM, TBBAIXA already had it
    qint64 notDistributed = 0;    // not in TBMOVIM
    qint64 unreadable = 0;        // number 0 (N_AIH not 13 digits, a laudo without one), not distributed
    qint64 hospitalsAdded = 0;
    qint64 municipalitiesRecorded = 0;
    // One line per figure, for the closing message.
    QString text() const;
    bool operator==(const ImportSummary&) const = default;
};

enum class Method { Batched, RowByRow };

// Called as the work goes, with the phase's name; returning false cancels it.
using Progress = std::function<bool(const QString& phase, qint64 done, qint64 total)>;

// "MMAA" of the competence selection: March 2016 gives "0316".
QString competenceText(int month, int year);

// --- the DOS files ---------------------------------------------------------

// The three files the import opens, looked for in `directory` in the order
// F110, F030, M01.
struct DosFiles {
    std::unique_ptr<DbaseTable> f110;
    std::unique_ptr<DbaseTable> f030;
    std::unique_ptr<DbaseTable> m01;
    DosFiles();
    ~DosFiles();
    DosFiles(DosFiles&&) noexcept;
    DosFiles& operator=(DosFiles&&) noexcept;
};
// The message of the first file that is not there, or empty when `files`
// holds all three. A file that is there but unusable throws db::DatabaseError.
QString openDosFiles(const QString& directory, DosFiles& files);

// Reads every hospital and the admissions of the competence. A value too long
// for its column throws db::DatabaseError naming the file, record and field.
DosMonth readDosMonth(DosFiles& files, const QString& competence, const Progress& progress = {});

// --- the Windows database --------------------------------------------------

// Connects the import connection to `path` (the previous one is closed) and
// returns the name of the first TABMUN row; empty when TABMUN has none.
// An unreachable path throws with a message that names it.
QString connectVorqDatabase(DataModule& dm, const QString& path, bool& hasMunicipality);
// The laudos released in the month, in the database's order. Texts too long
// for their columns throw db::DatabaseError naming the laudo.
std::vector<Laudo> readLaudos(DataModule& dm, int month, int year);

// --- writing off -----------------------------------------------------------

// Both write in one transaction on the main connection: all of it, or nothing
// (the result carries the database's error, or `cancelled`).
db::WriteResult importDos(DataModule& dm, const DosMonth& data, int year, int month, ImportSummary& summary,
                          const Progress& progress = {}, Method method = Method::Batched);
db::WriteResult importWindows(DataModule& dm, const std::vector<Laudo>& laudos, int year, int month,
                              ImportSummary& summary, const Progress& progress = {},
                              Method method = Method::Batched);

} // namespace talvera::writeoff
