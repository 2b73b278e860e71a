// Test support for the service views: a view context with its own splash, recap board and
// options, the engine on a small hand-built data set, the log captured, and shop-job pages,
// customers and claims written byte by byte from their layouts.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/dates.h"
#include "records/event_log.h"
#include "records/test_support.h"
#include "sampledata/damage.h"
#include "sampledata/data_set.h"
#include "sampledata/record_builder.h"
#include "shell/detail_form.h"
#include "shell/grid_sort.h"
#include "shell/operation_log.h"
#include "shell/options.h"
#include "shell/recap_board.h"
#include "shell/splash.h"
#include "shell/view.h"
#include "test_support/engine_test.h"
#include "test_support/views/test_context.h"

namespace dv::service_test {

using sample::RecordBuilder;
using sample::TextSet;
using testing::TestContext;

// A line slot of 44 bytes, and a remark's.
inline std::string Slot(std::string_view code, std::string_view part, std::string_view description,
                        int32_t tenths, int32_t net, int32_t cost, std::string_view dashes = {}) {
    return sales_test::Slot(code, part, dashes, description, tenths, net, cost);
}
using sales_test::RemarkSlot;

// A page of INVOL or WARRL: chain fields, segment and slots.
inline RecordBuilder Page(int32_t status, int32_t page, int32_t link,
                          const std::vector<std::string>& slots, int32_t segment = 0) {
    return sales_test::Page(page, link, slots, -1, status).Bin(97, 'B', segment);
}

// The engine on a data set, a fixed clock, a captured log, recorded detail forms and event-log
// entries, and the sort toggle and segment flag at their start.
class ServiceViewTest : public testing::EngineTest {
  protected:
    ServiceViewTest() : events_(event_log) {
        InitLogPath();
        mSortOrder = 0;
        SetClock([] { return MakeDate(2024, 11, 15); });
    }
    ~ServiceViewTest() override { SetClock({}); }

    template <typename V>
    std::unique_ptr<V> Load() {
        auto view = std::make_unique<V>();
        view->SetDetailHost(&details);
        view->RunLoad(context);
        return view;
    }

    // The customer files: CUSTL (192 bytes: the account at 3, the name at 6, the first phone
    // at 86) and ECUSTL (128: the second and third phones, the contacts), CUSTI by account.
    struct Customer {
        int32_t account;
        std::string name;
        int32_t area = 0, phone = 0;
        std::string contact = {};
    };
    void AddCustomers(const std::vector<Customer>& customers) {
        auto& custl = set.AddRecordFile("CUSTL", 192);
        auto& ecustl = set.AddRecordFile("ECUSTL", 128);
        auto& custi = set.AddIndex("CUSTI", 4);
        for (const Customer& c : customers) {
            RecordBuilder b(320);
            b.Bin(1, 'J', 1)
                .Bin(3, 'D', c.account)
                .Text(6, c.name, 20, TextSet::kNames)
                .Text(26, "12 MILL ROAD", 20, TextSet::kNames)
                .Bin(86, 'C', c.area)
                .Bin(88, 'L', c.phone)
                .Text(205, c.contact, 12);
            const int32_t n = custl.Add(b.bytes().substr(0, 192));
            ecustl.Add(b.bytes().substr(192));
            custi.Add(RecordBuilder(4).Bin(1, 'L', c.account).str(), n);
        }
    }
    // MANL (200 bytes: the number at 3, the name at 7) and MANI by number.
    void AddPeople(const std::vector<std::pair<int32_t, std::string>>& people) {
        auto& manl = set.AddRecordFile("MANL", 200);
        auto& mani = set.AddIndex("MANI", 2);
        for (const auto& [number, name] : people) {
            RecordBuilder b(200);
            b.Bin(1, 'J', 1).Bin(3, 'C', number).Text(7, name, 20, TextSet::kNames);
            mani.Add(RecordBuilder(2).Bin(1, 'C', number).str(), manl.Add(b));
        }
    }

    static std::vector<std::string> Column(const GridModel& grid, std::string_view name) {
        std::vector<std::string> out;
        const int c = grid.ColumnPosition(name);
        for (int r = 0; r < grid.RowCount(); ++r) out.push_back(grid.CellText(r, c));
        return out;
    }

    testing::TestContext context;
    LogCapture log;
    RecordingEventLog event_log;
    CapturingDetailHost details;
    // The builders' entries, where the page-chain builder writes them.
    sales_test::RecordedEvents sales_events_;

  private:
    ScopedEventLog events_;
};

}  // namespace dv::service_test
