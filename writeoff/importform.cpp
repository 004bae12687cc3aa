#include "writeoff/importform.h"

#include "core/datamodule.h"
#include "widgets/enterfocus.h"
#include "widgets/formkit.h"
#include "widgets/longoperation.h"
#include "widgets/messages.h"
#include "widgets/numericedit.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

namespace talvera::writeoff {

ImportForm::ImportForm(DataModule& dm, const char* name, const QString& caption, QWidget* parent)
    : QDialog(parent), dm_(dm)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    edAno = widgets::numericEdit(this, "edAno", QStringLiteral("0000"), 2006, 2016, 2016);
    edMes = widgets::numericEdit(this, "edMes", QStringLiteral("00"), 0, 12);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);

    // The tree only shows where to look; the process's current directory is never changed.
    directories_ = new QFileSystemModel(this);
    directories_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    directories_->setRootPath(QString());
    DirectoryListBox1 = new QTreeView(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setModel(directories_);
    for (int column = 1; column < directories_->columnCount(); ++column)
        DirectoryListBox1->hideColumn(column);
    DirectoryListBox1->header()->hide();
    DirectoryListBox1->setCurrentIndex(directories_->index(QDir::currentPath()));
    DirectoryListBox1->scrollTo(DirectoryListBox1->currentIndex());

    edPath = new QLineEdit(this);
    edPath->setObjectName(QStringLiteral("edPath"));

#ifdef Q_OS_WIN
    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    for (const QFileInfo& drive : QDir::drives())
        DriveComboBox1->addItem(QDir::toNativeSeparators(drive.absolutePath()));
    connect(DriveComboBox1, &QComboBox::textActivated, this, [this](const QString& drive) {
        DirectoryListBox1->setCurrentIndex(directories_->index(QDir::fromNativeSeparators(drive)));
    });
#endif
    widgets::installEnterMovesFocus(this);
}

QString ImportForm::treeDirectory() const
{
    return QDir::toNativeSeparators(directories_->filePath(DirectoryListBox1->currentIndex()));
}

int ImportForm::addSharedControls(QGridLayout* layout, int row)
{
    auto* label2 = new QLabel(QStringLiteral("Ano/Mês processamento"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    auto* period = new QHBoxLayout;
    period->addWidget(edAno);
    period->addWidget(new QLabel(QStringLiteral("/"), this));
    period->addWidget(edMes);
    period->addSpacing(16);
    period->addWidget(Button1);
    period->addStretch(1);
    layout->addWidget(label2, row, 0);
    layout->addLayout(period, row++, 1);
    auto* label1 = new QLabel(QStringLiteral("Diretório de trabalho"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label1, row, 0);
    layout->addWidget(edPath, row++, 1);
    if (DriveComboBox1)
        layout->addWidget(DriveComboBox1, row++, 1);
    layout->addWidget(DirectoryListBox1, row, 0, 1, 2);
    layout->setRowStretch(row++, 1);
    setTabOrder(edAno, edMes);
    setTabOrder(edMes, Button1);
    setTabOrder(Button1, DirectoryListBox1);
    setTabOrder(DirectoryListBox1, edPath);
    return row;
}

int ImportForm::year() const
{
    return static_cast<int>(edAno->value());
}

int ImportForm::month() const
{
    return static_cast<int>(edMes->value());
}

void ImportForm::runImport(const std::function<db::WriteResult(const Progress&, ImportSummary&)>& work)
{
    ImportSummary summary;
    db::WriteResult result;
    QString refusal;
    {
        widgets::LongOperation operation(this, QStringLiteral("Importando os dados do VORQ..."));
        const Progress progress = [&operation](const QString& phase, qint64 done, qint64 total) {
            operation.setTotal(total);
            return operation.step(done, phase);
        };
        try {
            result = work(progress, summary);
        } catch (const db::Cancelled& cancelled) {
            result = {false, cancelled.message(), true};
        } catch (const db::DatabaseError& refused) {
            // Refused while reading, before anything was written.
            refusal = refused.message();
        }
    }
    if (!refusal.isEmpty()) {
        widgets::messages().error(refusal);
        return;
    }
    if (!result) {
        widgets::reportFailure(QStringLiteral("importar os dados do VORQ; nada foi gravado"), result);
        return;
    }
    widgets::messages().summary(QStringLiteral("Fim da carga"), summary.text());
}

} // namespace talvera::writeoff
