#pragma once
// "Consulta de Aih´s / Apac´s distribuidas": movement rows by number,
// municipality, year and month, with totals, on the main or the archive database.

#include "widgets/archiveconsultation.h"

class QCheckBox;
class QLabel;
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

namespace talvera::ranges {

class TfmCmovim : public widgets::ArchiveConsultation {
    Q_OBJECT
public:
    explicit TfmCmovim(DataModule& dm, QWidget* parent = nullptr);

    void btPesqClick();

    QCheckBox* chAih;
    widgets::MaskedEdit* edNumero;
    QCheckBox* chMun;
    widgets::LookupCombo* cbMun;
    widgets::RadioGroup* rgMun;
    QCheckBox* chAno;
    widgets::NumericEdit* edAno;
    QCheckBox* chMes;
    widgets::NumericEdit* edMes;
    QPushButton* btPesq;
    widgets::DataGrid* grNome;
    QLabel* lbQuant;
    QLabel* lbUsada;
    QLabel* lbNusada;

protected:
    // After each switch of database the counts are emptied.
    void opened() override;
};

} // namespace talvera::ranges
