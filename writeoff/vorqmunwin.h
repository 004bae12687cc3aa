#pragma once
// "Importação do VORQ - versão windows": writes off the numbers of the laudos
// released in a month, read from a Vorq Firebird database chosen by path.

#include "writeoff/importform.h"

class QListView;

namespace talvera::writeoff {

class TfmVorqmunwin : public ImportForm {
    Q_OBJECT
public:
    explicit TfmVorqmunwin(DataModule& dm, QWidget* parent = nullptr);

    void Button1Click();

    QListView* FileListBox1;
    QLabel* lbMun;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QFileSystemModel* files_;
};

} // namespace talvera::writeoff
