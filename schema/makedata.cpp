// talvera-makedata DIR [--force] [--empty]: creates the four databases of an
// installation and its CONFIGBD.TXT in DIR.
#include "core/firebird.h"
#include "schema/schema.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QString dir;
    talvera::schema::DataDirectoryOptions options;
    for (const QString& arg : app.arguments().mid(1)) {
        if (arg == QLatin1String("--force"))
            options.overwrite = true;
        else if (arg == QLatin1String("--empty"))
            options.demo = false;
        else if (dir.isEmpty() && !arg.startsWith(QLatin1String("--")))
            dir = arg;
        else {
            err << "Opção desconhecida: " << arg << '\n';
            return 2;
        }
    }
    if (dir.isEmpty()) {
        err << "Uso: talvera-makedata DIRETÓRIO [--force] [--empty]\n"
               "  --force  recria os bancos que já existirem\n"
               "  --empty  cria os bancos sem os dados de demonstração\n";
        return 2;
    }
    try {
        talvera::schema::createDataDirectory(dir, options);
    } catch (const std::exception& e) {
        err << QString::fromUtf8(e.what()) << '\n';
        return 1;
    }
    QTextStream(stdout) << "Bancos de dados criados em " << dir << '\n';
    return 0;
}
