#include "widgets/enterfocus.h"

#include "widgets/dateedit.h"
#include "widgets/numericedit.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace talvera::widgets;

namespace {

class EnterFocusTest : public testing::Test {
protected:
    EnterFocusTest()
    {
        auto* layout = new QVBoxLayout(&form);
        for (QWidget* w : std::initializer_list<QWidget*>{first, number, date, button, notes, last})
            layout->addWidget(w);
        ok->setDefault(true);
        layout->addWidget(ok);
        installEnterMovesFocus(&form);
        form.show();
        QApplication::setActiveWindow(&form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    static void pressEnter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }
    static bool hasFocus(QWidget* w) { return w->hasFocus() || w->isAncestorOf(QApplication::focusWidget()); }

    QDialog form;
    QLineEdit* first = new QLineEdit;
    NumericEdit* number = new NumericEdit(QStringLiteral("00"));
    DateEdit* date = new DateEdit;
    QPushButton* button = new QPushButton(QStringLiteral("Botão"));
    QPlainTextEdit* notes = new QPlainTextEdit;
    QLineEdit* last = new QLineEdit;
    QPushButton* ok = new QPushButton(QStringLiteral("OK"));
};

TEST_F(EnterFocusTest, EnterWalksTheTabOrderWithoutPressingButtons)
{
    QSignalSpy pressed(button, &QPushButton::clicked);
    QSignalSpy defaultPressed(ok, &QPushButton::clicked);
    QSignalSpy finished(&form, &QDialog::finished);
    first->setFocus();

    pressEnter();
    EXPECT_TRUE(hasFocus(number));
    pressEnter();
    EXPECT_TRUE(hasFocus(date)); // from the last part of a compound control too
    date->setCurrentSection(QDateTimeEdit::DaySection);
    pressEnter();
    EXPECT_TRUE(hasFocus(button));
    pressEnter();
    EXPECT_TRUE(hasFocus(notes));

    EXPECT_TRUE(pressed.isEmpty());
    EXPECT_TRUE(defaultPressed.isEmpty());
    EXPECT_TRUE(finished.isEmpty());
}

TEST_F(EnterFocusTest, MultiLineEditorKeepsEnter)
{
    notes->setFocus();
    pressEnter();
    EXPECT_TRUE(notes->hasFocus());
    EXPECT_EQ(notes->toPlainText(), QStringLiteral("\n"));
}

TEST_F(EnterFocusTest, TypedValueSurvivesMovingOn)
{
    number->setFocus();
    QTest::keyClicks(number, QStringLiteral("5"));
    pressEnter();
    EXPECT_TRUE(hasFocus(date));
    EXPECT_EQ(number->value(), 5);
    EXPECT_EQ(number->text(), QStringLiteral("05"));
}

} // namespace
