#include "laudos/laudorules.h"

#include "core/datamodule.h"
#include "core/numbers.h"

namespace talvera::laudos {

namespace {

// Numbers the statements bind as floating-point values.
QVariant real(int value) { return static_cast<double>(value); }

QVariant dateOrNull(const QDate& date)
{
    return date.isValid() ? QVariant(date) : QVariant();
}

bool found(db::Query& query, const Statement& statement)
{
    openStatement(query, statement);
    return !query.eof();
}

// The values of the columns from NUMAIH to MUNINTERN in the order the
// insert lists them after the key and the provider.
struct Values {
    QVariant numaih, dvaih, meslibe, anolibe, paciente, datanasc, sexo, caraterint, especialidade, procedimento,
        cpfsolicita, munorig, observ, valormedio, cpfautoriza, munintern;
};

Values valuesOf(const Laudo& l)
{
    return {l.aih,
            real(l.dv),
            real(l.mesLib),
            real(l.anoLib),
            l.paciente,
            dateOrNull(l.nascimento),
            storedSex(l.sexo),
            l.carater.toDouble(),
            l.especialidade.toDouble(),
            l.procedimento,
            l.cpfSolicita,
            l.munOrig,
            l.observ,
            l.valorMedio,
            l.cpfAutoriza,
            l.munIntern};
}

QVariantList keyParams(const LaudoKey& k)
{
    return {real(k.folha), real(k.sequencia), real(k.mes), real(k.ano)};
}

} // namespace

int storedSex(int itemIndex)
{
    return itemIndex == 0 ? 1 : 3;
}

int sexItem(const QVariant& stored)
{
    if (!stored.isValid() || stored.isNull())
        return -1;
    const int sex = stored.toInt();
    return sex == 1 ? 0 : sex == 3 ? 1 : -1;
}

std::optional<int> proposeSequence(DataModule& dm, int folha, int ano, int mes)
{
    db::Query& q = dm.quConsvorq;
    openStatement(q, {QStringLiteral("select * from laudo where folha = :p1 and anocomp = :p2 and mescomp = :p3 "
                                     "order by sequencia desc"),
                      {real(folha), real(ano), real(mes)}});
    if (q.eof()) {
        q.close();
        return 1;
    }
    const int highest = q.value(QStringLiteral("SEQUENCIA")).toInt();
    q.close();
    if (highest < 20)
        return highest + 1;
    return std::nullopt;
}

QString fullSheet()
{
    return QStringLiteral("Essa folha já tem 20 seqüências");
}

bool sheetHasOtherProvider(DataModule& dm, const LaudoKey& key, const QString& cnes)
{
    db::Query& q = dm.quConsvorq;
    q.close();
    q.clearSql();
    q.addLine(QStringLiteral("select * from laudo where folha = :p1 and "));
    q.addLine(QStringLiteral("sequencia <> :p2 and mescomp = :p3 and "));
    q.addLine(QStringLiteral("anocomp = :p4 and cnes <> :p5"));
    q.clearParams();
    const QVariantList params = keyParams(key) << cnes;
    for (int i = 0; i < params.size(); ++i)
        q.setParam(i, params[i]);
    q.prepare();
    q.open();
    const bool other = !q.eof();
    q.close();
    return other;
}

QString otherProvider()
{
    return QStringLiteral("Existem registros usando outro CNES nesta folha");
}

std::optional<Municipality> managingMunicipality(DataModule& dm, const QString& codmungest)
{
    db::Query& q = dm.quConsulta;
    if (!found(q, {QStringLiteral("select * from mun where munsemdv = :p1"), {codmungest}}))
        return std::nullopt;
    Municipality m{q.value(QStringLiteral("CODMUN")).toString(), q.value(QStringLiteral("NOME")).toString()};
    q.close();
    return m;
}

QString municipalityName(DataModule& dm, const QString& codmun)
{
    db::Query& q = dm.quConsulta;
    if (!found(q, {QStringLiteral("select nome from mun where codmun = :p1"), {codmun}}))
        return {};
    const QString name = q.value(0).toString();
    q.close();
    return name;
}

std::optional<QString> professionalName(DataModule& dm, const QString& cpf)
{
    db::Query& q = dm.quConsulta;
    if (!found(q, {QStringLiteral("select nome_prof from profissional where cpf_prof = :p1"), {cpf}}))
        return std::nullopt;
    const QString name = q.value(0).toString();
    q.close();
    return name;
}

std::optional<qint64> aihNumber(const QString& digits)
{
    bool ok = false;
    const qint64 n = digits.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

QString missingAih()
{
    return QStringLiteral("AIH não preenchida");
}

QString checkDistributed(DataModule& dm, qint64 number, int dv)
{
    if (numbers::checkDigit(number) != dv)
        return QStringLiteral("Dígito verificador da Aih inválido");
    const bool distributed =
        found(dm.quConsulta, {QStringLiteral("select * from tbmovim where numero = :p1"), {static_cast<double>(number)}});
    dm.quConsulta.close();
    if (!distributed)
        return QStringLiteral("Aih não cadastrada na distribuição");
    return {};
}

QString checkNumber(DataModule& dm, qint64 number, int dv, int mesLib, int anoLib)
{
    if (QString refusal = checkDistributed(dm, number, dv); !refusal.isEmpty())
        return refusal;
    db::Query& baixa = dm.quConsulta2;
    if (found(baixa, {QStringLiteral("select * from tbbaixa where numero = :p1"), {static_cast<double>(number)}})) {
        // Only the first write-off row counts.
        const bool sameMonth = baixa.value(QStringLiteral("ANOPROC")).toInt() == anoLib &&
                               baixa.value(QStringLiteral("MESPROC")).toInt() == mesLib;
        baixa.close();
        if (!sameMonth)
            return QStringLiteral("Aih já utilizada em outro mês/ano de liberação");
    }
    return {};
}

SaveCheck checkSave(DataModule& dm, const Laudo& l, Mode mode, const std::function<bool(const QString&)>& ask)
{
    auto refuse = [](const char* text) { return SaveCheck{false, QString::fromUtf8(text)}; };
    const LaudoKey& k = l.key;
    if (k.folha == 0)
        return refuse("Folha tem que ser preenchida");
    // The column is a small integer.
    if (k.folha > 32767)
        return refuse("Folha inválida");
    if (k.sequencia < 1 || k.sequencia > 20)
        return refuse("Sequência válida entre 1 e 20");
    if (k.mes < 1 || k.mes > 12)
        return refuse("Mês de competência inválido");
    if (l.cnes.isEmpty())
        return refuse("Selecione o prestador");
    if (l.anoLib > 0 && (l.anoLib < k.ano || (l.anoLib == k.ano && l.mesLib < k.mes)))
        return refuse("Mês/Ano de liberação anterior à competência");
    if (l.mesLib != 0 || l.anoLib != 0) {
        if (l.mesLib < 1 || l.mesLib > 12)
            return refuse("Mês de liberação inválido");
        if (l.anoLib < 2007)
            return refuse("Ano de liberação inválido");
    }
    if (l.sexo < 0)
        return refuse("Selecione o sexo");
    if (l.carater.isEmpty())
        return refuse("Selecione o caráter de internação");
    if (l.especialidade.isEmpty())
        return refuse("Selecione a especialidade");
    if (l.procedimento.isEmpty())
        return refuse("Selecione o procedimento");

    const QString registered = QStringLiteral("select cpf_prof from profissional where cpf_prof = :p1");
    if (!found(dm.quConsulta, {registered, {l.cpfSolicita}}) &&
        !ask(QStringLiteral("O CPF do solicitante não está cadastrado na tabela de profissionais, "
                            "confirma inclusão de laudo?")))
        return {false, {}};
    dm.quConsulta.close();
    if (!found(dm.quConsulta, {registered, {l.cpfAutoriza}}) &&
        !ask(QStringLiteral("O CPF do autorizador não está cadastrado na tabela de profissionais, "
                            "confirma inclusão de laudo?")))
        return {false, {}};
    dm.quConsulta.close();

    if (sheetHasOtherProvider(dm, k, l.cnes))
        return {false, otherProvider()};

    const auto number = aihNumber(l.aih);
    if (!number)
        return {false, missingAih()};
    if (const QString refusal = checkNumber(dm, *number, l.dv, l.mesLib, l.anoLib); !refusal.isEmpty())
        return {false, refusal};

    db::Query& q = dm.quConsvorq;
    openStatement(q, {QStringLiteral("select count(*) as quant from laudo where numaih = :p1"),
                      {static_cast<double>(*number)}});
    const qint64 holders = q.value(QStringLiteral("QUANT")).toLongLong();
    q.close();
    // A laudo that keeps its number in a change counts itself once.
    if ((mode == Mode::Insert && holders > 0) || (mode == Mode::Change && holders > 1))
        return refuse("Aih já utilizada nesse mês");

    if (!numbers::hasTwelveDigits(*number))
        return refuse("Valor da Aih inválido");
    return {};
}

Statement insertStatement(const Laudo& l)
{
    const Values v = valuesOf(l);
    QVariantList params = keyParams(l.key);
    params << l.cnes << v.numaih << v.dvaih << v.meslibe << v.anolibe << v.paciente << v.datanasc << v.sexo
           << v.caraterint << v.especialidade << v.procedimento << v.cpfsolicita << v.munorig << v.observ
           << v.valormedio << v.cpfautoriza << v.munintern;
    return {QStringLiteral("insert into laudo (folha,sequencia,mescomp,anocomp,cnes,numaih,dvaih,meslibe,anolibe,"
                           "paciente,datanasc,sexo,caraterint,especialidade,procedimento,cpfsolicita,munorig,observ,"
                           "valormedio,cpfautoriza,munintern) values (:p0,:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9,:p10,"
                           ":p11,:p12,:p13,:p14,:p15,:p16,:p17,:p18,:p19,:p20)"),
            params};
}

Statement updateStatement(const Laudo& l)
{
    const Values v = valuesOf(l);
    QVariantList params{v.numaih,        v.dvaih,        v.meslibe,     v.anolibe,  v.paciente,   v.datanasc,
                        v.sexo,          v.caraterint,   v.especialidade, v.procedimento, v.cpfsolicita,
                        v.munorig,       v.observ,       v.valormedio,  v.cpfautoriza, v.munintern};
    params << keyParams(l.key);
    return {QStringLiteral("update laudo set numaih = :p1, dvaih = :p2, meslibe = :p3, anolibe = :p4, "
                           "paciente = :p5, datanasc = :p6, sexo = :p7, caraterint = :p8, especialidade = :p9, "
                           "procedimento = :p10, cpfsolicita = :p11, munorig = :p12, observ = :p13, "
                           "valormedio = :p14, cpfautoriza = :p15, munintern = :p16 where folha = :p17 and "
                           "sequencia = :p18 and mescomp = :p19 and anocomp = :p20"),
            params};
}

db::WriteResult saveLaudo(DataModule& dm, const Laudo& laudo, Mode mode)
{
    if (mode == Mode::None)
        return {};
    const Statement s = mode == Mode::Insert ? insertStatement(laudo) : updateStatement(laudo);
    return db::guardedWrite(dm.trVorqwin(), [&] {
        db::Query& q = dm.quAtualvorq;
        q.setStatement(s.sql, s.params);
        q.execSql();
    });
}

db::WriteResult deleteLaudo(DataModule& dm, const LaudoKey& key)
{
    return db::guardedWrite(dm.trVorqwin(), [&] {
        db::Query& highest = dm.quConsvorq;
        openStatement(highest, {QStringLiteral("select max (sequencia) as maior from laudo where folha = :p1 and "
                                               "mescomp = :p2 and anocomp = :p3"),
                                {real(key.folha), real(key.mes), real(key.ano)}});
        const int last = highest.value(QStringLiteral("MAIOR")).toInt();
        highest.close();
        db::Query& q = dm.quAtualvorq;
        q.setStatement(QStringLiteral("delete from laudo where folha = :p1 and sequencia = :p2 and mescomp = :p3 "
                                      "and anocomp = :p4"),
                       keyParams(key));
        q.execSql();
        if (last == key.sequencia)
            return;
        // The sheet's last laudo takes the freed sequence; no other moves.
        q.setStatement(QStringLiteral("update laudo set sequencia = :p1 where folha = :p2 and sequencia = :p3 and "
                                      "mescomp = :p4 and anocomp = :p5"),
                       {real(key.sequencia), real(key.folha), real(last), real(key.mes), real(key.ano)});
        q.execSql();
    });
}

QStringList filterOrders()
{
    return {QStringLiteral("Ano/mês/fol comp"), QStringLiteral("Mun.Origem"), QStringLiteral("Mun.Referência"),
            QStringLiteral("Prestador")};
}

Statement laudoFilter(const LaudoFilter& f)
{
    Statement s{QStringLiteral("select * from laudo where anocomp > 2006 "), {}};
    if (f.cnes) {
        s.sql += QStringLiteral("and cnes = :p1 ");
        s.params << *f.cnes;
    }
    if (f.competence) {
        s.sql += QStringLiteral("and anocomp = :p2 and mescomp = :p3 ");
        s.params << real(f.competence->first) << real(f.competence->second);
    }
    if (f.folha) {
        s.sql += QStringLiteral("and folha = :p4 ");
        s.params << real(*f.folha);
    }
    if (f.aih) {
        s.sql += QStringLiteral("and numaih = :p5 ");
        s.params << *f.aih;
    }
    static const char* const orders[] = {
        "order by anocomp desc,mescomp desc,folha desc,sequencia desc",
        "order by munorig desc,anocomp desc,mescomp desc,folha desc,sequencia desc",
        "order by munintern desc,anocomp desc,mescomp desc,folha desc,sequencia desc",
        "order by cnes desc,anocomp desc,mescomp desc,folha desc,sequencia desc",
    };
    if (f.order >= 0 && f.order < 4)
        s.sql += QString::fromLatin1(orders[f.order]);
    return s;
}

Statement laudoListing(const ListingSelection& selection)
{
    Statement s{QStringLiteral("select * from laudo where anocomp = :p1 and mescomp = :p2 "),
                {real(selection.ano), real(selection.mes)}};
    if (selection.cnes) {
        s.sql += QStringLiteral("and cnes = :p3 ");
        s.params << *selection.cnes;
    }
    if (selection.folha) {
        s.sql += QStringLiteral("and folha = :p4 ");
        s.params << real(*selection.folha);
    }
    s.sql += QStringLiteral("order by folha, sequencia");
    return s;
}

Statement laudoToPrint(const QString& aihDigits)
{
    return {QStringLiteral("select * from laudo where numaih = :p1"), {aihDigits}};
}

std::optional<Competence> storedCompetence(DataModule& dm)
{
    db::Dataset& param = dm.dataset(QStringLiteral("tbParamvorq"));
    param.close();
    param.open();
    param.first();
    if (param.eof())
        return std::nullopt;
    return Competence{param.value(QStringLiteral("MES")).toInt(), param.value(QStringLiteral("ANO")).toInt()};
}

db::WriteResult storeCompetence(DataModule& dm, const Competence& c)
{
    return db::guardedWrite(dm.trVorqwin(), [&] {
        db::Query& rows = dm.quConsvorq;
        openStatement(rows, {QStringLiteral("select count(*) from parame"), {}});
        const bool empty = rows.value(0).toLongLong() == 0;
        rows.close();
        db::Query& q = dm.quAtualvorq;
        // An empty table gets its one row, as the monthly clean-up leaves it.
        q.setStatement(empty ? QStringLiteral("insert into parame (mes, ano) values (:p0, :p1)")
                             : QStringLiteral("update parame set mes = :p0, ano = :p1"),
                       {real(c.mes), real(c.ano)});
        q.execSql();
    });
}

} // namespace talvera::laudos
