#include "reports/engine/document.h"

#include "core/codepage.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <optional>

namespace talvera::reports {

namespace {

// "Arial" is drawn with its metric-compatible free twin where Arial itself is missing.
QString familyFor(const QString& family)
{
#ifdef Q_OS_WIN
    return family;
#else
    if (family.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    return family;
#endif
}

QString mm(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

double PageSetup::width() const
{
    const QSizeF size = QPageSize(paper).size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? size.height() : size.width();
}

double PageSetup::height() const
{
    const QSizeF size = QPageSize(paper).size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? size.width() : size.height();
}

QPageLayout PageSetup::pageLayout() const
{
    return QPageLayout(QPageSize(paper), orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void Document::setFileOutput(const QString& defaultFileName)
{
    fileOutput_ = true;
    defaultFileName_ = defaultFileName;
}

quint16 Document::fontIndex(const Font& font)
{
    for (size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i] == font)
            return static_cast<quint16>(i);
    }
    fonts_.push_back(font);
    return static_cast<quint16>(fonts_.size() - 1);
}

Page& Document::addPage()
{
    pages_.emplace_back();
    return pages_.back();
}

QStringList Document::texts(int page) const
{
    QStringList out;
    if (page < 0 || page >= pageCount())
        return out;
    for (const PageItem& item : pages_[static_cast<size_t>(page)].items) {
        if (item.kind == PageItem::Kind::Text)
            out << item.text;
    }
    return out;
}

QString Document::dump() const
{
    QString out;
    for (size_t p = 0; p < pages_.size(); ++p) {
        const QString page = QString::number(p + 1);
        for (const PageItem& item : pages_[p].items) {
            out += page + u' ' + mm(item.x) + u' ' + mm(item.y) + u' ';
            if (item.kind == PageItem::Kind::Rule) {
                out += QStringLiteral("rule ") + mm(item.width) + u'\n';
                continue;
            }
            const Font& font = fonts_[item.font];
            out += QString::number(font.size);
            if (font.bold)
                out += u'b';
            if (font.italic)
                out += u'i';
            out += item.align == Align::Left ? u'L' : item.align == Align::Right ? u'R' : u'C';
            out += u' ' + item.text + u'\n';
        }
    }
    return out;
}

void Document::paintPage(QPainter& painter, int page, double pixelsPerMm) const
{
    if (page < 0 || page >= pageCount())
        return;
    painter.save();
    painter.setPen(Qt::black);
    // Fonts are sized for the device so that text keeps its size in millimetres
    // at any zoom, and positions are multiplied out rather than transformed, so
    // glyphs are laid out at a real size.
    const double dpi = painter.device() ? painter.device()->logicalDpiY() : 96.0;
    const double fontScale = pixelsPerMm * 25.4 / dpi;
    std::vector<std::optional<QFont>> qfonts(fonts_.size());
    std::vector<std::optional<QFontMetricsF>> metrics(fonts_.size());
    auto fontFor = [&](quint16 i) -> const QFont& {
        if (!qfonts[i]) {
            const Font& f = fonts_[i];
            QFont q(familyFor(f.family));
            q.setPointSizeF(f.size * fontScale);
            q.setBold(f.bold);
            q.setItalic(f.italic);
            q.setKerning(false);
            qfonts[i] = q;
            metrics[i].emplace(q, painter.device());
        }
        return *qfonts[i];
    };
    int current = -1;
    for (const PageItem& item : pages_[static_cast<size_t>(page)].items) {
        if (item.kind == PageItem::Kind::Rule) {
            painter.fillRect(QRectF(item.x * pixelsPerMm, item.y * pixelsPerMm, item.width * pixelsPerMm,
                                    std::max(item.thickness * pixelsPerMm, 1.0)),
                             Qt::black);
            continue;
        }
        if (item.text.isEmpty())
            continue;
        const QFont& font = fontFor(item.font);
        if (current != item.font) {
            painter.setFont(font); // the whole font, never a change of the painter's own
            current = item.font;
        }
        const QFontMetricsF& m = *metrics[item.font];
        double x = item.x * pixelsPerMm;
        if (item.align != Align::Left) {
            const double room = item.width * pixelsPerMm - m.horizontalAdvance(item.text);
            x += item.align == Align::Right ? room : room / 2;
        }
        painter.drawText(QPointF(x, item.y * pixelsPerMm + m.ascent()), item.text);
    }
    painter.restore();
}

bool Document::paintRange(QPainter& painter, QPagedPaintDevice& device, int first, int last,
                          double pixelsPerMm) const
{
    for (int p = first; p <= last; ++p) {
        if (p > first && !device.newPage())
            return false;
        paintPage(painter, p, pixelsPerMm);
    }
    return painter.end();
}

bool Document::writePdf(const QString& path) const
{
    QPdfWriter writer(path);
    writer.setPageLayout(setup_.pageLayout());
    writer.setResolution(1200);
    writer.setTitle(title_);
    writer.setCreator(QStringLiteral("Talvera"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    return paintRange(painter, writer, 0, pageCount() - 1, writer.resolution() / 25.4);
}

bool Document::print(QPrinter& printer) const
{
    printer.setFullPage(true);
    printer.setPageLayout(setup_.pageLayout());
    printer.setDocName(title_);
    int first = 0;
    int last = pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(0, printer.fromPage() - 1);
        last = std::min(last, printer.toPage() > 0 ? printer.toPage() - 1 : last);
    }
    QPainter painter;
    if (first > last || !painter.begin(&printer))
        return false;
    return paintRange(painter, printer, first, last, printer.resolution() / 25.4);
}

bool Document::writeTabSeparated(const QString& path) const
{
    if (!fileOutput_)
        return false;
    QByteArray bytes;
    for (const QStringList& line : fileLines_) {
        QStringList values = line;
        // A tab or line end inside a value would break the line format.
        for (QString& v : values) {
            v.replace(u'\t', u' ');
            v.replace(u'\r', u' ');
            v.replace(u'\n', u' ');
        }
        bytes += codepage::toWin1252(values.join(u'\t'));
        bytes += "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (file.write(bytes) != bytes.size())
        return false;
    return file.flush();
}

} // namespace talvera::reports
