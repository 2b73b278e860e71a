#include "sales/views/ar_view.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/test_support.h"
#include "test_support/views/view_test_support.h"

namespace dv {
namespace {

using views_test::ViewTest;

class ARViewTest : public ViewTest {
  protected:
    void SetUp() override { Start(); }
    void WriteSummary(const std::string& text) {
        dv::testing::WriteFile(DataFolder() + "/DARR.KRLI", text);
    }
};

// n lines of "TEXT i,i*100" after the header, each ending in eol.
std::string Lines(int n, const std::string& eol = "\r\n") {
    std::string text = "A/R SUMMARY" + eol;
    for (int i = 2; i <= n; ++i)
        text += "ROW " + std::to_string(i) + "," + std::to_string(i * 100) + eol;
    return text;
}

TEST_F(ARViewTest, FileContents) {
    const struct {
        const char* name;
        std::string text;  // "<none>": no file
        int current_rows;
        int future_rows;
        std::string recap;              // recap label 0 afterwards
        int error = 0;                  // the logged error number, 0 for none
        std::string last_balance = "";  // of the last current row
    } cases[] = {
        // Missing: both grids hidden, the recap label left as it was, no error. Empty: both
        // grids shown empty, no error. Lines that end before the total at line 30: the rows
        // read stay, and the fill ends in its error path.
        {"missing", "<none>", 0, 0, "", 0},
        {"empty", "", 0, 0, "", 0},
        {"a header alone", "A/R SUMMARY\r\n", 0, 0, kDataError.data(), 1071},
        {"29 lines", Lines(29), 28, 0, kDataError.data(), 1071, "$29.00"},
        {"30 lines", Lines(30), 29, 0, "$30.00", 0, "$30.00"},
        {"35 lines", Lines(35), 29, 5, "$30.00", 0, "$30.00"},
        {"line feeds only", Lines(31, "\n"), 29, 1, "$30.00", 0, "$30.00"},
        {"no line end at the end", Lines(30).substr(0, Lines(30).size() - 2), 29, 0, "$30.00", 0,
         "$30.00"},
        {"blank header", "\r\n" + Lines(30).substr(13), 29, 0, "$30.00", 0, "$30.00"},
        {"double comma", "H\r\nCURRENT,,123456\r\n", 1, 0, kDataError.data(), 1071, "$1,234.56"},
        {"zero and negative", "H\r\nZERO,0\r\nCREDITS,-500\r\n", 2, 0, kDataError.data(), 1071,
         "-$5.00"},
        {"only a comma and an amount", "H\r\nA,1\r\n,123\r\nB,2\r\n", 1, 0, kDataError.data(), 9,
         "$.01"},
        {"blank line", "H\r\nA,1\r\n\r\nB,2\r\n", 1, 0, kDataError.data(), 9, "$.01"},
        {"amount no number", "H\r\nA,1\r\nB,12X\r\n", 1, 0, kDataError.data(), 13, "$.01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(DataFolder() + "/DARR.KRLI");
        if (c.text != "<none>") WriteSummary(c.text);
        testing::TestContext fresh;
        log.Take();
        auto view = std::make_unique<ARView>();
        view->RunLoad(fresh);
        const GridModel& current = *view->FindGrid(kARCurrentGrid);
        const GridModel& future = *view->FindGrid(kARFutureGrid);
        EXPECT_EQ(current.RowCount(), c.current_rows);
        EXPECT_EQ(future.RowCount(), c.future_rows);
        EXPECT_EQ(current.visible(), c.text != "<none>");
        EXPECT_EQ(future.visible(), c.text != "<none>");
        EXPECT_EQ(fresh.recap.Figure(recap::kAR).caption, c.recap);
        EXPECT_EQ(fresh.recap.Figure(recap::kAR).red, c.error != 0);
        const std::vector<std::string> lines = log.Take();
        if (c.error != 0) {
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_EQ(lines[0].rfind("*Error in frmAr GetAR routine error # :  " +
                                         std::to_string(c.error) + "  ",
                                     0),
                      0u)
                << lines[0];
        } else {
            EXPECT_TRUE(lines.empty());
        }
        if (!c.last_balance.empty() && current.RowCount() > 0) {
            EXPECT_EQ(current.CellText(current.RowCount() - 1, "Balance"), c.last_balance);
        }
    }
}

TEST_F(ARViewTest, RowsCarryTextAndAmountAndTheCounterDoesNotWrap) {
    // Well past 32767 lines: the counter is a full integer, so the file loads to its end.
    std::string text = Lines(30);
    for (int i = 0; i < 33000; ++i) text += "P,1\r\n";
    WriteSummary(text);
    auto view = Load<ARView>();
    const GridModel& current = *view->FindGrid(kARCurrentGrid);
    EXPECT_EQ(current.CellText(0, "Description"), "ROW 2");
    EXPECT_EQ(current.CellText(0, "Balance"), "$2.00");
    EXPECT_EQ(current.CellText(0, "% Total"), "");
    EXPECT_EQ(view->FindGrid(kARFutureGrid)->RowCount(), 33000);
    EXPECT_FALSE(context.recap.Figure(recap::kAR).red);
    EXPECT_EQ(context.recap.Figure(recap::kAR).caption, "$30.00");
}

}  // namespace
}  // namespace dv
