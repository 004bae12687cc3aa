// The laudo form driven through its controls against the demo data.
#include "laudofixture.h"

#include <QApplication>
#include <QTest>

using namespace talvera;
using namespace talvera::test;

namespace {

class LaudoForm : public LaudoFormTest {
protected:
    // Lists the laudos of a competence month in the grid, newest sheet first.
    void filterMonth(int mes, int ano)
    {
        form->chAno->setChecked(true);
        form->pqMes->setProperty("value", mes);
        form->pqAno->setProperty("value", ano);
        form->rgPesq->setProperty("itemIndex", 0);
        form->btPesq->click();
    }
    // Loads the grid's row holding the sheet and sequence.
    void load(int folha, int sequencia)
    {
        db::Dataset& laudos = dm->dataset("quLaudo");
        laudos.fetchAll();
        for (int row = 0; row < laudos.fetchedRows(); ++row) {
            laudos.moveTo(row);
            if (laudos.value("FOLHA").toInt() == folha && laudos.value("SEQUENCIA").toInt() == sequencia) {
                form->grNome->setCurrentRow(row);
                form->grNomeDblClick();
                return;
            }
        }
        ADD_FAILURE() << "no laudo " << folha << "/" << sequencia << " in the grid";
    }
    bool editable(QWidget* w) const
    {
        if (auto* line = qobject_cast<QLineEdit*>(w))
            return !line->isReadOnly();
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(w))
            return !spin->isReadOnly();
        return w->isEnabled();
    }
    QVariant stored(const char* column, qint64 aih)
    {
        return vorq(QString("select %1 from LAUDO where NUMAIH = ?").arg(column), {aih});
    }
};

} // namespace

TEST_F(LaudoForm, ShowingTakesTheCompetenceMonthAndResets)
{
    EXPECT_EQ(form->edMes->property("value").toInt(), 3);
    EXPECT_EQ(form->edAno->property("value").toInt(), 2016);
    EXPECT_EQ(form->edMeslib->property("value").toInt(), 3);
    EXPECT_EQ(form->edAnolib->property("value").toInt(), 2016);
    EXPECT_EQ(form->cbMun->property("key").toString(), "2700300") << "the installation's municipality";
    EXPECT_EQ(form->edFolha->text(), "0");
    EXPECT_EQ(form->edCpfsolicita->property("digits").toString(), "");
    EXPECT_TRUE(form->btInclui->isEnabled());
    EXPECT_FALSE(form->btAltera->isEnabled());
    EXPECT_FALSE(form->btExclui->isEnabled());
    EXPECT_TRUE(form->btConfirma->isHidden());
    EXPECT_TRUE(form->btCancela->isHidden());
    for (QWidget* w : std::initializer_list<QWidget*>{form->edMes, form->edAno, form->cbPrest, form->edAih, form->edDv,
                                                      form->cbCarater, form->cbProced, form->edMunintern})
        EXPECT_FALSE(editable(w)) << w->objectName().toStdString();
    EXPECT_FALSE(dm->dataset("quLaudo").isOpen()) << "the grid waits for the first filter";

    form->btInclui->click();
    EXPECT_EQ(form->lbOpcao->text(), "I");
    for (QWidget* w : std::initializer_list<QWidget*>{form->edFolha, form->edSeq, form->edMes, form->edAno,
                                                      form->cbPrest, form->edAih, form->edDv, form->cbCarater,
                                                      form->cbProced, form->edValormedio})
        EXPECT_TRUE(editable(w)) << w->objectName().toStdString();
    EXPECT_FALSE(editable(form->edMunintern));
    EXPECT_FALSE(form->btInclui->isEnabled());
    EXPECT_FALSE(form->btConfirma->isHidden());
    form->btCancela->click();
    EXPECT_TRUE(form->btConfirma->isHidden());
    EXPECT_EQ(form->lbOpcao->text(), "I") << "the reset keeps the mode marker";
}

TEST_F(LaudoForm, SaveStoresWhatWasTyped)
{
    struct Case {
        int sex;
        QDate birth;
        int storedSex;
    };
    const Case cases[] = {{1, QDate(), 3}, {0, QDate(1980, 7, 14), 1}};
    qint64 aih = 271650000010;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.storedSex);
        messages->clear();
        typeNewLaudo(aih);
        EXPECT_EQ(form->edSeq->text(), aih == 271650000010 ? "1" : "2") << "proposed on leaving the year";
        EXPECT_EQ(form->lbPrest->text(), "HOSPITAL REGIONAL DE ARAPIRACA");
        EXPECT_EQ(form->edMunintern->text(), "Arapiraca");
        form->rgSexo->setProperty("itemIndex", c.sex);
        form->edDatanasc->setProperty("date", c.birth);
        form->btConfirma->click();
        EXPECT_TRUE(shown().isEmpty()) << shown().join('|').toStdString();
        EXPECT_TRUE(form->btConfirma->isHidden()) << "reset after the save";
        EXPECT_EQ(form->edAih->property("digits").toString(), "");
        EXPECT_EQ(stored("SEXO", aih).toInt(), c.storedSex);
        EXPECT_EQ(stored("DATANASC", aih).toDate(), c.birth) << "an empty date is NULL";
        EXPECT_TRUE(c.birth.isValid() || stored("DATANASC", aih).isNull());
        EXPECT_EQ(stored("CARATERINT", aih).toInt(), 3);
        EXPECT_EQ(stored("ESPECIALIDADE", aih).toInt(), 7);
        EXPECT_EQ(stored("CPFSOLICITA", aih).toLongLong(), 1234567890LL);
        EXPECT_EQ(stored("CPFAUTORIZA", aih).toLongLong(), 12345678909LL);
        EXPECT_EQ(stored("MUNINTERN", aih).toString(), "2700300") << "managed by Arapiraca";
        EXPECT_EQ(stored("MUNORIG", aih).toString(), "2700300");
        EXPECT_DOUBLE_EQ(stored("VALORMEDIO", aih).toDouble(), 803.86);
        EXPECT_EQ(stored("FOLHA || '/' || SEQUENCIA || '/' || MESCOMP || '/' || ANOCOMP", aih).toString(),
                  aih == 271650000010 ? "5/1/3/2016" : "5/2/3/2016");
        EXPECT_EQ(stored("CNES || ' ' || MESLIBE || '/' || ANOLIBE", aih).toString(), "2005417 3/2016");
        ++aih;
    }
}

TEST_F(LaudoForm, UnregisteredCpfIsAskedAbout)
{
    typeNewLaudo();
    form->edCpfsolicita->setProperty("digits", "11111111111");
    messages->answer(false);
    form->btConfirma->click();
    EXPECT_EQ(messages->texts(widgets::Messages::Kind::Question).size(), 1);
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(laudos(), 2) << "No stores nothing";
    EXPECT_FALSE(form->btConfirma->isHidden());
    EXPECT_EQ(form->edCpfsolicita->property("digits").toString(), "11111111111") << "the entries stay";
    EXPECT_EQ(form->edPaciente->text(), "MARIA DA PENHA");
    messages->answer(true);
    form->btConfirma->click();
    EXPECT_EQ(laudos(), 3);
    EXPECT_EQ(stored("CPFSOLICITA", 271650000010).toLongLong(), 11111111111LL);
}

TEST_F(LaudoForm, FullSheetKeepsTheSequenceAndTheSaveRefusesIt)
{
    for (int s = 1; s <= 7; ++s)
        addLaudo(4, s, 3, 2016, kRegional, 271650000100 + s);
    form->btInclui->click();
    form->edFolha->setProperty("text", "4");
    form->edAnoExit();
    EXPECT_EQ(form->edSeq->text(), "8");
    addLaudo(9, 20, 3, 2016, kRegional, 271650000120);
    typeNewLaudo();
    form->edFolha->setProperty("text", "9");
    form->edSeq->setProperty("text", "0");
    form->edAnoExit();
    EXPECT_EQ(shown(), QStringList({"Essa folha já tem 20 seqüências"}));
    EXPECT_EQ(form->edSeq->text(), "0");
    messages->clear();
    form->btConfirma->click();
    EXPECT_EQ(shown(), QStringList({"Sequência válida entre 1 e 20"}));
    // A sequence typed by the operator is taken.
    messages->clear();
    form->edSeq->setProperty("text", "19");
    form->btConfirma->click();
    EXPECT_TRUE(shown().isEmpty()) << shown().join('|').toStdString();
    EXPECT_EQ(stored("SEQUENCIA", 271650000010).toInt(), 19);
}

TEST_F(LaudoForm, FailedSaveIsReportedAndTheEntriesStay)
{
    execVorq("alter table LAUDO add constraint CK_PACIENTE check (PACIENTE <> 'MARIA DA PENHA')");
    typeNewLaudo();
    form->btConfirma->click();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().first().startsWith("Não foi possível gravar o laudo")) << errors().first().toStdString();
    EXPECT_TRUE(errors().first().contains("CK_PACIENTE")) << errors().first().toStdString();
    EXPECT_EQ(laudos(), 2);
    EXPECT_FALSE(form->btConfirma->isHidden());
    EXPECT_EQ(form->edAih->property("digits").toString(), "271650000010");
    EXPECT_EQ(form->cbPrest->property("key").toString(), kRegional);
    // Mended, the same entries save.
    form->edPaciente->setText("MARIA DA PENHA SILVA");
    form->btConfirma->click();
    EXPECT_EQ(laudos(), 3);
    EXPECT_EQ(form->edObserv->maxLength(), 50);
}

TEST_F(LaudoForm, AverageValueIsTheProceduresOnlyForANewLaudo)
{
    typeNewLaudo();
    EXPECT_DOUBLE_EQ(form->edValormedio->property("value").toDouble(), 803.86) << "545.73 + 258.13";
    EXPECT_EQ(form->lbProced->text(), "PARTO CESARIANO");
    form->btCancela->click();
    filterMonth(3, 2016);
    load(1, 1);
    form->btAltera->click();
    EXPECT_EQ(form->lbOpcao->text(), "A");
    EXPECT_DOUBLE_EQ(form->edValormedio->property("value").toDouble(), 640.04);
    form->cbProced->setProperty("key", "0411010034");
    form->cbProcedExit();
    EXPECT_EQ(form->lbProced->text(), "PARTO CESARIANO");
    EXPECT_DOUBLE_EQ(form->edValormedio->property("value").toDouble(), 640.04) << "a change keeps its value";
}

TEST_F(LaudoForm, LoadChangeAndDelete)
{
    filterMonth(3, 2016);
    dm->dataset("quLaudo").fetchAll();
    ASSERT_EQ(dm->dataset("quLaudo").fetchedRows(), 2);
    load(1, 2);
    EXPECT_EQ(form->edPaciente->text(), QStringLiteral("JOÃO PAULO BARBOSA"));
    EXPECT_EQ(form->edAih->property("digits").toString(), "271650000005");
    EXPECT_EQ(form->edCpfsolicita->property("digits").toString(), "01234567890") << "1234567890 padded";
    EXPECT_EQ(form->lbCpfsolicita->text(), QStringLiteral("ANA LÚCIA TENÓRIO"));
    EXPECT_EQ(form->lbCpfautoriza->text(), QStringLiteral("JOÃO BATISTA CAVALCANTE"));
    EXPECT_EQ(form->cbCarater->property("key").toString(), "01") << "stored as 1";
    EXPECT_EQ(form->lbCarater->text(), "ELETIVO");
    EXPECT_EQ(form->lbEspec->text(), QStringLiteral("CIRÚRGICA"));
    EXPECT_EQ(form->lbPrest->text(), "HOSPITAL REGIONAL DE ARAPIRACA");
    EXPECT_EQ(form->edMunintern->text(), "Arapiraca");
    EXPECT_EQ(form->cbMun->property("key").toString(), "2701407");
    EXPECT_EQ(form->rgSexo->property("itemIndex").toInt(), 0);
    EXPECT_EQ(form->edDatanasc->property("date").toDate(), QDate(1978, 11, 3));
    EXPECT_EQ(form->lbCons->text(), "1");
    EXPECT_FALSE(form->btInclui->isEnabled());
    EXPECT_TRUE(form->btAltera->isEnabled());
    EXPECT_TRUE(form->btExclui->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{form->edFolha, form->edSeq, form->edMes, form->edAno})
        EXPECT_FALSE(editable(w)) << w->objectName().toStdString();

    // Change: the identifying fields and the provider stay; everything else can change.
    form->btAltera->click();
    EXPECT_FALSE(editable(form->cbPrest));
    EXPECT_FALSE(form->spPrest->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{form->edAih, form->edDv, form->edMeslib, form->edAnolib,
                                                      form->cbCarater, form->cbEspec, form->cbProced})
        EXPECT_TRUE(editable(w)) << w->objectName().toStdString() << " without an earlier Incluir";
    form->edPaciente->setText("JOÃO PAULO BARBOSA FILHO");
    form->cbEspec->setProperty("key", "3");
    form->btConfirma->click();
    EXPECT_TRUE(shown().isEmpty()) << shown().join('|').toStdString();
    EXPECT_EQ(stored("PACIENTE", 271650000005).toString(), QStringLiteral("JOÃO PAULO BARBOSA FILHO"));
    EXPECT_EQ(stored("ESPECIALIDADE", 271650000005).toInt(), 3);
    EXPECT_EQ(stored("SEQUENCIA", 271650000005).toInt(), 2);
    EXPECT_TRUE(form->btConfirma->isHidden());
    db::Dataset& grid = dm->dataset("quLaudo");
    grid.fetchAll();
    bool listed = false;
    for (int row = 0; row < grid.fetchedRows(); ++row)
        listed = listed ||
                 grid.valueAt(row, grid.fieldIndex("PACIENTE")).toString() == QStringLiteral("JOÃO PAULO BARBOSA FILHO");
    EXPECT_TRUE(listed) << "the grid shows the changed row";

    // Deletion: No changes nothing, Yes renumbers the sheet.
    for (int s = 3; s <= 5; ++s)
        addLaudo(1, s, 3, 2016, kRegional, 271650000100 + s);
    filterMonth(3, 2016);
    load(1, 2);
    messages->answer(false);
    form->btExclui->click();
    EXPECT_EQ(sheet(1, 3, 2016).size(), 5);
    EXPECT_TRUE(form->btExclui->isEnabled());
    EXPECT_EQ(form->edSeq->text(), "2");
    messages->answer(true);
    form->btExclui->click();
    EXPECT_EQ(messages->texts(widgets::Messages::Kind::Question),
              QStringList({"CONFIRMA EXCLUSÃO?", "CONFIRMA EXCLUSÃO?"}));
    const QList<QPair<int, qint64>> renumbered = {
        {1, 271650000004}, {2, 271650000105}, {3, 271650000103}, {4, 271650000104}};
    EXPECT_EQ(sheet(1, 3, 2016), renumbered);
    EXPECT_FALSE(form->btExclui->isEnabled()) << "reset";
    EXPECT_EQ(grid.sqlText(), "select * from laudo where anocomp > 2006 and anocomp = :p2 and mescomp = :p3 "
                              "order by anocomp desc,mescomp desc,folha desc,sequencia desc");
    grid.fetchAll();
    EXPECT_EQ(grid.fetchedRows(), 4) << "the grid reloaded with its filter";
}

TEST_F(LaudoForm, StoredSexOtherThanOneOrThreeLoadsWithNone)
{
    execVorq("update LAUDO set SEXO = 2 where SEQUENCIA = 1");
    filterMonth(3, 2016);
    load(1, 1);
    EXPECT_EQ(form->rgSexo->property("itemIndex").toInt(), -1);
    form->btAltera->click();
    form->btConfirma->click();
    EXPECT_EQ(shown(), QStringList({"Selecione o sexo"}));
}

TEST_F(LaudoForm, DoubleClickOnAnEmptyGridDoesNothing)
{
    form->grNomeDblClick();
    filterMonth(7, 2016);
    form->grNomeDblClick();
    EXPECT_TRUE(form->btInclui->isEnabled());
    EXPECT_EQ(form->lbCons->text(), "");
}

TEST_F(LaudoForm, LeavingFieldsFillsAndWarns)
{
    addLaudo(5, 1, 3, 2016, kMaternidade, 271650000020);
    form->btInclui->click();
    form->edFolha->setProperty("text", "5");
    form->edAnoExit();
    EXPECT_EQ(form->edSeq->text(), "2");
    form->cbPrest->setProperty("key", kGeral);
    form->cbPrestExit();
    EXPECT_EQ(shown(), QStringList({"Existem registros usando outro CNES nesta folha"}));
    EXPECT_EQ(form->cbPrest->property("key").toString(), kGeral) << "a warning: the choice stays";
    EXPECT_EQ(form->lbPrest->text(), "HOSPITAL GERAL DO ESTADO");
    EXPECT_EQ(form->edCodmunintern->text(), "2704302");
    EXPECT_EQ(form->edMunintern->text(), QStringLiteral("Maceió"));

    struct Number {
        const char* digits;
        int dv;
        const char* warning;
    };
    const Number numbers[] = {
        {"271650000010", 3, "Dígito verificador da Aih inválido"},
        {"271650000099", 5, "Aih não cadastrada na distribuição"},
        {"271650000001", 6, "Aih já utilizada em outro mês/ano de liberação"},
        {"", 0, "AIH não preenchida"},
        {"271650000010", 4, nullptr},
    };
    for (const Number& n : numbers) {
        SCOPED_TRACE(n.digits);
        messages->clear();
        form->edAih->setProperty("digits", n.digits);
        form->edDv->setProperty("value", n.dv);
        form->edDvExit();
        EXPECT_EQ(shown(), n.warning ? QStringList({QString::fromUtf8(n.warning)}) : QStringList());
    }

    form->cbCarater->setProperty("key", "02");
    form->cbCaraterExit();
    EXPECT_EQ(form->lbCarater->text(), QStringLiteral("URGÊNCIA"));
    form->cbCarater->setProperty("key", "");
    form->cbCaraterExit();
    EXPECT_EQ(form->lbCarater->text(), "");
    form->cbEspec->setProperty("key", "2");
    form->cbEspecExit();
    EXPECT_EQ(form->lbEspec->text(), QStringLiteral("OBSTETRÍCIA"));

    form->edDatanascExit();
    EXPECT_EQ(form->rgSexo->property("itemIndex").toInt(), 0) << "Masculino when none was chosen";
    form->rgSexo->setProperty("itemIndex", 1);
    form->edDatanascExit();
    EXPECT_EQ(form->rgSexo->property("itemIndex").toInt(), 1);

    form->edCpfautoriza->setProperty("digits", "98765432100");
    form->edCpfautorizaExit();
    EXPECT_EQ(form->lbCpfautoriza->text(), QStringLiteral("MARIA JOSÉ BRANDÃO"));
    form->edCpfautoriza->setProperty("digits", "11111111111");
    form->edCpfautorizaExit();
    EXPECT_EQ(form->lbCpfautoriza->text(), QStringLiteral("MARIA JOSÉ BRANDÃO")) << "an unknown CPF leaves the name";
}

TEST_F(LaudoForm, LeavingTheYearProposesOnlyInANewLaudo)
{
    QApplication::setActiveWindow(form.get());
    form->btInclui->click();
    form->edFolha->setText("1");
    form->edAno->setFocus();
    QTest::keyClick(form->edAno, Qt::Key_Tab);
    EXPECT_EQ(form->edSeq->text(), "3") << "the exit runs when the focus leaves";
    // A loaded laudo's sequence is its key: tabbing through does not touch it.
    form->btCancela->click();
    filterMonth(3, 2016);
    load(1, 1);
    form->edAno->setFocus();
    QTest::keyClick(form->edAno, Qt::Key_Tab);
    EXPECT_EQ(form->edSeq->text(), "1");
}

TEST_F(LaudoForm, SearchCheckDigitWarnings)
{
    form->chAih->setChecked(true);
    struct Case {
        const char* digits;
        int dv;
        const char* warning;
    };
    const Case cases[] = {
        {"", 5, "AIH não preenchida"},
        {"271650000011", 6, "Dígito verificador da Aih inválido"}, // its digit is 5
        {"271650000099", 5, "Aih não cadastrada na distribuição"},
    };
    for (const Case& c : cases) {
        messages->clear();
        form->pqAih->setProperty("digits", c.digits);
        form->pqDv->setProperty("value", c.dv);
        form->pqDvExit();
        EXPECT_EQ(shown(), QStringList({QString::fromUtf8(c.warning)}));
    }
    messages->clear();
    form->pqAih->setProperty("digits", "271650000005");
    form->pqDv->setProperty("value", numbers::checkDigit(271650000005LL));
    form->pqDvExit();
    EXPECT_TRUE(shown().isEmpty());
    form->btPesq->click();
    EXPECT_EQ(form->grNome->model()->rowCount(), 1);
}

TEST_F(LaudoForm, ButtonsOpenTheirDialogs)
{
    for (QToolButton* b : {form->spPrest, form->SpeedButton2, form->SpeedButton3, form->SpeedButton4})
        b->click();
    form->SpeedButton5->click();
    EXPECT_EQ(professionals->lbProf->text(), "1");
    form->SpeedButton6->click();
    EXPECT_EQ(professionals->lbProf->text(), "2");
    EXPECT_EQ(opened, QStringList({"fmConprest", "fmConcara", "fmConespec", "fmConproced", "fmConprof", "fmConprof"}));
}
