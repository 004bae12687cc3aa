#pragma once
// "Relação de Laudos do VORQ": the laudos of one competence month, optionally
// of one provider or one sheet, printed as a list.

#include "laudos/monthform.h"

class QCheckBox;

namespace talvera {
namespace reports {
class TfmRelato;
}
namespace widgets {
class LookupCombo;
}
} // namespace talvera

namespace talvera::laudos {

class TfmRellaudo : public MonthForm {
    Q_OBJECT
public:
    TfmRellaudo(DataModule& dm, reports::TfmRelato& relato, QWidget* parent = nullptr);

    void formShow() override;
    void btPesqClick() override;

    QCheckBox* chFolha;
    QCheckBox* chPrest;
    widgets::LookupCombo* pqPrest;
    widgets::NumericEdit* pqFolha;

private:
    reports::TfmRelato& relato_;
};

} // namespace talvera::laudos
