#pragma once
// "Configurar Mês de Competência": the month and year in which new laudos are
// entered, kept in Vorq's one-row table PARAME.

#include "laudos/monthform.h"

namespace talvera::laudos {

class TfmMescomp : public MonthForm {
    Q_OBJECT
public:
    explicit TfmMescomp(DataModule& dm, QWidget* parent = nullptr);

    void btPesqClick() override;
};

} // namespace talvera::laudos
