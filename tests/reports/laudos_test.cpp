// The two laudo reports over Vorq's laudos: sheets on their own pages, the
// provider's name from the main database, one sheet per laudo.
#include "tests/reports/reportfixture.h"

using namespace talvera;
using namespace talvera::test;

namespace {

const QString kLaudoSql = QStringLiteral("select * from LAUDO order by FOLHA, SEQUENCIA");

class LaudoReports : public ::testing::Test, public ReportFixture {
protected:
    void addLaudo(int folha, int sequencia, const QString& cnes, const QString& paciente)
    {
        exec(dm->dbVorqwin,
             "insert into LAUDO (FOLHA, SEQUENCIA, MESCOMP, ANOCOMP, CNES, NUMAIH, DVAIH, PACIENTE, CPFSOLICITA) "
             "values (:f, :s, 3, 2016, :c, 271650000010, 5, :p, 1234567890)",
             {folha, sequencia, cnes, paciente});
    }
};

TEST_F(LaudoReports, EachSheetStartsAPageHeadedByItsProvider)
{
    exec(dm->dbAih, "insert into PRESTADOR (UNIDADE_ID, CNES, NOME_FANTA) values ('x1', '12345', 'Clínica d''Ávila')");
    addLaudo(2, 1, QStringLiteral(" 12345 "), QStringLiteral("TRIMMED CNES"));
    addLaudo(3, 1, QStringLiteral("9'9"), QStringLiteral("QUOTE IN CNES"));
    addLaudo(4, 7, QStringLiteral("7777777"), QStringLiteral("UNKNOWN CNES"));
    open("quRlaudo", kLaudoSql);
    relato->repLaudos->print();
    const reports::Document doc = shownDocument();

    ASSERT_EQ(doc.pageCount(), 4);
    EXPECT_EQ(doc.title(), "Relação de laudos para o VORQ");
    const struct {
        int page;
        const char* sheet;
        const char* provider;
        const char* patient;
    } pages[] = {{0, "1", "HOSPITAL REGIONAL DE ARAPIRACA", "LUZIA APARECIDA MELO"},
                 {1, "2", "Clínica d'Ávila", "TRIMMED CNES"},
                 {2, "3", "*** CNES não cadastrado", "QUOTE IN CNES"},
                 {3, "4", "*** CNES não cadastrado", "UNKNOWN CNES"}};
    for (const auto& p : pages) {
        SCOPED_TRACE(p.page);
        const QStringList texts = doc.texts(p.page);
        EXPECT_TRUE(texts.contains("Folha:"));
        EXPECT_TRUE(texts.contains(QString::fromUtf8(p.sheet)));
        EXPECT_TRUE(texts.contains(QString::fromUtf8(p.provider)));
        EXPECT_TRUE(texts.contains(QString::fromUtf8(p.patient)));
        EXPECT_TRUE(texts.contains(QStringLiteral("Mês/Ano competência: 3/2016")));
        EXPECT_TRUE(texts.contains("17/05/2016"));
        EXPECT_TRUE(texts.contains(QString::number(p.page + 1))); // the page number
    }
    // Sheet 1 holds the demo's two laudos; the sequence is right-aligned, the CPFs formatted.
    EXPECT_TRUE(doc.texts(0).contains(QStringLiteral("JOÃO PAULO BARBOSA")));
    EXPECT_EQ(flagsOf(lineOf(doc, 3, "7")), "10R");
    EXPECT_TRUE(doc.texts(3).contains("012.345.678-90"));
    EXPECT_TRUE(messages->shown().empty());
}

TEST_F(LaudoReports, OneLaudoPrintsAsCaptionedFieldsWithoutPageNumber)
{
    open("quRlaudo", "select * from LAUDO where FOLHA = :f and SEQUENCIA = :s", {1, 2});
    relato->repLaudoatual->print();
    const reports::Document doc = shownDocument();

    ASSERT_EQ(doc.pageCount(), 1);
    const QStringList texts = doc.texts(0);
    for (const char* expected : {"Laudo para o VORQ", "NOVRA/KILTA", "Talvera", "Data:", "17/05/2016", "Folha:",
                                 "Sequência:", "2", "Mês/Ano competência:", "3/2016", "CNES Prestador:", "2005417",
                                 "HOSPITAL REGIONAL DE ARAPIRACA", "AIH:", "271650000005", "Nome do paciente:",
                                 "JOÃO PAULO BARBOSA", "Dt.Nasc:", "03/11/1978", "CPF Solicitante:",
                                 "012.345.678-90", "CPF Autorizador:", "123.456.789-09", "Valor Médio:", "401,42",
                                 "Mun.Internação:", "2700300"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_FALSE(texts.contains(QStringLiteral("Página:")));
    EXPECT_EQ(flagsOf(lineOf(doc, 0, "Folha:")), "10iL");
    EXPECT_EQ(flagsOf(lineOf(doc, 0, "JOÃO PAULO BARBOSA")), "10L");
}

TEST_F(LaudoReports, SeveralLaudosFollowOneAnotherAndTheDatasetKeepsItsRow)
{
    open("quRlaudo", kLaudoSql);
    db::Dataset& laudos = dm->dataset("quRlaudo");
    laudos.moveTo(1);
    relato->repLaudoatual->print();
    const reports::Document doc = shownDocument();
    // A 103.5 mm laudo: one per landscape page.
    EXPECT_EQ(doc.pageCount(), 2);
    EXPECT_TRUE(doc.texts(0).contains("LUZIA APARECIDA MELO"));
    EXPECT_TRUE(doc.texts(1).contains(QStringLiteral("JOÃO PAULO BARBOSA")));
    EXPECT_EQ(laudos.recNo(), 1);
}

} // namespace
