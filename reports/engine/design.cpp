#include "reports/engine/design.h"

#include "core/firebird.h"
#include "reports/engine/format.h"
#include "reports/engine/source.h"

#include <QHash>

namespace talvera::reports {

namespace {

Item textItem(double left, double top, double width)
{
    Item item;
    item.left = left;
    item.top = top;
    item.width = width;
    return item;
}

} // namespace

Item& Band::label(const QString& text, double left, double top, double width)
{
    Item item = textItem(left, top, width);
    item.literal = text;
    items.push_back(std::move(item));
    return items.back();
}

Item& Band::field(const QString& fieldName, double left, double top, double width, const QString& picture)
{
    Item item = textItem(left, top, width);
    item.field = fieldName;
    item.picture = picture;
    items.push_back(std::move(item));
    return items.back();
}

Item& Band::computed(TextFunction text, double left, double top, double width)
{
    Item item = textItem(left, top, width);
    item.compute = std::move(text);
    items.push_back(std::move(item));
    return items.back();
}

Item& Band::total(int totalId, double left, double top, double width, const QString& picture)
{
    return computed([totalId, picture](const Printing& p) { return formatNumber(p.total(totalId), picture); },
                    left, top, width);
}

Item& Band::rule(double left, double top, double width, double thickness)
{
    Item item = textItem(left, top, width);
    item.kind = Item::Kind::Rule;
    item.thickness = thickness;
    items.push_back(std::move(item));
    return items.back();
}

Item& Band::date(double left, double top, double width)
{
    return computed([](const Printing& p) { return formatDate(p.date()); }, left, top, width);
}

Item& Band::pageNumber(double left, double top, double width)
{
    return computed([](const Printing& p) { return QString::number(p.page()); }, left, top, width);
}

Group& ReportDesign::addGroup(const QString& field, bool newPage)
{
    Group g;
    g.field = field;
    g.newPage = newPage;
    groups.push_back(std::move(g));
    return groups.back();
}

int ReportDesign::sum(const QString& field, int group)
{
    totals.push_back({Total::Kind::Sum, field, group});
    return static_cast<int>(totals.size() - 1);
}

int ReportDesign::count(int group)
{
    totals.push_back({Total::Kind::Count, QString(), group});
    return static_cast<int>(totals.size() - 1);
}

namespace {

constexpr double kEpsilon = 1e-6;
constexpr int kProgressRows = 256;

// One run of a design over a source. The bands are copies, so handlers may
// change their items without touching the design.
class Paginator : public Printing {
public:
    Paginator(const ReportDesign& design, RecordSource& source, const LayoutOptions& options)
        : design_(design), source_(source), options_(options), titleBand_(design.titleBand),
          pageHeader_(design.pageHeader), detail_(design.detail), summary_(design.summary),
          pageFooter_(design.pageFooter), groups_(design.groups), totals_(design.totals.size(), 0.0)
    {
        date_ = options.date.isValid() ? options.date : QDate::currentDate();
    }

    Document run();

    Item& item(const QString& name) override
    {
        const auto it = named_.constFind(name);
        if (it == named_.constEnd())
            throw db::DatabaseError(QStringLiteral("Relatório %1: componente %2 não existe").arg(design_.title, name));
        return **it;
    }
    QVariant value(const QString& field) const override
    {
        const int i = source_.fieldIndex(field);
        return i < 0 || row_ < 0 ? QVariant() : source_.value(i);
    }
    QString text(const QString& field) const override
    {
        const int i = source_.fieldIndex(field);
        return i < 0 || row_ < 0 ? QString() : source_.displayText(i);
    }
    int page() const override { return static_cast<int>(doc_.pageCount()); }
    QDate date() const override { return date_; }
    double total(int id) const override
    {
        return id >= 0 && static_cast<size_t>(id) < totals_.size() ? totals_[static_cast<size_t>(id)] : 0.0;
    }

private:
    enum class Role { PageHeader, PageFooter, Repeated, Body };

    std::vector<Band*> bands();
    void prepareBands();
    void checkHeights();
    void moveTo(int row);
    QString key(int group) const;
    QString textOf(const Item& item) const;
    void print(Band& band, Role role);
    void place(const Band& band, double y);
    void startPage();
    void finishPage();
    void newPage(int repeatedGroups);
    void accumulate();

    const ReportDesign& design_;
    RecordSource& source_;
    const LayoutOptions& options_;
    QDate date_;
    Band titleBand_;
    Band pageHeader_;
    Band detail_;
    Band summary_;
    Band pageFooter_;
    std::deque<Group> groups_;
    std::vector<double> totals_;
    std::vector<int> totalFields_;
    std::vector<int> groupFields_;
    QHash<QString, Item*> named_;

    Document doc_;
    Page* page_ = nullptr;
    int row_ = -1;
    double y_ = 0;
    double bottom_ = 0;
    int openGroups_ = 0;      // groups whose header printed and whose footer did not
    bool pageHasBody_ = false; // a band with content printed below the repeated headings
    bool repeating_ = false;
};

std::vector<Band*> Paginator::bands()
{
    std::vector<Band*> all{&titleBand_, &pageHeader_, &detail_, &summary_, &pageFooter_};
    for (Group& g : groups_) {
        all.push_back(&g.header);
        all.push_back(&g.footer);
    }
    return all;
}

void Paginator::prepareBands()
{
    for (Band* band : bands()) {
        for (Item& it : band->items) {
            if (!it.name.isEmpty())
                named_.insert(it.name, &it);
            it.resolvedField = -1;
            if (it.compute || it.field.isEmpty() || it.kind == Item::Kind::Rule)
                continue;
            it.resolvedField = source_.fieldIndex(it.field);
            if (it.resolvedField < 0)
                throw db::DatabaseError(
                    QStringLiteral("Relatório %1: o campo %2 não existe nos dados").arg(design_.title, it.field));
        }
    }
    for (const Group& g : groups_) {
        const int i = source_.fieldIndex(g.field);
        if (i < 0)
            throw db::DatabaseError(
                QStringLiteral("Relatório %1: o campo %2 do grupo não existe nos dados").arg(design_.title, g.field));
        groupFields_.push_back(i);
    }
    for (const Total& t : design_.totals) {
        const int i = t.kind == Total::Kind::Sum ? source_.fieldIndex(t.field) : -1;
        if (t.kind == Total::Kind::Sum && i < 0)
            throw db::DatabaseError(
                QStringLiteral("Relatório %1: o campo %2 do total não existe nos dados").arg(design_.title, t.field));
        totalFields_.push_back(i);
    }
}

void Paginator::checkHeights()
{
    const PageSetup& setup = design_.page;
    const double body = setup.height() - 2 * setup.margin - pageHeader_.height - pageFooter_.height;
    for (Band* band : bands()) {
        if (band == &pageHeader_ || band == &pageFooter_)
            continue;
        if (band->height > body + kEpsilon || body <= 0)
            throw db::DatabaseError(
                QStringLiteral("Relatório %1: uma faixa de %2 mm não cabe na página (%3 mm livres)")
                    .arg(design_.title, QString::number(band->height, 'f', 1), QString::number(body, 'f', 1)));
    }
}

void Paginator::moveTo(int row)
{
    if (row_ != row && source_.moveTo(row))
        row_ = row;
}

QString Paginator::key(int group) const
{
    return source_.value(groupFields_[static_cast<size_t>(group)]).toString();
}

QString Paginator::textOf(const Item& it) const
{
    if (it.compute)
        return it.compute(*this);
    if (it.resolvedField >= 0) {
        if (row_ < 0)
            return {};
        if (!it.picture.isEmpty())
            return formatNumber(source_.value(it.resolvedField), it.picture);
        return source_.displayText(it.resolvedField);
    }
    return it.literal;
}

void Paginator::place(const Band& band, double y)
{
    const double left = design_.page.margin;
    QStringList fileLine;
    bool hasFileValues = false;
    for (const Item& it : band.items) {
        if (!it.visible)
            continue;
        PageItem out;
        out.x = left + it.left;
        out.y = y + it.top;
        out.width = it.width;
        if (it.kind == Item::Kind::Rule) {
            out.kind = PageItem::Kind::Rule;
            out.thickness = it.thickness;
            page_->items.push_back(std::move(out));
            continue;
        }
        QString text = textOf(it);
        if (it.toFile) {
            fileLine << text;
            hasFileValues = true;
        }
        if (text.isEmpty())
            continue;
        out.text = std::move(text);
        out.align = it.align;
        out.font = doc_.fontIndex(it.font);
        page_->items.push_back(std::move(out));
    }
    if (hasFileValues)
        doc_.addFileLine(fileLine);
}

void Paginator::print(Band& band, Role role)
{
    if (band.beforePrint)
        band.beforePrint(*this);
    const double h = band.height;
    if (role != Role::PageFooter && h > 0 && y_ + h > bottom_ + kEpsilon) {
        if (repeating_ || role == Role::PageHeader)
            throw db::DatabaseError(
                QStringLiteral("Relatório %1: os cabeçalhos repetidos não cabem na página").arg(design_.title));
        newPage(openGroups_);
        if (y_ + h > bottom_ + kEpsilon)
            throw db::DatabaseError(QStringLiteral("Relatório %1: uma faixa não cabe na página").arg(design_.title));
    }
    if (role == Role::PageFooter) {
        place(band, design_.page.height() - design_.page.margin - h);
    } else {
        place(band, y_);
        y_ += h;
        if (role == Role::Body && h > 0)
            pageHasBody_ = true;
    }
    if (band.afterPrint)
        band.afterPrint(*this);
}

void Paginator::startPage()
{
    page_ = &doc_.addPage();
    y_ = design_.page.margin;
    bottom_ = design_.page.height() - design_.page.margin - pageFooter_.height;
    pageHasBody_ = false;
    print(pageHeader_, Role::PageHeader);
}

void Paginator::finishPage()
{
    print(pageFooter_, Role::PageFooter);
}

void Paginator::newPage(int repeatedGroups)
{
    finishPage();
    startPage();
    repeating_ = true;
    for (int g = 0; g < repeatedGroups; ++g) {
        if (groups_[static_cast<size_t>(g)].reprintHeader)
            print(groups_[static_cast<size_t>(g)].header, Role::Repeated);
    }
    repeating_ = false;
}

void Paginator::accumulate()
{
    for (size_t i = 0; i < totals_.size(); ++i) {
        if (design_.totals[i].kind == Total::Kind::Count)
            totals_[i] += 1;
        else
            totals_[i] += source_.value(totalFields_[i]).toDouble();
    }
}

Document Paginator::run()
{
    prepareBands();
    checkHeights();
    doc_.setTitle(design_.title);
    doc_.setPageSetup(design_.page);
    if (design_.fileOutput)
        doc_.setFileOutput(design_.defaultFileName);

    const bool hasRows = source_.moveTo(0);
    row_ = hasRows ? 0 : -1;
    startPage();
    print(titleBand_, Role::Body);
    if (!hasRows) {
        Band note;
        note.height = 8;
        note.label(kNoRecords, 0, 2, 80);
        print(note, Role::Body);
        finishPage();
        return std::move(doc_);
    }

    const int n = static_cast<int>(groups_.size());
    std::vector<QString> keys(static_cast<size_t>(n));
    int row = 0;
    for (;;) {
        int level = 0;
        if (row > 0) {
            level = n;
            for (int g = 0; g < n; ++g) {
                if (key(g) != keys[static_cast<size_t>(g)]) {
                    level = g;
                    break;
                }
            }
        }
        if (row > 0 && level < n) {
            // The ending groups' footers see their last row.
            moveTo(row - 1);
            for (int g = n - 1; g >= level; --g) {
                print(groups_[static_cast<size_t>(g)].footer, Role::Body);
                openGroups_ = g;
            }
            moveTo(row);
            bool newPageWanted = false;
            for (int g = level; g < n; ++g)
                newPageWanted = newPageWanted || groups_[static_cast<size_t>(g)].newPage;
            if (newPageWanted && pageHasBody_)
                newPage(level);
        }
        for (int g = level; g < n; ++g) {
            keys[static_cast<size_t>(g)] = key(g);
            for (size_t t = 0; t < totals_.size(); ++t) {
                if (design_.totals[t].group >= g)
                    totals_[t] = 0;
            }
            print(groups_[static_cast<size_t>(g)].header, Role::Body);
            openGroups_ = g + 1;
        }
        accumulate();
        print(detail_, Role::Body);
        ++row;
        if (options_.progress && row % kProgressRows == 0 && !options_.progress(row, 0))
            throw db::Cancelled(QStringLiteral("Relatório cancelado"));
        if (!source_.moveTo(row))
            break;
        row_ = row;
    }
    // source_ still stands on the last row.
    for (int g = n - 1; g >= 0; --g) {
        print(groups_[static_cast<size_t>(g)].footer, Role::Body);
        openGroups_ = g;
    }
    print(summary_, Role::Body);
    finishPage();
    return std::move(doc_);
}

} // namespace

Document ReportDesign::layout(RecordSource& source, const LayoutOptions& options) const
{
    Paginator paginator(*this, source, options);
    return paginator.run();
}

} // namespace talvera::reports
