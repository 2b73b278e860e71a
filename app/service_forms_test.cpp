// Open Shop Work and Billed Warranties in the running desktop program on the demo data set:
// every view loaded at start-up, both service views opened from the tree, and a shop job's and
// a claim's detail from their grid buttons. The pictures go to the build folder's screenshots
// for a person to look at.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "app/qt_views.h"
#include "app/views.h"
#include "sampledata/demo_set.h"
#include "service/views/shop_detail.h"
#include "service/views/shop_view.h"
#include "service/views/warranty_view.h"
#include "shell/detail_form.h"
#include "shell/operation_log.h"
#include "shell/qt/detail_dialog.h"
#include "shell/qt/grid_table_model.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/main_window.h"
#include "shell/qt/program.h"
#include "shell/qt/qt_test_support.h"
#include "shell/qt/recap_form.h"
#include "shell/qt/view_form.h"

namespace dv::qt {
namespace {

using testing::ClickCell;
using testing::ProgramFixture;
using testing::SaveScreenshot;

class ServiceFormsTest : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        RegisterViews(views_);
        RegisterQtViews(qt_views_);
    }

    void Start(bool segments) {
        sample::DemoPlan plan = sample::PlanFor(sample::Scale::kDemo);
        plan.warranty_segments = segments;
        StartOn(sample::BuildDemoSet(plan));
    }

    ViewForm* Open(std::string_view key, std::string_view form) {
        return OpenForm<ViewForm>(key, form);
    }
};

TEST_F(ServiceFormsTest, EveryViewLoadsAndTheServiceViewsOpenFromTheTree) {
    Start(false);
    ASSERT_TRUE(program_->controller().load_completed());
    // Every registered view loaded (Billed Warranties in the form the options chose).
    ViewRegistry registered;
    RegisterViews(registered);
    for (const std::string& form : registered.Forms()) {
        if (form == form::kWarSeg) continue;
        EXPECT_NE(program_->controller().Instance(form), nullptr) << form;
    }
    const auto* recap = dynamic_cast<RecapForm*>(window().subWindow("frmRecap")->widget());
    ASSERT_NE(recap, nullptr);
    EXPECT_NE(recap->figure(3)->text(), "");
    EXPECT_NE(recap->figure(6)->text(), "");
    SaveScreenshot(window(), "service_recap.png");

    ViewForm* shop = Open("A2", "frmShop");
    ASSERT_NE(shop, nullptr);
    EXPECT_GT(shop->grid()->tableModel()->rowCount(), 0);
    EXPECT_EQ(shop->label("Label1")->text(), "Open Shop Jobs");
    EXPECT_TRUE(shop->grid()->isColumnHidden(12));
    SaveScreenshot(window(), "service_open_shop_work.png");

    // A shop job of several requests: its detail, then one request alone.
    const GridModel& jobs = dynamic_cast<ShopView&>(shop->view()).grid();
    int several = -1;
    for (int r = 0; r < jobs.RowCount() && several < 0; ++r)
        if (!jobs.CellText(r, "Request").empty() && jobs.CellText(r, "Status") == "Complete")
            several = r;
    ASSERT_GE(several, 0);
    QString shop_caption;
    int all_rows = -1, one_request_rows = -1;
    dialogs_.on_modal = [&](QDialog& dialog) {
        auto* detail = dynamic_cast<DetailDialog*>(&dialog);
        ASSERT_NE(detail, nullptr);
        dialog.resize(1000, 760);
        shop_caption = dialog.windowTitle();
        GridWidget* lines = detail->grid(kShopDetailGrid);
        ASSERT_NE(lines, nullptr);
        all_rows = lines->tableModel()->rowCount();
        SaveScreenshot(dialog, "service_shop_job_detail.png");
        QComboBox* requests = detail->choice(kRequestChoice);
        ASSERT_NE(requests, nullptr);
        ASSERT_GE(requests->count(), 2);
        requests->setCurrentIndex(requests->count() - 1);
        emit requests->activated(requests->count() - 1);  // as a user's choice raises it
        QCoreApplication::processEvents();
        one_request_rows = lines->tableModel()->rowCount();
        SaveScreenshot(dialog, "service_shop_job_detail_one_request.png");
    };
    ClickCell(shop->grid(), several, 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(shop_caption.startsWith("Shop Job Detail ...   Shop Job : "));
    EXPECT_TRUE(shop_caption.endsWith("Job Status : Completed"));
    EXPECT_GT(all_rows, 0);
    EXPECT_GT(one_request_rows, 0);
    EXPECT_LT(one_request_rows, all_rows);

    ViewForm* warranty = Open("A7", "frmWarranty");
    ASSERT_NE(warranty, nullptr);
    EXPECT_GT(warranty->grid()->tableModel()->rowCount(), 0);
    EXPECT_EQ(warranty->label("Label1")->text(), "Billed Warranty Jobs");
    SaveScreenshot(window(), "service_billed_warranties.png");

    QString claim_caption;
    int claim_rows = -1;
    dialogs_.on_modal = [&](QDialog& dialog) {
        auto* detail = dynamic_cast<DetailDialog*>(&dialog);
        ASSERT_NE(detail, nullptr);
        dialog.resize(900, 600);
        claim_caption = dialog.windowTitle();
        claim_rows = detail->grid(kWarrantyDetailGrid)->tableModel()->rowCount();
        SaveScreenshot(dialog, "service_warranty_detail.png");
    };
    ClickCell(warranty->grid(), 0, 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(claim_caption.startsWith("Warranty Detail ...   Shop reference : "));
    EXPECT_GT(claim_rows, 0);
    EXPECT_TRUE(env_.LogLines().size() <= 2);  // the start line, nothing trapped
}

TEST_F(ServiceFormsTest, SegmentVariantShowsTheSegmentForm) {
    Start(true);
    EXPECT_EQ(program_->controller().Instance(form::kWarranty), nullptr);
    ViewForm* seg = Open("A7", "frmWarSeg");
    ASSERT_NE(seg, nullptr);
    EXPECT_GT(seg->grid()->tableModel()->rowCount(), 0);
    SaveScreenshot(window(), "service_billed_warranties_by_segment.png");
}

}  // namespace
}  // namespace dv::qt
