#include "shell/qt/qt_test_support.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QTextDocument>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "engine/error.h"
#include "sampledata/demo_set.h"
#include "shell/qt/grid_table_model.h"
#include "shell/qt/text.h"
#include "shell/recap_board.h"
#include "shell/splash.h"

namespace dv::qt::testing {

TestDoors::TestDoors(Dialogs& dialogs)
    : dialogs_(dialogs),
      controller_(views_, EngineHooks{}, window_, window_),
      previous_sink_(platform::SetMessageSink(std::make_shared<DialogMessageSink>(dialogs))) {}

TestDoors::~TestDoors() {
    platform::SetMessageSink(previous_sink_);
}

namespace {

QtMessageHandler previous_handler = nullptr;

// The model testers report through the "qt.modeltest" category; their reports fail the test,
// every other message goes where it went before.
void FailOnModelTestReports(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
    if (context.category != nullptr && std::strcmp(context.category, "qt.modeltest") == 0 &&
        type != QtDebugMsg && type != QtInfoMsg) {
        ADD_FAILURE() << "item model: " << message.toStdString();
        return;
    }
    if (previous_handler != nullptr) previous_handler(type, context, message);
}

}  // namespace

void EnsureApplication() {
    if (QApplication::instance() != nullptr) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "shell_qt_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    previous_handler = qInstallMessageHandler(FailOnModelTestReports);
}

void TestGridModel(GridWidget& grid) {
    GridTableModel* model = grid.tableModel();
    if (model->findChild<QAbstractItemModelTester*>(QString(), Qt::FindDirectChildrenOnly)) return;
    new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::Warning,
                                 model);
}

void TestGridModels(QWidget& widget) {
    if (auto* grid = qobject_cast<GridWidget*>(&widget)) TestGridModel(*grid);
    for (GridWidget* grid : widget.findChildren<GridWidget*>()) TestGridModel(*grid);
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
    if (sub->widget() != nullptr) TestGridModels(*sub->widget());
    return sub->widget();
}

bool FakeDialogs::ChoosePrinter(QWidget*, QPrinter& printer) {
    ++printer_dialogs;
    if (print_file.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(print_file);
    return true;
}

namespace {

std::string Name(const QWidget& widget) {
    std::string name = widget.objectName().toStdString();
    for (const QWidget* p = widget.parentWidget(); p != nullptr; p = p->parentWidget()) {
        if (!p->objectName().isEmpty()) return p->objectName().toStdString() + "/" + name;
    }
    return name;
}

void CheckLabel(const QLabel& label, std::vector<std::string>& cut) {
    if (!label.isVisible() || label.wordWrap() || label.text().isEmpty()) return;
    if (label.textFormat() == Qt::RichText || Qt::mightBeRichText(label.text())) return;
    const QFontMetrics metrics(label.font());
    int indent = label.indent();
    if (indent < 0) indent = label.frameWidth() > 0 ? metrics.horizontalAdvance('x') / 2 : 0;
    const int room = label.contentsRect().width() - 2 * label.margin() - indent;
    for (const QString& line : label.text().split('\n')) {
        QString shown = line;
        shown.remove('&');  // a mnemonic's marker takes no room
        const int width = metrics.horizontalAdvance(shown);
        if (width > room) {
            cut.push_back(Name(label) + ": \"" + line.toStdString() + "\" needs " +
                          std::to_string(width) + " px, has " + std::to_string(room));
        }
    }
}

void CheckGrid(const GridWidget& widget, std::vector<std::string>& cut) {
    if (!widget.isVisible()) return;
    const GridModel& grid = widget.grid();
    const QFontMetrics cells(widget.font());
    const QFontMetrics captions(widget.groupHeader()->font());
    const int rows = std::min(grid.RowCount(), widget.tableModel()->rowCount());
    for (int c = 0; c < grid.ColumnCount(); ++c) {
        if (widget.isColumnHidden(c)) continue;
        const GridColumn& column = grid.Column(c);
        const std::string where = Name(widget) + " column \"" + column.caption + "\"";
        const int caption_width = captions.horizontalAdvance(ToQ(column.caption));
        if (caption_width > widget.groupHeader()->CaptionRoom(c)) {
            cut.push_back(where + ": caption needs " + std::to_string(caption_width) + " px, has " +
                          std::to_string(widget.groupHeader()->CaptionRoom(c)));
        }
        const int room = widget.TextRoom(c);
        for (int r = 0; r < rows; ++r) {
            const QString text = ToQ(ShownCell(grid.CellText(r, c)));
            const int width = cells.horizontalAdvance(text);
            if (width > room) {
                cut.push_back(where + " row " + std::to_string(r) + ": \"" + text.toStdString() +
                              "\" needs " + std::to_string(width) + " px, has " +
                              std::to_string(room));
                break;  // one row is enough to tell
            }
        }
        if (!column.group.empty()) {
            int span = 0;
            for (int g = c; g < grid.ColumnCount(); ++g) {
                if (g > c && !grid.Column(g).group.empty()) break;
                if (!widget.isColumnHidden(g)) span += widget.columnWidth(g);
            }
            const int needed = widget.groupHeader()->GroupCaptionWidth(ToQ(column.group));
            if (needed > span) {
                cut.push_back(Name(widget) + " group \"" + column.group + "\" needs " +
                              std::to_string(needed) + " px, has " + std::to_string(span));
            }
        }
    }
}

}  // namespace

std::vector<std::string> CutTexts(const QWidget& root) {
    std::vector<std::string> cut;
    if (const auto* label = qobject_cast<const QLabel*>(&root)) CheckLabel(*label, cut);
    for (const QLabel* label : root.findChildren<QLabel*>()) CheckLabel(*label, cut);
    if (const auto* grid = qobject_cast<const GridWidget*>(&root)) CheckGrid(*grid, cut);
    for (const GridWidget* grid : root.findChildren<GridWidget*>()) CheckGrid(*grid, cut);
    return cut;
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
    registry.SetFactory(form, [options] { return std::make_unique<TestView>(options); });
}

}  // namespace dv::qt::testing
