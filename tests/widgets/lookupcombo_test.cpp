#include "widgets/lookupcombo.h"

#include "pagedmodel.h"

#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using talvera::widgets::LookupCombo;

namespace {

// Ten of fifty rows loaded at first, ten more per fetch.
class LookupComboTest : public testing::Test {
protected:
    LookupComboTest() : model(50, 10, 10), combo(&model, 0, 1)
    {
        combo.onRowChosen = [this](int row) { chosen.push_back(row); };
    }

    PagedModel model;
    LookupCombo combo;
    std::vector<int> chosen;
};

TEST_F(LookupComboTest, StartsWithNoChoice)
{
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.property("key").toString(), QString());
}

TEST_F(LookupComboTest, KeyBeyondLoadedRowsFetchesOnlyUntilFound)
{
    QSignalSpy keys(&combo, &LookupCombo::keyChanged);
    ASSERT_TRUE(combo.setProperty("key", model.keyOf(35)));

    EXPECT_EQ(combo.currentIndex(), 35);
    EXPECT_EQ(combo.currentText(), QStringLiteral("Item %1").arg(model.keyOf(35)));
    EXPECT_EQ(combo.property("key").toString(), model.keyOf(35));
    EXPECT_EQ(model.rowCount(), 40);
    ASSERT_EQ(keys.size(), 1);
    EXPECT_EQ(keys.at(0).at(0).toString(), model.keyOf(35));
    EXPECT_EQ(chosen, std::vector<int>{35});
}

TEST_F(LookupComboTest, AbsentOrEmptyKeyClearsTheChoice)
{
    for (const QString& absent : {QStringLiteral("9999"), QString()}) {
        combo.setProperty("key", model.keyOf(2));
        QSignalSpy keys(&combo, &LookupCombo::keyChanged);
        combo.setProperty("key", absent);
        EXPECT_EQ(combo.currentIndex(), -1) << absent.toStdString();
        EXPECT_EQ(combo.property("key").toString(), QString());
        ASSERT_EQ(keys.size(), 1);
        EXPECT_EQ(keys.at(0).at(0).toString(), QString());
    }
    EXPECT_EQ(chosen, (std::vector<int>{2, 2}));
}

TEST_F(LookupComboTest, RowsArrivingDoNotChooseOnTheirOwn)
{
    PagedModel empty(30, 10, 0);
    combo.setup(&empty, 0, 1);
    empty.fetchMore({});
    EXPECT_EQ(empty.rowCount(), 10);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_TRUE(chosen.empty());
}

TEST_F(LookupComboTest, UserChoiceReportsKeyAndRow)
{
    QSignalSpy keys(&combo, &LookupCombo::keyChanged);
    QTest::keyClick(&combo, Qt::Key_Down);
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.property("key").toString(), model.keyOf(1));
    EXPECT_EQ(chosen, (std::vector<int>{0, 1}));
    EXPECT_EQ(keys.last().at(0).toString(), model.keyOf(1));
}

TEST_F(LookupComboTest, ReReadListKeepsTheChosenKey)
{
    combo.setProperty("key", model.keyOf(3));
    const QString key = combo.key();
    chosen.clear();
    QSignalSpy keys(&combo, &LookupCombo::keyChanged);

    model.reloadReversed(); // the key is now at row 46, beyond the first page
    EXPECT_EQ(combo.key(), key);
    EXPECT_EQ(combo.currentIndex(), 46);
    EXPECT_EQ(chosen, std::vector<int>{46});
    EXPECT_TRUE(keys.isEmpty());
}

TEST_F(LookupComboTest, AClosedAndReopenedListKeepsTheKey)
{
    combo.setProperty("key", model.keyOf(23));
    chosen.clear();
    QSignalSpy keys(&combo, &LookupCombo::keyChanged);
    model.close();
    EXPECT_EQ(combo.property("key").toString(), model.keyOf(23)) << "held while the list is closed";
    model.reopen();
    EXPECT_EQ(combo.property("key").toString(), model.keyOf(23));
    EXPECT_EQ(combo.currentIndex(), 23);
    EXPECT_EQ(chosen, std::vector<int>{23});
    EXPECT_TRUE(keys.isEmpty());

    // A key the re-read list no longer has is no choice.
    combo.setProperty("key", "9999");
    model.close();
    model.reopen();
    EXPECT_EQ(combo.property("key").toString(), QString());
}

TEST(LookupCombo, TypingSearchesTheDisplayText)
{
    QStandardItemModel list;
    for (const auto& [key, name] : {std::pair{"1", "Amapá"}, {"2", "Bahia"}, {"3", "Ceará"}})
        list.appendRow({new QStandardItem(QString::fromUtf8(key)), new QStandardItem(QString::fromUtf8(name))});
    LookupCombo combo(&list, 0, 1);
    QTest::keyClicks(&combo, QStringLiteral("ce"));
    EXPECT_EQ(combo.key(), QStringLiteral("3"));
}

} // namespace
