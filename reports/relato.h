#pragma once
// "Módulo de Relatório": the container of the program's report templates. It
// is created at start-up and never shown; a form that prints fills and opens
// the report's dataset, then calls the report's print(), which opens the
// preview.

#include "reports/engine/design.h"
#include "reports/engine/document.h"

#include <QDate>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace talvera {
class DataModule;
}

namespace talvera::reports {

class ProviderNames;

class Report {
public:
    Report(DataModule& dm, QString name, QString datasetName);

    const QString& name() const { return name_; }
    const QString& datasetName() const { return datasetName_; }
    ReportDesign& design() { return design_; }

    // Lays the design out over its dataset as the calling form opened it (a
    // closed dataset is opened with the statement it has). The dataset's
    // current row is kept.
    Document layout(const widgets::Progress& progress = {});
    // Lays the report out, with a progress window while that lasts, then
    // shows it in the preview.
    void print();

    // Runs before each layout: the report's per-run caches start empty.
    std::function<void()> beforeRun;
    // The date the report prints; today when not set.
    std::function<QDate()> date;

private:
    DataModule& dm_;
    QString name_;
    QString datasetName_;
    ReportDesign design_;
};

class TfmRelato : public QWidget {
    Q_OBJECT
public:
    explicit TfmRelato(DataModule& dm, QWidget* parent = nullptr);
    ~TfmRelato() override;

    Report* repDistr;
    Report* repDistrref;
    Report* repDistrmun;
    Report* repDistrmun2;
    Report* repBaixaoriano;
    Report* repBaixaorianomes;
    Report* repNusada;
    Report* repAtendorig;
    Report* repAtendref;
    Report* repEtiq;
    Report* repExcel;
    Report* repLaudos;
    Report* repLaudoatual;

    // The date every report prints; an invalid date means today's.
    void setReportDate(const QDate& date) { date_ = date; }
    QDate reportDate() const { return date_.isValid() ? date_ : QDate::currentDate(); }

    // The labels' category choice of the labels form, read as each label run
    // starts: 0 "AIH", 1 "APAC", -1 none.
    void setLabelCategory(std::function<int()> category) { labelCategory_ = std::move(category); }
    int labelCategory() const { return labelCategory_ ? labelCategory_() : -1; }

    std::vector<Report*> reports() const;

private:
    Report* add(const QString& name, const QString& dataset);

    DataModule& dm_;
    QDate date_;
    std::function<int()> labelCategory_;
    std::unique_ptr<ProviderNames> providers_;
    std::vector<std::unique_ptr<Report>> reports_;
};

} // namespace talvera::reports
