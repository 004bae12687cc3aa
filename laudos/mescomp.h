#pragma once
// "Configurar Mês de Competência": the month and year in which new laudos are
// entered, kept in Vorq's one-row table PARAME.

#include <QDialog>

class QPushButton;

namespace talvera {
class DataModule;
namespace widgets {
class NumericEdit;
}
} // namespace talvera

namespace talvera::laudos {

class TfmMescomp : public QDialog {
    Q_OBJECT
public:
    explicit TfmMescomp(DataModule& dm, QWidget* parent = nullptr);

    void formShow();
    void btPesqClick();

    widgets::NumericEdit* edMes;
    widgets::NumericEdit* edAno;
    QPushButton* btPesq;

protected:
    void showEvent(QShowEvent* event) override;

private:
    DataModule& dm_;
};

} // namespace talvera::laudos
