#include "tests/support/datadir.h"

#include "schema/schema.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <map>
#include <memory>
#include <stdexcept>

namespace talvera::test {

namespace {

// Templates live in the build tree, keyed by a hash of the schema and demo
// sources, so the many test processes of one run share them.
QString templateDir(DataDir::Content content)
{
    static std::map<DataDir::Content, QString> paths;
    auto found = paths.find(content);
    if (found != paths.end())
        return found->second;
    const QString name = content == DataDir::Content::Demo ? QStringLiteral("demo") : QStringLiteral("empty");
    const QString root = QStringLiteral(TALVERA_TEST_TEMPLATES) + u'/' + name;
    if (!QFile::exists(root + QStringLiteral("/CONFIGBD.TXT"))) {
        QDir().mkpath(QStringLiteral(TALVERA_TEST_TEMPLATES));
        QTemporaryDir work(QStringLiteral(TALVERA_TEST_TEMPLATES) + u'/' + name + QStringLiteral("-XXXXXX"));
        if (!work.isValid())
            throw std::runtime_error("cannot create a temporary directory");
        schema::DataDirectoryOptions options;
        options.demo = content == DataDir::Content::Demo;
        options.forcedWrites = false;
        schema::createDataDirectory(work.path(), options);
        // Another process may have won the race; its copy is as good as ours.
        if (QDir().rename(work.path(), root))
            work.setAutoRemove(false);
    }
    paths[content] = root;
    return root;
}

} // namespace

DataDir::DataDir(Content content)
{
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary directory");
    const QString from = templateDir(content);
    for (const char* name : {"TALVERA.GDB", "TALVERA10.GDB", "PELDRO.GDB", "VORQ.GDB"}) {
        if (!QFile::copy(from + u'/' + QLatin1String(name), file(QLatin1String(name))))
            throw std::runtime_error("cannot copy a template database");
        QFile(file(QLatin1String(name))).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    writeConfig(prefix());
}

QString DataDir::prefix() const
{
    return QDir(dir_.path()).absolutePath() + u'/';
}

void DataDir::writeConfig(const QString& firstLine) const
{
    QFile f(configFile());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        throw std::runtime_error("cannot write CONFIGBD.TXT");
    QTextStream(&f) << firstLine << '\n';
}

} // namespace talvera::test
