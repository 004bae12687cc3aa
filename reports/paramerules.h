#pragma once
// The statements of the report parameter form: a base text per option, the
// filters that are ticked in the order municipality, year, month, then the
// order. Plain functions, testable without a window.

#include <QString>
#include <QVariantList>

#include <optional>

namespace talvera::reports {

class Report;
class TfmRelato;

struct ReportFilter {
    std::optional<QString> municipality;
    std::optional<double> year;
    std::optional<double> month;
    // Options "8" and "9": the year and month select the competence of the
    // movement row instead of the processing month of the write-off.
    bool competence = false;
};

struct ReportStatement {
    QString dataset;
    QString sql;
    QVariantList params; // in the order the filter pieces were added
};

// The dataset and statement of options "1" to "9"; nothing for any other code.
std::optional<ReportStatement> reportStatement(const QString& option, const ReportFilter& filter);
// The report each option prints; null for any other code.
Report* reportOf(TfmRelato& relato, const QString& option);

} // namespace talvera::reports
