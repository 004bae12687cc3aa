// The five lookup dialogs: search as the operator types, and what a choice
// writes into the laudo form.
#include "laudofixture.h"

#include "laudos/lookuplist.h"

#include <QApplication>
#include <QTest>

using namespace talvera;
using namespace talvera::laudos;
using namespace talvera::test;

namespace {

class Lookups : public LaudoFormTest {
protected:
    void execMain(const QString& sql)
    {
        db::Query q(dm->dbAih);
        q.setStatement(sql);
        q.execSql();
        dm->trAih().commitRetaining();
    }
    // The first column of every row the dialog lists.
    static QStringList listed(const LookupDialog& dialog, const QString& field)
    {
        QStringList values;
        for (int row = 0; row < dialog.list().size(); ++row)
            values << dialog.list().value(row, field);
        return values;
    }
    static void type(LookupDialog& dialog, const QString& text) { dialog.edPesquisar->setText(text); }
};

} // namespace

TEST(StoredTextOrder, FollowsTheCodePagesBytesWithBlankPadding)
{
    struct Case {
        const char* a;
        const char* b;
        int order;
    };
    const Case cases[] = {
        {"A", "B", -1},
        {"AB", "AB ", 0},       // blank padded
        {"AB", "AB\t", 1},      // the tab sorts below the padding blank
        {"Z", "Á", -1},         // 0x5A before 0xC1
        {"€", "Á", -1},         // the euro sign is 0x80 in the code page
        {"Š", "a", 1},          // 0x8A after 0x61
        {"ANA", "ANA MARIA", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a);
        EXPECT_EQ(compareStoredText(QString::fromUtf8(c.a), QString::fromUtf8(c.b)), c.order);
        EXPECT_EQ(compareStoredText(QString::fromUtf8(c.b), QString::fromUtf8(c.a)), -c.order);
    }
}

TEST_F(Lookups, ProviderSearchAndChoice)
{
    providers->show();
    EXPECT_EQ(listed(*providers, "CNES"), QStringList({"2003538", "2005417", "2006197"})) << "by CNES on showing";
    EXPECT_TRUE(providers->rdbCnes->isChecked());
    type(*providers, "200");
    EXPECT_EQ(listed(*providers, "CNES"), QStringList({"2003538", "2005417", "2006197"}));
    type(*providers, "54");
    EXPECT_EQ(listed(*providers, "CNES"), QStringList({"2005417"}));
    type(*providers, "   ");
    EXPECT_EQ(listed(*providers, "CNES"), QStringList({"2005417", "2003538", "2006197"}))
        << "blanks only: everything in the database's order";
    type(*providers, "54 ");
    EXPECT_TRUE(listed(*providers, "CNES").isEmpty()) << "the trailing blank is searched for";
    providers->rdbCnpj->setChecked(true);
    type(*providers, "3456");
    EXPECT_EQ(listed(*providers, "CNES"), QStringList({"2005417", "2003538", "2006197"})) << "ordered by CNPJ";

    providers->grNome->setCurrentRow(1);
    providers->choose();
    EXPECT_FALSE(providers->isVisible());
    EXPECT_EQ(form->cbPrest->property("key").toString(), kMaternidade);
    EXPECT_EQ(form->lbPrest->text(), QStringLiteral("MATERNIDADE NOSSA SENHORA DE FÁTIMA"));
    EXPECT_EQ(form->edCodmunintern->text(), "2700300");
    EXPECT_EQ(form->edMunintern->text(), "Arapiraca");

    // A provider whose managing municipality is unknown empties both fields.
    execMain("update PRESTADOR set CODMUNGEST = '999999' where CNES = '2006197'");
    providers->show();
    EXPECT_EQ(providers->edPesquisar->text(), "3456") << "the search text stays";
    EXPECT_EQ(listed(*providers, "CNES").size(), 3) << "but the list starts complete";
    EXPECT_TRUE(providers->rdbCnpj->isChecked()) << "and the choice stays";
    providers->rdbCnes->setChecked(true);
    type(*providers, "6197");
    providers->choose();
    EXPECT_EQ(form->cbPrest->property("key").toString(), kGeral);
    EXPECT_EQ(form->edCodmunintern->text(), "");
    EXPECT_EQ(form->edMunintern->text(), "");
}

TEST_F(Lookups, SearchTextIsTakenLiterally)
{
    execMain("insert into PRESTADOR (UNIDADE_ID, CNES, NOME_FANTA, CNPJ, CODMUNGEST) values "
             "('A1', '3000001', 'CASA DE SAÚDE O''HARA', '1', '270030')");
    execMain("insert into PRESTADOR (UNIDADE_ID, CNES, NOME_FANTA, CNPJ, CODMUNGEST) values "
             "('A2', '3000002', 'CLÍNICA 100% SAÚDE', '2', '270030')");
    execMain("insert into PRESTADOR (UNIDADE_ID, CNES, NOME_FANTA, CNPJ, CODMUNGEST) values "
             "('A3', '3000003', 'CLÍNICA_SUL', '3', '270030')");
    execMain("insert into PRESTADOR (UNIDADE_ID, CNES, NOME_FANTA, CNPJ, CODMUNGEST) values "
             "('A4', '3000004', 'Hospital São Vicente', '4', '270030')");
    providers->show();
    providers->rdbFantasia->setChecked(true);
    struct Case {
        const char* typed;
        QStringList found;
    };
    const Case cases[] = {
        {"o'h", {"3000001"}},
        {"0%", {"3000002"}},
        {"A_S", {"3000003"}},
        {"' or ''='", {}},
        {"clínica", {"3000002", "3000003"}}, // upper-cased, accents too
        {"sa", {"3000001", "3000002", "2003538"}}, // ordered by name
        {"ospital", {"2006197", "2005417"}}, // 'Hospital São Vicente' is in mixed case: the comparison is exact
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        type(*providers, QString::fromUtf8(c.typed));
        EXPECT_EQ(listed(*providers, "CNES"), c.found);
    }
    // An empty list: Enter chooses nothing and the dialog stays.
    type(*providers, "nada assim");
    form->cbPrest->setKey({});
    QTest::keyClick(providers->edPesquisar, Qt::Key_Return);
    EXPECT_TRUE(providers->isVisible());
    EXPECT_EQ(form->cbPrest->property("key").toString(), "");
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(Lookups, KeysMoveChooseAndClose)
{
    providers->show();
    QApplication::setActiveWindow(providers.get());
    providers->edPesquisar->setFocus();
    // From the search text the arrows walk the list, which keeps its place.
    QTest::keyClick(providers->edPesquisar, Qt::Key_Down);
    QTest::keyClick(providers->edPesquisar, Qt::Key_Down);
    EXPECT_EQ(providers->grNome->currentRow(), 1);
    QTest::keyClick(providers->edPesquisar, Qt::Key_Return);
    EXPECT_FALSE(providers->isVisible());
    EXPECT_EQ(form->cbPrest->property("key").toString(), kRegional);
    // Enter with no row made current takes the first; Esc closes without a choice.
    characters->show();
    QTest::keyClick(characters->grNome, Qt::Key_Enter);
    EXPECT_EQ(form->cbCarater->property("key").toString(), "01");
    EXPECT_EQ(form->lbCarater->text(), "ELETIVO");
    professionals->lbProf->setText("1");
    professionals->show();
    QTest::keyClick(professionals->edPesquisar, Qt::Key_Escape);
    EXPECT_FALSE(professionals->isVisible());
    EXPECT_EQ(form->edCpfsolicita->property("digits").toString(), "");
    // A key typed in the edit upper-cases and searches.
    characters->show();
    characters->rdbDesc->setChecked(true);
    QTest::keyClicks(characters->edPesquisar, "urg");
    EXPECT_EQ(characters->edPesquisar->text(), "URG");
    EXPECT_EQ(listed(*characters, "CODCARATER"), QStringList({"02"}));
    characters->rdbCod->setChecked(true);
    characters->edPesquisar->setText("2");
    EXPECT_EQ(listed(*characters, "CODCARATER"), QStringList({"02"}));
}

TEST_F(Lookups, CharacterAndSpecialtyChoices)
{
    characters->show();
    characters->edPesquisar->setText("3");
    characters->choose();
    EXPECT_EQ(form->cbCarater->property("key").toString(), "03");
    EXPECT_EQ(form->lbCarater->text(), "ACIDENTE NO LOCAL DE TRABALHO OU A SERVIÇO DA EMPRESA");
    characters->show();
    EXPECT_EQ(characters->edPesquisar->text(), "3");
    EXPECT_EQ(listed(*characters, "CODCARATER"), QStringList({"01", "02", "03"}));

    // Codes are numbers: 10 comes after 7.
    execMain("insert into ESPECIALIDADE (CODESP, DESCRICAO) values (10, 'Psiquiatria')");
    form->cbCarater->setKey({});
    specialties->show();
    EXPECT_EQ(listed(*specialties, "CODESP"), QStringList({"1", "2", "3", "7", "10"}));
    specialties->edPesquisar->setText("1");
    EXPECT_EQ(listed(*specialties, "CODESP"), QStringList({"1", "10"}));
    specialties->grNome->setCurrentRow(1);
    specialties->choose();
    EXPECT_EQ(form->lbEspec->text(), "") << "10 is not in the laudo form's list, read at its showing";
    dm->dataset("quEspec").close();
    dm->dataset("quEspec").open();
    specialties->show();
    specialties->edPesquisar->setText("7");
    specialties->choose();
    EXPECT_EQ(form->cbEspec->property("key").toString(), "7");
    EXPECT_EQ(form->lbEspec->text(), "PEDIATRIA") << "without an admission character chosen";
}

TEST_F(Lookups, ProcedureChoiceLeavesTheAverageValue)
{
    procedures->show();
    EXPECT_EQ(listed(*procedures, "CODPROC"),
              QStringList({"0310010039", "0407030026", "0407040099", "0411010034"}));
    procedures->rdbDesc->setChecked(true);
    procedures->edPesquisar->setText("parto");
    EXPECT_EQ(listed(*procedures, "CODPROC"), QStringList({"0411010034", "0310010039"}));
    // A name stored in mixed case does not contain the upper-cased text.
    execMain("insert into PROCEDIMENTO (CODPROC, NOME, VLR_SH, VLR_SP) values "
             "('0310010047', 'Parto normal humanizado', 1, 2)");
    procedures->hide();
    procedures->show();
    procedures->rdbDesc->setChecked(true);
    EXPECT_EQ(listed(*procedures, "CODPROC"), QStringList({"0411010034", "0310010039"}))
        << "the text kept, searched as the choice changes";
    // The frame lists everything again, by the chosen column, whatever the text.
    procedures->grProcDblClick();
    EXPECT_EQ(listed(*procedures, "CODPROC"),
              QStringList({"0407030026", "0407040099", "0411010034", "0310010039", "0310010047"}))
        << "by name as stored: COLECISTECTOMIA, HERNIOPLASTIA..., PARTO CESARIANO, PARTO NORMAL, Parto...";
    form->btInclui->click();
    procedures->grNome->setCurrentRow(3);
    procedures->choose();
    EXPECT_EQ(form->cbProced->property("key").toString(), "0310010039");
    EXPECT_EQ(form->lbProced->text(), "PARTO NORMAL");
    EXPECT_DOUBLE_EQ(form->edValormedio->property("value").toDouble(), 0);
    procedures->show();
    EXPECT_TRUE(procedures->rdbCod->isChecked()) << "showing chooses Código again";
}

TEST_F(Lookups, ProfessionalGoesToTheTargetOnly)
{
    form->edCpfsolicita->setDigits("11111111111");
    form->edCpfautoriza->setDigits("22222222222");
    struct Case {
        const char* target;
        const char* solicita;
        const char* autoriza;
    };
    const Case cases[] = {
        {"2", "11111111111", "98765432100"},
        {"1", "98765432100", "98765432100"},
        {"", "98765432100", "98765432100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        professionals->lbProf->setText(c.target);
        professionals->show();
        professionals->rdbDesc->setChecked(true);
        professionals->edPesquisar->setText("ria jos");
        EXPECT_EQ(listed(*professionals, "CPF_PROF"), QStringList({"98765432100"}));
        professionals->edPesquisar->setText("765");
        professionals->rdbCod->setChecked(true);
        ASSERT_EQ(listed(*professionals, "CPF_PROF"), QStringList({"98765432100"}));
        professionals->choose();
        EXPECT_EQ(form->edCpfsolicita->property("digits").toString(), c.solicita);
        EXPECT_EQ(form->edCpfautoriza->property("digits").toString(), c.autoriza);
    }
    EXPECT_EQ(form->lbCpfsolicita->text(), QStringLiteral("MARIA JOSÉ BRANDÃO"));
    EXPECT_EQ(form->lbCpfautoriza->text(), QStringLiteral("MARIA JOSÉ BRANDÃO"));
}
