// The desktop program on sample data sets: the launch check, the start-up's window, view
// switches from the tree and the menus, File > Refresh, the recap board's way to the log
// viewer, the help and About commands, and the exit. One test leaves pictures of the windows in
// the build folder for a person to look at.
#include "shell/qt/program.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include "app/views.h"
#include "engine/business_basic.h"
#include "platform/messages.h"
#include "platform/smb.h"
#include "shell/grid_sort.h"
#include "shell/operation_log.h"
#include "shell/qt/about_box.h"
#include "shell/qt/grid_table_model.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/log_viewer.h"
#include "shell/qt/main_window.h"
#include "shell/qt/qt_settings_store.h"
#include "shell/qt/qt_test_support.h"
#include "shell/qt/qt_views.h"
#include "shell/qt/recap_form.h"
#include "shell/qt/splash_widget.h"
#include "shell/qt/text.h"
#include "shell/qt/twips.h"
#include "shell/qt/view_form.h"
#include "shell/startup.h"

namespace dv::qt {
namespace {

using testing::AddTestView;
using testing::EnsureApplication;
using testing::FakeDialogs;
using testing::ProgramFixture;
using testing::TestEnvironment;
using testing::TestView;

// ---- the launch check ----

struct LaunchCase {
    std::vector<const char*> arguments;
    bool allowed;
};

TEST(LaunchCheck, OnlyTheTokenAloneStartsTheProgramAndARefusalWritesNothing) {
    const LaunchCase cases[] = {
        {{"4K907M13P"}, true},      {{}, false},
        {{" 4K907M13P"}, false},    {{"4K907M13P "}, false},
        {{"4k907m13p"}, false},     {{"4K907M13P", "more"}, false},
        {{"4K907M13P", ""}, false}, {{""}, false},
    };
    for (const LaunchCase& c : cases) {
        dv::testing::TempFolder folder;
        dv::testing::ScopedEnv temp("TEMP", folder.path());
        auto sink = std::make_shared<platform::RecordingMessageSink>();
        auto previous = platform::SetMessageSink(sink);
        std::vector<const char*> argv = {"dashvane"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const bool allowed = CheckLaunch(static_cast<int>(argv.size()), argv.data());
        platform::SetMessageSink(previous);

        const std::string shown = argv.size() > 1 ? argv[1] : "(none)";
        EXPECT_EQ(allowed, c.allowed) << shown;
        if (c.allowed) {
            EXPECT_TRUE(sink->messages.empty()) << shown;
        } else {
            ASSERT_EQ(sink->messages.size(), 1u) << shown;
            EXPECT_EQ(sink->messages[0].title, "VODOD2");
            EXPECT_EQ(
                sink->messages[0].text,
                " This application can only be started \n     from the Tesmar main menu.    ");
            EXPECT_EQ(sink->messages[0].icon, platform::MessageIcon::kInformation);
        }
        EXPECT_TRUE(std::filesystem::is_empty(folder.path())) << shown;
    }
}

TEST(LaunchCheck, TheRefusalIsAMessageBoxWithTheInformationIcon) {
    EnsureApplication();
    FakeDialogs dialogs;
    auto previous = platform::SetMessageSink(std::make_shared<DialogMessageSink>(dialogs));
    ShowRefusal();
    platform::ShowMessage("Connection Error", "one\r\ntwo", platform::MessageIcon::kCritical);
    platform::SetMessageSink(previous);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, "VODOD2");
    EXPECT_EQ(dialogs.messages[0].text,
              " This application can only be started \n     from the Tesmar main menu.    ");
    EXPECT_EQ(dialogs.messages[0].icon, DialogIcon::kInformation);
    EXPECT_EQ(dialogs.messages[1].text, "one\ntwo");
    EXPECT_EQ(dialogs.messages[1].icon, DialogIcon::kCritical);
}

// ---- the running program ----

class ProgramTest : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        TestView::loads() = 0;
    }

    void Start() { StartProgram(); }

    MainController& controller() { return program_->controller(); }

    void Menu(dv::Menu menu, int index) {
        QAction* action = window().menuAction(menu, index);
        ASSERT_NE(action, nullptr);
        action->trigger();
    }

    std::string CurrentForm() {
        View* v = controller().current_monitor();
        return v ? v->form_name() : std::string();
    }

    std::string SelectedNode() {
        QTreeWidgetItem* item = window().tree()->currentItem();
        return item ? item->data(0, Qt::UserRole).toString().toStdString() : std::string();
    }

    // The forms whose sub-windows are visible.
    std::vector<std::string> VisibleForms() {
        std::vector<std::string> out;
        for (QMdiSubWindow* sub : window().mdiArea()->subWindowList()) {
            if (auto* v = dynamic_cast<ViewSubWindow*>(sub); v && v->isVisible() && v->view())
                out.push_back(v->view()->form_name());
        }
        return out;
    }

    void RegisterTestViews(bool inventory_fails = false) {
        DeclareViews(views_);
        AddTestView(views_, {"frmInv", "Inventory Investment", 1, 3, inventory_fails});
        AddTestView(views_, {"frmReturn", "Returns", 5, 4, false});
    }
};

TEST_F(ProgramTest, TheStartUpShowsTheRecapBoardAtItsPlaceWithTheTreeExpandedAndRecapSelected) {
    env_.WriteDemoSet();
    RegisterViews(views_);
    Start();

    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().windowTitle(), "Tesmar Dashvane 2");
    EXPECT_FALSE(program_->splash().isVisible());
    EXPECT_FALSE(program_->splash().model().loaded());
    EXPECT_TRUE(controller().load_completed());
    EXPECT_TRUE(messages_->messages.empty());

    EXPECT_EQ(CurrentForm(), "frmRecap");
    EXPECT_EQ(VisibleForms(), std::vector<std::string>{"frmRecap"});
    ViewSubWindow* recap = window().subWindow("frmRecap");
    ASSERT_NE(recap, nullptr);
    EXPECT_EQ(recap->windowTitle(), "System Recap");
    EXPECT_EQ(recap->geometry(), QRect(TwipsX(&window(), 110), TwipsY(&window(), 110),
                                       TwipsX(&window(), 10905), TwipsY(&window(), 8445)));
    EXPECT_NE(dynamic_cast<RecapForm*>(recap->widget()), nullptr);

    QTreeWidget* tree = window().tree();
    int nodes = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        ++nodes;
        if ((*it)->childCount() > 0) {
            EXPECT_TRUE((*it)->isExpanded()) << (*it)->text(0).toStdString();
        }
    }
    EXPECT_EQ(nodes, 18);
    EXPECT_EQ(tree->topLevelItemCount(), 4);
    EXPECT_EQ(tree->topLevelItem(3)->text(0), "Recap");
    EXPECT_EQ(SelectedNode(), "R");
    EXPECT_TRUE(window().treeItem("R")->isSelected());

    // Store name: 35 characters from the control file, trailing blanks kept.
    EXPECT_EQ(window().storeNameLabel()->text(),
              QString("NORTHFIELD EQUIPMENT & SERVICE").leftJustified(35, ' '));
    EXPECT_TRUE(window().statusPanel(1)->text().startsWith("Client :"));
    EXPECT_EQ(window().statusPanel(2)->text(), "Host :DS1");
    EXPECT_EQ(window().statusPanel(3)->text(), "Terminal :7");
    EXPECT_EQ(window().statusPanel(4)->text(), "Source :D01      Store # ");
    EXPECT_FALSE(window().statusPanel(5)->text().isEmpty());
    EXPECT_FALSE(window().statusPanel(6)->text().isEmpty());

    const auto log = env_.LogLines();
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log[0].find("  Program Start from : "), std::string::npos);
    EXPECT_NE(log[0].find("  Terminal :7"), std::string::npos);
}

TEST_F(ProgramTest, TreeClicksAndMenuItemsSwitchViewsAndGroupNodesDoNothing) {
    env_.WriteDemoSet();
    RegisterTestViews();
    Start();
    ASSERT_EQ(CurrentForm(), "frmRecap");

    ClickTree("I1");
    EXPECT_EQ(CurrentForm(), "frmInv");
    EXPECT_EQ(VisibleForms(), std::vector<std::string>{"frmInv"});
    EXPECT_EQ(SelectedNode(), "I1");
    ViewSubWindow* inventory = window().subWindow("frmInv");
    ASSERT_NE(inventory, nullptr);
    EXPECT_EQ(inventory->windowTitle(), "Inventory Investment");
    EXPECT_EQ(inventory->geometry().topLeft(),
              QPoint(TwipsX(&window(), 110), TwipsY(&window(), 110)));
    auto* form = dynamic_cast<ViewForm*>(inventory->widget());
    ASSERT_NE(form, nullptr);
    ASSERT_NE(form->gridWidget("grdTest"), nullptr);
    form->gridWidget("grdTest")->Sync();
    EXPECT_EQ(form->gridWidget("grdTest")->tableModel()->rowCount(), 3);

    for (const char* group : {"A", "A1", "L", "S"}) {
        ClickTree(group);
        EXPECT_EQ(CurrentForm(), "frmInv") << group;
        EXPECT_EQ(VisibleForms(), std::vector<std::string>{"frmInv"}) << group;
    }
    // A view the program does not have yet: nothing happens.
    ClickTree("S2");
    EXPECT_EQ(CurrentForm(), "frmInv");
    Menu(Menu::kView, 11);
    EXPECT_EQ(CurrentForm(), "frmInv");

    Menu(Menu::kView, 6);  // Returns
    EXPECT_EQ(CurrentForm(), "frmReturn");
    EXPECT_EQ(VisibleForms(), std::vector<std::string>{"frmReturn"});
    EXPECT_EQ(SelectedNode(), "A6");

    Menu(Menu::kInventory, 0);  // Parts
    EXPECT_EQ(CurrentForm(), "frmInv");
    EXPECT_EQ(SelectedNode(), "I1");
    EXPECT_EQ(window().subWindow("frmInv"), inventory);  // the same sub-window, kept hidden

    // Closing a view's window only hides it.
    inventory->close();
    EXPECT_FALSE(inventory->isVisible());
    EXPECT_EQ(window().subWindow("frmInv"), inventory);
    ClickTree("R");
    EXPECT_EQ(CurrentForm(), "frmRecap");
    ClickTree("I1");
    EXPECT_TRUE(inventory->isVisible());

    Menu(Menu::kView, 14);  // Recap
    EXPECT_EQ(CurrentForm(), "frmRecap");
    EXPECT_EQ(VisibleForms(), std::vector<std::string>{"frmRecap"});
    EXPECT_EQ(TestView::loads(), 2);  // switching loads nothing again
}

// The main window opens at the size it wants where the screen has room for it and its frame;
// else as much as fits, moved so that its frame stands on the screen.
TEST(MainWindowOpening, TheWindowAndItsFrameStandInsideTheScreensRoom) {
    const QSize frame(16, 40);
    const struct {
        QSize wanted;
        QRect available;
        QPoint at;
        QRect opening;
    } cases[] = {
        {{1000, 700}, {0, 0, 1600, 1000}, {0, 0}, {0, 0, 1000, 700}},
        {{1632, 704}, {0, 0, 1600, 1000}, {0, 0}, {0, 0, 1584, 704}},          // the status panels
        {{1000, 1200}, {0, 0, 1600, 1000}, {0, 0}, {0, 0, 1000, 960}},         // too tall
        {{1000, 700}, {0, 0, 1600, 1000}, {900, 500}, {584, 260, 1000, 700}},  // moved in
        {{1632, 704}, {60, 30, 1540, 970}, {0, 0}, {60, 30, 1524, 704}},       // a panel aside
        {{800, 600}, {0, 0, 640, 480}, {10, 10}, {0, 0, 624, 440}},            // a small screen
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OpeningGeometry(c.wanted, c.available, frame, c.at), c.opening)
            << c.wanted.width() << "x" << c.wanted.height() << " at " << c.at.x() << ","
            << c.at.y();
    }
}

// A view's window opens as wide as its grid's columns want, within the client area; once the
// user has sized it, a wider cell leaves the user's width, until the next switch places it.
TEST_F(ProgramTest, AViewsWindowOpensAsWideAsItsGridWantsUntilTheUserSizesIt) {
    env_.WriteDemoSet();
    RegisterTestViews();
    Start();
    window().resize(1400, 900);
    QCoreApplication::processEvents();
    ClickTree("I1");
    ViewSubWindow* inventory = window().subWindow("frmInv");
    ASSERT_NE(inventory, nullptr);
    auto* form = dynamic_cast<ViewForm*>(inventory->widget());
    ASSERT_NE(form, nullptr);
    GridModel& grid = form->gridWidget("grdTest")->grid();
    QCoreApplication::processEvents();
    const int placed = inventory->width();
    const int room = window().mdiArea()->viewport()->width() - inventory->x();
    ASSERT_GT(room, placed + 100);

    grid.SetCell(0, "Line", std::string(120, 'W'));  // wider than the client area
    QCoreApplication::processEvents();
    EXPECT_EQ(inventory->width(), room);

    inventory->resize(placed, inventory->height());
    grid.SetCell(1, "Line", std::string(130, 'W'));
    QCoreApplication::processEvents();
    EXPECT_EQ(inventory->width(), placed);

    ClickTree("R");
    ClickTree("I1");
    QCoreApplication::processEvents();
    EXPECT_EQ(inventory->width(), room);
}

// A node reached with the arrow keys, or Enter on the highlighted node, shows its view as a
// click does; a node the program highlights shows nothing by itself.
TEST_F(ProgramTest, ChoosingATreeNodeWithTheKeyboardShowsItsView) {
    env_.WriteDemoSet();
    RegisterTestViews();
    Start();
    ASSERT_EQ(CurrentForm(), "frmRecap");
    QTreeWidget* tree = window().tree();
    tree->setFocus();
    QTreeWidgetItem* returns = window().treeItem("A6");
    ASSERT_NE(returns, nullptr);
    tree->setCurrentItem(tree->itemAbove(returns));
    EXPECT_EQ(CurrentForm(), "frmRecap");
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(CurrentForm(), "frmReturn");
    EXPECT_EQ(VisibleForms(), std::vector<std::string>{"frmReturn"});

    tree->setCurrentItem(window().treeItem("I1"));
    EXPECT_EQ(CurrentForm(), "frmReturn");
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(CurrentForm(), "frmInv");
    EXPECT_EQ(SelectedNode(), "I1");
    // The menus' shortcuts still work while the tree has the focus.
    window().activateWindow();
    QTest::keyClick(tree, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(dialogs_.modal, std::vector<QString>{"frmViewLog"});
}

TEST_F(ProgramTest, RefreshReloadsEveryViewAndShowsTheNewRecapBoard) {
    env_.WriteDemoSet();
    RegisterTestViews();
    Start();
    ASSERT_EQ(TestView::loads(), 2);
    // A mark on the first board that a new board can't carry (a freed board's address may
    // well be the new one's).
    controller().Recap().SetCaption(9, "first board");
    ClickTree("I1");
    ViewSubWindow* inventory = window().subWindow("frmInv");

    Menu(Menu::kFile, 0);
    EXPECT_EQ(TestView::loads(), 4);
    EXPECT_NE(controller().recap_board()->Figure(9).caption, "first board");
    EXPECT_EQ(CurrentForm(), "frmRecap");
    EXPECT_EQ(VisibleForms(), std::vector<std::string>{"frmRecap"});
    EXPECT_EQ(SelectedNode(), "I1");  // the tree keeps its node
    EXPECT_FALSE(program_->splash().isVisible());
    auto* recap = dynamic_cast<RecapForm*>(window().subWindow("frmRecap")->widget());
    ASSERT_NE(recap, nullptr);
    EXPECT_EQ(&recap->board(), controller().recap_board());
    EXPECT_EQ(recap->figure(1)->text(), "$3.00");
    EXPECT_EQ(recap->figure(5)->text(), "$4.00");

    // The view's sub-window stays and shows the new instance on its next show.
    ClickTree("I1");
    EXPECT_EQ(window().subWindow("frmInv"), inventory);
    auto* form = dynamic_cast<ViewForm*>(inventory->widget());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(&form->view(), controller().Instance("frmInv"));
    EXPECT_TRUE(messages_->messages.empty());
}

TEST_F(ProgramTest, ARedRecapLabelOpensTheLogViewer) {
    env_.WriteDemoSet();
    RegisterTestViews(true);
    Start();
    auto* recap = dynamic_cast<RecapForm*>(window().subWindow("frmRecap")->widget());
    ASSERT_NE(recap, nullptr);
    EXPECT_EQ(recap->figure(1)->text(), "Data Error !");
    EXPECT_EQ(recap->figure(1)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(recap->figure(5)->text(), "$4.00");

    QString shown;
    dialogs_.on_modal = [&](QDialog& dialog) {
        if (auto* viewer = dynamic_cast<LogViewer*>(&dialog)) shown = viewer->text()->toPlainText();
    };
    QTest::mouseClick(recap->figure(5), Qt::LeftButton);
    EXPECT_TRUE(dialogs_.modal.empty());
    QTest::mouseClick(recap->figure(1), Qt::LeftButton);
    EXPECT_EQ(dialogs_.modal, std::vector<QString>{"frmViewLog"});
    EXPECT_TRUE(shown.contains(
        "*Error in frmInv GetTest routine error # :  81  Illegal Record Number for File: X"));
}

TEST_F(ProgramTest, MenuCommandsOpenTheLogViewerTheHelpPageAndTheAboutBox) {
    env_.WriteDemoSet();
    Start();
    EXPECT_EQ(window().menuAction(Menu::kFile, 0)->shortcut(), QKeySequence("Ctrl+R"));
    EXPECT_EQ(window().menuAction(Menu::kOptions, 0)->shortcut(), QKeySequence("Ctrl+L"));
    EXPECT_EQ(window().menuAction(Menu::kHelp, 0)->shortcut(), QKeySequence("F1"));
    EXPECT_EQ(window().menuAction(Menu::kFile, 5)->text(), "E&xit");

    Menu(Menu::kOptions, 0);
    Menu(Menu::kHelp, 2);
    EXPECT_EQ(dialogs_.modal, (std::vector<QString>{"frmViewLog", "frmAbout"}));

    // The help page opens in the program's own window, with no desktop opener involved.
    QString help_text;
    dialogs_.on_modal = [&](QDialog& dialog) {
        if (auto* help = qobject_cast<QTextBrowser*>(dialog.findChild<QTextBrowser*>()))
            help_text = help->toPlainText();
    };
    Menu(Menu::kHelp, 0);
    EXPECT_EQ(dialogs_.modal.back(), "frmHelp");
    EXPECT_TRUE(dialogs_.opened.empty());
    EXPECT_FALSE(help_text.isEmpty());
    EXPECT_TRUE(dialogs_.messages.empty());
}

// The help page the user named ("HelpFile", outside every section of the settings file the
// window and dashvane-dump share) is the one the Help command opens, while it exists.
TEST(HelpFile, TheUsersSettingNamesThePageWhileItExists) {
    EnsureApplication();
    dv::testing::TempFolder folder;
    // The store's files in the test's own folder, whatever the environment names.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ToQ(folder.path()));
    // A name outside Latin-1 too: the path comes back as the bytes the file system knows.
    const std::string page = folder.path() + "/mine-\u03a9.html";
    const QString qpage = QString::fromUtf8(page.data(), static_cast<qsizetype>(page.size()));
    dv::testing::WriteFile(folder.path() + "/Dashvane/Dashvane.conf",
                           "[General]\nHelpFile=" + page + "\n\n[Asset]\nAccounts=\"01100,025\"\n");
    const std::unique_ptr<SettingsStore> store = MakeUserSettingsStore();
    ScopedSettingsStore use_settings(*store);
    EXPECT_EQ(store->Get(kSettingsApplication, "Asset", "Accounts"), "01100,025");
    EXPECT_EQ(store->Get(kSettingsApplication, "", "HelpFile"), page);
    EXPECT_NE(HelpFilePath(), qpage);  // no such file yet: the page beside the program
    EXPECT_FALSE(HelpFilePath().isEmpty());
    dv::testing::WriteFile(page, "<html></html>");
    EXPECT_EQ(HelpFilePath(), qpage);
}

TEST_F(ProgramTest, ExitWritesProgramEndLast) {
    env_.WriteDemoSet();
    RegisterTestViews();
    Start();
    ClickTree("A6");
    Menu(Menu::kFile, 5);
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(controller().current_monitor(), nullptr);
    EXPECT_TRUE(VisibleForms().empty());
    const auto log = env_.LogLines();
    ASSERT_GE(log.size(), 2u);
    const std::string& last = log.back();
    ASSERT_GE(last.size(), 14u);
    EXPECT_EQ(last.substr(last.size() - 14), "  Program End ");
    EXPECT_EQ(dv::testing::ReadFileBytes(env_.log_path())
                  .substr(dv::testing::ReadFileBytes(env_.log_path()).size() - 2),
              "\r\n");
}

TEST_F(ProgramTest, WithoutTheDataSetTheWindowComesUpEmptyAndTheViewMenuDoesNothing) {
    RegisterTestViews();
    Start();
    EXPECT_TRUE(window().isVisible());
    EXPECT_FALSE(controller().load_completed());
    EXPECT_FALSE(messages_->messages.empty());
    EXPECT_EQ(window().tree()->topLevelItemCount(), 0);
    EXPECT_TRUE(VisibleForms().empty());
    Menu(Menu::kInventory, 0);
    Menu(Menu::kView, 6);
    EXPECT_EQ(CurrentForm(), "");
    EXPECT_TRUE(VisibleForms().empty());
    EXPECT_EQ(TestView::loads(), 0);
}

// When the dealer's server refuses every other login, the desktop asks the user in a dialog,
// which says why it asks and starts from the user name typed in last; a cancelled dialog gives
// no login. The program's end takes the question away.
TEST_F(ProgramTest, TheServersLoginIsAskedInADialog) {
    RegisterTestViews();
    program_ = std::make_unique<DesktopProgram>(views_, DefaultEngineHooks(), dialogs_, qt_views_);
    platform::SmbLogin login;
    EXPECT_FALSE(platform::AskSmbLogin({"ds1", "TMARLNK", "", "", ""}, login));  // cancelled
    dialogs_.login = {"ann", "secret", "NORTH"};
    const std::string notes = "The server refused the login typed in (user ann).";
    ASSERT_TRUE(platform::AskSmbLogin({"ds1", "TMARLNK", notes, "ann", "NORTH"}, login));
    EXPECT_EQ(login.user, "ann");
    EXPECT_EQ(login.password, "secret");
    EXPECT_EQ(login.domain, "NORTH");
    EXPECT_EQ(dialogs_.logins_asked, (std::vector<QString>{"ds1\\TMARLNK", "ds1\\TMARLNK"}));
    ASSERT_EQ(dialogs_.login_questions.size(), 2u);
    EXPECT_EQ(dialogs_.login_questions[0].notes, "");
    EXPECT_EQ(dialogs_.login_questions[1].notes, QString::fromStdString(notes));
    EXPECT_EQ(dialogs_.login_defaults[1].user, "ann");
    EXPECT_EQ(dialogs_.login_defaults[1].domain, "NORTH");
    EXPECT_EQ(dialogs_.login_defaults[1].password, "");
    program_.reset();
    EXPECT_FALSE(platform::AskSmbLogin({"ds1", "TMARLNK", "", "", ""}, login));
    EXPECT_EQ(dialogs_.logins_asked.size(), 2u);
}

// ---- pictures for a person to look at ----

void Save(QWidget& widget, const char* name) {
    const QString folder = DASHVANE_SCREENSHOT_DIR;
    QDir().mkpath(folder);
    const QString path = folder + "/" + name;
    ASSERT_TRUE(widget.grab().save(path)) << path.toStdString();
    EXPECT_GT(QFileInfo(path).size(), 1000);
}

// The login dialog shows why it asks, whole, between its question and its fields, and starts
// from the user name typed in last, the password empty for the user to type.
TEST_F(ProgramTest, TheLoginDialogShowsWhyItAsksWhole) {
    const QString unused =
        "The credentials file /home/ann/.config/dashvane/smb-credentials was not used: others "
        "than its owner may read it (mode 0644).\nMake it private with chmod 600 "
        "/home/ann/.config/dashvane/smb-credentials.";
    const std::unique_ptr<QDialog> dialog = NewLoginDialog(
        nullptr, {"ds1", "TMARLNK", "The server refused the login typed in (user ann).\n" + unused},
        {"ann", "", "NORTH"});
    dialog->show();
    QCoreApplication::processEvents();
    const auto* question = dialog->findChild<QLabel*>("question");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->text(),
              "The server ds1 asks for a login to its share TMARLNK.\nThe server refused the "
              "login typed in (user ann).\n" +
                  unused + "\nA login typed in here is kept until the program ends.");
    EXPECT_EQ(dialog->findChild<QLineEdit*>("user")->text(), "ann");
    EXPECT_EQ(dialog->findChild<QLineEdit*>("domain")->text(), "NORTH");
    EXPECT_EQ(dialog->findChild<QLineEdit*>("password")->text(), "");
    EXPECT_EQ(testing::CutTexts(*dialog), std::vector<std::string>{});
    Save(*dialog, "login_dialog.png");
}

TEST_F(ProgramTest, ScreenshotsOfTheMainWindowAndItsForms) {
    env_.WriteDemoSet();
    RegisterViews(views_);
    Start();
    Save(window(), "main_window.png");

    // A stand-in for a view that has no fill of its own yet, so that a grid is in a picture too.
    if (!views_.Has("frmReturn")) AddTestView(views_, {"frmReturn", "Returns", 5, 40, false});
    ClickTree("A6");
    QCoreApplication::processEvents();
    Save(window(), "main_window_view.png");

    SplashModel model("Version 0.1.0", "Dashvane reads the dealer system's files.\nSecond line.");
    SplashWidget splash(model);
    model.Show();
    model.SetProgress("Loading Inventory...");
    Save(splash, "splash.png");

    LogViewer viewer(dialogs_, mLogPath);
    viewer.show();
    Save(viewer, "log_viewer.png");

    AboutBox about(dialogs_);
    about.show();
    Save(about, "about_box.png");
}

}  // namespace
}  // namespace dv::qt
