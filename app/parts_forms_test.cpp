// The parts views in the running desktop program on the demo data set: each view opened from
// the tree, a detail opened from a grid button (with the purchase-order view's progress bar
// while it is open), the vendor totals, a header click, and the views on a damaged copy. The
// pictures go to the build folder's screenshots for a person to look at.
#include "parts/qt/parts_forms.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/qt_views.h"
#include "app/views.h"
#include "engine/business_basic.h"
#include "parts/views/order_views.h"
#include "platform/messages.h"
#include "sampledata/damage.h"
#include "sampledata/demo_set.h"
#include "shell/grid_sort.h"
#include "shell/operation_log.h"
#include "shell/qt/detail_dialog.h"
#include "shell/qt/grid_table_model.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/main_window.h"
#include "shell/qt/program.h"
#include "shell/qt/qt_test_support.h"
#include "shell/qt/qt_views.h"
#include "shell/qt/recap_form.h"

namespace dv::qt {
namespace {

using testing::ClickCell;
using testing::EnsureApplication;
using testing::FakeDialogs;
using testing::ProgramFixture;
using testing::SaveScreenshot;
using testing::TestEnvironment;

class PartsFormsTest : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        RegisterViews(views_);
        RegisterQtViews(qt_views_);
    }

    void ClickTree(std::string_view key) {
        ProgramFixture::ClickTree(key);
        QCoreApplication::processEvents();
    }

    ViewForm* Open(std::string_view key, std::string_view form) {
        return OpenForm<ViewForm>(key, form);
    }

    const RecapForm* Recap() {
        return dynamic_cast<RecapForm*>(window().subWindow("frmRecap")->widget());
    }
};

TEST_F(PartsFormsTest, EachViewOpensFromTheTreeAndADetailFromAGridButton) {
    StartOn(sample::BuildDemoSet(sample::Scale::kDemo));
    ASSERT_TRUE(program_->controller().load_completed());
    const RecapForm* recap = Recap();
    ASSERT_NE(recap, nullptr);
    for (int label : {1, 5, 8}) {
        EXPECT_TRUE(recap->figure(label)->text().startsWith("$")) << label;
        EXPECT_NE(recap->figure(label)->text(), "Data Error !");
    }
    SaveScreenshot(window(), "parts_recap.png");

    // Inventory Investment > Parts: the grid with its group headers and the three totals.
    ViewForm* inventory = Open("I1", "frmInv");
    ASSERT_NE(inventory, nullptr);
    EXPECT_EQ(inventory->grid()->tableModel()->rowCount(), 24);
    EXPECT_TRUE(inventory->grid()->groupHeader()->two_levels());
    EXPECT_EQ(inventory->label("Label1")->text(), "Current Inventory");
    EXPECT_EQ("Investment Total : " + recap->figure(1)->text(),
              inventory->label("lblinvtot(0)")->text());
    SaveScreenshot(window(), "parts_inventory.png");

    // Returns: "ndate" hidden; a button opens the detail of its row.
    ViewForm* returns = Open("A6", "frmReturn");
    ASSERT_NE(returns, nullptr);
    GridWidget* grid = returns->grid();
    EXPECT_TRUE(grid->isColumnHidden(5));
    EXPECT_EQ(returns->label("lblRetTotal")->text(), recap->figure(5)->text());
    SaveScreenshot(window(), "parts_returns.png");
    QString detail_title, detail_vendor;
    dialogs_.on_modal = [&](QDialog& dialog) {
        auto* form = dynamic_cast<DetailDialog*>(&dialog);
        ASSERT_NE(form, nullptr);
        detail_title = form->windowTitle();
        detail_vendor = form->label("lblDetail(0)")->text();
        // The comments in their titled frame, the header pairs in a frame without a caption.
        ASSERT_NE(form->group("Frame3"), nullptr);
        EXPECT_EQ(form->group("Frame3")->title(), "Return Comments");
        EXPECT_EQ(form->label("lblComments")->parentWidget(), form->group("Frame3"));
        ASSERT_NE(form->group("Frame1"), nullptr);
        EXPECT_TRUE(form->group("Frame1")->title().isEmpty());
        EXPECT_EQ(form->label("lblDetail(0)")->parentWidget(), form->group("Frame1"));
        form->show();
        form->grid("grdPod")->Sync();
        QCoreApplication::processEvents();
        SaveScreenshot(*form, "parts_return_detail.png");
        EXPECT_GT(form->grid("grdPod")->tableModel()->rowCount(), 0);
        EXPECT_FALSE(form->label("lblDetail(4)")->isVisible());  // not drop-shipped
        form->hide();
    };
    ClickCell(grid, 1, 0);
    ASSERT_EQ(dialogs_.modal, std::vector<QString>{"frmPODetail"});
    EXPECT_EQ(detail_title, "Return Order Detail      Return # : R10002");
    EXPECT_EQ(detail_vendor, "Vendor not found");
    EXPECT_EQ(grid->grid().CurrentRow(), 1);

    // Open Purchase Orders: the progress bar and "Loading..." stay while the detail is open.
    auto* orders = dynamic_cast<PurchaseOrdersForm*>(Open("L1", "frmPo"));
    ASSERT_NE(orders, nullptr);
    EXPECT_FALSE(orders->progressBar()->isVisible());
    EXPECT_FALSE(orders->label("lblLoading")->isVisible());
    // The picture beside the title above the grid; under the grid the total at the left, the
    // vendor totals button at the right end.
    const auto* picture = orders->findChild<QLabel*>("Image1");
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());
    const QLabel* title = orders->label("Label1");
    EXPECT_LT(picture->geometry().right(), title->geometry().left());
    EXPECT_LT(title->geometry().bottom(), orders->grid()->geometry().top());
    const QRect total = orders->label("lblPoTotal")->geometry();
    const QRect button = orders->vendorTotalsButton()->geometry();
    EXPECT_GT(total.top(), orders->grid()->geometry().bottom());
    EXPECT_GT(button.top(), orders->grid()->geometry().bottom());
    EXPECT_GT(button.left(), total.right() + orders->width() / 2);
    EXPECT_EQ(orders->vendorTotalsButton()->parentWidget(), orders);
    SaveScreenshot(window(), "parts_purchase_orders.png");
    bool loading_shown = false;
    int bar_value = -1;
    dialogs_.on_modal = [&](QDialog& dialog) {
        loading_shown =
            orders->progressBar()->isVisible() && orders->label("lblLoading")->isVisible();
        bar_value = orders->progressBar()->value();
        SaveScreenshot(window(), "parts_purchase_orders_loading.png");
        auto* form = dynamic_cast<DetailDialog*>(&dialog);
        ASSERT_NE(form, nullptr);
        form->show();
        form->grid("grdPod")->Sync();
        QCoreApplication::processEvents();
        SaveScreenshot(*form, "parts_purchase_order_detail.png");
        form->hide();
    };
    ClickCell(orders->grid(), 0, 0);
    ASSERT_EQ(dialogs_.modal.size(), 2u);
    EXPECT_TRUE(loading_shown);
    EXPECT_EQ(bar_value, 100);
    EXPECT_FALSE(orders->progressBar()->isVisible());
    EXPECT_FALSE(orders->label("lblLoading")->isVisible());

    // The vendor totals.
    QString grand;
    dialogs_.on_modal = [&](QDialog& dialog) {
        auto* totals = dynamic_cast<VendorTotalsDialog*>(&dialog);
        ASSERT_NE(totals, nullptr);
        grand = totals->totalLabel()->text();
        totals->show();
        totals->grid()->Sync();
        QCoreApplication::processEvents();
        EXPECT_GT(totals->grid()->tableModel()->rowCount(), 0);
        SaveScreenshot(*totals, "parts_vendor_totals.png");
        totals->hide();
    };
    QTest::mouseClick(orders->vendorTotalsButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs_.modal.size(), 3u);
    EXPECT_EQ(dialogs_.modal[2], "frmVtotal");
    EXPECT_EQ(grand, orders->label("lblPoTotal")->text());

    // A click on the "Date" header sorts by the hidden day count, latest first.
    GroupHeaderView* header = orders->grid()->groupHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(3) + 5, header->height() / 2));
    const GridModel& po = orders->grid()->grid();
    for (int r = 1; r < po.RowCount(); ++r)
        EXPECT_GE(po.CellValue(r - 1, "ndate").value_or(0), po.CellValue(r, "ndate").value_or(0));
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_TRUE(messages_->messages.empty());
}

TEST_F(PartsFormsTest, OnADamagedSetEachViewKeepsItsRowsAndItsRecapLabelTurnsRed) {
    sample::DataSetWriter set;
    sample::DemoPlan plan = sample::PlanFor(sample::Scale::kTiny);
    sample::AddDemoFiles(set, plan);
    sample::DataSetImage image = set.Build();
    sample::damage::RecordPointerPastLastRecord(image, "LINEI", "LINEL", 2);
    sample::damage::RemoveDirectoryEntry(image, "VNDRI");
    StartOn(image);
    const RecapForm* recap = Recap();
    ASSERT_NE(recap, nullptr);
    for (int label : {1, 5, 8}) {
        EXPECT_EQ(recap->figure(label)->text(), "Data Error !") << label;
        EXPECT_EQ(recap->figure(label)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }
    SaveScreenshot(window(), "parts_damaged_recap.png");
    const std::vector<std::string> log = env_.LogLines();
    auto logged = [&](const std::string& line) {
        return std::find(log.begin(), log.end(), line) != log.end();
    };
    EXPECT_TRUE(
        logged("*Error in frmReturn GetReturn routine error # :  -10  File not Found: "
               "\"VNDRI\""));
    EXPECT_TRUE(logged("*Error in frmPO GetPO routine error # :  -10  File not Found: \"VNDRI\""));

    ViewForm* inventory = Open("I1", "frmInv");
    ASSERT_NE(inventory, nullptr);
    EXPECT_EQ(inventory->grid()->tableModel()->rowCount(), 2);
    EXPECT_EQ(inventory->label("lblinvtot(0)")->text(), "");
    SaveScreenshot(window(), "parts_damaged_inventory.png");
    ViewForm* returns = Open("A6", "frmReturn");
    ASSERT_NE(returns, nullptr);
    EXPECT_EQ(returns->grid()->tableModel()->rowCount(), 0);
    EXPECT_TRUE(messages_->messages.empty());
}

}  // namespace
}  // namespace dv::qt
