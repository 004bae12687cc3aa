#pragma once
// A small modal form over one competence month: its month and year edits,
// the "Confirmar" button, and the stored competence month proposed at every
// showing.

#include <QDialog>

class QGridLayout;
class QPushButton;

namespace talvera {
class DataModule;
namespace widgets {
class NumericEdit;
}
} // namespace talvera

namespace talvera::laudos {

class MonthForm : public QDialog {
    Q_OBJECT
public:
    MonthForm(DataModule& dm, const char* name, const QString& caption, QWidget* parent = nullptr);

    // Proposes the stored competence month and gives the month the focus.
    virtual void formShow();
    virtual void btPesqClick() = 0;

    widgets::NumericEdit* edMes;
    widgets::NumericEdit* edAno;
    QPushButton* btPesq;

protected:
    void showEvent(QShowEvent* event) override;
    // The month and year take its first two rows.
    QGridLayout* grid() const { return grid_; }

    DataModule& dm_;

private:
    QGridLayout* grid_;
};

} // namespace talvera::laudos
