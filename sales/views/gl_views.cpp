#include "sales/views/gl_views.h"

#include <cstdint>
#include <limits>
#include <string>

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/error.h"
#include "engine/index_cursor.h"
#include "shell/number_format.h"
#include "shell/recap_board.h"
#include "shell/settings_store.h"
#include "shell/splash.h"

namespace dv {
namespace {

using namespace grid_columns;

const GridColumn kColumns[] = {
    {"Co #", "Co #", "", false, false, kRight, 0},
    {"Account", "Account", "", false, false, kRight, 0},
    {"Description", "Description", "", false, false, kLeft, 0},
    {"Balance", "Balance", "", false, false, kRight, 0},
};

// A list entry's number as the 32-bit value the key is packed with.
int32_t KeyNumber(int64_t value) {
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        RaisePlatform(err::kOverflow, "GetGLData");
    return static_cast<int32_t>(value);
}

}  // namespace

GLView::GLView(GLClass gl_class)
    : View(std::string(SideOf(gl_class).form), std::string(SideOf(gl_class).caption)),
      side_(SideOf(gl_class)) {
    AddLabel("Label1", std::string(side_.heading));
    AddLabel("lbltotal");
    const int recalc = AddLabel("lblReCalc", std::string(kReCalcCaption));
    SetLabelVisible(recalc, false);
    grid_ = &AddGrid(std::string(side_.grid));
    for (const GridColumn& c : kColumns) grid_->AddColumn(c);
    AddCommand(std::string(kSetupCommand), "&Select Accounts");
    // "Re-Calculating... please wait !" comes up beside the total while a refill runs.
    SetLayout(layout::Titled(std::string(side_.grid),
                             {layout::Total("lbltotal"), layout::Label("lblReCalc")}));
}

void GLView::Load(ViewContext& context) {
    context_ = &context;
    context.Splash().SetProgress(std::string(side_.progress));
    RunFill(context, "GetGLData", {side_.recap_label}, [&] { GetGLData(context); });
}

void GLView::GetGLData(ViewContext& context) {
    const std::vector<GLAccountRef> list =
        ParseAccountList(AppSettings().Get(kSettingsApplication, side_.section, kSettingsKey));
    grid_->RemoveAll();
    int64_t total = 0;
    bool balance_failed = false;

    cBusinessBasic& engine = RequireEngine("GetGLData");
    int16_t flag = 0;
    for (const GLAccountRef& entry : list) {
        std::string key(6, '\0');
        Pack("C", key, KeyNumber(entry.company), 1);
        Pack("L", key, KeyNumber(entry.account), 3);
        const int32_t record = FindRecord(engine, "CHRTI", key);
        if (record == 0) continue;  // no such account in the chart
        const ChartAccount account = ReadChartRecord(engine.LreadFile("CHRTL", record, flag));
        std::string detail_key(10, '\0');
        Pack("C", detail_key, account.company, 1);
        Pack("L", detail_key, account.account, 3);
        const int row = grid_->AddRow();
        grid_->SetCell(row, "Co #", std::to_string(account.company), account.company);
        grid_->SetCell(row, "Account", std::to_string(account.account), account.account);
        grid_->SetCell(row, "Description", account.name);
        const std::optional<int64_t> balance =
            GetGLBalance(detail_key, account.account, side_.form);
        if (!balance) balance_failed = true;
        total += balance.value_or(0);
        grid_->SetCell(row, "Balance",
                       FormatNumber(Number::Cents(balance.value_or(0)), kGLBalanceFormat),
                       balance.value_or(0));
    }
    grid_->MoveFirst();

    const std::string shown = FormatNumber(Number::Cents(total), kGLBalanceFormat);
    RecapBoard& recap = context.Recap();
    if (balance_failed) {
        recap.MarkError(side_.recap_label);
    } else {
        recap.SetCaption(side_.recap_label, shown);
        recap.SetLabelRed(side_.recap_label, false);
    }
    SetLabelCaption("lbltotal", std::string(side_.total_prefix) + shown);
    // A sum that left out a failed balance is no total: it shows in red, as the recap label does.
    SetLabelRed(LabelIndex("lbltotal"), balance_failed);
}

void GLView::CommandClick(std::string_view button) {
    if (button != kSetupCommand || picker_host_ == nullptr) return;
    AccountPicker picker(side_.mode);
    picker_host_->Run(picker);
    if (picker.cancel_flag() != 0 || context_ == nullptr) return;
    const int recalc = LabelIndex("lblReCalc");
    SetBusy(true);
    SetLabelVisible(recalc, true);
    RunFill(*context_, "GetGLData", {side_.recap_label}, [&] { GetGLData(*context_); });
    SetLabelVisible(recalc, false);
    SetBusy(false);
}

}  // namespace dv
