// Printing a laudo, the competence month, the laudo listing, and the menu
// items that open the laudo forms.
#include "laudofixture.h"

#include "laudos/mescomp.h"
#include "laudos/rellaudo.h"
#include "tests/shell/shellfixture.h"

#include <QApplication>
#include <QTest>

using namespace talvera;
using namespace talvera::test;

namespace {

class Printing : public LaudoFormTest {
protected:
    // The documents shown since the last call.
    std::vector<reports::Document> printed()
    {
        std::vector<reports::Document> docs = std::move(previews->documents);
        previews->documents.clear();
        return docs;
    }
};

class CompetenceAndListing : public LaudoFormTest {
protected:
    std::unique_ptr<laudos::TfmMescomp> mescomp;
    std::unique_ptr<laudos::TfmRellaudo> rellaudo;
    void SetUp() override
    {
        LaudoFormTest::SetUp();
        form->hide();
        mescomp = std::make_unique<laudos::TfmMescomp>(*dm);
        rellaudo = std::make_unique<laudos::TfmRellaudo>(*dm, *relato);
    }
    void TearDown() override
    {
        rellaudo.reset();
        mescomp.reset();
        LaudoFormTest::TearDown();
    }
    void confirmMonth(int mes, int ano, bool yes = true)
    {
        mescomp->show();
        mescomp->edMes->setProperty("value", mes);
        mescomp->edAno->setProperty("value", ano);
        messages->answer(yes);
        mescomp->btPesq->click();
    }
    QString parame() { return vorq("select MES || '/' || ANO from PARAME").toString(); }
};

} // namespace

TEST_F(Printing, PrintsTheStoredLaudoThatHoldsTheNumber)
{
    form->chAno->setChecked(true);
    form->pqMes->setProperty("value", 3);
    form->btPesq->click();
    form->grNome->setCurrentRow(0);
    form->grNomeDblClick();
    const QString number = form->edAih->property("digits").toString();
    form->btAltera->click();
    form->edPaciente->setText("NOT SAVED");
    form->btImprime->click();
    std::vector<reports::Document> docs = printed();
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(docs[0].title(), "Laudo para o VORQ");
    EXPECT_EQ(docs[0].pageCount(), 1);
    const QStringList texts = docs[0].texts(0);
    EXPECT_TRUE(texts.contains(number)) << docs[0].dump().toStdString();
    EXPECT_TRUE(texts.contains(vorq("select PACIENTE from LAUDO where NUMAIH = ?", {number}).toString()));
    EXPECT_FALSE(texts.contains("NOT SAVED"));
    EXPECT_TRUE(texts.contains("HOSPITAL REGIONAL DE ARAPIRACA"));

    // A number typed but not saved, or none at all, prints nothing.
    form->btCancela->click();
    form->btInclui->click();
    form->edAih->setProperty("digits", "271650000010");
    form->btImprime->click();
    form->edAih->setProperty("digits", "");
    form->btImprime->click();
    EXPECT_TRUE(printed().empty());
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(CompetenceAndListing, MonthRoundTripIntoTheLaudoForm)
{
    mescomp->show();
    EXPECT_EQ(mescomp->edMes->property("value").toInt(), 3);
    EXPECT_EQ(mescomp->edAno->property("value").toInt(), 2016);
    // Answering No keeps the form open with the typed values.
    confirmMonth(4, 2016, false);
    EXPECT_EQ(messages->texts(widgets::Messages::Kind::Question), QStringList({"Confirma Mês/Ano?"}));
    EXPECT_TRUE(mescomp->isVisible());
    EXPECT_EQ(mescomp->edMes->property("value").toInt(), 4);
    EXPECT_EQ(parame(), "3/2016");
    confirmMonth(4, 2016);
    EXPECT_FALSE(mescomp->isVisible());
    EXPECT_EQ(parame(), "4/2016");
    form->show();
    EXPECT_EQ(form->edMes->property("value").toInt(), 4);
    form->btInclui->click();
    EXPECT_EQ(form->edMeslib->property("value").toInt(), 4);
    EXPECT_EQ(form->edAnolib->property("value").toInt(), 2016);
    form->hide();

    // The laudo form's year starts at 2007; month 0 refuses every save.
    confirmMonth(0, 2006);
    EXPECT_EQ(parame(), "0/2006");
    form->show();
    EXPECT_EQ(form->edAno->property("value").toInt(), 2007);
    messages->clear();
    typeNewLaudo();
    form->edMes->setProperty("value", 0);
    form->btConfirma->click();
    EXPECT_EQ(shown(), QStringList({"Mês de competência inválido"}));
}

TEST_F(CompetenceAndListing, TypedValuesReadAsTheNearestBound)
{
    mescomp->show();
    QApplication::setActiveWindow(mescomp.get());
    struct Case {
        widgets::NumericEdit* edit;
        const char* typed;
        int read;
    };
    const Case cases[] = {{mescomp->edMes, "13", 12}, {mescomp->edAno, "2020", 2016}, {mescomp->edAno, "2005", 2006}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        c.edit->setFocus();
        c.edit->selectAll();
        QTest::keyClicks(c.edit, c.typed);
        EXPECT_EQ(c.edit->property("value").toInt(), c.read);
    }
}

TEST_F(CompetenceAndListing, ListingPrintsTheMonthsLaudosBySheet)
{
    addLaudo(2, 1, 3, 2016, kMaternidade, 271650000030, "SEGUNDA FOLHA");
    addLaudo(1, 1, 4, 2016, kRegional, 271650000031, "OUTRO MES");
    confirmMonth(5, 2016);
    rellaudo->show();
    EXPECT_EQ(rellaudo->edMes->property("value").toInt(), 5) << "the competence month is proposed";
    rellaudo->edMes->setProperty("value", 3);
    rellaudo->btPesq->click();
    ASSERT_EQ(previews->documents.size(), 1u);
    const reports::Document& all = previews->documents.back();
    EXPECT_EQ(all.title(), "Relação de laudos para o VORQ");
    EXPECT_EQ(all.pageCount(), 2) << "a page per sheet";
    EXPECT_TRUE(all.texts(0).contains("LUZIA APARECIDA MELO"));
    EXPECT_TRUE(all.texts(1).contains("SEGUNDA FOLHA"));
    EXPECT_TRUE(rellaudo->isVisible()) << "open for another selection";

    rellaudo->chPrest->setChecked(true);
    rellaudo->pqPrest->setProperty("key", kMaternidade);
    rellaudo->chFolha->setChecked(true);
    rellaudo->pqFolha->setProperty("value", 2);
    rellaudo->btPesq->click();
    db::Dataset& listing = dm->dataset("quRlaudo");
    EXPECT_EQ(listing.sqlText(), "select * from laudo where anocomp = :p1 and mescomp = :p2 and cnes = :p3 "
                                 "and folha = :p4 order by folha, sequencia");
    ASSERT_EQ(previews->documents.size(), 2u);
    EXPECT_EQ(previews->documents.back().pageCount(), 1);
    EXPECT_TRUE(previews->documents.back().texts(0).contains("SEGUNDA FOLHA"));
    // No laudo: the report still starts.
    rellaudo->pqFolha->setProperty("value", 9);
    rellaudo->btPesq->click();
    EXPECT_EQ(previews->documents.size(), 3u);
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(ShellTest, VorqAndReportMenusOpenTheLaudoForms)
{
    start();
    login("operador", "talvera");
    action("Laudos1")->trigger();
    action("ConfiguraMsAno1")->trigger();
    action("LaudosdoVORQ1")->trigger();
    EXPECT_EQ(opened, QStringList({"fmLaudo", "fmMescomp", "fmRellaudo"}));
    auto* laudo = qobject_cast<laudos::TfmLaudo*>(form("fmLaudo"));
    ASSERT_NE(laudo, nullptr);
    EXPECT_NE(qobject_cast<laudos::TfmMescomp*>(form("fmMescomp")), nullptr);
    EXPECT_NE(qobject_cast<laudos::TfmRellaudo*>(form("fmRellaudo")), nullptr);
    // Each "..." button opens the dialog created for it.
    QStringList dialogs;
    laudo->showModal = [&](QDialog* d) { dialogs << d->objectName(); };
    for (QToolButton* b : {laudo->spPrest, laudo->SpeedButton2, laudo->SpeedButton3, laudo->SpeedButton4,
                           laudo->SpeedButton5})
        b->click();
    EXPECT_EQ(dialogs, QStringList({"fmConprest", "fmConcara", "fmConespec", "fmConproced", "fmConprof"}));
    for (const QString& d : dialogs)
        EXPECT_NE(qobject_cast<laudos::LookupDialog*>(form(d)), nullptr) << d.toStdString();
    // The form opened for real shows the month and the installation's municipality.
    laudo->show();
    EXPECT_EQ(laudo->edMes->property("value").toInt(), 3);
    EXPECT_EQ(laudo->cbMun->property("key").toString(), "2700300");
    laudo->hide();
}
