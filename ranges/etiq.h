#pragma once
// "Etiquetas": one label per AIH or APAC number of a range. OK checks the
// range, refills the scratch table TBETIQ with its numbers (for AIH only those
// distributed to the reference municipality) and prints the labels.

#include "core/firebird.h"
#include "ranges/rangerules.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace talvera {
class DataModule;
namespace reports {
class TfmRelato;
}
namespace widgets {
class DataGrid;
class LookupCombo;
class MaskedEdit;
class NumericEdit;
class RadioGroup;
} // namespace widgets
} // namespace talvera

namespace talvera::ranges {

struct LabelRange {
    int category = 0; // 1 AIH, 2 APAC, 0 none chosen
    QString reference;
    qint64 first = 0;
    int firstDigit = 0;
    qint64 last = 0;
    int lastDigit = 0;
};

// The label run's checks in their order: the first failing one's message, or
// empty when the range may be printed.
QString checkLabelRange(const LabelRange& range);

// Empties TBETIQ and fills it with the numbers of the range and their check
// digits, in one transaction: on failure the previous labels stay.
db::WriteResult fillLabels(DataModule& dm, const LabelRange& range);

class TfmEtiq : public QDialog {
    Q_OBJECT
public:
    TfmEtiq(DataModule& dm, reports::TfmRelato& relato, QWidget* parent = nullptr);

    void btPesqClick();
    void BitBtn1Click();
    void grNomeDblClick();

    widgets::LookupCombo* cbMun;
    widgets::MaskedEdit* edInicial;
    widgets::NumericEdit* edDvinic;
    widgets::MaskedEdit* edFinal;
    widgets::NumericEdit* edDvfina;
    widgets::RadioGroup* rgcategoria;
    QPushButton* btPesq;
    QCheckBox* chMun;
    widgets::LookupCombo* cbPesq;
    QCheckBox* chAno;
    widgets::NumericEdit* Anopesq;
    QCheckBox* chMes;
    widgets::NumericEdit* Mespesq;
    QPushButton* BitBtn1;
    widgets::DataGrid* grNome;

protected:
    void showEvent(QShowEvent* event) override;

private:
    DataModule& dm_;
    reports::TfmRelato& relato_;
};

} // namespace talvera::ranges
