#include "ranges/rangerules.h"

#include "core/datamodule.h"
#include "core/numbers.h"

namespace talvera::ranges {

// The movement rows of [f, l], generated inside the server: the same values,
// in the same order, as one insert per number with its check digit (the base
// modulo 11, 10 giving 0).
const char* const kGeneratedExpansion =
    "execute block (r varchar(7) = ?, a smallint = ?, m smallint = ?, o varchar(7) = ?, t varchar(1) = ?, "
    "f bigint = ?, l bigint = ?) as\n"
    "declare x bigint;\n"
    "declare d smallint;\n"
    "begin\n"
    "  x = f;\n"
    "  while (x <= l) do\n"
    "  begin\n"
    "    d = mod(x, 11);\n"
    "    if (d = 10) then d = 0;\n"
    "    insert into tbmovim (MUNREF,ANOCOMP,MESCOMP,MUNORIG,TIPO,NUMERO,DV,USADA) "
    "values (:r, :a, :m, :o, :t, :x, :d, 'N');\n"
    "    x = x + 1;\n"
    "  end\n"
    "end";

namespace {

const QString kInicialInvalido = QStringLiteral("Valor Inicial inválido");
const QString kFinalInvalido = QStringLiteral("Valor Final inválido");

// Runs a select on the query with its parameters; true when a row came back.
bool hasRows(db::Query& q, const QString& sql, const QVariantList& params)
{
    q.setStatement(sql, params);
    q.open();
    return !q.eof();
}

void exec(db::Query& q, const QString& sql, const QVariantList& params)
{
    q.setStatement(sql, params);
    q.execSql();
}

// Numbers per round trip of the server-side expansion: large enough that the
// round trips vanish beside the inserts, small enough to report progress and
// to stop soon when cancelled.
constexpr qint64 kChunk = 10000;

void report(const Progress& progress, qint64 done, qint64 total)
{
    if (progress && !progress(done, total))
        throw db::Cancelled(QStringLiteral("Distribuição cancelada pelo operador; nada foi gravado."));
}

} // namespace

bool categoryAccepted(int category)
{
    return category == 1 || category == 4 || category == 5;
}

QString categoryRefusal()
{
    return QStringLiteral("Utilize apenas as categorias 1, 4 ou 5");
}

QStringList categoryItems()
{
    return {QStringLiteral("1 - AIH's p/ uso geral"), QStringLiteral("2 - APAC's"),
            QStringLiteral("3 - AIH's específica da CNRAC"), QStringLiteral("4 - APAC's específica da CNRAC"),
            QStringLiteral("5 - AIH's p/ cirurgias eletivas")};
}

QString checkNumbers(const TypedRange& r)
{
    using namespace numbers;
    if (checkDigit(r.first) != r.firstDigit)
        return QStringLiteral("Dígito verificador inicial inválido");
    if (checkDigit(r.last) != r.lastDigit)
        return QStringLiteral("Dígito verificador final inválido");
    if (r.last < r.first)
        return QStringLiteral("O valor Final tem que ser maior que o inicial");
    if (!hasTwelveDigits(r.first))
        return kInicialInvalido;
    if (!hasTwelveDigits(r.last))
        return kFinalInvalido;
    if (r.category == 5 && stateOf(r.first) != 27)
        return kInicialInvalido;
    if (r.category == 5 && stateOf(r.last) != 27)
        return kFinalInvalido;
    if (yearDigitsOf(r.first) != r.year % 100)
        return kInicialInvalido;
    if (yearDigitsOf(r.last) != r.year % 100)
        return kFinalInvalido;
    if (categoryOf(r.first) != r.category)
        return kInicialInvalido;
    if (categoryOf(r.last) != r.category)
        return kFinalInvalido;
    return {};
}

QString checkRange(const TypedRange& r)
{
    if (r.category == 0)
        return QStringLiteral("Selecione a categoria");
    if (!categoryAccepted(r.category))
        return categoryRefusal();
    return checkNumbers(r);
}

bool overlaps(qint64 first1, qint64 last1, qint64 first2, qint64 last2)
{
    return first1 <= last2 && first2 <= last1;
}

std::optional<qint64> readNumber(const QString& digits)
{
    bool ok = false;
    const qint64 value = digits.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

Statement distributionListing(const DistributionFilter& f)
{
    Statement s{QStringLiteral("select * from TBDISTR where ANOCOMP > 2005 "), {}};
    if (f.municipality) {
        s.sql += f.order == 0 ? QStringLiteral("and munorig = :p1 ") : QStringLiteral("and munref = :p1 ");
        s.params << *f.municipality;
    }
    if (f.year) {
        s.sql += QStringLiteral("and anocomp = :p2 ");
        s.params << *f.year;
    }
    if (f.month) {
        s.sql += QStringLiteral("and mescomp = :p3 ");
        s.params << *f.month;
    }
    switch (f.order) {
    case 0: s.sql += QStringLiteral("order by MUNORIG, ANOCOMP, MESCOMP, MUNREF"); break;
    case 1: s.sql += QStringLiteral("order by MUNREF, ANOCOMP, MESCOMP, MUNORIG"); break;
    case 2: s.sql += QStringLiteral("order by ANOCOMP, MESCOMP, MUNORIG, MUNREF"); break;
    default: break;
    }
    return s;
}

MovementStatements movementConsultation(const MovementFilter& f)
{
    QString filter;
    QVariantList params;
    if (f.number) {
        filter += QStringLiteral("and numero = :p1 ");
        params << *f.number;
    }
    if (f.municipality) {
        filter += f.byOrigin ? QStringLiteral("and munorig = :p2 ") : QStringLiteral("and munref = :p2 ");
        params << *f.municipality;
    }
    if (f.year) {
        filter += QStringLiteral("and anocomp = :p3 ");
        params << *f.year;
    }
    if (f.month) {
        filter += QStringLiteral("and mescomp = :p4 ");
        params << *f.month;
    }
    const QString order = f.byOrigin ? QStringLiteral("order by ANOCOMP, MESCOMP, MUNORIG, NUMERO")
                                     : QStringLiteral("order by ANOCOMP, MESCOMP, MUNREF, NUMERO");
    return {{QStringLiteral("select * from TBMOVIM where anocomp > 2005 ") + filter + order, params},
            {QStringLiteral("select count (*) quant from TBMOVIM where anocomp > 2005 ") + filter, params},
            {QStringLiteral("select count (*) quant from TBMOVIM where anocomp > 2005 and usada = 'S' ") + filter,
             params},
            {QStringLiteral("select count (*) quant from TBMOVIM where anocomp > 2005 and usada = 'N' ") + filter,
             params}};
}

bool forecastOverlaps(DataModule& dm, qint64 first, qint64 last)
{
    // Inclusive bounds: a block sharing even one end number overlaps.
    return hasRows(dm.quConsulta, QStringLiteral("select * from tbanual where inicial <= :p1 and final >= :p2"),
                   {last, first});
}

bool anyDistributed(DataModule& dm, qint64 first, qint64 last)
{
    return hasRows(dm.quConsulta,
                   QStringLiteral("select first 1 * from tbmovim where numero >= :p1 and numero <= :p2"),
                   {first, last});
}

bool anyWrittenOff(DataModule& dm, qint64 first, qint64 last)
{
    return hasRows(
        dm.quConsulta,
        QStringLiteral("select first 1 * from tbmovim where numero >= :p1 and numero <= :p2 and usada = :p3"),
        {first, last, QStringLiteral("S")});
}

db::WriteResult insertForecast(DataModule& dm, const ForecastBlock& b)
{
    return db::guardedWrite(dm.trAih(), [&] {
        exec(dm.quAtualiza,
             QStringLiteral("insert into tbanual (ANO,MUNORIG,INICIAL,DVINIC,FINAL,DVFINA) values "
                            "(:p1, :p2, :p3, :p4, :p5, :p6)"),
             {b.year, b.municipality, b.first, b.firstDigit, b.last, b.lastDigit});
    });
}

db::WriteResult deleteForecast(DataModule& dm, const ForecastBlock& b)
{
    return db::guardedWrite(dm.trAih(), [&] {
        exec(dm.quAtualiza,
             QStringLiteral("delete from tbanual where ano = :p1 and munorig = :p2 and inicial = :p3 and final = :p4"),
             {b.year, b.municipality, b.first, b.last});
    });
}

bool insideForecast(DataModule& dm, const QString& reference, qint64 first, qint64 last)
{
    return hasRows(dm.quConsulta,
                   QStringLiteral("select * from tbanual where munorig = :p1 and inicial <= :p2 and final >= :p3"),
                   {reference, first, last});
}

bool distributionExists(DataModule& dm, const Distribution& d)
{
    return hasRows(dm.quConsulta,
                   QStringLiteral("select * from tbdistr where anocomp = :p1 and mescomp = :p2 and munorig = :p3 "
                                  "and inicial = :p4 and final = :p5"),
                   {d.year, d.month, d.origin, d.first, d.last});
}

// The engine makes the rows itself, check digits included: one request per
// chunk instead of one per number. Over a network that saves a round trip per
// number; in-process it still beats one prepared insert per number.
void expandMovements(db::Query& q, const Distribution& d, const Progress& progress)
{
    q.close();
    q.clearSql();
    q.addLine(QString::fromLatin1(kGeneratedExpansion));
    q.setParamCheck(false); // the block's ":variables" are its own
    const qint64 total = d.last - d.first + 1;
    for (qint64 start = d.first; start <= d.last; start += kChunk) {
        const qint64 end = std::min(d.last, start + kChunk - 1);
        const QVariant values[] = {d.reference, d.year, d.month, d.origin, d.type, start, end};
        for (int i = 0; i < 7; ++i)
            q.setParam(i, values[i]);
        q.prepare();
        q.execSql();
        report(progress, end - d.first + 1, total);
    }
}

db::WriteResult saveDistribution(DataModule& dm, const Distribution& d, const Progress& progress)
{
    return db::guardedWrite(dm.trAih(), [&] {
        exec(dm.quAtualiza,
             QStringLiteral("insert into tbdistr (MUNREF,ANOCOMP,MESCOMP,MUNORIG,INICIAL,DVINIC,FINAL,DVFINA,TIPO) "
                            "values (:p1, :p2, :p3, :p4, :p5, :p6, :p7, :p8, :p9)"),
             {d.reference, d.year, d.month, d.origin, d.first, d.firstDigit, d.last, d.lastDigit, d.type});
        expandMovements(dm.quAtualiza2, d, progress);
    });
}

db::WriteResult deleteDistribution(DataModule& dm, const Distribution& d)
{
    return db::guardedWrite(dm.trAih(), [&] {
        exec(dm.quAtualiza,
             QStringLiteral("delete from tbdistr where munorig = :p1 and anocomp = :p2 and mescomp = :p3 "
                            "and inicial = :p4 and final = :p5"),
             {d.origin, d.year, d.month, d.first, d.last});
        exec(dm.quAtualiza2,
             QStringLiteral("delete from tbmovim where munorig = :p1 and anocomp = :p2 and mescomp = :p3 "
                            "and numero >= :p4 and numero <= :p5"),
             {d.origin, d.year, d.month, d.first, d.last});
    });
}

std::optional<std::pair<qint64, qint64>> proposeRange(DataModule& dm, const QString& reference, int year,
                                                      int category, qint64 quantity)
{
    if (quantity <= 0)
        return std::nullopt;
    struct Block {
        qint64 first;
        qint64 last;
    };
    std::vector<Block> blocks;
    db::Query& q = dm.quConsulta;
    q.setStatement(QStringLiteral("select inicial, final from tbanual where munorig = :p1 order by inicial"),
                   {reference});
    for (q.open(); !q.eof(); q.next()) {
        const qint64 first = q.value(0).toLongLong();
        if (numbers::yearDigitsOf(first) == year % 100 && numbers::categoryOf(first) == category)
            blocks.push_back({first, q.value(1).toLongLong()});
    }
    q.close();
    db::Query& used = dm.quConsulta2;
    for (const Block& b : blocks) {
        used.setStatement(QStringLiteral("select max(numero) from tbmovim where numero >= :p1 and numero <= :p2"),
                          {b.first, b.last});
        used.open();
        const QVariant highest = used.value(0);
        used.close();
        const qint64 next = highest.isNull() ? b.first : highest.toLongLong() + 1;
        if (b.last - next + 1 >= quantity)
            return std::make_pair(next, next + quantity - 1);
    }
    return std::nullopt;
}

} // namespace talvera::ranges
