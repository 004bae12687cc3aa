#include "bench/benchutil.h"

#include "schema/schema.h"

#include <QTextStream>

#include <cstdio>

namespace talvera::bench {

void report(const QString& name, double value, int decimals)
{
    report(name, QString::number(value, 'f', decimals));
}

void report(const QString& name, const QString& value)
{
    std::printf("%s: %s\n", name.toUtf8().constData(), value.toUtf8().constData());
    std::fflush(stdout);
}

double seconds(const std::function<void()>& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

Scratch::Scratch()
{
    schema::DataDirectoryOptions options;
    options.demo = false;
    options.forcedWrites = false;
    schema::createDataDirectory(dir_.path(), options);
}

QString Scratch::file(const QString& name) const
{
    return dir_.path() + u'/' + name;
}

} // namespace talvera::bench
