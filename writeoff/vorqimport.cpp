#include "writeoff/vorqimport.h"

#include "core/datamodule.h"
#include "core/numbers.h"
#include "writeoff/dbase.h"

#include <algorithm>

namespace talvera::writeoff {

namespace {

// Rows per EXECUTE BLOCK: the block's parameters must fit the engine's 64 KiB
// message, and its text the 64 KiB statement limit, with room to spare.
constexpr int kBatch = 128;
// How often the one-row-at-a-time steps report progress.
constexpr int kProgressStep = 500;

// Widths of the columns imported texts go into.
constexpr int kMunicipalityWidth = 7;
constexpr int kPatientWidth = 40;
constexpr int kCnpjWidth = 14;
constexpr int kHospitalNameWidth = 60;
constexpr int kCnesWidth = 7;

const QString kCancelled = QStringLiteral("Importação cancelada pelo operador; nada foi gravado.");

const QString kHospitalsPhase = QStringLiteral("Hospitais");
const QString kNumbersPhase = QStringLiteral("Números");
const QString kMunicipalitiesPhase = QStringLiteral("Municípios");

void report(const Progress& progress, const QString& phase, qint64 done, qint64 total)
{
    if (progress && !progress(phase, done, total))
        throw db::Cancelled(kCancelled);
}

// What a number's row came to; the batches return sums of these codes, so
// up to 999 rows per batch decode without ambiguity.
enum Outcome : qint64 {
    kInserted = 1,
    kMarked = 1000,
    kNotDistributed = 1000000,
    kZero = 1000000000,
};

void addOutcomes(ImportSummary& s, qint64 codes)
{
    s.writtenOff += codes % 1000;
    s.alreadyWrittenOff += codes / kMarked % 1000;
    s.notDistributed += codes / kNotDistributed % 1000;
    s.unreadable += codes / kZero;
}

void addOutcome(ImportSummary& s, double numero, int outcome)
{
    addOutcomes(s, outcome == kNotDistributed && numero == 0 ? qint64{kZero} : qint64{outcome});
}

// --- the field declarations of Vorq's DOS tables ---------------------------

enum F110Field { kNAih, kF110Cgc, kCmpt, kNomePac, kMunRes = 7, kMunInt = 8 };
enum F030Field { kF030Cgc, kNomHsp };

std::unique_ptr<DbaseTable> openF110(const QString& path)
{
    return std::make_unique<DbaseTable>(
        path, QStringLiteral("F110.DBF"),
        std::initializer_list<DeclaredField>{{"N_AIH", 'C'}, {"CGC_HSP", 'C'}, {"CMPT", 'C'}, {"NOME_PAC", 'C'},
                                             {"DATA_NASC", 'D'}, {"PRCD", 'C'}, {"CPF_SOLI", 'C'},
                                             {"MUN_RES", 'C'}, {"MUN_INT", 'C'}, {"SEXO", 'C'}, {"CARINT", 'C'},
                                             {"ESPECIALID", 'C'}, {"VALORTOTAL", 'N'}});
}

std::unique_ptr<DbaseTable> openF030(const QString& path)
{
    return std::make_unique<DbaseTable>(
        path, QStringLiteral("F030.DBF"),
        std::initializer_list<DeclaredField>{{"CGC_HSP", 'C'}, {"NOM_HSP", 'C'}, {"NAT_HSP", 'C'},
                                             {"MUNICIPIO", 'C'}, {"M_USUARIO", 'C'}, {"DATA_DIG", 'D'},
                                             {"HORA", 'C'}});
}

std::unique_ptr<DbaseTable> openM01(const QString& path)
{
    return std::make_unique<DbaseTable>(
        path, QStringLiteral("M01.DBF"),
        std::initializer_list<DeclaredField>{{"MUNICIPIO", 'C'}, {"COMP", 'C'}, {"DATA_ENT", 'D'},
                                             {"QTE_DISTR", 'N'}, {"QTE_APRES", 'N'}, {"MFUSUARIO", 'C'},
                                             {"FLAG_EXCL", 'C'}});
}

// A text read from a file, refused when its column cannot hold it.
QString fitting(const DbaseTable& table, int record, int field, const char* name, int width)
{
    QString value = table.text(field);
    if (value.size() > width)
        throw db::DatabaseError(QStringLiteral("O registro %1 do arquivo %2 tem no campo %3 mais de %4 caracteres; "
                                               "nada foi gravado.")
                                    .arg(record + 1)
                                    .arg(table.label(), QString::fromLatin1(name))
                                    .arg(width));
    return value;
}

// --- statements ------------------------------------------------------------

// Runs a statement of the one-row-at-a-time steps the way every statement is
// sent: close, parameters, prepare, then open or execute.
void run(db::Query& q, const QVariantList& params, bool select)
{
    q.close();
    for (int i = 0; i < params.size(); ++i)
        q.setParam(i, params.at(i));
    q.prepare();
    if (select)
        q.open();
    else
        q.execSql();
}

bool found(db::Query& q, const QVariantList& params)
{
    run(q, params, true);
    return !q.eof();
}

void setText(db::Query& q, const QString& sql)
{
    q.close();
    q.setParamCheck(true);
    q.clearSql();
    q.addLine(sql);
}

// A batch: an EXECUTE BLOCK whose text depends only on its number of rows,
// so every full batch reuses one prepared statement. It ends with one SUSPEND
// that returns what the batch counted.
class Batch {
public:
    explicit Batch(db::Query& q) : q_(q) {}
    ~Batch()
    {
        q_.close();
        q_.setParamCheck(true);
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    void use(const QString& text)
    {
        if (text == text_)
            return;
        q_.close();
        q_.setParamCheck(false); // the block's ":variables" are its own
        q_.clearSql();
        q_.addLine(text);
        text_ = text;
    }
    void bind(int index, const QVariant& value) { q_.setParam(index, value); }
    qint64 run()
    {
        q_.close();
        q_.prepare();
        q_.open();
        const qint64 result = q_.value(0).toLongLong();
        q_.close();
        return result;
    }

private:
    db::Query& q_;
    QString text_;
};

// The block's parameters of `rows` rows, each row's declared by `perRow`.
QString params(int rows, const QString& perRow)
{
    QStringList out;
    for (int i = 0; i < rows; ++i)
        out << perRow.arg(i);
    return out.join(QStringLiteral(", "));
}

QString calls(int rows, const QString& perRow)
{
    QString out;
    for (int i = 0; i < rows; ++i)
        out += perRow.arg(i) + u'\n';
    return out;
}

// Hospitals of the DOS files: a CNPJ not yet in TBHOSP is added with its name;
// a repeat in the file finds the row its first occurrence added.
QString dosHospitalBlock(int rows)
{
    return QStringLiteral("execute block (") + params(rows, QStringLiteral("c%1 varchar(14) = ?, n%1 varchar(60) = ?"))
           + QStringLiteral(") returns (t bigint) as\n"
                            "declare function h(c varchar(14), n varchar(60)) returns integer as\n"
                            "begin\n"
                            "  if (exists(select 1 from tbhosp where cgc_hsp = :c)) then return 0;\n"
                            "  insert into tbhosp (CGC_HSP,NOM_HSP) values (:c, :n);\n"
                            "  return 1;\n"
                            "end\n"
                            "begin\n"
                            "t = 0;\n")
           + calls(rows, QStringLiteral("t = t + h(:c%1, :n%1);")) + QStringLiteral("suspend;\nend");
}

// Hospitals of the Windows import: the laudo's provider, found by CNES in
// PRESTADOR (its first row), added under its CNPJ when TBHOSP lacks it.
QString windowsHospitalBlock(int rows)
{
    return QStringLiteral("execute block (") + params(rows, QStringLiteral("s%1 varchar(7) = ?"))
           + QStringLiteral(") returns (t bigint) as\n"
                            "declare function h(s varchar(7)) returns integer as\n"
                            "declare j varchar(14);\n"
                            "declare f varchar(60);\n"
                            "begin\n"
                            "  for select cnpj, nome_fanta from prestador where cnes = :s into :j, :f do\n"
                            "  begin\n"
                            "    j = coalesce(j, '');\n"
                            "    if (exists(select 1 from tbhosp where cgc_hsp = :j)) then return 0;\n"
                            "    insert into tbhosp (CGC_HSP,NOM_HSP) values (:j, :f);\n"
                            "    return 1;\n"
                            "  end\n"
                            "  return 0;\n"
                            "end\n"
                            "begin\n"
                            "t = 0;\n")
           + calls(rows, QStringLiteral("t = t + h(:s%1);")) + QStringLiteral("suspend;\nend");
}

// The numbers: one that TBMOVIM has is marked used, and recorded in TBBAIXA
// unless it is there already (from an earlier import or an earlier row).
// The hospital's CNPJ is the row's own (DOS) or its provider's (Windows).
QString numberBlock(int rows, bool windows)
{
    const QString hospital = windows ? QStringLiteral("s varchar(7)") : QStringLiteral("c varchar(14)");
    const QString cnpj = windows ? QStringLiteral("  c = '';\n"
                                                  "  for select cnpj from prestador where cnes = :s into :c do\n"
                                                  "  begin\n"
                                                  "    c = coalesce(c, '');\n"
                                                  "    leave;\n"
                                                  "  end\n")
                                 : QString();
    return QStringLiteral("execute block (y smallint = ?, m smallint = ?, ")
           + params(rows, QStringLiteral("n%1 bigint = ?, d%1 smallint = ?, o%1 varchar(7) = ?, a%1 varchar(7) = ?, "
                                         "p%1 varchar(40) = ?, ")
                              + (windows ? QStringLiteral("s%1 varchar(7) = ?") : QStringLiteral("c%1 varchar(14) = ?")))
           + QStringLiteral(") returns (t bigint) as\n"
                            "declare function w(n bigint, d smallint, y smallint, m smallint, o varchar(7), "
                            "a varchar(7), p varchar(40), ")
           + hospital + QStringLiteral(") returns bigint as\n")
           + (windows ? QStringLiteral("declare c varchar(14);\n") : QString())
           + QStringLiteral("begin\n"
                            "  if (not exists(select 1 from tbmovim where numero = :n)) then\n"
                            "    return iif(n = 0, 1000000000, 1000000);\n"
                            "  update tbmovim set usada = 'S' where numero = :n;\n"
                            "  if (exists(select 1 from tbbaixa where numero = :n)) then return 1000;\n")
           + cnpj
           + QStringLiteral("  insert into tbbaixa (NUMERO,DV,ANOPROC,MESPROC,MUNORIG,MUNATEN,NOMEPAC,CGC_HSP) "
                            "values (:n, :d, :y, :m, :o, :a, :p, :c);\n"
                            "  return 1;\n"
                            "end\n"
                            "begin\n"
                            "t = 0;\n")
           + calls(rows, windows ? QStringLiteral("t = t + w(:n%1, :d%1, :y, :m, :o%1, :a%1, :p%1, :s%1);")
                                 : QStringLiteral("t = t + w(:n%1, :d%1, :y, :m, :o%1, :a%1, :p%1, :c%1);"))
           + QStringLiteral("suspend;\nend");
}

// The month's municipalities of origin that MUN knows and TBBAIXAMES lacks.
const QString kMunicipalityBlock = QStringLiteral(
    "execute block (y smallint = ?, m smallint = ?) returns (t bigint) as\n"
    "declare o varchar(7);\n"
    "begin\n"
    "  t = 0;\n"
    "  for select distinct munorig from tbbaixa where anoproc = :y and mesproc = :m into :o do\n"
    "  begin\n"
    "    if (not exists(select 1 from tbbaixames where munorig = :o and anoproc = :y and mesproc = :m)\n"
    "        and exists(select 1 from mun where codmun = :o)) then\n"
    "    begin\n"
    "      insert into tbbaixames (MUNORIG,ANOPROC,MESPROC) values (:o, :y, :m);\n"
    "      t = t + 1;\n"
    "    end\n"
    "  end\n"
    "  suspend;\n"
    "end");

// Runs `bindRow` for each row of `count` in batches of the block `text(rows)`.
template <class Text, class Bind>
qint64 inBatches(db::Query& q, qint64 count, int fixed, int perRow, const QString& phase, const Progress& progress,
                 Text text, Bind bindRow, const std::function<void(qint64)>& add)
{
    Batch batch(q);
    qint64 total = 0;
    for (qint64 start = 0; start < count; start += kBatch) {
        const int rows = static_cast<int>(std::min<qint64>(kBatch, count - start));
        batch.use(text(rows));
        for (int i = 0; i < rows; ++i)
            bindRow(batch, fixed + perRow * i, start + i);
        const qint64 result = batch.run();
        add(result);
        total += result;
        report(progress, phase, start + rows, count);
    }
    return total;
}

void recordMunicipalities(DataModule& dm, double year, double month, ImportSummary& s, Method method,
                          const Progress& progress)
{
    report(progress, kMunicipalitiesPhase, 0, 0);
    if (method == Method::Batched) {
        Batch batch(dm.quAtualiza);
        batch.use(kMunicipalityBlock);
        batch.bind(0, year);
        batch.bind(1, month);
        s.municipalitiesRecorded += batch.run();
        return;
    }
    db::Query& distinct = dm.quConsulta;
    setText(distinct, QStringLiteral("select distinct munorig, anoproc, mesproc from tbbaixa "
                                     "where anoproc = :p1 and mesproc = :p2"));
    setText(dm.quConsulta2,
            QStringLiteral("select * from tbbaixames where munorig = :p1 and anoproc = :p2 and mesproc = :p3"));
    setText(dm.quAtualiza, QStringLiteral("insert into tbbaixames (MUNORIG,ANOPROC,MESPROC) values (:p1, :p2, :p3)"));
    setText(dm.quConsulta3, QStringLiteral("select * from mun where codmun = :p1"));
    for (run(distinct, {year, month}, true); !distinct.eof(); distinct.next()) {
        const QString origin = distinct.value(0).toString();
        const int anoproc = distinct.value(1).toInt();
        const int mesproc = distinct.value(2).toInt();
        if (found(dm.quConsulta2, {origin, anoproc, mesproc}))
            continue;
        if (!found(dm.quConsulta3, {origin}))
            continue;
        run(dm.quAtualiza, {origin, anoproc, mesproc}, false);
        ++s.municipalitiesRecorded;
    }
    distinct.close();
}

// The numbers of the month, one row at a time. `cnpjOf` gives the row's CGC_HSP.
template <class Row, class Cnpj>
void numbersRowByRow(DataModule& dm, const std::vector<Row>& rows, double year, double month, ImportSummary& s,
                     const Progress& progress, Cnpj cnpjOf)
{
    setText(dm.quConsulta, QStringLiteral("select * from tbmovim where numero = :p1"));
    setText(dm.quConsulta2, QStringLiteral("select * from tbbaixa where numero = :p1"));
    setText(dm.quAtualiza, QStringLiteral("update tbmovim set usada = 'S' where numero = :p1"));
    setText(dm.quAtualiza2, QStringLiteral("insert into tbbaixa (NUMERO,DV,ANOPROC,MESPROC,MUNORIG,MUNATEN,NOMEPAC,"
                                           "CGC_HSP) values (:p1, :p2, :p3, :p4, :p5, :p6, :p7, :p8)"));
    const qint64 total = static_cast<qint64>(rows.size());
    for (qint64 i = 0; i < total; ++i) {
        const auto& [numero, dv, origin, care, patient] = rows[static_cast<size_t>(i)].fields();
        int outcome = kNotDistributed;
        if (found(dm.quConsulta, {numero})) {
            run(dm.quAtualiza, {numero}, false);
            outcome = kMarked;
            if (!found(dm.quConsulta2, {numero})) {
                const QString cnpj = cnpjOf(rows[static_cast<size_t>(i)]);
                run(dm.quAtualiza2, {numero, dv, year, month, origin, care, patient, cnpj}, false);
                outcome = kInserted;
            }
        }
        addOutcome(s, numero, outcome);
        if ((i + 1) % kProgressStep == 0 || i + 1 == total)
            report(progress, kNumbersPhase, i + 1, total);
    }
    dm.quConsulta.close();
    dm.quConsulta2.close();
}

// The fields both kinds of row share, for the one-row-at-a-time steps.
struct AdmissionRow {
    const Admission& a;
    std::tuple<double, double, QString, QString, QString> fields() const
    {
        return {a.numero, a.dv, a.residence, a.admission, a.patient};
    }
};

struct LaudoRow {
    const Laudo& l;
    std::tuple<double, double, QString, QString, QString> fields() const
    {
        return {l.numaih, l.dvaih, l.origin, l.admission, l.patient};
    }
};

} // namespace

QString ImportSummary::text() const
{
    return QStringLiteral("Registros do mês lidos: %1\n"
                          "Números baixados: %2\n"
                          "Números já baixados anteriormente: %3\n"
                          "Números não distribuídos: %4\n"
                          "Números ilegíveis: %5\n"
                          "Hospitais incluídos: %6\n"
                          "Municípios registrados: %7")
        .arg(rowsRead)
        .arg(writtenOff)
        .arg(alreadyWrittenOff)
        .arg(notDistributed)
        .arg(unreadable)
        .arg(hospitalsAdded)
        .arg(municipalitiesRecorded);
}

QString competenceText(int month, int year)
{
    return QString::number(month).rightJustified(2, u'0') + QString::number(year % 100).rightJustified(2, u'0');
}

// ------------------------------------------------------------ DOS files

DosFiles::DosFiles() = default;
DosFiles::~DosFiles() = default;
DosFiles::DosFiles(DosFiles&&) noexcept = default;
DosFiles& DosFiles::operator=(DosFiles&&) noexcept = default;

QString openDosFiles(const QString& directory, DosFiles& files)
{
    files = DosFiles();
    const struct {
        const char* name;
        std::unique_ptr<DbaseTable> (*open)(const QString&);
        std::unique_ptr<DbaseTable> DosFiles::*slot;
    } order[] = {{"F110.DBF", openF110, &DosFiles::f110},
                 {"F030.DBF", openF030, &DosFiles::f030},
                 {"M01.DBF", openM01, &DosFiles::m01}};
    for (const auto& file : order) {
        const QString name = QString::fromLatin1(file.name);
        const QString path = findFile(directory, name);
        if (path.isEmpty()) {
            files = DosFiles();
            return QStringLiteral("Arquivo %1 não existe nesse diretório").arg(name);
        }
        files.*file.slot = file.open(path);
    }
    return {};
}

DosMonth readDosMonth(DosFiles& files, const QString& competence, const Progress& progress)
{
    DosMonth month;
    DbaseTable& f030 = *files.f030;
    const QString hospitals = QStringLiteral("Lendo F030.DBF");
    for (int r = 0; r < f030.recordCount(); ++r) {
        if (r % 4096 == 0)
            report(progress, hospitals, r, f030.recordCount());
        if (!f030.read(r))
            continue;
        month.hospitals.push_back({fitting(f030, r, kF030Cgc, "CGC_HSP", kCnpjWidth),
                                   fitting(f030, r, kNomHsp, "NOM_HSP", kHospitalNameWidth)});
    }
    DbaseTable& f110 = *files.f110;
    const QString admissions = QStringLiteral("Lendo F110.DBF");
    for (int r = 0; r < f110.recordCount(); ++r) {
        if (r % 4096 == 0)
            report(progress, admissions, r, f110.recordCount());
        if (!f110.read(r) || f110.text(kCmpt) != competence)
            continue;
        Admission a;
        const numbers::SplitNumber split = numbers::splitVorqNumber(f110.text(kNAih));
        a.numero = split.numero;
        a.dv = split.dv;
        a.cnpj = fitting(f110, r, kF110Cgc, "CGC_HSP", kCnpjWidth);
        a.patient = fitting(f110, r, kNomePac, "NOME_PAC", kPatientWidth);
        a.residence = fitting(f110, r, kMunRes, "MUN_RES", kMunicipalityWidth);
        a.admission = fitting(f110, r, kMunInt, "MUN_INT", kMunicipalityWidth);
        month.admissions.push_back(std::move(a));
    }
    return month;
}

// ------------------------------------------------------- Windows database

QString connectVorqDatabase(DataModule& dm, const QString& path, bool& hasMunicipality)
{
    dm.dbImport.close();
    dm.dbImport.setDatabaseName(path);
    dm.dbImport.open();
    dm.trImport().start();
    db::Dataset& tabmun = dm.dataset(QStringLiteral("quTabmun"));
    tabmun.close();
    tabmun.open();
    hasMunicipality = !tabmun.eof();
    return hasMunicipality ? tabmun.asString(QStringLiteral("NOME")) : QString();
}

std::vector<Laudo> readLaudos(DataModule& dm, int month, int year)
{
    db::Query& q = dm.quBaixawin;
    q.close();
    q.setParamCheck(true);
    q.clearSql();
    q.addLine(QStringLiteral("select NUMAIH, DVAIH, MESCOMP, ANOCOMP, MUNORIG, "));
    q.addLine(QStringLiteral("MUNINTERN, PACIENTE, MESLIBE, ANOLIBE, CNES from LAUDO "));
    q.addLine(QStringLiteral("where MESLIBE = :p1 and ANOLIBE = :p2"));
    run(q, {static_cast<double>(month), static_cast<double>(year)}, true);
    std::vector<Laudo> laudos;
    auto text = [&](const char* column, int width) {
        const QString value = q.value(QString::fromLatin1(column)).toString();
        if (value.size() > width)
            throw db::DatabaseError(QStringLiteral("O laudo da AIH %1 tem em %2 mais de %3 caracteres; nada foi "
                                                   "gravado.")
                                        .arg(q.value(QStringLiteral("NUMAIH")).toString(),
                                             QString::fromLatin1(column))
                                        .arg(width));
        return value;
    };
    for (; !q.eof(); q.next()) {
        Laudo l;
        // Numbers are read as floating-point values, a null one as 0.
        l.numaih = static_cast<double>(q.value(QStringLiteral("NUMAIH")).toLongLong());
        l.dvaih = static_cast<double>(q.value(QStringLiteral("DVAIH")).toLongLong());
        l.origin = text("MUNORIG", kMunicipalityWidth);
        l.admission = text("MUNINTERN", kMunicipalityWidth);
        l.patient = text("PACIENTE", kPatientWidth);
        l.cnes = text("CNES", kCnesWidth);
        laudos.push_back(std::move(l));
    }
    q.close();
    return laudos;
}

// -------------------------------------------------------------- writing off

db::WriteResult importDos(DataModule& dm, const DosMonth& data, int year, int month, ImportSummary& summary,
                          const Progress& progress, Method method)
{
    ImportSummary s;
    s.rowsRead = static_cast<qint64>(data.admissions.size());
    const double y = year;
    const double m = month;
    db::WriteResult result = db::guardedWrite(dm.trAih(), [&] {
        // Hospitals, every one of the file.
        const auto& hospitals = data.hospitals;
        const qint64 hospitalCount = static_cast<qint64>(hospitals.size());
        if (method == Method::Batched) {
            s.hospitalsAdded = inBatches(
                dm.quAtualiza, hospitalCount, 0, 2, kHospitalsPhase, progress, dosHospitalBlock,
                [&](Batch& b, int at, qint64 row) {
                    const Hospital& h = hospitals[static_cast<size_t>(row)];
                    b.bind(at, h.cnpj);
                    b.bind(at + 1, h.name);
                },
                [](qint64) {});
        } else {
            setText(dm.quConsulta, QStringLiteral("select * from tbhosp where cgc_hsp = :p1"));
            setText(dm.quAtualiza, QStringLiteral("insert into tbhosp (CGC_HSP,NOM_HSP) values (:p1, :p2)"));
            for (qint64 i = 0; i < hospitalCount; ++i) {
                const Hospital& h = hospitals[static_cast<size_t>(i)];
                if (!found(dm.quConsulta, {h.cnpj})) {
                    run(dm.quAtualiza, {h.cnpj, h.name}, false);
                    ++s.hospitalsAdded;
                }
                if ((i + 1) % kProgressStep == 0 || i + 1 == hospitalCount)
                    report(progress, kHospitalsPhase, i + 1, hospitalCount);
            }
            dm.quConsulta.close();
        }

        // Numbers.
        const auto& rows = data.admissions;
        if (method == Method::Batched) {
            inBatches(
                dm.quAtualiza2, static_cast<qint64>(rows.size()), 2, 6, kNumbersPhase, progress,
                [](int n) { return numberBlock(n, false); },
                [&](Batch& b, int at, qint64 row) {
                    const Admission& a = rows[static_cast<size_t>(row)];
                    b.bind(0, y);
                    b.bind(1, m);
                    b.bind(at, a.numero);
                    b.bind(at + 1, a.dv);
                    b.bind(at + 2, a.residence);
                    b.bind(at + 3, a.admission);
                    b.bind(at + 4, a.patient);
                    b.bind(at + 5, a.cnpj);
                },
                [&](qint64 codes) { addOutcomes(s, codes); });
        } else {
            std::vector<AdmissionRow> wrapped;
            wrapped.reserve(rows.size());
            for (const Admission& a : rows)
                wrapped.push_back({a});
            numbersRowByRow(dm, wrapped, y, m, s, progress, [](const AdmissionRow& r) { return r.a.cnpj; });
        }

        recordMunicipalities(dm, y, m, s, method, progress);
    });
    if (result)
        summary = s;
    return result;
}

db::WriteResult importWindows(DataModule& dm, const std::vector<Laudo>& laudos, int year, int month,
                              ImportSummary& summary, const Progress& progress, Method method)
{
    ImportSummary s;
    s.rowsRead = static_cast<qint64>(laudos.size());
    const double y = year;
    const double m = month;
    const qint64 count = static_cast<qint64>(laudos.size());
    db::WriteResult result = db::guardedWrite(dm.trAih(), [&] {
        // First pass: the laudos' providers.
        if (method == Method::Batched) {
            s.hospitalsAdded = inBatches(
                dm.quAtualiza, count, 0, 1, kHospitalsPhase, progress, windowsHospitalBlock,
                [&](Batch& b, int at, qint64 row) { b.bind(at, laudos[static_cast<size_t>(row)].cnes); },
                [](qint64) {});
        } else {
            setText(dm.quConsulta, QStringLiteral("select * from tbhosp where cgc_hsp = :p1"));
            setText(dm.quAtualiza, QStringLiteral("insert into tbhosp (CGC_HSP,NOM_HSP) values (:p1, :p2)"));
            setText(dm.quConsulta3, QStringLiteral("select cnpj,nome_fanta from prestador where cnes = :p1"));
            for (qint64 i = 0; i < count; ++i) {
                const Laudo& l = laudos[static_cast<size_t>(i)];
                if (found(dm.quConsulta3, {l.cnes})) {
                    const QString cnpj = dm.quConsulta3.value(0).toString();
                    const QString name = dm.quConsulta3.value(1).toString();
                    if (!found(dm.quConsulta, {cnpj})) {
                        run(dm.quAtualiza, {cnpj, name}, false);
                        ++s.hospitalsAdded;
                    }
                }
                if ((i + 1) % kProgressStep == 0 || i + 1 == count)
                    report(progress, kHospitalsPhase, i + 1, count);
            }
            dm.quConsulta.close();
            dm.quConsulta3.close();
        }

        // Second pass: the numbers.
        if (method == Method::Batched) {
            inBatches(
                dm.quAtualiza2, count, 2, 6, kNumbersPhase, progress, [](int n) { return numberBlock(n, true); },
                [&](Batch& b, int at, qint64 row) {
                    const Laudo& l = laudos[static_cast<size_t>(row)];
                    b.bind(0, y);
                    b.bind(1, m);
                    b.bind(at, l.numaih);
                    b.bind(at + 1, l.dvaih);
                    b.bind(at + 2, l.origin);
                    b.bind(at + 3, l.admission);
                    b.bind(at + 4, l.patient);
                    b.bind(at + 5, l.cnes);
                },
                [&](qint64 codes) { addOutcomes(s, codes); });
        } else {
            std::vector<LaudoRow> wrapped;
            wrapped.reserve(laudos.size());
            for (const Laudo& l : laudos)
                wrapped.push_back({l});
            setText(dm.quConsulta3, QStringLiteral("select cnpj,nome_fanta from prestador where cnes = :p1"));
            numbersRowByRow(dm, wrapped, y, m, s, progress, [&](const LaudoRow& r) {
                return found(dm.quConsulta3, {r.l.cnes}) ? dm.quConsulta3.value(0).toString() : QString();
            });
            dm.quConsulta3.close();
        }

        recordMunicipalities(dm, y, m, s, method, progress);
    });
    if (result)
        summary = s;
    return result;
}

} // namespace talvera::writeoff
