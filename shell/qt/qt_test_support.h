// Test helpers of the desktop program: the one application object, a recording Dialogs, a
// demo data set in a fresh temporary folder with DASHVANE_SHARES, TMPDIR and TEMP pointing into
// it, small views whose fills a test controls, and what the subsystems' form tests share: a
// program started on a written data set, a view opened from the tree, a click on a grid cell
// and a screenshot for a person to look at.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QString>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/business_basic.h"
#include "platform/messages.h"
#include "platform/test_support.h"
#include "shell/detail_form.h"
#include "shell/grid_sort.h"
#include "shell/headless.h"
#include "shell/main_controller.h"
#include "shell/operation_log.h"
#include "shell/qt/dialogs.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/main_window.h"
#include "shell/qt/program.h"
#include "shell/qt/qt_views.h"
#include "shell/view.h"
#include "shell/view_registry.h"

namespace dv::sample {
class DataSetImage;
}

namespace dv::qt::testing {

// Creates the QApplication on first use (offscreen unless QT_QPA_PLATFORM says otherwise).
void EnsureApplication();

// Saves a picture of widget as name in the build folder's screenshots (the test target defines
// DASHVANE_SCREENSHOT_DIR) and checks that it holds an image.
void SaveScreenshot(QWidget& widget, const QString& name);

// Checks the table model of a grid (and of every grid under a widget) against the item-model
// contract with a QAbstractItemModelTester, at once and on every change from then on; a breach
// fails the running test. A model is given one tester however often it is asked.
void TestGridModel(GridWidget& grid);
void TestGridModels(QWidget& widget);

// A user's click on a grid's cell, scrolled into view first.
void ClickCell(GridWidget* grid, int row, int column);

// Every text under root (itself included) that is shown cut off: a visible label whose line is
// wider than the label's room, a visible grid column whose caption or any cell's text is wider
// than the column's room, a group caption wider than its columns. Each entry names the widget,
// the text and both widths; empty when every text is shown whole. The widgets must be laid out
// (shown, with the events processed).
std::vector<std::string> CutTexts(const QWidget& root);

class FakeDialogs : public Dialogs {
  public:
    struct MessageRecord {
        QString title;
        QString text;
        DialogIcon icon;
    };

    void Message(QWidget*, const QString& title, const QString& text, DialogIcon icon) override {
        messages.push_back({title, text, icon});
    }
    // Prints to print_file as PDF, or cancels when it is empty.
    bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
    void RunModal(QDialog& dialog) override {
        modal.push_back(dialog.objectName());
        if (on_modal) on_modal(dialog);
    }
    bool OpenUrl(const QUrl& url) override {
        opened.push_back(url);
        return true;
    }
    bool StartProgram(const QString& program) override {
        started.push_back(program);
        return start_succeeds;
    }
    // Answers with login when it names a user, else cancels.
    bool AskLogin(QWidget*, const LoginQuestion& question, LoginAnswer& answer) override {
        logins_asked.push_back(question.server + "\\" + question.share);
        login_questions.push_back(question);
        login_defaults.push_back(answer);
        if (login.user.isEmpty()) return false;
        answer = login;
        return true;
    }

    std::vector<MessageRecord> messages;
    std::vector<QString> modal;  // object names of the dialogs run, in order
    std::function<void(QDialog&)> on_modal;
    std::vector<QUrl> opened;
    std::vector<QString> started;
    bool start_succeeds = true;
    std::vector<QString> logins_asked;  // "server\share" of each login asked for
    std::vector<LoginQuestion> login_questions;
    std::vector<LoginAnswer> login_defaults;  // what each dialog started from
    LoginAnswer login;
    QString print_file;
    int printer_dialogs = 0;
};

// The program's doors for a form a test builds on its own: a main controller over no views and
// windows without a screen, so that the form's events are run, trapped and logged as in the
// program; the messages the doors show go to dialogs while it lives.
class TestDoors {
  public:
    explicit TestDoors(Dialogs& dialogs);
    ~TestDoors();
    TestDoors(const TestDoors&) = delete;
    TestDoors& operator=(const TestDoors&) = delete;

    EventDoors& doors() { return controller_; }
    FormContext Context(QWidget* parent = nullptr) { return {controller_, dialogs_, parent}; }

  private:
    Dialogs& dialogs_;
    ViewRegistry views_;
    HeadlessWindow window_;
    MainController controller_;
    std::shared_ptr<platform::MessageSink> previous_sink_;
};

// A temporary folder with the environment of one run: DASHVANE_SHARES=<folder>/shares,
// TMPDIR=<folder>/tmp (the catalog settings) and TEMP=<folder>/temp (the operation log).
class TestEnvironment {
  public:
    TestEnvironment();
    ~TestEnvironment();

    const std::string& root() const { return folder_.path(); }
    std::string log_path() const { return folder_ / "temp/dvoperation.log"; }
    // The log's lines (without their CR LF); empty when there is no log.
    std::vector<std::string> LogLines() const;
    // Writes the tiny demo data set.
    void WriteDemoSet() const;

  private:
    dv::testing::TempFolder folder_;
    dv::testing::ScopedEnv shares_;
    dv::testing::ScopedEnv tmpdir_;
    dv::testing::ScopedEnv temp_;
};

// A view with one grid of a two-level header (a group over Cost and Value), a hidden number
// column and a button column, whose fill adds `rows` rows and writes recap label `recap_label`,
// or fails with error 81 when `fail` is set. Every load counts in loads().
class TestView : public View {
  public:
    struct Options {
        std::string form;
        std::string caption;
        int recap_label = 1;
        int rows = 3;
        bool fail = false;
    };
    explicit TestView(Options options);

    static int& loads();
    GridModel& grid() { return *grid_; }
    std::vector<int> button_rows;  // rows whose button was clicked

  protected:
    void Load(ViewContext& context) override;

  private:
    Options options_;
    GridModel* grid_;
};

// Puts a TestView in for a declared form (DeclareViews of app/views.h declares them all).
void AddTestView(ViewRegistry& registry, TestView::Options options);

// A run of the whole desktop program in one test: the application, the environment of
// TestEnvironment, recorded message boxes, fake dialogs, and no global engine of an earlier run
// (its release, when a new one replaces it, would drop the new run's system object).
class ProgramFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureApplication();
        InitLogPath();
        previous_sink_ = platform::SetMessageSink(messages_);
        mSortOrder = 0;
        mBusinessBasic.reset();
    }
    void TearDown() override {
        program_.reset();
        mBusinessBasic.reset();
        platform::SetMessageSink(previous_sink_);
    }

    // Creates the program over the registered views and runs its start-up; detail forms go to
    // detail_host_ when a test set one.
    void StartProgram() {
        program_ =
            std::make_unique<DesktopProgram>(views_, DefaultEngineHooks(), dialogs_, qt_views_);
        if (detail_host_ != nullptr) program_->controller().SetDetailHost(detail_host_);
        program_->Start();
        QCoreApplication::processEvents();
    }

    // Writes image into the environment's folders and starts the program on it, its main window
    // at the size the screenshots share.
    void StartOn(const sample::DataSetImage& image);

    // A view opened from the tree as a user would, its form maximised in the main window; null
    // when no such form opened. A form with one grid of its own has the grid brought up to date.
    template <class Form>
    Form* OpenForm(std::string_view key, std::string_view form) {
        auto* widget = dynamic_cast<Form*>(ShowFromTree(key, form));
        if constexpr (requires { widget->grid()->Sync(); }) {
            if (widget != nullptr && widget->grid() != nullptr) widget->grid()->Sync();
        }
        return widget;
    }

    QtMainWindow& window() { return program_->window(); }

    // A user's click on a tree node.
    void ClickTree(std::string_view key) {
        QTreeWidget* tree = window().tree();
        QTreeWidgetItem* item = window().treeItem(key);
        ASSERT_NE(item, nullptr) << key;
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(item).center());
    }

    TestEnvironment env_;
    DetailHost* detail_host_ = nullptr;
    FakeDialogs dialogs_;
    ViewRegistry views_;
    QtViewRegistry qt_views_;
    std::shared_ptr<platform::RecordingMessageSink> messages_ =
        std::make_shared<platform::RecordingMessageSink>();
    std::shared_ptr<platform::MessageSink> previous_sink_;
    std::unique_ptr<DesktopProgram> program_;

  private:
    QWidget* ShowFromTree(std::string_view key, std::string_view form);
};

}  // namespace dv::qt::testing
