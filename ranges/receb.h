#pragma once
// "Previsão Anual": the yearly blocks of numbers each reference municipality receives.

#include "ranges/rangeform.h"

namespace talvera::ranges {

class TfmReceb : public RangeForm {
    Q_OBJECT
public:
    explicit TfmReceb(DataModule& dm, QWidget* parent = nullptr);

    void btIncluiClick();
    void btConfirmaClick();
    void btCancelaClick();
    void btExcluiClick();
    void grNomeDblClick();

    widgets::NumericEdit* edAno;
    widgets::LookupCombo* cbMun;
    widgets::RadioGroup* rgCateg;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setEntryEditable(bool editable);
};

} // namespace talvera::ranges
