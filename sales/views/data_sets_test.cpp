// Both views on the tiny demo set, clean and with each damage kind of the counter documents:
// the Part's outcome or the decisions taken, never a crash or a hang.
#include <gtest/gtest.h>

#include "records/page_chain.h"
#include "sales/views/ar_view.h"
#include "sales/views/open_sales_view.h"
#include "sales/views/pts_detail.h"
#include "sampledata/demo_set.h"
#include "sampledata/sales_data.h"
#include "test_support/views/view_test_support.h"

namespace dv {
namespace {

using testing::TestContext;
using views_test::ViewTest;

class SalesDataSets : public ViewTest {
  protected:
    SalesDataSets() { summary_ = sample::AddSalesFiles(set, plan_); }
    sample::DemoPlan plan_ = sample::PlanFor(sample::Scale::kTiny);
    sample::SalesFilesSummary summary_;
};

TEST_F(SalesDataSets, CleanSetFillsBothViewsAndOpensADetail) {
    Start();
    auto ar = Load<ARView>();
    auto sales = Load<OpenSalesView>();
    EXPECT_EQ(ar->FindGrid(kARCurrentGrid)->RowCount(), 29);
    EXPECT_EQ(ar->FindGrid(kARFutureGrid)->RowCount(), 3);
    EXPECT_EQ(context.recap.Figure(recap::kAR).caption,
              FormatNumber(Number::Cents(summary_.receivables_cents), "$#,###,###.00"));
    EXPECT_EQ(sales->tickets().RowCount(), summary_.tickets);
    EXPECT_EQ(sales->saved().RowCount(), summary_.saved_invoices);
    EXPECT_EQ(sales->ticket_total_cents(), summary_.ticket_total_cents);
    EXPECT_EQ(sales->saved_total_cents(), summary_.saved_total_cents);
    EXPECT_TRUE(log.lines().empty());

    CapturingDetailHost host;
    sales->SetDetailHost(&host);
    sales->ButtonClick(kTicketsGrid, 0);
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_GT(host.shown[0].FindGrid(kPTSGrid)->rows.size(), 16u);  // three pages of lines
}

TEST_F(SalesDataSets, DamagedSets) {
    const struct {
        const char* name;
        void (*apply)(sample::DataSetImage&);
        bool ar_grids_visible;
        bool ar_error;
        int open_sales_error;  // 0: no error
    } cases[] = {
        {"no DARR.KRLI", &sample::sales_damage::RemoveReceivables, false, false, 0},
        {"malformed DARR.KRLI", &sample::sales_damage::MalformedReceivables, true, true, 0},
        {"looping ticket chain", &sample::sales_damage::LoopPageChain, true, false,
         err::kPageChain},
        {"ticket head past the file", &sample::sales_damage::TicketHeadPastLastRecord, true, false,
         err::kRecordNumber},
        {"saved head past the file", &sample::sales_damage::SavedHeadPastLastRecord, true, false,
         err::kRecordNumber},
        {"date of 0", &sample::sales_damage::ZeroDate, true, false, err::kTypeMismatch},
    };
    const sample::DataSetImage clean = set.Build();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sample::DataSetImage image = clean;
        c.apply(image);
        Reset();
        Start(image);
        log.Take();
        TestContext ctx;
        ARView ar;
        ar.RunLoad(ctx);
        OpenSalesView sales;
        sales.RunLoad(ctx);
        EXPECT_EQ(ar.FindGrid(kARCurrentGrid)->visible(), c.ar_grids_visible);
        EXPECT_EQ(ctx.recap.Figure(recap::kAR).red, c.ar_error);
        EXPECT_EQ(ctx.recap.Figure(recap::kOpenSales).red, c.open_sales_error != 0);
        const std::vector<std::string> lines = log.Take();
        ASSERT_EQ(lines.size(), (c.ar_error ? 1u : 0u) + (c.open_sales_error ? 1u : 0u));
        if (c.open_sales_error != 0) {
            EXPECT_NE(lines.back().find("GetPTSData routine error # :  " +
                                        std::to_string(c.open_sales_error) + "  "),
                      std::string::npos)
                << lines.back();
        }
        // The detail of whatever rows stayed never ends the program.
        CapturingDetailHost host;
        sales.SetDetailHost(&host);
        for (int r = 0; r < sales.tickets().RowCount(); ++r) sales.ButtonClick(kTicketsGrid, r);
    }
}

}  // namespace
}  // namespace dv
