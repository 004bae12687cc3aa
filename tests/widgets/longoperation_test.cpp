#include "widgets/longoperation.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

using talvera::widgets::LongOperation;

namespace {

struct ProgramEndScope {
    int ends = 0;
    ProgramEndScope() { talvera::widgets::setProgramEnd([this] { ++ends; }); }
    ~ProgramEndScope() { talvera::widgets::setProgramEnd({}); }
};

} // namespace

TEST(LongOperationTest, AnEndAskedDuringTheWorkStopsItAndRunsOnceTheWorkIsGone)
{
    ProgramEndScope scope;
    {
        LongOperation operation(nullptr, QStringLiteral("Importando"), 10);
        EXPECT_TRUE(operation.step(1, QStringLiteral("Hospitais")));
        talvera::widgets::requestProgramEnd();
        EXPECT_FALSE(operation.step(2));
        EXPECT_TRUE(operation.stopped());
        QCoreApplication::processEvents();
        EXPECT_EQ(scope.ends, 0) << "the end waits for the work to unwind";
    }
    QTRY_COMPARE_WITH_TIMEOUT(scope.ends, 1, 1000);
    EXPECT_FALSE(talvera::widgets::longOperationRunning());
}

TEST(LongOperationTest, AnEndAskedWhileIdleRunsAtOnceButNotInsideTheCaller)
{
    ProgramEndScope scope;
    talvera::widgets::requestProgramEnd();
    talvera::widgets::requestProgramEnd();
    EXPECT_EQ(scope.ends, 0);
    QTRY_COMPARE_WITH_TIMEOUT(scope.ends, 1, 1000);
}

TEST(LongOperationTest, TheProgressCallbackTakesTheTotalItIsGiven)
{
    ProgramEndScope scope;
    LongOperation operation(nullptr, QStringLiteral("Gravando"));
    const auto progress = operation.progress();
    EXPECT_TRUE(progress(50, 100));
    EXPECT_TRUE(progress(100, 100));
    EXPECT_FALSE(operation.stopped());
}
