#pragma once
// The write-off consultations: municipalities with write-offs in a processing
// month, municipalities without, and the written-off numbers themselves, each
// on the main database or the archive of 2006 to 2010.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace talvera {
class DataModule;
namespace widgets {
class DataGrid;
class LookupCombo;
class MaskedEdit;
class NumericEdit;
class RadioGroup;
} // namespace widgets
} // namespace talvera

namespace talvera::writeoff {

// A consultation with the database choice "Anos": shown and at every click it
// reconnects the main connection to the chosen database; closed, it goes back
// to the main database whatever was chosen.
class ArchiveConsultation : public QDialog {
    Q_OBJECT
public:
    // The show handler, also the choice's click handler.
    void chooseDatabase();

    widgets::RadioGroup* rgBanco;

protected:
    ArchiveConsultation(DataModule& dm, const char* name, const QString& caption, QWidget* parent);
    // The form's own opening step, after the switch.
    virtual void opened() {}

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    DataModule& dm_;
};

class TfmBaixamun : public ArchiveConsultation {
    Q_OBJECT
public:
    explicit TfmBaixamun(DataModule& dm, QWidget* parent = nullptr);

    widgets::DataGrid* grNome;

protected:
    void opened() override;
};

class TfmNbaixamun : public ArchiveConsultation {
    Q_OBJECT
public:
    explicit TfmNbaixamun(DataModule& dm, QWidget* parent = nullptr);

    void btPesqClick();

    widgets::NumericEdit* edAno;
    widgets::NumericEdit* edMes;
    QPushButton* btPesq;
    widgets::DataGrid* grNome;
};

class TfmCbaixa : public ArchiveConsultation {
    Q_OBJECT
public:
    explicit TfmCbaixa(DataModule& dm, QWidget* parent = nullptr);

    void btPesqClick();

    QCheckBox* chAih;
    widgets::MaskedEdit* edNumero;
    QCheckBox* chMun;
    widgets::LookupCombo* cbMun;
    QCheckBox* chAno;
    widgets::NumericEdit* edAno;
    QCheckBox* chMes;
    widgets::NumericEdit* edMes;
    QCheckBox* chPac;
    QLineEdit* edPac;
    QPushButton* btPesq;
    widgets::DataGrid* grNome;
};

} // namespace talvera::writeoff
