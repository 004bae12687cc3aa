#pragma once
// "Distribuição": sub-ranges of the forecast handed to municipalities month by
// month, each expanded into one movement row per number.

#include "ranges/rangeform.h"

class QCheckBox;

namespace talvera::widgets {
class DigitsEdit;
}

namespace talvera::ranges {

class TfmDistr : public RangeForm {
    Q_OBJECT
public:
    explicit TfmDistr(DataModule& dm, QWidget* parent = nullptr);

    void btIncluiClick();
    void btConfirmaClick();
    void btCancelaClick();
    void btExcluiClick();
    void btPesqClick();
    void grNomeDblClick();
    // Leaving either municipality proposes the type.
    void municipalityExit();
    // Leaving the quantity during an entry proposes a free range.
    void edQuantExit();

    widgets::LookupCombo* cbMunorig;
    widgets::LookupCombo* cbMun;
    widgets::NumericEdit* edAno;
    widgets::NumericEdit* edMes;
    widgets::DigitsEdit* edQuant;
    widgets::RadioGroup* rgcategoria;
    widgets::RadioGroup* rgtipo;
    QCheckBox* chMun;
    widgets::LookupCombo* cbPesq;
    QCheckBox* chAno;
    widgets::NumericEdit* Anopesq;
    QCheckBox* chMes;
    widgets::NumericEdit* Mespesq;
    widgets::RadioGroup* rgPesq;
    QPushButton* btPesq;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setEntryEditable(bool editable);
    void reopenList();
    Distribution shownDistribution(qint64 first, qint64 last) const;
};

} // namespace talvera::ranges
