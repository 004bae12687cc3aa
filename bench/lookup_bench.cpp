// The laudo form over the size of the national tables: each keystroke of the
// lookup dialogs over 50,000 professionals and 5,000 procedures, and the save
// of a laudo (its checks and the write) on a Vorq database of 100,000 laudos.
#include "bench/benchutil.h"
#include "core/datamodule.h"
#include "core/numbers.h"
#include "laudos/laudo.h"
#include "laudos/lookuplist.h"
#include "laudos/lookups.h"
#include "reports/relato.h"
#include "widgets/datagrid.h"
#include "widgets/digitsedit.h"
#include "widgets/lookupcombo.h"
#include "widgets/maskededit.h"
#include "widgets/numericedit.h"
#include "widgets/radiogroup.h"
#include "widgets/scriptedmessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace talvera::bench {

namespace {

constexpr int kProfessionals = 50000;
constexpr int kProcedures = 5000;
constexpr int kLaudos = 100000;
constexpr qint64 kFirstNumber = 271610000000;

void run(db::Database& database, const QString& sql)
{
    db::Query q(database);
    q.setSql(sql);
    q.setParamCheck(false); // the blocks' ":variables" are their own
    q.execSql();
}

// Reference tables of the national size, in upper case as they come, and one
// movement row per number for the laudos and the new ones.
void generateMain(const QString& path)
{
    db::Database database;
    database.setDatabaseName(path);
    run(database, QStringLiteral("insert into MUN (CODMUN, NOME, MUNSEMDV) values ('2700300', 'Arapiraca', '270030')"));
    for (const char* sql :
         {"insert into CARATER values ('01', 'ELETIVO')", "insert into CARATER values ('02', 'URGENCIA')",
          "insert into ESPECIALIDADE values (1, 'CIRURGICA')", "insert into ESPECIALIDADE values (2, 'OBSTETRICIA')"})
        run(database, QString::fromLatin1(sql));
    run(database, QStringLiteral(
                      "execute block as declare i integer = 0; begin\n"
                      "  while (i < 50) do begin\n"
                      "    insert into PRESTADOR (UNIDADE_ID, CNES, NOME_FANTA, CNPJ, CODMUNGEST) values (\n"
                      "      'U' || :i, lpad(2000000 + :i, 7, '0'), 'HOSPITAL ' || :i, lpad(:i, 14, '0'), '270030');\n"
                      "    i = i + 1; end end"));
    run(database, QStringLiteral(
                      "execute block as declare i integer = 0; begin\n"
                      "  while (i < %1) do begin\n"
                      "    insert into PROCEDIMENTO (CODPROC, NOME, VLR_SH, VLR_SP) values (\n"
                      "      lpad(401000000 + :i * 7, 10, '0'),\n"
                      "      decode(mod(:i, 5), 0, 'TRATAMENTO DE ', 1, 'CIRURGIA DE ', 2, 'EXAME DE ', 3, "
                      "'PARTO ', 'CONSULTA EM ') ||\n"
                      "      decode(mod(:i / 5, 6), 0, 'CARDIOLOGIA', 1, 'ORTOPEDIA', 2, 'NEUROLOGIA', 3, "
                      "'OBSTETRICIA', 4, 'PEDIATRIA', 'UROLOGIA') || ' ' || :i,\n"
                      "      100 + mod(:i, 900), 50 + mod(:i, 300));\n"
                      "    i = i + 1; end end")
                      .arg(kProcedures));
    run(database, QStringLiteral(
                      "execute block as declare i integer = 0; begin\n"
                      "  while (i < %1) do begin\n"
                      "    insert into PROFISSIONAL (CPF_PROF, NOME_PROF) values (\n"
                      "      lpad(10000000000 + :i * 179, 11, '0'),\n"
                      "      decode(mod(:i, 8), 0, 'ANA', 1, 'JOSE', 2, 'MARIA', 3, 'JOAO', 4, 'FRANCISCO', 5, "
                      "'ANTONIO', 6, 'LUCIA', 'PAULO') || ' ' ||\n"
                      "      decode(mod(:i / 8, 7), 0, 'DA SILVA', 1, 'DOS SANTOS', 2, 'DE OLIVEIRA', 3, 'DE SOUZA', "
                      "4, 'LIMA', 5, 'FERREIRA', 'CAVALCANTE') || ' ' ||\n"
                      "      decode(mod(:i / 56, 5), 0, 'BARBOSA', 1, 'MELO', 2, 'TENORIO', 3, 'BRANDAO', 'COSTA'));\n"
                      "    i = i + 1; end end")
                      .arg(kProfessionals));
    run(database, QStringLiteral(
                      "execute block as declare i integer = 0; declare n bigint; begin\n"
                      "  while (i < %1) do begin\n"
                      "    n = %2 + i;\n"
                      "    insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, USADA) values (\n"
                      "      '2700300', 2016, 1, '2700300', 'U', :n, iif(mod(:n, 11) = 10, 0, mod(:n, 11)), 'N');\n"
                      "    i = i + 1; end end")
                      .arg(kLaudos + 1000)
                      .arg(kFirstNumber));
    database.transaction().commit();
    database.close();
}

// 100,000 laudos: sheets of 20 of one provider, 417 sheets a month through 2015.
void generateVorq(const QString& path)
{
    db::Database database;
    database.setDatabaseName(path);
    run(database, QStringLiteral("insert into PARAME (MES, ANO) values (3, 2016)"));
    run(database, QStringLiteral("insert into TABMUN (CODMUN, NOME) values ('2700300', 'Arapiraca')"));
    run(database, QStringLiteral(
                      "execute block as declare i integer = 0; declare sheet integer; declare n bigint; begin\n"
                      "  while (i < %1) do begin\n"
                      "    sheet = i / 20; n = %2 + i;\n"
                      "    insert into LAUDO (FOLHA, SEQUENCIA, MESCOMP, ANOCOMP, CNES, NUMAIH, DVAIH, MESLIBE, "
                      "ANOLIBE, PACIENTE, DATANASC, SEXO, CARATERINT, ESPECIALIDADE, PROCEDIMENTO, CPFSOLICITA, "
                      "MUNORIG, OBSERV, VALORMEDIO, CPFAUTORIZA, MUNINTERN) values (\n"
                      "      1 + mod(:sheet, 417), 1 + mod(:i, 20), 1 + mod(:sheet / 417, 12), 2015 + :sheet / 5004,\n"
                      "      lpad(2000000 + mod(:sheet, 50), 7, '0'), :n, iif(mod(:n, 11) = 10, 0, mod(:n, 11)), 0, 0,\n"
                      "      'PACIENTE ' || :i, date '1970-01-01' + mod(:i, 15000), 1 + 2 * mod(:i, 2), 1, 1,\n"
                      "      '0401000000', 10000000000, '2700300', '', 100, 10000000179, '2700300');\n"
                      "    i = i + 1; end end")
                      .arg(kLaudos)
                      .arg(kFirstNumber));
    database.transaction().commit();
    database.close();
}

double ms(const std::function<void()>& f)
{
    return seconds(f) * 1000.0;
}

// The slowest keystroke of typing a word into a dialog, each one measured
// until the grid's first screen is painted.
double typeWord(laudos::LookupDialog& dialog, QRadioButton* column, const QString& word)
{
    dialog.edPesquisar->clear();
    column->setChecked(true);
    double slowest = 0;
    for (int n = 1; n <= word.size(); ++n) {
        const QString typed = word.left(n);
        slowest = std::max(slowest, ms([&] {
                               dialog.edPesquisar->setText(typed);
                               dialog.grNome->viewport()->repaint();
                           }));
    }
    return slowest;
}

// The same keystrokes as a statement each: LIKE with the typed text bound
// between the wildcards, up to the first screen of rows.
double likeWord(DataModule& dm, const QString& column, const QString& word)
{
    db::Dataset& list = dm.dataset(QStringLiteral("quPesqprof"));
    double slowest = 0;
    for (int n = 1; n <= word.size(); ++n) {
        const QString pattern = u'%' + word.left(n) + u'%';
        slowest = std::max(slowest, ms([&] {
                               list.setStatement(QStringLiteral("select cpf_prof,nome_prof from profissional where %1 "
                                                                "like :p1 escape '\\' order by %1")
                                                     .arg(column),
                                                 {pattern});
                               list.open();
                               list.fetchMore(40);
                           }));
    }
    list.close();
    return slowest;
}

} // namespace

void lookupGroup()
{
    Scratch scratch;
    const double generation = seconds([&] {
        generateMain(scratch.file(QStringLiteral("TALVERA.GDB")));
        generateVorq(scratch.file(QStringLiteral("VORQ.GDB")));
    });
    report(QStringLiteral("lookup professionals"), kProfessionals, 0);
    report(QStringLiteral("lookup procedures"), kProcedures, 0);
    report(QStringLiteral("laudo rows"), kLaudos, 0);
    report(QStringLiteral("lookup generation seconds"), generation, 1);

    widgets::ScriptedMessagesScope messages;
    BuildSettings build{QStringLiteral("localhost"), QStringLiteral("-"), scratch.prefix()};
    DataModule dm(Edition::Municipal, build, scratch.file(QStringLiteral("CONFIGBD.TXT")));
    dm.dbVorqwin.open();
    dm.trVorqwin().start();
    dm.dataset(QStringLiteral("quMun")).open();
    reports::TfmRelato relato(dm);
    laudos::TfmLaudo form(dm, relato);
    laudos::TfmConproced procedures(dm, form);
    laudos::TfmConprof professionals(dm, form);
    form.setLookupDialogs(nullptr, nullptr, nullptr, &procedures, &professionals);
    form.show();
    QApplication::processEvents();

    // The professionals: a name and a CPF typed letter by letter.
    professionals.lbProf->setText(QStringLiteral("1"));
    const double show = ms([&] {
        professionals.show();
        professionals.grNome->viewport()->repaint();
    });
    report(QStringLiteral("lookup show ms"), show, 1);
    double keystroke = 0;
    for (int round = 0; round < 2; ++round) {
        keystroke = std::max({typeWord(professionals, professionals.rdbDesc, QStringLiteral("MARIA DOS SANTOS")),
                              typeWord(professionals, professionals.rdbDesc, QStringLiteral("XAVIER")),
                              typeWord(professionals, professionals.rdbCod, QStringLiteral("100001"))});
    }
    report(QStringLiteral("lookup keystroke ms"), keystroke, 2);
    professionals.hide();
    double like = 0;
    for (int round = 0; round < 2; ++round) {
        like = std::max({likeWord(dm, QStringLiteral("nome_prof"), QStringLiteral("MARIA DOS SANTOS")),
                         likeWord(dm, QStringLiteral("nome_prof"), QStringLiteral("XAVIER")),
                         likeWord(dm, QStringLiteral("cpf_prof"), QStringLiteral("100001"))});
    }
    report(QStringLiteral("lookup like statement keystroke ms"), like, 2);
    report(QStringLiteral("lookup keystroke ratio"), keystroke / like, 3);
    procedures.show();
    const double procedure =
        std::max(typeWord(procedures, procedures.rdbDesc, QStringLiteral("CIRURGIA DE ORTOPEDIA")),
                 typeWord(procedures, procedures.rdbCod, QStringLiteral("04010")));
    report(QStringLiteral("lookup procedure keystroke ms"), procedure, 2);
    procedures.hide();

    // New laudos on a sheet of their own, each a distributed number on no laudo.
    std::vector<double> saves;
    const qint64 before = [&] {
        db::Query q(dm.dbVorqwin);
        q.setSql(QStringLiteral("select count(*) from LAUDO"));
        q.open();
        return q.value(0).toLongLong();
    }();
    for (int k = 0; k < 20; ++k) {
        const qint64 aih = kFirstNumber + kLaudos + k;
        form.btIncluiClick();
        form.edFolha->setText(QStringLiteral("100")); // a sheet number every month of 2015 uses
        form.edAnoExit();
        form.cbPrest->setKey(QStringLiteral("2000001"));
        form.edAih->setDigits(QString::number(aih));
        form.edDv->setValue(numbers::checkDigit(aih));
        form.edPaciente->setText(QStringLiteral("PACIENTE NOVO"));
        form.rgSexo->setItemIndex(0);
        form.cbCarater->setKey(QStringLiteral("01"));
        form.cbEspec->setKey(QStringLiteral("1"));
        form.cbProced->setKey(QStringLiteral("0401000000"));
        form.edCpfsolicita->setDigits(QStringLiteral("10000000000"));
        form.edCpfautoriza->setDigits(QStringLiteral("10000000179"));
        saves.push_back(ms([&] { form.btConfirmaClick(); }));
    }
    const qint64 after = [&] {
        db::Query q(dm.dbVorqwin);
        q.setSql(QStringLiteral("select count(*) from LAUDO"));
        q.open();
        return q.value(0).toLongLong();
    }();
    if (after != before + 20 || !messages->shown().empty())
        throw std::runtime_error("the benchmark's laudos were not all saved");
    std::sort(saves.begin(), saves.end());
    report(QStringLiteral("laudo save ms"), saves[saves.size() / 2], 2);
    report(QStringLiteral("laudo save max ms"), saves.back(), 2);

    // The grid's filter over every laudo, newest first, up to its first screen.
    form.rgPesq->setItemIndex(0);
    const double filter = ms([&] {
        form.btPesqClick();
        form.grNome->viewport()->repaint();
    });
    report(QStringLiteral("laudo filter first screen ms"), filter, 1);
    form.chAno->setChecked(true);
    form.pqMes->setValue(3);
    form.pqAno->setValue(2015);
    const double month = ms([&] {
        form.btPesqClick();
        form.grNome->viewport()->repaint();
    });
    report(QStringLiteral("laudo filter month first screen ms"), month, 1);
    // A change saves, runs the filter again and resets.
    form.grNome->setCurrentRow(0);
    form.grNomeDblClick();
    form.btAlteraClick();
    form.edPaciente->setText(QStringLiteral("PACIENTE ALTERADO"));
    const double change = ms([&] {
        form.btConfirmaClick();
        form.grNome->viewport()->repaint();
    });
    if (!messages->shown().empty())
        throw std::runtime_error("the benchmark's change was refused");
    report(QStringLiteral("laudo change ms"), change, 2);
    form.close();
}

} // namespace talvera::bench
