// The write-off forms driven through their controls: the two imports, the
// three consultations, the municipal parameters and the monthly clean-up.
#include "core/numbers.h"
#include "importfixture.h"
#include "schema/schema.h"
#include "vorqfiles.h"
#include "widgets/datagrid.h"
#include "widgets/longoperation.h"
#include "widgets/lookupcombo.h"
#include "widgets/maskededit.h"
#include "widgets/numericedit.h"
#include "widgets/radiogroup.h"
#include "writeoff/consultations.h"
#include "writeoff/parameters.h"
#include "writeoff/vorqmun.h"
#include "writeoff/vorqmunwin.h"
#include "writeoff/writeoffrules.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

using namespace talvera;
using namespace talvera::writeoff;
using namespace talvera::test;
using Kind = widgets::Messages::Kind;

namespace {

QStringList gridColumn(QAbstractItemModel* model, int column)
{
    while (model->canFetchMore({}))
        model->fetchMore({});
    QStringList out;
    for (int r = 0; r < model->rowCount(); ++r)
        out << model->index(r, column).data().toString();
    return out;
}

// ------------------------------------------------------------- DOS import

class DosFormTest : public WriteOffTest {
protected:
    std::unique_ptr<TfmVorqmun> form;
    QString files;

    void SetUp() override
    {
        WriteOffTest::SetUp();
        form = std::make_unique<TfmVorqmun>(*dm);
        form->show();
        files = dir.file(QStringLiteral("Importação de março"));
        QDir().mkpath(files);
        writeVorqFiles(files,
                       {{nAih(271610000010), "0316", "2700300", "2700300", "JOS\x90 DA CONCEI\x80\xC7O", "99887766000155"},
                        {nAih(271610000001), "0316", "2700300", "2700300", "JA BAIXADO", "12345678000199"}},
                       {{"99887766000155", "HOSPITAL S\xC7O JOS\x90"}});
    }
    void import(const QString& path, bool confirm = true)
    {
        messages->clear();
        messages->answer(confirm);
        form->findChild<QWidget*>("edAno")->setProperty("value", 2016);
        form->findChild<QWidget*>("edMes")->setProperty("value", 3); // competence "0316", processed as 2016/3
        form->findChild<QLineEdit*>("edPath")->setText(path);
        form->findChild<QPushButton*>("Button1")->click();
    }
};

TEST_P(DosFormTest, ImportsFromTheTypedDirectory)
{
    const QString current = QDir::currentPath();
    import(files, false);
    EXPECT_EQ(messages->texts(Kind::Question), QStringList({"Confirma importação dos dados?"}));
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(one("select count(*) from TBBAIXA"), "5");

    import(files);
    EXPECT_TRUE(errors().isEmpty()) << errors().join('|').toStdString();
    EXPECT_EQ(shown(), QStringList({"Fim da carga"}));
    EXPECT_EQ(lastSummary(), "Registros do mês lidos: 2\nNúmeros baixados: 1\nNúmeros já baixados anteriormente: 1\n"
                             "Números não distribuídos: 0\nNúmeros ilegíveis: 0\nHospitais incluídos: 1\n"
                             "Municípios registrados: 1");
    EXPECT_EQ(one("select NOMEPAC, CGC_HSP from TBBAIXA where NUMERO = 271610000010"),
              QString("JOSÉ DA CONCEIÇÃO|99887766000155"));
    EXPECT_EQ(one("select NOM_HSP from TBHOSP where CGC_HSP = '99887766000155'"), QString("HOSPITAL SÃO JOSÉ"));
    EXPECT_EQ(QDir::currentPath(), current);

    // The tree puts the directory it shows into the path.
    auto* tree = form->findChild<QTreeView*>("DirectoryListBox1");
    tree->setCurrentIndex(static_cast<QFileSystemModel*>(tree->model())->index(files));
    form->DirectoryListBox1Click();
    EXPECT_EQ(form->edPath->text(), QDir::toNativeSeparators(files));
}

TEST_P(DosFormTest, RefusalsAndFailuresWriteNothing)
{
    const QStringList before = writtenTables();
    import(dir.file("sem arquivos"));
    EXPECT_EQ(shown(), QStringList({"Arquivo F110.DBF não existe nesse diretório"}));
    EXPECT_TRUE(messages->texts(Kind::Question).isEmpty());

    // A damaged file is refused before the question.
    QFile f110(files + "/F110.DBF");
    ASSERT_TRUE(f110.open(QIODevice::ReadWrite));
    const QByteArray whole = f110.readAll();
    f110.resize(whole.size() - 100);
    f110.close();
    import(files);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().first().startsWith("O arquivo F110.DBF está incompleto")) << errors().first().toStdString();
    EXPECT_TRUE(messages->texts(Kind::Question).isEmpty());
    f110.open(QIODevice::WriteOnly);
    f110.write(whole);
    f110.close();

    // A failure while writing: reported with the database's text, no "Fim da carga".
    failInsertsInto("TBBAIXAMES");
    import(files);
    EXPECT_TRUE(shown().isEmpty()) << shown().join('|').toStdString();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().first().startsWith("Não foi possível importar os dados do VORQ; nada foi gravado:"));
    EXPECT_TRUE(errors().first().contains("falha provocada pelo teste"));
    EXPECT_EQ(writtenTables(), before);
}

// --------------------------------------------------------- Windows import

class WindowsFormTest : public WriteOffTest {
protected:
    std::unique_ptr<TfmVorqmunwin> form;
    void SetUp() override
    {
        WriteOffTest::SetUp();
        form = std::make_unique<TfmVorqmunwin>(*dm);
        form->show();
    }
    void import(const QString& path)
    {
        messages->clear();
        messages->answer(true);
        form->edAno->setProperty("value", 2016);
        form->edMes->setProperty("value", 3);
        form->edPath->setText(path);
        form->Button1->click();
    }
};

TEST_P(WindowsFormTest, ImportsTheChosenDatabase)
{
    // A copy of the demo Vorq database, in a folder with blanks and accents:
    // two laudos released in March 2016, numbers not yet written off.
    const QString folder = dir.file("Cópia do VORQ");
    QDir().mkpath(folder);
    const QString source = folder + "/VORQ ARAPIRACA.GDB";
    ASSERT_TRUE(QFile::copy(dir.file("VORQ.GDB"), source));
    import(source);
    EXPECT_TRUE(errors().isEmpty()) << errors().join('|').toStdString();
    EXPECT_EQ(form->lbMun->text(), "Arapiraca");
    EXPECT_EQ(shown(), QStringList({"Fim da carga"}));
    EXPECT_TRUE(lastSummary().startsWith("Registros do mês lidos: 2\nNúmeros baixados: 2\n"))
        << lastSummary().toStdString();
    EXPECT_EQ(rows("select NUMERO, CGC_HSP from TBBAIXA where ANOPROC = 2016 and MESPROC = 3 order by NUMERO"),
              QStringList({"271650000004|12345678000199", "271650000005|12345678000199"}));

    // Shown again, the form forgets the last municipality.
    form->hide();
    form->show();
    EXPECT_EQ(form->lbMun->text(), "");
}

TEST_P(WindowsFormTest, UnusableSources)
{
    const QStringList before = writtenTables();
    const QString junk = dir.file("planilha.xls");
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("isto não é um banco de dados");
    f.close();
    import(junk);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().first().contains(junk)) << errors().first().toStdString();
    EXPECT_TRUE(messages->texts(Kind::Question).isEmpty());
    EXPECT_EQ(form->lbMun->text(), "");

    const QString empty = dir.file("VORQ SEM MUNICIPIO.GDB");
    ASSERT_TRUE(QFile::copy(dir.file("VORQ.GDB"), empty));
    {
        db::Database vorq;
        vorq.setDatabaseName(empty);
        db::Query q(vorq);
        q.setSql("delete from TABMUN");
        q.execSql();
        vorq.close();
    }
    import(empty);
    EXPECT_EQ(shown(), QStringList({"arquivo não contém dados na tabela para indicar o município de referência"}));
    EXPECT_TRUE(messages->texts(Kind::Question).isEmpty());
    EXPECT_EQ(writtenTables(), before);
}

// ---------------------------------------------------------- consultations

TEST(WriteOffSearch, FiltersInTheirOrderWithBoundParameters)
{
    EXPECT_EQ(writeOffSearch({}).sql, "select * from TBBAIXA where anoproc > 2005 order by ANOPROC, MESPROC, MUNATEN, "
                                      "NUMERO");
    WriteOffFilter all;
    all.number = 271610000001.0;
    all.municipality = "2700300";
    all.year = 2016;
    all.month = 2;
    all.patient = "D'ÁVILA; DROP";
    const Statement s = writeOffSearch(all);
    EXPECT_EQ(s.sql, "select * from TBBAIXA where anoproc > 2005 and numero = :p1 and munaten = :p2 and anoproc = :p3 "
                     "and mesproc = :p4 and nomepac like :p5 order by ANOPROC, MESPROC, MUNATEN, NUMERO");
    EXPECT_EQ(s.params, QVariantList({271610000001.0, "2700300", 2016, 2, "%D'ÁVILA; DROP%"}));
    WriteOffFilter two;
    two.month = 0;
    two.patient = "SILVA";
    EXPECT_EQ(writeOffSearch(two).params, QVariantList({0, "%SILVA%"}));
}

class ConsultationTest : public WriteOffTest {};

TEST_P(ConsultationTest, WrittenOffNumbersByFilter)
{
    exec("insert into TBBAIXA (NUMERO, DV, ANOPROC, MESPROC, MUNORIG, MUNATEN, NOMEPAC, CGC_HSP) "
         "values (271610000004, 4, 2005, 2, '2700300', '2700300', 'ANTIGO DA SILVA', '12345678000199')");
    TfmCbaixa form(*dm);
    form.show();
    auto* model = form.grNome->model();
    QStringList titles;
    for (int c = 0; c < model->columnCount(); ++c)
        titles << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(titles, QStringList({"Nº Aih/Apac", "Nome do Paciente", "Município de Atendimento", "Mês Proc",
                                   "Ano Proc", "Nome do Prestador", "CNPJ", "Categoria"}));
    EXPECT_EQ(model->rowCount(), 0);
    form.btPesqClick();
    QStringList numbersShown;
    for (qint64 n : {271610000001, 271610000002, 271610000003, 271650000001, 271650000002})
        numbersShown << numbers::displayText(n, numbers::checkDigit(n));
    EXPECT_EQ(gridColumn(model, 0), numbersShown);
    EXPECT_EQ(model->index(0, 2).data().toString(), "Arapiraca");
    EXPECT_EQ(model->index(0, 5).data().toString(), "Hospital Regional de Arapiraca");
    EXPECT_EQ(model->index(0, 6).data().toString(), "12.345.678/0001-99");
    EXPECT_EQ(model->index(3, 7).data().toString(), "AIH´s p/ cirurgias eletivas");

    struct Case {
        const char* what;
        std::function<void()> set;
        int rows;
    };
    auto tick = [&](QCheckBox* box) { box->setChecked(true); };
    const Case cases[] = {
        {"year 2016", [&] { tick(form.chAno); form.edAno->setProperty("value", 2015); }, 0},
        {"year 2006", [&] { form.edAno->setProperty("value", 2006); }, 0},
        {"no year, month 2", [&] { form.chAno->setChecked(false); tick(form.chMes); form.edMes->setProperty("value", 2); }, 5},
        {"patient", [&] { tick(form.chPac); form.edPac->setText("SILVA"); }, 1},
        {"municipality of care", [&] { form.chPac->setChecked(false); tick(form.chMun); form.cbMun->setProperty("key", "2704302"); }, 0},
        {"no municipality chosen", [&] { form.cbMun->setProperty("key", ""); }, 0},
        {"number", [&] { form.chMun->setChecked(false); tick(form.chAih); form.edNumero->setProperty("digits", "271610000002"); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.set();
        form.btPesqClick();
        EXPECT_EQ(gridColumn(model, 0).size(), c.rows);
    }
    EXPECT_TRUE(form.edNumero->isVisible());
    EXPECT_FALSE(form.edPac->isVisible());

    // A ticked number left empty stops the search with nothing on show.
    form.edNumero->setProperty("digits", "");
    EXPECT_THROW(form.btPesqClick(), db::DatabaseError);
    EXPECT_EQ(model->rowCount(), 0);

    // The patient's name is upper-cased as it is typed.
    form.chPac->setChecked(true);
    form.edPac->clear();
    QTest::keyClicks(form.edPac, "silva ");
    for (const QString& letter : {QStringLiteral("ç"), QStringLiteral("ã")}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, letter);
        QCoreApplication::sendEvent(form.edPac, &key);
    }
    EXPECT_EQ(form.edPac->text(), "SILVA ÇÃ");
}

TEST_P(ConsultationTest, ArchiveAndBackToTheMainDatabase)
{
    TfmCbaixa form(*dm);
    form.show();
    form.rgBanco->setProperty("itemIndex", 0);
    form.chooseDatabase();
    EXPECT_EQ(dm->dbAih.databaseName(), dir.file("TALVERA10.GDB"));
    form.btPesqClick();
    EXPECT_EQ(gridColumn(form.grNome->model(), 1), QStringList({"JOSEFA BEZERRA"}));
    // Switching empties the grid until the next search.
    form.rgBanco->setProperty("itemIndex", 1);
    form.chooseDatabase();
    EXPECT_EQ(form.grNome->model()->rowCount(), 0);
    form.rgBanco->setProperty("itemIndex", 0);
    form.chooseDatabase();
    form.close();
    EXPECT_EQ(dm->dbAih.databaseName(), dm->settings.aih);
    EXPECT_TRUE(dm->dbAih.connected());

    TfmBaixamun months(*dm);
    months.show();
    EXPECT_EQ(gridColumn(months.grNome->model(), 2), QStringList({"Arapiraca", "Campo Alegre"}));
    EXPECT_EQ(gridColumn(months.grNome->model(), 0), QStringList({"2016", "2016"}));
    months.rgBanco->setProperty("itemIndex", 0);
    months.chooseDatabase();
    EXPECT_EQ(gridColumn(months.grNome->model(), 1), QStringList({"7"}));
    months.close();
    EXPECT_EQ(dm->dbAih.databaseName(), dm->settings.aih);
}

TEST_P(ConsultationTest, MunicipalitiesWithoutWriteOffsAreRebuilt)
{
    TfmNbaixamun form(*dm);
    form.show();
    auto* model = form.grNome->model();
    EXPECT_EQ(model->rowCount(), 0);
    auto refresh = [&](int year, int month) {
        form.edAno->setProperty("value", year);
        form.edMes->setProperty("value", month);
        form.btPesq->click();
        return gridColumn(model, 2);
    };
    EXPECT_EQ(refresh(2016, 5).size(), 12); // a month without any import
    const QStringList february = refresh(2016, 2);
    EXPECT_EQ(february.size(), 10);
    EXPECT_FALSE(february.contains("Arapiraca"));
    EXPECT_FALSE(february.contains("Campo Alegre"));
    EXPECT_EQ(one("select count(*) from TBNBAIXAMES where ANOPROC = 2016 and MESPROC = 2"), "10");
    EXPECT_EQ(one("select count(*) from TBNBAIXAMES"), "10");

    // A failed rebuild keeps what the table held, and says why.
    failInsertsInto("TBNBAIXAMES");
    form.chooseDatabase(); // reconnected, the statements see the new trigger
    messages->clear();
    EXPECT_EQ(refresh(2016, 5), february);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().first().contains("falha provocada pelo teste"));

    // The archive's own tables are used and rewritten.
    form.rgBanco->setProperty("itemIndex", 0);
    form.chooseDatabase();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(refresh(2010, 7).size(), 11);
    EXPECT_EQ(one("select count(*) from TBNBAIXAMES where ANOPROC = 2010"), "11");
    form.close();
    EXPECT_EQ(one("select count(*) from TBNBAIXAMES where ANOPROC = 2010"), "0");
}

// --------------------------------------------- parameters and the clean-up

class ParameterTest : public WriteOffTest {
protected:
    QStringList on(db::Database& database, const QString& sql) { return rows(database, sql); }
    void execOn(db::Database& database, const QString& sql)
    {
        db::Query q(database);
        q.setSql(sql);
        q.setParamCheck(false);
        q.execSql();
        database.transaction().commitRetaining();
    }
};

TEST_P(ParameterTest, MunicipalParameterHoldsTheLastChoice)
{
    TfmGerparam form(*dm);
    form.show();
    form.btPesq->click();
    EXPECT_EQ(shown(), QStringList({"Selecione um município"}));
    for (const char* code : {"2704302", "2706307"}) {
        messages->clear();
        form.show();
        form.cbMun->setProperty("key", code);
        form.btPesq->click();
        EXPECT_EQ(shown(), QStringList({"Geração Efetuada!"}));
        EXPECT_FALSE(form.isVisible());
    }
    EXPECT_EQ(on(dm->dbMun, "select CODMUN, NOME from TABMUN"), QStringList({"2706307|Palmeira dos Índios"}));

    // The deletion and the insertion are one: a failed insertion keeps the old row.
    execOn(dm->dbMun, "create exception E_TESTE 'falha provocada pelo teste'");
    execOn(dm->dbMun, "create trigger T_FALHA for TABMUN before insert as begin exception E_TESTE; end");
    messages->clear();
    form.show();
    form.cbMun->setProperty("key", "2704302");
    form.btPesq->click();
    EXPECT_TRUE(shown().isEmpty());
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().first().contains("falha provocada pelo teste"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(on(dm->dbMun, "select CODMUN from TABMUN"), QStringList({"2706307"}));
}

TEST_P(ParameterTest, VorqParameterDeletesTheLaudos)
{
    EXPECT_EQ(on(dm->dbVorqwin, "select count(*) from LAUDO"), QStringList({"2"}));
    TfmGerparvorq form(*dm);
    form.show();
    form.cbMun->setProperty("key", "2704302");
    form.btPesq->click();
    EXPECT_EQ(shown(), QStringList({"Geração Efetuada!"}));
    EXPECT_EQ(on(dm->dbVorqwin, "select count(*) from LAUDO"), QStringList({"0"}));
    EXPECT_EQ(on(dm->dbVorqwin, "select CODMUN, NOME from TABMUN"), QStringList({"2704302|Maceió"}));

    // The three writes are one: a failed insertion keeps the laudos and the old row.
    execOn(dm->dbVorqwin, "insert into LAUDO (FOLHA, SEQUENCIA, MESCOMP, ANOCOMP) values (1, 1, 3, 2016)");
    execOn(dm->dbVorqwin, "create exception E_TESTE 'falha provocada pelo teste'");
    execOn(dm->dbVorqwin, "create trigger T_FALHA for TABMUN before insert as begin exception E_TESTE; end");
    messages->clear();
    form.show();
    form.cbMun->setProperty("key", "2700300");
    form.btPesq->click();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(on(dm->dbVorqwin, "select count(*) from LAUDO"), QStringList({"1"}));
    EXPECT_EQ(on(dm->dbVorqwin, "select CODMUN from TABMUN"), QStringList({"2704302"}));
}

struct ProgramEnd {
    int ends = 0;
    ProgramEnd() { widgets::setProgramEnd([this] { ++ends; }); }
    ~ProgramEnd() { widgets::setProgramEnd({}); }
};

TEST_P(ParameterTest, CleanUpWritesOnlyWhatDiffersAndEndsTheProgram)
{
    ProgramEnd end;
    TfmLimpabase form(*dm);
    form.show();
    auto clean = [&](int month, int year, bool confirm = true) {
        messages->clear();
        messages->answer(confirm);
        form.show();
        form.edMes->setProperty("value", month);
        form.edAno->setProperty("value", year);
        widgets::setProgramEnd([&end] { ++end.ends; });
        form.btConfirma->click();
        QCoreApplication::processEvents();
    };
    clean(4, 2016, false);
    EXPECT_EQ(messages->texts(Kind::Question),
              QStringList({"Confirma Limpeza de Dados?, TODOS OS DADOS DESSE MÊS SERÃO APAGADOS"}));
    EXPECT_EQ(on(dm->dbVorqwin, "select count(*) from LAUDO"), QStringList({"2"}));
    EXPECT_EQ(end.ends, 0);

    // The stored month and municipality are the same: neither is written
    // (a write would fail), the laudos still go.
    execOn(dm->dbVorqwin, "create exception E_TESTE 'falha provocada pelo teste'");
    execOn(dm->dbVorqwin, "create trigger T_PARAME for PARAME before update as begin exception E_TESTE; end");
    execOn(dm->dbVorqwin, "create trigger T_TABMUN for TABMUN before update as begin exception E_TESTE; end");
    clean(3, 2016);
    EXPECT_TRUE(errors().isEmpty()) << errors().join('|').toStdString();
    EXPECT_EQ(shown(), QStringList({"Limpeza Efetuada, entre novamente no sistema!"}));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(end.ends, 1);
    EXPECT_EQ(on(dm->dbVorqwin, "select count(*) from LAUDO"), QStringList({"0"}));

    // A different month cannot be written now: nothing changes, no end.
    execOn(dm->dbVorqwin, "insert into LAUDO (FOLHA, SEQUENCIA, MESCOMP, ANOCOMP) values (1, 1, 3, 2016)");
    clean(0, 2016);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().first().contains("falha provocada pelo teste"));
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(end.ends, 1);
    EXPECT_EQ(on(dm->dbVorqwin, "select count(*) from LAUDO"), QStringList({"1"}));

    // Empty tables get their row; month 0 is a month; another municipality is overwritten.
    execOn(dm->dbVorqwin, "drop trigger T_PARAME");
    execOn(dm->dbVorqwin, "drop trigger T_TABMUN");
    execOn(dm->dbVorqwin, "delete from PARAME");
    execOn(dm->dbVorqwin, "update TABMUN set CODMUN = '2704302', NOME = 'Maceió'");
    clean(0, 2016);
    EXPECT_EQ(on(dm->dbVorqwin, "select MES, ANO from PARAME"), QStringList({"0|2016"}));
    EXPECT_EQ(on(dm->dbVorqwin, "select CODMUN, NOME from TABMUN"), QStringList({"2700300|Arapiraca"}));
    execOn(dm->dbVorqwin, "delete from TABMUN");
    clean(5, 2016);
    EXPECT_EQ(on(dm->dbVorqwin, "select MES, ANO from PARAME"), QStringList({"5|2016"}));
    EXPECT_EQ(on(dm->dbVorqwin, "select CODMUN, NOME from TABMUN"), QStringList({"2700300|Arapiraca"}));
    EXPECT_EQ(end.ends, 3);
}

INSTANTIATE_TEST_SUITE_P(WriteOff, DosFormTest, ::testing::Values(Edition::Municipal, Edition::State), editionName);
INSTANTIATE_TEST_SUITE_P(WriteOff, WindowsFormTest, ::testing::Values(Edition::Municipal, Edition::State), editionName);
INSTANTIATE_TEST_SUITE_P(WriteOff, ConsultationTest, ::testing::Values(Edition::Municipal, Edition::State),
                         editionName);
// The parameters are the state edition's, the clean-up the municipal's.
INSTANTIATE_TEST_SUITE_P(WriteOff, ParameterTest, ::testing::Values(Edition::Municipal, Edition::State), editionName);

} // namespace
