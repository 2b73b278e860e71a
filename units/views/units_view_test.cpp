#include "units/views/units_view.h"

#include <gtest/gtest.h>

#include "sampledata/damage.h"
#include "units/record_chain.h"
#include "units/views/unit_detail.h"
#include "units/views/units_test_support.h"

namespace dv {
namespace {

using namespace units_test;

class UnitsViewTest : public views_test::ViewTest {
  protected:
    CapturingDetailHost recorder;
};

// Ledger records: 1 -> 2 -> 0 (100.00 + 5.50), 3 (-20.00), 4 (7.00), 5 (1.00).
void WriteLedger(sample::DataSetWriter& set) {
    AddLedger(set, {{10000, 2}, {550, 0}, {-2000, 0}, {700, 0}, {100, 0}});
}

// Day 1 reads as 1/1/68, the empty date: in stock here, unlike the Floor Plan view.
TEST_F(UnitsViewTest, UnitsInStockOfUnitLinesAddTheirLedgers) {
    AddLines(set, {{1, "UNITS", 'U'},
                   {2, "PARTS", 'P'},
                   {3, "EMPTY", 'U'},
                   {4, "CREDIT", 'U'},
                   {1000, "INTERNAL", 'U'}});
    AddUnits(set, {
                      {.line = 1, .number = "U1", .ledger = 1},
                      {.line = 1, .number = "U2", .sold_day = 1, .ledger = 4},
                      {.line = 1, .number = "U3", .sold_day = 20000, .ledger = 5},
                      {.line = 1, .number = "U4", .ledger = 0},
                      {.line = 2, .number = "U5", .ledger = 5},
                      {.line = 4, .number = "U6", .ledger = 3},
                      {.line = 1000, .number = "U7", .ledger = 5},
                  });
    WriteLedger(set);
    Start();
    auto view = Load<UnitsView>();
    const GridModel& g = view->grid();
    EXPECT_EQ(Column(g, "Line"), (std::vector<std::string>{"1", "3", "4"}));
    EXPECT_EQ(Column(g, "Total"), (std::vector<std::string>{"112.50", ".00", "-20.00"}));
    EXPECT_EQ(context.recap.Figure(kUnitsRecapLabel).caption, "$92.50");
    EXPECT_EQ(Caption(*view, "lblFpTot(0)"), "Total  : $92.50");

    // Each unit's cost is its own ledger only.
    view->SetDetailHost(&recorder);
    view->ButtonClick(kUnitsGrid, 0);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].caption, "Unit Detail");
    EXPECT_EQ(recorder.shown[0].labels[0].caption.substr(0, 14), "Line  1 - UNIT");
    ASSERT_EQ(recorder.shown[0].grids[0].rows.size(), 3u);
    EXPECT_EQ(recorder.shown[0].grids[0].rows[0][1], "U1      ");
    EXPECT_EQ(recorder.shown[0].grids[0].rows[0][4], "105.50");
    EXPECT_EQ(recorder.shown[0].grids[0].rows[1][4], "7.00");
    EXPECT_EQ(recorder.shown[0].grids[0].rows[2][4], ".00");
    EXPECT_EQ(recorder.shown[0].grids[0].rows[2][5], "1");
}

TEST_F(UnitsViewTest, NoUnitLineShowsZeroAndTotalSortsAsANumber) {
    AddLines(set, {{1, "A", 'U'}, {2, "B", 'U'}, {3, "C", 'U'}});
    AddUnits(set, {{.line = 1, .number = "U1", .ledger = 1},
                   {.line = 2, .number = "U2", .ledger = 3},
                   {.line = 3, .number = "U3", .ledger = 4}});
    AddLedger(set, {{900, 0}, {0, 0}, {100000, 0}, {2000, 0}});
    Start();
    auto view = Load<UnitsView>();
    view->HeaderClick(kUnitsGrid, 4);  // descending, by value: 1,000.00 above 20.00 above 9.00
    EXPECT_EQ(Column(view->grid(), "Total"),
              (std::vector<std::string>{"1,000.00", "20.00", "9.00"}));
    view->HeaderClick(kUnitsGrid, 2);  // hidden: flips only
    view->HeaderClick(kUnitsGrid, 0);  // descending again
    EXPECT_EQ(Column(view->grid(), "Line"), (std::vector<std::string>{"3", "2", "1"}));

    Reset();
}

class UnitsChainTest : public UnitsViewTest {
  protected:
    void ExpectFillError(ChainDamage damage, int32_t number) {
        AddLines(set, {{1, "FIRST", 'U'}, {2, "SECOND", 'U'}});
        AddUnits(set, {{.line = 1, .number = "U1", .ledger = 5},
                       {.line = 2, .number = "U2", .ledger = 1}});
        WriteLedger(set);
        sample::DataSetImage image = set.Build();
        damage(image, "LUNITL", 61, 4, 0);
        Start(image);
        auto view = Load<UnitsView>();
        EXPECT_EQ(Column(view->grid(), "Line"), (std::vector<std::string>{"1"}));  // kept
        EXPECT_EQ(context.recap.Figure(kUnitsRecapLabel).caption, "Data Error !");
        EXPECT_TRUE(context.recap.Figure(kUnitsRecapLabel).red);
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_EQ(log.lines()[0].rfind("*Error in frmUnits GetUnitData routine error # :  " +
                                           std::to_string(number) + "  Damaged chain in LUNITL",
                                       0),
                  0u);
        // The good line's detail still opens.
        view->SetDetailHost(&recorder);
        view->ButtonClick(kUnitsGrid, 0);
        EXPECT_TRUE(recorder.shown.size() == 1u && recorder.messages.empty());
    }
};

TEST_F(UnitsChainTest, ALoopingLedgerChainTakesTheFillsErrorPath) {
    ExpectFillError(&sample::damage::LoopRecordChain, err::kChainCycle);
}

TEST_F(UnitsChainTest, ALedgerPointerPastTheLastRecordTakesTheFillsErrorPath) {
    ExpectFillError(&sample::damage::ChainPastLastRecord, err::kChainPointer);
}

TEST_F(UnitsViewTest, ARangeMessageLeavesTheTotalLabelAtItsDesignCaption) {
    AddLines(set, {{1, "A", 'U'}, {2, "B", 'U'}});
    AddUnits(set,
             {{.line = 1, .number = "U1", .ledger = 1}, {.line = 2, .number = "U2", .ledger = 2}});
    AddLedger(set, {{900, 0}, {100, 0}});
    sample::DataSetImage image = set.Build();
    sample::damage::SetRoot(image, "LUNITI");
    Start(image);
    auto view = Load<UnitsView>();
    EXPECT_EQ(context.recap.Figure(kUnitsRecapLabel).caption, "Data Error !");
    EXPECT_EQ(Caption(*view, "lblFpTot(0)"), "Label3");
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("*Error in frmUnits GetUnitData routine error # :  ", 0), 0u);
}

TEST_F(UnitsViewTest, AUnitRecordTooShortForItsSoldDayCountsInStock) {
    AddLines(set, {{1, "UNITS", 'U'}});
    AddUnits(set, {{.line = 1, .number = "U1", .sold_day = 20000, .ledger = 1}});
    AddLedger(set, {{500, 0}});
    sample::DataSetImage image = set.Build();
    sample::damage::ShortenRecords(image, "UNITL", 140);
    Start(image);
    auto view = Load<UnitsView>();
    EXPECT_EQ(Column(view->grid(), "Total"), (std::vector<std::string>{".00"}));  // no ledger
    view->SetDetailHost(&recorder);
    view->ButtonClick(kUnitsGrid, 0);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].grids[0].rows.size(), 1u);
}

// The 25 rows, the captions as stored and only an exact UNITI hit.
TEST_F(UnitsViewTest, UnitInformationRowsAndCaptions) {
    sample::DataSetOptions options;
    options.unit_captions = {"HRS", "ENGINE #", "OPTIONS", "KEY NO"};
    sample::DataSetWriter writer(options);
    AddLines(writer, {{1, "UNITS", 'U'}});
    AddUnits(writer, {{.line = 1, .number = "U1", .meter = 12345},
                      {.line = 1, .number = "U3", .ledger = 0}});
    AddLedger(writer, {{1, 0}});
    writer.File0().Block(4).Raw(441, "############");
    Start(writer.Build());

    const std::array<std::string, 4> captions = GetUnitLabels();
    EXPECT_EQ(captions,
              (std::array<std::string, 4>{"HRS     ", "ENGINE #", "OPTIONS ", "KEY NO  "}));

    auto info = BuildUnitInfo("U1      ");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->caption(), "Unit : U1      ");
    const GridModel& grid = *info->grids()[0];
    std::vector<std::string> captions_shown, values;
    for (int r = 0; r < grid.RowCount(); ++r) {
        captions_shown.push_back(grid.CellText(r, "Col1"));
        values.push_back(grid.CellText(r, "Col2"));
    }
    const std::vector<std::string> expected_captions = {"Serial Number (VID)",
                                                        "Manufacturer ID",
                                                        "Model Year",
                                                        "Series #",
                                                        "Engine Type",
                                                        "Engine ID #",
                                                        "Drive Type 2/4",
                                                        "Color",
                                                        "Meter",
                                                        "Status",
                                                        "Unit Type",
                                                        "Location",
                                                        "OPTIONS ",
                                                        "KEY NO  ",
                                                        "HRS     ",
                                                        "ENGINE #",
                                                        "",
                                                        "Sold To",
                                                        "Salesman",
                                                        "Date IN",
                                                        "Date Sold",
                                                        "Invoice #",
                                                        "Dealer List",
                                                        "Suggested List",
                                                        "Sold For"};
    EXPECT_EQ(captions_shown, expected_captions);
    EXPECT_EQ(values[8], "12345.0");
    EXPECT_EQ(values[19], "1/1/1968");  // the empty receipt date as text
    EXPECT_EQ(values[20], "");
    EXPECT_EQ(values[16], "");

    // U2 is not in UNITI: no information, never U3's.
    EXPECT_EQ(BuildUnitInfo("U2      "), nullptr);
    GridModel detail("grdUnitDtl");
    detail.AddColumn({"Unit", "Unit", "", false, true, CellAlignment::kLeft, 0});
    detail.SetCell(detail.AddRow(), "Unit", "U2      ");
    ShowUnitInfo(detail, 0, recorder);
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(recorder.messages, (std::vector<std::string>{"Unit U2 was not found."}));
}

TEST(UnitInfoRowsTest, TheGoldenTableOfOneUnit) {
    clsUnits u;
    u.Unit_Serial_Number = "KT2540A0011223    ";
    u.Manufacturers_Identificati = "KES01";
    u.Model_Year = 2023;
    u.Model_Series_Number = "S100";
    u.Engine_Type = "D3";
    u.Engine_ID_Number = "ENG-55012   ";
    u.Drive_type_2wd_4wd = "4W";
    u.Unit_Color = "GREEN";
    u.Meter_Reading = 0;
    u.Unit_Status_A_R_S_U = "A";
    u.User_Defined_Unit_Type = "T";
    u.Location_of_Unit = "LOT 3 ";
    u.User_Defined_Alpha_1 = "CAB HEAT    ";
    u.User_Defined_Alpha_2 = "KEY 44      ";
    u.User_Defined_Numeric_1 = -12;
    u.User_Defined_Numeric_2 = 300;
    u.Sold_To_Customer_Number = 40217;
    u.Selling_Salesman_Number = 7;
    u.Date_Received_In = MakeDate(2024, 2, 29);
    u.Date_Sold = MakeDate(2024, 11, 2);
    u.Sold_Invoice_Number = 880123;
    u.Dealers_List_Price = 2850000;
    u.Suggested_LIst_Price = 123450;
    u.Amount_Sold_For = -1234;
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Serial Number (VID)", "KT2540A0011223    "},
        {"Manufacturer ID", "KES01"},
        {"Model Year", "2023"},
        {"Series #", "S100"},
        {"Engine Type", "D3"},
        {"Engine ID #", "ENG-55012   "},
        {"Drive Type 2/4", "4W"},
        {"Color", "GREEN"},
        {"Meter", "0.0"},
        {"Status", "A"},
        {"Unit Type", "T"},
        {"Location", "LOT 3 "},
        {"COLOR   ", "CAB HEAT    "},
        {"KEY NO  ", "KEY 44      "},
        {"HOURS   ", "-12"},
        {"ENGINE  ", "300"},
        {"", ""},
        {"Sold To", "40217"},
        {"Salesman", "7"},
        {"Date IN", "2/29/2024"},
        {"Date Sold", "11/2/2024"},
        {"Invoice #", "880123"},
        {"Dealer List", "28500"},
        {"Suggested List", "1234.5"},
        {"Sold For", "-12.34"},
    };
    EXPECT_EQ(UnitInfoRows(u, {"HOURS   ", "ENGINE  ", "COLOR   ", "KEY NO  "}), expected);
}

}  // namespace
}  // namespace dv
