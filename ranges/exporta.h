#pragma once
// "Exportar Aih's e Apac's": the movement rows a reference municipality
// received in one competence month, shown by the export report, from whose
// preview they can be written as a tab-separated spreadsheet file.

#include "ranges/rangerules.h"

#include <QDialog>

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

namespace talvera::ranges {

// The movement rows of one reference municipality and competence month.
Statement exportSelection(const QString& reference, double year, double month);

class TfmExporta : public QDialog {
    Q_OBJECT
public:
    TfmExporta(DataModule& dm, reports::TfmRelato& relato, QWidget* parent = nullptr);

    void btPesqClick();

    widgets::LookupCombo* cbMun;
    widgets::NumericEdit* Anopesq;
    widgets::NumericEdit* Mespesq;
    QPushButton* btPesq;

protected:
    void showEvent(QShowEvent* event) override;

private:
    DataModule& dm_;
    reports::TfmRelato& relato_;
};

} // namespace talvera::ranges
