// The main window's logic with fake windows, fake views and fake engine hooks: the exact order
// of the load, File > Refresh and the exit, the choice of the Billed Warranties form, the
// start-up failures and the view switches. The registry holds the program's declarations, each
// view a fake.
#include "shell/main_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "app/views.h"
#include "engine/dates.h"
#include "engine/error.h"
#include "engine/system.h"
#include "platform/messages.h"
#include "platform/test_support.h"
#include "shell/detail_form.h"
#include "shell/grid_sort.h"
#include "shell/operation_log.h"
#include "shell/startup.h"

namespace dv {
namespace {

using Events = std::vector<std::string>;

class FakeWindow : public MainWindow, public LogViewerWindow {
  public:
    explicit FakeWindow(Events& events) : events_(events) {}
    int fail_tree_node = 0;  // 1-based node whose adding fails; 0 for none
    bool fail_show = false;  // showing a child fails

    void SetStatusText(int panel, const std::string& text) override {
        events_.push_back("status " + std::to_string(panel) + " " + text);
    }
    void SetStoreName(const std::string& text) override { events_.push_back("store " + text); }
    void AddTreeNode(const TreeNodeSpec& node) override {
        if (++added_ == fail_tree_node) RaisePlatform(err::kInvalidArgument, "Nodes.Add");
        events_.push_back("node " + std::string(node.key));
    }
    void ExpandTreeNode(int index) override {
        events_.push_back("expand " + std::to_string(index));
    }
    void SelectTreeNode(std::string_view key) override {
        events_.push_back("select " + std::string(key));
    }
    void ShowChild(View& v) override {
        if (fail_show) RaisePlatform(err::kInvalidArgument, "Show");
        events_.push_back("show " + v.form_name());
    }
    void HideChild(View& v) override { events_.push_back("hide " + v.form_name()); }
    void PositionChild(View& v, const ChildPlacement& p) override {
        events_.push_back("place " + v.form_name() + " " + std::to_string(p.left) + "," +
                          std::to_string(p.top) + "," + std::to_string(p.height) + "," +
                          std::to_string(p.width));
    }
    void UnloadChild(View& v) override { events_.push_back("unload " + v.form_name()); }
    void RepaintMainWindow() override { events_.push_back("repaint"); }
    void ShowMainWindow() override { events_.push_back("main show"); }
    void CloseMainWindow() override { events_.push_back("close"); }
    void OpenHelp() override { events_.push_back("help"); }
    void ShowAbout() override { events_.push_back("about"); }
    void ShowLogViewer() override { events_.push_back("log viewer"); }

  private:
    Events& events_;
    int added_ = 0;
};

class FakeSplash : public SplashWindow {
  public:
    FakeSplash(Events& events, const SplashModel& model) : events_(events), model_(model) {}
    void ShowSplash() override { events_.push_back("splash show"); }
    void HideSplash() override { events_.push_back("splash hide"); }
    void UnloadSplash() override { events_.push_back("splash unload"); }
    void PaintSplash() override { events_.push_back("splash " + model_.progress()); }

  private:
    Events& events_;
    const SplashModel& model_;
};

class FakeMessages : public platform::MessageSink {
  public:
    explicit FakeMessages(Events& events) : events_(events) {}
    void Show(const platform::Message& m) override {
        events_.push_back("message " + m.title + ": " + m.text);
    }

  private:
    Events& events_;
};

class FakeFile0 : public ControlFile {
  public:
    FakeFile0(Events& events, std::string store) : events_(events), store_(std::move(store)) {}
    std::string ReadBlock(int32_t block) override {
        events_.push_back("read block " + std::to_string(block));
        if (store_.empty()) RaisePlatform(err::kNoObject, "iBlockReadFile");
        std::string b(512, ' ');
        b.replace(150, store_.size(), store_);
        return b;
    }
    void Close() override {}

  private:
    Events& events_;
    std::string store_;
};

// A view that records its load and writes its progress text, then runs its fill.
class FakeView : public View {
  public:
    FakeView(std::string form, Events& events, std::function<void(View&, ViewContext&)> fill)
        : View(std::move(form), "fake"), events_(events), fill_(std::move(fill)) {}

  protected:
    void Load(ViewContext& context) override {
        events_.push_back("load " + form_name());
        context.Splash().SetProgress("Loading " + form_name());
        if (fill_) fill_(*this, context);
    }

  public:
    std::optional<bool> segments;  // what the load read for the Billed Warranties form

  private:
    Events& events_;
    std::function<void(View&, ViewContext&)> fill_;
};

std::optional<bool> FakeSegmentFlag(const View& view) {
    return static_cast<const FakeView&>(view).segments;
}

const char* kStamp = "12/5/2024 3:07:09 PM";

class ControllerTest : public ::testing::Test {
  protected:
    ControllerTest()
        : window_(events_),
          sink_(std::make_shared<FakeMessages>(events_)),
          temp_env_("TEMP", folder_.path()) {}

    void SetUp() override {
        SetClock([] {
            Date d = MakeDate(2024, 12, 5);
            d.time = std::chrono::seconds(15 * 3600 + 7 * 60 + 9);
            return d;
        });
        old_sink_ = platform::SetMessageSink(sink_);
        InitLogPath();
        mSortOrder = 0;
        options_[320] = false;
        options_[317] = false;
        for (const ViewDeclaration& d : ViewDeclarations()) Register(d.form);
        hooks_.load_catalog_settings = [this] {
            events_.push_back("catalog");
            mSystem = std::make_shared<cSystem>();
            mSystem->mUNCDrive = "DS1";
            mSystem->mDirectory = directory_;
            mSystem->ComputerName = "WS7";  // the global engine's creation found them
            mSystem->TerminalID = "7";
        };
        hooks_.create_engine = [this] {
            events_.push_back("engine");
            return std::shared_ptr<cBusinessBasic>();
        };
        hooks_.control_file = [this](std::shared_ptr<cBusinessBasic>) {
            return std::make_unique<FakeFile0>(events_, store_);
        };
        hooks_.get_option = [this](int32_t p) {
            events_.push_back("option " + std::to_string(p));
            return options_[p];
        };
    }

    void TearDown() override {
        controller_.reset();
        platform::SetMessageSink(old_sink_);
        SetClock(nullptr);
        mSystem.reset();
    }

    // Registers a fake view under the program's declaration of the form; the view whose load
    // chooses the Billed Warranties form (Open Shop Work) sets the flag from option 317.
    void Register(std::string_view form, std::function<void(View&, ViewContext&)> fill = {}) {
        const auto declared =
            std::find_if(ViewDeclarations().begin(), ViewDeclarations().end(),
                         [&](const ViewDeclaration& d) { return d.form == form; });
        ASSERT_NE(declared, ViewDeclarations().end()) << form;
        ViewDeclaration d = *declared;
        if (d.segment_flag != nullptr) {
            d.segment_flag = FakeSegmentFlag;
            if (!fill) {
                fill = [](View& view, ViewContext& context) {
                    static_cast<FakeView&>(view).segments = context.GetOption(317);
                };
            }
        }
        const std::string name(form);
        registry_.Add(
            d, [this, name, fill] { return std::make_unique<FakeView>(name, events_, fill); });
    }

    MainController& Controller() {
        if (!controller_) {
            controller_ = std::make_unique<MainController>(registry_, hooks_, window_, window_);
            splash_window_ = std::make_unique<FakeSplash>(events_, controller_->Splash());
            controller_->Splash().SetWindow(splash_window_.get());
        }
        return *controller_;
    }

    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        const std::string text = ReadLogText(mLogPath);
        size_t start = 0;
        for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
            lines.push_back(text.substr(start, at - start));
        return lines;
    }

    const MainTables& Tables() { return Controller().tables(); }

    Events TreeEvents() {
        Events e;
        for (const TreeNodeSpec& n : Tables().tree) e.push_back("node " + std::string(n.key));
        for (size_t i = 1; i <= Tables().tree.size(); ++i)
            e.push_back("expand " + std::to_string(i));
        e.push_back("select R");
        return e;
    }
    static Events LoadEvents(std::string_view form) {
        return {"load " + std::string(form), "splash Loading " + std::string(form)};
    }

    Events events_;
    testing::TempFolder folder_;
    FakeWindow window_;
    std::shared_ptr<FakeMessages> sink_;
    std::shared_ptr<platform::MessageSink> old_sink_;
    testing::ScopedEnv temp_env_;
    ViewRegistry registry_;
    EngineHooks hooks_;
    std::map<int32_t, bool> options_;
    std::string directory_ = "D01";
    std::string store_ = "NORTHFIELD EQUIPMENT";
    std::unique_ptr<MainController> controller_;
    std::unique_ptr<FakeSplash> splash_window_;
};

void Append(Events& to, const Events& more) {
    to.insert(to.end(), more.begin(), more.end());
}

TEST_F(ControllerTest, StartUpRunsTheLoadInItsOrder) {
    options_[317] = true;
    Controller().Start();

    const std::string store = store_ + std::string(35 - store_.size(), ' ');
    Events expected = {"splash Connecting to Server...",
                       "splash show",
                       "catalog",
                       "engine",
                       "status 1 Client :WS7",
                       "status 2 Host :DS1",
                       "status 3 Terminal :7",
                       "status 4 Source :D01      Store # ",
                       "read block 1",
                       "store " + store};
    Append(expected, TreeEvents());
    expected.push_back("option 320");
    for (const ViewSlot& slot : Tables().startup) {
        Append(expected, LoadEvents(slot.Form(true)));  // 317 says by segments
        if (slot.form == form::kShop) expected.push_back("option 317");
    }
    ASSERT_EQ(Tables().startup.back().key, kBilledWarrantiesKey);
    Append(expected, {"show frmRecap", "place frmRecap 110,110,8445,10905", "repaint",
                      "splash unload", "main show"});
    EXPECT_EQ(events_, expected);

    EXPECT_EQ(Controller().current_monitor(), Controller().Instance(form::kRecap));
    EXPECT_TRUE(Controller().load_completed());
    EXPECT_EQ(Controller().Instance(form::kWarranty), nullptr);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{std::string(kStamp) +
                                                    "  Program Start from : WS7  Terminal :7"}));
    EXPECT_EQ(mLogPath, folder_.path() + "/dvoperation.log");
}

struct WarrantyCase {
    bool option_320;
    bool shop_registered;
    bool shop_reads_317;  // false: its fill failed before the option read
    bool option_317;
    std::string_view form;
};

void PrintTo(const WarrantyCase& c, std::ostream* os) {
    *os << "320=" << c.option_320 << " shop=" << c.shop_registered
        << " reads317=" << c.shop_reads_317 << " 317=" << c.option_317 << " -> " << c.form;
}

class WarrantyFormTest : public ControllerTest,
                         public ::testing::WithParamInterface<WarrantyCase> {};

TEST_P(WarrantyFormTest, BilledWarrantiesFollowsTheLastOptionRead) {
    const WarrantyCase& c = GetParam();
    options_[320] = c.option_320;
    options_[317] = c.option_317;
    if (!c.shop_registered) {
        registry_.SetFactory(form::kShop, nullptr);
    } else if (!c.shop_reads_317) {
        Register(form::kShop, [](View&, ViewContext&) {});
    }
    Controller().Load();
    const std::string_view other = c.form == form::kWarSeg ? form::kWarranty : form::kWarSeg;
    ASSERT_NE(Controller().Instance(c.form), nullptr);
    EXPECT_TRUE(Controller().Instance(c.form)->loaded());
    EXPECT_EQ(Controller().Instance(other), nullptr);

    // The tree's and the View menu's Billed Warranties follow the flag as it stands.
    events_.clear();
    Controller().TreeClick("A7");
    EXPECT_EQ(Controller().current_monitor()->form_name(), c.form);
}

INSTANTIATE_TEST_SUITE_P(Options, WarrantyFormTest,
                         ::testing::Values(WarrantyCase{true, true, true, false, form::kWarranty},
                                           WarrantyCase{false, true, true, true, form::kWarSeg},
                                           WarrantyCase{true, true, true, true, form::kWarSeg},
                                           WarrantyCase{false, true, true, false, form::kWarranty},
                                           WarrantyCase{true, false, false, false, form::kWarSeg},
                                           WarrantyCase{false, false, false, true, form::kWarranty},
                                           WarrantyCase{true, true, false, false, form::kWarSeg}));

TEST_F(ControllerTest, MissingCatalogFileLoadsNothing) {
    hooks_.load_catalog_settings = [this] {
        events_.push_back("catalog");
        mSystem = std::make_shared<cSystem>();
        platform::ShowMessage("EpcError",
                              "You are missing file: /tmp/tMRCatalog.ini    Are "
                              "you running Tesmar Workstation?");
    };
    hooks_.create_engine = []() -> std::shared_ptr<cBusinessBasic> {
        platform::ShowMessage("Connection Error",
                              "You are attempting to connect to: \\\\\\TMARLNK\\ and this shows "
                              "to be an invalid network share");
        RaisePlatform(err::kNoObject, "tMRDataEngine_Initialization");
    };
    Controller().Start();
    EXPECT_EQ(events_,
              (Events{"splash Connecting to Server...", "splash show", "catalog",
                      "message EpcError: You are missing file: /tmp/tMRCatalog.ini    Are you "
                      "running Tesmar Workstation?",
                      "message Connection Error: You are attempting to connect to: "
                      "\\\\\\TMARLNK\\ and this shows to be an invalid network share",
                      "splash unload", "main show"}));
    EXPECT_EQ(LogLines(), (std::vector<std::string>{
                              std::string(kStamp) + "  Program Start from :   Terminal :",
                              std::string("*Form VODOD2 load error :") + kStamp,
                              "*Error  91 : Object variable or With block variable not set"}));
    EXPECT_FALSE(Controller().load_completed());
    EXPECT_EQ(Controller().current_monitor(), nullptr);
    EXPECT_TRUE(Controller().LoadedViews().empty());
    EXPECT_EQ(Controller().StatusText(1), "");
}

TEST_F(ControllerTest, UnreachableShareShowsTwoConnectionMessagesAndLoadsNothing) {
    const std::string text =
        "You are attempting to connect to: \\\\DS1\\TMARLNK\\ and this shows to be an invalid "
        "network share";
    hooks_.load_catalog_settings = [this, text] {
        events_.push_back("catalog");
        mSystem = std::make_shared<cSystem>();
        mSystem->mUNCDrive = "DS1";
        platform::ShowMessage("Connection Error", text);  // the global engine's creation
    };
    hooks_.create_engine = [text]() -> std::shared_ptr<cBusinessBasic> {
        platform::ShowMessage("Connection Error", text);
        RaisePlatform(err::kNoObject, "tMRDataEngine_Initialization");
    };
    Controller().Load();
    EXPECT_EQ(events_, (Events{"catalog", "message Connection Error: " + text,
                               "message Connection Error: " + text}));
    const std::vector<std::string> log = LogLines();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1], std::string("*Form VODOD2 load error :") + kStamp);
    EXPECT_EQ(log[2], "*Error  91 : Object variable or With block variable not set");
}

TEST_F(ControllerTest, AfterAFailedStartMenusAndTreeDoNothingAndRefreshReports) {
    hooks_.create_engine = []() -> std::shared_ptr<cBusinessBasic> {
        RaisePlatform(err::kNoObject, "tMRDataEngine_Initialization");
    };
    Controller().Load();
    events_.clear();
    for (int i = 0; i <= 14; ++i) Controller().MenuClick(Menu::kView, i);
    for (int i = 0; i <= 2; ++i) Controller().MenuClick(Menu::kInventory, i);
    Controller().TreeClick("A3");
    Controller().RecapClick(0);
    EXPECT_TRUE(events_.empty()) << events_.front();

    Controller().MenuClick(Menu::kFile, 0);
    EXPECT_EQ(events_, (Events{"message VODOD2: Error in ReLoadDv function error # :91\r\n"
                               "Object variable or With block variable not set"}));
    EXPECT_EQ(LogLines().back(), "Object variable or With block variable not set");

    // The exit still runs and writes the end line last.
    events_.clear();
    Controller().Unload();
    EXPECT_EQ(LogLines().back(), std::string(kStamp) + "  Program End ");
}

TEST_F(ControllerTest, RefreshReloadsEveryViewInItsOrder) {
    options_[317] = true;
    Controller().Start();
    Controller().Recap().SetCaption(0, "old figure");
    events_.clear();
    options_[317] = false;

    Controller().MenuClick(Menu::kFile, 0);

    Events expected = {"hide frmRecap", "splash Connecting to Server...", "splash show"};
    // Everything loaded is unloaded, in the exit's order.
    for (std::string_view f : Tables().unload) {
        if (f != form::kWarranty) expected.push_back("unload " + std::string(f));
    }
    for (const ViewSlot& slot : Tables().refresh) {
        Append(expected, LoadEvents(slot.Form(false)));  // 317 now says plain
        if (slot.form == form::kShop) expected.push_back("option 317");
    }
    Append(expected, {"splash hide", "show frmRecap", "place frmRecap 110,110,8445,10905"});
    EXPECT_EQ(events_, expected);
    EXPECT_EQ(Controller().recap_board()->Figure(0).caption, "");  // a new board
    EXPECT_EQ(Controller().current_monitor(), Controller().Instance(form::kRecap));
    EXPECT_EQ(Controller().Instance(form::kWarSeg), nullptr);
}

TEST_F(ControllerTest, RefreshClearsOldFiguresAndRedMarks) {
    bool fail = true;
    Register(form::kInv, [&fail](View&, ViewContext& ctx) {
        if (fail) {
            ctx.Recap().MarkError(1);
        } else {
            ctx.Recap().SetCaption(1, "$1.00");
        }
    });
    Controller().Start();
    EXPECT_TRUE(Controller().recap_board()->Figure(1).red);
    events_.clear();
    Controller().RecapClick(1);
    Controller().RecapClick(0);
    EXPECT_EQ(events_, (Events{"log viewer"}));

    fail = false;
    Controller().Refresh();
    EXPECT_FALSE(Controller().recap_board()->Figure(1).red);
    EXPECT_EQ(Controller().recap_board()->Figure(1).caption, "$1.00");
}

TEST_F(ControllerTest, ExitUnloadsInItsOrderAndWritesTheEndLineLast) {
    Controller().Start();
    events_.clear();
    mSystem = std::make_shared<cSystem>();
    Controller().MenuClick(Menu::kFile, 5);
    EXPECT_EQ(events_, (Events{"close"}));  // the window's close runs the unload
    events_.clear();
    Controller().Unload();
    Events expected;
    for (std::string_view f : Tables().unload) {
        if (f != form::kWarSeg) expected.push_back("unload " + std::string(f));
    }
    EXPECT_EQ(events_, expected);
    EXPECT_EQ(mSystem, nullptr);
    EXPECT_EQ(Controller().current_monitor(), nullptr);
    EXPECT_EQ(LogLines().back(), std::string(kStamp) + "  Program End ");
    const size_t lines = LogLines().size();
    Controller().Unload();  // a second close does nothing
    Controller().MenuClick(Menu::kView, 0);
    EXPECT_EQ(LogLines().size(), lines);
}

TEST_F(ControllerTest, TreeAndMenusSwitchViews) {
    registry_.SetFactory(form::kGLL, nullptr);  // G/L Liabilities is not built
    Controller().Load();
    events_.clear();

    Controller().TreeClick("A");  // group nodes do nothing
    Controller().TreeClick("A1");
    Controller().TreeClick("L");
    Controller().TreeClick("S");
    Controller().TreeClick("L2");  // an absent view does nothing
    Controller().MenuClick(Menu::kView, 8);
    Controller().MenuClick(Menu::kView, 3);  // the Inventory submenu
    Controller().MenuClick(Menu::kView, 7);  // a separator
    EXPECT_TRUE(events_.empty());

    Controller().TreeClick("I1");
    Controller().MenuClick(Menu::kInventory, 1);
    Controller().MenuClick(Menu::kView, 1);
    Controller().MenuClick(Menu::kView, 14);
    EXPECT_EQ(
        events_,
        (Events{"hide frmRecap", "show frmInv", "place frmInv 110,110,8445,10905", "repaint",
                // the Inventory submenu: no final repaint
                "select I2", "hide frmInv", "show frmFp", "place frmFp 110,110,8445,10905",
                "select A7", "hide frmFp", "show frmWarranty",
                "place frmWarranty 110,110,8445,10905", "repaint", "select R", "hide frmWarranty",
                "show frmRecap", "place frmRecap 110,110,8445,10905", "repaint"}));

    events_.clear();
    Controller().MenuClick(Menu::kOptions, 0);
    Controller().MenuClick(Menu::kHelp, 0);
    Controller().MenuClick(Menu::kHelp, 2);
    EXPECT_EQ(events_, (Events{"log viewer", "help", "about"}));
}

TEST_F(ControllerTest, SwitchingToAViewThatIsNotLoadedLoadsIt) {
    Controller().Load();
    Controller().Refresh();  // loads frmWarranty; nothing loads frmWarSeg
    Controller().SetWarrantySegments(true);
    events_.clear();
    Controller().TreeClick("A7");
    Events expected = {"hide frmRecap"};
    Append(expected, LoadEvents(form::kWarSeg));
    Append(expected, {"show frmWarSeg", "place frmWarSeg 110,110,8445,10905", "repaint"});
    EXPECT_EQ(events_, expected);
}

TEST_F(ControllerTest, StoreNumberIsTheDirectoryFromItsFourthCharacter) {
    const std::pair<std::string, std::string> cases[] = {
        {"D01", "Source :D01      Store # "},
        {"D0123", "Source :D0123      Store # 23"},
        {"D", "Source :D      Store # "},
        {"", "Source :      Store # "},
    };
    for (const auto& [directory, panel] : cases) {
        directory_ = directory;
        controller_.reset();
        Controller().Load();
        EXPECT_EQ(Controller().StatusText(4), panel);
        EXPECT_TRUE(Controller().load_completed());
    }
}

TEST_F(ControllerTest, FailingTreeIsReportedAndTheLoadGoesOn) {
    window_.fail_tree_node = 6;
    Controller().Load();
    EXPECT_TRUE(Controller().load_completed());
    EXPECT_TRUE(Controller().TreeBuilt("A1"));
    EXPECT_FALSE(Controller().TreeBuilt("I1"));
    const std::string text =
        "Error in settree routine error # :5\r\nInvalid procedure call or argument";
    EXPECT_NE(std::find(events_.begin(), events_.end(), "message VODOD2: " + text), events_.end());
    const std::vector<std::string> log = LogLines();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1], "*Error in settree routine error # :5");
    // A menu item whose node is missing does nothing.
    events_.clear();
    Controller().MenuClick(Menu::kInventory, 0);
    EXPECT_TRUE(events_.empty());
    Controller().MenuClick(Menu::kView, 0);
    EXPECT_FALSE(events_.empty());
}

TEST_F(ControllerTest, AnErrorAtAnEventDoorIsLoggedAndShownAndTheProgramGoesOn) {
    class Throwing : public View {
      public:
        Throwing() : View("frmThrow", "t") {}
        void HeaderClick(std::string_view, int) override {
            RaisePlatform(err::kTypeMismatch, "SortGrid");
        }
        void ButtonClick(std::string_view, int) override { throw std::out_of_range("row"); }

      protected:
        void Load(ViewContext&) override {}
    } view;
    // A detail form's button and list, through the same doors.
    DetailForm detail("frmDtl", "d");
    detail.AddGrid("grdD");
    detail.AddChoice("cmbRequest").items = {"All", "A"};
    detail.SetButtonHandler([](DetailForm&, std::string_view, int, DetailHost&) {
        RaisePlatform(err::kNoObject, "grdD_BtnClick");
    });
    detail.SetChoiceHandler([](DetailForm&, std::string_view, int) {
        throw BasicError(81, "cmbRequest_Click", "Illegal Record Number");
    });
    NoDetailHost host;
    events_.clear();
    Controller().GridHeaderClick(view, "grdT", 2);
    Controller().GridButtonClick(view, "grdT", 0);
    Controller().DetailButtonClick(detail, "grdD", 0, host);
    Controller().DetailChoiceClick(detail, "cmbRequest", 1);
    const std::vector<std::string> lines = {
        "*Error in frmThrow grdT_HeadClick routine error # :  13  Type mismatch",
        "*Error in frmThrow grdT_BtnClick routine error # :  51  row",
        "*Error in frmDtl grdD_BtnClick routine error # :  91  Object variable or With block "
        "variable not set",
        "*Error in frmDtl cmbRequest_Click routine error # :  81  Illegal Record Number"};
    EXPECT_EQ(LogLines(), lines);
    // Each shows its line, without the "*", in a message box with the program's title.
    Events shown;
    for (const std::string& line : lines) shown.push_back("message VODOD2: " + line.substr(1));
    EXPECT_EQ(events_, shown);
}

// The tree's and the menus' doors trap as the views' do, each under its control's event.
TEST_F(ControllerTest, AFailingViewSwitchIsLoggedAsItsControlsEvent) {
    Controller().Load();
    ASSERT_TRUE(Controller().load_completed());
    const size_t before = LogLines().size();
    window_.fail_show = true;
    Controller().TreeClick("I1");
    Controller().MenuClick(Menu::kView, 0);
    Controller().MenuClick(Menu::kInventory, 1);
    const std::vector<std::string> log = LogLines();
    const std::string error = " routine error # :  5  Invalid procedure call or argument";
    EXPECT_EQ(
        std::vector<std::string>(log.begin() + static_cast<std::ptrdiff_t>(before), log.end()),
        (std::vector<std::string>{"*Error in frmKRLI tv1_NodeClick" + error,
                                  "*Error in frmKRLI mview_Click" + error,
                                  "*Error in frmKRLI minv_Click" + error}));
    window_.fail_show = false;
    events_.clear();
    Controller().TreeClick("I2");  // the program goes on
    EXPECT_NE(std::find(events_.begin(), events_.end(), "show frmFp"), events_.end());
}

TEST_F(ControllerTest, OnlyTheExactTokenStartsTheProgram) {
    for (const char* line : {"", " 4K907M13P", "4k907m13p", "4K907M13P x", "4K907M13P "}) {
        events_.clear();
        EXPECT_FALSE(RunMain(line, Controller())) << '"' << line << '"';
        EXPECT_EQ(events_, (Events{"message VODOD2:  This application can only be started \n"
                                   "     from the Tesmar main menu.    "}));
    }
    EXPECT_EQ(ReadLogText(mLogPath), "");  // nothing logged, nothing loaded
    EXPECT_EQ(Controller().Instance(form::kRecap), nullptr);

    const char* argv[] = {"dashvane", "4K907M13P"};
    EXPECT_EQ(CommandLineFrom(2, argv), "4K907M13P");
    const char* more[] = {"dashvane", "4K907M13P", "x"};
    EXPECT_EQ(CommandLineFrom(3, more), "4K907M13P x");
    events_.clear();
    EXPECT_TRUE(RunMain(CommandLineFrom(2, argv), Controller()));
    EXPECT_EQ(events_.back(), "main show");
    EXPECT_EQ(VersionText().rfind("Version ", 0), 0u);
}

TEST_F(ControllerTest, StoreNameErrorShowsItsTextAndLogs) {
    store_.clear();
    Controller().Load();
    EXPECT_EQ(Controller().StoreName(), "Error finding Store Name");
    EXPECT_TRUE(Controller().load_completed());
    const std::vector<std::string> log = LogLines();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1], "*Error in GetStoreName function error # :91");
}

}  // namespace
}  // namespace dv
