#pragma once
// The designs of fmRelato's reports, and the pieces they share.

#include "reports/engine/design.h"

#include <QHash>

#include <functional>

namespace talvera {
class DataModule;
}

namespace talvera::reports {

// Body width of a landscape and of a portrait A4 page with the common margins.
inline constexpr double kLandscapeWidth = 297 - 2 * 6.35;
inline constexpr double kPortraitWidth = 210 - 2 * 6.35;

// The standard page heading: "NOVRA/KILTA" and "Talvera" at the left, the
// title in the centre, "Data:" and "Página:" at the right, a rule below.
// Returns the height it takes.
double standardHeading(Band& band, const QString& title, double width, bool pageNumber = true);

// "a/b" of two fields; the first with a number picture when given ("00").
TextFunction slash(const QString& first, const QString& second, const QString& firstPicture = {});

// Names of providers by CNES, read from the main database once per CNES and run.
class ProviderNames {
public:
    explicit ProviderNames(DataModule& dm) : dm_(dm) {}
    QString name(const QString& cnes);
    void clear() { names_.clear(); }

private:
    DataModule& dm_;
    QHash<QString, QString> names_;
};

inline const QString kUnknownProvider = QStringLiteral("*** CNES não cadastrado");

void designDistr(ReportDesign& d);
void designDistrref(ReportDesign& d);
void designDistrmun(ReportDesign& d);
void designDistrmun2(ReportDesign& d);
void designBaixaoriano(ReportDesign& d);
void designBaixaorianomes(ReportDesign& d);
void designNusada(ReportDesign& d);
void designAtendorig(ReportDesign& d);
void designAtendref(ReportDesign& d);
// The label prefix follows the category the labels form has chosen.
void designEtiq(ReportDesign& d, std::function<int()> category);
void designExcel(ReportDesign& d);
void designLaudos(ReportDesign& d, ProviderNames& providers);
void designLaudoatual(ReportDesign& d, ProviderNames& providers);

} // namespace talvera::reports
