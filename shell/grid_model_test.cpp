#include "shell/grid_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/error.h"

namespace dv {
namespace {

void AddThreeColumns(GridModel& g) {
    g.AddColumn({.name = "Line", .caption = "Line", .group = "Product Group"});
    g.AddColumn({.name = "Alpha", .caption = "Alpha"});
    g.AddColumn({.name = "Ytd", .caption = "Ytd", .group = "Sales"});
}

TEST(GridModelTest, ColumnsByNameCaptionAndGroups) {
    GridModel g("grdTest");
    AddThreeColumns(g);
    g.AddColumn({.name = "ndate", .caption = "ndate", .hidden = true});
    EXPECT_EQ(g.ColumnCount(), 4);
    EXPECT_EQ(g.ColumnPosition("Alpha"), 1);
    EXPECT_EQ(g.ColumnPosition("alpha"), -1);
    EXPECT_EQ(g.ColumnPosition("none"), -1);
    EXPECT_TRUE(g.HasGroups());
    EXPECT_EQ(g.GroupCaption(0), "Product Group");
    EXPECT_EQ(g.GroupCaption(1), "Product Group");
    EXPECT_EQ(g.GroupCaption(2), "Sales");
    EXPECT_EQ(g.GroupCaption(3), "Sales");
    EXPECT_TRUE(g.Column(3).hidden);
    try {
        g.AddColumn({.name = "Alpha"});
        FAIL() << "duplicate column accepted";
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), 457);
    }
}

TEST(GridModelTest, RowsCellsValuesAndPayload) {
    GridModel g("grdTest");
    AddThreeColumns(g);
    const int r = g.AddRow();
    g.SetCell(r, "Line", "1");
    g.SetCell(r, "Ytd", "$1,234.00", 123400);
    g.SetPayload(r, std::string("\x00\x01", 2));
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(g.CellText(0, "Line"), "1");
    EXPECT_EQ(g.CellText(0, 1), "");
    EXPECT_EQ(g.CellValue(0, "Ytd"), 123400);
    EXPECT_EQ(g.CellValue(0, "Line"), std::nullopt);
    EXPECT_EQ(g.Payload(0), std::string("\x00\x01", 2));
    try {
        g.SetCell(r, "Mtd", "x");
        FAIL() << "unknown column accepted";
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), 9);
    }
}

TEST(GridModelTest, BookmarksFollowTheirRowsAndAreNotReused) {
    GridModel g("grdTest");
    AddThreeColumns(g);
    for (int i = 0; i < 3; ++i) g.SetCell(g.AddRow(), "Line", std::to_string(i));
    const Bookmark b0 = g.BookmarkOf(0);
    const Bookmark b2 = g.BookmarkOf(2);
    g.Reorder({2, 1, 0});
    EXPECT_EQ(g.RowOf(b0), 2);
    EXPECT_EQ(g.RowOf(b2), 0);
    EXPECT_EQ(g.CellText(g.RowOf(b0), "Line"), "0");
    g.RemoveAll();
    EXPECT_EQ(g.RowOf(b0), -1);
    g.AddRow();
    EXPECT_NE(g.BookmarkOf(0), b0);
    EXPECT_NE(g.BookmarkOf(0), b2);
}

TEST(GridModelTest, CurrentRowAndMoveFirst) {
    GridModel g("grdTest");
    AddThreeColumns(g);
    EXPECT_EQ(g.CurrentRow(), -1);
    g.MoveFirst();
    EXPECT_EQ(g.CurrentRow(), -1);
    g.AddRow();
    g.AddRow();
    g.SetCurrentRow(1);
    EXPECT_EQ(g.CurrentRow(), 1);
    g.MoveFirst();
    EXPECT_EQ(g.CurrentRow(), 0);
    g.RemoveAll();
    EXPECT_EQ(g.CurrentRow(), -1);
    EXPECT_EQ(g.RowCount(), 0);
}

// A click names a row the grid may no longer hold: outside it nothing moves and nothing raises.
TEST(GridModelTest, SelectRowTakesOnlyARowTheGridHolds) {
    GridModel g("grdTest");
    AddThreeColumns(g);
    EXPECT_FALSE(g.SelectRow(0));
    g.AddRow();
    g.AddRow();
    g.MoveFirst();
    for (int row : {-1, 2, 100}) {
        EXPECT_FALSE(g.SelectRow(row)) << row;
        EXPECT_EQ(g.CurrentRow(), 0) << row;
    }
    EXPECT_TRUE(g.SelectRow(1));
    EXPECT_EQ(g.CurrentRow(), 1);
}

TEST(GridModelTest, ListenerHearsChangesInOrder) {
    struct Recorder : GridListener {
        std::vector<std::string> events;
        void OnRowsReset() override { events.push_back("reset"); }
        void OnRowAdded(int row) override { events.push_back("add " + std::to_string(row)); }
        void OnCellChanged(int row, int col) override {
            events.push_back("cell " + std::to_string(row) + "," + std::to_string(col));
        }
        void OnCurrentRowChanged(int row) override {
            events.push_back("current " + std::to_string(row));
        }
    } rec;
    GridModel g("grdTest");
    AddThreeColumns(g);
    g.SetListener(&rec);
    g.RemoveAll();
    g.SetCell(g.AddRow(), "Ytd", "x");
    g.MoveFirst();
    EXPECT_EQ(rec.events, (std::vector<std::string>{"reset", "add 0", "cell 0,2", "current 0"}));
}

TEST(GridModelTest, ReorderRejectsAnythingButAPermutation) {
    GridModel g("grdTest");
    AddThreeColumns(g);
    g.AddRow();
    g.AddRow();
    EXPECT_THROW(g.Reorder({0, 0}), BasicError);
    EXPECT_THROW(g.Reorder({0}), BasicError);
    EXPECT_THROW(g.Reorder({0, 2}), BasicError);
}

TEST(GridModelTest, HoldsAHundredThousandRows) {
    GridModel g("grdBig");
    for (int c = 0; c < 15; ++c) g.AddColumn({.name = "c" + std::to_string(c)});
    for (int i = 0; i < 100000; ++i) {
        const int r = g.AddRow();
        for (int c = 0; c < 15; ++c) g.SetCell(r, "c" + std::to_string(c), std::to_string(i));
    }
    EXPECT_EQ(g.RowCount(), 100000);
    EXPECT_EQ(g.CellText(99999, "c14"), "99999");
    EXPECT_EQ(g.RowOf(g.BookmarkOf(54321)), 54321);
}

}  // namespace
}  // namespace dv
