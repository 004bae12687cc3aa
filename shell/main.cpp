#include "shell/bootstrap.h"
#include "shell/lifecycle.h"
#include "shell/principal.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The application's name captions its message boxes. Set as the display
    // name, Qt would append it to the title of every window.
    QApplication::setApplicationName(QStringLiteral("Distribuição"));
    talvera::shell::installSignalHandling();
    talvera::shell::installExitGuard();
    talvera::createForms();
    talvera::fmPrincipal()->show();
    const int result = QApplication::exec();
    talvera::shell::endInOrder();
    return result;
}
