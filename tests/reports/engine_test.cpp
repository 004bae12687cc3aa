// The banded engine over rows in memory: pagination, groups, totals, band
// handlers, the empty report, and the outputs (PDF, preview).
#include "core/firebird.h"
#include "reports/engine/design.h"
#include "reports/engine/format.h"
#include "reports/engine/preview.h"
#include "reports/engine/previewwindow.h"
#include "reports/engine/source.h"
#include "tests/reports/reportfixture.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>

using namespace talvera;
using namespace talvera::reports;
using talvera::test::dumpLines;
using talvera::test::flagsOf;
using talvera::test::yOf;

namespace {

// Rows of (region, town, amount); `perTown` rows for each town.
TableSource towns(const std::vector<std::pair<QString, QString>>& regionTowns, int perTown)
{
    TableSource source({QStringLiteral("REGION"), QStringLiteral("TOWN"), QStringLiteral("AMOUNT")});
    int amount = 1;
    for (const auto& [region, town] : regionTowns) {
        for (int i = 0; i < perTown; ++i)
            source.add({region, town, amount++});
    }
    return source;
}

// A portrait A4 design: a 20 mm page header, region groups that start a new
// page with a 10 mm header, 5 mm detail lines whose town name shows only on
// the first line of each town and page.
ReportDesign regionDesign()
{
    ReportDesign d;
    d.title = QStringLiteral("Regiões");
    d.pageHeader.height = 20;
    d.pageHeader.label(QStringLiteral("HEADING"), 0, 0);
    d.pageHeader.pageNumber(100, 0, 20);
    Group& region = d.addGroup(QStringLiteral("REGION"), true);
    region.header.height = 10;
    region.header.computed([](const Printing& p) { return QStringLiteral("Region ") + p.text("REGION"); }, 0, 0,
                           60)
        .bold();
    Group& town = d.addGroup(QStringLiteral("TOWN"));
    d.detail.height = 5;
    d.detail.field(QStringLiteral("TOWN"), 0, 0, 40).named(QStringLiteral("dbTown"));
    d.detail.field(QStringLiteral("AMOUNT"), 50, 0, 20, QStringLiteral("###,###,##0")).right();
    auto show = [](Printing& p) { p.item(QStringLiteral("dbTown")).visible = true; };
    d.pageHeader.afterPrint = show;
    town.header.afterPrint = show;
    d.detail.afterPrint = [](Printing& p) { p.item(QStringLiteral("dbTown")).visible = false; };
    return d;
}

TEST(Engine, GroupsBreakOntoNewPagesAndContinuedPagesRepeatTheirHeaders)
{
    // Body: 297 - 12.7 - 20 = 264.3 mm; after the region header 254.3 mm, 50 lines.
    TableSource source = towns({{"North", "Alpha"}, {"North", "Beta"}, {"South", "Gamma"}}, 30);
    const Document doc = regionDesign().layout(source);

    ASSERT_EQ(doc.pageCount(), 3);
    const struct {
        int page;
        QStringList start;  // the page's first texts
        int towns;          // lines that show a town name
    } expected[] = {{0, {"HEADING", "1", "Region North", "Alpha", "1"}, 2},
                    {1, {"HEADING", "2", "Region North", "Beta", "51"}, 1},
                    {2, {"HEADING", "3", "Region South", "Gamma", "61"}, 1}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.page);
        const QStringList texts = doc.texts(e.page);
        EXPECT_EQ(texts.mid(0, e.start.size()), e.start);
        const int names = static_cast<int>(texts.count("Alpha") + texts.count("Beta") + texts.count("Gamma"));
        EXPECT_EQ(names, e.towns);
    }
    // Page 1: Alpha's 30 lines, then Beta's name on its first line; page 2 goes on with Beta.
    EXPECT_EQ(doc.texts(0).count(), 3 + 2 + 50);
    EXPECT_EQ(doc.texts(1).count(), 3 + 1 + 10);
}

TEST(Engine, TotalsRestartPerGroupAndFootersSeeTheGroupsLastRow)
{
    ReportDesign d;
    Group& region = d.addGroup(QStringLiteral("REGION"));
    const int regionSum = d.sum(QStringLiteral("AMOUNT"), 0);
    const int regionCount = d.count(0);
    const int grandSum = d.sum(QStringLiteral("AMOUNT"));
    region.footer.height = 5;
    region.footer.field(QStringLiteral("TOWN"), 0, 0, 30);
    region.footer.total(regionSum, 40, 0, 20, QStringLiteral("###,###,##0"));
    region.footer.total(regionCount, 70, 0, 20, QStringLiteral("##,##0"));
    d.summary.height = 5;
    d.summary.total(grandSum, 40, 0, 20, QStringLiteral("###,###,##0"));

    TableSource source({QStringLiteral("REGION"), QStringLiteral("TOWN"), QStringLiteral("AMOUNT")},
                       {{"N", "Alpha", 1000}, {"N", "Beta", 234567}, {"S", "Gamma", 1000000}});
    const Document doc = d.layout(source);
    EXPECT_EQ(doc.texts(0), QStringList({"Beta", "235.567", "2", "Gamma", "1.000.000", "1", "1.235.567"}));
}

TEST(Engine, BandsOfHeightZeroPrintNothingButRaiseTheirEvents)
{
    ReportDesign d;
    Group& g = d.addGroup(QStringLiteral("REGION"));
    int details = 0;
    int footers = 0;
    d.detail.beforePrint = [&](Printing&) { ++details; };
    g.footer.afterPrint = [&](Printing&) { ++footers; };
    TableSource source = towns({{"N", "A"}, {"S", "B"}}, 3);
    const Document doc = d.layout(source);
    EXPECT_EQ(details, 6);
    EXPECT_EQ(footers, 2);
    EXPECT_EQ(doc.pageCount(), 1);
    EXPECT_TRUE(doc.texts(0).isEmpty());
}

TEST(Engine, AnEmptySourcePrintsTheHeadingAndANote)
{
    ReportDesign d = regionDesign();
    d.summary.height = 5;
    d.summary.label(QStringLiteral("TOTAL"), 0, 0);
    TableSource empty({QStringLiteral("REGION"), QStringLiteral("TOWN"), QStringLiteral("AMOUNT")});
    const Document doc = d.layout(empty);
    ASSERT_EQ(doc.pageCount(), 1);
    EXPECT_EQ(doc.texts(0), QStringList({"HEADING", "1", kNoRecords}));
}

TEST(Engine, ABandThatCannotFitIsAnErrorNotALoop)
{
    TableSource source = towns({{"N", "A"}}, 2);
    ReportDesign tall = regionDesign();
    tall.detail.height = 280;
    EXPECT_THROW(tall.layout(source), db::DatabaseError);
    // Each band fits alone, but not below the repeated header.
    ReportDesign crowded = regionDesign();
    crowded.groups[0].header.height = 150;
    crowded.detail.height = 150;
    EXPECT_THROW(crowded.layout(source), db::DatabaseError);
    ReportDesign misnamed = regionDesign();
    misnamed.detail.field(QStringLiteral("NOSUCH"), 0, 0, 10);
    EXPECT_THROW(misnamed.layout(source), db::DatabaseError);
}

TEST(Engine, NumberPicturesAndDates)
{
    const struct {
        double value;
        const char* picture;
        const char* text;
    } cases[] = {{1234567, "###,###,##0", "1.234.567"}, {0, "###,###,##0", "0"},    {999, "##,##0", "999"},
                 {12345, "##,##0", "12.345"},          {3, "00", "03"},            {12, "00", "12"},
                 {7, "##", "7"},                       {0, "##", ""},              {1234.5, "#0.00", "1234,50"},
                 {-1500, "###,##0", "-1.500"},         {1000.0, "###,###,##0", "1.000"}};
    for (const auto& c : cases)
        EXPECT_EQ(formatNumber(c.value, QString::fromLatin1(c.picture)), QString::fromUtf8(c.text))
            << c.value << " " << c.picture;
    EXPECT_EQ(formatDate(QDate(2016, 3, 7)), "07/03/2016");
}

TEST(Engine, HandlersChangeTheStyleOfTheRowAboutToPrint)
{
    ReportDesign d;
    d.detail.height = 5;
    d.detail.field(QStringLiteral("TOWN"), 0, 0, 40).named(QStringLiteral("dbTown"));
    d.detail.beforePrint = [](Printing& p) {
        p.item(QStringLiteral("dbTown")).bold(p.value(QStringLiteral("AMOUNT")).toInt() > 1);
    };
    TableSource source({QStringLiteral("TOWN"), QStringLiteral("AMOUNT")}, {{"A", 1}, {"B", 2}, {"C", 1}});
    const QStringList lines = dumpLines(d.layout(source));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(flagsOf(lines[0]), "10L");
    EXPECT_EQ(flagsOf(lines[1]), "10bL");
    EXPECT_EQ(flagsOf(lines[2]), "10L");
    EXPECT_DOUBLE_EQ(yOf(lines[1]) - yOf(lines[0]), 5);
}

TEST(Engine, PdfOpensWithItsPagesAndEmbeddedFonts)
{
    TableSource source = towns({{"North", "Alpha"}, {"North", "Beta"}, {"South", "Gamma"}}, 30);
    const Document doc = regionDesign().layout(source);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("regiões.pdf"));
    ASSERT_TRUE(doc.writePdf(path));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    ASSERT_TRUE(info.waitForFinished(30000));
    ASSERT_EQ(info.exitCode(), 0) << info.readAllStandardError().toStdString();
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n")))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("(A4)"))) << out.toStdString();
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {path});
    ASSERT_TRUE(fonts.waitForFinished(30000));
    const QStringList fontLines = QString::fromUtf8(fonts.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GT(fontLines.size(), 2);
    for (const QString& line : fontLines.mid(2))
        EXPECT_TRUE(line.contains(QStringLiteral(" yes "))) << line.toStdString(); // embedded

    EXPECT_FALSE(doc.writePdf(dir.filePath(QStringLiteral("no/such/dir/x.pdf"))));
    EXPECT_FALSE(doc.writeTabSeparated(dir.filePath(QStringLiteral("x.txt")))); // not marked for the file
}

TEST(Engine, PreviewDrawsOnlyThePageOnShow)
{
    TableSource source = towns({{"R", "T"}}, 2000);
    const Document doc = regionDesign().layout(source);
    ASSERT_GT(doc.pageCount(), 30);
    PreviewWindow window(doc);
    window.show();
    QApplication::processEvents();
    window.pageView()->grab();
    EXPECT_LE(window.pageView()->pagesPainted(), 3);
    EXPECT_EQ(window.findChild<QSpinBox*>(QStringLiteral("edPagina"))->value(), 1);
    window.showPage(doc.pageCount() + 5);
    EXPECT_EQ(window.currentPage(), doc.pageCount() - 1);
    EXPECT_EQ(window.btArquivo, nullptr);
}

} // namespace
