// Expansion of a 100,000-number distribution through the code the form calls,
// embedded and on the loopback server, against a bare baseline in the same run.
#include "bench/benchutil.h"
#include "core/datamodule.h"
#include "core/numbers.h"
#include "ranges/rangerules.h"

#include <algorithm>

namespace talvera::bench {

namespace {

constexpr qint64 kNumbers = 100000;
constexpr int kNaiveRows = 20000;
constexpr qint64 kFirst = 271610000000;

// A data module over the scratch files; the state edition serves the main one over TCP.
std::unique_ptr<DataModule> dataModule(const Scratch& scratch, Edition edition)
{
    BuildSettings build{QStringLiteral("127.0.0.1"), scratch.file(QStringLiteral("TALVERA.GDB")), scratch.prefix()};
    auto dm = std::make_unique<DataModule>(edition, build, scratch.file(QStringLiteral("CONFIGBD.TXT")));
    dm->dbVorqwin.open();
    dm->dbAih.open();
    return dm;
}

double expansion(DataModule& dm)
{
    const ranges::Distribution d{QStringLiteral("2700300"), 2016, 1, QStringLiteral("2700300"), kFirst,
                                 numbers::checkDigit(kFirst), kFirst + kNumbers - 1,
                                 numbers::checkDigit(kFirst + kNumbers - 1), QStringLiteral("E")};
    db::WriteResult result;
    const double elapsed = seconds([&] { result = ranges::saveDistribution(dm, d); });
    if (!result)
        throw std::runtime_error(result.error.toStdString());
    return elapsed;
}

// One insert per round trip, the way a plain loop would send them.
double naiveLoop(DataModule& dm)
{
    db::Query q(dm.dbAih);
    q.setSql(QStringLiteral("insert into tbmovim (MUNREF,ANOCOMP,MESCOMP,MUNORIG,TIPO,NUMERO,DV,USADA) "
                            "values (:p1, :p2, :p3, :p4, :p5, :p6, :p7, :p8)"));
    dm.trAih().start();
    return seconds([&] {
        for (qint64 x = kFirst; x < kFirst + kNaiveRows; ++x) {
            const QVariant values[] = {QStringLiteral("2700300"), 2016, 1, QStringLiteral("2700300"),
                                       QStringLiteral("E"), x, numbers::checkDigit(x), QStringLiteral("N")};
            for (int i = 0; i < 8; ++i)
                q.setParam(i, values[i]);
            q.execSql();
        }
        dm.trAih().commitRetaining();
    });
}

// The engine's own limit: every row made by one loop inside the server, in one
// round trip, then the commit.
double serverLoop(DataModule& dm)
{
    db::Query q(dm.dbAih);
    q.setSql(QString::fromLatin1(ranges::kGeneratedExpansion));
    q.setParamCheck(false);
    const QVariant values[] = {QStringLiteral("2700300"), 2016, 1, QStringLiteral("2700300"), QStringLiteral("E"),
                               kFirst, kFirst + kNumbers - 1};
    for (int i = 0; i < 7; ++i)
        q.setParam(i, values[i]);
    q.prepare();
    dm.trAih().start();
    return seconds([&] {
        q.execSql();
        dm.trAih().commitRetaining();
    });
}

} // namespace

// Runs one measurement on a fresh scratch set holding the municipality the rows refer to.
template <class F>
double onScratch(F&& measure)
{
    Scratch scratch;
    addMunicipality(scratch.file(QStringLiteral("TALVERA.GDB")));
    return measure(scratch);
}

void expansionGroup()
{
    // Embedded: against the bare API's single-row insert rate. Two rounds each,
    // alternating, keeping the best: single runs vary with the disk.
    double embedded = 0;
    double bare = 0;
    for (int round = 0; round < 2; ++round) {
        bare = std::max(bare, onScratch([](const Scratch& s) {
            return kNumbers / bareInserts(s.file(QStringLiteral("TALVERA.GDB")), static_cast<int>(kNumbers));
        }));
        embedded = std::max(embedded, onScratch([](const Scratch& s) {
            return kNumbers / expansion(*dataModule(s, Edition::Municipal));
        }));
    }
    report(QStringLiteral("expansion embedded rows/s"), embedded, 0);
    report(QStringLiteral("expansion embedded bare rows/s"), bare, 0);
    report(QStringLiteral("expansion embedded ratio"), embedded / bare, 3);

    // Over TCP: the server-side expansion against one insert per round trip,
    // and against the engine's limit (the whole range in one round trip).
    LoopbackServer server;
    double tcp = 0;
    double limit = 0;
    for (int round = 0; round < 2; ++round) {
        limit = std::max(limit, onScratch([](const Scratch& s) {
            return kNumbers / serverLoop(*dataModule(s, Edition::State));
        }));
        tcp = std::max(tcp, onScratch([](const Scratch& s) {
            return kNumbers / expansion(*dataModule(s, Edition::State));
        }));
    }
    const double naive =
        onScratch([](const Scratch& s) { return kNaiveRows / naiveLoop(*dataModule(s, Edition::State)); });
    report(QStringLiteral("expansion tcp rows/s"), tcp, 0);
    report(QStringLiteral("expansion tcp naive rows/s"), naive, 0);
    report(QStringLiteral("expansion tcp ratio"), tcp / naive, 2);
    report(QStringLiteral("expansion tcp limit rows/s"), limit, 0);
    report(QStringLiteral("expansion tcp fraction of limit"), tcp / limit, 3);
}

} // namespace talvera::bench
