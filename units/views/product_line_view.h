// The frame the Floor Plan and Units views share: one grid row per product line the views show
// (ForEachShownLine) that the view takes, the grand total in lblFpTot(0) and on the view's recap
// label, and a row's button that lists the line's units. Money is whole cents summed in 64
// bits.
//
// The total label takes the sum only when the fill ran to its end: a fill that failed (an
// index's range message included) leaves its design caption, so that no partial sum is shown
// as the total.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "parts/lines_record.h"
#include "shell/view.h"

namespace dv {

class ProductLineView : public View {
  public:
    GridModel& grid() const { return *grid_; }
    int64_t total_cents() const { return total_cents_; }

    // Makes the clicked row current and lists its line's units (errors become a message).
    void ButtonClick(std::string_view grid, int row) override;

  protected:
    // What sets one of the views apart: its form, its grid and columns, the labels above the
    // total, the splash text, the fill's name in the log and its recap label.
    struct Frame {
        std::string form;
        std::string caption;
        std::initializer_list<std::pair<std::string, std::string>> labels;
        std::string_view grid;
        std::span<const GridColumn> columns;
        std::string_view progress;
        const char* fill;
        int recap_label;
    };
    explicit ProductLineView(const Frame& frame);

    void Load(ViewContext& context) override;

    // One product line of the walk: adds its row through AddLineRow, or none.
    virtual void AddLine(const clsLines& line) = 0;
    // Lists the units of the line of a row, from the row's "Line" and "Name" texts.
    virtual void OpenLine(const std::string& line, const std::string& name) = 0;

    // Adds a line's row with its sum in "Total" and the sum to the grand total; the row's index.
    int AddLineRow(int32_t line, const std::string& name, int64_t sum);

  private:
    void Fill(ViewContext& context);

    std::string_view grid_name_;
    std::string_view progress_;
    const char* fill_;
    int recap_label_;
    GridModel* grid_;
    int64_t total_cents_ = 0;
};

}  // namespace dv
