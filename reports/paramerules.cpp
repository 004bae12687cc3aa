#include "reports/paramerules.h"

#include "reports/relato.h"

namespace talvera::reports {

namespace {

struct OptionText {
    const char* option;
    const char* dataset;
    const char* base;
    const char* municipality;
    const char* year;
    const char* month;
    const char* order;
};

// Every piece ends with one space; the order text does not.
const char* const kDistrBase = "select * from TBDISTR where anocomp > 2005 ";
const char* const kDistrYear = "and anocomp = :p2 ";
const char* const kDistrMonth = "and mescomp = :p3 ";
const OptionText kOptions[] = {
    {"1", "quDistr", kDistrBase, "and munorig = :p1 ", kDistrYear, kDistrMonth,
     "order by ANOCOMP, MESCOMP, MUNORIG, INICIAL"},
    {"2", "quDistrref", kDistrBase, "and munref = :p1 ", kDistrYear, kDistrMonth,
     "order by ANOCOMP, MESCOMP, MUNREF, MUNORIG, INICIAL"},
    {"3", "quDistrmun", kDistrBase, "and munorig = :p1 ", kDistrYear, kDistrMonth,
     "order by MUNORIG, ANOCOMP, MESCOMP, MUNREF,INICIAL"},
    // Listed by reference municipality, but filtered on the municipality of origin.
    {"4", "quDistrmun2", kDistrBase, "and munorig = :p1 ", kDistrYear, kDistrMonth,
     "order by MUNREF, ANOCOMP, MESCOMP, MUNORIG, INICIAL"},
    {"5", "quBaixaoriano", "select * from TBMOVIM where TIPO = 'E' ", "and munorig = :p1 ", "and anocomp = :p2 ",
     "and mescomp = :p3 ", "order by MUNORIG,ANOCOMP,USADA"},
    {"6", "quBaixaorianomes", "select * from TBMOVIM where TIPO = 'E' ", "and munorig = :p1 ",
     "and anocomp = :p2 ", "and mescomp = :p3 ", "order by MUNORIG, ANOCOMP, MESCOMP, USADA"},
    {"7", "quRnusada", "select * from TBMOVIM where TIPO = 'E' and USADA = 'N' ", "and munorig = :p1 ",
     "and anocomp = :p2 ", "and mescomp = :p3 ", "order by MUNORIG, ANOCOMP, MESCOMP"},
};

const char* const kUsedBase =
    "SELECT B.ANOPROC, B.MESPROC, B.NUMERO, B.DV, B.MUNATEN, B.CGC_HSP, B.NOMEPAC, M.TIPO, M.MUNREF, M.MUNORIG, "
    "M.ANOCOMP, M.MESCOMP FROM TBBAIXA B INNER JOIN TBMOVIM M ON (B.NUMERO = M.NUMERO) WHERE B.NUMERO > 0 ";

ReportStatement build(const OptionText& t, const ReportFilter& filter)
{
    ReportStatement s;
    s.dataset = QString::fromLatin1(t.dataset);
    s.sql = QString::fromLatin1(t.base);
    if (filter.municipality) {
        s.sql += QString::fromLatin1(t.municipality);
        s.params << *filter.municipality;
    }
    if (filter.year) {
        s.sql += QString::fromLatin1(t.year);
        s.params << *filter.year;
    }
    if (filter.month) {
        s.sql += QString::fromLatin1(t.month);
        s.params << *filter.month;
    }
    s.sql += QString::fromLatin1(t.order);
    return s;
}

} // namespace

std::optional<ReportStatement> reportStatement(const QString& option, const ReportFilter& filter)
{
    for (const OptionText& t : kOptions) {
        if (option == QLatin1String(t.option))
            return build(t, filter);
    }
    const bool byOrigin = option == QLatin1String("8");
    if (!byOrigin && option != QLatin1String("9"))
        return std::nullopt;
    OptionText used{nullptr, "quAtend", kUsedBase, byOrigin ? "AND M.MUNORIG = :p1 " : "AND M.MUNREF = :p1 ",
                    nullptr, nullptr, nullptr};
    if (filter.competence) {
        used.year = "AND M.ANOCOMP = :p2 ";
        used.month = "AND M.MESCOMP = :p3 ";
        used.order = byOrigin ? "order by M.MUNORIG, M.ANOCOMP, M.MESCOMP, M.MUNREF, B.NUMERO"
                              : "order by M.MUNREF, M.ANOCOMP, M.MESCOMP, M.MUNORIG, B.NUMERO";
    } else {
        used.year = "AND B.ANOPROC = :p2 ";
        used.month = "AND B.MESPROC = :p3 ";
        used.order = byOrigin ? "order by M.MUNORIG, B.ANOPROC, B.MESPROC, M.MUNREF, B.NUMERO"
                              : "order by M.MUNREF, B.ANOPROC, B.MESPROC, M.MUNORIG, B.NUMERO";
    }
    return build(used, filter);
}

Report* reportOf(TfmRelato& relato, const QString& option)
{
    Report* const reports[] = {relato.repDistr,       relato.repDistrref,       relato.repDistrmun,
                               relato.repDistrmun2,   relato.repBaixaoriano,    relato.repBaixaorianomes,
                               relato.repNusada,      relato.repAtendorig,      relato.repAtendref};
    bool ok = false;
    const int n = option.toInt(&ok);
    if (!ok || option.size() != 1 || n < 1 || n > 9)
        return nullptr;
    return reports[n - 1];
}

} // namespace talvera::reports
