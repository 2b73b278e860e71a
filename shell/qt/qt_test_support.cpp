#include "shell/qt/qt_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "engine/error.h"
#include "sampledata/demo_set.h"
#include "shell/qt/grid_table_model.h"
#include "shell/recap_board.h"
#include "shell/splash.h"

namespace dv::qt::testing {

void EnsureApplication() {
    if (QApplication::instance() != nullptr) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "shell_qt_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

void SaveScreenshot(QWidget& widget, const QString& name) {
    const QString folder = DASHVANE_SCREENSHOT_DIR;
    QDir().mkpath(folder);
    const QString path = folder + "/" + name;
    ASSERT_TRUE(widget.grab().save(path)) << path.toStdString();
    EXPECT_GT(QFileInfo(path).size(), 1000);
}

void ClickCell(GridWidget* grid, int row, int column) {
    grid->scrollTo(grid->tableModel()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(row, column).center());
}

void ProgramFixture::StartOn(const sample::DataSetImage& image) {
    image.Write(env_.root() + "/shares", env_.root() + "/tmp");
    InitLogPath();
    StartProgram();
    window().resize(1280, 860);
    QCoreApplication::processEvents();
}

QWidget* ProgramFixture::ShowFromTree(std::string_view key, std::string_view form) {
    ClickTree(key);
    QCoreApplication::processEvents();
    ViewSubWindow* sub = window().subWindow(form);
    if (sub == nullptr) return nullptr;
    sub->showMaximized();
    QCoreApplication::processEvents();
    return sub->widget();
}

bool FakeDialogs::ChoosePrinter(QWidget*, QPrinter& printer) {
    ++printer_dialogs;
    if (print_file.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(print_file);
    return true;
}

TestEnvironment::TestEnvironment()
    : shares_("DASHVANE_SHARES", folder_ / "shares"),
      tmpdir_("TMPDIR", folder_ / "tmp"),
      temp_("TEMP", folder_ / "temp") {
    std::filesystem::create_directories(folder_ / "shares");
    std::filesystem::create_directories(folder_ / "tmp");
    std::filesystem::create_directories(folder_ / "temp");
}

TestEnvironment::~TestEnvironment() = default;

std::vector<std::string> TestEnvironment::LogLines() const {
    const std::string text = dv::testing::ReadFileBytes(log_path());
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void TestEnvironment::WriteDemoSet() const {
    sample::BuildDemoSet(sample::Scale::kTiny).Write(folder_ / "shares", folder_ / "tmp");
}

int& TestView::loads() {
    static int count = 0;
    return count;
}

TestView::TestView(Options options)
    : View(options.form, options.caption), options_(std::move(options)) {
    grid_ = &AddGrid("grdTest");
    grid_->AddColumn({"Line", "Line", "", false, false, CellAlignment::kLeft, 0, SortKind::kText});
    grid_->AddColumn(
        {"Cost", "Cost", "Investment", false, false, CellAlignment::kRight, 0, SortKind::kNumber});
    // Sorted by the hidden copy of its number.
    grid_->AddColumn({"Value", "Value", "", false, false, CellAlignment::kRight, 0,
                      SortKind::kNumber, "nvalue"});
    grid_->AddColumn({"nvalue", "nvalue", "", true, false, CellAlignment::kLeft, 0});
    grid_->AddColumn({"Detail", "Detail", "Open", false, true, CellAlignment::kCenter, 0});
    grid_->SetToolTip("Click a column heading to sort");
    AddLabel("lbltotal(0)");
}

void TestView::Load(ViewContext& context) {
    ++loads();
    context.Splash().SetProgress("Loading " + caption() + "...");
    RunFill(context, "GetTest", {options_.recap_label}, [&] {
        grid_->RemoveAll();
        for (int i = 0; i < options_.rows; ++i) {
            const int row = grid_->AddRow();
            grid_->SetCell(row, "Line", "Line " + std::to_string(1000 + i));
            grid_->SetCell(row, "Cost", "$" + std::to_string((i * 37) % 101) + ".00");
            grid_->SetCell(row, "Value", std::to_string(i));
            grid_->SetCell(row, "nvalue", std::to_string(i));
            grid_->SetCell(row, "Detail", "...");
            grid_->SetPayload(row, std::to_string(i));
        }
        if (options_.fail) throw BasicError(81, "iLreadFile", "Illegal Record Number for File: X");
        SetLabelCaption("lbltotal(0)", "Total " + std::to_string(options_.rows));
        context.Recap().SetCaption(options_.recap_label,
                                   "$" + std::to_string(options_.rows) + ".00");
    });
}

void AddTestView(ViewRegistry& registry, TestView::Options options) {
    const std::string form = options.form;
    registry.Add(form, [options] { return std::make_unique<TestView>(options); });
}

}  // namespace dv::qt::testing
