// The three range forms driven through their controls, against the demo data:
// embedded files, and the main database on the loopback server as the state
// edition uses it.
#include "core/datamodule.h"
#include "core/numbers.h"
#include "ranges/cmovim.h"
#include "ranges/distr.h"
#include "ranges/receb.h"
#include "tests/support/datadir.h"
#include "tests/support/qtprint.h"
#include "widgets/datagrid.h"
#include "widgets/digitsedit.h"
#include "widgets/lookupcombo.h"
#include "widgets/maskededit.h"
#include "widgets/numericedit.h"
#include "widgets/radiogroup.h"
#include "widgets/scriptedmessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace talvera;
using namespace talvera::ranges;
using talvera::test::DataDir;
using Kind = widgets::Messages::Kind;

namespace {

// Demo data: Arapiraca (2700300) has 2016 blocks 271610000001-271610002000
// (category 1) and 271650000001-271650001000 (category 5); Maceió (2704302) has
// 271610010001-271610012000. Distributed: 271610000001-040, 271650000001-045
// and 271610010001-030; 271610000001-003 and 271650000001-002 written off.
constexpr const char* kArapiraca = "2700300";
constexpr const char* kMaceio = "2704302";
constexpr const char* kCampoAlegre = "2701407";

class RangesTest : public ::testing::TestWithParam<Edition> {
protected:
    DataDir dir;
    widgets::ScriptedMessagesScope messages;
    std::unique_ptr<DataModule> dm;

    void SetUp() override
    {
        BuildSettings build{"127.0.0.1", dir.file("TALVERA.GDB"), dir.prefix()};
        dm = std::make_unique<DataModule>(GetParam(), build, dir.configFile());
        dm->dbVorqwin.open();
        dm->settings.user = "1";
        dm->dataset("quMun").open();
    }

    QStringList shown() const { return messages->texts(Kind::Information); }
    QStringList errors() const { return messages->texts(Kind::Error); }

    qint64 count(const QString& sql, const QVariantList& params = {})
    {
        db::Query q(dm->dbAih);
        q.setSql(sql);
        for (int i = 0; i < params.size(); ++i)
            q.setParam(i, params[i]);
        q.open();
        return q.value(0).toLongLong();
    }

    static void typeRange(RangeForm& form, qint64 first, qint64 last)
    {
        form.edInicial->setProperty("digits", QString::number(first).rightJustified(12, '0'));
        form.edDvinic->setProperty("value", numbers::checkDigit(first));
        form.edFinal->setProperty("digits", QString::number(last).rightJustified(12, '0'));
        form.edDvfina->setProperty("value", numbers::checkDigit(last));
    }
};

// ---------------------------------------------------------------- forecast

class ForecastTest : public RangesTest {
protected:
    std::unique_ptr<TfmReceb> form;
    void SetUp() override
    {
        RangesTest::SetUp();
        form = std::make_unique<TfmReceb>(*dm);
        form->show();
    }
    QStringList save(int year, const char* municipality, qint64 first, qint64 last, int category)
    {
        messages->clear();
        form->btInclui->click();
        form->edAno->setProperty("value", year);
        form->cbMun->setProperty("key", QString::fromLatin1(municipality));
        typeRange(*form, first, last);
        form->rgCateg->setProperty("itemIndex", category - 1);
        form->btConfirma->click();
        return shown();
    }
    qint64 blocks() { return count("select count(*) from TBANUAL"); }
};

TEST_P(ForecastTest, OverlapIsTestedAgainstEveryBlockWithInclusiveBounds)
{
    const qint64 before = blocks();
    struct Case {
        const char* what;
        int year;
        const char* municipality;
        qint64 first;
        qint64 last;
        bool accepted;
    };
    const Case cases[] = {
        {"starts at an existing final", 2016, kArapiraca, 271610002000, 271610002100, false},
        {"ends at an existing initial", 2016, kMaceio, 271610009000, 271610010001, false},
        {"inside", 2016, kCampoAlegre, 271610000500, 271610000600, false},
        {"enclosing", 2016, kCampoAlegre, 271610009000, 271610013000, false},
        {"starts one past the final", 2016, kArapiraca, 271610002001, 271610002001, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QStringList messagesShown = save(c.year, c.municipality, c.first, c.last, 1);
        if (c.accepted)
            EXPECT_TRUE(messagesShown.isEmpty()) << messagesShown.join('|').toStdString();
        else
            EXPECT_EQ(messagesShown, QStringList({"Faixa de documentos já utilizada!"}));
    }
    EXPECT_EQ(blocks(), before + 1);
    // Saved as typed, in the main database, and listed after the reset.
    EXPECT_EQ(count("select DVINIC from TBANUAL where INICIAL = 271610002001"), numbers::checkDigit(271610002001));
    EXPECT_TRUE(form->btConfirma->isHidden());
    auto* model = form->grNome->model();
    while (model->canFetchMore({}))
        model->fetchMore({});
    EXPECT_EQ(model->rowCount(), before + 1);
}

TEST_P(ForecastTest, RefusalsKeepTheEntry)
{
    EXPECT_EQ(save(2016, kArapiraca, 271610003000, 271610003010, 2), QStringList({"Utilize apenas as categorias 1, 4 ou 5"}));
    EXPECT_EQ(save(2016, "", 271610003000, 271610003010, 1), QStringList({"Selecione o município"}));
    EXPECT_EQ(save(2015, kArapiraca, 271610003000, 271610003010, 1), QStringList({"Valor Inicial inválido"}));
    EXPECT_EQ(form->edInicial->property("digits").toString(), "271610003000");
    EXPECT_FALSE(form->btConfirma->isHidden());
    form->edInicial->setProperty("digits", "");
    form->btConfirma->click();
    EXPECT_EQ(shown().last(), "Número inicial não preenchido");
    EXPECT_EQ(blocks(), 3);
}

TEST_P(ForecastTest, AnEmptiedYearReadsAsItsLowestYear)
{
    // Numbers whose year digits are 00 pass for a year of 0: the emptied year must not be 0.
    form->btInclui->click();
    form->cbMun->setProperty("key", QString::fromLatin1(kArapiraca));
    form->edAno->selectAll();
    QTest::keyClick(form->edAno, Qt::Key_Delete);
    EXPECT_EQ(form->edAno->property("value").toInt(), 2006);
    typeRange(*form, 270010000001, 270010000010);
    form->rgCateg->setProperty("itemIndex", 0);
    messages->clear();
    form->btConfirma->click();
    EXPECT_EQ(shown(), QStringList({"Valor Inicial inválido"}));
    EXPECT_EQ(count("select count(*) from TBANUAL where ANO < 2006"), 0);
}

TEST_P(ForecastTest, DeletionOnlyWhileNothingIsDistributed)
{
    ASSERT_TRUE(save(2016, kCampoAlegre, 271610020001, 271610020100, 1).isEmpty());
    // Rows are ordered by year, municipality, initial: find each block by double-click.
    auto pick = [&](qint64 first) {
        auto* model = form->grNome->model();
        while (model->canFetchMore({}))
            model->fetchMore({});
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 2).data().toString() == numbers::displayText(first, numbers::checkDigit(first))) {
                form->grNome->setProperty("currentRow", row);
                form->grNomeDblClick();
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(pick(271610000001));
    EXPECT_FALSE(form->btInclui->isEnabled());
    EXPECT_TRUE(form->btExclui->isEnabled());
    EXPECT_EQ(form->cbMun->property("key").toString(), kArapiraca);
    EXPECT_EQ(form->rgCateg->property("itemIndex").toInt(), 0);
    messages->clear();
    form->btExclui->click();
    EXPECT_EQ(shown(), QStringList({"Documentos já foram distribuidos, exclusão não permitida"}));
    EXPECT_EQ(blocks(), 4);

    ASSERT_TRUE(pick(271610020001));
    messages->clear();
    form->btExclui->click();
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(blocks(), 3);
    EXPECT_FALSE(form->btExclui->isEnabled());
}

// ------------------------------------------------------------ distribution

class DistributionTest : public RangesTest {
protected:
    std::unique_ptr<TfmDistr> form;
    void SetUp() override
    {
        RangesTest::SetUp();
        form = std::make_unique<TfmDistr>(*dm);
        form->show();
    }
    void enter(const char* origin, const char* reference, int month, qint64 first, qint64 last, int category,
               int type)
    {
        messages->clear();
        form->btInclui->click();
        form->cbMunorig->setProperty("key", QString::fromLatin1(origin));
        form->cbMun->setProperty("key", QString::fromLatin1(reference));
        form->edAno->setProperty("value", 2016);
        form->edMes->setProperty("value", month);
        typeRange(*form, first, last);
        form->rgcategoria->setProperty("itemIndex", category - 1);
        form->rgtipo->setProperty("itemIndex", type);
    }
    qint64 movements(qint64 first, qint64 last)
    {
        return count("select count(*) from TBMOVIM where NUMERO between :a and :b", {first, last});
    }
    qint64 distributions() { return count("select count(*) from TBDISTR"); }
};

TEST_P(DistributionTest, SaveChecksInOrder)
{
    struct Case {
        const char* what;
        int month;
        qint64 first;
        qint64 last;
        int category;
        int type;
        const char* message;
    };
    const Case cases[] = {
        {"no category", 4, 271610000100, 271610000110, 0, 0, "Selecione a categoria"},
        {"no type", 4, 271610000100, 271610000110, 1, -1, "Selecione o tipo"},
        {"refused category", 4, 271610000100, 271610000110, 3, 0, "Utilize apenas as categorias 1, 4 ou 5"},
        {"month 0", 0, 271610000100, 271610000110, 1, 0, "Mês inválido"},
        {"numbers", 4, 271610000110, 271610000100, 1, 0, "O valor Final tem que ser maior que o inicial"},
        {"touches a distributed number", 4, 271610000040, 271610000050, 1, 0,
         "Documentos já foram distribuidos, inclusão não permitida"},
        {"outside the forecast", 4, 271610003000, 271610003010, 1, 0,
         "Documentos não foram efetuados a previsão anual, inclusão não permitida"},
    };
    const qint64 before = distributions();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        enter(kArapiraca, kArapiraca, c.month, c.first, c.last, c.category, c.type);
        form->btConfirma->click();
        EXPECT_EQ(shown(), QStringList({QString::fromUtf8(c.message)}));
    }
    enter("", kArapiraca, 4, 271610000100, 271610000110, 1, 0);
    form->btConfirma->click();
    EXPECT_EQ(shown(), QStringList({"Selecione o município de origem"}));
    EXPECT_EQ(distributions(), before);
}

TEST_P(DistributionTest, ARangeSpanningTwoAdjacentBlocksIsRefused)
{
    // A second Arapiraca block right after the first.
    db::Query q(dm->dbAih);
    q.setSql("insert into TBANUAL (ANO, MUNORIG, INICIAL, DVINIC, FINAL, DVFINA) "
             "values (2016, '2700300', 271610002001, :d1, 271610003000, :d2)");
    q.setParam(0, numbers::checkDigit(271610002001));
    q.setParam(1, numbers::checkDigit(271610003000));
    q.execSql();
    dm->trAih().commitRetaining();
    enter(kArapiraca, kArapiraca, 4, 271610001990, 271610002010, 1, 0);
    form->btConfirma->click();
    EXPECT_EQ(shown(), QStringList({"Documentos não foram efetuados a previsão anual, inclusão não permitida"}));
}

TEST_P(DistributionTest, SavingExpandsOneMovementRowPerNumber)
{
    const qint64 before = distributions();
    enter(kCampoAlegre, kArapiraca, 4, 271610000100, 271610000100, 1, 1);
    form->btConfirma->click();
    EXPECT_TRUE(shown().isEmpty()) << shown().join('|').toStdString();
    EXPECT_EQ(movements(271610000100, 271610000100), 1);

    enter(kArapiraca, kArapiraca, 5, 271610000501, 271610001000, 1, 0);
    form->btConfirma->click();
    EXPECT_TRUE(shown().isEmpty()) << shown().join('|').toStdString();
    EXPECT_EQ(distributions(), before + 2);
    EXPECT_EQ(movements(271610000501, 271610001000), 500);
    // Every row carries the distribution's values, its own check digit and USADA 'N'.
    EXPECT_EQ(count("select count(*) from TBMOVIM where NUMERO between 271610000501 and 271610001000 and "
                    "MUNREF = '2700300' and MUNORIG = '2700300' and ANOCOMP = 2016 and MESCOMP = 5 and TIPO = 'E' "
                    "and USADA = 'N' and DV = iif(mod(NUMERO, 11) = 10, 0, mod(NUMERO, 11))"),
              500);
    EXPECT_TRUE(form->btConfirma->isHidden());
}

TEST_P(DistributionTest, AFailureInTheMiddleLeavesNothing)
{
    // A movement row in the middle of the range that the checks did not see.
    db::Query q(dm->dbAih);
    q.setSql("insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, USADA) "
             "values ('2700300', 2016, 9, '2700300', 'E', 271610001500, 0, 'N')");
    q.execSql();
    dm->trAih().commitRetaining();
    const qint64 before = distributions();
    Distribution d{kArapiraca, 2016, 6, kArapiraca, 271610001001, 1, 271610001999, 0, "E"};
    const db::WriteResult result = saveDistribution(*dm, d);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains("PK_MOVIM")) << result.error.toStdString();
    EXPECT_EQ(distributions(), before);
    EXPECT_EQ(movements(271610001001, 271610001999), 1);

    // Cancelling from the progress report rolls back the same way.
    const db::WriteResult cancelled = saveDistribution(
        *dm, {kArapiraca, 2016, 6, kArapiraca, 271610000601, 1, 271610001000, 0, "E"},
        [](qint64 done, qint64) { return done < 256; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(distributions(), before);
    EXPECT_EQ(movements(271610000601, 271610001000), 0);
}

TEST_P(DistributionTest, AFailedSaveIsReportedAndTheEntryStays)
{
    // A municipality that disappears from MUN after it was chosen makes the
    // movement rows fail their reference to MUN.
    db::Query add(dm->dbAih);
    add.setSql("insert into MUN (CODMUN, NOME) values ('2799998', 'Município Provisório')");
    add.execSql();
    dm->trAih().commitRetaining();
    dm->dataset("quMun").open();
    enter("2799998", kArapiraca, 4, 271610000300, 271610000310, 1, 1);
    db::Database other;
    other.setDatabaseName(dm->dbAih.databaseName());
    other.setParam("password", dm->dbAih.param("password"));
    db::Query remove(other);
    remove.setSql("delete from MUN where CODMUN = '2799998'");
    remove.execSql();
    other.close();
    const qint64 before = distributions();
    form->btConfirma->click();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().first().startsWith("Não foi possível gravar a distribuição")) << errors().first().toStdString();
    EXPECT_EQ(distributions(), before);
    EXPECT_EQ(movements(271610000300, 271610000310), 0);
    EXPECT_FALSE(form->btConfirma->isHidden());
    EXPECT_EQ(form->edInicial->property("digits").toString(), "271610000300");
}

TEST_P(DistributionTest, RefusedOrDoneSavesKeepTheChosenMunicipalities)
{
    form->chMun->setChecked(true);
    form->cbPesq->setProperty("key", QString::fromLatin1(kMaceio));
    for (int category : {0, 1}) {
        // No category, then month 0: both refused after the connection switch.
        enter(kCampoAlegre, kArapiraca, 0, 271610000100, 271610000110, category, 1);
        form->btConfirma->click();
        EXPECT_EQ(shown().size(), 1);
        EXPECT_EQ(form->cbMunorig->property("key").toString(), kCampoAlegre) << category;
        EXPECT_EQ(form->cbMun->property("key").toString(), kArapiraca) << category;
        EXPECT_EQ(form->cbMun->currentText(), "Arapiraca");
    }
    form->edMes->setProperty("value", 4);
    form->btConfirma->click();
    EXPECT_TRUE(shown().size() == 1) << shown().join('|').toStdString();
    EXPECT_EQ(movements(271610000100, 271610000110), 11);
    EXPECT_EQ(form->cbPesq->property("key").toString(), kMaceio) << "the filter survives a save";
}

TEST_P(DistributionTest, AnAbandonedExpansionLeavesTheQueriesAsTheyWere)
{
    const db::WriteResult cancelled = saveDistribution(
        *dm, {kArapiraca, 2016, 6, kArapiraca, 271610000601, 1, 271610001000, 0, "E"},
        [](qint64, qint64) { return false; });
    ASSERT_TRUE(cancelled.cancelled);
    // The next deletion runs its own statements on the same queries.
    const db::WriteResult deleted = deleteDistribution(*dm, {"", 2016, 1, kMaceio, 271610010001, 0, 271610010030, 0, "U"});
    EXPECT_TRUE(deleted.ok) << deleted.error.toStdString();
    EXPECT_EQ(movements(271610010001, 271610010030), 0);
}

TEST_P(DistributionTest, EnterOnTheGridMovesOnAndPicksNothing)
{
    form->btPesqClick();
    ASSERT_GT(form->grNome->model()->rowCount(), 0);
    form->activateWindow();
    form->grNome->setFocus();
    form->grNome->setProperty("currentRow", 0);
    QTest::keyClick(form->grNome, Qt::Key_Return);
    EXPECT_FALSE(form->btExclui->isEnabled());
    EXPECT_TRUE(form->btInclui->isEnabled());
    EXPECT_EQ(form->edInicial->property("digits").toString(), "");
    EXPECT_NE(QApplication::focusWidget(), form->grNome);
}

TEST_P(DistributionTest, QuantitiesAreShownPlainAndAnUnreadableOneIsExplained)
{
    enter(kArapiraca, kArapiraca, 7, 271610001001, 271610002000, 1, 0);
    form->btConfirma->click();
    ASSERT_TRUE(shown().isEmpty()) << shown().join('|').toStdString();
    form->rgPesq->setProperty("itemIndex", 2);
    form->btPesqClick();
    auto* model = form->grNome->model();
    while (model->canFetchMore({}))
        model->fetchMore({});
    QStringList quantities;
    for (int row = 0; row < model->rowCount(); ++row)
        quantities << model->index(row, 6).data().toString();
    EXPECT_TRUE(quantities.contains("1000")) << quantities.join('|').toStdString();

    form->btInclui->click();
    form->cbMun->setProperty("key", QString::fromLatin1(kArapiraca));
    form->rgcategoria->setProperty("itemIndex", 0);
    form->edQuant->setProperty("text", "99999999999999999999");
    messages->clear();
    form->edQuantExit();
    EXPECT_EQ(shown(), QStringList({"Quantidade inválida: o número tem dígitos demais"}));
}

TEST_P(DistributionTest, TypeProposal)
{
    form->btInclui->click();
    struct Case {
        const char* origin;
        const char* reference;
        int type;
    };
    const Case cases[] = {{kArapiraca, kArapiraca, 0}, {kCampoAlegre, kArapiraca, 1}, {"", kArapiraca, -1},
                          {kArapiraca, "", -1}};
    for (const Case& c : cases) {
        form->cbMunorig->setProperty("key", QString::fromLatin1(c.origin));
        form->cbMun->setProperty("key", QString::fromLatin1(c.reference));
        form->municipalityExit();
        EXPECT_EQ(form->rgtipo->property("itemIndex").toInt(), c.type) << c.origin << "/" << c.reference;
    }
}

TEST_P(DistributionTest, RangeProposalFromTheQuantity)
{
    form->btInclui->click();
    form->cbMun->setProperty("key", QString::fromLatin1(kArapiraca));
    form->rgcategoria->setProperty("itemIndex", 4);
    form->edQuant->setProperty("text", "10");
    form->edQuantExit();
    EXPECT_EQ(form->edInicial->property("digits").toString(), "271650000046");
    EXPECT_EQ(form->edFinal->property("digits").toString(), "271650000055");
    EXPECT_EQ(form->edDvfina->property("value").toInt(), numbers::checkDigit(271650000055));
    messages->clear();
    form->edQuant->setProperty("text", "5000");
    form->edQuantExit();
    EXPECT_EQ(shown(), QStringList({"Não há faixa livre na previsão anual para essa quantidade"}));
}

TEST_P(DistributionTest, DeletionRefusalsAndConfirmation)
{
    auto pickShown = [&](const char* origin, int month, qint64 first, qint64 last, bool confirm = false) {
        messages->clear();
        messages->answer(confirm);
        form->btCancelaClick();
        form->cbMunorig->setProperty("key", QString::fromLatin1(origin));
        form->edAno->setProperty("value", 2016);
        form->edMes->setProperty("value", month);
        typeRange(*form, first, last);
        form->btExclui->setEnabled(true);
        form->btExclui->click();
        return shown();
    };
    const QString notDistributed = "Documentos não foram distribuidos, exclusão não permitida";
    EXPECT_EQ(pickShown(kArapiraca, 4, 271610001100, 271610001200), QStringList({notDistributed}));
    EXPECT_EQ(pickShown(kArapiraca, 2, 271610000001, 271610000040), QStringList({notDistributed})); // month differs
    EXPECT_EQ(pickShown(kArapiraca, 1, 271610000001, 271610000040),
              QStringList({"Existem documentos já baixados nessa faixa, exclusão não permitida"}));
    const qint64 before = distributions();
    EXPECT_TRUE(pickShown(kMaceio, 1, 271610010001, 271610010030, false).isEmpty());
    EXPECT_EQ(messages->texts(Kind::Question), QStringList({"CONFIRMA EXCLUSÃO?"}));
    EXPECT_EQ(distributions(), before);
    EXPECT_TRUE(pickShown(kMaceio, 1, 271610010001, 271610010030, true).isEmpty());
    EXPECT_EQ(distributions(), before - 1);
    EXPECT_EQ(movements(271610010001, 271610010030), 0);
}

TEST_P(DistributionTest, ListingAndPickingOnlyUserOneMayDelete)
{
    form->chMun->setChecked(true);
    form->cbPesq->setProperty("key", QString::fromLatin1(kMaceio));
    form->rgPesq->setProperty("itemIndex", 1);
    form->btPesqClick();
    auto* model = form->grNome->model();
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->index(0, 3).data().toString(), "Maceió");
    EXPECT_EQ(model->index(0, 6).data().toString(), "30");
    form->grNome->setProperty("currentRow", 0);
    form->grNomeDblClick();
    EXPECT_EQ(form->edQuant->property("text").toString(), "30");
    EXPECT_EQ(form->rgtipo->property("itemIndex").toInt(), 1);
    EXPECT_TRUE(form->btExclui->isEnabled());
    dm->settings.user = " operador ";
    form->grNomeDblClick();
    EXPECT_FALSE(form->btExclui->isEnabled());
    dm->settings.user = " 1 ";
    form->grNomeDblClick();
    EXPECT_TRUE(form->btExclui->isEnabled());
}

// ------------------------------------------------------------ consultation

class ConsultationTest : public RangesTest {};

TEST_P(ConsultationTest, CountsAndArchiveSwitch)
{
    TfmCmovim form(*dm);
    form.show();
    form.btPesqClick();
    EXPECT_EQ(form.lbQuant->text(), "115 Documentos totais");
    EXPECT_EQ(form.lbUsada->text(), "5 Documentos usados");
    EXPECT_EQ(form.lbNusada->text(), "110 Documentos a usar");
    EXPECT_GT(form.grNome->model()->rowCount(), 0);

    // A ticked number left empty stops the search and leaves nothing on show.
    form.chAih->setChecked(true);
    form.edNumero->setProperty("digits", "");
    EXPECT_THROW(form.btPesqClick(), db::DatabaseError);
    EXPECT_EQ(form.lbQuant->text(), "");
    EXPECT_EQ(form.grNome->model()->rowCount(), 0);
    form.edNumero->setProperty("digits", "271610009999");
    form.btPesqClick();
    EXPECT_EQ(form.lbQuant->text(), "0 Documentos totais");
    EXPECT_EQ(form.grNome->model()->rowCount(), 0);
    form.chAih->setChecked(false);

    form.chMun->setChecked(true);
    form.cbMun->setProperty("key", QString::fromLatin1(kCampoAlegre));
    form.btPesqClick();
    EXPECT_EQ(form.lbQuant->text(), "25 Documentos totais"); // by origin
    form.rgMun->setProperty("itemIndex", 0);
    form.btPesqClick();
    EXPECT_EQ(form.lbQuant->text(), "0 Documentos totais"); // by reference
    form.chMun->setChecked(false);

    // The archive, and back to the main database when the form closes.
    form.rgBanco->setProperty("itemIndex", 0);
    form.chooseDatabase();
    EXPECT_EQ(form.lbQuant->text(), "");
    EXPECT_EQ(dm->dbAih.databaseName(), dir.file("TALVERA10.GDB"));
    form.btPesqClick();
    EXPECT_EQ(form.lbQuant->text(), "20 Documentos totais");
    form.close();
    EXPECT_EQ(dm->dbAih.databaseName(), dm->settings.aih);
    EXPECT_TRUE(dm->dbAih.connected());
}

TEST_P(ConsultationTest, TheMunicipalityFilterSurvivesShowingAndTheDatabaseSwitch)
{
    TfmCmovim form(*dm);
    form.show();
    form.chMun->setChecked(true);
    form.cbMun->setProperty("key", QString::fromLatin1(kCampoAlegre));
    form.hide();
    form.show();
    EXPECT_EQ(form.cbMun->property("key").toString(), kCampoAlegre);
    form.rgBanco->setProperty("itemIndex", 0);
    form.chooseDatabase();
    form.rgBanco->setProperty("itemIndex", 1);
    form.chooseDatabase();
    EXPECT_EQ(form.cbMun->property("key").toString(), kCampoAlegre);
    form.btPesqClick();
    EXPECT_EQ(form.lbQuant->text(), "25 Documentos totais");
}

std::string editionName(const ::testing::TestParamInfo<Edition>& info)
{
    return info.param == Edition::State ? "Server" : "Embedded";
}

INSTANTIATE_TEST_SUITE_P(Ranges, ForecastTest, ::testing::Values(Edition::Municipal, Edition::State), editionName);
INSTANTIATE_TEST_SUITE_P(Ranges, DistributionTest, ::testing::Values(Edition::Municipal, Edition::State), editionName);
INSTANTIATE_TEST_SUITE_P(Ranges, ConsultationTest, ::testing::Values(Edition::Municipal, Edition::State), editionName);

} // namespace
