#include "units/views/unit_detail.h"

#include <cstdlib>

#include "engine/business_basic.h"
#include "engine/control_file.h"
#include "engine/index_cursor.h"
#include "engine/numeric.h"
#include "records/clock_text.h"
#include "shell/detail_trap.h"
#include "shell/number_format.h"
#include "shell/options.h"

namespace dv {
namespace {

constexpr std::string_view kAmountFormat = "###,###,###.00";
constexpr std::string_view kMeterFormat = "######0.0";

using namespace grid_columns;

const GridColumn kDetailColumns[] = {
    {"Model", "Model", "", false, false, kLeft, 0},
    {"Unit", "Unit", "", false, true, kLeft, 0},
    {"Make", "Make", "", false, false, kLeft, 0},
    {"Description", "Description", "", false, false, kLeft, 0},
    {"Cost", "Cost", "", false, false, kRight, 0},
    {"line", "line", "", true, false, kRight, 0},
};

const GridColumn kInfoColumns[] = {
    {"Col1", "Field", "", false, false, kLeft, 0},
    {"Col2", "Value", "", false, false, kLeft, 0},
    {"Total", "", "", true, false, kRight, 0},
};

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::array<std::string, 4> GetUnitLabels() {
    const std::unique_ptr<ControlFile> file = EngineControlFile(mBusinessBasic);
    const std::string block = file->ReadBlock(file0::kUnitCaptionBlock);
    std::array<std::string, 4> captions;
    for (size_t i = 0; i < captions.size(); ++i) {
        const auto at = static_cast<size_t>(file0::kUnitCaptionAt[i]);
        if (at <= block.size()) captions[i] = block.substr(at - 1, file0::kUnitCaptionSize);
    }
    file->Close();
    return captions;
}

std::string PlainAmount(int64_t cents) {
    const uint64_t magnitude =
        cents < 0 ? 0 - static_cast<uint64_t>(cents) : static_cast<uint64_t>(cents);
    std::string text = std::to_string(magnitude / 100);
    const uint64_t fraction = magnitude % 100;
    if (fraction != 0) {
        text += '.';
        text += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
    }
    return cents < 0 ? "-" + text : text;
}

std::vector<std::pair<std::string, std::string>> UnitInfoRows(
    const clsUnits& u, const std::array<std::string, 4>& captions) {
    return {
        {"Serial Number (VID)", u.Unit_Serial_Number},
        {"Manufacturer ID", u.Manufacturers_Identificati},
        {"Model Year", std::to_string(u.Model_Year)},
        {"Series #", u.Model_Series_Number},
        {"Engine Type", u.Engine_Type},
        {"Engine ID #", u.Engine_ID_Number},
        {"Drive Type 2/4", u.Drive_type_2wd_4wd},
        {"Color", u.Unit_Color},
        {"Meter", FormatNumber(Number::Whole(u.Meter_Reading), kMeterFormat)},
        {"Status", u.Unit_Status_A_R_S_U},
        {"Unit Type", u.User_Defined_Unit_Type},
        {"Location", u.Location_of_Unit},
        {captions[2], u.User_Defined_Alpha_1},
        {captions[3], u.User_Defined_Alpha_2},
        {captions[0], std::to_string(u.User_Defined_Numeric_1)},
        {captions[1], std::to_string(u.User_Defined_Numeric_2)},
        {"", ""},
        {"Sold To", std::to_string(u.Sold_To_Customer_Number)},
        {"Salesman", std::to_string(u.Selling_Salesman_Number)},
        {"Date IN", ShortDateText(u.Date_Received_In)},
        {"Date Sold", IsEmptyDate(u.Date_Sold) ? std::string() : ShortDateText(u.Date_Sold)},
        {"Invoice #", std::to_string(u.Sold_Invoice_Number)},
        {"Dealer List", PlainAmount(u.Dealers_List_Price)},
        {"Suggested List", PlainAmount(u.Suggested_LIst_Price)},
        {"Sold For", PlainAmount(u.Amount_Sold_For)},
    };
}

std::unique_ptr<DetailForm> BuildUnitDetail(const std::string& line_text, const std::string& name) {
    auto form = std::make_unique<DetailForm>(std::string(kUnitDetailForm), "Unit Detail");
    form->AddLabel("Label1", "Line  " + line_text + " - " + name);
    GridModel& grid = form->AddGrid(std::string(kUnitDetailGrid));
    for (const GridColumn& c : kDetailColumns) grid.AddColumn(c);
    const int32_t line = ParseLong(line_text, "grdUnits_BtnClick");
    ForEachUnitInStock(line, [&grid](const clsUnits& u, int64_t cost) {
        const int r = grid.AddRow();
        grid.SetCell(r, "Model", u.Model_Number);
        grid.SetCell(r, "Unit", u.Unit_Number);
        grid.SetCell(r, "Make", u.Make_or_Manufacturer);
        grid.SetCell(r, "Description", u.Model_Description);
        grid.SetCell(r, "Cost", FormatNumber(Number::Cents(cost), kAmountFormat), cost);
        grid.SetCell(r, "line", std::to_string(u.Line), u.Line);
    });
    grid.MoveFirst();
    form->SetButtonHandler(
        [](DetailForm& self, std::string_view grid_name, int row, DetailHost& host) {
            if (GridModel* units = self.FindGrid(grid_name)) ShowUnitInfo(*units, row, host);
        });
    return form;
}

std::string UnitNotFoundText(const std::string& unit_number) {
    return "Unit " + Trimmed(unit_number) + " was not found.";
}

std::unique_ptr<DetailForm> BuildUnitInfo(const std::string& unit_number) {
    const std::array<std::string, 4> captions = GetUnitLabels();
    cBusinessBasic& engine = RequireEngine("grdUnitDtl_BtnClick");
    const int32_t record = FindRecord(engine, "UNITI", unit_number);
    if (record == 0) return nullptr;
    clsUnits unit;
    int16_t flag = 0;
    unit.Unpack(engine.LreadFile("UNITL", record, flag));
    auto form = std::make_unique<DetailForm>(std::string(kUnitInfoForm), "Unit : " + unit_number);
    GridModel& grid = form->AddGrid(std::string(kUnitInfoGrid));
    for (const GridColumn& c : kInfoColumns) grid.AddColumn(c);
    for (const auto& [caption, value] : UnitInfoRows(unit, captions)) {
        const int r = grid.AddRow();
        grid.SetCell(r, "Col1", caption);
        grid.SetCell(r, "Col2", value);
    }
    grid.MoveFirst();
    return form;
}

void ShowUnitDetail(const std::string& line_text, const std::string& name, DetailHost& host) {
    DetailTrap trap("frmUnits", "grdUnits_BtnClick");
    const bool shown = trap.Step([&] {
        auto form = BuildUnitDetail(line_text, name);
        host.Show(*form);
    });
    if (!shown) trap.ReportNotShown(host, "The unit detail");
}

void ShowUnitInfo(GridModel& detail, int row, DetailHost& host) {
    if (!detail.SelectRow(row)) return;
    const std::string unit_number = detail.CellText(row, "Unit");
    DetailTrap trap(kUnitDetailForm, "grdUnitDtl_BtnClick");
    const bool shown = trap.Step([&] {
        auto form = BuildUnitInfo(unit_number);
        if (!form) {
            host.Message(UnitNotFoundText(unit_number));
            return;
        }
        host.Show(*form);
    });
    if (!shown) trap.ReportNotShown(host, "The unit information");
}

}  // namespace dv
