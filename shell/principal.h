#pragma once
// The main window: start-up checks, login, version check and the main menu.

#include "core/config.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace talvera {

class DataModule;
namespace widgets {
class RadioGroup;
}

// Width of USUARIO's code and password columns.
inline constexpr int kUserTextWidth = 20;
// A user code or password that USUARIO can hold: within the width, in Windows-1252.
bool userTextStorable(const QString& text);

class TfmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    TfmPrincipal(Edition edition, QWidget* parent = nullptr);

    // Needs the data module, created right after this form.
    void setDataModule(DataModule* dm) { dm_ = dm; }

    // True once a start-up or version check has ended the program.
    bool programEnded() const { return ended_; }

    // Steps run when the form is shown and on "Confirma".
    void formShow();
    void button1Click();
    // Ends the program as "Sair" does: the open forms close, the connections
    // are committed and closed, and the event loop ends.
    void endProgram();

    // Shows the named form modally (menu handlers; tests replace it).
    std::function<void(QWidget* form)> showModal;

    QLabel* lbMun;
    QLabel* lbPref;
    QFrame* pnUsuario;
    QLineEdit* edUsu;
    QLineEdit* edSen;
    QPushButton* Button1;
    QPushButton* Button2;
    QLabel* lbVersao;
    // Hidden run-time settings, mirrored from the data module after the first connection.
    widgets::RadioGroup* rgVersao;
    QLineEdit* edPref;
    QLabel* lbAih;
    QLabel* lbAih10;
    QLabel* lbSenha1;
    QLabel* lbSenha2;
    QLabel* lbPvez;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildContent();
    void buildMenu();
    QAction* topItem(int index) const;
    QAction* item(const char* name) const;
    void applyEditionLayout();
    bool vorqBelongsHere();
    void closeConnections();
    void mirrorSettings();
    void openForm(const QString& formName, const QString& option, bool showMonth);

    Edition edition_;
    DataModule* dm_ = nullptr;
    bool ended_ = false;
    std::vector<QAction*> topItems_;
};

} // namespace talvera
