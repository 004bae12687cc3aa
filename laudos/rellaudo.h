#pragma once
// "Relação de Laudos do VORQ": the laudos of one competence month, optionally
// of one provider or one sheet, printed as a list.

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace talvera {
class DataModule;
namespace reports {
class TfmRelato;
}
namespace widgets {
class LookupCombo;
class NumericEdit;
} // namespace widgets
} // namespace talvera

namespace talvera::laudos {

class TfmRellaudo : public QDialog {
    Q_OBJECT
public:
    TfmRellaudo(DataModule& dm, reports::TfmRelato& relato, QWidget* parent = nullptr);

    void formShow();
    void btPesqClick();

    widgets::NumericEdit* edMes;
    widgets::NumericEdit* edAno;
    QCheckBox* chFolha;
    QCheckBox* chPrest;
    QPushButton* btPesq;
    widgets::LookupCombo* pqPrest;
    widgets::NumericEdit* pqFolha;

protected:
    void showEvent(QShowEvent* event) override;

private:
    DataModule& dm_;
    reports::TfmRelato& relato_;
};

} // namespace talvera::laudos
