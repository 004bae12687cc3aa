#pragma once
// "Consulta de Aih´s / Apac´s distribuidas": movement rows by number,
// municipality, year and month, with totals, on the main or the archive database.

#include <QDialog>

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

class TfmCmovim : public QDialog {
    Q_OBJECT
public:
    explicit TfmCmovim(DataModule& dm, QWidget* parent = nullptr);

    void chooseDatabase();
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
    widgets::RadioGroup* rgBanco;
    QPushButton* btPesq;
    widgets::DataGrid* grNome;
    QLabel* lbQuant;
    QLabel* lbUsada;
    QLabel* lbNusada;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    DataModule& dm_;
};

} // namespace talvera::ranges
