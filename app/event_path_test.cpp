// A click in the window and the same click through the controller's doors, as dashvane-dump
// makes it, have the same effect: the same detail forms open, the same lines go to the
// operation log, the same message boxes come up, and the share sees the same number of calls
// (the counters dashvane-dump --stats prints). The window's click is a real mouse click on the
// running program's widgets; the door's is the dump's way, with a host that records the forms.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QHeaderView>
#include <QTest>
#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/qt_views.h"
#include "app/views.h"
#include "engine/error.h"
#include "platform/file_calls.h"
#include "sampledata/demo_set.h"
#include "shell/detail_form.h"
#include "shell/main_controller.h"
#include "shell/qt/detail_dialog.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/main_window.h"
#include "shell/qt/qt_test_support.h"
#include "shell/qt/view_form.h"

namespace dv::qt {
namespace {

using testing::ClickCell;
using testing::ProgramFixture;

// The parts view with a grid whose header click fails as a sort on a cell that does not
// convert does.
class FailingSortView : public View {
  public:
    FailingSortView() : View(std::string(form::kInv), "Inventory") {
        GridModel& grid = AddGrid("grdInvest");
        grid.AddColumn({.name = "Line", .caption = "Line", .sort = SortKind::kNumber});
        grid.SetCell(grid.AddRow(), "Line", "x");
    }
    void HeaderClick(std::string_view, int) override {
        throw BasicError(13, "SortGrid", "Type mismatch");
    }

  protected:
    void Load(ViewContext&) override {}
};

// The column of a grid's button cells, -1 for none.
int ButtonColumn(const GridModel& grid) {
    for (int c = 0; c < grid.ColumnCount(); ++c)
        if (grid.Column(c).button && !grid.Column(c).hidden) return c;
    return -1;
}

std::vector<uint64_t> Counts(const platform::FileCalls& c) {
    return {c.opens, c.closes, c.reads, c.bytes, c.fstats, c.lookups};
}

class EventPathTest : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        RegisterViews(views_);
        RegisterQtViews(qt_views_);
    }

    // What one click did.
    struct Effect {
        std::vector<std::string> forms;  // the detail forms it opened, by name, sorted
        std::vector<std::string> log;    // the lines it added to the operation log
        std::vector<std::string> messages;
        platform::FileCalls calls;
    };

    Effect Measure(const std::function<void(Effect&)>& click) {
        Effect effect;
        const size_t log_before = env_.LogLines().size();
        const size_t messages_before = messages_->messages.size();
        const platform::FileCalls before = platform::FileCallCounts();
        click(effect);
        QCoreApplication::processEvents();
        effect.calls = platform::FileCallCounts() - before;
        const std::vector<std::string> log = env_.LogLines();
        effect.log.assign(log.begin() + static_cast<std::ptrdiff_t>(log_before), log.end());
        for (size_t i = messages_before; i < messages_->messages.size(); ++i)
            effect.messages.push_back(messages_->messages[i].text);
        std::sort(effect.forms.begin(), effect.forms.end());
        return effect;
    }

    MainController& controller() { return program_->controller(); }
};

// A unit of a floor-plan detail that has extents: the row of the Floor Plan grid and the unit's
// row in its detail; {-1, -1} when none has.
std::pair<int, int> UnitWithExtents(MainController& controller, View& view) {
    std::pair<int, int> found{-1, -1};
    CapturingDetailHost capture;
    DetailHost* const program_host = view.detail_host();
    view.SetDetailHost(&capture);
    const GridModel& lines = *view.grids().front();
    for (int row = 0; row < lines.RowCount() && found.first < 0; ++row) {
        capture.on_show = [&](DetailForm& detail, DetailHost&) {
            const GridModel& units = *detail.grids().front();
            for (int unit = 0; unit < units.RowCount() && found.first < 0; ++unit)
                if (units.CellText(unit, "Ext") != "No") found = {row, unit};
        };
        controller.GridButtonClick(view, lines.name(), row);
    }
    view.SetDetailHost(program_host);
    return found;
}

// A view's detail and the detail it opens in turn: a line of the Floor Plan, then the extents
// of one of its units.
TEST_F(EventPathTest, ADetailOpenedInTheWindowReadsWhatTheDumpsDoorReads) {
    StartOn(sample::BuildDemoSet(sample::Scale::kDemo));
    ASSERT_TRUE(controller().load_completed());
    auto* form = OpenForm<ViewForm>("I2", "frmFp");
    ASSERT_NE(form, nullptr);
    GridWidget* grid = form->grid();
    const int column = ButtonColumn(grid->grid());
    ASSERT_GE(column, 0);
    const auto [line, unit] = UnitWithExtents(controller(), form->view());
    ASSERT_GE(line, 0) << "no unit with extents";

    // The window: the user clicks the row's button, then the first button of the detail.
    const Effect window = Measure([&](Effect& effect) {
        int depth = 0;
        dialogs_.on_modal = [&](QDialog& dialog) {
            effect.forms.push_back(dialog.objectName().toStdString());
            auto* detail = dynamic_cast<DetailDialog*>(&dialog);
            if (detail == nullptr || depth > 0) return;
            ++depth;
            dialog.show();
            QCoreApplication::processEvents();
            for (const auto& model : detail->form().grids()) {
                const int c = ButtonColumn(*model);
                if (c < 0) continue;
                GridWidget* inner = detail->grid(model->name());
                inner->Sync();
                ClickCell(inner, unit, c);
                break;
            }
            dialog.hide();
            --depth;
        };
        ClickCell(grid, line, column);
        dialogs_.on_modal = nullptr;
    });

    // The door: the same clicks, as dashvane-dump --details makes them.
    View& view = form->view();
    const Effect door = Measure([&](Effect& effect) {
        CapturingDetailHost capture;
        int depth = 0;
        capture.on_show = [&](DetailForm& detail, DetailHost& host) {
            effect.forms.push_back(detail.form_name());
            if (depth > 0) return;
            ++depth;
            for (const auto& model : detail.grids()) {
                const int c = ButtonColumn(*model);
                if (c < 0) continue;
                controller().DetailButtonClick(detail, model->name(), unit, host);
                break;
            }
            --depth;
        };
        DetailHost* const program_host = view.detail_host();
        view.SetDetailHost(&capture);
        controller().GridButtonClick(view, grid->grid().name(), line);
        view.SetDetailHost(program_host);
    });

    EXPECT_EQ(window.forms, (std::vector<std::string>{"frmFpdtl", "frmFpx"}));
    EXPECT_EQ(door.forms, window.forms);
    EXPECT_EQ(door.log, window.log);
    EXPECT_EQ(door.messages, window.messages);
    EXPECT_GT(window.calls.reads, 0u);
    EXPECT_EQ(Counts(door.calls), Counts(window.calls));
    EXPECT_EQ(door.calls.Calls(), window.calls.Calls());
}

// A header click whose sort fails: one line in the log and the same text in a message box,
// whichever way it came, and the program goes on.
TEST_F(EventPathTest, AFailingClickWritesTheSameLineInTheWindowAndThroughTheDoor) {
    views_.SetFactory(form::kInv, [] { return std::make_unique<FailingSortView>(); });
    StartOn(sample::BuildDemoSet(sample::Scale::kDemo));
    ASSERT_TRUE(controller().load_completed());
    auto* form = OpenForm<ViewForm>("I1", "frmInv");
    ASSERT_NE(form, nullptr);
    QHeaderView* header = form->grid()->horizontalHeader();

    const Effect window = Measure([&](Effect&) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 4, header->height() / 2));
    });
    const Effect door =
        Measure([&](Effect&) { controller().GridHeaderClick(form->view(), "grdInvest", 0); });

    const std::string line =
        "*Error in frmInv grdInvest_HeadClick routine error # :  13  Type mismatch";
    EXPECT_EQ(window.log, (std::vector<std::string>{line}));
    EXPECT_EQ(window.messages, (std::vector<std::string>{line.substr(1)}));
    EXPECT_EQ(door.log, window.log);
    EXPECT_EQ(door.messages, window.messages);
    EXPECT_EQ(Counts(door.calls), Counts(window.calls));

    // The program goes on: the next view opens from the tree.
    EXPECT_NE(OpenForm<ViewForm>("I2", "frmFp"), nullptr);
}

}  // namespace
}  // namespace dv::qt
