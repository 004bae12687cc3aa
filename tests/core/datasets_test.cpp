#include "core/datamodule.h"
#include "core/datasetmodel.h"
#include "core/numbers.h"
#include "tests/support/datadir.h"
#include "tests/support/qtprint.h"

#include <gtest/gtest.h>

using namespace talvera;
using talvera::test::DataDir;

namespace {

class DatasetsTest : public ::testing::Test {
protected:
    DataDir dir;
    DataModule dm{Edition::Municipal, BuildSettings{"localhost", "x", dir.prefix()}, dir.configFile()};

    void SetUp() override { dm.dbVorqwin.open(); }

    void exec(const QString& sql)
    {
        dm.quAtualiza.close();
        dm.quAtualiza.setSql(sql);
        dm.quAtualiza.execSql();
    }

    QStringList fieldNames(const QString& dataset)
    {
        QStringList names;
        for (const auto& f : dm.dataset(dataset).fields())
            names << f.name;
        return names;
    }
};

} // namespace

TEST_F(DatasetsTest, EveryDatasetOpensWithItsFieldsInOrder)
{
    for (const QString& name : dm.datasetNames()) {
        if (name == "quTabmun" || name == "quAihvorq")
            continue; // need the import connection or a parameter
        SCOPED_TRACE(name.toStdString());
        auto& ds = dm.dataset(name);
        const auto before = fieldNames(name);
        ASSERT_NO_THROW(ds.open());
        EXPECT_EQ(fieldNames(name), before);
        // Every field of every fetched row can be read, calculated ones included.
        for (int row = 0; row < ds.fetchedRows(); ++row) {
            for (int f = 0; f < static_cast<int>(ds.fields().size()); ++f)
                (void)ds.displayText(row, f);
        }
        ds.close();
    }
    EXPECT_EQ(fieldNames("quAnual"),
              QStringList({"ANO", "nomemun", "inic", "fina", "categoria", "MUNORIG", "INICIAL", "DVINIC",
                           "FINAL", "DVFINA"}));
    EXPECT_EQ(fieldNames("quMovim"),
              QStringList({"nomemun", "nomemunorig", "ANOCOMP", "MESCOMP", "TIPO", "nume", "USADA",
                           "categoria", "DV", "MUNORIG", "MUNREF", "NUMERO"}));
    EXPECT_EQ(fieldNames("quSerie").contains("USADA"), false);
    EXPECT_EQ(fieldNames("quDistrmun").first(), "MUNREF");
    EXPECT_EQ(fieldNames("quDistrref").first(), "nomemun");
    EXPECT_EQ(fieldNames("quDistr").last(), "categ");
    EXPECT_EQ(dm.dataset("quDistr").field("quant").label, "Quant");
    EXPECT_FALSE(dm.dataset("quAnual").field("categoria").shown);
}

TEST_F(DatasetsTest, AReplacementWithoutAListedColumnFailsNamingIt)
{
    auto& distr = dm.dataset("quDistr");
    distr.clearSql();
    distr.addLine("select MUNREF, ANOCOMP, MESCOMP, MUNORIG, INICIAL, DVINIC, FINAL, TIPO from TBDISTR");
    try {
        distr.open();
        FAIL() << "opened without DVFINA";
    } catch (const db::DatabaseError& e) {
        EXPECT_TRUE(e.message().contains("DVFINA")) << e.what();
    }
    EXPECT_FALSE(distr.isOpen());
    distr.restoreDefaultSql();
    EXPECT_NO_THROW(distr.open());
}

TEST_F(DatasetsTest, CalculatedAndLookupFieldsOfTheRanges)
{
    exec("insert into TBDISTR (MUNREF, ANOCOMP, MESCOMP, MUNORIG, INICIAL, DVINIC, FINAL, DVFINA, TIPO) "
         "values ('2700300', 2016, 12, '9999999', 271610000000, 4, 271610000999, 3, 'E')");
    auto& distr = dm.dataset("quDistr");
    distr.clearSql();
    distr.addLine("select * from TBDISTR where MESCOMP = :mes");
    distr.setParam(0, 12);
    distr.open();
    ASSERT_FALSE(distr.eof());
    EXPECT_EQ(distr.value("quant").toDouble(), 1000.0);
    EXPECT_EQ(distr.asString("inic"), "27.16.1.0.000.000-4");
    EXPECT_EQ(distr.asString("fina"), "27.16.1.0.000.999-3");
    EXPECT_EQ(distr.asString("categoria"), "AIH´s p/ uso geral");
    EXPECT_EQ(distr.asString("categ"), "1");
    EXPECT_EQ(distr.asString("nomemun"), "Arapiraca");
    // An unknown municipality gives an empty name; the row is still listed.
    EXPECT_EQ(distr.asString("nomemunorig"), "");
    distr.next();
    EXPECT_TRUE(distr.eof());
}

TEST_F(DatasetsTest, UnusedElectiveNumbersShowTheShortNumberAndTheLaudoMark)
{
    auto& rn = dm.dataset("quRnusada");
    rn.open();
    QString onLaudo;
    QString free;
    for (int row = 0; row < 200 && !rn.eof(); ++row, rn.next()) {
        if (rn.value("NUMERO").toLongLong() == 271650000004LL)
            onLaudo = rn.asString("vorq");
        if (rn.value("NUMERO").toLongLong() == 271650000010LL) {
            free = rn.asString("vorq");
            EXPECT_EQ(rn.asString("nume"), "27.16.5.0.000.010");
            EXPECT_EQ(rn.asString("nomemunorig"), "Campo Alegre");
        }
    }
    EXPECT_EQ(onLaudo, "X");
    EXPECT_EQ(free, "");
}

TEST_F(DatasetsTest, LabelNamesAreCutAndTypesLookedUp)
{
    exec("insert into MUN (CODMUN, NOME) values ('2799998', 'Município de Nome Bem Comprido Demais')");
    exec("insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, USADA) "
         "values ('2799998', 2016, 5, '2799998', 'E', 271659999999, 1, 'N')");
    exec("insert into TBETIQ (NUMERO, DV) values (271659999999, 1)");
    exec("insert into TBETIQ (NUMERO, DV) values (271659999998, 2)"); // not distributed
    auto& etiq = dm.dataset("quEtiq");
    etiq.open();
    ASSERT_FALSE(etiq.eof());
    EXPECT_EQ(etiq.value("NUMERO").toLongLong(), 271659999998LL);
    EXPECT_EQ(etiq.asString("nomemun"), "");
    EXPECT_EQ(etiq.asString("tipo"), "");
    etiq.next();
    EXPECT_EQ(etiq.asString("nomemun"), "Município de Nome Bem Com");
    EXPECT_EQ(etiq.asString("nomemun").size(), 25);
    EXPECT_EQ(etiq.asString("nomemunref"), "Município de Nome Bem Comprido Demais");
    EXPECT_EQ(etiq.asString("categoria"), "5");
    EXPECT_EQ(etiq.asString("tipo"), "E");
    EXPECT_EQ(etiq.asString("nume"), "27.16.5.9.999.999-1");
}

TEST_F(DatasetsTest, WriteOffsShowHospitalAndCnpj)
{
    auto& baixa = dm.dataset("quBaixa2");
    baixa.clearSql();
    baixa.addLine("select * from TBBAIXA where NUMERO = :n");
    baixa.setParam(0, 271610000002LL);
    baixa.open();
    ASSERT_FALSE(baixa.eof());
    EXPECT_EQ(baixa.asString("nomehosp"), "Maternidade Nossa Senhora de Fátima");
    EXPECT_EQ(baixa.displayText(0, baixa.fieldIndex("CGC_HSP")), "23.456.789/0001-10");
    EXPECT_EQ(baixa.asString("nomemun"), "Arapiraca");
    EXPECT_EQ(baixa.asString("NOMEPAC"), "MARIA DAS GRAÇAS SANTOS");

    auto& laudo = dm.dataset("quRlaudo");
    laudo.open();
    ASSERT_FALSE(laudo.eof());
    EXPECT_EQ(laudo.asString("cpfsolicita2"), "012.345.678-90");
    EXPECT_EQ(laudo.asString("cpfautoriza2"), "123.456.789-09");
}

TEST_F(DatasetsTest, GridModelFetchesIncrementally)
{
    dm.trAih().start();
    dm.quAtualiza.setSql("insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, USADA) "
                         "values ('2700300', 2016, 6, '2700300', 'U', :n, :d, 'N')");
    for (qint64 n = 271610005000; n < 271610007000; ++n) {
        dm.quAtualiza.setParam(0, n);
        dm.quAtualiza.setParam(1, numbers::checkDigit(n));
        dm.quAtualiza.execSql();
    }
    dm.trAih().commitRetaining();

    auto& movim = dm.dataset("quMovim");
    movim.open();
    db::DatasetModel model(movim);
    model.setBatchSize(100);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_TRUE(model.canFetchMore({}));
    model.fetchMore({});
    EXPECT_EQ(model.rowCount(), 101);
    EXPECT_LT(movim.fetchedRows(), 200);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Município de Referência");
    EXPECT_EQ(model.columnCount(), 8); // the shown fields
    while (model.canFetchMore({}))
        model.fetchMore({});
    EXPECT_EQ(model.rowCount(), 2000 + 115);
    // Reopening resets the model.
    movim.open();
    EXPECT_EQ(model.rowCount(), 1);
}
