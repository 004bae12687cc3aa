#include "bench/benchutil.h"

#include "core/firebird.h"
#include "schema/schema.h"

#include <QFile>
#include <QProcess>
#include <QTextStream>

#include <stdexcept>

#include <cstdio>

#include <unistd.h>

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

void addFourMunicipalities(db::Query& query)
{
    query.setSql(QStringLiteral(
        "insert into MUN (CODMUN, NOME) select '2700300', 'Arapiraca' from rdb$database union all "
        "select '2704302', 'Maceió' from rdb$database union all "
        "select '2701407', 'Campo Alegre' from rdb$database union all "
        "select '2706307', 'Palmeira dos Índios' from rdb$database"));
    query.execSql();
}

double seconds(const std::function<void()>& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

namespace {
int serverScript(const QString& action)
{
    QProcess script;
    script.setStandardOutputFile(QProcess::nullDevice());
    script.setStandardErrorFile(QProcess::nullDevice());
    script.start(QStringLiteral(TALVERA_SOURCE_DIR "/scripts/firebird-server.sh"), {action});
    script.waitForFinished(120000);
    return script.exitStatus() == QProcess::NormalExit ? script.exitCode() : -1;
}
} // namespace

// The script counts this process as a user of the server, so a test run that
// ends meanwhile leaves it running.
LoopbackServer::LoopbackServer()
{
    if (serverScript(QStringLiteral("start")) != 0)
        throw std::runtime_error("the loopback Firebird server did not start");
    started_ = true;
}

LoopbackServer::~LoopbackServer()
{
    if (started_)
        serverScript(QStringLiteral("stop"));
}

double peakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

void resetPeakMemory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

Scratch::Scratch()
{
    schema::DataDirectoryOptions options;
    options.demo = false;
    options.forcedWrites = false;
    schema::createDataDirectory(dir_.path(), options);
    // Start every measurement with the earlier runs' dirty pages on disk, so
    // one run does not pay for the writeback of another.
    ::sync();
}

QString Scratch::file(const QString& name) const
{
    return dir_.path() + u'/' + name;
}

} // namespace talvera::bench
