#pragma once
// What the two Vorq import forms share: the processing month, the "OK" button,
// the directory tree and the typed path, and running an import under a
// progress window with its closing message.

#include "writeoff/vorqimport.h"

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace talvera {
class DataModule;
namespace widgets {
class NumericEdit;
}
} // namespace talvera

namespace talvera::writeoff {

class ImportForm : public QDialog {
    Q_OBJECT
public:
    widgets::NumericEdit* edAno;
    widgets::NumericEdit* edMes;
    QPushButton* Button1;
    QTreeView* DirectoryListBox1;
    QLineEdit* edPath;
    QComboBox* DriveComboBox1 = nullptr; // only where the platform has drives

protected:
    ImportForm(DataModule& dm, const char* name, const QString& caption, QWidget* parent);

    // The directory the tree shows, as a native path.
    QString treeDirectory() const;
    // Lays the shared controls out on `layout` from `row` on; returns the next free row.
    int addSharedControls(QGridLayout* layout, int row);

    int year() const;
    int month() const;

    // Reads the month (may throw db::DatabaseError, naming what it refused)
    // and writes it off, under one progress window; then tells the operator:
    // the summary after a commit, or what failed and that nothing was written.
    void runImport(const std::function<db::WriteResult(const Progress&, ImportSummary&)>& work);

    DataModule& dm_;
    QFileSystemModel* directories_;
};

} // namespace talvera::writeoff
