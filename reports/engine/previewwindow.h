#pragma once
// The preview window: one page at a time, drawn from the page model only when
// it is shown, with page navigation, zoom, printing, "Salvar PDF" and, for
// reports with file output, "Salvar arquivo".

#include "reports/engine/document.h"

#include <QDialog>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace talvera::reports {

class PageView : public QWidget {
    Q_OBJECT
public:
    PageView(const Document& document, QWidget* parent = nullptr);
    void setPage(int page); // 0-based
    int page() const { return page_; }
    void setPixelsPerMm(double scale);
    double pixelsPerMm() const { return scale_; }
    // How many times a page was drawn (the preview draws only the page on show).
    int pagesPainted() const { return painted_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Document& document_;
    int page_ = 0;
    double scale_ = 3;
    int painted_ = 0;
};

class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    explicit PreviewWindow(const Document& document, QWidget* parent = nullptr);

    PageView* pageView() const { return view_; }
    void showPage(int page); // 0-based, kept inside the document
    int currentPage() const { return view_->page(); }

    // The buttons' work, without their dialogs; false (with a message) on failure.
    bool savePdf(const QString& path);
    bool saveFile(const QString& path);
    // The file name the save dialog proposes for the text file.
    QString proposedFileName() const;

    void printClick();
    void savePdfClick();
    void saveFileClick();

    QPushButton* btImprime;
    QPushButton* btPdf;
    QPushButton* btArquivo = nullptr;
    QPushButton* btFecha;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyZoom();

    const Document& document_;
    PageView* view_;
    QScrollArea* scroll_;
    QSpinBox* pageBox_;
    QLabel* pageTotal_;
    QComboBox* zoom_;
};

} // namespace talvera::reports
