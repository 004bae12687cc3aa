// talvera-bench [group]: runs the named group of benchmarks, or all of them.
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <exception>
#include <functional>
#include <map>

namespace talvera::bench {
void insertGroup();
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::map<QString, std::function<void()>> groups = {
        {QStringLiteral("insert"), talvera::bench::insertGroup},
    };
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.isEmpty()) {
            for (const auto& [name, run] : groups)
                run();
            return 0;
        }
        for (const QString& name : args) {
            const auto it = groups.find(name);
            if (it == groups.end()) {
                std::fprintf(stderr, "grupo desconhecido: %s\n", name.toUtf8().constData());
                return 2;
            }
            it->second();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
