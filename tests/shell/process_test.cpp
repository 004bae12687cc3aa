// The real executable, as a user runs it: on its own X server, answered with
// real key presses, ended by a session logout's signals and by losing the
// display. What an in-process test cannot see (a window that never closes, a
// process that lingers, a crash in exit) is what these look for.
#include "core/firebird.h"
#include "tests/support/datadir.h"
#include "tests/support/qtprint.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using talvera::test::DataDir;

namespace {

// A private X server for one test, on a display number it chooses itself.
class XServer {
public:
    XServer()
    {
        for (int number = 90; number < 190 && display_.isEmpty(); ++number) {
            // Skip what another server holds or left behind after a kill.
            if (QFile::exists(lockFile(number)) || QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
                continue;
            if (startOn(number))
                display_ = QStringLiteral(":%1").arg(number);
        }
    }
    ~XServer() { stop(); }
    void stop()
    {
        // SIGTERM, so the server removes its lock file and socket.
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000)) {
                process_.kill();
                process_.waitForFinished(5000);
            }
        }
    }
    const QString& display() const { return display_; }

private:
    static QString lockFile(int number) { return QStringLiteral("/tmp/.X%1-lock").arg(number); }

    // True once the server on that number is ours (its lock file names it:
    // two tests may race for one number) and answers a client.
    bool startOn(int number)
    {
        process_.setProgram(QStringLiteral("Xvfb"));
        process_.setArguments({QStringLiteral(":%1").arg(number), QStringLiteral("-screen"), QStringLiteral("0"),
                               QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                               QStringLiteral("-noreset")});
        // Its chatter would fill a pipe nobody reads, and stall it.
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.start();
        if (!process_.waitForStarted(5000))
            return false;
        const QString display = QStringLiteral(":%1").arg(number);
        for (int i = 0; i < 100 && process_.state() == QProcess::Running; ++i) {
            QFile lock(lockFile(number));
            const bool ours =
                lock.open(QIODevice::ReadOnly) && lock.readAll().trimmed().toLongLong() == process_.processId();
            if (ours && answers(display))
                return true;
            QThread::msleep(50);
        }
        stop();
        return false;
    }

    static bool answers(const QString& display)
    {
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")});
        return probe.waitForFinished(5000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
    }

    QProcess process_;
    QString display_;
};

class ProgramTest : public ::testing::Test {
protected:
    DataDir dir;
    XServer x;
    QProcess program;

    void SetUp() override { ASSERT_FALSE(x.display().isEmpty()) << "Xvfb did not start"; }
    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("DISPLAY"), x.display());
        return env;
    }

    void start(const char* executable)
    {
        program.setProcessEnvironment(environment());
        program.setWorkingDirectory(dir.prefix());
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QString::fromLatin1(executable), {});
        ASSERT_TRUE(program.waitForStarted(5000));
    }

    // xdotool on the test's display; its standard output.
    QString xdotool(const QStringList& arguments)
    {
        QProcess tool;
        tool.setProcessEnvironment(environment());
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished(10000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

    // The id of the first window whose whole title is `title`, waiting for it.
    QString window(const QString& title, int timeoutMs = 15000)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            const QString ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                         QStringLiteral("--name"), QStringLiteral("^%1$").arg(title)});
            if (!ids.isEmpty())
                return ids.split(u'\n').first();
            if (program.state() == QProcess::NotRunning)
                break;
            QThread::msleep(100);
        }
        return {};
    }

    // Types into the window that has the focus, as a person at the keyboard.
    void keys(const QString& windowId, const QStringList& sequence)
    {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), windowId});
        for (const QString& step : sequence) {
            if (step.startsWith(u'+'))
                xdotool({QStringLiteral("key"), step.mid(1)});
            else
                xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), step});
        }
    }

    // Milliseconds until the program ended, or -1 when it is still running.
    qint64 msUntilEnd(int limitMs)
    {
        QElapsedTimer clock;
        clock.start();
        return program.waitForFinished(limitMs) ? clock.elapsed() : -1;
    }

    // The program let go of its files: another embedded engine can open them at once.
    void expectFilesReleased()
    {
        for (const char* file : {"VORQ.GDB", "PELDRO.GDB", "TALVERA.GDB"}) {
            talvera::db::Database d;
            d.setDatabaseName(dir.file(QString::fromLatin1(file)));
            EXPECT_NO_THROW(d.open()) << file;
            d.close();
        }
    }

    void runOnFile(const char* file, const char* sql)
    {
        talvera::db::Database d;
        d.setDatabaseName(dir.file(QString::fromLatin1(file)));
        talvera::db::Query q(d);
        q.setSql(QString::fromUtf8(sql));
        q.execSql();
        d.close();
    }
};

TEST_F(ProgramTest, AStartUpCheckEndsTheProgramRightAfterItsMessage)
{
    runOnFile("VORQ.GDB", "update TABMUN set CODMUN = '2704302', NOME = 'Maceió'");
    start(TALVERA_MUNICIPAL_EXE);
    const QString box = window(QStringLiteral("Distribuição"));
    ASSERT_FALSE(box.isEmpty()) << "the message box never appeared";
    keys(box, {QStringLiteral("+Return")});
    const qint64 ms = msUntilEnd(5000);
    ASSERT_GE(ms, 0) << "the program did not end after the message";
    EXPECT_LE(ms, 1000);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    expectFilesReleased();
}

TEST_F(ProgramTest, TheOutOfDateVersionEndsTheProgramAfterLogin)
{
    runOnFile("TALVERA.GDB", "update PARAMETRO set VERSAO = 'v.2015.01.1'");
    start(TALVERA_MUNICIPAL_EXE);
    const QString main = window(QStringLiteral("Menu Principal"));
    ASSERT_FALSE(main.isEmpty());
    // Titles carry the caption alone.
    EXPECT_TRUE(window(QStringLiteral("Menu Principal — Distribuição"), 300).isEmpty());
    keys(main, {QStringLiteral("operador"), QStringLiteral("+Tab"), QStringLiteral("talvera"), QStringLiteral("+Tab"),
                QStringLiteral("+space")});
    const QString box = window(QStringLiteral("Distribuição"));
    ASSERT_FALSE(box.isEmpty());
    keys(box, {QStringLiteral("+Return")});
    const qint64 ms = msUntilEnd(5000);
    ASSERT_GE(ms, 0);
    EXPECT_LE(ms, 1000);
    EXPECT_EQ(program.exitCode(), 0);
    expectFilesReleased();
}

TEST_F(ProgramTest, LogoutSignalsEndTheProgramAsSairDoes)
{
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        start(TALVERA_MUNICIPAL_EXE);
        const QString main = window(QStringLiteral("Menu Principal"));
        ASSERT_FALSE(main.isEmpty()) << "state " << program.state() << " exit " << program.exitCode() << " windows "
                                     << xdotool({"search", "--name", "."}).toStdString();
        keys(main, {QStringLiteral("operador"), QStringLiteral("+Tab"), QStringLiteral("talvera"),
                    QStringLiteral("+Tab"), QStringLiteral("+space")});
        QThread::msleep(300);
        ::kill(static_cast<pid_t>(program.processId()), signal);
        const qint64 ms = msUntilEnd(5000);
        ASSERT_GE(ms, 0) << "still running 5 s after the signal";
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        expectFilesReleased();
    }
}

TEST_F(ProgramTest, LosingTheDisplayEndsTheProgramWithoutACrash)
{
    start(TALVERA_MUNICIPAL_EXE);
    ASSERT_FALSE(window(QStringLiteral("Menu Principal")).isEmpty());
    x.stop();
    const qint64 ms = msUntilEnd(5000);
    ASSERT_GE(ms, 0) << "still running 5 s after the display went away";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "crashed";
    expectFilesReleased();
}

} // namespace
