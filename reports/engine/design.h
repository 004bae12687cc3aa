#pragma once
// The design of a banded report: bands of items (fixed texts, fields, values
// computed from the run, rules), groups that break on a field, totals, and
// handlers that run before and after a band prints and may change its items.
// layout() paginates the design over a record source into a Document.
//
// Order on the page: the page header at the top of every page, the title band
// once after the first page header, then per row the footers of the groups
// that end (innermost first, seeing the values of the group's last row), the
// headers of the groups that start (outermost first) and the detail, and at the
// end the open footers and the summary. The page footer closes every page.
// A band that does not fit goes to a new page, which repeats the headers of
// the groups that continue on it. A group that starts a new page does so when
// it breaks after the first row. Bands of height 0 print nothing but still
// run their handlers.

#include "reports/engine/document.h"
#include "widgets/longoperation.h"

#include <QDate>
#include <QVariant>

#include <deque>
#include <functional>
#include <vector>

namespace talvera::reports {

class Printing;
class RecordSource;

using Handler = std::function<void(Printing&)>;
using TextFunction = std::function<QString(const Printing&)>;

struct Item {
    enum class Kind { Text, Rule };
    Kind kind = Kind::Text;
    QString name; // for handlers: Printing::item(name)
    double left = 0; // mm from the band's left edge (the left margin)
    double top = 0;  // mm from the band's top
    double width = 0;
    double thickness = 0.2; // of a rule
    Font font;
    Align align = Align::Left;
    bool visible = true;
    bool toFile = false; // one of the values of the band's line in the text file
    // The text: computed, else a field (with a number picture, else its display text), else the literal.
    QString literal;
    QString field;
    QString picture;
    TextFunction compute;

    Item& named(const QString& n) { name = n; return *this; }
    Item& bold(bool on = true) { font.bold = on; return *this; }
    Item& italic(bool on = true) { font.italic = on; return *this; }
    Item& size(double points) { font.size = points; return *this; }
    Item& right() { align = Align::Right; return *this; }
    Item& centred() { align = Align::Center; return *this; }
    Item& hidden() { visible = false; return *this; }
    Item& forFile() { toFile = true; return *this; }

    int resolvedField = -1; // the field's index in the source, set for each run
};

struct Band {
    double height = 0;
    std::vector<Item> items;
    Handler beforePrint;
    Handler afterPrint;

    Item& label(const QString& text, double left, double top, double width = 40);
    Item& field(const QString& field, double left, double top, double width, const QString& picture = {});
    Item& computed(TextFunction text, double left, double top, double width);
    // A total of the design (ReportDesign::sum or count) shown with a number picture.
    Item& total(int total, double left, double top, double width, const QString& picture);
    Item& rule(double left, double top, double width, double thickness = 0.2);
    // The value of the page: "Data:" date, "Página:" number.
    Item& date(double left, double top, double width);
    Item& pageNumber(double left, double top, double width);
};

// Groups are kept in a deque, so a reference to one stays valid as more are added.
struct Group {
    QString field;
    bool newPage = false;
    bool reprintHeader = true; // on every page the group continues on
    Band header;
    Band footer;
};

struct Total {
    enum class Kind { Sum, Count };
    Kind kind = Kind::Count;
    QString field;  // summed field
    int group = -1; // restarts when this group starts; -1 covers the whole report
};

struct LayoutOptions {
    QDate date; // the date a report prints; today when invalid
    // Called every few hundred rows with the rows done; false stops the layout
    // with db::Cancelled.
    widgets::Progress progress;
};

// The note a report without rows prints under its headings.
inline const QString kNoRecords = QStringLiteral("Nenhum registro");

class ReportDesign {
public:
    QString title;
    PageSetup page;
    Band titleBand;
    Band pageHeader;
    Band detail;
    Band summary;
    Band pageFooter;
    std::deque<Group> groups;
    std::vector<Total> totals;
    bool fileOutput = false;
    QString defaultFileName;

    Group& addGroup(const QString& field, bool newPage = false);
    int sum(const QString& field, int group = -1);
    int count(int group = -1);

    // Throws db::DatabaseError when a band does not fit on a page or an item
    // names a field the source lacks.
    Document layout(RecordSource& source, const LayoutOptions& options = {}) const;
};

// What a handler or a computed text sees of the run.
class Printing {
public:
    virtual ~Printing() = default;
    // The item of this run with that name, in any band; throws when there is none.
    virtual Item& item(const QString& name) = 0;
    // Fields of the current row (empty when there are no rows).
    virtual QVariant value(const QString& field) const = 0;
    virtual QString text(const QString& field) const = 0;
    virtual int page() const = 0; // 1-based
    virtual QDate date() const = 0;
    virtual double total(int total) const = 0;
};

} // namespace talvera::reports
