#include "widgets/messages.h"
#include "widgets/scriptedmessages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace talvera::widgets;

namespace {

TEST(ScriptedMessages, RecordsInOrderAndAnswersFromTheQueue)
{
    ScriptedMessagesScope scripted;
    scripted->answer({true, false});
    messages().information(QStringLiteral("Gravado."));
    EXPECT_TRUE(messages().question(QStringLiteral("Excluir?")));
    EXPECT_FALSE(messages().question(QStringLiteral("Sair?")));
    EXPECT_FALSE(messages().question(QStringLiteral("De novo?"))); // queue empty: No
    messages().error(QStringLiteral("Falhou."));

    using K = Messages::Kind;
    const std::vector<ScriptedMessages::Shown> expected{{K::Information, QStringLiteral("Gravado.")},
                                                        {K::Question, QStringLiteral("Excluir?")},
                                                        {K::Question, QStringLiteral("Sair?")},
                                                        {K::Question, QStringLiteral("De novo?")},
                                                        {K::Error, QStringLiteral("Falhou.")}};
    EXPECT_EQ(scripted->shown(), expected);
}

TEST(ScriptedMessages, ScopeRestoresThePreviousService)
{
    Messages* before = &messages();
    {
        ScriptedMessagesScope scripted;
        EXPECT_EQ(&messages(), &*scripted);
    }
    EXPECT_EQ(&messages(), before);
}

// Presses the button with the given text on the next message box, recording its caption.
void pressOnNextBox(const QString& buttonText, QString* caption)
{
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *caption = box->windowTitle();
        for (QAbstractButton* b : box->buttons()) {
            if (b->text().remove(QLatin1Char('&')) == buttonText)
                return b->click();
        }
        box->reject();
    });
}

TEST(DialogMessages, QuestionIsTrueOnlyForSim)
{
    DialogMessages dialogs;
    QString caption;
    pressOnNextBox(QStringLiteral("Sim"), &caption);
    EXPECT_TRUE(dialogs.question(QStringLiteral("Confirma a exclusão?")));
    EXPECT_EQ(caption, QStringLiteral("Confirma"));

    pressOnNextBox(QStringLiteral("Não"), &caption);
    EXPECT_FALSE(dialogs.question(QStringLiteral("Confirma a exclusão?")));

    pressOnNextBox(QStringLiteral("(escape)"), &caption); // closed without an answer
    EXPECT_FALSE(dialogs.question(QStringLiteral("Confirma a exclusão?")));
}

TEST(DialogMessages, ErrorBoxIsCaptionedErro)
{
    DialogMessages dialogs;
    QString caption;
    pressOnNextBox(QStringLiteral("OK"), &caption);
    dialogs.error(QStringLiteral("Falhou."));
    EXPECT_EQ(caption, QStringLiteral("Erro"));
}

} // namespace
