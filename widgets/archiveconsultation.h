#pragma once
// A consultation with the database choice "Anos" ("2006 a 2010" or "2011 em
// diante"): shown, and at every click, it reconnects the main connection to
// the chosen database and reads the municipality list again; closed, it goes
// back to the main database whatever was chosen.

#include <QDialog>

namespace talvera {
class DataModule;
}

namespace talvera::widgets {

class RadioGroup;

class ArchiveConsultation : public QDialog {
    Q_OBJECT
public:
    // The show handler, also the choice's click handler.
    void chooseDatabase();

    RadioGroup* rgBanco;

protected:
    ArchiveConsultation(DataModule& dm, const char* name, const QString& caption, QWidget* parent);
    // The form's own step after each switch.
    virtual void opened() {}

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    DataModule& dm_;

private:
    void switchTo(bool archive);
};

} // namespace talvera::widgets
