#include "writeoff/vorqimport.h"

#include "core/datamodule.h"
#include "core/numbers.h"
#include "writeoff/dbase.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <optional>

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

// What a number's row came to, one letter per row as the batches return them.
enum Outcome : char {
    kInserted = 'I',       // recorded in TBBAIXA
    kMarked = 'M',         // marked again; TBBAIXA already had it
    kNotDistributed = 'N', // not in TBMOVIM
    kZero = 'Z',           // number 0, not in TBMOVIM: N_AIH was unreadable, or a laudo had none
};

void addOutcome(ImportSummary& s, char outcome)
{
    switch (outcome) {
    case kInserted: ++s.writtenOff; break;
    case kMarked: ++s.alreadyWrittenOff; break;
    case kNotDistributed: ++s.notDistributed; break;
    default: ++s.unreadable; break;
    }
}

// The number the database compares: the floating-point value converted to a
// 64-bit integer; none when the conversion overflows (the statement then fails).
std::optional<qint64> numberKey(double numero)
{
    if (!std::isfinite(numero) || numero >= 9223372036854775807.0 || numero < -9223372036854775807.0)
        return std::nullopt;
    return static_cast<qint64>(std::llround(numero));
}

// One row of the month, whichever its source. `hospital` is the CNPJ of a
// DOS record, the provider's CNES of a laudo.
struct NumberRow {
    double numero = 0;
    double dv = 0;
    QString origin;
    QString care;
    QString patient;
    QString hospital;
};

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
    q.clearSql();
    q.addLine(sql);
}

// A batch: an EXECUTE BLOCK whose text depends only on its number of rows,
// so every full batch reuses one prepared statement. It ends with one SUSPEND
// that returns what the batch counted.
class Batch {
public:
    explicit Batch(db::Query& q) : q_(q) {}
    ~Batch() { q_.close(); }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    void use(const QString& text)
    {
        if (text == text_)
            return;
        q_.close();
        q_.clearSql();
        q_.addLine(text);
        q_.setParamCheck(false); // the block's ":variables" are its own
        text_ = text;
    }
    void bind(int index, const QVariant& value) { q_.setParam(index, value); }
    QVariant run()
    {
        q_.close();
        q_.prepare();
        q_.open();
        const QVariant result = q_.value(0);
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
// unless it is there already (from an earlier import or an earlier row). The
// hospital's CNPJ is the row's own (DOS) or its provider's (Windows). A row
// already marked is not written again: its content would not change. The
// block returns one outcome letter per row.
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
           + QStringLiteral(") returns (t varchar(%1)) as\n"
                            "declare function w(n bigint, d smallint, y smallint, m smallint, o varchar(7), "
                            "a varchar(7), p varchar(40), ")
                 .arg(rows)
           + hospital + QStringLiteral(") returns char(1) as\n")
           + (windows ? QStringLiteral("declare c varchar(14);\n") : QString())
           + QStringLiteral("begin\n"
                            "  update tbmovim set usada = 'S' where numero = :n and usada is distinct from 'S';\n"
                            "  if (row_count = 0) then\n"
                            "    if (not exists(select 1 from tbmovim where numero = :n)) then\n"
                            "      return iif(n = 0, 'Z', 'N');\n"
                            "  if (exists(select 1 from tbbaixa where numero = :n)) then return 'M';\n")
           + cnpj
           + QStringLiteral("  insert into tbbaixa (NUMERO,DV,ANOPROC,MESPROC,MUNORIG,MUNATEN,NOMEPAC,CGC_HSP) "
                            "values (:n, :d, :y, :m, :o, :a, :p, :c);\n"
                            "  return 'I';\n"
                            "end\n"
                            "begin\n"
                            "t = '';\n")
           + calls(rows, windows ? QStringLiteral("t = t || w(:n%1, :d%1, :y, :m, :o%1, :a%1, :p%1, :s%1);")
                                 : QStringLiteral("t = t || w(:n%1, :d%1, :y, :m, :o%1, :a%1, :p%1, :c%1);"))
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

// Sends `count` rows in batches of the block `text(rows)`; `bindRow` binds
// the i-th one from parameter `at` on, `take` receives each batch's result
// with the position of its first row.
template <class Text, class Bind, class Take>
void inBatches(db::Query& q, qint64 count, int fixed, int perRow, const QString& phase, const Progress& progress,
               Text text, Bind bindRow, Take take)
{
    Batch batch(q);
    for (qint64 start = 0; start < count; start += kBatch) {
        const int rows = static_cast<int>(std::min<qint64>(kBatch, count - start));
        batch.use(text(rows));
        for (int i = 0; i < rows; ++i)
            bindRow(batch, fixed + perRow * i, start + i);
        take(batch.run(), start, rows);
        report(progress, phase, start + rows, count);
    }
}

// The first occurrence of each value, in order: a repeat finds done what its
// first occurrence did, and changes nothing.
template <class Key>
std::vector<qint64> firstOccurrences(qint64 count, Key key)
{
    std::vector<qint64> firsts;
    QSet<QString> seen;
    for (qint64 i = 0; i < count; ++i) {
        const QString k = key(i);
        if (!seen.contains(k)) {
            seen.insert(k);
            firsts.push_back(i);
        }
    }
    return firsts;
}

// Hospitals in batches: each block adds, in order, those TBHOSP lacks and
// returns how many it added.
qint64 hospitalsBatched(db::Query& q, const std::vector<QStringList>& rows, QString (*block)(int))
{
    qint64 added = 0;
    const int perRow = rows.empty() ? 1 : static_cast<int>(rows.front().size());
    inBatches(
        q, static_cast<qint64>(rows.size()), 0, perRow, kHospitalsPhase, {}, block,
        [&](Batch& b, int at, qint64 row) {
            const QStringList& values = rows[static_cast<size_t>(row)];
            for (int v = 0; v < values.size(); ++v)
                b.bind(at + v, values[v]);
        },
        [&](const QVariant& result, qint64, int) { added += result.toLongLong(); });
    return added;
}

// The numbers in batches. A number's repeats are not sent: they come to what
// its first row came to, except that a first row that recorded the number
// leaves its repeats only marking it.
void numbersBatched(DataModule& dm, const std::vector<NumberRow>& rows, double year, double month, bool windows,
                    ImportSummary& s, const Progress& progress)
{
    const qint64 count = static_cast<qint64>(rows.size());
    std::vector<qint64> firstOf(rows.size(), -1);
    std::vector<qint64> sent;
    QHash<qint64, qint64> seen;
    for (qint64 i = 0; i < count; ++i) {
        if (const auto key = numberKey(rows[static_cast<size_t>(i)].numero)) {
            const auto it = seen.constFind(*key);
            if (it != seen.constEnd()) {
                firstOf[static_cast<size_t>(i)] = *it;
                continue;
            }
            seen.insert(*key, i);
        }
        sent.push_back(i);
    }
    // Each number sent touches only its own rows, so the order is free: by
    // number, the engine walks TBMOVIM and the indexes in order.
    std::stable_sort(sent.begin(), sent.end(), [&](qint64 a, qint64 b) {
        const auto ka = numberKey(rows[static_cast<size_t>(a)].numero);
        const auto kb = numberKey(rows[static_cast<size_t>(b)].numero);
        return ka && (!kb || *ka < *kb);
    });
    std::vector<char> outcome(rows.size(), kNotDistributed);
    inBatches(
        dm.quAtualiza2, static_cast<qint64>(sent.size()), 2, 6, kNumbersPhase, progress,
        [windows](int n) { return numberBlock(n, windows); },
        [&](Batch& b, int at, qint64 position) {
            const NumberRow& r = rows[static_cast<size_t>(sent[static_cast<size_t>(position)])];
            b.bind(0, year);
            b.bind(1, month);
            b.bind(at, r.numero);
            b.bind(at + 1, r.dv);
            b.bind(at + 2, r.origin);
            b.bind(at + 3, r.care);
            b.bind(at + 4, r.patient);
            b.bind(at + 5, r.hospital);
        },
        [&](const QVariant& result, qint64 start, int batchRows) {
            const QString codes = result.toString();
            if (codes.size() != batchRows)
                throw db::DatabaseError(QStringLiteral("Resposta inesperada do banco de dados na baixa dos números"));
            for (int j = 0; j < batchRows; ++j)
                outcome[static_cast<size_t>(sent[static_cast<size_t>(start + j)])] = codes.at(j).toLatin1();
        });
    for (size_t i = 0; i < rows.size(); ++i) {
        char c = outcome[i];
        if (firstOf[i] >= 0) {
            c = outcome[static_cast<size_t>(firstOf[i])];
            if (c == kInserted)
                c = kMarked;
        }
        addOutcome(s, c);
    }
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
        s.municipalitiesRecorded += batch.run().toLongLong();
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

// The numbers of the month, one statement at a time. `cnpjOf` gives a row's
// CGC_HSP, asked only when the row is recorded.
template <class Cnpj>
void numbersRowByRow(DataModule& dm, const std::vector<NumberRow>& rows, double year, double month,
                     ImportSummary& s, const Progress& progress, Cnpj cnpjOf)
{
    setText(dm.quConsulta, QStringLiteral("select * from tbmovim where numero = :p1"));
    setText(dm.quConsulta2, QStringLiteral("select * from tbbaixa where numero = :p1"));
    setText(dm.quAtualiza, QStringLiteral("update tbmovim set usada = 'S' where numero = :p1"));
    setText(dm.quAtualiza2, QStringLiteral("insert into tbbaixa (NUMERO,DV,ANOPROC,MESPROC,MUNORIG,MUNATEN,NOMEPAC,"
                                           "CGC_HSP) values (:p1, :p2, :p3, :p4, :p5, :p6, :p7, :p8)"));
    const qint64 total = static_cast<qint64>(rows.size());
    for (qint64 i = 0; i < total; ++i) {
        const NumberRow& r = rows[static_cast<size_t>(i)];
        char outcome = r.numero == 0 ? kZero : kNotDistributed;
        if (found(dm.quConsulta, {r.numero})) {
            run(dm.quAtualiza, {r.numero}, false);
            outcome = kMarked;
            if (!found(dm.quConsulta2, {r.numero})) {
                run(dm.quAtualiza2, {r.numero, r.dv, year, month, r.origin, r.care, r.patient, cnpjOf(r)}, false);
                outcome = kInserted;
            }
        }
        addOutcome(s, outcome);
        if ((i + 1) % kProgressStep == 0 || i + 1 == total)
            report(progress, kNumbersPhase, i + 1, total);
    }
    dm.quConsulta.close();
    dm.quConsulta2.close();
}

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
    month.admissions.reserve(static_cast<size_t>(f110.recordCount()));
    const QString admissions = QStringLiteral("Lendo F110.DBF");
    const QByteArray selected = competence.toLatin1(); // digits, the same bytes in every code page read
    for (int r = 0; r < f110.recordCount(); ++r) {
        if (r % 4096 == 0)
            report(progress, admissions, r, f110.recordCount());
        if (!f110.read(r) || !f110.holds(kCmpt, selected))
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
    std::vector<NumberRow> rows;
    rows.reserve(data.admissions.size());
    for (const Admission& a : data.admissions)
        rows.push_back({a.numero, a.dv, a.residence, a.admission, a.patient, a.cnpj});
    const auto& hospitals = data.hospitals;
    const qint64 hospitalCount = static_cast<qint64>(hospitals.size());

    db::WriteResult result = db::guardedWrite(dm.trAih(), [&] {
        report(progress, kHospitalsPhase, 0, hospitalCount);
        if (method == Method::Batched) {
            // A CNPJ repeated in the file finds the row its first occurrence added.
            std::vector<QStringList> firsts;
            for (qint64 i : firstOccurrences(hospitalCount, [&](qint64 i) { return hospitals[size_t(i)].cnpj; }))
                firsts.push_back({hospitals[size_t(i)].cnpj, hospitals[size_t(i)].name});
            s.hospitalsAdded = hospitalsBatched(dm.quAtualiza, firsts, dosHospitalBlock);
            numbersBatched(dm, rows, y, m, false, s, progress);
        } else {
            setText(dm.quConsulta, QStringLiteral("select * from tbhosp where cgc_hsp = :p1"));
            setText(dm.quAtualiza, QStringLiteral("insert into tbhosp (CGC_HSP,NOM_HSP) values (:p1, :p2)"));
            for (const Hospital& h : hospitals) {
                if (!found(dm.quConsulta, {h.cnpj})) {
                    run(dm.quAtualiza, {h.cnpj, h.name}, false);
                    ++s.hospitalsAdded;
                }
            }
            dm.quConsulta.close();
            numbersRowByRow(dm, rows, y, m, s, progress, [](const NumberRow& r) { return r.hospital; });
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
    std::vector<NumberRow> rows;
    rows.reserve(laudos.size());
    for (const Laudo& l : laudos)
        rows.push_back({l.numaih, l.dvaih, l.origin, l.admission, l.patient, l.cnes});

    db::WriteResult result = db::guardedWrite(dm.trAih(), [&] {
        // First pass: the laudos' providers.
        report(progress, kHospitalsPhase, 0, count);
        if (method == Method::Batched) {
            // A CNES seen before finds its provider already registered.
            std::vector<QStringList> firsts;
            for (qint64 i : firstOccurrences(count, [&](qint64 i) { return laudos[size_t(i)].cnes; }))
                firsts.push_back({laudos[size_t(i)].cnes});
            s.hospitalsAdded = hospitalsBatched(dm.quAtualiza, firsts, windowsHospitalBlock);
            // Second pass: the numbers.
            numbersBatched(dm, rows, y, m, true, s, progress);
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
            numbersRowByRow(dm, rows, y, m, s, progress, [&](const NumberRow& r) {
                return found(dm.quConsulta3, {r.hospital}) ? dm.quConsulta3.value(0).toString() : QString();
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
