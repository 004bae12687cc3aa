// The report parameter form: the statement of each option and filter, and the
// form driven through its controls, embedded and on the loopback server.
#include "reports/parame.h"
#include "reports/paramerules.h"
#include "tests/reports/reportfixture.h"
#include "widgets/lookupcombo.h"
#include "widgets/numericedit.h"
#include "widgets/radiogroup.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

using namespace talvera;
using namespace talvera::reports;
using namespace talvera::test;
using Kind = widgets::Messages::Kind;

namespace {

TEST(ParameStatements, EachOptionAddsTheTickedFiltersInOrder)
{
    const QString distr = QStringLiteral("select * from TBDISTR where anocomp > 2005 ");
    const QString used = QStringLiteral(
        "SELECT B.ANOPROC, B.MESPROC, B.NUMERO, B.DV, B.MUNATEN, B.CGC_HSP, B.NOMEPAC, M.TIPO, M.MUNREF, M.MUNORIG, "
        "M.ANOCOMP, M.MESCOMP FROM TBBAIXA B INNER JOIN TBMOVIM M ON (B.NUMERO = M.NUMERO) WHERE B.NUMERO > 0 ");
    ReportFilter none;
    ReportFilter all{QStringLiteral("2700300"), 2016.0, 3.0, false};
    ReportFilter yearAndMonth{std::nullopt, 2015.0, 0.0, false};
    ReportFilter municipality{QStringLiteral("2706307"), std::nullopt, std::nullopt, false};
    ReportFilter competence = all;
    competence.competence = true;
    const struct {
        const char* option;
        ReportFilter filter;
        const char* dataset;
        QString sql;
        QVariantList params;
    } cases[] = {
        {"1", none, "quDistr", distr + "order by ANOCOMP, MESCOMP, MUNORIG, INICIAL", {}},
        {"1", all, "quDistr",
         distr + "and munorig = :p1 and anocomp = :p2 and mescomp = :p3 order by ANOCOMP, MESCOMP, MUNORIG, INICIAL",
         {"2700300", 2016.0, 3.0}},
        {"2", all, "quDistrref",
         distr + "and munref = :p1 and anocomp = :p2 and mescomp = :p3 "
                 "order by ANOCOMP, MESCOMP, MUNREF, MUNORIG, INICIAL",
         {"2700300", 2016.0, 3.0}},
        {"3", yearAndMonth, "quDistrmun",
         distr + "and anocomp = :p2 and mescomp = :p3 order by MUNORIG, ANOCOMP, MESCOMP, MUNREF,INICIAL",
         {2015.0, 0.0}},
        // Listed by reference, filtered on the origin.
        {"4", municipality, "quDistrmun2", distr + "and munorig = :p1 order by MUNREF, ANOCOMP, MESCOMP, MUNORIG, INICIAL",
         {"2706307"}},
        {"5", all, "quBaixaoriano",
         "select * from TBMOVIM where TIPO = 'E' and munorig = :p1 and anocomp = :p2 and mescomp = :p3 "
         "order by MUNORIG,ANOCOMP,USADA",
         {"2700300", 2016.0, 3.0}},
        {"6", none, "quBaixaorianomes", "select * from TBMOVIM where TIPO = 'E' order by MUNORIG, ANOCOMP, MESCOMP, USADA",
         {}},
        {"7", municipality, "quRnusada",
         "select * from TBMOVIM where TIPO = 'E' and USADA = 'N' and munorig = :p1 order by MUNORIG, ANOCOMP, MESCOMP",
         {"2706307"}},
        {"8", all, "quAtend",
         used + "AND M.MUNORIG = :p1 AND B.ANOPROC = :p2 AND B.MESPROC = :p3 "
                "order by M.MUNORIG, B.ANOPROC, B.MESPROC, M.MUNREF, B.NUMERO",
         {"2700300", 2016.0, 3.0}},
        {"8", competence, "quAtend",
         used + "AND M.MUNORIG = :p1 AND M.ANOCOMP = :p2 AND M.MESCOMP = :p3 "
                "order by M.MUNORIG, M.ANOCOMP, M.MESCOMP, M.MUNREF, B.NUMERO",
         {"2700300", 2016.0, 3.0}},
        {"9", all, "quAtend",
         used + "AND M.MUNREF = :p1 AND B.ANOPROC = :p2 AND B.MESPROC = :p3 "
                "order by M.MUNREF, B.ANOPROC, B.MESPROC, M.MUNORIG, B.NUMERO",
         {"2700300", 2016.0, 3.0}},
        {"9", competence, "quAtend",
         used + "AND M.MUNREF = :p1 AND M.ANOCOMP = :p2 AND M.MESCOMP = :p3 "
                "order by M.MUNREF, M.ANOCOMP, M.MESCOMP, M.MUNORIG, B.NUMERO",
         {"2700300", 2016.0, 3.0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        const auto s = reportStatement(QString::fromLatin1(c.option), c.filter);
        ASSERT_TRUE(s.has_value());
        EXPECT_EQ(s->dataset, c.dataset);
        EXPECT_EQ(s->sql, c.sql);
        EXPECT_EQ(s->params, c.params);
        for (int i = 1; i < s->params.size(); ++i) // year and month go as floating-point values
            EXPECT_EQ(s->params[i].typeId(), QMetaType::Double);
    }
    for (const char* other : {"", "0", "10", "x", "1 "})
        EXPECT_FALSE(reportStatement(QString::fromLatin1(other), all).has_value()) << other;
}

class ParameForm : public ::testing::TestWithParam<Edition>, public ReportFixture {
protected:
    ParameForm() : ReportFixture(GetParam())
    {
        dm->dataset("quMun").open();
        form = std::make_unique<TfmParame>(*dm, *relato);
        form->show();
    }
    // Runs an option as the menu and the operator do; the document shown, if any.
    std::optional<Document> run(const char* option)
    {
        form->lbOpcao->setText(QString::fromLatin1(option));
        form->btPesq->click();
        if (previews->documents.empty())
            return std::nullopt;
        return shownDocument();
    }
    static bool empty(const Document& doc) { return doc.texts(0).contains(kNoRecords); }

    std::unique_ptr<TfmParame> form;
};

TEST_P(ParameForm, FiltersKeepTheirStateAcrossOptions)
{
    form->findChild<QCheckBox*>("chAno")->setChecked(true);
    form->findChild<QWidget*>("edAno")->setProperty("value", 2015);
    EXPECT_TRUE(empty(*run("1")));
    // The year stays ticked for the next option and applies to it.
    EXPECT_TRUE(empty(*run("8")));
    form->findChild<QWidget*>("edAno")->setProperty("value", 2016);
    const auto used = run("8");
    ASSERT_TRUE(used);
    EXPECT_EQ(used->title(), "Relação de Aih/Apac usadas por Município de origem / ano / mês");
    EXPECT_EQ(used->pageCount(), 2);

    // Month 0 selects rows of month 0 only.
    form->chMes->setChecked(true);
    EXPECT_TRUE(empty(*run("3")));
    form->chMes->setChecked(false);
    form->chAno->setChecked(false);
    // The municipality ticked but not chosen compares with an empty text.
    form->chMun->setChecked(true);
    EXPECT_TRUE(empty(*run("1")));
    EXPECT_TRUE(messages->shown().empty());
}

TEST_P(ParameForm, OptionFourFiltersTheOriginAndGroupsByReference)
{
    form->chMun->setChecked(true);
    form->cbMun->setProperty("key", QStringLiteral("2706307")); // Palmeira dos Índios
    const auto doc = run("4");
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->pageCount(), 1);
    const QStringList texts = doc->texts(0);
    EXPECT_EQ(texts.mid(7, 3), QStringList({"Município de Referência:", "2700300", "Arapiraca"}));
    EXPECT_TRUE(texts.contains(QStringLiteral("Palmeira dos Índios")));
    EXPECT_EQ(texts.mid(texts.indexOf("T o t a l"), 2), QStringList({"T o t a l", "20"}));
}

TEST_P(ParameForm, TheMonthChoiceSelectsProcessingOrCompetence)
{
    form->chMes->setChecked(true);
    form->edMes->setProperty("value", 1);
    EXPECT_TRUE(empty(*run("9"))); // processed in February
    form->rgMes->setProperty("itemIndex", 1);
    const auto competence = run("9");
    ASSERT_TRUE(competence);
    EXPECT_FALSE(empty(*competence));
    const QStringList texts = competence->texts(0);
    EXPECT_EQ(texts.mid(texts.indexOf("Registro(s)") - 1, 2), QStringList({"3", "Registro(s)"}));
    // The statement and its parameters stay on the shared dataset.
    EXPECT_TRUE(dm->dataset("quAtend").isOpen());
    EXPECT_TRUE(dm->dataset("quAtend").sqlText().contains("AND M.MESCOMP = :p3"));
}

TEST_P(ParameForm, AnUnknownOptionRunsNothingAndAFailureIsReported)
{
    EXPECT_FALSE(run("0"));
    EXPECT_TRUE(messages->shown().empty());

    dm->dbAih.close();
    dm->dbAih.setDatabaseName(dir.file("NOSUCH.GDB"));
    EXPECT_FALSE(run("1"));
    EXPECT_EQ(messages->texts(Kind::Error).size(), 1);
}

std::string editionName(const ::testing::TestParamInfo<Edition>& info)
{
    return info.param == Edition::State ? "Server" : "Embedded";
}

INSTANTIATE_TEST_SUITE_P(Reports, ParameForm, ::testing::Values(Edition::Municipal, Edition::State), editionName);

} // namespace
