// The service views on the demo data set, through the main controller as the programs run them:
// the Open Shop Work total, the Billed Warranties form the options choose (plain, or by segment
// in the variant with options 317 and 320), its total, the tree and File > Refresh; and on
// damaged copies: a claim without pages or with a looping chain gives a failure row, a job slot
// past INVOL's last record a red recap label 3 with the rows before it kept.
#include <gtest/gtest.h>

#include "app/views.h"
#include "records/test_support.h"
#include "sampledata/demo_set.h"
#include "sampledata/service_data.h"
#include "service/views/shop_view.h"
#include "service/views/warranty_view.h"
#include "shell/headless.h"
#include "shell/main_controller.h"
#include "shell/number_format.h"
#include "shell/operation_log.h"
#include "shell/options.h"
#include "shell/view_registry.h"
#include "test_support/sample_share.h"

namespace dv {
namespace {

class DemoServiceViews : public ::testing::Test {
  protected:
    DemoServiceViews() {
        InitLogPath();
        RegisterViews(views_);
    }
    ~DemoServiceViews() override {
        if (controller_) controller_->Unload();
    }

    // Builds the tiny demo set of the variant, damages it, and runs the main window's load.
    void Run(bool segments, const std::function<void(sample::DataSetImage&)>& damage = {}) {
        sample::DemoPlan plan = sample::PlanFor(sample::Scale::kTiny);
        plan.warranty_segments = segments;
        sample::DataSetWriter summary_set;
        sample::DemoPlan summary_plan = plan;
        sample::AddDemoFiles(summary_set, summary_plan);
        // The service summary of the same plan (the generator is deterministic).
        sample::DataSetWriter again;
        sample::DemoPlan again_plan = plan;
        summary = sample::AddServiceFiles(again, again_plan);
        sample::DataSetImage image = summary_set.Build();
        if (damage) damage(image);
        share_.Write(image);
        controller_ =
            std::make_unique<MainController>(views_, DefaultEngineHooks(), window_, window_);
        controller_->Load();
    }
    const RecapBoard& Recap() const { return *controller_->recap_board(); }
    WarrantyView* Warranty(std::string_view form) const {
        return dynamic_cast<WarrantyView*>(controller_->Instance(form));
    }

    sample::ServiceSummary summary;
    LogCapture log;
    sales_test::RecordedEvents events;
    std::unique_ptr<MainController> controller_;

  private:
    sample::SampleShare share_;
    ViewRegistry views_;
    HeadlessWindow window_;
};

TEST_F(DemoServiceViews, PlainFormWithTotalsOfTheData) {
    Run(false);
    ASSERT_TRUE(controller_->load_completed());
    EXPECT_EQ(controller_->WarrantyForm(), form::kWarranty);
    auto* shop = dynamic_cast<ShopView*>(controller_->Instance(form::kShop));
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(shop->grid().RowCount(), static_cast<int>(summary.listed_jobs.size()));
    EXPECT_EQ(shop->total_cents(), summary.open_total_cents);
    EXPECT_EQ(Recap().Figure(recap::kShop).caption,
              FormatNumber(Number::Cents(summary.open_total_cents), "$#,###,###.00"));
    EXPECT_EQ(controller_->Instance(form::kWarSeg), nullptr);
    WarrantyView* warranty = Warranty(form::kWarranty);
    ASSERT_NE(warranty, nullptr);
    EXPECT_EQ(warranty->grid().RowCount(), static_cast<int>(summary.listed_keys.size()));
    EXPECT_EQ(warranty->parts_cents(), summary.warranty_parts_cents);
    EXPECT_EQ(warranty->labor_cents(), summary.warranty_labor_cents);
    EXPECT_FALSE(Recap().Figure(recap::kWarranty).red);
    EXPECT_TRUE(events.entries().empty());
    for (const std::string& line : log.lines())
        EXPECT_EQ(line.find("Error"), std::string::npos) << line;
}

TEST_F(DemoServiceViews, OptionsChooseTheSegmentFormAtStartTreeAndRefresh) {
    Run(true);
    EXPECT_EQ(controller_->WarrantyForm(), form::kWarSeg);
    EXPECT_EQ(controller_->Instance(form::kWarranty), nullptr);
    WarrantyView* seg = Warranty(form::kWarSeg);
    ASSERT_NE(seg, nullptr);
    EXPECT_TRUE(seg->segments());
    EXPECT_EQ(seg->grid().RowCount(), static_cast<int>(summary.listed_keys.size()));
    EXPECT_EQ(seg->parts_cents() + seg->labor_cents(),
              summary.warranty_parts_cents + summary.warranty_labor_cents);
    EXPECT_EQ(seg->grid().CellText(0, "Req").size(), 2u);
    controller_->TreeClick(kBilledWarrantiesKey);
    EXPECT_EQ(controller_->current_monitor(), seg);
    controller_->Refresh();
    EXPECT_NE(Warranty(form::kWarSeg), nullptr);
    EXPECT_EQ(controller_->Instance(form::kWarranty), nullptr);
    EXPECT_EQ(
        Recap().Figure(recap::kWarranty).caption,
        FormatNumber(Number::Cents(summary.warranty_parts_cents + summary.warranty_labor_cents),
                     "$#,###,###.00"));
}

TEST_F(DemoServiceViews, DamagedClaimsGiveFailureRowsWhoseTotalsCountOnce) {
    Run(false, [](sample::DataSetImage& image) {
        sample::damage::ClaimWithoutPages(image, 1);
        sample::damage::LoopClaimPages(image, 2);
        sample::damage::DeletedClaimPage(image, 3);  // a head page of zeros: page number 0
    });
    ASSERT_TRUE(controller_->load_completed());
    WarrantyView* warranty = Warranty(form::kWarranty);
    ASSERT_NE(warranty, nullptr);
    const GridModel& g = warranty->grid();
    ASSERT_EQ(g.RowCount(), static_cast<int>(summary.listed_keys.size()));
    EXPECT_EQ(g.CellText(0, "Name"), kWarrantyFailureName);
    EXPECT_EQ(g.CellText(0, "Parts"), "0");
    EXPECT_EQ(g.CellText(1, "Name"), kWarrantyFailureName);
    EXPECT_EQ(g.CellText(2, "Name"), kWarrantyFailureName);
    EXPECT_FALSE(Recap().Figure(recap::kWarranty).red);
    // The broken claims add nothing; every other row adds its own totals once.
    int64_t sum = 0;
    for (int r = 0; r < g.RowCount(); ++r)
        sum += g.CellValue(r, "Parts").value_or(0) + g.CellValue(r, "Labor").value_or(0);
    EXPECT_EQ(warranty->parts_cents() + warranty->labor_cents(), sum);
    ASSERT_EQ(events.entries().size(), 6u);  // BuildPage and BuildDetail for each
    EXPECT_NE(events.entries()[4].find("1030  Damaged page chain in file WARRL: record "),
              std::string::npos)
        << events.entries()[4];
    EXPECT_NE(events.entries()[4].find("holds page number 0"), std::string::npos)
        << events.entries()[4];
}

TEST_F(DemoServiceViews, JobSlotPastLastRecordMarksRecapLabel3) {
    int32_t damaged_job = 0;
    Run(false, [&](sample::DataSetImage& image) {
        damaged_job = summary.jobs.at(2);
        sample::damage::JobSlotPastLastRecord(image, damaged_job);
    });
    auto* shop = dynamic_cast<ShopView*>(controller_->Instance(form::kShop));
    ASSERT_NE(shop, nullptr);
    EXPECT_TRUE(Recap().Figure(recap::kShop).red);
    EXPECT_EQ(Recap().Figure(recap::kShop).caption, "Data Error !");
    // The rows of the jobs before it in the table stay.
    int before = 0;
    for (int32_t j : summary.listed_jobs)
        if (j == summary.jobs[0] || j == summary.jobs[1]) ++before;
    EXPECT_EQ(shop->grid().RowCount(), before);
    bool logged = false;
    for (const std::string& line : log.lines())
        logged |= line.rfind("*Error in frmShop GetShopData routine error # :  81  ", 0) == 0;
    EXPECT_TRUE(logged);
    // The warranty form still loads after it.
    EXPECT_NE(Warranty(form::kWarranty), nullptr);
}

}  // namespace
}  // namespace dv
