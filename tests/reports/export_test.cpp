// The spreadsheet export: one reference municipality's movement rows of one
// competence month, previewed and written as a tab-separated file.
#include "core/numbers.h"
#include "ranges/exporta.h"
#include "reports/engine/previewwindow.h"
#include "tests/reports/reportfixture.h"
#include "widgets/lookupcombo.h"
#include "widgets/numericedit.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

using namespace talvera;
using namespace talvera::ranges;
using namespace talvera::test;

namespace {

class ExportForm : public ::testing::TestWithParam<Edition>, public ReportFixture {
protected:
    ExportForm() : ReportFixture(GetParam())
    {
        dm->dataset("quMun").open();
        form = std::make_unique<TfmExporta>(*dm, *relato);
        form->show();
    }
    void addMovement(const char* reference, int month, const char* origin, qint64 number, const char* type)
    {
        exec(dm->dbAih,
             "insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, USADA) "
             "values (:r, 2016, :m, :o, :t, :n, :d, 'N')",
             {reference, month, origin, type, number, numbers::checkDigit(number)});
    }
    std::unique_ptr<TfmExporta> form;
};

TEST_P(ExportForm, AMonthOfThreeRowsGivesFourTabSeparatedLines)
{
    // Penedo receives three numbers in May from three origins; other months and references stay out.
    addMovement("2706703", 5, "2706703", 271610020003, "E");
    addMovement("2706703", 5, "2704302", 271610020001, "U");
    addMovement("2706703", 5, "2707701", 271620020002, "U");
    addMovement("2706703", 6, "2706703", 271610020010, "E");
    addMovement("2707701", 5, "2707701", 271610020020, "E");
    if (GetParam() == Edition::State)
        form->cbMun->setProperty("key", QStringLiteral("2706703"));
    else
        exec(dm->dbAih, "update TBMOVIM set MUNREF = '2700300' where MUNREF = '2706703'");
    form->Anopesq->setProperty("value", 2016);
    form->Mespesq->setProperty("value", 5);
    form->btPesq->click();
    const reports::Document doc = shownDocument();
    ASSERT_TRUE(doc.fileOutput());
    EXPECT_EQ(doc.defaultFileName(), "A:\\exporta distribuicao aih e apac.xls");

    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("exporta.xls"));
    ASSERT_TRUE(doc.writeTabSeparated(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QByteArray reference = GetParam() == Edition::State ? "Penedo" : "Arapiraca";
    const QByteArray expected = "Mun de Refer\xEAncia\tMun de Origem\tAno\tM\xEAs\tN\xFAmero\tCategoria\r\n" +
                                reference + "\tMacei\xF3\t2016\t5\t27.16.1.0.020.001-1\tAIH\xB4s p/ uso geral\r\n" +
                                reference + "\tPenedo\t2016\t5\t27.16.1.0.020.003-3\tAIH\xB4s p/ uso geral\r\n" +
                                reference + "\tRio Largo\t2016\t5\t27.16.2.0.020.002-1\tAPAC\xB4s\r\n";
    EXPECT_EQ(QString::fromLatin1(bytes), QString::fromLatin1(expected)); // ordered by number
    EXPECT_EQ(bytes.count("\r\n"), 4);
    // On screen the same texts, as a plain table.
    QStringList shown;
    for (const QStringList& line : doc.fileLines())
        shown << line;
    EXPECT_EQ(doc.texts(0), shown);

    // The preview offers the file, proposed in the home folder here.
    reports::PreviewWindow preview(doc);
    ASSERT_NE(preview.btArquivo, nullptr);
    EXPECT_EQ(preview.btArquivo->text(), "Salvar arquivo");
    EXPECT_EQ(preview.proposedFileName(), QDir::home().filePath(QStringLiteral("exporta distribuicao aih e apac.xls")));
}

TEST_P(ExportForm, NoMunicipalityOrMonthZeroSelectsNothing)
{
    if (GetParam() == Edition::State)
        form->cbMun->setProperty("key", QString());
    form->Mespesq->setProperty("value", 0);
    form->btPesq->click();
    const reports::Document doc = shownDocument();
    EXPECT_EQ(doc.fileLines().size(), 1u); // the titles only
    EXPECT_TRUE(doc.texts(0).contains(reports::kNoRecords));
    EXPECT_TRUE(messages->shown().empty());
}

TEST_P(ExportForm, TheMunicipalEditionExportsItsOwnMunicipality)
{
    const bool municipal = GetParam() == Edition::Municipal;
    EXPECT_EQ(form->cbMun->isEnabled(), !municipal);
    if (municipal) {
        EXPECT_EQ(form->cbMun->property("key").toString(), "2700300");
    }
}

std::string editionName(const ::testing::TestParamInfo<Edition>& info)
{
    return info.param == Edition::State ? "Server" : "Embedded";
}

INSTANTIATE_TEST_SUITE_P(Reports, ExportForm, ::testing::Values(Edition::Municipal, Edition::State), editionName);

} // namespace
