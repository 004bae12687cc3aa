#pragma once
// The statements of the write-off consultations, the rebuild of the table of
// municipalities without write-offs, and the writes of a municipal
// installation's parameters and monthly clean-up: plain functions, testable
// without a window.

#include "core/firebird.h"
#include "writeoff/vorqimport.h"

#include <QString>
#include <QVariantList>

#include <optional>

namespace talvera {
class DataModule;
}

namespace talvera::writeoff {

using db::Statement;

// The filters of "Pesquisar", each present only when its box is ticked.
struct WriteOffFilter {
    std::optional<double> number; // the 12-digit base, without check digit
    std::optional<QString> municipality; // of care (MUNATEN)
    std::optional<int> year;             // processing year
    std::optional<int> month;            // processing month
    std::optional<QString> patient;      // contained in NOMEPAC
};
// Write-offs of processing years after 2005, ordered by processing month,
// municipality of care and number.
Statement writeOffSearch(const WriteOffFilter& filter);

// Empties TBNBAIXAMES and fills it with every municipality of MUN that has
// no TBBAIXAMES row for the processing month, in one transaction.
db::WriteResult rebuildWithoutWriteOffs(DataModule& dm, int year, int month, const Progress& progress = {});

// The parameter database's TABMUN becomes the one municipality given.
db::WriteResult generateParameter(DataModule& dm, const QString& code, const QString& name);
// Vorq's laudos are deleted and its TABMUN becomes the municipality given.
db::WriteResult generateVorqParameter(DataModule& dm, const QString& code, const QString& name);

// The turn of the month in Vorq's database: every laudo deleted, PARAME set
// to the competence month and TABMUN to the installation's municipality,
// each written only when it differs. One transaction.
struct CleanUp {
    int month = 0;
    int year = 0;
    QString code; // the installation's municipality
    QString name;
};
db::WriteResult cleanUpMonth(DataModule& dm, const CleanUp& cleanUp);

} // namespace talvera::writeoff
