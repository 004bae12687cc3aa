#include "widgets/guard.h"

#include "widgets/scriptedmessages.h"

#include <QObject>
#include <stdexcept>
#include <gtest/gtest.h>

using namespace talvera::widgets;

namespace {

TEST(Guard, ShowsWhatWasThrownAsAnError)
{
    ScriptedMessagesScope scripted;
    EXPECT_FALSE(guarded([] { throw std::runtime_error("Falha ao gravar o laudo"); }));
    EXPECT_FALSE(guarded([] { throw 42; }));
    EXPECT_TRUE(guarded([] {}));
    const std::vector<ScriptedMessages::Shown> expected{
        {Messages::Kind::Error, QStringLiteral("Falha ao gravar o laudo")},
        {Messages::Kind::Error, QStringLiteral("Erro inesperado.")}};
    EXPECT_EQ(scripted->shown(), expected);
}

TEST(Guard, SlotsGetSignalArgumentsAndKeepExceptionsFromTheEventLoop)
{
    ScriptedMessagesScope scripted;
    QObject sender;
    QString received;
    int bare = 0;
    QObject::connect(&sender, &QObject::objectNameChanged, guardedSlot([&](const QString& name) {
        if (name == QStringLiteral("ruim"))
            throw std::invalid_argument("Nome inválido");
        received = name;
    }));
    QObject::connect(&sender, &QObject::objectNameChanged, guardedSlot([&] { ++bare; }));

    sender.setObjectName(QStringLiteral("bom"));
    sender.setObjectName(QStringLiteral("ruim"));

    EXPECT_EQ(received, QStringLiteral("bom"));
    EXPECT_EQ(bare, 2);
    EXPECT_EQ(scripted->texts(Messages::Kind::Error), QStringList{QStringLiteral("Nome inválido")});
}

} // namespace
