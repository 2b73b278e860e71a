#include "shell/grid_sort.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace dv {
namespace {

// A grid of a key column "Key" and a tag column "Tag" that tells rows apart, each row with its
// tag as payload.
void Fill(GridModel& g, const std::vector<std::string>& keys) {
    g.AddColumn({.name = "Key", .caption = "Key"});
    g.AddColumn({.name = "Tag", .caption = "Tag"});
    for (size_t i = 0; i < keys.size(); ++i) {
        const int r = g.AddRow();
        g.SetCell(r, "Key", keys[i]);
        g.SetCell(r, "Tag", std::string(1, static_cast<char>('a' + i)));
        g.SetPayload(r, "key-" + std::string(1, static_cast<char>('a' + i)));
    }
}

std::string Tags(const GridModel& g) {
    std::string out;
    for (int r = 0; r < g.RowCount(); ++r) out += g.CellText(r, "Tag");
    return out;
}

struct SortCase {
    const char* name;
    std::vector<std::string> keys;
    int32_t order;
    int32_t kind;
    SortResult result;
    const char* tags;  // the tag column after the sort
};

void PrintTo(const SortCase& c, std::ostream* os) {
    *os << c.name;
}

class SortTable : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortTable, Sorts) {
    const SortCase& c = GetParam();
    GridModel g("grdTest");
    Fill(g, c.keys);
    EXPECT_EQ(SortGrid(g, 0, c.order, c.kind), c.result);
    EXPECT_EQ(Tags(g), c.tags);
    // The payload travels with its row.
    for (int r = 0; r < g.RowCount(); ++r) EXPECT_EQ(g.Payload(r), "key-" + g.CellText(r, "Tag"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortTable,
    ::testing::Values(
        SortCase{"TextAscendingIsBinary",
                 {"a", "B", "c", "A"},
                 0,
                 kSortText,
                 SortResult::kSorted,
                 "dbac"},
        SortCase{"TextDescending", {"a", "B", "c", "A"}, 1, kSortText, SortResult::kSorted, "cabd"},
        SortCase{"TextTiesKeepTheirOrderBothWays",
                 {"x", "y", "x", "y"},
                 1,
                 kSortText,
                 SortResult::kSorted,
                 "bdac"},
        SortCase{"NumberAscending",
                 {"10", "9", "-1", "100"},
                 0,
                 kSortNumber,
                 SortResult::kSorted,
                 "cbad"},
        SortCase{"NumberDescending",
                 {"10", "9", "-1", "100"},
                 1,
                 kSortNumber,
                 SortResult::kSorted,
                 "dabc"},
        // $1.40 and $1.10 round to 1 and keep their order; $1.60 sorts with $2.00.
        SortCase{"MoneyRoundsToWholeDollars",
                 {"$2.00", "$1.40", "$1.60", "$1.10"},
                 0,
                 kSortNumber,
                 SortResult::kSorted,
                 "bdac"},
        // Halves go to the even number: 2.5 -> 2, 3.5 -> 4, 1.5 -> 2.
        SortCase{"HalvesToEven",
                 {"$3.50", "$2.50", "$1.50", "$2.00"},
                 0,
                 kSortNumber,
                 SortResult::kSorted,
                 "bcda"},
        SortCase{"GroupedThousandsAndZero",
                 {"$1,234.00", "$.00", "$999.00", "-$5.00"},
                 0,
                 kSortNumber,
                 SortResult::kSorted,
                 "dbca"},
        SortCase{"PercentCellsSortByTheirNumber",
                 {"25.0%", "100.0%", "9.5%", ".0%"},
                 0,
                 kSortNumber,
                 SortResult::kSorted,
                 "dcab"},
        // A cell that does not convert leaves the grid exactly as it was.
        SortCase{"EmptyCellLeavesGrid",
                 {"3", "", "1"},
                 0,
                 kSortNumber,
                 SortResult::kNotConvertible,
                 "abc"},
        SortCase{"LettersLeaveGrid",
                 {"3", "2", "N/A"},
                 0,
                 kSortNumber,
                 SortResult::kNotConvertible,
                 "abc"},
        SortCase{"OtherKindKeepsTheOrder", {"3", "1", "2"}, 0, 5, SortResult::kUnchanged, "abc"},
        SortCase{"EmptyGrid", {}, 1, kSortNumber, SortResult::kSorted, ""},
        SortCase{"OneRow", {"x"}, 1, kSortText, SortResult::kSorted, "a"}),
    [](const ::testing::TestParamInfo<SortCase>& param) { return std::string(param.param.name); });

TEST(SortGridTest, TypedValuesSortPercentagesAndEmptyCellsByTheNumberTheyStandFor) {
    // "25.0%" and "25.4%" show the same whole number; an empty cell shows none.
    GridModel g("grdTest");
    Fill(g, {"25.4%", "25.0%", "", "-3.0%"});
    const int64_t millionths[] = {254000, 250000, 0, -30000};
    for (int r = 0; r < 4; ++r) g.SetValue(r, "Key", millionths[r]);
    EXPECT_EQ(SortGrid(g, 0, 0, kSortNumber), SortResult::kSorted);
    EXPECT_EQ(Tags(g), "dcba");
    EXPECT_EQ(SortGrid(g, 0, kSortDescending, kSortNumber), SortResult::kSorted);
    EXPECT_EQ(Tags(g), "abcd");
}

TEST(SortGridTest, NegativeColumnSortsByColumnZero) {
    GridModel g("grdTest");
    Fill(g, {"b", "a"});
    EXPECT_EQ(SortGrid(g, -3, 0, kSortText), SortResult::kSorted);
    EXPECT_EQ(Tags(g), "ba");
}

TEST(SortGridTest, ColumnOutsideTheGridLeavesIt) {
    GridModel g("grdTest");
    Fill(g, {"b", "a"});
    EXPECT_EQ(SortGrid(g, 2, 0, kSortText), SortResult::kNoColumn);
    EXPECT_EQ(Tags(g), "ab");
}

TEST(SortGridTest, OneColumnGridSortsAscendingTextWhateverItIsAsked) {
    // Whatever column, order and kind a caller passes: the column argument does not matter.
    for (int32_t sort_col : {-2, 0, 1, 5}) {
        GridModel g("grdOne");
        g.AddColumn({.name = "Only"});
        for (const char* k : {"a", "9", "B", "10"}) g.SetCell(g.AddRow(), "Only", k);
        EXPECT_EQ(SortGrid(g, sort_col, 1, kSortNumber), SortResult::kSorted) << sort_col;
        std::vector<std::string> got;
        for (int r = 0; r < g.RowCount(); ++r) got.push_back(g.CellText(r, 0));
        EXPECT_EQ(got, (std::vector<std::string>{"10", "9", "B", "a"})) << sort_col;
    }
}

TEST(SortGridTest, TheGridKeepsTheColumnLastSortedAndItsDirection) {
    GridModel g("grdTwo");
    g.AddColumn({.name = "Name"});
    g.AddColumn({.name = "Total"});
    for (const char* t : {"$5.00", "x"}) g.SetCell(g.AddRow(), "Total", t);
    EXPECT_EQ(g.SortColumn(), -1);
    EXPECT_EQ(SortGrid(g, 0, kSortDescending, kSortText), SortResult::kSorted);
    EXPECT_EQ(g.SortColumn(), 0);
    EXPECT_TRUE(g.SortDescending());
    // A sort that does not happen leaves the indicator where it was.
    EXPECT_EQ(SortGrid(g, 1, 0, kSortNumber), SortResult::kNotConvertible);
    EXPECT_EQ(SortGrid(g, 1, 0, 7), SortResult::kUnchanged);
    EXPECT_EQ(SortGrid(g, 5, 0, kSortText), SortResult::kNoColumn);
    EXPECT_EQ(g.SortColumn(), 0);
    EXPECT_TRUE(g.SortDescending());
    EXPECT_EQ(SortGrid(g, 1, 0, kSortText), SortResult::kSorted);
    EXPECT_EQ(g.SortColumn(), 1);
    EXPECT_FALSE(g.SortDescending());
    g.RemoveAll();  // rows in their own order again
    EXPECT_EQ(g.SortColumn(), -1);

    GridModel one("grdOne");
    one.AddColumn({.name = "Only"});
    EXPECT_EQ(SortGrid(one, 3, kSortDescending, kSortNumber), SortResult::kSorted);
    EXPECT_EQ(one.SortColumn(), 0);
    EXPECT_FALSE(one.SortDescending());
}

TEST(SortGridTest, SortsAHundredThousandRowsStably) {
    GridModel g("grdBig");
    g.AddColumn({.name = "Total"});
    g.AddColumn({.name = "Seq"});
    for (int i = 0; i < 100000; ++i) {
        const int r = g.AddRow();
        g.SetCell(r, "Total", "$" + std::to_string(i % 1000) + ".00");
        g.SetCell(r, "Seq", std::to_string(i));
    }
    ASSERT_EQ(SortGrid(g, 0, 1, kSortNumber), SortResult::kSorted);
    EXPECT_EQ(g.CellText(0, 0), "$999.00");
    EXPECT_EQ(g.CellText(0, 1), "999");
    EXPECT_EQ(g.CellText(1, 1), "1999");  // equal keys in their old order
    EXPECT_EQ(g.CellText(99999, 1), "99000");
}

class HeaderClickTest : public ::testing::Test {
  protected:
    void SetUp() override { mSortOrder = 0; }
    void TearDown() override { mSortOrder = 0; }
};

// Fill's grid with sort kinds on its columns: "Key" as a number, "Tag" as text.
void FillSorted(GridModel& g, const std::vector<std::string>& keys) {
    g.AddColumn({.name = "Key", .caption = "Key", .sort = SortKind::kNumber});
    g.AddColumn({.name = "Tag", .caption = "Tag", .sort = SortKind::kText});
    for (size_t i = 0; i < keys.size(); ++i) {
        const int r = g.AddRow();
        g.SetCell(r, "Key", keys[i]);
        g.SetCell(r, "Tag", std::string(1, static_cast<char>('a' + i)));
    }
}

TEST_F(HeaderClickTest, FirstClickSortsDescendingAndEveryClickFlipsTheSharedToggle) {
    GridModel g("grdTest");
    FillSorted(g, {"1", "3", "2"});
    GridModel other("grdOther");
    FillSorted(other, {"x"});

    EXPECT_EQ(HeaderClickSort(g, 0), SortResult::kSorted);
    EXPECT_EQ(mSortOrder, 1);
    EXPECT_EQ(Tags(g), "bca");
    EXPECT_EQ(g.CurrentRow(), 0);

    // A click on another grid's header flips the same toggle; so does an index past the grid.
    HeaderClickSort(other, 1);
    EXPECT_EQ(mSortOrder, 0);
    EXPECT_EQ(HeaderClickSort(g, 7), SortResult::kUnchanged);
    EXPECT_EQ(mSortOrder, 1);
    EXPECT_EQ(HeaderClickSort(g, 0), SortResult::kSorted);
    EXPECT_EQ(mSortOrder, 0);
    EXPECT_EQ(Tags(g), "acb");
    EXPECT_EQ(HeaderClickSort(g, 1), SortResult::kSorted);  // text, descending
    EXPECT_EQ(Tags(g), "cba");
}

TEST_F(HeaderClickTest, FailedSortKeepsTheCurrentRow) {
    GridModel g("grdTest");
    FillSorted(g, {"1", "x"});
    g.SetCurrentRow(1);
    EXPECT_EQ(HeaderClickSort(g, 0), SortResult::kNotConvertible);
    EXPECT_EQ(g.CurrentRow(), 1);
    EXPECT_EQ(Tags(g), "ab");
}

// A date column sorts by its hidden day numbers and shows the direction on itself; a column
// without a kind and a sort_by that names no column leave the rows and the current row alone.
TEST_F(HeaderClickTest, ColumnsSortAsTheyDeclare) {
    GridModel g("grdTest");
    g.AddColumn({.name = "Date", .sort = SortKind::kDate, .sort_by = "ndate"});
    g.AddColumn({.name = "Note"});
    g.AddColumn({.name = "Lost", .sort = SortKind::kDate, .sort_by = "nolost"});
    g.AddColumn({.name = "ndate", .hidden = true});
    const char* dates[][2] = {
        {"12/31/2025", "20453"}, {"1/2/2026", "20455"}, {"6/1/2025", "20240"}};
    for (const auto& d : dates) {
        const int r = g.AddRow();
        g.SetCell(r, "Date", d[0]);
        g.SetCell(r, "ndate", d[1]);
    }
    EXPECT_TRUE(SortsOnHeader(g));
    g.SetCurrentRow(2);
    EXPECT_EQ(HeaderClickSort(g, 1), SortResult::kUnchanged);
    EXPECT_EQ(HeaderClickSort(g, 2), SortResult::kNoColumn);
    EXPECT_EQ(HeaderClickSort(g, 3), SortResult::kUnchanged);
    EXPECT_EQ(g.CurrentRow(), 2);
    EXPECT_EQ(g.SortColumn(), -1);
    EXPECT_EQ(mSortOrder, 1);
    EXPECT_EQ(HeaderClickSort(g, 0), SortResult::kSorted);  // ascending
    EXPECT_EQ(g.CellText(0, "Date"), "6/1/2025");
    EXPECT_EQ(g.CellText(2, "Date"), "1/2/2026");
    EXPECT_EQ(g.SortColumn(), 0);
    EXPECT_FALSE(g.SortDescending());

    GridModel plain("grdPlain");
    Fill(plain, {"1"});
    EXPECT_FALSE(SortsOnHeader(plain));
}

struct NumberCase {
    const char* text;
    bool ok;
    int64_t value;
};

TEST(ShownNumberTest, Table) {
    const NumberCase cases[] = {
        {"12", true, 12},
        {" 12 ", true, 12},
        {"$1,234.56", true, 1235},
        {"-$1.50", true, -2},
        {"$-2.50", true, -2},
        {"($3.50)", true, -4},
        {"$.00", true, 0},
        {".5", true, 0},
        {"1.5", true, 2},
        {"1.51", true, 2},
        {"0.49", true, 0},
        {"25.0%", true, 25},
        {"+7", true, 7},
        {"", false, 0},
        {"$", false, 0},
        {"abc", false, 0},
        {"1.2.3", false, 0},
        {"12/31/99", false, 0},
        {"--1", false, 0},
        {"9223372036854775807", true, INT64_MAX},
        {"9223372036854775808", false, 0},
        {"-9223372036854775808", true, INT64_MIN},
    };
    for (const NumberCase& c : cases) {
        int64_t v = 0;
        EXPECT_EQ(ShownNumber(c.text, v), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(v, c.value) << '"' << c.text << '"';
        }
    }
}

}  // namespace
}  // namespace dv
