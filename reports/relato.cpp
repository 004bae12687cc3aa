#include "reports/relato.h"

#include "core/datamodule.h"
#include "reports/engine/preview.h"
#include "reports/engine/source.h"
#include "reports/layouts.h"
#include "widgets/longoperation.h"

#include <QApplication>

namespace talvera::reports {

Report::Report(DataModule& dm, QString name, QString datasetName)
    : dm_(dm), name_(std::move(name)), datasetName_(std::move(datasetName))
{
}

Document Report::layout(const widgets::Progress& progress)
{
    db::Dataset& dataset = dm_.dataset(datasetName_);
    if (!dataset.isOpen())
        dataset.open();
    const int bookmark = dataset.recNo();
    struct Restore {
        db::Dataset& ds;
        int row;
        ~Restore()
        {
            if (row >= 0)
                ds.moveTo(row);
        }
    } restore{dataset, bookmark};
    if (beforeRun)
        beforeRun();
    DatasetSource source(dataset);
    LayoutOptions options;
    options.date = date ? date() : QDate::currentDate();
    options.progress = progress;
    return design_.layout(source, options);
}

void Report::print()
{
    Document document;
    {
        widgets::LongOperation operation(QApplication::activeWindow(),
                                         QStringLiteral("Preparando o relatório \"%1\"...").arg(design_.title));
        document = layout(operation.progress());
    }
    previews().show(document);
}

TfmRelato::TfmRelato(DataModule& dm, QWidget* parent)
    : QWidget(parent), dm_(dm), providers_(std::make_unique<ProviderNames>(dm))
{
    setObjectName(QStringLiteral("fmRelato"));
    setWindowTitle(QStringLiteral("Módulo de Relatório"));

    const struct {
        Report* TfmRelato::*member;
        const char* name;
        const char* dataset;
        void (*design)(ReportDesign&);
    } plain[] = {{&TfmRelato::repDistr, "repDistr", "quDistr", designDistr},
                 {&TfmRelato::repDistrref, "repDistrref", "quDistrref", designDistrref},
                 {&TfmRelato::repDistrmun, "repDistrmun", "quDistrmun", designDistrmun},
                 {&TfmRelato::repDistrmun2, "repDistrmun2", "quDistrmun2", designDistrmun2},
                 {&TfmRelato::repBaixaoriano, "repBaixaoriano", "quBaixaoriano", designBaixaoriano},
                 {&TfmRelato::repBaixaorianomes, "repBaixaorianomes", "quBaixaorianomes", designBaixaorianomes},
                 {&TfmRelato::repNusada, "repNusada", "quRnusada", designNusada},
                 {&TfmRelato::repAtendorig, "repAtendorig", "quAtend", designAtendorig},
                 {&TfmRelato::repAtendref, "repAtendref", "quAtend", designAtendref}};
    for (const auto& r : plain) {
        Report* report = add(QString::fromLatin1(r.name), QString::fromLatin1(r.dataset));
        r.design(report->design());
        this->*r.member = report;
    }
    repEtiq = add(QStringLiteral("repEtiq"), QStringLiteral("quEtiq"));
    designEtiq(repEtiq->design(), [this] { return labelCategory(); });
    repExcel = add(QStringLiteral("repExcel"), QStringLiteral("quSerie"));
    designExcel(repExcel->design());
    repLaudos = add(QStringLiteral("repLaudos"), QStringLiteral("quRlaudo"));
    designLaudos(repLaudos->design(), *providers_);
    repLaudoatual = add(QStringLiteral("repLaudoatual"), QStringLiteral("quRlaudo"));
    designLaudoatual(repLaudoatual->design(), *providers_);
    for (Report* laudos : {repLaudos, repLaudoatual})
        laudos->beforeRun = [this] { providers_->clear(); };
}

TfmRelato::~TfmRelato() = default;

Report* TfmRelato::add(const QString& name, const QString& dataset)
{
    reports_.push_back(std::make_unique<Report>(dm_, name, dataset));
    Report* report = reports_.back().get();
    report->date = [this] { return reportDate(); };
    return report;
}

std::vector<Report*> TfmRelato::reports() const
{
    std::vector<Report*> out;
    for (const auto& r : reports_)
        out.push_back(r.get());
    return out;
}

} // namespace talvera::reports
