// The Vorq imports of one month against 1,000,000 movement rows, with the main
// database on the loopback server: 100,000 F110 records (repeats, undistributed,
// unreadable and already written-off numbers mixed in) and 100,000 laudos,
// through the code the forms run, against the one-statement-per-row steps on
// the same data in the same run.
#include "bench/benchutil.h"
#include "core/datamodule.h"
#include "tests/writeoff/vorqfiles.h"
#include "writeoff/codepage.h"
#include "writeoff/vorqimport.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

#include <unistd.h>

namespace talvera::bench {

namespace {

constexpr qint64 kMovements = 1000000;
constexpr int kRecords = 100000;
constexpr int kWrittenOff = 5000; // numbers already written off before the import
constexpr int kHospitals = 500;
constexpr qint64 kFirst = 271610000000;
const char* const kMunicipalities[] = {"2700300", "2704302", "2701407", "2706307", "2799999"}; // the last not in MUN

void run(db::Database& database, const QString& sql)
{
    db::Query q(database);
    q.setSql(sql);
    q.setParamCheck(false);
    q.execSql();
}

// The main database: four municipalities, the movement rows, earlier write-offs
// and half of the file's hospitals, generated inside the engine.
void fillMain(const QString& path)
{
    db::Database database;
    database.setDatabaseName(path);
    run(database, QStringLiteral(
        "insert into MUN (CODMUN, NOME) select '2700300', 'Arapiraca' from rdb$database union all "
        "select '2704302', 'Maceió' from rdb$database union all "
        "select '2701407', 'Campo Alegre' from rdb$database union all "
        "select '2706307', 'Palmeira dos Índios' from rdb$database"));
    run(database, QStringLiteral(
        "execute block as\n"
        "declare i bigint = 0;\n"
        "declare n bigint;\n"
        "begin\n"
        "  while (i < %1) do begin\n"
        "    n = %2 + i;\n"
        "    insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, USADA) values (\n"
        "      '2700300', 2016, 1 + mod(:i / 4000, 12), decode(mod(:i / 700, 4), 0, '2700300', 1, '2704302',\n"
        "      2, '2701407', '2706307'), 'E', :n, iif(mod(:n, 11) = 10, 0, mod(:n, 11)), 'N');\n"
        "    i = i + 1;\n"
        "  end\n"
        "  i = 0;\n"
        "  while (i < %3) do begin\n"
        "    n = %2 + 7 * i;\n"
        "    update TBMOVIM set USADA = 'S' where NUMERO = :n;\n"
        "    insert into TBBAIXA (NUMERO, DV, ANOPROC, MESPROC, MUNORIG, MUNATEN, NOMEPAC, CGC_HSP)\n"
        "      values (:n, iif(mod(:n, 11) = 10, 0, mod(:n, 11)), 2016, 3, '2700300', '2700300', 'ANTERIOR',\n"
        "      '00000000000001');\n"
        "    i = i + 1;\n"
        "  end\n"
        "  i = 0;\n"
        "  while (i < %4) do begin\n"
        "    insert into TBHOSP (CGC_HSP, NOM_HSP) values (lpad(:i * 2, 14, '0'), 'HOSPITAL ' || (:i * 2));\n"
        "    i = i + 1;\n"
        "  end\n"
        "end")
                       .arg(kMovements)
                       .arg(kFirst)
                       .arg(kWrittenOff)
                       .arg(kHospitals / 2));
    database.transaction().commit();
    database.close();
}

// The number of the file's i-th record: most are distributed and new; some
// repeat an earlier record, some are not distributed, some already written off.
qint64 numberOf(int i)
{
    // The file does not list the numbers in order: records come by hospital and
    // date, the numbers from ranges of many municipalities.
    const qint64 scattered = (static_cast<qint64>(i) * 7919) % kRecords;
    switch (i % 100) {
    case 3: case 4: case 5: case 6: case 7: return kFirst + kMovements + i;     // not distributed
    case 8: case 9: case 10: case 11: case 12: return numberOf(i - 17);       // a repeat
    case 13: case 14: case 15: return kFirst + 7 * (i % kWrittenOff);         // written off before
    default: return kFirst + 100000 + 9 * scattered;                          // new
    }
}

void writeDosFiles(const QString& dir)
{
    std::vector<test::F110> records;
    records.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        const int kind = i % 100;
        const QByteArray number = kind < 3 ? QByteArray("27161X0000") + QByteArray::number(i % 1000) : test::nAih(numberOf(i));
        records.push_back({number, "0316", kMunicipalities[i % 5], "2700300",
                           writeoff::encodeText(QStringLiteral("PACIENTE %1 DA CONCEIÇÃO; 'X'").arg(i),
                                                writeoff::CodePage::Dos850),
                           QByteArray::number(i % kHospitals).rightJustified(14, '0')});
        if (i % 1000 == 999) // other months of the file
            records.push_back({test::nAih(numberOf(i)), "0216", "2700300", "2700300", "OUTRO MES", "1"});
    }
    std::vector<test::F030> hospitals;
    for (int h = 0; h < kHospitals; ++h)
        hospitals.push_back({QByteArray::number(h).rightJustified(14, '0'),
                             writeoff::encodeText(QStringLiteral("HOSPITAL SÃO JOSÉ %1").arg(h),
                                                  writeoff::CodePage::Dos850)});
    test::writeVorqFiles(dir, records, hospitals);
}

// A Vorq database whose laudos of April 2016 carry the same numbers.
void fillVorq(const QString& path)
{
    db::Database database;
    database.setDatabaseName(path);
    run(database, QStringLiteral("insert into TABMUN (CODMUN, NOME) values ('2700300', 'Arapiraca')"));
    db::Query q(database);
    q.setSql(QStringLiteral("insert into LAUDO (FOLHA, SEQUENCIA, MESCOMP, ANOCOMP, CNES, NUMAIH, DVAIH, MESLIBE, "
                            "ANOLIBE, PACIENTE, MUNORIG, MUNINTERN) values (:f, :s, 3, 2016, :cnes, :n, :dv, 4, "
                            "2016, :p, :o, '2700300')"));
    for (int i = 0; i < kRecords; ++i) {
        const qint64 n = numberOf(i);
        const QVariant values[] = {i / 20 + 1, i % 20 + 1, QString::number(i % 60), n, static_cast<int>(n % 11 % 10),
                                   QStringLiteral("PACIENTE %1").arg(i), QString::fromLatin1(kMunicipalities[i % 5])};
        for (int v = 0; v < 7; ++v)
            q.setParam(v, values[v]);
        q.execSql();
    }
    database.transaction().commit();
    database.close();
}

void addProviders(const QString& path)
{
    db::Database database;
    database.setDatabaseName(path);
    run(database, QStringLiteral(
        "execute block as declare i integer = 0; begin\n"
        "  while (i < 50) do begin\n"
        "    insert into PRESTADOR (UNIDADE_ID, CNES, NOME_FANTA, CNPJ) values (:i, :i, 'PRESTADOR ' || :i,\n"
        "      lpad(:i * 3, 14, '0'));\n"
        "    i = i + 1;\n"
        "  end\n"
        "end"));
    database.transaction().commit();
    database.close();
}

// Fresh copies of the template's databases for one measurement.
class Copy {
public:
    explicit Copy(const Scratch& from)
    {
        for (const char* name : {"TALVERA.GDB", "TALVERA10.GDB", "PELDRO.GDB", "VORQ.GDB", "SOURCE.GDB"}) {
            if (!QFile::copy(from.file(QString::fromLatin1(name)), file(QString::fromLatin1(name))))
                throw std::runtime_error("cannot copy the template databases");
        }
        QFile config(file(QStringLiteral("CONFIGBD.TXT")));
        config.open(QIODevice::WriteOnly);
        config.write(QFile::encodeName(prefix()) + '\n');
        config.close();
        ::sync();
    }
    QString prefix() const { return dir_.path() + u'/'; }
    QString file(const QString& name) const { return prefix() + name; }

    // The state edition serves the main database over TCP; the municipal one opens it in-process.
    std::unique_ptr<DataModule> dataModule(Edition edition) const
    {
        BuildSettings build{QStringLiteral("127.0.0.1"), file(QStringLiteral("TALVERA.GDB")), prefix()};
        auto dm = std::make_unique<DataModule>(edition, build, file(QStringLiteral("CONFIGBD.TXT")));
        dm->dbVorqwin.open();
        dm->dbAih.open();
        return dm;
    }

private:
    QTemporaryDir dir_;
};

void check(const db::WriteResult& result, const writeoff::ImportSummary& s, int expectedRows)
{
    if (!result)
        throw std::runtime_error(result.error.toStdString());
    if (s.rowsRead != expectedRows)
        throw std::runtime_error("the import did not read the month");
}

// Seconds of the DOS import as the form runs it: open and read the files, write off.
double dosImport(const Scratch& templ, const QString& files, writeoff::Method method, writeoff::ImportSummary& s,
                 Edition edition = Edition::State)
{
    Copy copy(templ);
    auto dm = copy.dataModule(edition);
    return seconds([&] {
        writeoff::DosFiles opened;
        if (!writeoff::openDosFiles(files, opened).isEmpty())
            throw std::runtime_error("the DOS files are missing");
        const writeoff::DosMonth month = writeoff::readDosMonth(opened, writeoff::competenceText(3, 2016));
        check(writeoff::importDos(*dm, month, 2016, 4, s, {}, method), s, kRecords);
    });
}

double windowsImport(const Scratch& templ, writeoff::Method method, writeoff::ImportSummary& s,
                     Edition edition = Edition::State)
{
    Copy copy(templ);
    auto dm = copy.dataModule(edition);
    return seconds([&] {
        bool hasMunicipality = false;
        writeoff::connectVorqDatabase(*dm, copy.file(QStringLiteral("SOURCE.GDB")), hasMunicipality);
        const std::vector<writeoff::Laudo> laudos = writeoff::readLaudos(*dm, 4, 2016);
        check(writeoff::importWindows(*dm, laudos, 2016, 4, s, {}, method), s, kRecords);
    });
}

} // namespace

void importGroup()
{
    Scratch templ;
    fillMain(templ.file(QStringLiteral("TALVERA.GDB")));
    addProviders(templ.file(QStringLiteral("TALVERA.GDB")));
    QFile::copy(templ.file(QStringLiteral("VORQ.GDB")), templ.file(QStringLiteral("SOURCE.GDB")));
    fillVorq(templ.file(QStringLiteral("SOURCE.GDB")));
    const QString files = templ.file(QStringLiteral("dos"));
    QDir().mkpath(files);
    writeDosFiles(files);
    ::sync();

    LoopbackServer server;
    writeoff::ImportSummary batched;
    writeoff::ImportSummary single;
    const double fast = dosImport(templ, files, writeoff::Method::Batched, batched);
    const double slow = dosImport(templ, files, writeoff::Method::RowByRow, single);
    if (!(batched == single))
        throw std::runtime_error("the two paths of the DOS import disagree");
    report(QStringLiteral("import rows per second"), kRecords / fast, 0);
    report(QStringLiteral("import row-by-row rows per second"), kRecords / slow, 0);
    report(QStringLiteral("import tcp ratio"), slow / fast, 2);
    // The same work without the network: what the engine itself takes.
    writeoff::ImportSummary local;
    report(QStringLiteral("import embedded rows per second"),
           kRecords / dosImport(templ, files, writeoff::Method::Batched, local, Edition::Municipal), 0);

    writeoff::ImportSummary windowsBatched;
    writeoff::ImportSummary windowsSingle;
    const double windowsFast = windowsImport(templ, writeoff::Method::Batched, windowsBatched);
    const double windowsSlow = windowsImport(templ, writeoff::Method::RowByRow, windowsSingle);
    if (!(windowsBatched == windowsSingle))
        throw std::runtime_error("the two paths of the Windows import disagree");
    report(QStringLiteral("import windows rows per second"), kRecords / windowsFast, 0);
    report(QStringLiteral("import windows row-by-row rows per second"), kRecords / windowsSlow, 0);
    report(QStringLiteral("import windows tcp ratio"), windowsSlow / windowsFast, 2);
    report(QStringLiteral("import windows embedded rows per second"),
           kRecords / windowsImport(templ, writeoff::Method::Batched, local, Edition::Municipal), 0);
}

} // namespace talvera::bench
