#include "units/views/floor_plan_view.h"

#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "sampledata/damage.h"
#include "units/record_chain.h"
#include "units/views/floor_plan_detail.h"
#include "units/views/units_test_support.h"

namespace dv {
namespace {

using namespace units_test;
using views_test::AddParts;
using views_test::PartRec;

class FloorPlanViewTest : public views_test::ViewTest {
  protected:
    ~FloorPlanViewTest() override { ResetAlphabet(); }
    CapturingDetailHost recorder;
};

// Day 1 reads as 1/1/68 but the view tests the raw day, so it counts as sold.
TEST_F(FloorPlanViewTest, OnlyUnitsNeitherSoldNorInvoicedCountAtTheirCostRule) {
    AddLines(set, {{1, "UNITS", 'U'},
                   {2, "PARTS", 'P'},
                   {3, "ALL SOLD", 'U'},
                   {4, "WASH", 'U'},
                   {5, "CREDIT", 'U'},
                   {1000, "INTERNAL", 'U'}});
    AddParts(set, {{1, "MX200", 5555, "TRACTOR"}, {1, "MX300", 7000, "LOADER"}});
    AddFloorPlan(set, {
                          {.line = 1, .model = "MX100", .serial = "A", .cost = 10000},
                          {.line = 1, .serial = "B", .sold_day = 9000, .cost = 1000},
                          {.line = 1, .serial = "C", .invoice = 77, .cost = 2000},
                          {.line = 1, .serial = "D", .sold_day = 1, .cost = 4000},
                          {.line = 1, .model = "MX200", .serial = "E", .cost = 0},
                          {.line = 1, .model = "MX30", .serial = "F", .cost = 0},  // inexact
                          {.line = 2, .serial = "G", .cost = 150},  // any line type counts
                          {.line = 3, .serial = "H", .sold_day = 5, .invoice = 5, .cost = 900},
                          {.line = 4, .serial = "I", .cost = 500},
                          {.line = 4, .serial = "J", .cost = -500},
                          {.line = 5, .serial = "K", .cost = -1234},
                          {.line = 1000, .serial = "L", .cost = 99999},
                      });
    Start();
    auto view = Load<FloorPlanView>();
    const GridModel& g = view->grid();
    EXPECT_EQ(Column(g, "Line"), (std::vector<std::string>{"1", "2", "5"}));
    EXPECT_EQ(Column(g, "Name")[0].substr(0, 5), "UNITS");
    EXPECT_EQ(Column(g, "Cost"), (std::vector<std::string>{"155.55", "1.50", "-12.34"}));
    EXPECT_EQ(Column(g, "Extents"), (std::vector<std::string>{".00", ".00", ".00"}));
    EXPECT_EQ(Column(g, "Total"), Column(g, "Cost"));
    EXPECT_EQ(Column(g, "ndateIn"), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(context.recap.Figure(kFloorPlanRecapLabel).caption, "$144.71");
    EXPECT_EQ(Caption(*view, "lblFpTot(0)"), "Total  : $144.71");
    EXPECT_EQ(Caption(*view, "Label2"), "Extents NOT included in totals");
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(FloorPlanViewTest, NoQualifyingUnitShowsZeroInBothTotals) {
    AddLines(set, {{1, "UNITS", 'U'}});
    AddParts(set, {});
    AddFloorPlan(set, {{.line = 1, .sold_day = 3, .cost = 100}});
    Start();
    auto view = Load<FloorPlanView>();
    EXPECT_EQ(view->grid().RowCount(), 0);
    EXPECT_EQ(context.recap.Figure(kFloorPlanRecapLabel).caption, "$.00");
    EXPECT_EQ(Caption(*view, "lblFpTot(0)"), "Total  : $.00");
}

TEST_F(FloorPlanViewTest, AFailedFillKeepsItsRowsAndMarksTheRecapLabel) {
    AddLines(set, {{1, "FIRST", 'U'}, {2, "SECOND", 'U'}});
    AddParts(set, {});
    AddFloorPlan(set,
                 {{.line = 1, .serial = "A", .cost = 100}, {.line = 2, .serial = "B", .cost = 5}});
    sample::DataSetImage image = set.Build();
    sample::damage::RecordPointerPastLastRecord(image, "FPLNI", "FPLNL", 1);
    Start(image);
    auto view = Load<FloorPlanView>();
    EXPECT_EQ(Column(view->grid(), "Line"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(context.recap.Figure(kFloorPlanRecapLabel).caption, "Data Error !");
    EXPECT_TRUE(context.recap.Figure(kFloorPlanRecapLabel).red);
    EXPECT_EQ(Caption(*view, "lblFpTot(0)"), "Label3");
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("*Error in frmFp GetFpData routine error # :  81  ", 0), 0u);
}

// The index's range message ends each line's search as if nothing were found; the fill then
// takes its error path, and the sum of what it saw is no total.
TEST_F(FloorPlanViewTest, ARangeMessageLeavesTheTotalLabelAtItsDesignCaption) {
    AddLines(set, {{1, "FIRST", 'U'}, {2, "SECOND", 'U'}});
    AddParts(set, {});
    AddFloorPlan(set,
                 {{.line = 1, .serial = "A", .cost = 100}, {.line = 2, .serial = "B", .cost = 5}});
    sample::DataSetImage image = set.Build();
    sample::damage::SetRoot(image, "FPLNI");
    Start(image);
    auto view = Load<FloorPlanView>();
    EXPECT_EQ(context.recap.Figure(kFloorPlanRecapLabel).caption, "Data Error !");
    EXPECT_EQ(Caption(*view, "lblFpTot(0)"), "Label3");
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("*Error in frmFp GetFpData routine error # :  ", 0), 0u);
}

TEST_F(FloorPlanViewTest, HeaderClicksSortByTheTableAndHiddenColumnsOnlyFlipTheToggle) {
    AddLines(set, {{2, "BETA", 'U'}, {10, "ALPHA", 'U'}, {30, "GAMMA", 'U'}});
    AddParts(set, {});
    AddFloorPlan(set,
                 {{.line = 2, .cost = 900}, {.line = 10, .cost = 100000}, {.line = 30, .cost = 5}});
    Start();
    auto view = Load<FloorPlanView>();
    view->HeaderClick(kFloorPlanGrid, 0);  // the first click sorts descending
    EXPECT_EQ(Column(view->grid(), "Line"), (std::vector<std::string>{"30", "10", "2"}));
    view->HeaderClick(kFloorPlanGrid, 3);  // hidden: flips only
    EXPECT_EQ(Column(view->grid(), "Line"), (std::vector<std::string>{"30", "10", "2"}));
    view->HeaderClick(kFloorPlanGrid, 6);  // Total, descending again
    EXPECT_EQ(Column(view->grid(), "Line"), (std::vector<std::string>{"10", "2", "30"}));
}

class FloorPlanDetailTest : public FloorPlanViewTest {
  protected:
    // Line 7 with three open units (one with an extent chain of four records), one sold.
    void Write() {
        AddLines(set, {{7, "KESTREL UNITS", 'U'}});
        AddParts(set, {{7, "MX200", 5555, "TRACTOR"}, {3, "BELT9", 120, "DRIVE BELT"}});
        AddFloorPlan(set, {
                              {.line = 7,
                               .model = "MX100",
                               .serial = "SN-1",
                               .cost = 250000,
                               .account = 40217,
                               .received = 20000,
                               .due = 20100,
                               .extents = 1},
                              {.line = 7, .model = "MX200", .serial = "SN-2", .cost = 0},
                              {.line = 7, .model = "MX900", .serial = "SN-3", .sold_day = 4},
                              {.line = 7, .model = "MX300", .serial = "SN-4", .cost = 0},
                          });
        AddExtents(
            set,
            {
                {.line = 3, .text = "BELT9", .quantity = 2, .cost = 120, .net = 240, .next = 2},
                {.code = "REM", .text = "CALL BEFORE DELIVERY", .next = 3},
                {.code = "MSC", .text = "MISC", .next = 4},
                {.line = 3, .text = "NLA1", .quantity = 1, .cost = 10, .net = 10},
            });
    }
    void ExpectBrokenChain(ChainDamage damage, int32_t number);
    std::unique_ptr<FloorPlanView> view;
};

TEST_F(FloorPlanDetailTest, TheDetailListsOpenUnitsAndItsButtonTheExtents) {
    Write();
    Start();
    view = Load<FloorPlanView>();
    view->SetDetailHost(&recorder);
    bool clicked = false;
    recorder.on_show = [&](DetailForm& f, DetailHost& host) {
        if (f.form_name() != kFloorPlanDetailForm || clicked) return;
        clicked = true;
        f.ButtonClick(kFloorPlanDetailGrid, 1, host);  // "No": nothing opens
        f.ButtonClick(kFloorPlanDetailGrid, 0, host);
    };
    view->ButtonClick(kFloorPlanGrid, 0);
    ASSERT_EQ(recorder.shown.size(), 2u);
    const DetailSnapshot& detail = recorder.shown[0];
    EXPECT_EQ(detail.caption, "Floor Plan Detail");
    EXPECT_EQ(detail.labels[0].caption.substr(0, 21), "Line  7 - KESTREL UNI");
    ASSERT_EQ(detail.grids[0].rows.size(), 3u);
    // Model, Serial, Ext, Date Sold, Cust #, Invoice, Amount, Date In, Date Due, Ref 1, Ref 2,
    // Date Paid, Pmt #, Cost, Extptr.
    const std::vector<std::string> first = {"MX100             ",
                                            "SN-1              ",
                                            "Yes",
                                            "",
                                            "40217",
                                            "0",
                                            ".00",
                                            "10/3/2022",
                                            "1/11/2023",
                                            "R1       ",
                                            "R2    ",
                                            "",
                                            "      ",
                                            "2,500.00",
                                            "1"};
    EXPECT_EQ(detail.grids[0].rows[0], first);
    EXPECT_EQ(detail.grids[0].rows[1][2], "No");
    EXPECT_EQ(detail.grids[0].rows[1][7], "10/3/2022");
    EXPECT_EQ(detail.grids[0].rows[1][13], "55.55");  // the model's part cost
    EXPECT_EQ(detail.grids[0].rows[2][13], ".00");    // no part of that model

    const DetailSnapshot& extents = recorder.shown[1];
    EXPECT_EQ(extents.form_name, kExtentsForm);
    EXPECT_EQ(extents.caption, "Extents...     Model MX100 - SN-1");
    const std::vector<std::vector<std::string>> rows = {
        {"3", "BELT9             ", "DRIVE BELT           ", "2", "1.20", "2.40"},
        {"REM", "", "CALL BEFORE DELIVERY                ", "", "", ""},
        {"MSC", "", "Description Not Found", "", "", ""},
        {"3", "NLA1              ", "Description Not Found", "1", ".10", ".10"},
    };
    EXPECT_EQ(extents.grids[0].rows, rows);
    EXPECT_TRUE(recorder.messages.empty());
}

// The detail's header clicks sort its grid with the program-wide toggle; the hidden Extptr only
// flips it.
TEST_F(FloorPlanDetailTest, HeaderClicksSortTheDetailGrid) {
    Write();
    Start();
    view = Load<FloorPlanView>();
    view->SetDetailHost(&recorder);
    mSortOrder = 0;
    std::vector<SortResult> results;
    recorder.on_show = [&](DetailForm& f, DetailHost&) {
        results.push_back(f.HeaderClick(kFloorPlanDetailGrid, 13));  // Cost, descending
        results.push_back(f.HeaderClick(kFloorPlanDetailGrid, 14));  // Extptr: flips only
        results.push_back(f.HeaderClick(kFloorPlanDetailGrid, 0));   // Model, descending
    };
    view->ButtonClick(kFloorPlanGrid, 0);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(results, (std::vector<SortResult>{SortResult::kSorted, SortResult::kUnchanged,
                                                SortResult::kSorted}));
    std::vector<std::string> models;
    for (const auto& row : recorder.shown[0].grids[0].rows) models.push_back(row[0].substr(0, 5));
    EXPECT_EQ(models, (std::vector<std::string>{"MX300", "MX200", "MX100"}));
}

// A broken extent chain ends the listing with a message and a log line; the program and the
// detail go on.
void FloorPlanDetailTest::ExpectBrokenChain(ChainDamage damage, int32_t number) {
    Write();
    sample::DataSetImage image = set.Build();
    damage(image, "FPEXL", 29, 3, 0);
    Start(image);
    view = Load<FloorPlanView>();
    view->SetDetailHost(&recorder);
    recorder.on_show = [](DetailForm& f, DetailHost& host) {
        if (f.form_name() == kFloorPlanDetailForm) f.ButtonClick(kFloorPlanDetailGrid, 0, host);
    };
    view->ButtonClick(kFloorPlanGrid, 0);
    ASSERT_EQ(recorder.shown.size(), 1u);  // the detail, not the extents
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].rfind("The extents could not be shown.  Error " +
                                             std::to_string(number) + " : Damaged chain in FPEXL",
                                         0),
              0u);
    ASSERT_FALSE(log.lines().empty());
    EXPECT_EQ(log.lines().back().rfind("*Error in frmFpdtl grdFpdtl_BtnClick routine", 0), 0u);
}

TEST_F(FloorPlanDetailTest, ALoopingExtentChainShowsAMessage) {
    ExpectBrokenChain(&sample::damage::LoopRecordChain, err::kChainCycle);
}

TEST_F(FloorPlanDetailTest, AnExtentPointerPastTheLastRecordShowsAMessage) {
    ExpectBrokenChain(&sample::damage::ChainPastLastRecord, err::kChainPointer);
}

}  // namespace
}  // namespace dv
