#include "writeoff/vorqmunwin.h"

#include "core/datamodule.h"
#include "widgets/guard.h"
#include "widgets/messages.h"

#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeView>

namespace talvera::writeoff {

TfmVorqmunwin::TfmVorqmunwin(DataModule& dm, QWidget* parent)
    : ImportForm(dm, "fmVorqmunwin", QStringLiteral("Importação do VORQ - versão windows"), parent)
{
    files_ = new QFileSystemModel(this);
    files_->setFilter(QDir::Files | QDir::NoDotAndDotDot);
    FileListBox1 = new QListView(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setModel(files_);
    const QString current = QDir::currentPath();
    FileListBox1->setRootIndex(files_->setRootPath(current));

    lbMun = new QLabel(this);
    lbMun->setObjectName(QStringLiteral("lbMun"));
    QFont bold = lbMun->font();
    bold.setBold(true);
    lbMun->setFont(bold);

    auto* layout = new QGridLayout(this);
    const int row = addSharedControls(layout, 0);
    // The file list sits beside the tree it follows.
    layout->removeWidget(DirectoryListBox1);
    layout->addWidget(DirectoryListBox1, row - 1, 0);
    layout->addWidget(FileListBox1, row - 1, 1);
    layout->addWidget(lbMun, row, 0, 1, 2);
    setTabOrder(edPath, FileListBox1);
    resize(700, 500);

    connect(Button1, &QPushButton::clicked, this, widgets::guardedSlot([this] { Button1Click(); }));
    connect(DirectoryListBox1, &QTreeView::clicked, this, widgets::guardedSlot([this](const QModelIndex& index) {
                FileListBox1->setRootIndex(files_->setRootPath(directories_->filePath(index)));
            }));
    connect(FileListBox1, &QListView::clicked, this, widgets::guardedSlot([this](const QModelIndex& index) {
                edPath->setText(QDir::toNativeSeparators(files_->filePath(index)));
            }));
}

void TfmVorqmunwin::showEvent(QShowEvent* event)
{
    ImportForm::showEvent(event);
    if (!event->spontaneous())
        lbMun->clear();
}

void TfmVorqmunwin::Button1Click()
{
    auto& messages = widgets::messages();
    lbMun->clear();
    bool hasMunicipality = false;
    const QString name = connectVorqDatabase(dm_, edPath->text(), hasMunicipality);
    if (!hasMunicipality) {
        messages.information(
            QStringLiteral("arquivo não contém dados na tabela para indicar o município de referência"));
        return;
    }
    lbMun->setText(name);
    if (!messages.question(QStringLiteral("Confirma importação dos dados?")))
        return;
    const int y = year();
    const int m = month();
    runImport([&](const Progress& progress, ImportSummary& summary) {
        if (!progress(QStringLiteral("Lendo os laudos"), 0, 0))
            throw db::Cancelled(QStringLiteral("Importação cancelada pelo operador; nada foi gravado."));
        const std::vector<Laudo> laudos = readLaudos(dm_, m, y);
        return importWindows(dm_, laudos, y, m, summary, progress);
    });
}

} // namespace talvera::writeoff
