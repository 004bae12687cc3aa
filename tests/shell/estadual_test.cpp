#include "shellfixture.h"

using namespace talvera;
using talvera::test::ShellTest;

// The main database is served by the loopback Firebird server with the state
// edition's SYSDBA password; the other databases are local files.
TEST_F(ShellTest, StateLoginLooksUserOneUpAndShowsTheStateMenu)
{
    start();
    ASSERT_TRUE(errors().isEmpty()) << errors().join('|').toStdString();
    EXPECT_EQ(dm().dbAih.databaseName(), "127.0.0.1:" + dir.file("TALVERA.GDB"));
    EXPECT_TRUE(dm().dbAih.connected());
    EXPECT_TRUE(fm().lbPref->isHidden());
    EXPECT_EQ(fm().edPref->text(), "");

    login("1", "ESTADO");
    EXPECT_EQ(shown(), QStringList({"Senha incorreta"}));
    messages->clear();
    login("1", "estado");
    EXPECT_TRUE(shown().isEmpty()) << shown().join('|').toStdString();
    EXPECT_EQ(dm().settings.user, "1");
    EXPECT_TRUE(action("Cadastros1")->isVisible());
    EXPECT_TRUE(action("Cadastros1")->isEnabled());
    EXPECT_FALSE(action("Vorq1")->isVisible());
    EXPECT_TRUE(action("Utilitrios1")->isVisible());
    for (const char* name : {"ImportaodoVORQmunicipal1", "ImportaodoVORQ1", "GerarParmetroMunicipal1",
                             "GerarParmetroMunicipalVORQ1"})
        EXPECT_TRUE(action(name)->isVisible()) << name;
    EXPECT_FALSE(action("LimparBaseMensal1")->isVisible());
    EXPECT_FALSE(fm().programEnded());
}

TEST_F(ShellTest, StateVersionCheckEndsTheProgram)
{
    execOn("TALVERA.GDB", "update PARAMETRO set VERSAO = 'v.2015.01.1'");
    start();
    login("1", "estado");
    EXPECT_EQ(shown(), QStringList({"Versão desatualizada, entre em contato com o DELCOR"}));
    EXPECT_TRUE(fm().programEnded());
    EXPECT_FALSE(dm().dbAih.connected());
}
