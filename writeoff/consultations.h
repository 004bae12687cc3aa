#pragma once
// The write-off consultations: municipalities with write-offs in a processing
// month, municipalities without, and the written-off numbers themselves, each
// on the main database or the archive of 2006 to 2010.

#include "widgets/archiveconsultation.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace talvera {
class DataModule;
namespace widgets {
class DataGrid;
class LookupCombo;
class MaskedEdit;
class NumericEdit;
class RadioGroup;
} // namespace widgets
} // namespace talvera

namespace talvera::writeoff {

using widgets::ArchiveConsultation;

class TfmBaixamun : public ArchiveConsultation {
    Q_OBJECT
public:
    explicit TfmBaixamun(DataModule& dm, QWidget* parent = nullptr);

    widgets::DataGrid* grNome;

protected:
    void opened() override;
};

class TfmNbaixamun : public ArchiveConsultation {
    Q_OBJECT
public:
    explicit TfmNbaixamun(DataModule& dm, QWidget* parent = nullptr);

    void btPesqClick();

    widgets::NumericEdit* edAno;
    widgets::NumericEdit* edMes;
    QPushButton* btPesq;
    widgets::DataGrid* grNome;
};

class TfmCbaixa : public ArchiveConsultation {
    Q_OBJECT
public:
    explicit TfmCbaixa(DataModule& dm, QWidget* parent = nullptr);

    void btPesqClick();

    QCheckBox* chAih;
    widgets::MaskedEdit* edNumero;
    QCheckBox* chMun;
    widgets::LookupCombo* cbMun;
    QCheckBox* chAno;
    widgets::NumericEdit* edAno;
    QCheckBox* chMes;
    widgets::NumericEdit* edMes;
    QCheckBox* chPac;
    QLineEdit* edPac;
    QPushButton* btPesq;
    widgets::DataGrid* grNome;
};

} // namespace talvera::writeoff
