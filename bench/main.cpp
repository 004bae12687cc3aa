// talvera-bench [group]: runs the named group of benchmarks, or all of them.
#include <QApplication>
#include <QTextStream>

#include <cstdio>
#include <exception>
#include <functional>
#include <algorithm>
#include <vector>

namespace talvera::bench {
void insertGroup();
void expansionGroup();
void consultationGroup();
void reportsGroup();
void lookupGroup();
void importGroup();
} // namespace talvera::bench

int main(int argc, char** argv)
{
    // The consultation and the reports drive the real forms: widgets, without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // In the order they run when none is named.
    const std::vector<std::pair<QString, std::function<void()>>> groups = {
        {QStringLiteral("insert"), talvera::bench::insertGroup},
        {QStringLiteral("expansion"), talvera::bench::expansionGroup},
        {QStringLiteral("consultation"), talvera::bench::consultationGroup},
        {QStringLiteral("reports"), talvera::bench::reportsGroup},
        {QStringLiteral("lookup"), talvera::bench::lookupGroup},
        {QStringLiteral("import"), talvera::bench::importGroup},
    };
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.isEmpty()) {
            for (const auto& [name, run] : groups)
                run();
            return 0;
        }
        for (const QString& name : args) {
            const auto it = std::find_if(groups.begin(), groups.end(),
                                         [&](const auto& g) { return g.first == name; });
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
