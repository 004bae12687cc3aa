// The labels: the checks of a range, the refill of TBETIQ in one transaction,
// AIH numbers against APAC numbers, and the Letter sheet the labels print on.
#include "core/numbers.h"
#include "ranges/etiq.h"
#include "tests/reports/reportfixture.h"
#include "widgets/datagrid.h"
#include "widgets/lookupcombo.h"
#include "widgets/maskededit.h"
#include "widgets/numericedit.h"
#include "widgets/radiogroup.h"

#include <QCheckBox>
#include <QPushButton>

using namespace talvera;
using namespace talvera::ranges;
using namespace talvera::test;
using Kind = widgets::Messages::Kind;

namespace {

constexpr const char* kArapiraca = "2700300";

LabelRange range(int category, qint64 first, qint64 last)
{
    return {category, QString::fromLatin1(kArapiraca), first, numbers::checkDigit(first), last,
            numbers::checkDigit(last)};
}

TEST(LabelChecks, TheFirstFailingCheckGivesItsMessage)
{
    const QString first = QStringLiteral("Valor Inicial inválido");
    const QString last = QStringLiteral("Valor Final inválido");
    LabelRange noReference = range(1, 271610000001, 271610000002);
    noReference.reference.clear();
    LabelRange badFirstDigit = range(1, 271610000001, 271610000002);
    badFirstDigit.firstDigit = (badFirstDigit.firstDigit + 1) % 10;
    LabelRange badLastDigit = range(1, 271610000001, 271610000002);
    badLastDigit.lastDigit = (badLastDigit.lastDigit + 1) % 10;
    LabelRange both = range(0, 28161000001, 271610000002);
    both.firstDigit = 9;
    const struct {
        const char* what;
        LabelRange range;
        QString message;
    } cases[] = {
        {"no category, whatever else is wrong", both, "Selecione a categoria"},
        {"no municipality", noReference, "Selecione o município"},
        {"first check digit", badFirstDigit, "Dígito verificador inicial inválido"},
        {"last check digit", badLastDigit, "Dígito verificador final inválido"},
        {"last before first", range(1, 271610000002, 271610000001), "O valor Final tem que ser maior que o inicial"},
        {"first of 11 digits", range(1, 27161000001, 271610000001), first},
        {"last of 13 digits", range(1, 271610000001, 2716100000010), last},
        {"first of another state", range(2, 261620000001, 271620000001), first},
        {"last of another state", range(2, 271620000001, 281620000001), last},
        {"first of year 05", range(1, 270510000001, 271610000001), first},
        {"last of year 05 can only follow a bad first", range(1, 270510000001, 270510000002), first},
        {"first of another category", range(2, 271610000001, 271620000001), first},
        {"last of another category", range(2, 271620000001, 271630000001), last},
        {"a single AIH", range(1, 271610000001, 271610000001), {}},
        {"APAC of year 99", range(2, 279920000001, 279920000009), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkLabelRange(c.range), c.message) << c.what;
}

class LabelForm : public ::testing::TestWithParam<Edition>, public ReportFixture {
protected:
    LabelForm() : ReportFixture(GetParam())
    {
        dm->dataset("quMun").open();
        form = std::make_unique<TfmEtiq>(*dm, *relato);
        form->show();
    }
    void type(int category, qint64 first, qint64 last, const char* reference = kArapiraca)
    {
        form->cbMun->setProperty("key", QString::fromLatin1(reference));
        form->edInicial->setProperty("digits", QString::number(first));
        form->edDvinic->setProperty("value", numbers::checkDigit(first));
        form->edFinal->setProperty("digits", QString::number(last));
        form->edDvfina->setProperty("value", numbers::checkDigit(last));
        form->rgcategoria->setProperty("itemIndex", category - 1);
    }
    QList<qint64> labels()
    {
        QList<qint64> out;
        db::Query q(dm->dbAih);
        q.setSql("select NUMERO from TBETIQ order by NUMERO");
        for (q.open(); !q.eof(); q.next())
            out << q.value(0).toLongLong();
        return out;
    }
    std::unique_ptr<TfmEtiq> form;
};

TEST_P(LabelForm, AihLabelsOnlyForNumbersDistributedToTheReference)
{
    // Three elective numbers of Palmeira dos Índios referred to Arapiraca.
    for (qint64 n = 271610000100; n <= 271610000102; ++n)
        exec(dm->dbAih,
             "insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, USADA) "
             "values ('2700300', 2016, 4, '2706307', 'E', :n, :d, 'N')",
             {n, numbers::checkDigit(n)});
    type(1, 271610000039, 271610000101);
    form->btPesq->click();
    EXPECT_EQ(labels(), QList<qint64>({271610000039, 271610000040, 271610000100, 271610000101}));
    const reports::Document doc = shownDocument();
    ASSERT_EQ(doc.pageCount(), 1);
    const QStringList texts = doc.texts(0);
    // Both labels of a row alike; the elective numbers have no reference line.
    EXPECT_EQ(texts.mid(0, 6), QStringList({"Origem - Arapiraca", "Refer. - Arapiraca", "AIH  -",
                                            "27.16.1.0.000.039-4", "Origem - Arapiraca", "Refer. - Arapiraca"}));
    EXPECT_EQ(texts.count(QStringLiteral("Origem - Palmeira dos Índios")), 4);
    EXPECT_EQ(texts.count("Refer. - Arapiraca"), 4);
    EXPECT_EQ(texts.count("AIH  -"), 8);

    // A range of which nothing went to the municipality prints an empty sheet and empties TBETIQ.
    type(1, 271610010001, 271610010005);
    form->btPesq->click();
    EXPECT_TRUE(labels().isEmpty());
    EXPECT_TRUE(shownDocument().texts(0).contains(reports::kNoRecords));
}

TEST_P(LabelForm, ApacLabelsForEveryNumberTenRowsToALetterPage)
{
    type(2, 271620000001, 271620000025);
    form->btPesq->click();
    EXPECT_EQ(labels().size(), 25);
    const reports::Document doc = shownDocument();
    EXPECT_EQ(doc.pageSetup().paper, QPageSize::Letter);
    ASSERT_EQ(doc.pageCount(), 3);
    const int rows[] = {10, 10, 5};
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p);
        QList<double> lefts;
        QList<double> tops;
        for (const QString& line : pageLines(doc, p)) {
            if (line.endsWith(" 14L APAC -")) {
                lefts << xOf(line);
                tops << yOf(line);
            }
        }
        ASSERT_EQ(lefts.size(), 2 * rows[p]);
        for (int r = 0; r < rows[p]; ++r) {
            EXPECT_NEAR(lefts[2 * r], 6.35 + 18.8, 1e-9);
            EXPECT_NEAR(lefts[2 * r + 1], 6.35 + 124.6, 1e-9);
            EXPECT_NEAR(tops[2 * r], 6.35 + 5.8 + 25.4 * r + 14.6, 1e-9);
        }
    }
    // Undistributed: no municipality, and not elective, so the reference line shows.
    EXPECT_EQ(doc.texts(2).mid(0, 4), QStringList({"Origem - ", "Refer. - ", "APAC -", "27.16.2.0.000.021-7"}));
}

TEST_P(LabelForm, EachRunReplacesTheLabelsAndAFailedRunKeepsThePreviousOnes)
{
    type(2, 271620000001, 271620000003);
    form->btPesq->click();
    shownDocument();
    exec(dm->dbAih, "create exception no_label 'etiqueta recusada'");
    exec(dm->dbAih,
         "create trigger refuse_label for tbetiq before insert as begin "
         "if (new.numero = 271620000012) then exception no_label; end");
    type(2, 271620000010, 271620000015);
    form->btPesq->click();
    EXPECT_EQ(labels(), QList<qint64>({271620000001, 271620000002, 271620000003}));
    EXPECT_TRUE(previews->documents.empty());
    ASSERT_EQ(messages->texts(Kind::Error).size(), 1);
    EXPECT_TRUE(messages->texts(Kind::Error)[0].contains("etiqueta recusada"));
}

TEST_P(LabelForm, ARefusedRangeLeavesTheLabelsUntouched)
{
    type(2, 271620000001, 271620000002);
    form->btPesq->click();
    shownDocument();
    type(1, 271610000001, 271610000002);
    form->rgcategoria->setProperty("itemIndex", -1);
    form->btPesq->click();
    form->rgcategoria->setProperty("itemIndex", 0);
    form->edInicial->setProperty("digits", QString());
    form->btPesq->click();
    EXPECT_EQ(messages->texts(Kind::Information), QStringList({"Selecione a categoria"}));
    EXPECT_EQ(messages->texts(Kind::Error), QStringList({QStringLiteral("Número inicial não preenchido")}));
    EXPECT_EQ(labels().size(), 2);
    EXPECT_TRUE(previews->documents.empty());
}

TEST_P(LabelForm, PickingADistributionFillsTheRangeAndItsCategory)
{
    form->chMun->setChecked(true);
    form->cbPesq->setProperty("key", QString::fromLatin1(kArapiraca));
    form->BitBtn1->click();
    db::Dataset& distr = dm->dataset("quDistr");
    EXPECT_TRUE(distr.sqlText().endsWith("and munref = :p1 order by MUNREF, ANOCOMP, MESCOMP, MUNORIG"));
    // Arapiraca's distributions by month: 1 (category 1), 2 and 3 (category 5).
    form->grNome->setProperty("currentRow", 0);
    form->grNomeDblClick();
    EXPECT_EQ(form->edInicial->property("digits").toString(), "271610000001");
    EXPECT_EQ(form->edFinal->property("digits").toString(), "271610000040");
    EXPECT_EQ(form->rgcategoria->property("itemIndex").toInt(), 0);
    form->grNome->setProperty("currentRow", 1);
    form->grNomeDblClick();
    EXPECT_EQ(form->rgcategoria->property("itemIndex").toInt(), -1);
    form->btPesq->click();
    EXPECT_EQ(messages->texts(Kind::Information), QStringList({"Selecione a categoria"}));
}

TEST_P(LabelForm, TheMunicipalEditionKeepsItsOwnMunicipality)
{
    const bool municipal = GetParam() == Edition::Municipal;
    EXPECT_EQ(form->cbMun->isEnabled(), !municipal);
    EXPECT_EQ(form->chMun->isEnabled(), !municipal);
    EXPECT_EQ(form->cbPesq->isEnabled(), !municipal);
    if (municipal) {
        EXPECT_EQ(form->cbMun->property("key").toString(), kArapiraca);
        EXPECT_EQ(form->cbPesq->property("key").toString(), kArapiraca);
        EXPECT_TRUE(form->chMun->isChecked());
    }
}

std::string editionName(const ::testing::TestParamInfo<Edition>& info)
{
    return info.param == Edition::State ? "Server" : "Embedded";
}

INSTANTIATE_TEST_SUITE_P(Reports, LabelForm, ::testing::Values(Edition::Municipal, Edition::State), editionName);

} // namespace
