#include "reports/engine/preview.h"

#include "reports/engine/previewwindow.h"
#include "widgets/guard.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

namespace talvera::reports {

namespace {

std::unique_ptr<Previews>& current()
{
    static std::unique_ptr<Previews> service;
    if (!service)
        service = std::make_unique<WindowPreviews>();
    return service;
}

constexpr double kBorder = 12; // pixels of grey around the page

} // namespace

Previews::~Previews() = default;

void WindowPreviews::show(const Document& document)
{
    PreviewWindow window(document, QApplication::activeWindow());
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    window.exec();
}

Previews& previews()
{
    return *current();
}

std::unique_ptr<Previews> setPreviews(std::unique_ptr<Previews> service)
{
    std::unique_ptr<Previews> previous = std::move(current());
    current() = std::move(service);
    return previous;
}

KeptPreviewsScope::KeptPreviewsScope()
{
    auto kept = std::make_unique<KeptPreviews>();
    kept_ = kept.get();
    previous_ = setPreviews(std::move(kept));
}

KeptPreviewsScope::~KeptPreviewsScope()
{
    setPreviews(std::move(previous_));
}

// ------------------------------------------------------------------ page view

PageView::PageView(const Document& document, QWidget* parent) : QWidget(parent), document_(document)
{
    setObjectName(QStringLiteral("pgPagina"));
}

void PageView::setPage(int page)
{
    page_ = std::clamp(page, 0, std::max(0, document_.pageCount() - 1));
    update();
}

void PageView::setPixelsPerMm(double scale)
{
    scale_ = std::max(scale, 0.5);
    resize(sizeHint());
    updateGeometry();
    update();
}

QSize PageView::sizeHint() const
{
    const PageSetup& setup = document_.pageSetup();
    return {static_cast<int>(setup.width() * scale_ + 2 * kBorder),
            static_cast<int>(setup.height() * scale_ + 2 * kBorder)};
}

void PageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const PageSetup& setup = document_.pageSetup();
    const QRectF paper(kBorder, kBorder, setup.width() * scale_, setup.height() * scale_);
    painter.fillRect(paper.translated(3, 3), QColor(64, 64, 64));
    painter.fillRect(paper, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(paper.topLeft());
    document_.paintPage(painter, page_, scale_);
    ++painted_;
}

// ------------------------------------------------------------------ window

PreviewWindow::PreviewWindow(const Document& document, QWidget* parent)
    : QDialog(parent), document_(document)
{
    setObjectName(QStringLiteral("fmPreview"));
    setWindowTitle(QStringLiteral("Visualização - %1").arg(document.title()));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);

    btImprime = new QPushButton(QStringLiteral("Imprimir"), this);
    btImprime->setObjectName(QStringLiteral("btImprime"));
    btPdf = new QPushButton(QStringLiteral("Salvar PDF"), this);
    btPdf->setObjectName(QStringLiteral("btPdf"));
    if (document.fileOutput()) {
        btArquivo = new QPushButton(QStringLiteral("Salvar arquivo"), this);
        btArquivo->setObjectName(QStringLiteral("btArquivo"));
    }
    auto* first = new QPushButton(QStringLiteral("|<"), this);
    auto* previous = new QPushButton(QStringLiteral("<"), this);
    auto* next = new QPushButton(QStringLiteral(">"), this);
    auto* last = new QPushButton(QStringLiteral(">|"), this);
    for (QPushButton* b : {first, previous, next, last})
        b->setMaximumWidth(40);
    pageBox_ = new QSpinBox(this);
    pageBox_->setObjectName(QStringLiteral("edPagina"));
    pageBox_->setRange(1, std::max(1, document.pageCount()));
    pageTotal_ = new QLabel(QStringLiteral("de %1").arg(document.pageCount()), this);
    zoom_ = new QComboBox(this);
    zoom_->setObjectName(QStringLiteral("cbZoom"));
    zoom_->addItems({QStringLiteral("Página inteira"), QStringLiteral("Largura da página"), QStringLiteral("50%"),
                     QStringLiteral("75%"), QStringLiteral("100%"), QStringLiteral("150%"), QStringLiteral("200%")});
    btFecha = new QPushButton(QStringLiteral("Fechar"), this);
    btFecha->setObjectName(QStringLiteral("btFecha"));
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setAutoDefault(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(btImprime);
    bar->addWidget(btPdf);
    if (btArquivo)
        bar->addWidget(btArquivo);
    bar->addSpacing(16);
    bar->addWidget(first);
    bar->addWidget(previous);
    bar->addWidget(new QLabel(QStringLiteral("Página"), this));
    bar->addWidget(pageBox_);
    bar->addWidget(pageTotal_);
    bar->addWidget(next);
    bar->addWidget(last);
    bar->addSpacing(16);
    bar->addWidget(zoom_);
    bar->addStretch(1);
    bar->addWidget(btFecha);

    view_ = new PageView(document, this);
    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setWidget(view_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);
    scroll_->viewport()->installEventFilter(this);
    resize(1000, 720);

    connect(btImprime, &QPushButton::clicked, this, widgets::guardedSlot([this] { printClick(); }));
    connect(btPdf, &QPushButton::clicked, this, widgets::guardedSlot([this] { savePdfClick(); }));
    if (btArquivo)
        connect(btArquivo, &QPushButton::clicked, this, widgets::guardedSlot([this] { saveFileClick(); }));
    connect(btFecha, &QPushButton::clicked, this, &QDialog::accept);
    connect(first, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(previous, &QPushButton::clicked, this, [this] { showPage(currentPage() - 1); });
    connect(next, &QPushButton::clicked, this, [this] { showPage(currentPage() + 1); });
    connect(last, &QPushButton::clicked, this, [this] { showPage(document_.pageCount() - 1); });
    connect(pageBox_, &QSpinBox::valueChanged, this, [this](int page) { showPage(page - 1); });
    connect(zoom_, &QComboBox::currentIndexChanged, this, [this] { applyZoom(); });
    applyZoom();
}

void PreviewWindow::showPage(int page)
{
    view_->setPage(page);
    const QSignalBlocker block(pageBox_);
    pageBox_->setValue(view_->page() + 1);
    scroll_->verticalScrollBar()->setValue(0);
}

void PreviewWindow::applyZoom()
{
    const PageSetup& setup = document_.pageSetup();
    const QSize room = scroll_->viewport()->size() - QSize(static_cast<int>(2 * kBorder) + 4,
                                                           static_cast<int>(2 * kBorder) + 4);
    const double screenScale = logicalDpiX() / 25.4;
    double scale = screenScale;
    switch (zoom_->currentIndex()) {
    case 0: scale = std::min(room.width() / setup.width(), room.height() / setup.height()); break;
    case 1: scale = (room.width() - scroll_->verticalScrollBar()->sizeHint().width()) / setup.width(); break;
    case 2: scale = screenScale * 0.5; break;
    case 3: scale = screenScale * 0.75; break;
    case 4: scale = screenScale; break;
    case 5: scale = screenScale * 1.5; break;
    default: scale = screenScale * 2; break;
    }
    view_->setPixelsPerMm(scale);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The fitting zooms follow the room the page has.
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize && zoom_->currentIndex() <= 1)
        applyZoom();
    return QDialog::eventFilter(watched, event);
}

void PreviewWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageDown: showPage(currentPage() + 1); return;
    case Qt::Key_PageUp: showPage(currentPage() - 1); return;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) {
            showPage(0);
            return;
        }
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) {
            showPage(document_.pageCount() - 1);
            return;
        }
        break;
    default: break;
    }
    QDialog::keyPressEvent(event);
}

bool PreviewWindow::savePdf(const QString& path)
{
    if (document_.writePdf(path))
        return true;
    widgets::messages().error(QStringLiteral("Não foi possível gravar o arquivo %1").arg(QDir::toNativeSeparators(path)));
    return false;
}

bool PreviewWindow::saveFile(const QString& path)
{
    if (document_.writeTabSeparated(path))
        return true;
    widgets::messages().error(QStringLiteral("Não foi possível gravar o arquivo %1").arg(QDir::toNativeSeparators(path)));
    return false;
}

QString PreviewWindow::proposedFileName() const
{
    const QString name = document_.defaultFileName();
#ifdef Q_OS_WIN
    return name;
#else
    // A Windows path ("A:\...") means nothing here: its file name goes to the home folder.
    const qsizetype cut = std::max(name.lastIndexOf(u'\\'), name.lastIndexOf(u'/'));
    return QDir::home().filePath(name.mid(cut + 1));
#endif
}

void PreviewWindow::printClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(document_.pageSetup().pageLayout());
    printer.setDocName(document_.title());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimir"));
    dialog.setMinMax(1, std::max(1, document_.pageCount()));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!document_.print(printer))
        widgets::messages().error(QStringLiteral("Não foi possível imprimir o relatório"));
}

void PreviewWindow::savePdfClick()
{
    QString name = document_.title();
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("-"));
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Salvar PDF"),
                                                      QDir::home().filePath(name + QStringLiteral(".pdf")),
                                                      QStringLiteral("Arquivos PDF (*.pdf)"));
    if (!path.isEmpty())
        savePdf(path);
}

void PreviewWindow::saveFileClick()
{
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Salvar arquivo"), proposedFileName(),
        QStringLiteral("Planilha em texto separado por tabulações (*.xls *.txt);;Todos os arquivos (*)"));
    if (!path.isEmpty())
        saveFile(path);
}

} // namespace talvera::reports
