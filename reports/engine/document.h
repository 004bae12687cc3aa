#pragma once
// A laid-out report: pages of positioned items (texts and rules) as plain
// values in millimetres, measured from the paper's top left corner. The same
// page model is drawn on the preview, the printer and PDF, dumped for tests,
// and, for reports marked for file output, written as tab-separated text.

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace talvera::reports {

struct Font {
    QString family = QStringLiteral("Arial");
    double size = 10; // points
    bool bold = false;
    bool italic = false;
    bool operator==(const Font&) const = default;
};

enum class Align : quint8 { Left, Center, Right };

struct PageItem {
    enum class Kind : quint8 { Text, Rule };
    Kind kind = Kind::Text;
    Align align = Align::Left;
    quint16 font = 0; // index into Document::fonts()
    double x = 0;     // left edge of the item's box
    double y = 0;     // top of the box
    double width = 0; // box width; alignment places the text inside it
    double thickness = 0; // of a rule
    QString text;
};

struct Page {
    std::vector<PageItem> items;
};

struct PageSetup {
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double margin = 6.35; // on all four sides

    // Paper width and height as the page is turned.
    double width() const;
    double height() const;
    double bodyWidth() const { return width() - 2 * margin; }
    QPageLayout pageLayout() const;
};

class Document {
public:
    QString title() const { return title_; }
    int pageCount() const { return static_cast<int>(pages_.size()); }
    // One line per item, in page order: "page x y flags text". Flags are the
    // point size, "b" bold, "i" italic and the alignment L, C or R; a rule reads
    // "page x y rule width".
    QString dump() const;
    bool writePdf(const QString& path) const;
    // Only for reports marked for file output: one line per band that printed
    // marked components, values separated by tabs, Windows-1252, CRLF.
    bool writeTabSeparated(const QString& path) const;

    bool fileOutput() const { return fileOutput_; }
    QString defaultFileName() const { return defaultFileName_; }
    const PageSetup& pageSetup() const { return setup_; }
    const std::vector<Page>& pages() const { return pages_; }
    const std::vector<Font>& fonts() const { return fonts_; }
    const std::vector<QStringList>& fileLines() const { return fileLines_; }
    // Texts on one page (0-based), in the order they were placed.
    QStringList texts(int page) const;

    // Draws one page (0-based) with the painter mapping `pixelsPerMm` device
    // pixels to a millimetre, the paper's corner at the painter's origin.
    void paintPage(QPainter& painter, int page, double pixelsPerMm) const;
    // Prints the pages the printer's range asks for (all when none).
    bool print(QPrinter& printer) const;

    // Built by the paginator.
    void setTitle(const QString& title) { title_ = title; }
    void setPageSetup(const PageSetup& setup) { setup_ = setup; }
    void setFileOutput(const QString& defaultFileName);
    quint16 fontIndex(const Font& font);
    Page& addPage();
    void addFileLine(const QStringList& values) { fileLines_.push_back(values); }

private:
    bool paintRange(QPainter& painter, QPagedPaintDevice& device, int first, int last,
                    double pixelsPerMm) const;

    QString title_;
    PageSetup setup_;
    std::vector<Page> pages_;
    std::vector<Font> fonts_;
    std::vector<QStringList> fileLines_;
    bool fileOutput_ = false;
    QString defaultFileName_;
};

} // namespace talvera::reports
