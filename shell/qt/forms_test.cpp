// The splash's load and unload rules, the recap board's labels, the log viewer with its
// printing, the About box's system-information button, and a detail dialog's header clicks.
#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "platform/test_support.h"
#include "shell/grid_sort.h"
#include "shell/operation_log.h"
#include "shell/qt/about_box.h"
#include "shell/qt/detail_dialog.h"
#include "shell/qt/log_viewer.h"
#include "shell/qt/qt_test_support.h"
#include "shell/qt/recap_form.h"
#include "shell/qt/splash_widget.h"
#include "shell/qt/view_form.h"
#include "shell/recap_board.h"

namespace dv::qt {
namespace {

using testing::EnsureApplication;
using testing::FakeDialogs;

class FormsTest : public ::testing::Test {
  protected:
    void SetUp() override { EnsureApplication(); }
};

TEST_F(FormsTest, AKeyPressUnloadsTheSplashAndALaterProgressTextLoadsItWithoutShowingIt) {
    SplashModel model("Version 1.2.3", "Line one\nLine two");
    SplashWidget splash(model);
    model.Show();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.versionLabel()->text(), "Version 1.2.3");
    EXPECT_EQ(splash.progressLabel()->text(), "Connecting to Server...");
    EXPECT_EQ(splash.noticeLabel()->text(), "Line one\nLine two");

    QTest::keyClick(&splash, Qt::Key_A);
    EXPECT_FALSE(model.loaded());
    EXPECT_FALSE(splash.isVisible());

    model.SetProgress("Loading Inventory...");
    EXPECT_TRUE(model.loaded());
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.progressLabel()->text(), "Loading Inventory...");

    // Showing it again (File > Refresh) brings it back; a click on its frame unloads it.
    model.Show();
    EXPECT_TRUE(splash.isVisible());
    QTest::mouseClick(splash.frame(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(model.loaded());
    EXPECT_FALSE(splash.isVisible());
}

TEST_F(FormsTest, WhileALoadRunsAKeyPressAnywhereUnloadsTheSplash) {
    SplashModel model("Version 1.2.3", "");
    SplashWidget splash(model);
    QWidget other;
    other.show();
    BusyScope busy(splash);
    model.Show();
    QTest::keyClick(&other, Qt::Key_Space);
    EXPECT_FALSE(model.loaded());
    EXPECT_FALSE(splash.isVisible());
}

TEST_F(FormsTest, AViewsCommandButtonsStandOnItsFormAndTheirClicksReachTheView) {
    class Sample : public View {
      public:
        Sample() : View("frmGLA", "G/L Asset Total") {
            AddCommand("cmdCashSetup", "&Select Accounts");
        }
        void CommandClick(std::string_view button) override {
            clicks.emplace_back(button);
            if (clicks.size() == 2) throw BasicError(91, "frmGLA", "no object");
        }
        std::vector<std::string> clicks;

      protected:
        void Load(ViewContext&) override {}
    } view;
    FakeDialogs dialogs;
    testing::TestDoors doors(dialogs);
    ViewForm form(view, doors.Context());
    auto* button = form.findChild<QPushButton*>("cmdCashSetup");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "&Select Accounts");
    button->click();
    button->click();  // the view's error is shown, and the form goes on
    button->click();
    EXPECT_EQ(view.clicks,
              (std::vector<std::string>{"cmdCashSetup", "cmdCashSetup", "cmdCashSetup"}));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains("no object"));
}

class RecapFormTest : public FormsTest {
  protected:
    class Context : public ViewContext {
      public:
        explicit Context(RecapBoard& board) : board_(board) {}
        SplashModel& Splash() override { return splash_; }
        RecapBoard& Recap() override { return board_; }

      private:
        SplashModel splash_{"", ""};
        RecapBoard& board_;
    };
};

TEST_F(RecapFormTest, LabelsFollowTheBoardAndReportTheirClicks) {
    RecapBoard board;
    Context context(board);
    board.RunLoad(context);
    std::vector<int> clicks;
    RecapForm form(board, [&](int i) { clicks.push_back(i); });
    form.resize(700, 540);
    form.show();
    EXPECT_TRUE(form.compileLabel()->text().startsWith(" Compiled  "));

    board.SetCaption(1, "$1,234.00");
    board.MarkError(5);
    EXPECT_EQ(form.figure(1)->text(), "$1,234.00");
    EXPECT_EQ(form.figure(5)->text(), "Data Error !");
    EXPECT_EQ(form.figure(5)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(form.figure(1)->palette().color(QPalette::WindowText), QColor(0, 0, 0));

    QTest::mouseClick(form.figure(5), Qt::LeftButton);
    QTest::mouseClick(form.figure(21), Qt::LeftButton);
    EXPECT_EQ(clicks, (std::vector<int>{5, 21}));
}

class LogViewerTest : public FormsTest {
  protected:
    dv::testing::TempFolder folder_;
    std::string log_ = folder_ / "dvoperation.log";
};

TEST_F(LogViewerTest, ShowsTheWholeLogReadOnlyInAFixedPitchFont) {
    WriteLog(log_, "12/5/2024 3:07:09 PM  Program Start from : PC1  Terminal :7");
    WriteLog(log_, "*Error in GetOption function error # :53\r\nFile not found");
    FakeDialogs dialogs;
    LogViewer viewer(dialogs, log_);
    EXPECT_EQ(viewer.windowTitle(), "Dashvane 2 Operation Log");
    EXPECT_EQ(viewer.pathLabel()->text(), QString::fromStdString(log_));
    EXPECT_EQ(viewer.text()->toPlainText(),
              "12/5/2024 3:07:09 PM  Program Start from : PC1  Terminal :7\n"
              "*Error in GetOption function error # :53\nFile not found\n");
    EXPECT_TRUE(viewer.text()->isReadOnly());
    // What the user sees: narrow and wide characters take the same room.
    const QFontMetricsF metrics(viewer.text()->font());
    for (const char* c : {"i", "l", ".", " ", "m"})
        EXPECT_EQ(metrics.horizontalAdvance(QString::fromLatin1(c)), metrics.horizontalAdvance("W"))
            << QFontInfo(viewer.text()->font()).family().toStdString() << " '" << c << "'";
    EXPECT_EQ(viewer.printButton()->text(), "&Print");
    EXPECT_EQ(viewer.exitButton()->text(), "E&xit");
}

TEST_F(LogViewerTest, AMissingLogShowsAnEmptyBoxAndSaysWhy) {
    FakeDialogs dialogs;
    {
        WriteLog(log_, "line");
        LogViewer viewer(dialogs, log_);
        EXPECT_TRUE(viewer.problemLabel()->isHidden());
    }
    // TEMP names a folder that is not there: the program's lines never reached the file.
    const std::string path = folder_ / "gone/dvoperation.log";
    WriteLog(path, "12/5/2024 3:07:09 PM  Program Start from : PC1  Terminal :7");
    LogViewer viewer(dialogs, path);
    EXPECT_TRUE(viewer.text()->toPlainText().isEmpty());
    EXPECT_FALSE(viewer.problemLabel()->isHidden());
    EXPECT_EQ(viewer.problemLabel()->text().toStdString(),
              "The log file " + path + " can't be read: No such file or directory\nThe log file " +
                  path + " can't be written: No such file or directory");
    ResetLogWarningForTest();
}

TEST_F(LogViewerTest, PrintGoesToThePrinterChosenAndACancelPrintsNothing) {
    WriteLog(log_, "12/5/2024 3:07:09 PM  Program Start from : PC1  Terminal :7");
    FakeDialogs dialogs;
    LogViewer viewer(dialogs, log_);

    QTest::mouseClick(viewer.printButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.printer_dialogs, 1);
    EXPECT_TRUE(dialogs.messages.empty());

    const std::string pdf = folder_ / "log.pdf";
    dialogs.print_file = QString::fromStdString(pdf);
    QTest::mouseClick(viewer.printButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.printer_dialogs, 2);
    const std::string bytes = dv::testing::ReadFileBytes(pdf);
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LogViewerTest, ExitClosesTheViewer) {
    FakeDialogs dialogs;
    LogViewer viewer(dialogs, log_);
    viewer.show();
    QTest::mouseClick(viewer.exitButton(), Qt::LeftButton);
    EXPECT_FALSE(viewer.isVisible());
}

TEST_F(FormsTest, SysInfoStartsTheFirstToolOnThePathOrSaysItIsUnavailable) {
    dv::testing::TempFolder folder;
    dv::testing::ScopedEnv path("PATH", folder.path());
    FakeDialogs dialogs;
    AboutBox box(dialogs);
    EXPECT_EQ(box.windowTitle(), "About Dashvane 2");
    EXPECT_EQ(box.titleLabel()->text(), "Dashvane 2");
    EXPECT_TRUE(box.versionLabel()->text().startsWith("Version "));

    QTest::mouseClick(box.sysInfoButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "VODOD2");
    EXPECT_EQ(dialogs.messages[0].text, "System Information Is Unavailable At This Time");
    EXPECT_TRUE(dialogs.started.empty());

    // A tool that is found is started.
    const std::string tool = folder / "gnome-system-monitor";
    dv::testing::WriteFile(tool, "#!/bin/sh\n");
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    QTest::mouseClick(box.sysInfoButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.started.size(), 1u);
    EXPECT_EQ(dialogs.started[0], QString::fromStdString(tool));
    EXPECT_EQ(dialogs.messages.size(), 1u);

    // One that does not start counts as none.
    dialogs.start_succeeds = false;
    QTest::mouseClick(box.sysInfoButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

// A header click in a detail dialog sorts a grid whose columns sort and leaves one whose columns
// do not as it was.
TEST_F(FormsTest, ADetailDialogsHeaderClicksSortTheGridsThatHaveATable) {
    DetailForm form("frmTest", "Test Detail");
    std::vector<GridModel*> grids = {&form.AddGrid("grdSorted"), &form.AddGrid("grdPlain")};
    for (GridModel* grid : grids) {
        const SortKind sort = grid == grids[0] ? SortKind::kNumber : SortKind::kNone;
        grid->AddColumn({.name = "Amount", .caption = "Amount", .sort = sort});
        for (const char* amount : {"9.00", "1,000.00", "20.00"})
            grid->SetCell(grid->AddRow(), "Amount", amount);
    }
    CapturingDetailHost host;
    FakeDialogs dialogs;
    testing::TestDoors doors(dialogs);
    DetailDialog dialog(form, host, doors.doors());
    dialog.show();
    mSortOrder = 0;
    for (const char* name : {"grdSorted", "grdPlain"}) {
        QHeaderView* header = dialog.grid(name)->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 4, header->height() / 2));
    }
    const auto amounts = [](const GridModel& grid) {
        std::vector<std::string> cells;
        for (int r = 0; r < grid.RowCount(); ++r) cells.push_back(grid.CellText(r, "Amount"));
        return cells;
    };
    EXPECT_EQ(amounts(*grids[0]), (std::vector<std::string>{"1,000.00", "20.00", "9.00"}));
    EXPECT_EQ(amounts(*grids[1]), (std::vector<std::string>{"9.00", "1,000.00", "20.00"}));
    EXPECT_EQ(mSortOrder, 1);  // the grid without a table did not flip the toggle
}

}  // namespace
}  // namespace dv::qt
