// The two imports against the demo data, embedded and with the main database
// on the loopback server: every case of a month, the batched path against the
// one-statement-per-row steps, and a failure or cancellation leaving nothing.
#include "core/numbers.h"
#include "importfixture.h"
#include "schema/schema.h"
#include "vorqfiles.h"
#include "writeoff/vorqimport.h"

#include <QDir>
#include <QFile>

using namespace talvera;
using namespace talvera::writeoff;
using namespace talvera::test;

namespace {

// Competence March 2016 ("0316"), processed as April 2016.
std::vector<F110> everyAdmissionCase()
{
    return {
        {nAih(271610000010), "0316", "2700300", "2700300", "JOS\x90 DA CONCEI\x80\xC7O", "99887766000155"},
        {nAih(271610000010), "0316", "2700300", "2700300", "SEGUNDA VEZ", "12345678000199"}, // repeat: marks only
        {nAih(271610000001), "0316", "2704302", "2704302", "OUTRO NOME", "23456789000110"},  // written off in 2016/2
        {nAih(271610009999), "0316", "2700300", "2700300", "NAO DISTRIBUIDO", "12345678000199"},
        {"27161000001X5", "0316", "2700300", "2700300", "LETRA NO NUMERO", "12345678000199"},
        {"2716100000", "0316", "2700300", "2700300", "NUMERO CURTO", "12345678000199"},
        {nAih(271650000030), "0316", "2799999", "2700300", "MUNICIPIO FORA DO MUN", "12345678000199"},
        {nAih(271610000011), "0416", "2700300", "2700300", "OUTRA COMPETENCIA", "12345678000199"},
        {nAih(271610000012), "0316", "2700300", "2700300", "REGISTRO APAGADO", "12345678000199", true},
        {nAih(271650000040), "0316", "2706307", "2700300", "O'BRIEN; DELETE FROM TBMOVIM", "11222333000144"},
    };
}

std::vector<F030> everyHospitalCase()
{
    return {{"12345678000199", "OUTRO NOME DO REGIONAL"}, // stays as registered
            {"99887766000155", "HOSPITAL S\xC7O JOS\x90"},
            {"99887766000155", "REPETIDO NO ARQUIVO"},
            {"11222333000144", "CL\xD6NICA D'OLHOS; DROP TABLE TBHOSP"}};
}

class DosImportTest : public WriteOffTest {
protected:
    DosMonth month(const DataDir& d, const std::vector<F110>& admissions, const std::vector<F030>& hospitals,
                   const QString& competence = QStringLiteral("0316"))
    {
        const QString files = d.file(QStringLiteral("vorq dos"));
        QDir().mkpath(files);
        writeVorqFiles(files, admissions, hospitals);
        DosFiles opened;
        EXPECT_EQ(openDosFiles(files, opened), "");
        return readDosMonth(opened, competence);
    }
    ImportSummary import(DataModule& m, const DosMonth& data, Method method, int monthNumber = 4)
    {
        ImportSummary summary;
        const db::WriteResult result = importDos(m, data, 2016, monthNumber, summary, {}, method);
        EXPECT_TRUE(result.ok) << result.error.toStdString();
        return summary;
    }
};

TEST_P(DosImportTest, EveryCaseOfTheMonth)
{
    const DosMonth data = month(dir, everyAdmissionCase(), everyHospitalCase());
    const QString earlier = one("select * from TBBAIXA where NUMERO = 271610000001");
    const ImportSummary first = import(*dm, data, Method::Batched);
    ImportSummary expected;
    expected.rowsRead = 8;
    expected.writtenOff = 3;
    expected.alreadyWrittenOff = 2;
    expected.notDistributed = 1;
    expected.unreadable = 2;
    expected.hospitalsAdded = 2;
    expected.municipalitiesRecorded = 2;
    EXPECT_EQ(first.text(), expected.text());

    const int dv = numbers::checkDigit(271610000010);
    EXPECT_EQ(rows("select * from TBBAIXA where ANOPROC = 2016 and MESPROC = 4 order by NUMERO"),
              QStringList({QString("271610000010|%1|2016|4|2700300|2700300|JOSÉ DA CONCEIÇÃO|99887766000155").arg(dv),
                           QString("271650000030|%1|2016|4|2799999|2700300|MUNICIPIO FORA DO MUN|12345678000199")
                               .arg(numbers::checkDigit(271650000030)),
                           QString("271650000040|%1|2016|4|2706307|2700300|O'BRIEN; DELETE FROM TBMOVIM|11222333000144")
                               .arg(numbers::checkDigit(271650000040))}));
    // The earlier write-off keeps its month, patient and hospital; its number is marked again.
    EXPECT_EQ(one("select * from TBBAIXA where NUMERO = 271610000001"), earlier);
    EXPECT_EQ(rows("select NUMERO from TBMOVIM where USADA = 'S' and NUMERO in "
                   "(271610000010, 271610000001, 271650000030, 271650000040, 271610000011, 271610000012) "
                   "order by NUMERO"),
              QStringList({"271610000001", "271610000010", "271650000030", "271650000040"}));
    EXPECT_EQ(one("select count(*) from TBBAIXA where NUMERO in (0, 271610009999)"), "0");
    EXPECT_EQ(rows("select * from TBHOSP order by CGC_HSP"),
              QStringList({"11222333000144|CLÍNICA D'OLHOS; DROP TABLE TBHOSP",
                           "12345678000199|Hospital Regional de Arapiraca",
                           "23456789000110|Maternidade Nossa Senhora de Fátima",
                           "99887766000155|HOSPITAL SÃO JOSÉ"}));
    // Municipalities of origin that MUN knows; 2799999 is not among them.
    EXPECT_EQ(rows("select MUNORIG from TBBAIXAMES where ANOPROC = 2016 and MESPROC = 4 order by MUNORIG"),
              QStringList({"2700300", "2706307"}));

    // The same month again duplicates nothing.
    const QStringList after = writtenTables();
    const ImportSummary second = import(*dm, data, Method::Batched);
    EXPECT_EQ(writtenTables(), after);
    EXPECT_EQ(second.writtenOff, 0);
    EXPECT_EQ(second.alreadyWrittenOff, 5);
    EXPECT_EQ(second.hospitalsAdded + second.municipalitiesRecorded, 0);
}

TEST_P(DosImportTest, BatchesLeaveWhatTheRowByRowStepsLeave)
{
    DataDir other;
    std::unique_ptr<DataModule> rowByRow = dataModule(other);
    const DosMonth data = month(dir, everyAdmissionCase(), everyHospitalCase());
    ASSERT_EQ(writtenTables(), writtenTables(rowByRow->dbAih));
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        const ImportSummary batched = import(*dm, data, Method::Batched);
        const ImportSummary single = import(*rowByRow, data, Method::RowByRow);
        EXPECT_EQ(batched.text(), single.text());
        EXPECT_EQ(writtenTables(), writtenTables(rowByRow->dbAih));
    }
    // A month that spans several batches, with repeats across their borders.
    std::vector<F110> many;
    for (int i = 0; i < 300; ++i) {
        const qint64 numero = 271650000001 + (i * 7) % 60; // repeats, and numbers past the distributed ones
        many.push_back({nAih(numero), "0516", i % 3 ? "2701407" : "2706307", "2700300",
                        QByteArray("PACIENTE ") + QByteArray::number(i), "12345678000199"});
    }
    const DosMonth big = month(dir, many, everyHospitalCase(), QStringLiteral("0516"));
    const ImportSummary batched = import(*dm, big, Method::Batched, 6);
    const ImportSummary single = import(*rowByRow, big, Method::RowByRow, 6);
    EXPECT_EQ(batched.text(), single.text());
    EXPECT_EQ(batched.rowsRead, 300);
    EXPECT_EQ(writtenTables(), writtenTables(rowByRow->dbAih));
}

TEST_P(DosImportTest, MonthZeroAndAMonthWithoutRecords)
{
    const DosMonth zero = month(dir, {{nAih(271610000015), "0016", "2700300", "2700300", "MES ZERO", ""}}, {},
                                competenceText(0, 2016));
    ASSERT_EQ(zero.admissions.size(), 1u);
    import(*dm, zero, Method::Batched, 0);
    EXPECT_EQ(one("select ANOPROC, MESPROC, CGC_HSP from TBBAIXA where NUMERO = 271610000015"), "2016|0|");
    EXPECT_EQ(rows("select MUNORIG from TBBAIXAMES where MESPROC = 0"), QStringList({"2700300"}));

    // No record of the competence: TBBAIXAMES still gains the month's earlier
    // write-offs that it lacks.
    exec("delete from TBBAIXAMES where MUNORIG = '2701407'");
    const DosMonth empty = month(dir, {{nAih(271610000016), "0199", "2700300", "2700300", "X", ""}}, {});
    const ImportSummary s = import(*dm, empty, Method::Batched, 2);
    EXPECT_EQ(s.rowsRead, 0);
    EXPECT_EQ(s.municipalitiesRecorded, 1);
    EXPECT_EQ(rows("select MUNORIG from TBBAIXAMES where ANOPROC = 2016 and MESPROC = 2 order by 1"),
              QStringList({"2700300", "2701407"}));
}

TEST_P(DosImportTest, AFailureOrACancellationLeavesNothing)
{
    const DosMonth data = month(dir, everyAdmissionCase(), everyHospitalCase());
    const QStringList before = writtenTables();

    // Cancelled while writing the numbers: the hospitals go too.
    ImportSummary summary;
    const db::WriteResult cancelled = importDos(*dm, data, 2016, 4, summary,
                                                [](const QString& phase, qint64, qint64) { return phase != "Números"; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.error, "Importação cancelada pelo operador; nada foi gravado.");
    EXPECT_EQ(writtenTables(), before);

    // The last write fails: everything before it is undone, with the database's reason.
    failInsertsInto("TBBAIXAMES");
    for (Method method : {Method::Batched, Method::RowByRow}) {
        const db::WriteResult failed = importDos(*dm, data, 2016, 4, summary, {}, method);
        EXPECT_FALSE(failed.ok);
        EXPECT_FALSE(failed.cancelled);
        EXPECT_TRUE(failed.error.contains("falha provocada pelo teste")) << failed.error.toStdString();
        EXPECT_EQ(writtenTables(), before);
    }
}

// ------------------------------------------------------------ Windows import

class WindowsImportTest : public WriteOffTest {
protected:
    // A copy of the demo Vorq database, in a folder and file named with blanks and accents.
    QString source;

    void SetUp() override
    {
        WriteOffTest::SetUp();
        source = vorqCopy(dir);
    }

    static QString vorqCopy(const DataDir& d)
    {
        const QString folder = d.file(QStringLiteral("Vorq de Arapiraca"));
        QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/VORQ IMPORTAÇÃO.GDB");
        QFile::copy(d.file(QStringLiteral("VORQ.GDB")), path);
        db::Database vorq;
        vorq.setDatabaseName(path);
        db::Query q(vorq);
        q.setSql("delete from LAUDO");
        q.execSql();
        q.setSql("insert into LAUDO (FOLHA, SEQUENCIA, MESCOMP, ANOCOMP, CNES, NUMAIH, DVAIH, MESLIBE, ANOLIBE, "
                 "PACIENTE, MUNORIG, MUNINTERN) values (1, :s, :mc, 2016, :cnes, :aih, :dv, :ml, 2016, :pac, :orig, "
                 ":intern)");
        struct Laudo {
            int competence;
            int release;
            const char* cnes;
            qint64 aih; // 0: none
            const char* patient;
            const char* origin;
        };
        const Laudo laudos[] = {
            {3, 4, "2006197", 271610000020, "ANA D'ÁVILA; --", "2700300"}, // provider not yet in TBHOSP
            {3, 4, "9999999", 271610000021, "SEM PRESTADOR", "2700300"},  // CNES unknown: empty CGC_HSP
            {4, 4, "2005417", 271610000002, "JA BAIXADO", "2700300"},
            {4, 4, "2005417", 271610000020, "REPETIDO", "2700300"},
            {4, 4, "2005417", 271610008888, "NAO DISTRIBUIDO", "2700300"},
            {4, 4, "2005417", 0, "SEM NUMERO", "2700300"},
            {4, 5, "2005417", 271610000022, "LIBERADO EM MAIO", "2700300"},
            {4, 4, "2003538", 271650000041, "MUNICIPIO FORA DO MUN", "2799999"},
        };
        int sequence = 0;
        for (const Laudo& l : laudos) {
            const QVariant values[] = {++sequence, l.competence, l.cnes,
                                       l.aih ? QVariant(l.aih) : QVariant(),
                                       l.aih ? QVariant(numbers::checkDigit(l.aih)) : QVariant(), l.release,
                                       QString::fromUtf8(l.patient), l.origin, "2704302"};
            for (int i = 0; i < 9; ++i)
                q.setParam(i, values[i]);
            q.execSql();
        }
        vorq.close();
        return path;
    }

    std::vector<Laudo> laudosOf(DataModule& m, const QString& path, int month)
    {
        bool hasMunicipality = false;
        EXPECT_EQ(connectVorqDatabase(m, path, hasMunicipality), "Arapiraca");
        EXPECT_TRUE(hasMunicipality);
        return readLaudos(m, month, 2016);
    }
    ImportSummary import(DataModule& m, const std::vector<Laudo>& laudos, Method method)
    {
        ImportSummary summary;
        const db::WriteResult result = importWindows(m, laudos, 2016, 4, summary, {}, method);
        EXPECT_TRUE(result.ok) << result.error.toStdString();
        return summary;
    }
};

TEST_P(WindowsImportTest, TheReleaseMonthsLaudos)
{
    const std::vector<Laudo> laudos = laudosOf(*dm, source, 4);
    ASSERT_EQ(laudos.size(), 7u); // by release month: the laudo released in May is not among them
    const ImportSummary s = import(*dm, laudos, Method::Batched);
    EXPECT_EQ(s.rowsRead, 7);
    EXPECT_EQ(s.writtenOff, 3);
    EXPECT_EQ(s.alreadyWrittenOff, 2);
    EXPECT_EQ(s.notDistributed, 1);
    EXPECT_EQ(s.unreadable, 1);
    EXPECT_EQ(s.hospitalsAdded, 1);
    EXPECT_EQ(s.municipalitiesRecorded, 1);
    EXPECT_EQ(rows("select NUMERO, ANOPROC, MESPROC, MUNORIG, MUNATEN, NOMEPAC, CGC_HSP from TBBAIXA "
                   "where ANOPROC = 2016 and MESPROC = 4 order by NUMERO"),
              QStringList({"271610000020|2016|4|2700300|2704302|ANA D'ÁVILA; --|34567890000121",
                           "271610000021|2016|4|2700300|2704302|SEM PRESTADOR|",
                           "271650000041|2016|4|2799999|2704302|MUNICIPIO FORA DO MUN|23456789000110"}));
    EXPECT_EQ(one("select NOM_HSP from TBHOSP where CGC_HSP = '34567890000121'"), "HOSPITAL GERAL DO ESTADO");
    EXPECT_EQ(rows("select MUNORIG from TBBAIXAMES where ANOPROC = 2016 and MESPROC = 4"), QStringList({"2700300"}));
    // The source is only read; its transaction stays open.
    EXPECT_TRUE(dm->trImport().active());
    EXPECT_EQ(dm->dbImport.databaseName(), source);
}

TEST_P(WindowsImportTest, BatchesLeaveWhatTheRowByRowStepsLeave)
{
    DataDir other;
    std::unique_ptr<DataModule> rowByRow = dataModule(other);
    const QString otherSource = vorqCopy(other);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        const ImportSummary batched = import(*dm, laudosOf(*dm, source, 4), Method::Batched);
        const ImportSummary single = import(*rowByRow, laudosOf(*rowByRow, otherSource, 4), Method::RowByRow);
        EXPECT_EQ(batched.text(), single.text());
        EXPECT_EQ(writtenTables(), writtenTables(rowByRow->dbAih));
    }
}

TEST_P(WindowsImportTest, SourcesThatCannotBeUsed)
{
    bool hasMunicipality = true;
    // A file that is not a database: the error names it.
    const QString notADatabase = dir.file(QStringLiteral("não é banco.gdb"));
    QFile junk(notADatabase);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8192, 'x'));
    junk.close();
    try {
        connectVorqDatabase(*dm, notADatabase, hasMunicipality);
        FAIL() << "connected";
    } catch (const db::DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(notADatabase)) << e.message().toStdString();
    }
    // An empty TABMUN.
    db::Database vorq;
    vorq.setDatabaseName(source);
    db::Query q(vorq);
    q.setSql("delete from TABMUN");
    q.execSql();
    vorq.close();
    EXPECT_EQ(connectVorqDatabase(*dm, source, hasMunicipality), "");
    EXPECT_FALSE(hasMunicipality);
}

INSTANTIATE_TEST_SUITE_P(WriteOff, DosImportTest, ::testing::Values(Edition::Municipal, Edition::State), editionName);
INSTANTIATE_TEST_SUITE_P(WriteOff, WindowsImportTest, ::testing::Values(Edition::Municipal, Edition::State),
                         editionName);

} // namespace
