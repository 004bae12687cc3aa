#include "core/numbers.h"
#include "ranges/rangerules.h"
#include "shell/altsen.h"
#include "shell/lifecycle.h"
#include "shellfixture.h"
#include "widgets/longoperation.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QProcess>
#include <QTest>

#include <csignal>

using namespace talvera;
using talvera::test::ShellTest;

TEST_F(ShellTest, FormsAreCreatedOnceInOrderWithoutTouchingADatabase)
{
    createForms(build(), dir.configFile());
    createForms(build(), dir.configFile());
    EXPECT_EQ(formNames(),
              QStringList({"fmPrincipal", "fmReceb", "fmDistr", "fmCmovim", "fmRelato", "fmAltsen", "fmExporta",
                           "fmVorqmun", "fmBaixamun", "fmNbaixamun", "fmCbaixa", "fmParame", "fmEtiq",
                           "fmGerparam", "fmLaudo", "fmLimpabase", "fmMescomp", "fmConprest", "fmConcara",
                           "fmConespec", "fmConproced", "fmVorqmunwin", "fmRellaudo", "fmConprof",
                           "fmGerparvorq"}));
    for (const QString& name : formNames())
        EXPECT_EQ(form(name)->objectName(), name);
    EXPECT_FALSE(dm().dbVorqwin.connected());
    EXPECT_FALSE(dm().dbMun.connected());
    EXPECT_FALSE(dm().dbAih.connected());
    EXPECT_EQ(dm().settings.pvez, "lbPvez");
}

TEST_F(ShellTest, StartUpConnectsAndArrangesTheMunicipalMenu)
{
    start();
    EXPECT_TRUE(dm().dbVorqwin.connected());
    EXPECT_TRUE(dm().dbMun.connected());
    EXPECT_TRUE(dm().dataset("quMun").isOpen());
    EXPECT_TRUE(fm().isMaximized());
    EXPECT_TRUE(fm().lbPref->isVisible());
    EXPECT_EQ(fm().lbPref->text(), "Arapiraca");
    EXPECT_EQ(fm().edPref->text(), "2700300");
    EXPECT_EQ(fm().lbAih10->text(), dir.prefix() + "TALVERA10.GDB");
    EXPECT_TRUE(shown().isEmpty());
    // Before login only "Sair" is usable.
    for (const char* name : {"Consultas1", "Relatrios1", "Vorq1", "Senha1"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    EXPECT_TRUE(action("Sair1")->isEnabled());

    login("operador", "talvera");
    EXPECT_TRUE(shown().isEmpty()) << shown().join('|').toStdString();
    EXPECT_FALSE(fm().pnUsuario->isVisible());
    EXPECT_EQ(dm().settings.user, "operador");
    for (const char* name : {"Consultas1", "Relatrios1", "Vorq1", "Senha1"}) {
        EXPECT_TRUE(action(name)->isEnabled()) << name;
        EXPECT_TRUE(action(name)->isVisible()) << name;
    }
    // Never visible in the municipal edition.
    EXPECT_FALSE(action("Cadastros1")->isVisible());
    EXPECT_FALSE(action("Utilitrios1")->isVisible());
    EXPECT_FALSE(action("LimparBaseMensal1")->isVisible());
    EXPECT_FALSE(fm().programEnded());

    // A menu item sets its preset and opens its form.
    action("RelaodeAihsutilizadasporMunicpiodeOrigem1")->trigger();
    EXPECT_EQ(opened, QStringList({"fmParame"}));
    EXPECT_EQ(form("fmParame")->findChild<QLabel*>("lbOpcao")->text(), "8");
    EXPECT_FALSE(form("fmParame")->findChild<QWidget*>("rgMes")->isHidden());
    action("DistribuioporMsAno1")->trigger();
    EXPECT_EQ(form("fmParame")->findChild<QLabel*>("lbOpcao")->text(), "1");
    EXPECT_TRUE(form("fmParame")->findChild<QWidget*>("rgMes")->isHidden());
}

TEST_F(ShellTest, LoginRefusals)
{
    struct Case {
        const char* user;
        const char* password;
        const char* message;
    };
    const Case cases[] = {
        {" 1 ", "estado", "Usuário não cadastrado"},      // refused before any query
        {"2", "", "Usuário não cadastrado"},
        {"ninguem", "x", "Usuário não cadastrado"},
        {"operador", "TALVERA", "Senha incorreta"},       // case matters
        {"operador", "talvera ", "Senha incorreta"},      // no trimming
        {" operador", "talvera", "Usuário não cadastrado"}, // the code is looked up as typed
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user);
        messages->clear();
        login(QString::fromUtf8(c.user), QString::fromUtf8(c.password));
        EXPECT_EQ(shown(), QStringList({QString::fromUtf8(c.message)}));
        EXPECT_FALSE(fm().pnUsuario->isHidden());
        EXPECT_FALSE(action("Consultas1")->isEnabled());
    }
    // Retries are unlimited: the right password still gets in.
    messages->clear();
    login("operador", "talvera");
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_TRUE(fm().pnUsuario->isHidden());
}

TEST_F(ShellTest, MunicipalRefusesUserOneBeforeAnyQuery)
{
    start();
    login(" 1 ", "estado");
    EXPECT_TRUE(dm().quConsulta.sqlText().isEmpty());
}

TEST_F(ShellTest, OutOfDateVersionEndsTheProgram)
{
    execOn("TALVERA.GDB", "update PARAMETRO set VERSAO = 'v.2016.01.1 '");
    start();
    login("operador", "talvera");
    EXPECT_EQ(shown(), QStringList({"Versão desatualizada, entre em contato com o DELCOR"}));
    EXPECT_TRUE(fm().programEnded());
    QTRY_VERIFY(!fm().isVisible());
    // Every connection was committed and closed.
    EXPECT_FALSE(dm().dbAih.connected());
    EXPECT_FALSE(dm().dbVorqwin.connected());
    EXPECT_FALSE(dm().dbMun.connected());
}

TEST_F(ShellTest, VorqOfAnotherMunicipalityEndsTheProgram)
{
    execOn("VORQ.GDB", "update TABMUN set CODMUN = '2704302', NOME = 'Maceió'");
    start();
    EXPECT_EQ(shown(), QStringList({"O arquivo do VORQ está diferente do município em uso"}));
    EXPECT_TRUE(fm().programEnded());
    EXPECT_FALSE(dm().dbMun.connected());
    QTRY_VERIFY(!fm().isVisible());
}

TEST_F(ShellTest, ADamagedVorqOrParameterDatabaseEndsTheProgramNamingTheFile)
{
    struct Case {
        const char* file;
        const char* damage;
    };
    const Case cases[] = {{"VORQ.GDB", "missing"}, {"VORQ.GDB", "text"},     {"VORQ.GDB", "truncated"},
                          {"PELDRO.GDB", "empty"}, {"PELDRO.GDB", "truncated"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.damage);
        test::DataDir fresh;
        const QString path = fresh.file(QString::fromLatin1(c.file));
        const QString damage = QString::fromLatin1(c.damage);
        QFile f(path);
        if (damage == "missing") {
            f.remove();
        } else if (damage == "truncated") {
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            f.resize(5000);
        } else {
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            if (damage == "text")
                f.write("isto nao e um banco de dados\n");
        }
        f.close();
        widgets::ScriptedMessagesScope boxes;
        createForms({"127.0.0.1", fresh.file("TALVERA.GDB"), fresh.prefix()}, fresh.configFile());
        fm().show();
        const QStringList shownErrors = boxes->texts(widgets::Messages::Kind::Error);
        ASSERT_EQ(shownErrors.size(), 1);
        EXPECT_TRUE(shownErrors.first().contains(path)) << shownErrors.first().toStdString();
        EXPECT_TRUE(fm().programEnded());
        // The municipal layout stands even so: no "Utilitários", "Cadastros" or login into them.
        EXPECT_FALSE(action("Utilitrios1")->isVisible());
        EXPECT_FALSE(action("Cadastros1")->isVisible());
        EXPECT_FALSE(dm().dbVorqwin.connected());
        EXPECT_FALSE(dm().dbMun.connected());
        QTRY_VERIFY(!fm().isVisible());
        destroyForms();
    }
}

TEST_F(ShellTest, ASecondCopyOnTheSameFilesIsToldSoInPortuguese)
{
    // Another process holds Vorq's database in an embedded engine of its own.
    QProcess other;
    other.setProcessChannelMode(QProcess::MergedChannels);
    other.start("isql-fb", {"-user", "SYSDBA", dir.file("VORQ.GDB")});
    ASSERT_TRUE(other.waitForStarted(5000));
    other.write("select count(*) from rdb$database;\n");
    while (!other.readAll().contains("COUNT") && other.waitForReadyRead(5000)) {
    }
    start();
    other.write("quit;\n");
    other.closeWriteChannel();
    other.waitForFinished(5000);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().first().startsWith("Os bancos de dados estão em uso por outra cópia do programa"))
        << errors().first().toStdString();
    EXPECT_TRUE(errors().first().contains(dir.file("VORQ.GDB")));
    EXPECT_TRUE(fm().programEnded());
}

TEST_F(ShellTest, ASignalDuringALongWriteRollsItBackWholeAndThenEndsTheProgram)
{
    start();
    login("operador", "talvera");
    shell::installSignalHandling();
    const qint64 first = 271610000041, last = 271610002000;
    bool raised = false;
    db::WriteResult written;
    {
        widgets::LongOperation operation(&fm(), "Gravando", last - first + 1);
        written = ranges::saveDistribution(
            dm(), {"2700300", 2016, 6, "2700300", first, numbers::checkDigit(first), last, numbers::checkDigit(last), "E"},
            [&](qint64 done, qint64) {
                if (!raised) {
                    raised = true;
                    std::raise(SIGTERM); // what a session logout sends
                }
                return operation.step(done);
            });
        EXPECT_FALSE(fm().programEnded()) << "the end waits for the write to unwind";
    }
    EXPECT_TRUE(written.cancelled) << written.error.toStdString();
    EXPECT_EQ(readOne("TALVERA.GDB", "select count(*) from TBMOVIM where NUMERO between 271610000041 and 271610002000"),
              "0");
    EXPECT_EQ(readOne("TALVERA.GDB", "select count(*) from TBDISTR where INICIAL = 271610000041"), "0");
    QTRY_VERIFY(fm().programEnded());
    EXPECT_FALSE(dm().dbAih.connected());
    QTRY_VERIFY(!fm().isVisible());
}

TEST_F(ShellTest, PasswordsShowAsterisksAndUserTextsTheColumnCannotHoldAreNobodys)
{
    start();
    fm().edSen->setText("talvera");
    EXPECT_EQ(fm().edSen->displayText(), "*******");
    EXPECT_EQ(fm().edUsu->maxLength(), 20);
    for (const char* user : {"operador😀", "Ωmega", "aaaaaaaaaaaaaaaaaaaaa"}) {
        messages->clear();
        login(QString::fromUtf8(user), "talvera");
        EXPECT_EQ(shown(), QStringList({"Usuário não cadastrado"})) << user;
        EXPECT_TRUE(errors().isEmpty()) << errors().join('|').toStdString();
    }
}

TEST_F(ShellTest, EnterMovesToTheNextControl)
{
    start();
    QApplication::setActiveWindow(&fm());
    fm().edUsu->setFocus();
    fm().edUsu->setText("operador");
    QTest::keyClick(fm().edUsu, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), fm().edSen);
    fm().edSen->setText("talvera");
    QTest::keyClick(fm().edSen, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), fm().Button1);
    // Enter on the button moves on; it does not log in.
    QTest::keyClick(fm().Button1, Qt::Key_Return);
    EXPECT_FALSE(fm().pnUsuario->isHidden());
}

namespace {

class PasswordTest : public ShellTest {
protected:
    void SetUp() override
    {
        start();
        login("operador", "talvera");
        altsen = static_cast<TfmAltsen*>(form("fmAltsen"));
    }
    void change(const QString& current, const QString& fresh, const QString& confirmation)
    {
        messages->clear();
        altsen->edAtual->setText(current);
        altsen->edNova->setText(fresh);
        altsen->edConfirma->setText(confirmation);
        altsen->Button1->click();
    }
    QString stored() { return readOneFromProgram("select SENHA from USUARIO where CODUSU = 'operador'"); }
    QString readOneFromProgram(const QString& sql)
    {
        db::Query q(dm().dbAih);
        q.setSql(sql);
        q.open();
        return q.value(0).toString();
    }
    TfmAltsen* altsen = nullptr;
};

} // namespace

TEST_F(PasswordTest, ChecksAllRunAndShowInOrder)
{
    struct Case {
        const char* current;
        const char* fresh;
        const char* confirmation;
        QStringList messages;
    };
    const Case cases[] = {
        {"errada", "nova", "outra", {"Senha Inválida", "Senha Nova e Confirmação estão diferentes"}},
        {"talvera", "talvera", "talvera", {"Senha nova igual a senha atual"}},
        {"TALVERA", "nova", "nova", {"Senha Inválida"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.current);
        change(c.current, c.fresh, c.confirmation);
        EXPECT_EQ(shown(), c.messages);
        EXPECT_EQ(stored(), "talvera");
    }
}

TEST_F(PasswordTest, EmptyNewPasswordIsAccepted)
{
    change("talvera", "", "");
    EXPECT_EQ(shown(), QStringList({"ALTERAÇÃO OK"}));
    EXPECT_EQ(readOne("TALVERA.GDB", "select SENHA from USUARIO where CODUSU = 'operador'").size(), 0)
        << "committed at once";
}

TEST_F(PasswordTest, ANewPasswordTheColumnCannotHoldIsRefusedAndTheOldOneKept)
{
    EXPECT_EQ(altsen->edNova->displayText(), "");
    change("talvera", QString::fromUtf8("senha😀"), QString::fromUtf8("senha😀"));
    EXPECT_EQ(shown(), QStringList({"A nova senha tem caracteres que não podem ser gravados; "
                                    "use letras, números e sinais comuns"}));
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_EQ(stored(), "talvera");
    EXPECT_EQ(altsen->edNova->maxLength(), 20);
    altsen->edNova->setText("abc");
    EXPECT_EQ(altsen->edNova->displayText(), "***");
}

TEST_F(PasswordTest, ChangeSurvivesALaterFailedWrite)
{
    change("talvera", "segredo", "segredo");
    EXPECT_EQ(shown(), QStringList({"ALTERAÇÃO OK"}));
    const db::WriteResult failed = db::guardedWrite(dm().trAih(), [&] {
        dm().quAtualiza.close();
        dm().quAtualiza.setSql("insert into MUN (CODMUN, NOME) values ('2700300', 'duplicado')");
        dm().quAtualiza.execSql();
    });
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(stored(), "segredo");
    // Logging in again later uses the new password.
    EXPECT_EQ(readOne("TALVERA.GDB", "select SENHA from USUARIO where CODUSU = 'operador'"), "segredo");
}
