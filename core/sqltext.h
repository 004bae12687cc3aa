#pragma once
// Positional parameters: every ":name" outside string literals, quoted
// identifiers and comments becomes "?"; the n-th one is parameter n.

#include <QString>
#include <QStringList>

namespace talvera::db {

struct PositionalSql {
    QString text;            // the statement with "?" in place of each ":name"
    QStringList parameters;  // the names, in order of appearance (repeats kept)
};

PositionalSql toPositional(const QString& sql);

} // namespace talvera::db
