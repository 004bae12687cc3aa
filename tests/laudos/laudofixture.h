#pragma once
// The laudo forms over a fresh copy of the demo data, embedded, with scripted
// message boxes.
//
// Demo data: Vorq's PARAME holds 03/2016; sheet 1 of 03/2016 has two laudos of
// provider 2005417 (AIH 271650000004 and 271650000005, released 03/2016).
// Distributed: 271610000001-040, 271650000001-045, 271610010001-030; written
// off in 02/2016: 271610000001-003 and 271650000001-002. Professionals
// 01234567890, 12345678909, 98765432100. Providers 2005417 and 2003538 are
// managed by Arapiraca (270030 -> 2700300), 2006197 by Maceió.

#include "core/datamodule.h"
#include "core/numbers.h"
#include "laudos/laudo.h"
#include "laudos/lookups.h"
#include "reports/engine/preview.h"
#include "reports/relato.h"
#include "tests/support/datadir.h"
#include "tests/support/qtprint.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/digitsedit.h"
#include "widgets/lookupcombo.h"
#include "widgets/maskededit.h"
#include "widgets/numericedit.h"
#include "widgets/radiogroup.h"
#include "widgets/scriptedmessages.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace talvera::test {

inline constexpr const char* kRegional = "2005417";    // Hospital Regional de Arapiraca
inline constexpr const char* kMaternidade = "2003538"; // Maternidade Nossa Senhora de Fátima
inline constexpr const char* kGeral = "2006197";       // Hospital Geral do Estado, Maceió

class LaudoTest : public ::testing::Test {
protected:
    DataDir dir;
    widgets::ScriptedMessagesScope messages;
    reports::KeptPreviewsScope previews;
    std::unique_ptr<DataModule> dm;
    std::unique_ptr<reports::TfmRelato> relato;

    void SetUp() override
    {
        BuildSettings build{QStringLiteral("127.0.0.1"), dir.file(QStringLiteral("TALVERA.GDB")), dir.prefix()};
        dm = std::make_unique<DataModule>(Edition::Municipal, build, dir.configFile());
        // What the main form does when it is shown.
        dm->dbVorqwin.open();
        dm->trVorqwin().start();
        dm->dataset(QStringLiteral("quMun")).open();
        relato = std::make_unique<reports::TfmRelato>(*dm);
        relato->setReportDate(QDate(2016, 5, 17));
    }
    void TearDown() override
    {
        relato.reset();
        dm.reset();
    }

    QStringList shown() const { return messages->texts(widgets::Messages::Kind::Information); }
    QStringList errors() const { return messages->texts(widgets::Messages::Kind::Error); }

    // Runs a statement on Vorq's database, committed at once.
    void execVorq(const QString& sql, const QVariantList& params = {})
    {
        db::Query q(dm->dbVorqwin);
        q.setStatement(sql, params);
        q.execSql();
        dm->trVorqwin().commitRetaining();
    }
    // The first value of a select on one of the program's connections.
    static QVariant readOne(db::Database& database, const QString& sql, const QVariantList& params = {})
    {
        db::Query q(database);
        q.setStatement(sql, params);
        q.open();
        return q.eof() ? QVariant() : q.value(0);
    }
    QVariant vorq(const QString& sql, const QVariantList& params = {}) { return readOne(dm->dbVorqwin, sql, params); }

    // A laudo of the demo's provider whose number is distributed and not written off.
    void addLaudo(int folha, int sequencia, int mes, int ano, const QString& cnes, qint64 aih,
                  const QString& paciente = QStringLiteral("PACIENTE"))
    {
        execVorq(QStringLiteral("insert into LAUDO (FOLHA, SEQUENCIA, MESCOMP, ANOCOMP, CNES, NUMAIH, DVAIH, "
                                "MESLIBE, ANOLIBE, PACIENTE, SEXO, CARATERINT, ESPECIALIDADE, PROCEDIMENTO, "
                                "CPFSOLICITA, CPFAUTORIZA, MUNORIG, MUNINTERN) values (?, ?, ?, ?, ?, ?, ?, 0, 0, "
                                "?, 1, 1, 1, '0407030026', 1234567890, 12345678909, '2700300', '2700300')"),
                 {folha, sequencia, mes, ano, cnes, aih, numbers::checkDigit(aih), paciente});
    }
    // Sequences of a sheet with their AIH numbers, in sequence order.
    QList<QPair<int, qint64>> sheet(int folha, int mes, int ano)
    {
        db::Query q(dm->dbVorqwin);
        q.setStatement(QStringLiteral("select SEQUENCIA, NUMAIH from LAUDO where FOLHA = ? and MESCOMP = ? and "
                                      "ANOCOMP = ? order by SEQUENCIA"),
                       {folha, mes, ano});
        q.open();
        QList<QPair<int, qint64>> rows;
        for (; !q.eof(); q.next())
            rows << qMakePair(q.value(0).toInt(), q.value(1).toLongLong());
        return rows;
    }
};

// The laudo form and its five dialogs, shown as the menu shows them.
class LaudoFormTest : public LaudoTest {
protected:
    std::unique_ptr<laudos::TfmLaudo> form;
    std::unique_ptr<laudos::TfmConprest> providers;
    std::unique_ptr<laudos::TfmConcara> characters;
    std::unique_ptr<laudos::TfmConespec> specialties;
    std::unique_ptr<laudos::TfmConproced> procedures;
    std::unique_ptr<laudos::TfmConprof> professionals;
    QStringList opened; // dialogs the "..." buttons opened

    void SetUp() override
    {
        LaudoTest::SetUp();
        form = std::make_unique<laudos::TfmLaudo>(*dm, *relato);
        providers = std::make_unique<laudos::TfmConprest>(*dm, *form);
        characters = std::make_unique<laudos::TfmConcara>(*dm, *form);
        specialties = std::make_unique<laudos::TfmConespec>(*dm, *form);
        procedures = std::make_unique<laudos::TfmConproced>(*dm, *form);
        professionals = std::make_unique<laudos::TfmConprof>(*dm, *form);
        form->setLookupDialogs(providers.get(), characters.get(), specialties.get(), procedures.get(),
                               professionals.get());
        form->showModal = [this](QDialog* d) { opened << d->objectName(); };
        form->show();
    }
    void TearDown() override
    {
        professionals.reset();
        procedures.reset();
        specialties.reset();
        characters.reset();
        providers.reset();
        form.reset();
        LaudoTest::TearDown();
    }

    // Types a complete new laudo that passes every check: sheet 5 of the
    // competence shown (03/2016), provider 2005417, AIH 271650000010.
    void typeNewLaudo(qint64 aih = 271650000010)
    {
        form->btInclui->click();
        form->edFolha->setProperty("text", "5");
        form->edAnoExit();
        form->cbPrest->setProperty("key", QString::fromLatin1(kRegional));
        form->cbPrestExit();
        form->edAih->setProperty("digits", QString::number(aih));
        form->edDv->setProperty("value", numbers::checkDigit(aih));
        form->edPaciente->setText(QStringLiteral("MARIA DA PENHA"));
        form->rgSexo->setProperty("itemIndex", 1);
        form->cbCarater->setProperty("key", "03");
        form->cbEspec->setProperty("key", "7");
        form->cbProced->setProperty("key", "0411010034");
        form->cbProcedExit();
        form->edCpfsolicita->setProperty("digits", "01234567890");
        form->edCpfautoriza->setProperty("digits", "12345678909");
    }
    qint64 laudos() { return vorq(QStringLiteral("select count(*) from LAUDO")).toLongLong(); }
};

} // namespace talvera::test
