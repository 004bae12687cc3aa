// The used-number report by municipality of origin over 10,000 write-offs
// (20,000 printed lines) on the loopback server: pages laid out and written
// to PDF per second, the time from the button to the first page on show in
// the preview, and the peak memory of it all.
#include "bench/benchutil.h"
#include "core/datamodule.h"
#include "reports/engine/preview.h"
#include "reports/engine/previewwindow.h"
#include "reports/parame.h"
#include "reports/relato.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>

#include <algorithm>

namespace talvera::bench {

namespace {

constexpr int kWriteOffs = 10000;

// Write-offs of four municipalities of origin, cared for in three, at two
// hospitals, each with its movement row; generated inside the engine.
void generate(const QString& path)
{
    db::Database database;
    database.setDatabaseName(path);
    db::Query q(database);
    addFourMunicipalities(q);
    q.setSql(QStringLiteral("insert into TBHOSP (CGC_HSP, NOM_HSP) select '12345678000199', "
                            "'Hospital Regional de Arapiraca' from rdb$database union all "
                            "select '23456789000110', 'Maternidade Nossa Senhora de Fátima' from rdb$database"));
    q.execSql();
    q.setSql(QStringLiteral(
        "execute block as\n"
        "declare i bigint = 0;\n"
        "declare n bigint;\n"
        "declare d smallint;\n"
        "begin\n"
        "  while (i < %1) do begin\n"
        "    n = 271710000000 + i;\n"
        "    d = iif(mod(:n, 11) = 10, 0, mod(:n, 11));\n"
        "    insert into TBMOVIM (MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, NUMERO, DV, USADA) values (\n"
        "      decode(mod(:i / 1000, 4), 0, '2700300', 1, '2704302', 2, '2701407', '2706307'), 2016,\n"
        "      1 + mod(:i / 900, 12), decode(mod(:i / 2500, 4), 0, '2700300', 1, '2704302', 2, '2701407', '2706307'),\n"
        "      iif(mod(:i, 3) = 0, 'U', 'E'), :n, :d, 'S');\n"
        "    insert into TBBAIXA (NUMERO, DV, ANOPROC, MESPROC, MUNORIG, MUNATEN, NOMEPAC, CGC_HSP) values (\n"
        "      :n, :d, 2016, 1 + mod(:i / 1000, 12), '2700300',\n"
        "      decode(mod(:i, 3), 0, '2700300', 1, '2704302', '2701407'), 'PACIENTE DE TESTE NUMERO ' || :i,\n"
        "      iif(mod(:i, 2) = 0, '12345678000199', '23456789000110'));\n"
        "    i = i + 1;\n"
        "  end\n"
        "end")
                 .arg(kWriteOffs));
    q.setParamCheck(false); // the block's ":variables" are its own
    q.execSql();
    database.transaction().commit();
    database.close();
}

// The preview window as the program opens it; notes when its first page is drawn.
class TimedPreviews : public reports::Previews {
public:
    explicit TimedPreviews(QElapsedTimer& clock) : clock_(clock) {}
    void show(const reports::Document& document) override
    {
        reports::PreviewWindow window(document);
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
        window.show();
        QApplication::processEvents();
        window.pageView()->grab(); // the first page, drawn
        firstPage = clock_.elapsed() / 1000.0;
        pages = document.pageCount();
        pagesDrawn = window.pageView()->pagesPainted();
    }
    double firstPage = 0;
    int pages = 0;
    int pagesDrawn = 0;

private:
    QElapsedTimer& clock_;
};

} // namespace

void reportsGroup()
{
    Scratch scratch;
    const double generation = seconds([&] { generate(scratch.file(QStringLiteral("TALVERA.GDB"))); });
    report(QStringLiteral("report write-offs"), kWriteOffs, 0);
    report(QStringLiteral("report generation seconds"), generation, 1);

    LoopbackServer server;
    BuildSettings build{QStringLiteral("127.0.0.1"), scratch.file(QStringLiteral("TALVERA.GDB")), scratch.prefix()};
    DataModule dm(Edition::State, build, scratch.file(QStringLiteral("CONFIGBD.TXT")));
    dm.dbVorqwin.open();
    dm.dbAih.open();
    dm.dataset(QStringLiteral("quMun")).open();
    reports::TfmRelato relato(dm);
    reports::TfmParame parame(dm, relato);
    parame.lbOpcao->setText(QStringLiteral("8"));

    QElapsedTimer clock;
    auto timed = std::make_unique<TimedPreviews>(clock);
    TimedPreviews* preview = timed.get();
    auto previous = reports::setPreviews(std::move(timed));
    resetPeakMemory();
    // Best of two rounds, from the button on: the statement, the layout and the preview's first page.
    double firstPage = 1e9;
    for (int round = 0; round < 2; ++round) {
        clock.start();
        parame.btPesqClick();
        firstPage = std::min(firstPage, preview->firstPage);
    }
    const int pages = preview->pages;
    const int pagesDrawn = preview->pagesDrawn;
    reports::setPreviews(std::move(previous));

    // Layout and PDF: the dataset read again from the server each round.
    db::Dataset& atend = dm.dataset(QStringLiteral("quAtend"));
    const QString pdf = scratch.file(QStringLiteral("atendorig.pdf"));
    double best = 1e9;
    for (int round = 0; round < 2; ++round) {
        best = std::min(best, seconds([&] {
                            atend.close();
                            atend.open();
                            const reports::Document doc = relato.repAtendorig->layout();
                            if (!doc.writePdf(pdf))
                                throw std::runtime_error("the PDF could not be written");
                        }));
    }
    const double memory = peakMemoryMiB();
    report(QStringLiteral("report pages"), pages, 0);
    report(QStringLiteral("report pages drawn for the first page"), pagesDrawn, 0);
    report(QStringLiteral("report pages per second"), pages / best, 0);
    report(QStringLiteral("report first page seconds"), firstPage, 3);
    report(QStringLiteral("report peak memory mb"), memory, 1);
}

} // namespace talvera::bench
