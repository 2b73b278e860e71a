// The shell's services to the views: the application event log, the settings store and the
// detail-form seam.
#include <gtest/gtest.h>

#include <chrono>

#include "engine/dates.h"
#include "engine/error.h"
#include "records/event_log.h"
#include "shell/detail_form.h"
#include "shell/settings_store.h"

namespace dv {
namespace {

Date At(int year, unsigned month, unsigned day, int h, int m, int s) {
    Date d = MakeDate(year, month, day);
    d.time = std::chrono::seconds(h * 3600 + m * 60 + s);
    return d;
}

TEST(EventLogTest, AnEntryIsDateTimeLabelNumberDescriptionAndSource) {
    EXPECT_EQ(EventLogEntry(At(2024, 12, 5, 15, 7, 9), "clsShopDetail : BuildPage", 81,
                            "Illegal Record Number for File: INVOL and Record: 0", "iLreadFile"),
              "12/5/2024 : 3:07:09 PM : clsShopDetail : BuildPage81  Illegal Record Number for "
              "File: INVOL and Record: 0  iLreadFile");
    // Morning, a negative number, no source.
    EXPECT_EQ(EventLogEntry(At(2025, 1, 31, 0, 5, 0), "clsInvDetail : GetDetail", -10,
                            "File not Found: INVOL", ""),
              "1/31/2025 : 12:05:00 AM : clsInvDetail : GetDetail-10  File not Found: INVOL  ");
}

TEST(EventLogTest, ACaughtErrorIsStampedNowAndWrittenToTheInstalledSink) {
    SetClock([] { return At(2024, 12, 5, 9, 30, 0); });
    RecordingEventLog log;
    std::string basic_entry;
    std::string other_entry;
    {
        ScopedEventLog installed(log);
        basic_entry = WriteEventLogError("clsWarrDetail : BuildDetail",
                                         BasicError(31, "UnPack", "Invalid Subscript."));
        other_entry = WriteEventLogError("clsWarrDetail : GetDetail", std::runtime_error("boom"));
    }
    SetClock(nullptr);
    EXPECT_EQ(basic_entry,
              "12/5/2024 : 9:30:00 AM : clsWarrDetail : BuildDetail31  Invalid Subscript.  UnPack");
    EXPECT_EQ(other_entry, "12/5/2024 : 9:30:00 AM : clsWarrDetail : GetDetail51  boom  ");
    EXPECT_EQ(log.entries(), (std::vector<std::string>{basic_entry, other_entry}));
    EXPECT_NE(&AppEventLog(), &log);  // the scope put the program's sink back
}

TEST(SettingsStoreTest, AnAbsentValueIsToldFromAnEmptyOne) {
    MemorySettingsStore store;
    ScopedSettingsStore installed(store);
    SettingsStore& s = AppSettings();
    EXPECT_EQ(s.Get("Dashvane", "Asset", "Accounts"), std::nullopt);
    EXPECT_EQ(s.GetOr("Dashvane", "Asset", "Accounts", "none"), "none");

    s.Save("Dashvane", "Asset", "Accounts", "");
    EXPECT_EQ(s.Get("Dashvane", "Asset", "Accounts"), std::optional<std::string>(""));
    EXPECT_EQ(s.GetOr("Dashvane", "Asset", "Accounts", "none"), "");

    s.Save("Dashvane", "Liability", "Accounts", "011000,012000");
    s.Save("Dashvane", "Liability", "Accounts", "012000");
    EXPECT_EQ(s.GetOr("Dashvane", "Liability", "Accounts", ""), "012000");
    // Sections and applications are kept apart.
    EXPECT_EQ(s.Get("Dashvane", "Asset", "Accounts"), std::optional<std::string>(""));
    EXPECT_EQ(s.Get("Other", "Liability", "Accounts"), std::nullopt);
    EXPECT_EQ(store.size(), 2u);
}

// A list view whose button opens a detail with a nested detail per row, as the floor plan does.
class DetailSource {
  public:
    static void Open(DetailHost& host, const std::string& line) {
        DetailForm form("frmFpdtl", "Floor Plan Detail");
        form.AddLabel("Label1", "Line : " + line);
        GridModel& grid = form.AddGrid("grdFpdtl");
        grid.AddColumn({.name = "Model"});
        grid.AddColumn({.name = "Ext", .button = true});
        for (const char* model : {"M100", "M200"}) {
            const int r = grid.AddRow();
            grid.SetCell(r, "Model", model);
            grid.SetCell(r, "Ext", r == 0 ? "Yes" : "No");
        }
        grid.SetCurrentRow(1);
        form.SetButtonHandler([](DetailForm& self, std::string_view g, int row, DetailHost& h) {
            const GridModel& units = *self.FindGrid(g);
            if (units.CellText(row, "Ext") != "Yes") {
                h.Message("No extents");
                return;
            }
            DetailForm extents("frmFpx", "Extents " + units.CellText(row, "Model"));
            extents.AddGrid("grdfpx").AddColumn({.name = "Line"});
            h.Show(extents);
        });
        host.Show(form);
    }
};

TEST(DetailFormTest, TheHostCapturesEachFormAtItsFirstRowWithItsNestedForms) {
    CapturingDetailHost host;
    host.on_show = [](DetailForm& form, DetailHost& h) {
        if (form.form_name() != "frmFpdtl") return;
        form.ButtonClick("grdFpdtl", 0, h);
        form.ButtonClick("grdFpdtl", 1, h);
    };
    DetailSource::Open(host, "12");

    ASSERT_EQ(host.shown.size(), 2u);
    const DetailSnapshot& detail = host.shown[0];
    EXPECT_EQ(detail.form_name, "frmFpdtl");
    EXPECT_EQ(detail.caption, "Floor Plan Detail");
    EXPECT_EQ(detail.LabelText("Label1"), "Line : 12");
    const DetailSnapshot::Grid* grid = detail.FindGrid("grdFpdtl");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->columns, (std::vector<std::string>{"Model", "Ext"}));
    EXPECT_EQ(grid->rows, (std::vector<std::vector<std::string>>{{"M100", "Yes"}, {"M200", "No"}}));
    EXPECT_EQ(grid->current_row, 0);  // shown at its first row
    EXPECT_EQ(host.shown[1].caption, "Extents M100");
    EXPECT_EQ(host.messages, std::vector<std::string>{"No extents"});
    EXPECT_THROW(detail.LabelText("Label2"), BasicError);
}

TEST(DetailFormTest, AViewWithoutAHostShowsNothingAndAChoiceRunsItsHandler) {
    class Sample : public View {
      public:
        Sample() : View("frmSample", "Sample") {}
        void ButtonClick(std::string_view, int) override { DetailSource::Open(Details(), "1"); }

      protected:
        void Load(ViewContext&) override {}
    } view;
    view.ButtonClick("grd", 0);  // no host: nothing happens

    CapturingDetailHost host;
    view.SetDetailHost(&host);
    view.ButtonClick("grd", 0);
    EXPECT_EQ(host.shown.size(), 1u);

    DetailForm form("frmShopDetail", "Shop Job Detail");
    DetailChoice& requests = form.AddChoice("cmbRequest");
    requests.items = {"All Requests", "BRAKES"};
    requests.text = "All Requests";
    int chosen = -1;
    form.SetChoiceHandler([&](DetailForm&, std::string_view, int index) { chosen = index; });
    form.ChoiceClick("cmbRequest", 1);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(form.FindChoice("cmbRequest")->text, "BRAKES");
    EXPECT_THROW(form.ChoiceClick("cmbOther", 0), BasicError);
}

}  // namespace
}  // namespace dv
