#include "core/firebird.h"
#include "tests/support/datadir.h"
#include "tests/support/qtprint.h"

#include <gtest/gtest.h>

using namespace talvera;
using talvera::test::DataDir;

namespace {

class FirebirdTest : public ::testing::Test {
protected:
    DataDir dir{DataDir::Content::Empty};
    db::Database main{"dbAih"};

    void SetUp() override
    {
        main.setDatabaseName(dir.file("TALVERA.GDB"));
        main.open();
    }

    // A second, independent connection sees only committed work.
    int countFromOutside(const QString& sql)
    {
        db::Database other;
        other.setDatabaseName(dir.file("TALVERA.GDB"));
        db::Query q(other);
        q.setSql(sql);
        q.open();
        const int n = q.value(0).toInt();
        other.close();
        return n;
    }

    void exec(const QString& sql)
    {
        db::Query q(main);
        q.setSql(sql);
        q.execSql();
    }
};

} // namespace

TEST_F(FirebirdTest, EmptyResultIsEndOfDataRightAfterOpen)
{
    db::Query q(main);
    q.setSql("select CODMUN from MUN where CODMUN = :p1");
    q.setParam(0, "9999999");
    q.open();
    EXPECT_TRUE(q.isOpen());
    EXPECT_TRUE(q.eof());
}

TEST_F(FirebirdTest, PositionalParametersAndTypes)
{
    exec("insert into MUN (CODMUN, NOME) values ('2700300', 'Arapiraca')");
    db::Query ins(main);
    // The same name twice is two parameters; a ":word" inside a literal is text.
    ins.addLine("insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, USADA)");
    ins.addLine("values (:p1, :ano, :mes, :p1, ':', :num, :dv, :usada)");
    ins.setParam(0, "2700300");
    ins.setParam(1, 2016);
    ins.setParam(2, "3");                 // text coerced to smallint
    ins.setParam(3, "2700300");
    ins.setParam(4, 271610000001.0);      // 64-bit numbers arrive as doubles too
    ins.setParam(5, qint64(5));
    ins.setParam(6, QVariant());          // null
    ins.execSql();

    db::Query sel(main);
    sel.setSql("select MUNREF, MUNORIG, ANOCOMP, MESCOMP, TIPO, NUMERO, DV, USADA from TBMOVIM");
    sel.open();
    ASSERT_FALSE(sel.eof());
    EXPECT_EQ(sel.value("MUNORIG").toString(), "2700300");
    EXPECT_EQ(sel.value("MESCOMP").toInt(), 3);
    EXPECT_EQ(sel.value("TIPO").toString(), ":");
    EXPECT_EQ(sel.value("NUMERO").toLongLong(), 271610000001LL);
    EXPECT_TRUE(sel.value("USADA").isNull());
    sel.next();
    EXPECT_TRUE(sel.eof());

    // Empty text into a numeric parameter is null, not an error.
    db::Query upd(main);
    upd.setSql("update TBMOVIM set DV = coalesce(:dv, 7)");
    upd.setParam(0, "");
    upd.execSql();
    sel.open();
    EXPECT_EQ(sel.value("DV").toInt(), 7);
}

TEST_F(FirebirdTest, PrepareIsReusedWhileTheTextIsUnchanged)
{
    db::Query q(main);
    q.setSql("insert into TBETIQ (NUMERO, DV) values (:n, :d)");
    for (qint64 n = 1; n <= 50; ++n) {
        q.setParam(0, n);
        q.setParam(1, static_cast<int>(n % 10));
        q.prepare();
        q.execSql();
    }
    EXPECT_TRUE(q.prepared());
    db::Query c(main);
    c.setSql("select count(*), sum(NUMERO) from TBETIQ");
    c.open();
    EXPECT_EQ(c.value(0).toInt(), 50);
    EXPECT_EQ(c.value(1).toLongLong(), 1275);
}

TEST_F(FirebirdTest, AccentsRoundTripThroughTextColumns)
{
    const QString name = QStringLiteral("AIH´s São João d'Ávila çãõ");
    db::Query q(main);
    q.setSql("insert into TBHOSP (CGC_HSP, NOM_HSP) values (:c, :n)");
    q.setParam(0, "1");
    q.setParam(1, name);
    q.execSql();
    q.setSql("select NOM_HSP from TBHOSP where NOM_HSP = :n");
    q.setParam(0, name);
    q.open();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.value(0).toString(), name);
}

TEST_F(FirebirdTest, CommitAndRollbackRetaining)
{
    db::Transaction& tr = main.transaction();
    tr.start();
    exec("insert into TBETIQ (NUMERO, DV) values (1, 1)");
    EXPECT_EQ(countFromOutside("select count(*) from TBETIQ"), 0);
    tr.commitRetaining();
    EXPECT_TRUE(tr.active());
    EXPECT_EQ(countFromOutside("select count(*) from TBETIQ"), 1);

    exec("insert into TBETIQ (NUMERO, DV) values (2, 2)");
    tr.rollbackRetaining();
    EXPECT_TRUE(tr.active());
    db::Query q(main);
    q.setSql("select count(*) from TBETIQ");
    q.open();
    EXPECT_EQ(q.value(0).toInt(), 1);
}

TEST_F(FirebirdTest, CloseCommitsPendingWork)
{
    main.transaction().start();
    exec("insert into TBETIQ (NUMERO, DV) values (3, 3)");
    main.close();
    EXPECT_FALSE(main.connected());
    EXPECT_EQ(countFromOutside("select count(*) from TBETIQ"), 1);
}

TEST_F(FirebirdTest, FailingWriteRollsBackEverythingPendingAndReports)
{
    db::Transaction& tr = main.transaction();
    tr.start();
    exec("insert into TBETIQ (NUMERO, DV) values (10, 0)"); // pending, never committed on its own
    const db::WriteResult result = db::guardedWrite(tr, [&] {
        exec("insert into TBHOSP (CGC_HSP, NOM_HSP) values ('1', 'a')");
        exec("insert into TBHOSP (CGC_HSP, NOM_HSP) values ('1', 'b')"); // PK_HOSP violation
    });
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains("PK_HOSP")) << result.error.toStdString();
    EXPECT_TRUE(tr.active());
    main.close();
    EXPECT_EQ(countFromOutside("select count(*) from TBHOSP"), 0);
    EXPECT_EQ(countFromOutside("select count(*) from TBETIQ"), 0);

    main.open();
    const db::WriteResult ok = db::guardedWrite(main.transaction(), [&] {
        exec("insert into TBHOSP (CGC_HSP, NOM_HSP) values ('2', 'c')");
    });
    EXPECT_TRUE(ok.ok);
    EXPECT_EQ(countFromOutside("select count(*) from TBHOSP"), 1);
}

TEST_F(FirebirdTest, ImplicitTransactionCommitsWhenItsQueryCloses)
{
    db::Query q(main);
    q.setSql("select count(*) from MUN");
    q.open();
    EXPECT_TRUE(main.transaction().active());
    q.close();
    EXPECT_FALSE(main.transaction().active());
}

TEST_F(FirebirdTest, MissingDatabaseNamesTheFile)
{
    db::Database missing;
    missing.setDatabaseName(dir.file("NAOEXISTE.GDB"));
    try {
        missing.open();
        FAIL() << "opened a database that does not exist";
    } catch (const db::DatabaseError& e) {
        EXPECT_TRUE(e.message().contains("NAOEXISTE.GDB")) << e.what();
    }
    EXPECT_FALSE(missing.connected());
}

TEST_F(FirebirdTest, ParamNamesCompareWithoutCase)
{
    db::Database d;
    d.setParams({"user_name=SYSDBA", "password=abc"});
    d.setParam("Password", "xyz");
    EXPECT_EQ(d.params(), QStringList({"user_name=SYSDBA", "password=xyz"}));
    EXPECT_EQ(d.param("PASSWORD"), "xyz");
}
