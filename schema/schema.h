#pragma once
// Creating the program's databases: the schema of each file and the demo data.

#include <QString>
#include <QStringList>

namespace talvera::db {
class Database;
}

namespace talvera::schema {

enum class Kind { Main, Parameter, Vorq };

// Splits a script into statements at ";" outside literals and comments.
QStringList statements(const QString& script);
// Runs every statement of a script and commits.
void runScript(db::Database& db, const QString& script);
QString script(Kind kind);

// Creates one empty database file with its tables. Fails if the file exists.
void createDatabase(const QString& path, Kind kind, bool forcedWrites = true);

// Creates TALVERA.GDB, TALVERA10.GDB, PELDRO.GDB and VORQ.GDB in `dir` and a
// CONFIGBD.TXT naming the directory. Existing files are left alone unless
// `overwrite`; with `demo` the files get the demo installation's data.
struct DataDirectoryOptions {
    bool overwrite = false;
    bool demo = true;
    bool forcedWrites = true; // off only for scratch files of tests and benchmarks
};
void createDataDirectory(const QString& dir, const DataDirectoryOptions& options = {});

// The demo installation's municipality (Arapiraca).
inline constexpr const char* kDemoMunicipality = "2700300";

} // namespace talvera::schema
