#include "widgets/datagrid.h"

#include "pagedmodel.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using talvera::widgets::DataGrid;
using talvera::widgets::GridColumn;

namespace {

class DataGridTest : public testing::Test {
protected:
    DataGridTest() : model(1000, 20, 20)
    {
        grid.setModel(&model);
        grid.resize(400, 200);
    }

    PagedModel model;
    DataGrid grid;
};

TEST_F(DataGridTest, ShowsTheFormsColumnsInItsOrderWithItsTitles)
{
    grid.setColumns({GridColumn(QStringLiteral("nome"), QStringLiteral("Nome"), 30),
                     GridColumn(0, QStringLiteral("Código"), 6),
                     GridColumn(QStringLiteral("SEM_TAL_CAMPO"), QStringLiteral("Some"), 5)});
    const QHeaderView* header = grid.horizontalHeader();

    EXPECT_EQ(header->logicalIndex(0), 1);
    EXPECT_EQ(header->logicalIndex(1), 0);
    EXPECT_TRUE(header->isSectionHidden(2));
    EXPECT_FALSE(header->isSectionHidden(0));
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nome"));
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Código"));
    EXPECT_GT(header->sectionSize(1), 3 * header->sectionSize(0));
    EXPECT_EQ(grid.modelColumnAt(0), 1);
    EXPECT_EQ(grid.modelColumnAt(2), -1);
}

TEST_F(DataGridTest, IsReadOnlyWholeRowSingleSelection)
{
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid.selectionMode(), QAbstractItemView::SingleSelection);
}

TEST_F(DataGridTest, DoubleClickReportsTheRowAndEnterOnlyWhereTheGridTakesIt)
{
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy opened(&grid, qOverload<int>(&DataGrid::doubleClicked));

    const QRect cell = grid.visualRect(grid.model()->index(2, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.at(0).at(0).toInt(), 2);

    grid.setProperty("currentRow", 3);
    EXPECT_EQ(grid.property("currentRow").toInt(), 3);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(opened.size(), 1) << "Enter belongs to the form";
    grid.setProperty("enterChoosesRow", true);
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.at(1).at(0).toInt(), 3);
}

TEST_F(DataGridTest, FetchesRowsLazily)
{
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QTest::qWait(50);
    EXPECT_LT(model.rowCount(), 100);

    grid.setCurrentRow(150); // fetches up to that row, not the whole model
    EXPECT_EQ(grid.currentRow(), 150);
    EXPECT_LT(model.rowCount(), 200);

    grid.setCurrentRow(5000);
    EXPECT_EQ(grid.currentRow(), -1);
}

} // namespace
