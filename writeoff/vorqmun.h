#pragma once
// "Importação do VORQ": writes off the numbers of a processing month from the
// dBASE files of Vorq's DOS version, read from the directory in edPath.

#include "writeoff/importform.h"

namespace talvera::writeoff {

class TfmVorqmun : public ImportForm {
    Q_OBJECT
public:
    explicit TfmVorqmun(DataModule& dm, QWidget* parent = nullptr);

    void Button1Click();
    void DirectoryListBox1Click();
};

} // namespace talvera::writeoff
