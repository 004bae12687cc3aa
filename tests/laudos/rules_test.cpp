// The laudo rules without a window: the save's checks, the sequence proposal,
// the statements, and the deletion with the sheet's renumbering.
#include "laudofixture.h"

#include "laudos/laudorules.h"

using namespace talvera;
using namespace talvera::laudos;
using namespace talvera::test;

namespace {

class RulesTest : public LaudoTest {
protected:
    QStringList questions;
    bool answer = true;

    SaveCheck check(const Laudo& laudo, Mode mode = Mode::Insert)
    {
        return checkSave(*dm, laudo, mode, [this](const QString& question) {
            questions << question;
            return answer;
        });
    }
    // A new laudo of 03/2016 that passes every check.
    static Laudo valid(qint64 aih = 271650000010)
    {
        Laudo l;
        l.key = {6, 1, 3, 2016};
        l.cnes = QString::fromLatin1(kRegional);
        l.aih = QString::number(aih);
        l.dv = numbers::checkDigit(aih);
        l.mesLib = 3;
        l.anoLib = 2016;
        l.sexo = 0;
        l.carater = QStringLiteral("01");
        l.especialidade = QStringLiteral("1");
        l.procedimento = QStringLiteral("0407030026");
        l.cpfSolicita = QStringLiteral("01234567890");
        l.cpfAutoriza = QStringLiteral("12345678909");
        return l;
    }
    void distribute(qint64 number)
    {
        db::Query q(dm->dbAih);
        q.setStatement(QStringLiteral("insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, "
                                      "USADA) values ('2700300', 2016, 3, '2700300', 'E', ?, ?, 'N')"),
                       {number, numbers::checkDigit(number)});
        q.execSql();
        dm->trAih().commitRetaining();
    }
};

} // namespace

TEST_F(RulesTest, SaveChecksRunInOrderEachWithItsMessage)
{
    // Another provider on sheet 5, and an 11-digit number that was distributed.
    addLaudo(5, 2, 3, 2016, kMaternidade, 271650000020);
    distribute(27165000001);
    Laudo l;
    l.anoLib = 2015;
    const auto fixed = [](auto change) { return std::function<void(Laudo&)>(change); };
    const std::vector<std::pair<const char*, std::function<void(Laudo&)>>> steps = {
        {"Folha tem que ser preenchida", fixed([](Laudo& x) { x.key.folha = 40000; })},
        {"Folha inválida", fixed([](Laudo& x) { x.key.folha = 5; })},
        {"Sequência válida entre 1 e 20", fixed([](Laudo& x) { x.key.sequencia = 21; })},
        {"Sequência válida entre 1 e 20", fixed([](Laudo& x) { x.key.sequencia = 1; })},
        {"Mês de competência inválido", fixed([](Laudo& x) { x.key.mes = 3, x.key.ano = 2016; })},
        {"Selecione o prestador", fixed([](Laudo& x) { x.cnes = kRegional; })},
        {"Mês/Ano de liberação anterior à competência", fixed([](Laudo& x) { x.anoLib = 2016, x.mesLib = 2; })},
        {"Mês/Ano de liberação anterior à competência", fixed([](Laudo& x) { x.mesLib = 0, x.anoLib = 2017; })},
        {"Mês de liberação inválido", fixed([](Laudo& x) { x.mesLib = 3, x.anoLib = 0; })},
        {"Ano de liberação inválido", fixed([](Laudo& x) { x.anoLib = 2016; })},
        {"Selecione o sexo", fixed([](Laudo& x) { x.sexo = 1; })},
        {"Selecione o caráter de internação", fixed([](Laudo& x) { x.carater = "03"; })},
        {"Selecione a especialidade", fixed([](Laudo& x) { x.especialidade = "7"; })},
        {"Selecione o procedimento", fixed([](Laudo& x) { x.procedimento = "0411010034"; })},
        // Both CPFs are asked about from here on (empty CPFs are not registered).
        {"Existem registros usando outro CNES nesta folha", fixed([](Laudo& x) { x.key.folha = 6; })},
        {"AIH não preenchida", fixed([](Laudo& x) { x.aih = "271650000099", x.dv = 0; })},
        // Its check digit is 5: the digit is refused before the number is looked up.
        {"Dígito verificador da Aih inválido", fixed([](Laudo& x) { x.dv = 5; })},
        {"Aih não cadastrada na distribuição", fixed([](Laudo& x) { x.aih = "271650000001", x.dv = 6; })},
        // Written off in 02/2016, released in 03/2016.
        {"Aih já utilizada em outro mês/ano de liberação",
         fixed([](Laudo& x) { x.aih = "271650000004", x.dv = numbers::checkDigit(271650000004LL); })},
        // On a laudo of sheet 1.
        {"Aih já utilizada nesse mês", fixed([](Laudo& x) { x.aih = "027165000001", x.dv = numbers::checkDigit(27165000001LL); })},
        {"Valor da Aih inválido", fixed([](Laudo& x) { x.aih = "271650000010", x.dv = numbers::checkDigit(271650000010LL); })},
    };
    for (const auto& [message, fix] : steps) {
        SCOPED_TRACE(message);
        const SaveCheck result = check(l);
        EXPECT_FALSE(result.passed);
        EXPECT_EQ(result.message, QString::fromUtf8(message));
        fix(l);
    }
    questions.clear();
    EXPECT_TRUE(check(l).passed);
    EXPECT_EQ(questions, QStringList({"O CPF do solicitante não está cadastrado na tabela de profissionais, confirma "
                                      "inclusão de laudo?",
                                      "O CPF do autorizador não está cadastrado na tabela de profissionais, confirma "
                                      "inclusão de laudo?"}));
    // A No ends the save without a message; registered CPFs ask nothing.
    answer = false;
    questions.clear();
    EXPECT_EQ(check(l).message, QString());
    EXPECT_FALSE(check(l).passed);
    EXPECT_EQ(questions.size(), 2) << "one question per attempt";
    l.cpfSolicita = "01234567890";
    l.cpfAutoriza = "12345678909";
    questions.clear();
    EXPECT_TRUE(check(l).passed);
    EXPECT_TRUE(questions.isEmpty());
}

TEST_F(RulesTest, ReleaseMonthAgainstCompetence)
{
    struct Case {
        int mes;
        int ano;
        const char* refusal;
    };
    // Competence 05/2016.
    const Case cases[] = {
        {0, 0, ""},
        {4, 2016, "Mês/Ano de liberação anterior à competência"},
        {5, 2016, ""},
        {1, 2017, ""},
        {0, 2017, "Mês de liberação inválido"},
        {5, 0, "Ano de liberação inválido"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("%1/%2").arg(c.mes).arg(c.ano).toStdString());
        Laudo l = valid();
        l.key.mes = 5;
        l.mesLib = c.mes;
        l.anoLib = c.ano;
        EXPECT_EQ(check(l).message, QString::fromUtf8(c.refusal));
    }
}

TEST_F(RulesTest, WrittenOffNumberNeedsItsProcessingMonthAsRelease)
{
    Laudo l = valid(271650000002); // processed in 02/2016
    l.key.mes = 2;
    l.mesLib = 2;
    EXPECT_TRUE(check(l).passed) << check(l).message.toStdString();
    l.mesLib = 3;
    EXPECT_EQ(check(l).message, QStringLiteral("Aih já utilizada em outro mês/ano de liberação"));
    l.mesLib = 2;
    l.anoLib = 2017;
    EXPECT_EQ(check(l).message, QStringLiteral("Aih já utilizada em outro mês/ano de liberação"));
}

TEST_F(RulesTest, NumberOnAnotherLaudoInInsertAndChange)
{
    // Sheet 1 of 03/2016, sequence 1, holds 271650000004; a laudo of 04/2016 too.
    Laudo own = valid(271650000004);
    own.key = {1, 1, 3, 2016};
    EXPECT_EQ(check(own, Mode::Insert).message, QStringLiteral("Aih já utilizada nesse mês"));
    EXPECT_TRUE(check(own, Mode::Change).passed) << "a change that keeps its number counts itself once";
    addLaudo(2, 1, 4, 2016, kRegional, 271650000004);
    EXPECT_EQ(check(own, Mode::Change).message, QStringLiteral("Aih já utilizada nesse mês")) << "any month counts";
}

TEST_F(RulesTest, SheetCheckLeavesOutTheLaudosOwnSequenceAndOtherMonths)
{
    addLaudo(5, 1, 4, 2016, kRegional, 271650000020);
    LaudoKey second{5, 2, 4, 2016};
    EXPECT_TRUE(sheetHasOtherProvider(*dm, second, kMaternidade));
    EXPECT_FALSE(sheetHasOtherProvider(*dm, second, kRegional));
    EXPECT_FALSE(sheetHasOtherProvider(*dm, {5, 1, 4, 2016}, kMaternidade)) << "its own sequence";
    EXPECT_FALSE(sheetHasOtherProvider(*dm, {5, 2, 5, 2016}, kMaternidade)) << "the same sheet of 05/2016";
}

TEST_F(RulesTest, SequenceProposal)
{
    EXPECT_EQ(proposeSequence(*dm, 4, 2016, 3), 1) << "empty sheet";
    for (int s = 1; s <= 7; ++s)
        addLaudo(4, s, 3, 2016, kRegional, 271650000100 + s);
    EXPECT_EQ(proposeSequence(*dm, 4, 2016, 3), 8);
    EXPECT_EQ(proposeSequence(*dm, 4, 2016, 4), 1) << "another month";
    addLaudo(4, 20, 3, 2016, kRegional, 271650000120);
    EXPECT_EQ(proposeSequence(*dm, 4, 2016, 3), std::nullopt);
}

TEST_F(RulesTest, DeletionMovesTheSheetsLastLaudoIntoTheFreedSequence)
{
    auto fill = [&](int folha, int count) {
        for (int s = 1; s <= count; ++s)
            addLaudo(folha, s, 3, 2016, kRegional, 271650000000 + folha * 100 + s);
    };
    auto numbers = [](int folha, std::initializer_list<int> serials) {
        QList<QPair<int, qint64>> rows;
        int sequence = 0;
        for (const int s : serials)
            rows << qMakePair(++sequence, 271650000000 + folha * 100 + s);
        return rows;
    };
    fill(4, 7);
    fill(6, 7);
    fill(7, 1);
    ASSERT_TRUE(deleteLaudo(*dm, {4, 3, 3, 2016}).ok);
    EXPECT_EQ(sheet(4, 3, 2016), numbers(4, {1, 2, 7, 4, 5, 6}));
    ASSERT_TRUE(deleteLaudo(*dm, {6, 7, 3, 2016}).ok);
    EXPECT_EQ(sheet(6, 3, 2016), numbers(6, {1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(deleteLaudo(*dm, {7, 1, 3, 2016}).ok);
    EXPECT_TRUE(sheet(7, 3, 2016).isEmpty());
    EXPECT_EQ(sheet(1, 3, 2016).size(), 2) << "other sheets untouched";
}

TEST_F(RulesTest, FailedRenumberingLeavesTheSheetAsItWas)
{
    for (int s = 1; s <= 4; ++s)
        addLaudo(4, s, 3, 2016, kRegional, 271650000100 + s);
    execVorq("create exception NO_MOVE 'renumbering refused'");
    execVorq("create trigger LAUDO_NO_MOVE for LAUDO before update as begin exception NO_MOVE; end");
    const auto before = sheet(4, 3, 2016);
    const db::WriteResult result = deleteLaudo(*dm, {4, 2, 3, 2016});
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains("renumbering refused")) << result.error.toStdString();
    EXPECT_EQ(sheet(4, 3, 2016), before);
}

TEST_F(RulesTest, FilterStatementAppendsConditionsAndBindsThemInOrder)
{
    const QString base = "select * from laudo where anocomp > 2006 ";
    struct Case {
        const char* what;
        LaudoFilter filter;
        QString sql;
        QVariantList params;
    };
    LaudoFilter all;
    all.cnes = kRegional;
    all.competence = std::make_pair(2016, 3);
    all.folha = 4;
    all.aih = "271650000004";
    all.order = 0;
    LaudoFilter providerAndSheet;
    providerAndSheet.cnes = kMaternidade;
    providerAndSheet.folha = 12;
    LaudoFilter emptyNumber;
    emptyNumber.aih = QString();
    const QString orderTail = "anocomp desc,mescomp desc,folha desc,sequencia desc";
    const Case cases[] = {
        {"nothing", {}, base, {}},
        {"provider and sheet", providerAndSheet, base + "and cnes = :p1 and folha = :p4 ", {kMaternidade, 12.0}},
        {"everything",
         all,
         base + "and cnes = :p1 and anocomp = :p2 and mescomp = :p3 and folha = :p4 and numaih = :p5 order by " +
             orderTail,
         {kRegional, 2016.0, 3.0, 4.0, "271650000004"}},
        {"empty number", emptyNumber, base + "and numaih = :p5 ", {QString()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Statement s = laudoFilter(c.filter);
        EXPECT_EQ(s.sql, c.sql);
        EXPECT_EQ(s.params, c.params);
    }
    const QStringList orders = {"order by " + orderTail, "order by munorig desc," + orderTail,
                                "order by munintern desc," + orderTail, "order by cnes desc," + orderTail};
    for (int i = 0; i < 4; ++i) {
        LaudoFilter f;
        f.order = i;
        EXPECT_EQ(laudoFilter(f).sql, base + orders[i]);
    }
    // The statements run: the empty number finds nothing, the provider and sheet their laudos.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        db::Dataset& laudos = dm->dataset("quLaudo");
        EXPECT_NO_THROW(openStatement(laudos, laudoFilter(c.filter)));
        laudos.fetchAll();
        EXPECT_EQ(laudos.fetchedRows(), QString(c.what) == "nothing" ? 2 : 0);
    }
}

TEST_F(RulesTest, ListingSelectsOneCompetenceBySheetAndSequence)
{
    ListingSelection sheetOnly{2016, 4, std::nullopt, 7};
    EXPECT_EQ(laudoListing(sheetOnly).sql,
              "select * from laudo where anocomp = :p1 and mescomp = :p2 and folha = :p4 order by folha, sequencia");
    EXPECT_EQ(laudoListing(sheetOnly).params, QVariantList({2016.0, 4.0, 7.0}));
    ListingSelection both{2016, 4, QString(kRegional), 7};
    EXPECT_EQ(laudoListing(both).params, QVariantList({2016.0, 4.0, kRegional, 7.0}));
    // By competence, not by release: a laudo of 04/2016 released in 05/2016 is listed.
    addLaudo(3, 2, 4, 2016, kRegional, 271650000030);
    addLaudo(3, 1, 4, 2016, kRegional, 271650000031);
    addLaudo(1, 1, 4, 2016, kRegional, 271650000032);
    execVorq("update LAUDO set MESLIBE = 5, ANOLIBE = 2016 where NUMAIH = 271650000030");
    db::Dataset& listing = dm->dataset("quRlaudo");
    openStatement(listing, laudoListing({2016, 4, std::nullopt, std::nullopt}));
    QStringList order;
    for (; !listing.eof(); listing.next())
        order << QString("%1/%2").arg(listing.value("FOLHA").toInt()).arg(listing.value("SEQUENCIA").toInt());
    EXPECT_EQ(order, QStringList({"1/1", "3/1", "3/2"}));
}

TEST_F(RulesTest, CompetenceIsStoredEvenInAnEmptyTable)
{
    ASSERT_TRUE(storeCompetence(*dm, {4, 2016}).ok);
    EXPECT_EQ(storedCompetence(*dm)->mes, 4);
    execVorq("delete from PARAME");
    EXPECT_FALSE(storedCompetence(*dm).has_value());
    ASSERT_TRUE(storeCompetence(*dm, {0, 2006}).ok);
    EXPECT_EQ(vorq("select count(*) from PARAME").toInt(), 1);
    EXPECT_EQ(storedCompetence(*dm)->ano, 2006);
    EXPECT_EQ(storedCompetence(*dm)->mes, 0) << "month 0 is stored as typed";
}
