#include "core/datamodule.h"
#include "tests/support/datadir.h"
#include "tests/support/qtprint.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace talvera;
using talvera::test::DataDir;

namespace {

BuildSettings buildFor(const DataDir& dir)
{
    return {"127.0.0.1", "/nao/existe/TALVERA.GDB", dir.prefix()};
}

} // namespace

TEST(BeforeConnect, BlanksAroundTheDirectoryAreDropped)
{
    DataDir dir;
    dir.writeConfig("   " + dir.prefix() + "  \t");
    DataModule dm(Edition::Municipal, buildFor(dir), dir.configFile());
    dm.dbVorqwin.open();
    EXPECT_EQ(dm.dbAih.databaseName(), dir.prefix() + "TALVERA.GDB");
    EXPECT_EQ(dm.dbMun.databaseName(), dir.prefix() + "PELDRO.GDB");
    EXPECT_EQ(dm.dbVorqwin.databaseName(), dir.prefix() + "VORQ.GDB");
    EXPECT_EQ(dm.dbAih.param("Password"), "plomvadre");
    EXPECT_EQ(dm.settings.pvez, "1");
    EXPECT_EQ(dm.settings.aih, dir.prefix() + "TALVERA.GDB");
    EXPECT_EQ(dm.settings.aih10, dir.prefix() + "TALVERA10.GDB");
    EXPECT_EQ(dm.settings.senha1, "plomvadre");
    EXPECT_EQ(dm.settings.senha2, "plomvadre");
    // The installation's municipality comes from the parameter database.
    EXPECT_EQ(dm.settings.edPref, "2700300");
    EXPECT_EQ(dm.settings.pref, "Arapiraca");
    EXPECT_TRUE(dm.dbMun.connected());
}

TEST(BeforeConnect, DirectoryWithoutSeparatorIsAPlainPrefix)
{
    DataDir dir;
    const QString noSeparator = dir.prefix().chopped(1);
    dir.writeConfig(noSeparator);
    DataModule dm(Edition::Municipal, buildFor(dir), dir.configFile());
    // The parameter database is opened under the glued name, which does not exist.
    EXPECT_THROW(dm.dbVorqwin.open(), db::DatabaseError);
    EXPECT_EQ(dm.dbAih.databaseName(), noSeparator + "TALVERA.GDB");
    EXPECT_EQ(dm.dbVorqwin.databaseName(), noSeparator + "VORQ.GDB");
}

TEST(BeforeConnect, RunsOncePerRun)
{
    DataDir dir;
    DataModule dm(Edition::Municipal, buildFor(dir), dir.configFile());
    dm.dbVorqwin.open();
    dir.writeConfig("/outro/diretorio/");
    dm.dbMun.close();
    dm.dbMun.open();
    dm.dbAih.open();
    EXPECT_EQ(dm.dbAih.databaseName(), dir.prefix() + "TALVERA.GDB");
    EXPECT_EQ(dm.settings.aih10, dir.prefix() + "TALVERA10.GDB");
}

TEST(BeforeConnect, BadConfigurationNamesTheFileAndConnectsNothing)
{
    struct Case {
        const char* what;
        bool remove;
        QString firstLine;
    };
    const Case cases[] = {{"missing", true, {}}, {"empty first line", false, "   "}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DataDir dir;
        if (c.remove)
            QFile::remove(dir.configFile());
        else
            dir.writeConfig(c.firstLine);
        DataModule dm(Edition::Municipal, buildFor(dir), dir.configFile());
        try {
            dm.dbVorqwin.open();
            FAIL() << "connected without a configuration";
        } catch (const db::DatabaseError& e) {
            EXPECT_TRUE(e.message().contains("CONFIGBD.TXT")) << e.what();
        }
        EXPECT_FALSE(dm.dbVorqwin.connected());
        EXPECT_FALSE(dm.dbMun.connected());
        // The step has run; the settings keep their design texts.
        EXPECT_EQ(dm.settings.pvez, "1");
        EXPECT_EQ(dm.settings.aih, "lbAih");
        EXPECT_EQ(dm.settings.pref, "Prefeitura");
    }
}

TEST(BeforeConnect, StateEdition)
{
    DataDir dir;
    DataModule dm(Edition::State, buildFor(dir), dir.configFile());
    dm.dbVorqwin.open(); // keeps its built-in name, here the data directory
    EXPECT_EQ(dm.dbAih.databaseName(), "127.0.0.1:/nao/existe/TALVERA.GDB");
    EXPECT_EQ(dm.dbAih.param("password"), "qzrw47tb");
    EXPECT_EQ(dm.settings.aih, "127.0.0.1:/nao/existe/TALVERA.GDB");
    EXPECT_EQ(dm.settings.aih10, dir.prefix() + "TALVERA10.GDB");
    EXPECT_EQ(dm.settings.senha2, "qzrw47tb");
    EXPECT_EQ(dm.settings.pref, "");
    EXPECT_EQ(dm.settings.edPref, "");
    EXPECT_EQ(dm.dbMun.databaseName(), dir.prefix() + "PELDRO.GDB");
    EXPECT_EQ(dm.dbMun.param("password"), "plomvadre");
    // The archive is a local file in the state edition too.
    dm.switchMainDatabase(true);
    auto& anual = dm.dataset("quAnual");
    anual.open();
    ASSERT_FALSE(anual.eof());
    EXPECT_EQ(anual.value("ANO").toInt(), 2010);
}

TEST(ArchiveSwitch, CommitsPendingWorkAndReturns)
{
    DataDir dir;
    DataModule dm(Edition::Municipal, buildFor(dir), dir.configFile());
    dm.dbVorqwin.open();
    dm.trAih().start();
    dm.quAtualiza.setSql("delete from TBETIQ");
    dm.quAtualiza.execSql();
    dm.quAtualiza.setSql("insert into TBETIQ (NUMERO, DV) values (:n, :d)");
    dm.quAtualiza.setParam(0, 271610000001LL);
    dm.quAtualiza.setParam(1, 0);
    dm.quAtualiza.execSql(); // pending, no commit of its own
    auto& mun = dm.dataset("quMun");
    mun.open();

    dm.switchMainDatabase(true);
    EXPECT_FALSE(mun.isOpen());
    EXPECT_EQ(dm.dbAih.databaseName(), dir.prefix() + "TALVERA10.GDB");
    dm.switchMainDatabase(false);
    EXPECT_EQ(dm.dbAih.databaseName(), dir.prefix() + "TALVERA.GDB");
    dm.quConsulta.setSql("select count(*) from TBETIQ");
    dm.quConsulta.open();
    EXPECT_EQ(dm.quConsulta.value(0).toInt(), 1);
}

TEST(CloseAll, ClosesEveryConnectionAndReportsEachFailure)
{
    DataDir dir;
    // A commit trigger that refuses while the transaction says so, on two of the files.
    for (const char* file : {"PELDRO.GDB", "VORQ.GDB"}) {
        db::Database d;
        d.setDatabaseName(dir.file(file));
        db::Query q(d);
        q.setSql("create exception e_refused 'commit refused'");
        q.execSql();
        d.transaction().commitRetaining();
        q.setSql("create trigger refuse_commit on transaction commit as begin "
                 "if (rdb$get_context('USER_TRANSACTION', 'refuse') = '1') then exception e_refused; end");
        q.setParamCheck(false);
        q.execSql();
        d.close();
    }
    DataModule dm(Edition::Municipal, buildFor(dir), dir.configFile());
    dm.dbVorqwin.open();
    dm.dataset("quMun").open();
    for (db::Query* q : {&dm.quAltmun, &dm.quConsvorq}) {
        q->database().transaction().start();
        q->setStatement("select rdb$set_context('USER_TRANSACTION', 'refuse', '1') from rdb$database");
        q->open();
        q->close();
    }
    try {
        dm.closeAll();
        FAIL() << "the refused commits are reported";
    } catch (const db::DatabaseError& e) {
        EXPECT_EQ(e.message().count("commit refused"), 2) << e.message().toStdString();
    }
    EXPECT_FALSE(dm.dbAih.connected());
    EXPECT_FALSE(dm.dbMun.connected());
    EXPECT_FALSE(dm.dbVorqwin.connected());
}
