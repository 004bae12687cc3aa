#pragma once
// The installation's configuration: CONFIGBD.TXT names the data directory, and
// the build fixes the edition and the state server's database.

#include <QString>

namespace talvera {

enum class Edition { State = 0, Municipal = 1 };

struct BuildSettings {
    QString stateServer;    // address of the state database server
    QString stateDatabase;  // path of the main database on that server
    QString builtinDir;     // directory of the names that hold until the first connection
    static BuildSettings fromBuild(); // the values this program was built with
};

// Reads the first line of the configuration file, without blanks at both ends.
// It is used as a plain prefix of file names. Throws DatabaseError (with the
// file's name) when the file is missing or unreadable or its first line is empty.
QString readDataDirectory(const QString& configFile);

// The settings the first connection leaves for the rest of the run. Each starts
// with its design text, which it keeps when the first connection fails.
struct RunSettings {
    QString pvez = QStringLiteral("lbPvez");     // "1" once the first connection ran
    QString aih = QStringLiteral("lbAih");       // connection string of the main database
    QString aih10 = QStringLiteral("lbAih10");   // connection string of the archive
    QString senha1 = QStringLiteral("lbSenha1"); // password of the main database
    QString senha2 = QStringLiteral("lbSenha2"); // password of the archive
    QString pref = QStringLiteral("Prefeitura"); // name of the installation's municipality
    QString edPref = QStringLiteral("edPref");   // its code
    QString user;                                // code typed at a successful login
};

inline constexpr const char* kMunicipalPassword = "plomvadre";
inline constexpr const char* kStatePassword = "qzrw47tb";
inline constexpr const char* kProgramVersion = "v.2016.01.1";

} // namespace talvera
