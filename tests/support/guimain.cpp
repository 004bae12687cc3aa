// Entry point of the test programs that need widgets: headless unless told otherwise.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Distribuição"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
