#include "units/views/product_line_view.h"

#include "engine/business_basic.h"
#include "shell/number_format.h"
#include "shell/recap_board.h"
#include "shell/splash.h"

namespace dv {
namespace {

constexpr std::string_view kTotalFormat = "$###,###,###.00";
constexpr std::string_view kAmountFormat = "###,###,###.00";

}  // namespace

ProductLineView::ProductLineView(const Frame& frame)
    : View(frame.form, frame.caption),
      grid_name_(frame.grid),
      progress_(frame.progress),
      fill_(frame.fill),
      recap_label_(frame.recap_label) {
    for (const auto& [name, caption] : frame.labels) AddLabel(name, caption);
    AddLabel("lblFpTot(0)", "Label3");
    grid_ = &AddGrid(std::string(grid_name_));
    for (const GridColumn& c : frame.columns) grid_->AddColumn(c);
    // The title above the grid; the other labels (the floor plan's extents note) and the total
    // in a row under it.
    LayoutRow footer;
    for (const auto& [name, caption] : frame.labels) {
        if (name != "Label1") footer.push_back(layout::Total(name));
    }
    footer.push_back(layout::Total("lblFpTot(0)"));
    SetLayout(layout::Titled(std::string(grid_name_), std::move(footer)));
}

void ProductLineView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(progress_));
    if (RunFill(context, fill_, {recap_label_}, [&] { Fill(context); }))
        SetLabelCaption("lblFpTot(0)",
                        "Total  : " + FormatNumber(Number::Cents(total_cents_), kTotalFormat));
}

void ProductLineView::Fill(ViewContext& context) {
    grid_->RemoveAll();
    total_cents_ = 0;
    ForEachShownLine(RequireEngine(fill_),
                     [&](const clsLines& line, const std::string&) { AddLine(line); });
    grid_->MoveFirst();
    const std::string total = FormatNumber(Number::Cents(total_cents_), kTotalFormat);
    context.Recap().SetCaption(recap_label_, total);
}

int ProductLineView::AddLineRow(int32_t line, const std::string& name, int64_t sum) {
    const int r = grid_->AddRow();
    grid_->SetCell(r, "Line", std::to_string(line), line);
    grid_->SetCell(r, "Name", name);
    grid_->SetCell(r, "Total", FormatNumber(Number::Cents(sum), kAmountFormat), sum);
    total_cents_ += sum;
    return r;
}

void ProductLineView::ButtonClick(std::string_view grid, int row) {
    if (grid != grid_name_ || row < 0 || row >= grid_->RowCount()) return;
    if (grid_->CurrentRow() != row) grid_->SetCurrentRow(row);
    OpenLine(grid_->CellText(row, "Line"), grid_->CellText(row, "Name"));
}

}  // namespace dv
