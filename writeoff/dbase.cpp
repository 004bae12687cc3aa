#include "writeoff/dbase.h"

#include "core/firebird.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <shapefil.h>

#include <cstdio>

namespace talvera::writeoff {

namespace {

// shapelib reaches files and reports errors through plain function hooks; the
// table being opened is what they refer to.
struct OpenContext {
    QString dbf;
    QString error;
};
thread_local OpenContext* opening = nullptr;

QString sibling(const QString& path, const QString& extension)
{
    const QFileInfo info(path);
    return findFile(info.absolutePath(), info.completeBaseName() + u'.' + extension);
}

SAFile openHook(const char* filename, const char* access)
{
    if (!opening)
        return nullptr;
    // shapelib builds "<base>.dbf", "<base>.DBF" and "<base>.cpg"; the real
    // names may differ in case, so the already resolved file is used instead.
    const QString requested = QFile::decodeName(filename);
    QString target;
    if (requested.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive))
        target = opening->dbf;
    else if (requested.endsWith(QLatin1String(".cpg"), Qt::CaseInsensitive))
        target = sibling(opening->dbf, QStringLiteral("cpg"));
    if (target.isEmpty())
        return nullptr;
    return reinterpret_cast<SAFile>(std::fopen(QFile::encodeName(target).constData(), access));
}

void errorHook(const char* message)
{
    if (opening && opening->error.isEmpty())
        opening->error = QString::fromLocal8Bit(message).trimmed();
}

bool knownVersion(unsigned char b)
{
    switch (b) {
    case 0x02: case 0x03: case 0x04: case 0x05: case 0x30: case 0x31: case 0x32: case 0x43: case 0x63:
    case 0x83: case 0x8B: case 0x8E: case 0xCB: case 0xF5: case 0xFB:
        return true;
    default:
        return false;
    }
}

DBFHandle dbf(void* handle)
{
    return static_cast<DBFHandle>(handle);
}

[[noreturn]] void refuse(const QString& text)
{
    throw db::DatabaseError(text);
}

} // namespace

QString findFile(const QString& directory, const QString& name)
{
    if (directory.isEmpty())
        return {};
    const QDir dir(directory);
    const QFileInfo exact(dir.filePath(name));
    if (exact.isFile())
        return exact.filePath();
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().compare(name, Qt::CaseInsensitive) == 0)
            return entry.filePath();
    }
    return {};
}

DbaseTable::DbaseTable(const QString& path, const QString& label, std::initializer_list<DeclaredField> fields)
    : label_(label)
{
    const QString unreadable = QStringLiteral("O arquivo %1 não é uma tabela dBASE legível").arg(label);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        refuse(unreadable + QStringLiteral(": ") + file.errorString());
    const QByteArray first = file.read(1);
    const qint64 size = file.size();
    file.close();
    if (first.size() != 1 || !knownVersion(static_cast<unsigned char>(first[0])))
        refuse(unreadable + u'.');

    OpenContext context{path, {}};
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.FOpen = openHook;
    hooks.Error = errorHook;
    opening = &context;
    DBFHandle h = DBFOpenLL(QFile::encodeName(path).constData(), "rb", &hooks);
    opening = nullptr;
    handle_ = h;
    if (!h)
        refuse(context.error.isEmpty() ? unreadable + u'.' : unreadable + QStringLiteral(": ") + context.error);

    // Every record the header announces must be in the file.
    const qint64 needed = static_cast<qint64>(h->nHeaderLength)
                          + static_cast<qint64>(h->nRecords) * h->nRecordLength;
    if (h->nRecords < 0 || h->nRecordLength < 1 || size < needed) {
        const qint64 present = h->nRecordLength > 0
                                   ? std::max<qint64>(0, (size - h->nHeaderLength) / h->nRecordLength)
                                   : 0;
        const QString text = QStringLiteral("O arquivo %1 está incompleto: o cabeçalho anuncia %2 registros e o "
                                            "arquivo só tem %3")
                                 .arg(label)
                                 .arg(h->nRecords)
                                 .arg(present);
        DBFClose(h);
        handle_ = nullptr;
        refuse(text);
    }

    for (const DeclaredField& f : fields) {
        const int index = DBFGetFieldIndex(h, f.name);
        const QString name = QString::fromLatin1(f.name);
        if (index < 0) {
            DBFClose(h);
            handle_ = nullptr;
            refuse(QStringLiteral("O arquivo %1 não tem o campo %2").arg(label, name));
        }
        const char type = DBFGetNativeFieldType(h, index);
        const bool typeOk = type == f.type || (f.type == 'N' && type == 'F');
        if (!typeOk) {
            DBFClose(h);
            handle_ = nullptr;
            refuse(QStringLiteral("O campo %2 do arquivo %1 não é do tipo esperado").arg(label, name));
        }
        offsets_.push_back(h->panFieldOffset[index]);
        sizes_.push_back(h->panFieldSize[index]);
    }
    codePage_ = codePageFromMark(QString::fromLatin1(DBFGetCodePage(h)));
}

DbaseTable::~DbaseTable()
{
    if (handle_)
        DBFClose(dbf(handle_));
}

int DbaseTable::recordCount() const
{
    return dbf(handle_)->nRecords;
}

bool DbaseTable::read(int record)
{
    OpenContext context;
    opening = &context;
    record_ = DBFReadTuple(dbf(handle_), record);
    opening = nullptr;
    if (!record_)
        refuse(QStringLiteral("O registro %1 do arquivo %2 não pôde ser lido%3")
                   .arg(record + 1)
                   .arg(label_, context.error.isEmpty() ? QString() : QStringLiteral(": ") + context.error));
    return record_[0] != '*';
}

QString DbaseTable::text(int field) const
{
    const auto i = static_cast<size_t>(field);
    return decodeField(QByteArrayView(record_ + offsets_[i], sizes_[i]), codePage_);
}

bool DbaseTable::holds(int field, QByteArrayView bytes) const
{
    const auto i = static_cast<size_t>(field);
    QByteArrayView value(record_ + offsets_[i], sizes_[i]);
    while (!value.isEmpty() && (value.back() == ' ' || value.back() == '\0'))
        value.chop(1);
    return value == bytes;
}

} // namespace talvera::writeoff
