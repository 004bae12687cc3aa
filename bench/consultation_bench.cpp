// The distributed-number consultation over 1,000,000 movement rows: how soon
// the grid's first screen is there, against fetching every row.
#include "bench/benchutil.h"
#include "core/datamodule.h"
#include "core/datasetmodel.h"
#include "ranges/cmovim.h"
#include "ranges/rangerules.h"

#include <QApplication>

namespace talvera::bench {

namespace {

constexpr qint64 kRows = 1000000;
constexpr int kScreenRows = 40;

// Movement rows spread over two years, twelve months and four municipalities,
// generated inside the engine in one statement.
void generate(const QString& path)
{
    db::Database database;
    database.setDatabaseName(path);
    db::Query q(database);
    addFourMunicipalities(q);
    q.setSql(QStringLiteral(
        "execute block as\n"
        "declare i bigint = 0;\n"
        "declare n bigint;\n"
        "begin\n"
        "  while (i < %1) do begin\n"
        "    n = 271610000000 + i;\n"
        "    insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, USADA) values (\n"
        "      decode(mod(:i / 1000, 4), 0, '2700300', 1, '2704302', 2, '2701407', '2706307'),\n"
        "      2015 + mod(:i / 50000, 2), 1 + mod(:i / 4000, 12),\n"
        "      decode(mod(:i / 700, 4), 0, '2700300', 1, '2704302', 2, '2701407', '2706307'),\n"
        "      iif(mod(:i, 3) = 0, 'U', 'E'), :n, iif(mod(:n, 11) = 10, 0, mod(:n, 11)),\n"
        "      iif(mod(:i, 5) = 0, 'S', 'N'));\n"
        "    i = i + 1;\n"
        "  end\n"
        "end")
                 .arg(kRows));
    q.setParamCheck(false);
    q.execSql();
    database.transaction().commit();
    database.close();
}

// What a grid paints on its first screen: the shown columns of the first rows.
void paintRows(db::DatasetModel& model, int rows)
{
    for (int r = 0; r < rows && r < model.rowCount(); ++r)
        for (int c = 0; c < model.columnCount(); ++c)
            (void)model.data(model.index(r, c));
}

} // namespace

void consultationGroup()
{
    Scratch scratch;
    const double generation = seconds([&] { generate(scratch.file(QStringLiteral("TALVERA.GDB"))); });
    report(QStringLiteral("consultation rows"), kRows, 0);
    report(QStringLiteral("consultation generation seconds"), generation, 1);

    BuildSettings build{QStringLiteral("localhost"), QStringLiteral("-"), scratch.prefix()};
    DataModule dm(Edition::Municipal, build, scratch.file(QStringLiteral("CONFIGBD.TXT")));
    ranges::TfmCmovim form(dm);
    form.show();
    QApplication::processEvents();
    db::Dataset& movim = dm.dataset(QStringLiteral("quMovim"));
    db::DatasetModel model(movim, {QStringLiteral("nomemun"), QStringLiteral("nomemunorig"), QStringLiteral("ANOCOMP"),
                                   QStringLiteral("MESCOMP"), QStringLiteral("TIPO"), QStringLiteral("nume"),
                                   QStringLiteral("USADA"), QStringLiteral("categoria")});

    // The whole search as the button runs it: the listing and the three counts.
    const double search = seconds([&] { form.btPesqClick(); });
    report(QStringLiteral("consultation search seconds"), search, 3);

    const ranges::Statement listing = ranges::movementConsultation({}).listing;
    auto openListing = [&] {
        movim.close();
        movim.clearSql();
        movim.addLine(listing.sql);
        movim.prepare();
        movim.open();
    };
    resetPeakMemory();
    const double firstScreen = seconds([&] {
        openListing();
        model.fetchMore({});
        paintRows(model, kScreenRows);
    });
    const double memoryFirst = peakMemoryMiB();
    const double fetchAll = seconds([&] {
        openListing();
        movim.fetchAll();
        paintRows(model, kScreenRows);
    });
    const double memoryAll = peakMemoryMiB();
    report(QStringLiteral("consultation first screen seconds"), firstScreen, 4);
    report(QStringLiteral("consultation fetch all seconds"), fetchAll, 3);
    report(QStringLiteral("consultation first screen fraction"), firstScreen / fetchAll, 4);
    report(QStringLiteral("consultation peak memory first screen MiB"), memoryFirst, 1);
    report(QStringLiteral("consultation peak memory fetch all MiB"), memoryAll, 1);
    form.close();
}

} // namespace talvera::bench
