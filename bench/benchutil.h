#pragma once
// Helpers shared by the benchmark groups.

#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <functional>

namespace talvera::bench {

// Prints one figure as "name: value".
void report(const QString& name, double value, int decimals = 2);
void report(const QString& name, const QString& value);

// Wall-clock seconds taken by f.
double seconds(const std::function<void()>& f);

// A temporary directory holding a fresh, empty set of databases.
class Scratch {
public:
    Scratch();
    QString file(const QString& name) const;

private:
    QTemporaryDir dir_;
};

} // namespace talvera::bench
