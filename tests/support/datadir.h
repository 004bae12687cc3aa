#pragma once
// A temporary data directory holding fresh copies of the four databases and a
// CONFIGBD.TXT naming it. The databases are created once per test run and
// copied for every test, so each test owns its files.

#include <QString>
#include <QTemporaryDir>

namespace talvera::test {

class DataDir {
public:
    enum class Content { Empty, Demo };
    explicit DataDir(Content content = Content::Demo);

    // The directory with its trailing separator, as CONFIGBD.TXT holds it.
    QString prefix() const;
    QString file(const QString& name) const { return prefix() + name; }
    QString configFile() const { return file(QStringLiteral("CONFIGBD.TXT")); }
    // Rewrites CONFIGBD.TXT with the given first line.
    void writeConfig(const QString& firstLine) const;

private:
    QTemporaryDir dir_;
};

} // namespace talvera::test
