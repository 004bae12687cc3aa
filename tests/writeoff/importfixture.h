#pragma once
// A data module over fresh demo databases, embedded or with the main database
// on the loopback server, with scripted message boxes; plain SQL to read back.
//
// Demo data: movement rows 271610000001-040 (Arapiraca, 2700300),
// 271650000001-045 and 271610010001-030; 271610000001-003 and 271650000001-002
// written off in 2016/2. TBHOSP has 12345678000199 and 23456789000110;
// PRESTADOR has CNES 2005417 (12345678000199), 2003538 and 2006197
// (34567890000121, "HOSPITAL GERAL DO ESTADO", not in TBHOSP).

#include "core/datamodule.h"
#include "tests/support/datadir.h"
#include "tests/support/qtprint.h"
#include "widgets/scriptedmessages.h"

#include <gtest/gtest.h>

#include <memory>

namespace talvera::test {

class WriteOffTest : public ::testing::TestWithParam<Edition> {
protected:
    DataDir dir;
    widgets::ScriptedMessagesScope messages;
    std::unique_ptr<DataModule> dm;

    void SetUp() override { dm = dataModule(dir); }

    std::unique_ptr<DataModule> dataModule(const DataDir& d) const
    {
        BuildSettings build{QStringLiteral("127.0.0.1"), d.file(QStringLiteral("TALVERA.GDB")), d.prefix()};
        auto m = std::make_unique<DataModule>(GetParam(), build, d.configFile());
        m->dbVorqwin.open();
        m->dataset(QStringLiteral("quMun")).open();
        return m;
    }

    QStringList shown() const { return messages->texts(widgets::Messages::Kind::Information); }
    QStringList errors() const { return messages->texts(widgets::Messages::Kind::Error); }
    // The informative text of the last summary box.
    QString lastSummary() const
    {
        for (auto it = messages->shown().rbegin(); it != messages->shown().rend(); ++it) {
            if (!it->informativeText.isEmpty())
                return it->informativeText;
        }
        return {};
    }

    // Every row of a select, its values joined by "|".
    static QStringList rows(db::Database& database, const QString& sql, const QVariantList& params = {})
    {
        db::Query q(database);
        q.setSql(sql);
        for (int i = 0; i < params.size(); ++i)
            q.setParam(i, params[i]);
        QStringList out;
        for (q.open(); !q.eof(); q.next()) {
            QStringList values;
            for (int c = 0; c < q.columnCount(); ++c)
                values << (q.value(c).isNull() ? QStringLiteral("<null>") : q.value(c).toString());
            out << values.join(u'|');
        }
        q.close();
        return out;
    }
    QStringList rows(const QString& sql, const QVariantList& params = {}) { return rows(dm->dbAih, sql, params); }
    QString one(const QString& sql, const QVariantList& params = {})
    {
        const QStringList r = rows(sql, params);
        return r.isEmpty() ? QStringLiteral("<nenhuma linha>") : r.first();
    }

    // The tables an import writes, whole and in a fixed order.
    static QStringList writtenTables(db::Database& database)
    {
        QStringList out;
        for (const char* sql : {"select * from TBHOSP order by CGC_HSP",
                                "select NUMERO, USADA from TBMOVIM order by NUMERO",
                                "select * from TBBAIXA order by NUMERO",
                                "select * from TBBAIXAMES order by MUNORIG, ANOPROC, MESPROC"})
            out << QString::fromLatin1(sql) << rows(database, QString::fromLatin1(sql));
        return out;
    }
    QStringList writtenTables() { return writtenTables(dm->dbAih); }

    // Runs a statement on the data module's main connection and commits it.
    void exec(const QString& sql)
    {
        db::Query q(dm->dbAih);
        q.setSql(sql);
        q.execSql();
        dm->trAih().commitRetaining();
    }
    // Runs a statement on the main database through a connection of its own.
    void execElsewhere(const QString& sql)
    {
        db::Database other;
        other.setDatabaseName(dm->dbAih.databaseName());
        other.setParam(QStringLiteral("password"), dm->dbAih.param(QStringLiteral("password")));
        db::Query q(other);
        q.setSql(sql);
        q.setParamCheck(false);
        q.execSql();
        other.close();
    }
    // Makes every insert into `table` fail with the database's own message.
    void failInsertsInto(const QString& table)
    {
        execElsewhere(QStringLiteral("create exception E_TESTE 'falha provocada pelo teste'"));
        execElsewhere(QStringLiteral("create trigger T_FALHA for %1 before insert as begin exception E_TESTE; end")
                          .arg(table));
    }
};

inline std::string editionName(const ::testing::TestParamInfo<Edition>& info)
{
    return info.param == Edition::State ? "Server" : "Embedded";
}

} // namespace talvera::test
