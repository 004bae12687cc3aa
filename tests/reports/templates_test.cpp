// The page models of fmRelato's distribution and write-off reports over the
// demo data: groups and new pages, continued pages, totals, styles.
//
// Demo distributions (2016): month 1 Arapiraca→Arapiraca 40 numbers (U) and
// Maceió→Maceió 30 (U); month 2 Campo Alegre→Arapiraca 25 (E); month 3
// Palmeira dos Índios→Arapiraca 20 (E). Written off in 2016/02, cared for in
// Arapiraca: 271610000001-003 and 271650000001-002. Vorq's laudos hold
// 271650000004 and 271650000005.
#include "reports/paramerules.h"
#include "tests/reports/reportfixture.h"

using namespace talvera;
using namespace talvera::reports;
using namespace talvera::test;

namespace {

class Templates : public ::testing::Test, public ReportFixture {
protected:
    // Opens the option's dataset with no filter, as the parameter form does.
    Document print(const char* option, Report* report, bool competence = false)
    {
        ReportFilter filter;
        filter.competence = competence;
        const auto statement = reportStatement(QString::fromLatin1(option), filter);
        open(statement->dataset, statement->sql, statement->params);
        report->print();
        return shownDocument();
    }
    // Small ranges of one month and pair of municipalities, numbers not expanded.
    void addRanges(const char* reference, int month, const char* origin, int count)
    {
        for (int i = 0; i < count; ++i) {
            const qint64 first = 271610100000 + month * 1000 + i * 10;
            exec(dm->dbAih,
                 "insert into TBDISTR (MUNREF, ANOCOMP, MESCOMP, MUNORIG, INICIAL, DVINIC, FINAL, DVFINA, TIPO) "
                 "values (:r, 2016, :m, :o, :i, 0, :f, 0, 'U')",
                 {reference, month, origin, first, first + 9});
        }
    }
    static QString xText(const QString& line) { return line.section(u' ', 1, 1); }
    static int count(const QStringList& texts, const QString& text) { return static_cast<int>(texts.count(text)); }
};

TEST_F(Templates, ByMonthEachMonthAndMunicipalityStartsAPage)
{
    const Document doc = print("1", relato->repDistr);
    ASSERT_EQ(doc.pageCount(), 4);
    EXPECT_EQ(doc.title(), "Relação de distribuição de Aih/Apac por mês/ano");
    EXPECT_EQ(doc.pageSetup().orientation, QPageLayout::Landscape);
    const struct {
        const char* month;
        const char* origin;
        const char* subtotal;
    } pages[] = {{"01/2016", "Arapiraca", "40"},
                 {"01/2016", "Maceió", "30"},
                 {"02/2016", "Campo Alegre", "25"},
                 {"03/2016", "Palmeira dos Índios", "20"}};
    for (int p = 0; p < 4; ++p) {
        SCOPED_TRACE(p);
        const QStringList texts = doc.texts(p);
        const QStringList heading = {"NOVRA/KILTA", "Talvera", "Data:", "17/05/2016", "Página:",
                                     QString::number(p + 1), doc.title(), "Mês/Ano:",
                                     QString::fromUtf8(pages[p].month), "Município de Origem",
                                     "Município de Referência", "Inicial", "Final", "Quant", "Tipo", "Categoria"};
        EXPECT_EQ(texts.mid(0, heading.size()), heading);
        EXPECT_EQ(texts.value(heading.size()), QString::fromUtf8(pages[p].origin));
        EXPECT_EQ(texts.mid(texts.indexOf("SubTotal"), 2), QStringList({"SubTotal", pages[p].subtotal}));
    }
    EXPECT_TRUE(doc.texts(0).contains("27.16.1.0.000.040-5"));
    EXPECT_EQ(flagsOf(lineOf(doc, 0, "40")), "10R");
    // The grand total, bold, on the last page only.
    EXPECT_EQ(flagsOf(lineOf(doc, 3, "T o t a l")), "10bL");
    EXPECT_EQ(flagsOf(lineOf(doc, 3, "115")), "10bR");
    EXPECT_FALSE(doc.texts(2).contains("T o t a l"));
}

TEST_F(Templates, AContinuedPageRepeatsTheMonthHeadingAndTheFirstLineName)
{
    // 45 lines of Rio Largo in April: 33 lines fit a page below the headings.
    addRanges("2700300", 4, "2707701", 45);
    const struct {
        const char* option;
        Report* report;
        const char* firstColumn;
    } cases[] = {{"1", relato->repDistr, "Rio Largo"}, {"2", relato->repDistrref, "Arapiraca"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        const Document doc = print(c.option, c.report);
        const int first = 4; // the demo's pages come first
        ASSERT_EQ(doc.pageCount(), first + 2);
        for (int p : {first, first + 1}) {
            const QStringList texts = doc.texts(p);
            EXPECT_TRUE(texts.contains("04/2016"));
            EXPECT_TRUE(texts.contains(QStringLiteral("Município de Origem")));
            // The name of the first column only on the page's first line.
            EXPECT_EQ(count(texts, QString::fromUtf8(c.firstColumn)), 1) << p;
        }
        // The second column names every line.
        const QString other = c.option[0] == '1' ? QStringLiteral("Arapiraca") : QStringLiteral("Rio Largo");
        EXPECT_EQ(count(doc.texts(first), other) + count(doc.texts(first + 1), other), 45);
        EXPECT_TRUE(doc.texts(first + 1).contains("450")); // the subtotal of the 45 ranges
    }
}

TEST_F(Templates, ByMunicipalityOneTotalEachAndNoGrandTotal)
{
    const struct {
        const char* option;
        Report* report;
        int pages;
        const char* heading;
        QStringList totals;
    } cases[] = {{"3", relato->repDistrmun, 4, "Município de Origem:", {"40", "25", "30", "20"}},
                 {"4", relato->repDistrmun2, 2, "Município de Referência:", {"85", "30"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        const Document doc = print(c.option, c.report);
        ASSERT_EQ(doc.pageCount(), c.pages);
        for (int p = 0; p < c.pages; ++p) {
            EXPECT_EQ(flagsOf(lineOf(doc, p, QString::fromUtf8(c.heading))), "10bL");
            const QStringList texts = doc.texts(p);
            EXPECT_EQ(texts.mid(texts.indexOf("T o t a l"), 2), QStringList({"T o t a l", c.totals[p]}));
            EXPECT_EQ(count(texts, "T o t a l"), 1);
        }
        EXPECT_FALSE(doc.texts(c.pages - 1).contains("115"));
    }
    // Months in competence order inside a municipality.
    const Document doc = print("4", relato->repDistrmun2);
    const QStringList first = doc.texts(0);
    EXPECT_LT(first.indexOf("01/2016"), first.indexOf("02/2016"));
    EXPECT_LT(first.indexOf("02/2016"), first.indexOf("03/2016"));
}

TEST_F(Templates, UsageCountsPerYearAndMonthFromTheGroupFooters)
{
    const Document byYear = print("5", relato->repBaixaoriano);
    ASSERT_EQ(byYear.pageCount(), 2);
    EXPECT_EQ(byYear.pageSetup().orientation, QPageLayout::Portrait);
    const QStringList campo = byYear.texts(0);
    const QStringList columns = {"Município de Origem:", "2701407", "Campo Alegre", "Ano", "Usada", "Quant",
                                 "Categoria"};
    const QString elective = QStringLiteral("AIH´s p/ cirurgias eletivas");
    EXPECT_EQ(campo.mid(7), QStringList(columns) << "2016" << "N" << "23" << elective << "2016" << "S" << "2"
                                                 << elective << "25");
    EXPECT_EQ(byYear.texts(1).mid(7 + 7), QStringList({"2016", "N", "20", elective, "20"}));

    const Document byMonth = print("6", relato->repBaixaorianomes);
    ASSERT_EQ(byMonth.pageCount(), 2);
    EXPECT_EQ(byMonth.texts(0).mid(7 + 7),
              QStringList({"02/2016", "N", "23", elective, "02/2016", "S", "2", elective, "25"}));
    EXPECT_EQ(byMonth.texts(1).mid(7 + 7), QStringList({"03/2016", "N", "20", elective, "20"}));
}

TEST_F(Templates, UnusedNumbersWithoutCheckDigitAndTheirLaudos)
{
    const Document doc = print("7", relato->repNusada);
    ASSERT_EQ(doc.pageCount(), 2);
    const QStringList campo = doc.texts(0);
    EXPECT_TRUE(campo.contains("27.16.5.0.000.003"));
    EXPECT_FALSE(campo.contains("27.16.5.0.000.001")); // used
    EXPECT_EQ(campo.mid(campo.indexOf("Registro(s)") - 1, 2), QStringList({"23", "Registro(s)"}));
    // "X" where a laudo holds the number: 004 and 005, centred.
    EXPECT_EQ(count(campo, "X"), 2);
    const QStringList lines = pageLines(doc, 0);
    const auto row = [&](const QString& number) {
        for (int i = 0; i < lines.size(); ++i) {
            if (lines[i].endsWith(u' ' + number))
                return i;
        }
        return -1;
    };
    EXPECT_TRUE(lines.value(row("27.16.5.0.000.004") + 3).endsWith(" 10C X"));
    EXPECT_FALSE(lines.value(row("27.16.5.0.000.006") + 3).endsWith(" 10C X"));
    EXPECT_EQ(doc.texts(1).mid(doc.texts(1).indexOf("Registro(s)") - 1, 2), QStringList({"20", "Registro(s)"}));
}

TEST_F(Templates, CareOutsideTheReferenceMunicipalityPrintsBold)
{
    exec(dm->dbAih, "update TBBAIXA set MUNATEN = '2704302' where NUMERO = 271610000002");
    const Document byOrigin = print("8", relato->repAtendorig);
    ASSERT_EQ(byOrigin.pageCount(), 2);
    // Page 1: Arapiraca's three numbers; the second was cared for in Maceió.
    const QStringList lines = pageLines(byOrigin, 0);
    QStringList reference;
    QStringList care;
    for (const QString& line : lines) {
        if (xText(line) == "86.35")
            reference << flagsOf(line);
        if (xText(line) == "168.35")
            care << flagsOf(line) + u' ' + line.section(u' ', 4);
    }
    EXPECT_EQ(reference, QStringList({"10L", "10bL", "10L"}));
    EXPECT_EQ(care, QStringList({"10L Arapiraca", "10bL Maceió", "10L Arapiraca"}));
    EXPECT_TRUE(byOrigin.texts(0).contains("JOSÉ CÍCERO DA SILVA"));
    EXPECT_TRUE(byOrigin.texts(0).contains("Hospital Regional de Arapiraca"));
    EXPECT_EQ(byOrigin.texts(0).mid(byOrigin.texts(0).indexOf("Registro(s)") - 1, 2),
              QStringList({"3", "Registro(s)"}));

    const Document byReference = print("9", relato->repAtendref, true);
    ASSERT_EQ(byReference.pageCount(), 1); // all five numbers belong to Arapiraca
    EXPECT_TRUE(byReference.texts(0).contains(QStringLiteral("Município de Referência:")));
    EXPECT_EQ(flagsOf(lineOf(byReference, 0, "Maceió")), "10bL");
    // The origin names keep the normal style, and the header its designed bold.
    for (const QString& line : pageLines(byReference, 0)) {
        if (xText(line) == "86.35") {
            EXPECT_EQ(flagsOf(line), "10L") << line.toStdString();
        }
    }
    EXPECT_EQ(flagsOf(lineOf(byReference, 0, "Arapiraca")), "10bL");
    EXPECT_TRUE(byReference.texts(0).contains("5"));
}

TEST_F(Templates, AnEmptySelectionShowsTheHeadingAndANote)
{
    open("quDistr", "select * from TBDISTR where anocomp = 1999");
    relato->repDistr->print();
    const Document doc = shownDocument();
    ASSERT_EQ(doc.pageCount(), 1);
    EXPECT_EQ(doc.texts(0), QStringList({"NOVRA/KILTA", "Talvera", "Data:", "17/05/2016", "Página:", "1",
                                         doc.title(), kNoRecords}));
}

TEST_F(Templates, AMunicipalityMissingFromTheListPrintsAnEmptyName)
{
    addRanges("9999999", 6, "9999998", 1);
    const Document doc = print("3", relato->repDistrmun);
    const QStringList last = doc.texts(doc.pageCount() - 1);
    EXPECT_EQ(last.mid(0, 9).mid(7), QStringList({"Município de Origem:", "9999998"}));
    EXPECT_EQ(last.value(9), "Mês / Ano");
}

} // namespace
