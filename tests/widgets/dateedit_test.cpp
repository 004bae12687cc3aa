#include "widgets/dateedit.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using talvera::widgets::DateEdit;

namespace {

TEST(DateEdit, StartsEmpty)
{
    DateEdit edit;
    EXPECT_FALSE(edit.property("date").toDate().isValid());
    EXPECT_TRUE(edit.text().trimmed().isEmpty());
}

TEST(DateEdit, ShowsSetDateAndEmptiesOnInvalidDate)
{
    DateEdit edit;
    QSignalSpy changed(&edit, &DateEdit::valueChanged);
    ASSERT_TRUE(edit.setProperty("date", QDate(2016, 3, 5)));
    EXPECT_EQ(edit.property("date").toDate(), QDate(2016, 3, 5));
    EXPECT_EQ(edit.text(), QStringLiteral("05/03/2016"));

    ASSERT_TRUE(edit.setProperty("date", QDate()));
    EXPECT_FALSE(edit.property("date").toDate().isValid());
    EXPECT_TRUE(edit.text().trimmed().isEmpty());

    ASSERT_EQ(changed.size(), 2);
    EXPECT_EQ(changed.at(0).at(0).toDate(), QDate(2016, 3, 5));
    EXPECT_FALSE(changed.at(1).at(0).toDate().isValid());
}

TEST(DateEdit, TypingIntoEmptyFieldGivesTheTypedDate)
{
    DateEdit edit;
    edit.show();
    edit.setFocus();
    QTest::keyClicks(&edit, QStringLiteral("25122015"));
    EXPECT_EQ(edit.property("date").toDate(), QDate(2015, 12, 25));
}

TEST(DateEdit, ErasingTheWholeTextEmptiesIt)
{
    DateEdit edit;
    edit.setDate(QDate(2016, 3, 5));
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_FALSE(edit.property("date").toDate().isValid());
}

} // namespace
