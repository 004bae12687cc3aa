#pragma once
// "Parâmetros do relatório": the filters of the nine reports of the
// "Relatórios" menu. The menu puts the option code into lbOpcao; "Confirmar"
// builds the report's statement, opens its dataset and prints it.

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace talvera {
class DataModule;
namespace widgets {
class LookupCombo;
class NumericEdit;
class RadioGroup;
} // namespace widgets
} // namespace talvera

namespace talvera::reports {

class TfmRelato;

class TfmParame : public QDialog {
    Q_OBJECT
public:
    TfmParame(DataModule& dm, TfmRelato& relato, QWidget* parent = nullptr);

    void btPesqClick();

    widgets::LookupCombo* cbMun;
    widgets::NumericEdit* edMes;
    QCheckBox* chMun;
    QCheckBox* chMes;
    QCheckBox* chAno;
    widgets::NumericEdit* edAno;
    QPushButton* btPesq;
    widgets::RadioGroup* rgMes;
    QLabel* lbOpcao;

private:
    DataModule& dm_;
    TfmRelato& relato_;
};

} // namespace talvera::reports
