#pragma once
// Password change of the logged-in user.

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

namespace talvera {

class DataModule;

class TfmAltsen : public QDialog {
    Q_OBJECT
public:
    // `user` gives the code typed at login.
    TfmAltsen(DataModule& dm, std::function<QString()> user, QWidget* parent = nullptr);

    void button1Click();

    QLineEdit* edAtual;
    QLineEdit* edNova;
    QLineEdit* edConfirma;
    QPushButton* Button1;

private:
    DataModule& dm_;
    std::function<QString()> user_;
};

} // namespace talvera
