// Test helpers of the desktop program: the one application object, a recording Dialogs, a
// demo data set in a fresh temporary folder with DASHVANE_SHARES, TMPDIR and TEMP pointing into
// it, and small views whose fills a test controls.
#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/test_support.h"
#include "shell/grid_sort.h"
#include "shell/qt/dialogs.h"
#include "shell/view.h"
#include "shell/view_registry.h"

namespace dv::qt::testing {

// Creates the QApplication on first use (offscreen unless QT_QPA_PLATFORM says otherwise).
void EnsureApplication();

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

    std::vector<MessageRecord> messages;
    std::vector<QString> modal;  // object names of the dialogs run, in order
    std::function<void(QDialog&)> on_modal;
    std::vector<QUrl> opened;
    std::vector<QString> started;
    bool start_succeeds = true;
    QString print_file;
    int printer_dialogs = 0;
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
    void HeaderClick(std::string_view grid, int column) override;
    std::vector<int> button_rows;  // rows whose button was clicked

  protected:
    void Load(ViewContext& context) override;

  private:
    Options options_;
    GridModel* grid_;
};

// Registers a TestView for a form.
void AddTestView(ViewRegistry& registry, TestView::Options options);

}  // namespace dv::qt::testing
