// Test support for the views of every subsystem: a view context with its own splash and recap
// board, the engine on a data set in a fresh temporary share (test_support/engine_test.h), the
// operation log captured, and the records of product lines and order documents written byte by
// byte from their layouts.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/dates.h"
#include "sampledata/data_set.h"
#include "sampledata/record_builder.h"
#include "shell/grid_sort.h"
#include "shell/operation_log.h"
#include "shell/recap_board.h"
#include "shell/splash.h"
#include "shell/view.h"
#include "test_support/engine_test.h"
#include "test_support/views/test_context.h"

namespace dv::views_test {

using sample::RecordBuilder;
using testing::TestContext;

// The engine on a data set, a fixed clock, a captured log and the sort toggle at its start.
class ViewTest : public testing::EngineTest {
  protected:
    ViewTest() {
        InitLogPath();
        mSortOrder = 0;
        SetClock([] { return MakeDate(2024, 11, 15); });
    }
    ~ViewTest() override { SetClock({}); }

    template <typename V>
    std::unique_ptr<V> Load() {
        auto view = std::make_unique<V>();
        view->RunLoad(context);
        return view;
    }

    // The texts of one column of a grid, top to bottom.
    static std::vector<std::string> Column(const GridModel& grid, std::string_view name) {
        std::vector<std::string> out;
        const int c = grid.ColumnPosition(name);
        for (int r = 0; r < grid.RowCount(); ++r) out.push_back(grid.CellText(r, c));
        return out;
    }
    static std::string Caption(const View& view, std::string_view label) {
        return view.Label(view.LabelIndex(label)).caption;
    }

    testing::TestContext context;
    LogCapture log;
};

// A LINEL record of 192 bytes with the fields the view reads.
struct LineRec {
    int32_t line = 1;
    std::string alpha = "ABC";
    int64_t goods = 0;                                // L at 75, cents
    int64_t mtd_sales = 0;                            // L at 87
    int64_t mtd_cogs = 0;                             // L at 91
    int64_t ytd_sales = 0;                            // L at 99, stored without the month
    int64_t ytd_cogs = 0;                             // L at 103, stored without the month
    int32_t items_ordered = 0, items_filled = 0;      // K at 170, 173
    int32_t pieces_ordered = 0, pieces_filled = 0;    // L at 176, 180
    int32_t dollars_ordered = 0, dollars_filled = 0;  // L at 184, 188

    std::string Bytes() const {
        return RecordBuilder(192)
            .Bin(1, 'J', 1)
            .Bin(3, 'C', line)
            .Text(5, alpha, 2)
            .Bin(75, 'L', goods)
            .Bin(87, 'L', mtd_sales)
            .Bin(91, 'L', mtd_cogs)
            .Bin(99, 'L', ytd_sales)
            .Bin(103, 'L', ytd_cogs)
            .Bin(170, 'K', items_ordered)
            .Bin(173, 'K', items_filled)
            .Bin(176, 'L', pieces_ordered)
            .Bin(180, 'L', pieces_filled)
            .Bin(184, 'L', dollars_ordered)
            .Bin(188, 'L', dollars_filled)
            .str();
    }
};

// LINEL with LINEI and an empty COMODI on a writer.
inline void AddLines(sample::DataSetWriter& set, const std::vector<LineRec>& lines) {
    auto& linel = set.AddRecordFile("LINEL", 192);
    auto& linei = set.AddIndex("LINEI", 2);
    set.AddIndex("COMODI", 4);
    for (const LineRec& l : lines) {
        const std::string bytes = l.Bytes();
        const int32_t n = linel.Add(RecordBuilder(192).Raw(1, bytes));
        linei.Add(bytes.substr(2, 2), n);
    }
}

constexpr int32_t kDocRecord = 38;

// One document file, written field by field from the layout.
struct DocFile {
    std::string number = "R1001";
    int32_t vendor = 17;
    int32_t mmddyy = 31524;  // 3/15/24
    int32_t drop_ship = 0;
    std::array<std::string, 4> comments = {"RETURN OF OVERSTOCK", "", "", "CALL FIRST"};
    int64_t total = 12345;
    struct Line {
        int32_t kind = 4;
        int32_t line = 1;
        std::string part;
        int32_t qty = 1;
        int32_t cost = 0;
    };
    std::vector<Line> lines;
    int32_t records = -1;  // >= 0: the file cut to that many records

    std::string Bytes() const {
        std::vector<std::string> recs;
        recs.push_back(std::string(kDocRecord, 'x'));
        std::string padded = number;
        padded.resize(8, ' ');
        recs.push_back(RecordBuilder(kDocRecord)
                           .Raw(3, padded)
                           .Bin(11, 'C', vendor)
                           .Bin(13, 'D', mmddyy)
                           .Bin(17, 'L', drop_ship)
                           .str());
        for (const std::string& c : comments)
            recs.push_back(RecordBuilder(kDocRecord).Text(3, c, 35).str());
        recs.push_back(RecordBuilder(kDocRecord).Bin(22, 'L', total).str());
        for (const Line& l : lines)
            recs.push_back(RecordBuilder(kDocRecord)
                               .Bin(1, 'J', l.kind)
                               .Bin(3, 'C', l.line)
                               .Text(5, l.part, 12)
                               .Bin(18, 'K', l.qty)
                               .Bin(33, 'D', l.cost)
                               .str());
        if (records >= 0) recs.resize(static_cast<size_t>(records));
        return sample::PlainRecords(kDocRecord, recs);
    }
};

// An RTTBI or PUTBI key: the name in bytes 1-10 (NUL padded), the type at 16.
inline std::string OrderKey(const std::string& name, int32_t type) {
    return RecordBuilder(16).Raw(1, name.substr(0, 10)).Bin(16, 'B', type).str();
}

// Vendors: VNDRL records with the number at 3 and the name at 6, VNDRI by number.
inline void AddVendors(sample::DataSetWriter& set,
                       const std::vector<std::pair<int32_t, std::string>>& vendors) {
    auto& vndrl = set.AddRecordFile("VNDRL", 96);
    auto& vndri = set.AddIndex("VNDRI", 4);
    for (const auto& [number, name] : vendors) {
        const int32_t n =
            vndrl.Add(RecordBuilder(96).Bin(1, 'J', 1).Bin(3, 'D', number).Text(6, name, 20));
        vndri.Add(RecordBuilder(4).Bin(1, 'L', number).bytes(), n);
    }
}

// Parts: PARTL records with the key at 3, the cost at 61 and the description at 179.
struct PartRec {
    int32_t line = 1;
    std::string number;
    int32_t cost = 0;
    std::string description;
};
inline void AddParts(sample::DataSetWriter& set, const std::vector<PartRec>& parts) {
    auto& partl = set.AddRecordFile("PARTL", 192);
    auto& parti = set.AddIndex("PARTI", 14);
    for (const PartRec& p : parts) {
        RecordBuilder r(192);
        r.Bin(1, 'J', 1).Bin(3, 'C', p.line).Text(5, p.number, 12).Bin(61, 'D', p.cost);
        r.Text(179, p.description, 14);
        const int32_t n = partl.Add(r);
        parti.Add(r.bytes().substr(2, 14), n);
    }
}

}  // namespace dv::views_test
