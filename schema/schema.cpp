#include "schema/schema.h"

#include "core/config.h"
#include "core/firebird.h"
#include "core/numbers.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace talvera::schema {

namespace {

QString readResource(const QString& name)
{
    QFile file(QStringLiteral(":/schema/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw db::DatabaseError(QStringLiteral("Script %1 não encontrado").arg(name));
    return QString::fromUtf8(file.readAll());
}

// One distribution with its movement rows and, optionally, write-offs of its
// first numbers.
struct DemoRange {
    const char* munref;
    int year;
    int month;
    const char* munorig;
    qint64 first;
    qint64 last;
    const char* tipo;
};

void insertDistribution(db::Database& database, const DemoRange& r)
{
    db::Query q(database);
    q.setSql(QStringLiteral("insert into TBDISTR (MUNREF, ANOCOMP, MESCOMP, MUNORIG, INICIAL, DVINIC, "
                            "FINAL, DVFINA, TIPO) values (:ref, :ano, :mes, :orig, :ini, :dvi, :fin, :dvf, :tipo)"));
    const QVariant values[] = {r.munref, r.year, r.month, r.munorig, r.first, numbers::checkDigit(r.first),
                               r.last, numbers::checkDigit(r.last), r.tipo};
    for (int i = 0; i < 9; ++i)
        q.setParam(i, values[i]);
    q.execSql();
    db::Query m(database);
    m.setSql(QStringLiteral("insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, USADA) "
                            "values (:ref, :ano, :mes, :orig, :tipo, :num, :dv, 'N')"));
    for (qint64 n = r.first; n <= r.last; ++n) {
        const QVariant row[] = {r.munref, r.year, r.month, r.munorig, r.tipo, n, numbers::checkDigit(n)};
        for (int i = 0; i < 7; ++i)
            m.setParam(i, row[i]);
        m.execSql();
    }
}

void insertForecast(db::Database& database, int year, const char* mun, qint64 first, qint64 last)
{
    db::Query q(database);
    q.setSql(QStringLiteral("insert into TBANUAL (ANO, MUNORIG, INICIAL, DVINIC, FINAL, DVFINA) "
                            "values (:ano, :mun, :ini, :dvi, :fin, :dvf)"));
    const QVariant values[] = {year, mun, first, numbers::checkDigit(first), last, numbers::checkDigit(last)};
    for (int i = 0; i < 6; ++i)
        q.setParam(i, values[i]);
    q.execSql();
}

struct DemoWriteOff {
    qint64 numero;
    const char* munorig;
    const char* paciente;
    const char* cnpj;
};

void insertWriteOffs(db::Database& database, int year, int month, std::initializer_list<DemoWriteOff> rows)
{
    db::Query used(database);
    used.setSql(QStringLiteral("update TBMOVIM set USADA = 'S' where NUMERO = :num"));
    db::Query baixa(database);
    baixa.setSql(QStringLiteral("insert into TBBAIXA (NUMERO, DV, ANOPROC, MESPROC, MUNORIG, MUNATEN, NOMEPAC, "
                                "CGC_HSP) values (:num, :dv, :ano, :mes, :orig, :aten, :pac, :cgc)"));
    db::Query mes(database);
    mes.setSql(QStringLiteral("update or insert into TBBAIXAMES (MUNORIG, ANOPROC, MESPROC) "
                              "values (:orig, :ano, :mes) matching (MUNORIG, ANOPROC, MESPROC)"));
    for (const DemoWriteOff& w : rows) {
        used.setParam(0, w.numero);
        used.execSql();
        const QVariant values[] = {w.numero, numbers::checkDigit(w.numero), year, month, w.munorig,
                                   kDemoMunicipality, w.paciente, w.cnpj};
        for (int i = 0; i < 8; ++i)
            baixa.setParam(i, values[i]);
        baixa.execSql();
        mes.setParam(0, w.munorig);
        mes.setParam(1, year);
        mes.setParam(2, month);
        mes.execSql();
    }
}

void fillMainDemo(db::Database& database)
{
    runScript(database, readResource(QStringLiteral("demo_reference.sql")));
    insertForecast(database, 2016, "2700300", 271610000001, 271610002000);
    insertForecast(database, 2016, "2700300", 271650000001, 271650001000);
    insertForecast(database, 2016, "2704302", 271610010001, 271610012000);
    insertDistribution(database, {"2700300", 2016, 1, "2700300", 271610000001, 271610000040, "U"});
    insertDistribution(database, {"2700300", 2016, 2, "2701407", 271650000001, 271650000025, "E"});
    insertDistribution(database, {"2700300", 2016, 3, "2706307", 271650000026, 271650000045, "E"});
    insertDistribution(database, {"2704302", 2016, 1, "2704302", 271610010001, 271610010030, "U"});
    insertWriteOffs(database, 2016, 2,
                    {{271610000001, "2700300", "JOSÉ CÍCERO DA SILVA", "12345678000199"},
                     {271610000002, "2700300", "MARIA DAS GRAÇAS SANTOS", "23456789000110"},
                     {271610000003, "2700300", "ANTÔNIO FERREIRA LIMA", "12345678000199"},
                     {271650000001, "2701407", "FRANCISCA CONCEIÇÃO ALVES", "12345678000199"},
                     {271650000002, "2701407", "SEBASTIÃO GONÇALVES", "23456789000110"}});
    database.transaction().commitRetaining();
}

void fillArchiveDemo(db::Database& database)
{
    runScript(database, readResource(QStringLiteral("demo_reference.sql")));
    insertForecast(database, 2010, "2700300", 271010000001, 271010000500);
    insertDistribution(database, {"2700300", 2010, 6, "2700300", 271010000001, 271010000020, "U"});
    insertWriteOffs(database, 2010, 7, {{271010000001, "2700300", "JOSEFA BEZERRA", "12345678000199"}});
    database.transaction().commitRetaining();
}

void fillMunicipality(db::Database& database)
{
    db::Query q(database);
    q.setSql(QStringLiteral("insert into TABMUN (CODMUN, NOME) values (:cod, :nome)"));
    q.setParam(0, QString::fromLatin1(kDemoMunicipality));
    q.setParam(1, QStringLiteral("Arapiraca"));
    q.execSql();
    database.transaction().commitRetaining();
}

void fillVorqDemo(db::Database& database)
{
    fillMunicipality(database);
    db::Query q(database);
    q.setSql(QStringLiteral("insert into PARAME (MES, ANO) values (3, 2016)"));
    q.execSql();
    q.setSql(QStringLiteral(
        "insert into LAUDO (FOLHA, SEQUENCIA, MESCOMP, ANOCOMP, CNES, NUMAIH, DVAIH, MESLIBE, ANOLIBE, "
        "PACIENTE, DATANASC, SEXO, CARATERINT, ESPECIALIDADE, PROCEDIMENTO, CPFSOLICITA, MUNORIG, OBSERV, "
        "VALORMEDIO, CPFAUTORIZA, MUNINTERN) values (:f, :s, :mc, :ac, :cnes, :aih, :dv, :ml, :al, :pac, "
        ":nasc, :sexo, :car, :esp, :proc, :cpfs, :orig, :obs, :valor, :cpfa, :intern)"));
    struct Laudo {
        int sequencia;
        qint64 aih;
        const char* paciente;
        QDate nascimento;
        int sexo;
        const char* procedimento;
        double valor;
    };
    const Laudo laudos[] = {
        {1, 271650000004, "LUZIA APARECIDA MELO", QDate(1961, 4, 12), 3, "0407030026", 640.04},
        {2, 271650000005, "JOÃO PAULO BARBOSA", QDate(1978, 11, 3), 1, "0407040099", 401.42},
    };
    for (const Laudo& l : laudos) {
        const QVariant values[] = {1, l.sequencia, 3, 2016, "2005417", l.aih, numbers::checkDigit(l.aih), 3, 2016,
                                   l.paciente, l.nascimento, l.sexo, 1, 1, l.procedimento, 1234567890LL,
                                   "2701407", "", l.valor, 12345678909LL, "2700300"};
        for (int i = 0; i < 21; ++i)
            q.setParam(i, values[i]);
        q.execSql();
    }
    database.transaction().commitRetaining();
}

} // namespace

QStringList statements(const QString& text)
{
    QStringList out;
    QString current;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\'') {
            qsizetype j = i + 1;
            while (j < n && !(text.at(j) == u'\'' && (j + 1 >= n || text.at(j + 1) != u'\'')))
                j += text.at(j) == u'\'' ? 2 : 1;
            current += text.mid(i, j - i + 1);
            i = j;
        } else if (c == u'-' && i + 1 < n && text.at(i + 1) == u'-') {
            while (i < n && text.at(i) != u'\n')
                ++i;
            current += u'\n';
        } else if (c == u';') {
            if (!current.trimmed().isEmpty())
                out << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    return out;
}

void runScript(db::Database& database, const QString& text)
{
    db::Transaction& tr = database.transaction();
    if (!tr.active())
        tr.start();
    for (const QString& statement : statements(text)) {
        db::Query q(database);
        q.setSql(statement);
        q.setParamCheck(false);
        q.execSql();
    }
    tr.commitRetaining();
}

QString script(Kind kind)
{
    switch (kind) {
    case Kind::Main: return readResource(QStringLiteral("main.sql"));
    case Kind::Parameter: return readResource(QStringLiteral("parameter.sql"));
    case Kind::Vorq: return readResource(QStringLiteral("vorq.sql"));
    }
    return {};
}

void createDatabase(const QString& path, Kind kind, bool forcedWrites)
{
    if (QFileInfo::exists(path))
        throw db::DatabaseError(QStringLiteral("O banco de dados %1 já existe").arg(path));
    db::Database::create(path, QLatin1String(kMunicipalPassword), QStringLiteral("WIN1252"), forcedWrites);
    db::Database database;
    database.setDatabaseName(path);
    database.setParam(QStringLiteral("password"), QLatin1String(kMunicipalPassword));
    database.open();
    // DDL must be committed before the tables can be used.
    runScript(database, script(kind));
    database.close();
}

void createDataDirectory(const QString& dir, const DataDirectoryOptions& options)
{
    QDir directory(dir);
    if (!directory.exists() && !QDir().mkpath(dir))
        throw db::DatabaseError(QStringLiteral("Não foi possível criar o diretório %1").arg(dir));
    const QString prefix = QDir::toNativeSeparators(directory.absolutePath() + u'/');
    struct File {
        const char* name;
        Kind kind;
        void (*demo)(db::Database&);
    };
    const File files[] = {{"TALVERA.GDB", Kind::Main, fillMainDemo},
                          {"TALVERA10.GDB", Kind::Main, fillArchiveDemo},
                          {"PELDRO.GDB", Kind::Parameter, fillMunicipality},
                          {"VORQ.GDB", Kind::Vorq, fillVorqDemo}};
    // Refuse before touching anything, so a refusal leaves every file as it was.
    if (!options.overwrite) {
        for (const File& f : files) {
            if (QFileInfo::exists(prefix + QLatin1String(f.name)))
                throw db::DatabaseError(
                    QStringLiteral("O banco de dados %1 já existe; use --force para recriá-lo")
                        .arg(prefix + QLatin1String(f.name)));
        }
    }
    for (const File& f : files) {
        const QString path = prefix + QLatin1String(f.name);
        if (QFileInfo::exists(path) && !QFile::remove(path))
            throw db::DatabaseError(QStringLiteral("Não foi possível apagar %1").arg(path));
        createDatabase(path, f.kind, options.forcedWrites);
        if (options.demo) {
            db::Database database;
            database.setDatabaseName(path);
            database.open();
            f.demo(database);
            database.close();
        }
    }
    QFile config(directory.filePath(QStringLiteral("CONFIGBD.TXT")));
    if (!config.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        throw db::DatabaseError(QStringLiteral("Não foi possível gravar %1").arg(config.fileName()));
    config.write(prefix.toUtf8() + '\n');
}

} // namespace talvera::schema
