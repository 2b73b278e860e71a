// The view contract, the recap board and the splash.
#include "shell/view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/dates.h"
#include "engine/error.h"
#include "platform/test_support.h"
#include "shell/operation_log.h"
#include "shell/recap_board.h"
#include "shell/splash.h"
#include "test_support/views/test_context.h"

namespace dv {
namespace {

class RecordingSplash : public SplashWindow {
  public:
    explicit RecordingSplash(const SplashModel& model) : model_(model) {}
    std::vector<std::string> events;
    void ShowSplash() override { events.push_back("show"); }
    void HideSplash() override { events.push_back("hide"); }
    void UnloadSplash() override { events.push_back("unload"); }
    void PaintSplash() override { events.push_back("paint " + model_.progress()); }

  private:
    const SplashModel& model_;
};

TEST(SplashTest, LoadWritesTheConnectingTextAndKeyPressUnloads) {
    SplashModel splash("Version 2.5.3", "line one\nline two");
    RecordingSplash window(splash);
    splash.SetWindow(&window);
    splash.Show();
    EXPECT_TRUE(splash.visible());
    EXPECT_EQ(splash.progress(), "Connecting to Server...");
    EXPECT_EQ(splash.version_text(), "Version 2.5.3");
    EXPECT_EQ(splash.notice(), "line one\nline two");

    splash.KeyPress();
    EXPECT_FALSE(splash.loaded());
    EXPECT_FALSE(splash.visible());
    // A later progress write loads it again, without showing it.
    splash.SetProgress("Loading Inventory...");
    EXPECT_TRUE(splash.loaded());
    EXPECT_FALSE(splash.visible());
    EXPECT_EQ(splash.progress(), "Loading Inventory...");
    splash.FrameClick();
    splash.Show();
    EXPECT_EQ(window.events, (std::vector<std::string>{"paint Connecting to Server...", "show",
                                                       "unload", "paint Connecting to Server...",
                                                       "paint Loading Inventory...", "unload",
                                                       "paint Connecting to Server...", "show"}));
}

// The test context, whose recap board loads when a fill writes to it, as the desktop's does.
class TestContext : public testing::TestContext {
  public:
    RecapBoard& Recap() override {
        recap.RunLoad(*this);
        return recap;
    }
};

// A view of the kind every subsystem writes: one grid, one total label, recap label 1.
class SampleView : public View {
  public:
    explicit SampleView(int fail_at) : View("frmSample", "Sample"), fail_at_(fail_at) {
        GridModel& g = AddGrid("grdSample");
        g.AddColumn({.name = "Line", .caption = "Line"});
        total_ = AddLabel("lbltotal");
    }
    std::exception_ptr error;

  protected:
    void Load(ViewContext& context) override {
        context.Splash().SetProgress("Loading Sample...");
        RunFill(context, "GetSample", {1}, [&] {
            GridModel& g = *FindGrid("grdSample");
            g.RemoveAll();
            for (int i = 1; i <= 5; ++i) {
                if (i == fail_at_) {
                    if (error) std::rethrow_exception(error);
                    throw BasicError(81, "iLreadFile",
                                     "Illegal Record Number for File: LINEL and Record:  9");
                }
                g.SetCell(g.AddRow(), "Line", std::to_string(i));
            }
            g.MoveFirst();
            context.Recap().SetCaption(1, "$5.00");
            SetLabelCaption("lbltotal", "Total : $5.00");
        });
    }

  private:
    int fail_at_;
    int total_;
};

class ViewContractTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = mLogPath;
        mLogPath = folder_ / "dvoperation.log";
    }
    void TearDown() override { mLogPath = saved_; }
    testing::TempFolder folder_;
    std::string saved_;
};

TEST_F(ViewContractTest, AFillThatEndsWritesGridLabelAndRecap) {
    TestContext ctx;
    SampleView view(0);
    view.RunLoad(ctx);
    view.RunLoad(ctx);  // a loaded form does not load again
    EXPECT_EQ(ctx.splash.progress(), "Loading Sample...");
    EXPECT_EQ(view.FindGrid("grdSample")->RowCount(), 5);
    EXPECT_EQ(view.Label(0).caption, "Total : $5.00");
    EXPECT_EQ(ctx.recap.Figure(1).caption, "$5.00");
    EXPECT_FALSE(ctx.recap.Figure(1).red);
    EXPECT_EQ(ReadLogText(mLogPath), "");
}

TEST_F(ViewContractTest, AFailedFillMarksRecapLogsAndKeepsRows) {
    TestContext ctx;
    SampleView view(5);
    view.RunLoad(ctx);
    const GridModel& g = *view.FindGrid("grdSample");
    EXPECT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.CurrentRow(), -1);  // not moved to its first row
    EXPECT_EQ(view.Label(0).caption, "");
    EXPECT_EQ(ctx.recap.Figure(1).caption, "Data Error !");
    EXPECT_TRUE(ctx.recap.Figure(1).red);
    EXPECT_TRUE(ctx.recap.Click(1));
    EXPECT_FALSE(ctx.recap.Click(2));
    EXPECT_EQ(ReadLogText(mLogPath),
              "*Error in frmSample GetSample routine error # :  81  Illegal Record Number for "
              "File: LINEL and Record:  9\r\n");
}

TEST_F(ViewContractTest, AnErrorThatIsNoBasicErrorIsTrappedToo) {
    TestContext ctx;
    SampleView view(2);
    view.error = std::make_exception_ptr(std::length_error("basic_string::_M_create"));
    view.RunLoad(ctx);
    EXPECT_EQ(ReadLogText(mLogPath),
              "*Error in frmSample GetSample routine error # :  51  basic_string::_M_create\r\n");
}

TEST(RecapBoardTest, LoadWritesTheCompileLabelAndLabelsStartEmpty) {
    SetClock([] {
        Date d = MakeDate(2024, 12, 5);
        d.time = std::chrono::seconds(15 * 3600 + 7 * 60 + 9);
        return d;
    });
    TestContext ctx;
    RecapBoard& board = ctx.Recap();
    SetClock(nullptr);
    EXPECT_EQ(board.CompileText(), " Compiled  12/5/2024  3:07:09 PM");
    EXPECT_EQ(board.caption(), "System Recap");
    for (int i = 0; i < kRecapLabelCount; ++i) {
        EXPECT_EQ(board.Figure(i).caption, "");
        EXPECT_EQ(board.Figure(i).name, "lblRecap(" + std::to_string(i) + ")");
    }
    EXPECT_THROW(board.SetCaption(22, "x"), BasicError);
    // A caption that merely resembles the mark opens nothing.
    board.SetCaption(3, "Data Error");
    EXPECT_FALSE(board.Click(3));
}

TEST(RecapBoardTest, LayoutListsEveryFigureOnce) {
    std::vector<int> seen(kRecapLabelCount, 0);
    for (const RecapPlace& p : kRecapLayout) ++seen[static_cast<size_t>(p.index)];
    for (int i = 0; i < kRecapLabelCount; ++i) EXPECT_EQ(seen[static_cast<size_t>(i)], 1) << i;
}

}  // namespace
}  // namespace dv
