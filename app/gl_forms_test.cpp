// Sales / Cash, Profit and the two G/L views in the running desktop program on the demo data
// set, and the account setup dialog opened from a G/L view's button. The pictures go to the
// build folder's screenshots for a person to look at.
#include "sales/qt/gl_forms.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/qt_views.h"
#include "app/views.h"
#include "platform/messages.h"
#include "sales/views/gl_views.h"
#include "sampledata/damage.h"
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

// Records what a label showed each time it was painted, and the mouse pointer at the time.
class PaintRecorder : public QObject {
  public:
    struct Paint {
        QString text;
        bool wait_cursor;
    };
    explicit PaintRecorder(QLabel* label) { label->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QCursor* cursor = QApplication::overrideCursor();
            paints.push_back({static_cast<QLabel*>(watched)->text(),
                              cursor != nullptr && cursor->shape() == Qt::WaitCursor});
        }
        return false;
    }
    std::vector<Paint> paints;
};

// The refill after Done runs inside the click: "Re-Calculating... please wait !" is painted
// before it, under the hourglass, and is gone with the hourglass when the click returns.
TEST_F(SalesFormsTest, TheRecalculatingLabelIsPaintedUnderTheHourglassBeforeTheRefill) {
    ViewForm* assets = Open("A5", "frmGLA");
    ASSERT_NE(assets, nullptr);
    QLabel* recalc = assets->findChild<QLabel*>("lblReCalc");
    ASSERT_NE(recalc, nullptr);
    EXPECT_TRUE(recalc->isHidden());
    PaintRecorder recorder(recalc);
    dialogs_.on_modal = [](QDialog& d) {
        auto& setup = dynamic_cast<AccountSetupDialog&>(d);
        setup.moveButton(1)->click();  // every account
        setup.doneButton()->click();
    };
    assets->findChild<QPushButton*>("cmdCashSetup")->click();
    ASSERT_FALSE(recorder.paints.empty());
    EXPECT_EQ(recorder.paints.front().text, "Re-Calculating... please wait !");
    EXPECT_TRUE(recorder.paints.front().wait_cursor);
    EXPECT_TRUE(recalc->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_GT(assets->gridWidget("grdGLCash")->tableModel()->rowCount(), 4);
}

// A chart of accounts that can't be read whole: the setup dialog opens over what was read, after
// a message box titled as every message of the program is.
class GLBrokenChartTest : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        RegisterViews(views_);
        RegisterQtViews(qt_views_);
        sample::DataSetImage image = sample::BuildDemoSet(sample::PlanFor(sample::Scale::kDemo));
        sample::damage::RecordPointerPastLastRecord(image, "CHRTI", "CHRTL", 2);
        StartOn(image);
    }
    MemorySettingsStore settings_;
    ScopedSettingsStore use_{settings_};
};

TEST_F(GLBrokenChartTest, TheChartLoadErrorBoxCarriesTheProgramsTitle) {
    auto* assets = OpenForm<ViewForm>("A5", "frmGLA");
    ASSERT_NE(assets, nullptr);
    dialogs_.on_modal = [](QDialog& d) {
        dynamic_cast<AccountSetupDialog&>(d).cancelButton()->click();
    };
    dialogs_.messages.clear();
    assets->findChild<QPushButton*>("cmdCashSetup")->click();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].title.toStdString(), platform::kApplicationTitle);
    EXPECT_TRUE(dialogs_.messages[0].text.contains("can not load GL chart of accounts !"));
}

}  // namespace
}  // namespace dv::qt
