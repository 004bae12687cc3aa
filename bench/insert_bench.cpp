// Single-row inserts of movement rows in one transaction, embedded: through the
// project's query class against the same inserts through the bare Firebird API.
#include "bench/benchutil.h"
#include "core/firebird.h"
#include "core/numbers.h"

#include <firebird/Interface.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace talvera::bench {

namespace {

constexpr int kRows = 100000;
constexpr qint64 kFirst = 271610000000;
const char* const kInsert =
    "insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, USADA) "
    "values (?, ?, ?, ?, ?, ?, ?, ?)";

} // namespace

void addMunicipality(const QString& path)
{
    db::Database database;
    database.setDatabaseName(path);
    db::Query q(database);
    q.setSql(QStringLiteral("insert into MUN (CODMUN, NOME) values ('2700300', 'Arapiraca')"));
    q.execSql();
    database.close();
}

namespace {

double projectInserts(const QString& path)
{
    db::Database database;
    database.setDatabaseName(path);
    database.open();
    db::Query q(database);
    q.setSql(QStringLiteral("insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, USADA) "
                            "values (:ref, :ano, :mes, :orig, :tipo, :num, :dv, :usada)"));
    database.transaction().start();
    const QString mun = QStringLiteral("2700300");
    const QString tipo = QStringLiteral("E");
    const QString usada = QStringLiteral("N");
    const double elapsed = seconds([&] {
        for (int i = 0; i < kRows; ++i) {
            const qint64 n = kFirst + i;
            q.setParam(0, mun);
            q.setParam(1, 2016);
            q.setParam(2, 1);
            q.setParam(3, mun);
            q.setParam(4, tipo);
            q.setParam(5, n);
            q.setParam(6, numbers::checkDigit(n));
            q.setParam(7, usada);
            q.prepare();
            q.execSql();
        }
        database.transaction().commit();
    });
    database.close();
    return elapsed;
}

} // namespace

// The same inserts written straight into the statement's own input message.
double bareInserts(const QString& path, int rows)
{
    using namespace Firebird;
    IMaster* master = fb_get_master_interface();
    ThrowStatusWrapper status(master->getStatus());
    IXpbBuilder* dpb = master->getUtilInterface()->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(&status, isc_dpb_user_name, "SYSDBA");
    dpb->insertString(&status, isc_dpb_lc_ctype, "UTF8");
    const QByteArray file = path.toUtf8();
    IAttachment* att = master->getDispatcher()->attachDatabase(&status, file.constData(),
                                                               dpb->getBufferLength(&status),
                                                               dpb->getBuffer(&status));
    dpb->dispose();
    ITransaction* tra = att->startTransaction(&status, 0, nullptr);
    IStatement* stmt = att->prepare(&status, tra, 0, kInsert, SQL_DIALECT_V6, 0);
    IMessageMetadata* meta = stmt->getInputMetadata(&status);
    std::vector<unsigned char> buffer(meta->getMessageLength(&status));
    unsigned offset[8];
    unsigned nulls[8];
    for (unsigned i = 0; i < 8; ++i) {
        offset[i] = meta->getOffset(&status, i);
        nulls[i] = meta->getNullOffset(&status, i);
    }
    auto text = [&](unsigned i, const char* s) {
        const auto len = static_cast<unsigned short>(std::strlen(s));
        std::memcpy(buffer.data() + offset[i], &len, sizeof(len));
        std::memcpy(buffer.data() + offset[i] + sizeof(len), s, len);
        *reinterpret_cast<short*>(buffer.data() + nulls[i]) = 0;
    };
    auto small = [&](unsigned i, short v) {
        std::memcpy(buffer.data() + offset[i], &v, sizeof(v));
        *reinterpret_cast<short*>(buffer.data() + nulls[i]) = 0;
    };
    const double elapsed = seconds([&] {
        for (int i = 0; i < rows; ++i) {
            const ISC_INT64 n = kFirst + i;
            text(0, "2700300");
            small(1, 2016);
            small(2, 1);
            text(3, "2700300");
            text(4, "E");
            std::memcpy(buffer.data() + offset[5], &n, sizeof(n));
            *reinterpret_cast<short*>(buffer.data() + nulls[5]) = 0;
            small(6, static_cast<short>(numbers::checkDigit(static_cast<qint64>(n))));
            text(7, "N");
            stmt->execute(&status, tra, meta, buffer.data(), nullptr, nullptr);
        }
        tra->commit(&status);
    });
    meta->release();
    stmt->free(&status);
    att->detach(&status);
    status.dispose();
    return elapsed;
}

void insertGroup()
{
    // Two rounds each, alternating, keeping the best: the first round warms caches.
    double project = 1e9;
    double bare = 1e9;
    for (int round = 0; round < 2; ++round) {
        Scratch a;
        addMunicipality(a.file(QStringLiteral("TALVERA.GDB")));
        bare = std::min(bare, bareInserts(a.file(QStringLiteral("TALVERA.GDB")), kRows));
        Scratch b;
        addMunicipality(b.file(QStringLiteral("TALVERA.GDB")));
        project = std::min(project, projectInserts(b.file(QStringLiteral("TALVERA.GDB"))));
    }
    report(QStringLiteral("insert rows"), kRows, 0);
    report(QStringLiteral("insert bare rows/s"), kRows / bare, 0);
    report(QStringLiteral("insert project rows/s"), kRows / project, 0);
    report(QStringLiteral("insert ratio"), bare / project, 3);
}

} // namespace talvera::bench
