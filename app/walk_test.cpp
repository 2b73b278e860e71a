// Every form of the running program, as a user reaches it, with no text cut off: each view of
// the tree at its place in the main window, every detail form a grid's button opens (and the
// detail forms those open in turn), the vendor totals and the account setup dialog, on the demo
// set, on the large set and on a set whose totals pass a billion. A label's or a cell's text
// wider than the room it is shown in fails the test with the widget, the text and both widths.
// One picture of each form goes to the build folder's screenshots for a person to look at.
//
// The large set's grids hold hundreds of rows, each with a detail form (several thousand
// forms in all): there the walk opens the details of the first and the last rows of each grid
// only (kSampledRows in all), which sizes the forms with the widest and the narrowest figures
// the sort order puts at either end; the demo sets open every row's.
//
// On each set the walk also checks that the forms stand as their control lists say: every
// view's picture and title above its grids, section titles above their grids and totals under
// them, the framed groups of the shop job, order and warranty details (the shop job detail's
// lines grid showing more than two rows), a detail opened from a detail standing offset from it,
// the Floor Plan detail's columns within its grid's view at the size it opens at on a
// 1600 x 1000 screen, and the money columns within the grid's view at the child window's
// placement. The large set is walked with the main window at the size it opens at on a
// 1600 x 1000 screen, where no money column may sit behind a scroll bar either.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/qt_views.h"
#include "app/views.h"
#include "sales/qt/gl_forms.h"
#include "sampledata/demo_set.h"
#include "shell/main_controller.h"
#include "shell/qt/detail_dialog.h"
#include "shell/qt/grid_table_model.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/main_window.h"
#include "shell/qt/qt_test_support.h"
#include "shell/recap_board.h"
#include "shell/settings_store.h"
#include "shell/view_registry.h"

namespace dv::qt {
namespace {

using testing::ClickCell;
using testing::CutTexts;
using testing::ProgramFixture;
using testing::SaveScreenshot;

constexpr int kSampledRows = 6;

// Where a widget lies in its window.
QRect InWindow(const QWidget& widget) {
    return {widget.mapTo(widget.window(), QPoint(0, 0)), widget.size()};
}

// The controls of a form that stand one under the other, top to bottom.
struct Column {
    std::string form;
    std::vector<std::string> controls;
};

const Column kColumns[] = {
    {"frmOpenSales",
     {"Label1", "Label2(0)", "grdTickets", "lblPTtot(0)", "Label2(1)", "grdSaved", "lblPTtot(1)"}},
    {"frmSales", {"Label1", "grdSales", "lblSaleTot", "Label2", "grdCash", "lblCashTot"}},
};

// The money and number columns (by column name) that the child window shows without scrolling.
struct MoneyColumns {
    std::string form;
    std::string grid;
    std::vector<std::string> columns;
};

const MoneyColumns kMoneyColumns[] = {
    {"frmOpenSales", "grdTickets", {"Sub-Total"}},
    {"frmOpenSales", "grdSaved", {"Sub-Total"}},
    {"frmShop", "grdShop", {"Sub-Total"}},
    {"frmWarranty", "grdWarr", {"Parts", "Labor"}},
    {"frmProfit", "grdProfit", {"pyrsales", "pyrcost", "pyrgpr"}},
    {"frmPo", "grdPO", {"PO Number"}},
};

// The framed groups of the detail forms: each shown, titled or not, with a label it holds.
struct Frame {
    std::string form;
    std::string frame;
    std::string holds;  // a label the frame holds
    bool titled;
};

const Frame kFrames[] = {
    {"frmShopDetail", "Frame1", "lblCDisp(1)", true},
    {"frmShopDetail", "Frame2", "lblMan(0)", true},
    {"frmShopDetail", "Frame3", "lblEquip(0)", true},
    {"frmShopDetail", "Frame4", "lblCallDate(0)", true},
    {"frmShopDetail", "Frame6", "lblWarr(0)", true},
    {"frmPODetail", "Frame1", "lblDetail(0)", false},
    {"frmPODetail", "Frame3", "lblComments", true},
    {"frmWarrDetail", "Frame1", "lblCust", true},
    {"frmWarrDetail", "Label3", "lblMisc", true},
};

// The screen the Floor Plan detail must open wide enough on for all its columns.
const QRect kWideScreen(0, 0, 1600, 1000);

class WalkTest : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        RegisterViews(views_);
        RegisterQtViews(qt_views_);
        // Accounts the sample sets' charts hold, so that the G/L views show rows.
        settings_.Save("Dashvane", "Asset", "Accounts", "01100,01200,01240,02100");
        settings_.Save("Dashvane", "Liability", "Accounts", "01300,01310,02310");
    }

    // Walks every form of the program started on image; rows_per_grid < 0 opens every row's
    // detail. screen: the available room of the screen the main window opens on, empty for the
    // size the screenshots share.
    void Walk(const sample::DataSetImage& image, const std::string& set, int rows_per_grid,
              const QRect& screen = {}) {
        set_ = set;
        rows_per_grid_ = rows_per_grid;
        StartOn(image);
        ASSERT_TRUE(program_->controller().load_completed());
        if (!screen.isEmpty()) {
            const QRect opening = window().OpeningGeometryOn(screen);
            EXPECT_TRUE(screen.contains(opening)) << set;
            window().resize(opening.size());
            QCoreApplication::processEvents();
        }
        dialogs_.on_modal = [this](QDialog& dialog) { VisitDialog(dialog); };

        std::vector<std::string> keys;
        for (QTreeWidgetItemIterator it(window().tree()); *it; ++it)
            keys.push_back((*it)->data(0, Qt::UserRole).toString().toStdString());
        std::set<std::string> walked;
        for (const std::string& key : keys) {
            ClickTree(key);
            QCoreApplication::processEvents();
            View* view = program_->controller().current_monitor();
            if (view == nullptr || !walked.insert(view->form_name()).second) continue;
            ViewSubWindow* sub = window().subWindow(view->form_name());
            ASSERT_NE(sub, nullptr) << key;
            QWidget* form = sub->widget();
            ASSERT_NE(form, nullptr) << key;
            for (GridWidget* grid : form->findChildren<GridWidget*>()) grid->Sync();
            QCoreApplication::processEvents();
            Check(*sub, view->form_name());
            CheckPlaces(*form, view->form_name());
            CheckTitle(*form, view->form_name());
            SaveScreenshot(window(), Picture(view->form_name()));
            OpenDetails(*form);
            if (auto* totals = form->findChild<QPushButton*>("cmdVtot")) totals->click();
            if (auto* setup = form->findChild<QPushButton*>("cmdCashSetup")) setup->click();
        }
        EXPECT_GE(walked.size(), 14u) << set;
        EXPECT_GT(forms_, static_cast<int>(walked.size())) << set;
        EXPECT_EQ(placed_, std::size(kColumns) + std::size(kMoneyColumns)) << set;
        EXPECT_EQ(titled_, walked.size() - 1) << set;  // every view but the recap board
        EXPECT_GT(shop_details_, 0) << set;
        for (const char* form : {"frmShopDetail", "frmPODetail", "frmWarrDetail"})
            EXPECT_GT(framed_[form], 0) << set << " " << form;
        EXPECT_GT(floor_plan_details_, 0) << set;
        EXPECT_GT(offset_details_, 0) << set;
    }

    // The view's picture and its title stand above every grid it shows.
    void CheckTitle(const QWidget& form, const std::string& name) {
        const auto grids = form.findChildren<GridWidget*>();
        if (grids.isEmpty()) return;  // the recap board
        ++titled_;
        const auto* picture = form.findChild<QLabel*>("Image1");
        const auto* title = form.findChild<QLabel*>("Label1");
        ASSERT_NE(picture, nullptr) << set_ << " " << name << ": no picture";
        ASSERT_NE(title, nullptr) << set_ << " " << name << ": no title";
        EXPECT_TRUE(picture->isVisible() && !picture->pixmap().isNull()) << set_ << " " << name;
        EXPECT_TRUE(title->isVisible()) << set_ << " " << name;
        for (const GridWidget* grid : grids) {
            if (!grid->isVisible()) continue;
            for (const QLabel* above : {picture, title}) {
                EXPECT_LE(InWindow(*above).bottom(), InWindow(*grid).top())
                    << set_ << " " << name << ": " << above->objectName().toStdString()
                    << " not above " << grid->objectName().toStdString();
            }
        }
    }

    // The form's framed groups are shown, each holding its label.
    void CheckFrames(const DetailDialog& dialog, const std::string& name) {
        for (const Frame& frame : kFrames) {
            if (frame.form != name) continue;
            const QGroupBox* group = dialog.group(frame.frame);
            ASSERT_NE(group, nullptr) << name << " " << frame.frame;
            EXPECT_TRUE(group->isVisible()) << name << " " << frame.frame;
            EXPECT_EQ(group->title().isEmpty(), !frame.titled) << name << " " << frame.frame;
            const QLabel* label = dialog.label(frame.holds);
            ASSERT_NE(label, nullptr) << name << " " << frame.holds;
            EXPECT_EQ(label->parentWidget(), group) << name << " " << frame.holds;
            ++framed_[name];
        }
    }

    // At the size it opens at on a wide screen, the Floor Plan detail shows every column of its
    // grid without scrolling.
    void CheckFloorPlanDetail(DetailDialog& dialog) {
        ++floor_plan_details_;
        const QSize opened = dialog.size();
        dialog.resize(dialog.OpeningSize(kWideScreen));
        QCoreApplication::processEvents();
        const GridWidget* grid = dialog.grid("grdFpdtl");
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->horizontalScrollBar()->value(), 0);
        for (int c = 0; c < grid->grid().ColumnCount(); ++c) {
            if (grid->isColumnHidden(c)) continue;
            EXPECT_LE(grid->columnViewportPosition(c) + grid->columnWidth(c),
                      grid->viewport()->width())
                << set_ << " frmFpdtl: column " << grid->grid().Column(c).name
                << " lies behind the scroll bar";
        }
        dialog.resize(opened);
        QCoreApplication::processEvents();
    }

    // The form's controls stand one under the other as kColumns lists them, and its money
    // columns lie within their grid's view.
    void CheckPlaces(const QWidget& form, const std::string& name) {
        for (const Column& column : kColumns) {
            if (column.form != name) continue;
            ++placed_;
            const QWidget* above = nullptr;
            for (const std::string& control : column.controls) {
                const auto* widget = form.findChild<QWidget*>(QString::fromStdString(control));
                if (widget == nullptr) {
                    ADD_FAILURE() << set_ << " " << name << ": no " << control;
                    break;
                }
                if (above != nullptr) {
                    EXPECT_LE(InWindow(*above).bottom(), InWindow(*widget).top())
                        << set_ << " " << name << ": " << above->objectName().toStdString()
                        << " over " << control;
                }
                above = widget;
            }
        }
        for (const MoneyColumns& money : kMoneyColumns) {
            if (money.form != name) continue;
            const auto* grid = form.findChild<GridWidget*>(QString::fromStdString(money.grid));
            if (grid == nullptr) continue;
            ++placed_;
            EXPECT_EQ(grid->horizontalScrollBar()->value(), 0) << set_ << " " << name;
            for (const std::string& column : money.columns) {
                const int c = grid->grid().ColumnPosition(column);
                ASSERT_GE(c, 0) << column;
                EXPECT_LE(grid->columnViewportPosition(c) + grid->columnWidth(c),
                          grid->viewport()->width())
                    << set_ << " " << name << " " << money.grid << ": column " << column
                    << " lies behind the scroll bar";
            }
        }
    }

    // The shop job detail's lines grid takes the height its frames leave: more than two rows at
    // the dialog's first size.
    void CheckShopDetail(const DetailDialog& dialog) {
        ++shop_details_;
        const GridWidget* lines = dialog.grid("grdShopDetail");
        ASSERT_NE(lines, nullptr);
        EXPECT_GT(lines->viewport()->height(), 2 * lines->verticalHeader()->defaultSectionSize())
            << set_ << " the shop job detail's lines grid shows two rows or fewer";
    }

    QString Picture(const std::string& form) const {
        return QString::fromStdString("walk_" + set_ + "_" + form + ".png");
    }

    void Check(const QWidget& widget, const std::string& form) {
        ++forms_;
        for (const std::string& cut : CutTexts(widget))
            ADD_FAILURE() << set_ << " " << form << ": " << cut;
    }

    // Clicks the button cells of every grid under root: every row, or the first and the last
    // rows_per_grid_ / 2.
    void OpenDetails(QWidget& root) {
        for (GridWidget* grid : root.findChildren<GridWidget*>()) {
            if (!grid->isVisible()) continue;
            const GridModel& model = grid->grid();
            int column = -1;
            for (int c = 0; c < model.ColumnCount() && column < 0; ++c)
                if (model.Column(c).button && !model.Column(c).hidden) column = c;
            if (column < 0) continue;
            grid->Sync();
            const int rows = grid->tableModel()->rowCount();
            std::vector<int> chosen;
            for (int r = 0; r < rows; ++r) {
                if (rows_per_grid_ < 0 || r < rows_per_grid_ / 2 || r >= rows - rows_per_grid_ / 2)
                    chosen.push_back(r);
            }
            for (int r : chosen) {
                if (r >= grid->tableModel()->rowCount()) break;
                ClickCell(grid, r, column);
            }
        }
    }

    void VisitDialog(QDialog& dialog) {
        dialog.show();
        QCoreApplication::processEvents();
        const std::string name = dialog.objectName().toStdString();
        Check(dialog, name);
        if (pictures_.insert(name).second) SaveScreenshot(dialog, Picture(name));
        auto* detail = dynamic_cast<DetailDialog*>(&dialog);
        if (detail != nullptr) {
            CheckFrames(*detail, name);
            if (name == "frmShopDetail") CheckShopDetail(*detail);
            if (name == "frmFpdtl") CheckFloorPlanDetail(*detail);
            // A detail opened from a detail stands down and to the right of it.
            if (!open_.empty()) {
                ++offset_details_;
                const QPoint opener = open_.back()->pos();
                EXPECT_GT(dialog.pos().x(), opener.x()) << set_ << " " << name;
                EXPECT_GT(dialog.pos().y(), opener.y()) << set_ << " " << name;
            }
        }
        if (auto* setup = dynamic_cast<AccountSetupDialog*>(&dialog)) {
            setup->cancelButton()->click();
        } else if (detail != nullptr) {
            open_.push_back(detail);
            OpenDetails(dialog);
            open_.pop_back();
        }
        dialog.hide();
    }

    MemorySettingsStore settings_;
    ScopedSettingsStore use_{settings_};
    std::string set_;
    int rows_per_grid_ = -1;
    int forms_ = 0;
    size_t placed_ = 0;  // forms whose places were checked
    size_t titled_ = 0;  // views whose picture and title were checked
    int shop_details_ = 0;
    int floor_plan_details_ = 0;
    int offset_details_ = 0;                 // details opened from a detail
    std::map<std::string, int> framed_;      // frames checked, by form
    std::vector<const DetailDialog*> open_;  // the details shown, the innermost last
    std::set<std::string> pictures_;
};

TEST_F(WalkTest, EveryFormOfTheDemoSetShowsEveryTextWhole) {
    Walk(sample::BuildDemoSet(sample::PlanFor(sample::Scale::kDemo)), "demo", -1);
}

TEST_F(WalkTest, EveryFormOfTheLargeSetShowsEveryTextWhole) {
    Walk(sample::BuildDemoSet(sample::PlanFor(sample::Scale::kLarge)), "large", kSampledRows,
         QRect(0, 0, 1600, 1000));
}

// The large set with twice its parts and many more units: the year's sales and cost figures pass
// two billion dollars, the widest figures the recap board and the grids show.
TEST_F(WalkTest, EveryFormOfASetWithBillionsShowsEveryTextWhole) {
    sample::DemoPlan plan = sample::PlanFor(sample::Scale::kLarge);
    plan.parts = 500000;
    plan.units = 20000;
    Walk(sample::BuildDemoSet(plan), "billions", kSampledRows);
    bool billions = false;
    std::string figures;
    const RecapBoard* board = program_->controller().recap_board();
    ASSERT_NE(board, nullptr);
    for (int i = 0; i < kRecapLabelCount; ++i) {
        figures += board->Figure(i).caption + " ";
        billions =
            billions || board->Figure(i).caption.size() >= std::string("$1,000,000,000.00").size();
    }
    EXPECT_TRUE(billions) << figures;
}

}  // namespace
}  // namespace dv::qt
