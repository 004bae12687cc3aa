#pragma once
// Helpers shared by the benchmark groups.

#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <functional>

namespace talvera::db {
class Query;
}

namespace talvera::bench {

// Prints one figure as "name: value".
void report(const QString& name, double value, int decimals = 2);
void report(const QString& name, const QString& value);

// Wall-clock seconds taken by f.
double seconds(const std::function<void()>& f);

// Adds the municipality the generated movement rows refer to.
void addMunicipality(const QString& path);
// Adds the four municipalities the generated rows of the larger benchmarks
// refer to, on the query's connection.
void addFourMunicipalities(db::Query& query);
// Seconds for `rows` single-row movement inserts through the bare Firebird API,
// embedded, in one transaction.
double bareInserts(const QString& path, int rows);

// Starts the loopback Firebird server the way the tests do; stops it again
// when the object goes, if it was not running before.
class LoopbackServer {
public:
    LoopbackServer();
    ~LoopbackServer();

private:
    bool started_ = false;
};

// Peak resident memory of this process in MiB, and a reset of that peak.
double peakMemoryMiB();
void resetPeakMemory();

// A temporary directory holding a fresh, empty set of databases.
class Scratch {
public:
    Scratch();
    QString file(const QString& name) const;
    QString prefix() const { return dir_.path() + u'/'; }

private:
    QTemporaryDir dir_;
};

} // namespace talvera::bench
