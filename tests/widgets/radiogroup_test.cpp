#include "widgets/radiogroup.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using talvera::widgets::RadioGroup;

namespace {

TEST(RadioGroup, ItemIndexFollowsTheCheckedButton)
{
    RadioGroup group(QStringLiteral("Sexo"), {QStringLiteral("Masculino"), QStringLiteral("Feminino")});
    QSignalSpy clicks(&group, &RadioGroup::clicked);
    EXPECT_EQ(group.property("itemIndex").toInt(), -1);

    group.setProperty("itemIndex", 1);
    EXPECT_TRUE(group.button(1)->isChecked());
    EXPECT_EQ(group.property("itemIndex").toInt(), 1);

    group.setProperty("itemIndex", -1);
    EXPECT_FALSE(group.button(0)->isChecked());
    EXPECT_FALSE(group.button(1)->isChecked());
    EXPECT_EQ(group.property("itemIndex").toInt(), -1);

    group.setProperty("itemIndex", 7);
    EXPECT_EQ(group.property("itemIndex").toInt(), -1);
    EXPECT_TRUE(clicks.isEmpty()); // set by code: no click
}

TEST(RadioGroup, UserClickSignalsTheItem)
{
    RadioGroup group(QStringLiteral("Tipo"), {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    group.setColumns(2);
    group.show();
    QSignalSpy clicks(&group, &RadioGroup::clicked);
    QTest::mouseClick(group.button(2), Qt::LeftButton);
    EXPECT_EQ(group.property("itemIndex").toInt(), 2);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 2);
}

} // namespace
