#pragma once
// "Cadastro de Laudos": entry of the laudos (AIH request forms) kept in
// Vorq's database, with their checks against the distributed numbers, and
// their browsing, change, deletion with the sheet's renumbering, and printing.

#include "laudos/laudorules.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace talvera {
class DataModule;
namespace reports {
class TfmRelato;
}
namespace widgets {
class DataGrid;
class DateEdit;
class DigitsEdit;
class LookupCombo;
class MaskedEdit;
class NumericEdit;
class RadioGroup;
} // namespace widgets
} // namespace talvera

namespace talvera::laudos {

class TfmConprof;

class TfmLaudo : public QDialog {
    Q_OBJECT
public:
    TfmLaudo(DataModule& dm, reports::TfmRelato& relato, QWidget* parent = nullptr);

    // The lookup dialogs the "..." buttons open (created after this form).
    void setLookupDialogs(QDialog* providers, QDialog* characters, QDialog* specialties, QDialog* procedures,
                          TfmConprof* professionals);
    // Shows a lookup dialog modally (tests replace it).
    std::function<void(QDialog* dialog)> showModal;

    void formShow();
    void btIncluiClick();
    void btCancelaClick(); // the reset
    void btConfirmaClick();
    void btAlteraClick();
    void btExcluiClick();
    void btImprimeClick();
    void btPesqClick();
    void grNomeDblClick();

    // What leaving a field does.
    void edAnoExit();
    void cbPrestExit();
    void cbCaraterExit();
    void cbEspecExit();
    void cbProcedExit();
    void edDvExit();
    void edDatanascExit();
    void edCpfsolicitaExit();
    void edCpfautorizaExit();
    void pqDvExit();

    Mode mode() const;
    // The entries as the checks and statements read them.
    Laudo entries() const;

    QPushButton* btInclui;
    widgets::DigitsEdit* edFolha;
    widgets::DigitsEdit* edSeq;
    widgets::NumericEdit* edMes;
    widgets::NumericEdit* edAno;
    widgets::LookupCombo* cbPrest;
    QToolButton* spPrest;
    QLabel* lbPrest;
    widgets::MaskedEdit* edAih;
    widgets::NumericEdit* edDv;
    widgets::NumericEdit* edMeslib;
    widgets::NumericEdit* edAnolib;
    QLineEdit* edPaciente;
    widgets::DateEdit* edDatanasc;
    widgets::RadioGroup* rgSexo;
    widgets::LookupCombo* cbCarater;
    QToolButton* SpeedButton2;
    QLabel* lbCarater;
    widgets::LookupCombo* cbEspec;
    QToolButton* SpeedButton3;
    QLabel* lbEspec;
    widgets::LookupCombo* cbProced;
    QToolButton* SpeedButton4;
    QLabel* lbProced;
    widgets::MaskedEdit* edCpfsolicita;
    QToolButton* SpeedButton5;
    QLabel* lbCpfsolicita;
    widgets::MaskedEdit* edCpfautoriza;
    QToolButton* SpeedButton6;
    QLabel* lbCpfautoriza;
    QLineEdit* edObserv;
    QLineEdit* edMunintern;
    QLineEdit* edCodmunintern;
    widgets::NumericEdit* edValormedio;
    QPushButton* btConfirma;
    QPushButton* btCancela;
    QPushButton* btExclui;
    QPushButton* btAltera;
    QPushButton* btImprime;
    QPushButton* btFecha;
    widgets::LookupCombo* cbMun;
    QLabel* lbOpcao; // mode marker: "I" new laudo, "A" change
    QLabel* lbCons;  // "1" once a laudo was loaded

    widgets::DataGrid* grNome;
    QCheckBox* chPrest;
    widgets::LookupCombo* pqPrest;
    QCheckBox* chAih;
    widgets::MaskedEdit* pqAih;
    widgets::NumericEdit* pqDv;
    QCheckBox* chAno;
    widgets::NumericEdit* pqMes;
    widgets::NumericEdit* pqAno;
    QCheckBox* chFolha;
    widgets::NumericEdit* pqFolha;
    widgets::RadioGroup* rgPesq;
    QPushButton* btPesq;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void connectHandlers();
    void openLookup(QDialog* dialog);
    void setMode(Mode mode);
    void showEntryButtons();
    // The fields "Alterar" and "Incluir" unlock beside the identifying ones.
    QList<QWidget*> laudoFields() const;
    QString listValue(const QString& dataset, const QString& keyField, const QString& key,
                      const QString& field) const;
    void showProfessional(QLabel* name, const QString& cpf);
    void chooseCharacter(const QVariant& stored);

    DataModule& dm_;
    reports::TfmRelato& relato_;
    QDialog* providers_ = nullptr;
    QDialog* characters_ = nullptr;
    QDialog* specialties_ = nullptr;
    QDialog* procedures_ = nullptr;
    TfmConprof* professionals_ = nullptr;
};

} // namespace talvera::laudos
