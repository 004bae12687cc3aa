#include "writeoff/writeoffrules.h"

#include "core/datamodule.h"

namespace talvera::writeoff {

namespace {

void exec(db::Query& q, const QString& sql, const QVariantList& params = {})
{
    q.setStatement(sql, params);
    q.execSql();
}

void step(const Progress& progress, const QString& phase, qint64 done, qint64 total)
{
    if (progress && !progress(phase, done, total))
        throw db::Cancelled(QStringLiteral("Atualização cancelada pelo operador; nada foi alterado."));
}

} // namespace

Statement writeOffSearch(const WriteOffFilter& f)
{
    Statement s{QStringLiteral("select * from TBBAIXA where anoproc > 2005 "), {}};
    if (f.number) {
        s.sql += QStringLiteral("and numero = :p1 ");
        s.params << *f.number;
    }
    if (f.municipality) {
        s.sql += QStringLiteral("and munaten = :p2 ");
        s.params << *f.municipality;
    }
    if (f.year) {
        s.sql += QStringLiteral("and anoproc = :p3 ");
        s.params << *f.year;
    }
    if (f.month) {
        s.sql += QStringLiteral("and mesproc = :p4 ");
        s.params << *f.month;
    }
    if (f.patient) {
        s.sql += QStringLiteral("and nomepac like :p5 ");
        s.params << QStringLiteral("%") + *f.patient + QStringLiteral("%");
    }
    s.sql += QStringLiteral("order by ANOPROC, MESPROC, MUNATEN, NUMERO");
    return s;
}

db::WriteResult rebuildWithoutWriteOffs(DataModule& dm, int year, int month, const Progress& progress)
{
    const double y = year;
    const double m = month;
    return db::guardedWrite(dm.trAih(), [&] {
        step(progress, QStringLiteral("Excluindo a consulta anterior"), 0, 2);
        exec(dm.quAtualiza, QStringLiteral("delete from tbnbaixames"));
        step(progress, QStringLiteral("Procurando os municípios"), 1, 2);
        exec(dm.quAtualiza2,
             QStringLiteral("insert into TBNBAIXAMES (MUNORIG,ANOPROC,MESPROC) "
                            "select m.CODMUN, cast(:p1 as smallint), cast(:p2 as smallint) from MUN m "
                            "where not exists (select * from TBBAIXAMES b where b.MUNORIG = m.CODMUN "
                            "and b.ANOPROC = :p3 and b.MESPROC = :p4)"),
             {y, m, y, m});
        step(progress, QStringLiteral("Procurando os municípios"), 2, 2);
    });
}

db::WriteResult generateParameter(DataModule& dm, const QString& code, const QString& name)
{
    return db::guardedWrite(dm.trMun(), [&] {
        exec(dm.quAltmun, QStringLiteral("delete from tabmun"));
        exec(dm.quAltmun, QStringLiteral("insert into tabmun (codmun,nome) values (:p1, :p2)"), {code, name});
    });
}

db::WriteResult generateVorqParameter(DataModule& dm, const QString& code, const QString& name)
{
    return db::guardedWrite(dm.trVorqwin(), [&] {
        exec(dm.quAtualvorq, QStringLiteral("delete from laudo"));
        exec(dm.quAtualvorq, QStringLiteral("delete from tabmun"));
        exec(dm.quAtualvorq, QStringLiteral("insert into tabmun (codmun,nome) values (:p1, :p2)"), {code, name});
    });
}

db::WriteResult cleanUpMonth(DataModule& dm, const CleanUp& c)
{
    return db::guardedWrite(dm.trVorqwin(), [&] {
        exec(dm.quAtualvorq, QStringLiteral("delete from laudo"));

        db::Query& read = dm.quConsvorq;
        read.setStatement(QStringLiteral("select * from parame"));
        read.open();
        if (read.eof()) {
            exec(dm.quAtualvorq, QStringLiteral("insert into parame (mes,ano) values (:p1,:p2)"),
                 {double(c.month), double(c.year)});
        } else if (read.value(QStringLiteral("MES")).toInt() != c.month
                   || read.value(QStringLiteral("ANO")).toInt() != c.year) {
            // No condition: every row of PARAME gets the month.
            exec(dm.quAtualvorq, QStringLiteral("update parame set mes = :p1, ano = :p2"),
                 {double(c.month), double(c.year)});
        }
        read.close();

        read.setStatement(QStringLiteral("select * from tabmun"));
        read.open();
        if (read.eof()) {
            exec(dm.quAtualvorq, QStringLiteral("insert into tabmun (codmun,nome) values (:p1,:p2)"), {c.code, c.name});
        } else if (read.value(QStringLiteral("CODMUN")).toString() != c.code
                   || read.value(QStringLiteral("NOME")).toString() != c.name) {
            exec(dm.quAtualvorq, QStringLiteral("update tabmun set codmun = :p1, nome = :p2"), {c.code, c.name});
        }
        read.close();
    });
}

} // namespace talvera::writeoff
