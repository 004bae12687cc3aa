#include "core/datamodule.h"

#include "core/numbers.h"

#include <QHash>
#include <QSet>

#include <memory>
#include <optional>

namespace talvera {

using db::Dataset;
using db::FieldDef;
using db::FieldKind;
using db::FieldType;

namespace {

// Small builder so each catalogue line reads like its table row.
struct F {
    FieldDef d;
    F(const QString& name, FieldType type, int size = 0)
    {
        d.name = name;
        d.type = type;
        d.size = size;
    }
    F& req() { d.required = true; return *this; }
    F& label(const QString& text, int width = 0) { d.label = text; d.width = width; return *this; }
    F& width(int w) { d.width = w; return *this; }
    F& hidden() { d.shown = false; return *this; }
    F& calc() { d.kind = FieldKind::Calculated; return *this; }
    F& lookup(const QString& keyField, const QString& source, const QString& key, const QString& result)
    {
        d.kind = FieldKind::Lookup;
        d.keyField = keyField;
        d.lookupDataset = source;
        d.lookupKey = key;
        d.lookupResult = result;
        return *this;
    }
    F& mask(const QString& m) { d.editMask = m; return *this; }
    operator FieldDef() const { return d; }
};

constexpr auto SmallInt = FieldType::SmallInt;
constexpr auto Integer = FieldType::Integer;
constexpr auto BigInt = FieldType::BigInt;
constexpr auto Float = FieldType::Float;
constexpr auto Text = FieldType::Text;
constexpr auto Date = FieldType::Date;
constexpr auto Decimal = FieldType::Decimal;

F munName(const QString& name, const QString& keyField)
{
    return F(name, Text, 37).lookup(keyField, QStringLiteral("quMun"), QStringLiteral("CODMUN"), QStringLiteral("NOME"));
}

qint64 big(const QVariant& v) { return v.toLongLong(); }

// Display text of a number field with its check digit; nulls count as 0.
QString shown(const db::CalcRow& row, const QString& number, const QString& digit)
{
    return numbers::displayText(big(row[number]), row[digit].toInt());
}

void rangeFields(db::CalcRow& row)
{
    row.set(QStringLiteral("inic"), shown(row, QStringLiteral("INICIAL"), QStringLiteral("DVINIC")));
    row.set(QStringLiteral("fina"), shown(row, QStringLiteral("FINAL"), QStringLiteral("DVFINA")));
    row.set(QStringLiteral("categoria"), numbers::categoryText(big(row[QStringLiteral("INICIAL")])));
}

void distrFields(db::CalcRow& row)
{
    rangeFields(row);
    row.set(QStringLiteral("quant"),
            static_cast<double>(big(row[QStringLiteral("FINAL")]) - big(row[QStringLiteral("INICIAL")]) + 1));
}

void numberFields(db::CalcRow& row)
{
    row.set(QStringLiteral("nume"), shown(row, QStringLiteral("NUMERO"), QStringLiteral("DV")));
    row.set(QStringLiteral("categoria"), numbers::categoryText(big(row[QStringLiteral("NUMERO")])));
}

// The fields every TBDISTR listing shares, in the order the listing wants.
std::vector<FieldDef> tbdistrData(bool shownFields)
{
    auto f = [&](F x) -> FieldDef { if (!shownFields) x.hidden(); return x; };
    return {f(F("MUNREF", Text, 7).req()), f(F("ANOCOMP", SmallInt).req()), f(F("MESCOMP", SmallInt).req()),
            f(F("MUNORIG", Text, 7).req()), f(F("INICIAL", BigInt)), f(F("DVINIC", SmallInt)),
            f(F("FINAL", BigInt)), f(F("DVFINA", SmallInt))};
}

std::vector<FieldDef> movimColumns(bool required)
{
    auto r = [&](F x) -> FieldDef { if (required) x.req(); return x; };
    return {r(F("MUNREF", Text, 7)), r(F("ANOCOMP", SmallInt)), r(F("MESCOMP", SmallInt)),
            r(F("MUNORIG", Text, 7)), r(F("TIPO", Text, 1)), r(F("NUMERO", BigInt)),
            r(F("DV", SmallInt)), F("USADA", Text, 1)};
}

} // namespace

DataModule::DataModule(Edition edition, BuildSettings build, QString configFile)
    : dbAih(QStringLiteral("dbAih")), dbMun(QStringLiteral("dbMun")), dbVorqwin(QStringLiteral("dbVorqwin")),
      dbImport(QStringLiteral("dbImport")), edition_(edition), build_(std::move(build)),
      configFile_(std::move(configFile))
{
    const QString password = QStringLiteral("password=") + QLatin1String(kMunicipalPassword);
    for (db::Database* d : {&dbAih, &dbMun, &dbVorqwin, &dbImport}) {
        d->setParams({QStringLiteral("user_name=SYSDBA"), password});
        d->beforeConnect = [this](db::Database&) { beforeConnect(); };
    }
    dbAih.setDatabaseName(build_.builtinDir + QStringLiteral("TALVERA.GDB"));
    dbMun.setDatabaseName(build_.builtinDir + QStringLiteral("PELDRO.GDB"));
    dbVorqwin.setDatabaseName(build_.builtinDir + QStringLiteral("VORQ.GDB"));
    buildCatalogue();
}

DataModule::~DataModule()
{
    try {
        closeAll();
    } catch (...) {
        // Closing at the very end has nobody left to tell.
    }
}

void DataModule::closeAll(bool commit)
{
    etiqNames_.reset();
    // Every connection is closed, whatever happens to the others; each failure is reported.
    QStringList failures;
    for (db::Database* d : {&dbImport, &dbAih, &dbVorqwin, &dbMun}) {
        try {
            if (commit)
                d->close();
            else
                d->abandon();
        } catch (const db::DatabaseError& e) {
            failures << e.message();
        }
    }
    if (!failures.isEmpty())
        throw db::DatabaseError(failures.join(QStringLiteral("\n\n")));
}

// Runs before each connection opens, but does its work once per run: the
// first line of the configuration file names the data directory, which sets
// every database name and password of the edition.
void DataModule::beforeConnect()
{
    if (settings.pvez != QStringLiteral("lbPvez"))
        return;
    settings.pvez = QStringLiteral("1");
    const QString dir = readDataDirectory(configFile_);
    if (edition_ == Edition::State) {
        const QString main = build_.stateServer + u':' + build_.stateDatabase;
        dbAih.setDatabaseName(main);
        dbAih.setParam(QStringLiteral("Password"), QLatin1String(kStatePassword));
        settings.aih = main;
        settings.senha1 = QLatin1String(kStatePassword);
    } else {
        dbAih.setDatabaseName(dir + QStringLiteral("TALVERA.GDB"));
        dbMun.setDatabaseName(dir + QStringLiteral("PELDRO.GDB"));
        dbVorqwin.setDatabaseName(dir + QStringLiteral("VORQ.GDB"));
        dbAih.setParam(QStringLiteral("Password"), QLatin1String(kMunicipalPassword));
        dbMun.setParam(QStringLiteral("Password"), QLatin1String(kMunicipalPassword));
        Dataset& tabelamun = dataset(QStringLiteral("tabelamun"));
        tabelamun.close();
        tabelamun.open();
        settings.aih = dir + QStringLiteral("TALVERA.GDB");
        settings.senha1 = QLatin1String(kMunicipalPassword);
    }
    settings.aih10 = dir + QStringLiteral("TALVERA10.GDB");
    settings.senha2 = settings.senha1;
    Dataset& tabelamun = dataset(QStringLiteral("tabelamun"));
    const bool hasRow = tabelamun.isOpen() && !tabelamun.eof();
    settings.pref = hasRow ? tabelamun.asString(QStringLiteral("NOME")) : QString();
    settings.edPref = hasRow ? tabelamun.asString(QStringLiteral("CODMUN")) : QString();
}

void DataModule::switchMainDatabase(bool archive)
{
    dbAih.close();
    dbAih.setDatabaseName(archive ? settings.aih10 : settings.aih);
    dbAih.setParam(QStringLiteral("Password"), archive ? settings.senha2 : settings.senha1);
    onArchive_ = archive;
    dbAih.open();
}

Dataset& DataModule::add(db::Database& database, const QString& name, QStringList sql,
                         std::vector<FieldDef> fields, const QString& dataSource)
{
    auto ds = std::make_unique<Dataset>(database, name, std::move(sql), std::move(fields));
    ds->dataSource = dataSource;
    ds->resolveLookup = [this](const QString& source) { return findDataset(source); };
    Dataset& ref = *ds;
    order_.push_back(ds.get());
    datasets_[name] = std::move(ds);
    return ref;
}

Dataset* DataModule::findDataset(const QString& name)
{
    const auto it = datasets_.find(name);
    return it == datasets_.end() ? nullptr : it->second.get();
}

Dataset& DataModule::dataset(const QString& name)
{
    Dataset* ds = findDataset(name);
    if (!ds)
        throw db::DatabaseError(QStringLiteral("Conjunto de dados %1 não existe").arg(name));
    return *ds;
}

QStringList DataModule::datasetNames() const
{
    QStringList names;
    for (const Dataset* ds : order_)
        names << ds->componentName();
    return names;
}

void DataModule::buildCatalogue()
{
    // Start-up datasets.
    add(dbAih, "quMun", {"select * from MUN order by NOME"},
        {F("CODMUN", Text, 7).req(), F("NOME", Text, 37).req()}, "dsMun");
    add(dbAih, "tbParam", {"select * from PARAMETRO"}, {F("VERSAO", Text, 12)});
    add(dbMun, "tabelamun", {"select * from TABMUN"}, {F("CODMUN", Text, 7), F("NOME", Text, 37)});
    add(dbVorqwin, "tbMunvorq", {"select * from TABMUN"}, {F("CODMUN", Text, 7), F("NOME", Text, 37)});
    add(dbImport, "quTabmun", {"select * from tabmun"}, {});

    // Number ranges.
    add(dbAih, "quAnual", {"select * from  TBANUAL order by ANO,MUNORIG,INICIAL"},
        {F("ANO", SmallInt).req().label("Ano", 6), munName("nomemun", "MUNORIG").label("Município", 25),
         F("inic", Text, 19).calc().label("Inicial", 20), F("fina", Text, 19).calc().label("Final", 20),
         F("categoria", Text, 40).calc().label("Categoria", 34).hidden(), F("MUNORIG", Text, 7).req().hidden(),
         F("INICIAL", BigInt).req().width(15).hidden(), F("DVINIC", SmallInt).req().hidden(),
         F("FINAL", BigInt).req().hidden(), F("DVFINA", SmallInt).req().hidden()},
        "dsReceb")
        .calculate = rangeFields;

    add(dbAih, "quDistr", {"select * from TBDISTR order by ANOCOMP, MESCOMP, MUNORIG, INICIAL"},
        {F("ANOCOMP", SmallInt).req().label("Ano", 4), F("MESCOMP", SmallInt).req().label("Mês", 3),
         munName("nomemunorig", "MUNORIG").label("Município de Origem", 25),
         munName("nomemun", "MUNREF").label("Município de Referência", 25),
         F("inic", Text, 19).calc().label("Inicial", 20), F("fina", Text, 19).calc().label("Final", 20),
         F("quant", Float).calc().label("Quant", 8), F("TIPO", Text, 1).req().label("Tipo", 5),
         F("categoria", Text, 40).calc().label("Categoria", 40), F("MUNREF", Text, 7).req().hidden(),
         F("MUNORIG", Text, 7).req().hidden(), F("INICIAL", BigInt).hidden(), F("DVINIC", SmallInt).hidden(),
         F("FINAL", BigInt).hidden(), F("DVFINA", SmallInt).hidden(), F("categ", Text, 1).calc()},
        "dsDistr")
        .calculate = [](db::CalcRow& row) {
        distrFields(row);
        row.set(QStringLiteral("categ"), numbers::categoryDigit(big(row[QStringLiteral("FINAL")])));
    };

    auto byMunicipality = [] {
        std::vector<FieldDef> f = tbdistrData(true);
        f.push_back(F("TIPO", Text, 1).req());
        f.push_back(munName("nomemun", "MUNREF").label("Município", 37));
        f.push_back(munName("nomemunorig", "MUNORIG").width(37).hidden());
        f.push_back(F("inic", Text, 19).calc().label("Inicial", 20));
        f.push_back(F("fina", Text, 19).calc().label("Final", 20));
        f.push_back(F("categoria", Text, 40).calc().label("Categoria", 34));
        f.push_back(F("quant", Float).calc().label("Quant", 8));
        return f;
    };
    add(dbAih, "quDistrmun",
        {"select * from TBDISTR order by MUNORIG, ANOCOMP, MESCOMP, ", "MUNREF,INICIAL"}, byMunicipality(),
        "dsDistrmun")
        .calculate = distrFields;
    add(dbAih, "quDistrmun2",
        {"select * from TBDISTR order by MUNREF, ANOCOMP, MESCOMP, ", "MUNORIG,INICIAL"}, byMunicipality(),
        "dsDistrmun2")
        .calculate = distrFields;

    {
        std::vector<FieldDef> f{munName("nomemun", "MUNREF").label("Município de Referência", 25),
                                munName("nomemunorig", "MUNORIG").label("Município de Origem", 25),
                                F("inic", Text, 19).calc().label("Inicial", 20),
                                F("fina", Text, 19).calc().label("Final", 20),
                                F("quant", Float).calc().label("Quant", 8),
                                F("TIPO", Text, 1).req().label("Tipo", 5),
                                F("categoria", Text, 40).calc().label("Categoria", 40)};
        for (const FieldDef& d : tbdistrData(false))
            f.push_back(d);
        add(dbAih, "quDistrref", {"select * from TBDISTR order by ANOCOMP, MESCOMP, MUNREF, MUNORIG, INICIAL"},
            std::move(f), "dsDistrref")
            .calculate = distrFields;
    }

    // Movement rows.
    auto movim = [](int nameWidth, int tipoWidth, bool withUsada) {
        std::vector<FieldDef> f{munName("nomemun", "MUNREF").label("Município de Referência", nameWidth),
                                munName("nomemunorig", "MUNORIG").label("Município de Origem", nameWidth),
                                F("ANOCOMP", SmallInt).req().label("Ano Comp", 8),
                                F("MESCOMP", SmallInt).req().label("Mês Comp", 8),
                                F("TIPO", Text, 1).req().label("Tipo", tipoWidth),
                                F("nume", Text, 19).calc().label("Nº Aih/Apac", 20)};
        if (withUsada)
            f.push_back(F("USADA", Text, 1).label("Usada", 5));
        f.push_back(F("categoria", Text, 40).calc().label("Categoria", 34));
        f.push_back(F("DV", SmallInt).req().width(10).hidden());
        f.push_back(F("MUNORIG", Text, 7).req().width(7).hidden());
        f.push_back(F("MUNREF", Text, 7).req().width(7).hidden());
        f.push_back(F("NUMERO", BigInt).req().width(15).hidden());
        return f;
    };
    add(dbAih, "quMovim", {"select * from TBMOVIM order by ANOCOMP, MESCOMP, MUNORIG,NUMERO"},
        movim(21, 3, true), "dsMovim")
        .calculate = numberFields;
    add(dbAih, "quSerie", {"select * from TBMOVIM order by ANOCOMP, MESCOMP, MUNREF,NUMERO"},
        movim(25, 5, false), "dsSerie")
        .calculate = numberFields;

    auto writeOffListing = [] {
        std::vector<FieldDef> f{munName("nomemun", "MUNREF").label("Município de Referência", 25),
                                munName("nomemunorig", "MUNORIG").label("Município de Origem", 25),
                                F("categoria", Text, 40).calc().label("Categoria", 34)};
        for (const FieldDef& d : movimColumns(true))
            f.push_back(d);
        return f;
    };
    auto categoryOnly = [](db::CalcRow& row) {
        row.set(QStringLiteral("categoria"), numbers::categoryText(big(row[QStringLiteral("NUMERO")])));
    };
    add(dbAih, "quBaixaorianomes",
        {"select * from TBMOVIM where TIPO = 'E' order by MUNORIG,ANOCOMP, MESCOMP, USADA"}, writeOffListing(),
        "dsBaixaorianomes")
        .calculate = categoryOnly;
    add(dbAih, "quBaixaoriano", {"select * from TBMOVIM where TIPO = 'E' order by MUNORIG,ANOCOMP,USADA"},
        writeOffListing(), "dsBaixaoriano")
        .calculate = categoryOnly;

    {
        std::vector<FieldDef> f = movimColumns(true);
        f.push_back(F("vorq", Text, 1).calc());
        f.push_back(F("nume", Text, 17).calc());
        f.push_back(munName("nomemun", "MUNREF").label("Município de Referência", 64));
        f.push_back(F("categoria", Text, 40).calc().label("Categoria", 34));
        f.push_back(munName("nomemunorig", "MUNORIG").label("Município de Origem", 25));
        Dataset& rnusada = add(dbAih, "quRnusada",
            {"select * from TBMOVIM where TIPO = 'E' and USADA = 'N' order by MUNORIG, ANOCOMP, MESCOMP"},
            std::move(f), "dsRnusada");
        // The numbers on Vorq's laudos, read once each time the listing opens
        // rather than once per row.
        auto onLaudos = std::make_shared<std::optional<QSet<qint64>>>();
        rnusada.onReset.push_back([onLaudos] { onLaudos->reset(); });
        rnusada.calculate = [this, onLaudos](db::CalcRow& row) {
            const qint64 numero = big(row[QStringLiteral("NUMERO")]);
            row.set(QStringLiteral("nume"), numbers::displayText(numero, row[QStringLiteral("DV")].toInt()));
            row.set(QStringLiteral("categoria"), numbers::categoryText(numero));
            if (!*onLaudos) {
                QSet<qint64> found;
                db::Query laudos(dbVorqwin, QStringLiteral("quAihvorq"));
                laudos.setSql(QStringLiteral("select distinct numaih from laudo where numaih is not null"));
                for (laudos.open(); !laudos.eof(); laudos.next())
                    found.insert(laudos.value(0).toLongLong());
                *onLaudos = std::move(found);
            }
            row.set(QStringLiteral("vorq"), (*onLaudos)->contains(numero) ? QStringLiteral("X") : QString());
        };
    }

    for (const char* name : {"quConta", "quUsada", "quNusada"})
        add(dbAih, name, {"select count (*) quant from TBMOVIM"}, {F("QUANT", Integer).req()});

    {
        Dataset& tbMovim = add(dbAih, "tbMovim", {"select * from TBMOVIM"}, movimColumns(false));
        // Labels need the type of their own numbers only.
        tbMovim.setLookupSql(QStringLiteral("select * from TBMOVIM where NUMERO in (select NUMERO from TBETIQ)"));
    }

    // Write-offs.
    add(dbAih, "quBaixa2", {"select * from TBBAIXA"},
        {F("nume", Text, 19).calc().label("Nº Aih/Apac", 17), F("NOMEPAC", Text, 40).label("Nome do Paciente", 40),
         munName("nomemun", "MUNATEN").label("Município de Atendimento", 21),
         F("MESPROC", SmallInt).label("Mês Proc", 7), F("ANOPROC", SmallInt).label("Ano Proc", 7),
         F("nomehosp", Text, 60).lookup("CGC_HSP", "tbHosp", "CGC_HSP", "NOM_HSP").label("Nome do Prestador", 41),
         F("CGC_HSP", Text, 14).mask("!00\\.000\\.000\\/0000\\-99;0;_").label("CNPJ", 18),
         F("categoria", Text, 40).calc().label("Categoria", 31), F("NUMERO", BigInt).req().width(12).hidden(),
         F("DV", SmallInt).req().width(3).hidden(), F("MUNATEN", Text, 7).width(9).hidden()},
        "dsBaixa2")
        .calculate = numberFields;

    add(dbAih, "quAtend",
        {"SELECT ", "  B.ANOPROC,", "  B.MESPROC,", "  B.NUMERO,", "  B.DV,", "  B.MUNATEN,", "  B.CGC_HSP,",
         "  B.NOMEPAC,", "  M.TIPO,", "  M.MUNREF,", "  M.MUNORIG,", "  M.ANOCOMP,", "  M.MESCOMP", "  FROM",
         "  TBBAIXA B", "  INNER JOIN TBMOVIM M ON (B.NUMERO = M.NUMERO)"},
        {F("nume", Text, 19).calc().label("Nº Aih/Apac", 17),
         munName("nomemun", "MUNREF").label("Município de Referência", 21),
         munName("nomemunorig", "MUNORIG").label("Município de Origem", 21), munName("nomemunatend", "MUNATEN"),
         F("nomehosp", Text, 60).lookup("CGC_HSP", "tbHosp", "CGC_HSP", "NOM_HSP").label("Nome do Prestador", 41),
         F("categoria", Text, 40).calc().label("Categoria", 31), F("ANOPROC", SmallInt), F("MESPROC", SmallInt),
         F("NUMERO", BigInt).req(), F("DV", SmallInt).req(), F("MUNATEN", Text, 7), F("CGC_HSP", Text, 14),
         F("NOMEPAC", Text, 40), F("TIPO", Text, 1).req(), F("MUNREF", Text, 7).req(),
         F("MUNORIG", Text, 7).req(), F("ANOCOMP", SmallInt).req(), F("MESCOMP", SmallInt).req()},
        "dsAtend")
        .calculate = numberFields;

    auto monthMunicipalities = [] {
        return std::vector<FieldDef>{F("ANOPROC", SmallInt).req().label("Ano Proc", 10),
                                     F("MESPROC", SmallInt).req().label("Mês Proc", 10),
                                     munName("nomemun", "MUNORIG").label("Município de Origem", 64),
                                     F("MUNORIG", Text, 7).req().hidden()};
    };
    add(dbAih, "quBaixamun", {"select * from TBBAIXAMES order by ANOPROC, MESPROC, MUNORIG"},
        monthMunicipalities(), "dsBaixamun");
    add(dbAih, "quNbaixamun", {"select * from TBNBAIXAMES order by MUNORIG"}, monthMunicipalities(),
        "dsNbaixamun");
    add(dbAih, "tbMun", {"select * from MUN"}, {F("CODMUN", Text, 7).req(), F("NOME", Text, 37).req()});
    add(dbAih, "tbHosp", {"select * from TBHOSP"}, {F("CGC_HSP", Text, 14), F("NOM_HSP", Text, 60)});

    // Labels.
    Dataset& etiq = add(dbAih, "quEtiq", {"select * from TBETIQ order by NUMERO"},
        {F("NUMERO", BigInt).req(), F("DV", SmallInt).req(), F("nume", Text, 19).calc().label("Nº Aih/Apac", 20),
         F("categoria", Text, 1).calc(), F("nomemun", Text, 25).calc().width(37), F("nomemunref", Text, 37).calc(),
         F("tipo", Text, 1).lookup("NUMERO", "tbMovim", "NUMERO", "TIPO")},
        "dsEtiq");
    // The municipalities of the labels' numbers, read in one query each time
    // the labels open; a number outside TBETIQ is looked up on its own.
    using Municipalities = QHash<qint64, std::pair<QString, QString>>;
    auto labelMunicipalities = std::make_shared<std::optional<Municipalities>>();
    etiq.onReset.push_back([labelMunicipalities] { labelMunicipalities->reset(); });
    etiq.calculate = [this, labelMunicipalities](db::CalcRow& row) {
        const qint64 numero = big(row[QStringLiteral("NUMERO")]);
        row.set(QStringLiteral("nume"), numbers::displayText(numero, row[QStringLiteral("DV")].toInt()));
        row.set(QStringLiteral("categoria"), numbers::categoryDigit(numero));
        if (!etiqNames_)
            etiqNames_ = std::make_unique<db::Query>(dbAih, QStringLiteral("quEtiqNomes"));
        db::Query& q = *etiqNames_;
        if (!*labelMunicipalities) {
            Municipalities all;
            q.setStatement(QStringLiteral("select e.numero, m.munorig, m.munref from tbetiq e "
                                          "join tbmovim m on m.numero = e.numero"));
            for (q.open(); !q.eof(); q.next())
                all.insert(q.value(0).toLongLong(), {q.value(1).toString(), q.value(2).toString()});
            q.close();
            *labelMunicipalities = std::move(all);
        }
        auto found = (*labelMunicipalities)->constFind(numero);
        if (found == (*labelMunicipalities)->constEnd()) {
            q.setStatement(QStringLiteral("select m.munorig, m.munref from tbmovim m where m.numero = :p1"), {numero});
            q.open();
            const std::pair<QString, QString> codes =
                q.eof() ? std::pair<QString, QString>() : std::pair(q.value(0).toString(), q.value(1).toString());
            q.close();
            found = (*labelMunicipalities)->insert(numero, codes);
        }
        QString origin;
        QString reference;
        if (!found->first.isEmpty() || !found->second.isEmpty()) {
            Dataset& mun = dataset(QStringLiteral("quMun"));
            origin = mun.lookup(QStringLiteral("CODMUN"), found->first, QStringLiteral("NOME")).toString();
            reference = mun.lookup(QStringLiteral("CODMUN"), found->second, QStringLiteral("NOME")).toString();
        }
        row.set(QStringLiteral("nomemun"), origin);
        row.set(QStringLiteral("nomemunref"), reference);
    };

    // Lookup lists for laudos.
    auto prestador = [](bool byId) {
        FieldDef cnes = F("CNES", Text, 7).req();
        FieldDef id = F("UNIDADE_ID", Text, 31).req();
        FieldDef name = F("NOME_FANTA", Text, 60).req();
        FieldDef cnpj = F("CNPJ", Text, 14);
        FieldDef gest = F("CODMUNGEST", Text, 7);
        return byId ? std::vector<FieldDef>{id, cnes, name, cnpj, gest}
                    : std::vector<FieldDef>{cnes, cnpj, name, id, gest};
    };
    add(dbAih, "quPrest", {"select * from prestador order by cnes"}, prestador(false), "dsPrest");
    add(dbAih, "quPesqprest", {"select * from prestador"}, prestador(true), "dsPesqprest");
    add(dbAih, "quCarater", {"select * from carater order by codcarater"},
        {F("CODCARATER", Text, 2), F("DESCRICAO", Text, 60)}, "dsCarater");
    add(dbAih, "quPesqcara", {"select * from carater"},
        {F("CODCARATER", Text, 2).label("Código", 5), F("DESCRICAO", Text, 60).label("Descrição", 68)},
        "dsPesqcara");
    add(dbAih, "quEspec", {"select * from especialidade order by codesp"},
        {F("CODESP", Integer), F("DESCRICAO", Text, 60)}, "dsEspec");
    add(dbAih, "quPesqespec", {"select * from especialidade"},
        {F("CODESP", Integer).label("Código", 10), F("DESCRICAO", Text, 60).label("Descrição", 60)},
        "dsPesqespec");
    add(dbAih, "quProced", {"select * from procedimento order by codproc"},
        {F("CODPROC", Text, 10), F("NOME", Text, 250), F("VLR_SH", Float), F("VLR_SP", Float)}, "dsProced");
    add(dbAih, "quPesqproced", {"select * from procedimento"},
        {F("CODPROC", Text, 10).label("Código", 10), F("NOME", Text, 250).label("Descrição", 250),
         F("VLR_SH", Float).width(10), F("VLR_SP", Float).width(10)},
        "dsPesqproced");
    add(dbAih, "quPesqprof", {"select cpf_prof,nome_prof from profissional"},
        {F("CPF_PROF", Text, 11).req().label("CPF", 11), F("NOME_PROF", Text, 60).label("Nome", 60)},
        "dsPesqprof");

    // Vorq's laudos.
    add(dbVorqwin, "quLaudo", {"select * from LAUDO"},
        {F("CNES", Text, 7).width(7), F("PACIENTE", Text, 40).label("Paciente", 40),
         F("PROCEDIMENTO", Text, 10).label("Proced", 10), F("MESCOMP", SmallInt).label("Mês Comp", 5),
         F("ANOCOMP", SmallInt).label("Ano Comp", 5), F("MESLIBE", SmallInt).label("Mês Lib", 5),
         F("ANOLIBE", SmallInt).label("Ano Lib", 5), F("NUMAIH", BigInt).label("AIH", 15),
         F("DVAIH", SmallInt).label("DV", 2), F("CARATERINT", SmallInt).label("Caráter Intern", 10),
         F("CPFAUTORIZA", BigInt).label("CPF Autoriza", 15), F("CPFSOLICITA", BigInt).label("CPF Solicita", 15),
         F("DATANASC", Date).label("Data Nasc", 10), F("ESPECIALIDADE", SmallInt).label("Especialidade", 10),
         F("FOLHA", SmallInt).label("Folha", 10), F("SEQUENCIA", SmallInt).label("Seq", 10),
         F("MUNINTERN", Text, 7).label("Munic Intern", 7), F("MUNORIG", Text, 7).label("Munic Origem", 7),
         F("OBSERV", Text, 50).label("Observ", 50), F("SEXO", SmallInt).label("Sexo", 10),
         F("VALORMEDIO", Decimal).label("Valor Médio", 19)},
        "dsLaudo");
    add(dbVorqwin, "quRlaudo", {"select * from LAUDO"},
        {F("FOLHA", SmallInt).req(), F("SEQUENCIA", SmallInt).req(), F("MESCOMP", SmallInt).req(),
         F("ANOCOMP", SmallInt).req(), F("CNES", Text, 7), F("NUMAIH", BigInt), F("DVAIH", SmallInt),
         F("MESLIBE", SmallInt), F("ANOLIBE", SmallInt), F("PACIENTE", Text, 40), F("DATANASC", Date),
         F("SEXO", SmallInt), F("CARATERINT", SmallInt), F("ESPECIALIDADE", SmallInt),
         F("PROCEDIMENTO", Text, 10), F("CPFSOLICITA", BigInt), F("MUNORIG", Text, 7), F("OBSERV", Text, 50),
         F("VALORMEDIO", Decimal), F("CPFAUTORIZA", BigInt), F("MUNINTERN", Text, 7),
         F("cpfsolicita2", Text, 14).calc(), F("cpfautoriza2", Text, 14).calc()},
        "dsRlaudo")
        .calculate = [](db::CalcRow& row) {
        row.set(QStringLiteral("cpfsolicita2"), numbers::cpfText(big(row[QStringLiteral("CPFSOLICITA")])));
        row.set(QStringLiteral("cpfautoriza2"), numbers::cpfText(big(row[QStringLiteral("CPFAUTORIZA")])));
    };
    add(dbVorqwin, "quAihvorq", {"select folha,sequencia,mescomp,anocomp from laudo", "where numaih = :p1"},
        {F("FOLHA", SmallInt).req(), F("SEQUENCIA", SmallInt).req(), F("MESCOMP", SmallInt).req(),
         F("ANOCOMP", SmallInt).req()});
    add(dbVorqwin, "tbParamvorq", {"select * from PARAME"}, {F("MES", SmallInt), F("ANO", SmallInt)},
        "dsParamvorq");
}

} // namespace talvera
