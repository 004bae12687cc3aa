#pragma once
// The parameters of a municipal installation: its municipality in the
// parameter database and in Vorq's database, and the monthly clean-up of
// Vorq's laudos, after which the program ends.

#include "core/firebird.h"

#include <QDialog>

class QPushButton;

namespace talvera {
class DataModule;
namespace widgets {
class LookupCombo;
class NumericEdit;
} // namespace widgets
} // namespace talvera

namespace talvera::writeoff {

// A municipality chosen from MUN and "Atualizar", which writes it.
class MunicipalityParameterForm : public QDialog {
    Q_OBJECT
public:
    void btPesqClick();

    widgets::LookupCombo* cbMun;
    QPushButton* btPesq;

protected:
    MunicipalityParameterForm(DataModule& dm, const char* name, const QString& caption, QWidget* parent);
    virtual db::WriteResult write(const QString& code, const QString& name) = 0;
    void showEvent(QShowEvent* event) override;

    DataModule& dm_;
};

// "Gerar Parâmetro Municipal": the parameter database's TABMUN.
class TfmGerparam : public MunicipalityParameterForm {
    Q_OBJECT
public:
    explicit TfmGerparam(DataModule& dm, QWidget* parent = nullptr);

protected:
    db::WriteResult write(const QString& code, const QString& name) override;
};

// "Gerar Parâmetro Municipal para o VORQ": Vorq's laudos and TABMUN.
class TfmGerparvorq : public MunicipalityParameterForm {
    Q_OBJECT
public:
    explicit TfmGerparvorq(DataModule& dm, QWidget* parent = nullptr);

protected:
    db::WriteResult write(const QString& code, const QString& name) override;
};

// "Limpar Dados para Digitação".
class TfmLimpabase : public QDialog {
    Q_OBJECT
public:
    explicit TfmLimpabase(DataModule& dm, QWidget* parent = nullptr);

    void btConfirmaClick();

    widgets::NumericEdit* edMes;
    widgets::NumericEdit* edAno;
    QPushButton* btConfirma;

private:
    DataModule& dm_;
};

} // namespace talvera::writeoff
