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

const QString& templateDir(DataDir::Content content)
{
    static std::map<DataDir::Content, std::unique_ptr<QTemporaryDir>> made;
    static std::map<DataDir::Content, QString> paths;
    auto& dir = made[content];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        if (!dir->isValid())
            throw std::runtime_error("cannot create a temporary directory");
        schema::DataDirectoryOptions options;
        options.demo = content == DataDir::Content::Demo;
        schema::createDataDirectory(dir->path(), options);
        paths[content] = dir->path();
    }
    return paths[content];
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
