#include "shell/bootstrap.h"
#include "shell/principal.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Distribuição"));
    talvera::createForms();
    talvera::fmPrincipal()->show();
    const int result = QApplication::exec();
    talvera::destroyForms();
    return result;
}
