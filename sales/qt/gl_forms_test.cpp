// Sales / Cash, Profit and the two G/L views in the running desktop program on the demo data
// set, and the account setup dialog opened from a G/L view's button. The pictures go to the
// build folder's screenshots for a person to look at.
#include "sales/qt/gl_forms.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "app/qt_views.h"
#include "app/views.h"
#include "sales/views/gl_views.h"
#include "sampledata/demo_set.h"
#include "shell/qt/grid_table_model.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/main_window.h"
#include "shell/qt/program.h"
#include "shell/qt/qt_test_support.h"
#include "shell/qt/recap_form.h"
#include "shell/qt/view_form.h"
#include "shell/settings_store.h"

namespace dv::qt {
namespace {

using testing::ClickCell;
using testing::ProgramFixture;
using testing::SaveScreenshot;

class SalesFormsTest : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        RegisterViews(views_);
        RegisterQtViews(qt_views_);
        settings_.Save("Dashvane", "Asset", "Accounts", "01100,01200,01240,02100");
        settings_.Save("Dashvane", "Liability", "Accounts", "01300,01310,02310");
        StartOn(sample::BuildDemoSet(sample::PlanFor(sample::Scale::kDemo)));
    }

    ViewForm* Open(std::string_view key, std::string_view form) {
        return OpenForm<ViewForm>(key, form);
    }

    MemorySettingsStore settings_;
    ScopedSettingsStore use_{settings_};
};

TEST_F(SalesFormsTest, SalesCashAndProfitShowTheirGridsAndTheRecapBoardTheirFigures) {
    ASSERT_TRUE(program_->controller().load_completed());
    ViewForm* sales = Open("S1", "frmSales");
    ASSERT_NE(sales, nullptr);
    EXPECT_GT(sales->gridWidget("grdSales")->tableModel()->rowCount(), 3);
    EXPECT_GT(sales->gridWidget("grdCash")->tableModel()->rowCount(), 3);
    SaveScreenshot(window(), "sales_cash.png");
    ViewForm* profit = Open("S2", "frmProfit");
    ASSERT_NE(profit, nullptr);
    EXPECT_GT(profit->gridWidget("grdProfit")->tableModel()->rowCount(), 10);
    SaveScreenshot(window(), "profit.png");
    const auto* recap = dynamic_cast<RecapForm*>(window().subWindow("frmRecap")->widget());
    ASSERT_NE(recap, nullptr);
    for (int i : {4, 7, 9, 10, 13, 15, 21}) EXPECT_NE(recap->figure(i)->text(), "") << i;
}

TEST_F(SalesFormsTest, TheGLViewsShowTheStoredAccountsAndTheSetupDialogReplacesThem) {
    ViewForm* liabilities = Open("L2", "frmGLL");
    ASSERT_NE(liabilities, nullptr);
    EXPECT_EQ(liabilities->gridWidget("grdGLPay")->tableModel()->rowCount(), 3);
    SaveScreenshot(window(), "gl_liabilities.png");

    ViewForm* assets = Open("A5", "frmGLA");
    ASSERT_NE(assets, nullptr);
    GridWidget* grid = assets->gridWidget("grdGLCash");
    EXPECT_EQ(grid->tableModel()->rowCount(), 4);
    SaveScreenshot(window(), "gl_assets.png");

    dialogs_.on_modal = [](QDialog& d) {
        auto* setup = dynamic_cast<AccountSetupDialog*>(&d);
        ASSERT_NE(setup, nullptr);
        EXPECT_EQ(setup->windowTitle(), "Set up display accounts");
        EXPECT_EQ(setup->gridCaption(0)->text(), "Avalable Asset Accounts");
        EXPECT_EQ(setup->grid(1)->tableModel()->rowCount(), 0);
        // Company 1's petty cash (110), then its operating cash (100): they arrive in the
        // reverse of that order.
        GridWidget* available = setup->grid(0);
        available->selectionModel()->select(
            available->tableModel()->index(1, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        available->selectionModel()->select(
            available->tableModel()->index(0, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        setup->moveButton(0)->click();
        EXPECT_EQ(setup->grid(1)->tableModel()->rowCount(), 2);
        setup->show();
        QCoreApplication::processEvents();
        SaveScreenshot(*setup, "gl_setup.png");
        setup->doneButton()->click();
    };
    auto* button = assets->findChild<QPushButton*>("cmdCashSetup");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "&Select Accounts");
    button->click();
    EXPECT_EQ(dialogs_.modal.size(), 1u);
    EXPECT_EQ(settings_.Get("Dashvane", "Asset", "Accounts"), "01100,01110");
    EXPECT_EQ(grid->tableModel()->rowCount(), 2);

    // Cancel: the list and the grid stay.
    dialogs_.on_modal = [](QDialog& d) {
        dynamic_cast<AccountSetupDialog&>(d).cancelButton()->click();
    };
    button->click();
    EXPECT_EQ(settings_.Get("Dashvane", "Asset", "Accounts"), "01100,01110");
    EXPECT_EQ(grid->tableModel()->rowCount(), 2);
    EXPECT_TRUE(env_.LogLines().size() <= 2);
}

}  // namespace
}  // namespace dv::qt
