#include "writeoff/vorqmun.h"

#include "core/datamodule.h"
#include "writeoff/dbase.h"
#include "widgets/guard.h"
#include "widgets/messages.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

namespace talvera::writeoff {

TfmVorqmun::TfmVorqmun(DataModule& dm, QWidget* parent)
    : ImportForm(dm, "fmVorqmun", QStringLiteral("Importação do VORQ"), parent)
{
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);
    auto* layout = new QGridLayout(this);
    addSharedControls(layout, 0);
    setFixedSize(560, 460);
    connect(Button1, &QPushButton::clicked, this, widgets::guardedSlot([this] { Button1Click(); }));
    connect(DirectoryListBox1, &QTreeView::clicked, this, widgets::guardedSlot([this] { DirectoryListBox1Click(); }));
}

void TfmVorqmun::DirectoryListBox1Click()
{
    edPath->setText(treeDirectory());
}

void TfmVorqmun::Button1Click()
{
    auto& messages = widgets::messages();
    // The files are looked for, and read, where edPath says.
    DosFiles files;
    const QString missing = openDosFiles(edPath->text(), files);
    if (!missing.isEmpty()) {
        messages.information(missing);
        return;
    }
    const int y = year();
    const int m = month();
    const QString competence = competenceText(m, y);
    if (!messages.question(QStringLiteral("Confirma importação dos dados?")))
        return;
    runImport([&](const Progress& progress, ImportSummary& summary) {
        const DosMonth read = readDosMonth(files, competence, progress);
        return importDos(dm_, read, y, m, summary, progress);
    });
}

} // namespace talvera::writeoff
