// The Floor Plan and Units views on the demo data set: their totals are the writer's.
#include <gtest/gtest.h>

#include "sampledata/demo_set.h"
#include "sampledata/parts_data.h"
#include "sampledata/units_data.h"
#include "units/views/floor_plan_view.h"
#include "units/views/units_test_support.h"
#include "units/views/units_view.h"

namespace dv {
namespace {

class DemoUnitsViews : public views_test::ViewTest,
                       public ::testing::WithParamInterface<sample::Scale> {};
class DemoUnitsViewsDamage : public views_test::ViewTest {};

TEST_P(DemoUnitsViews, TotalsAreTheWritersAndEveryDetailOpens) {
    sample::DemoPlan plan = sample::PlanFor(GetParam());
    sample::AddPartsFiles(set, plan);
    const sample::UnitsFilesSummary summary = sample::AddUnitsFiles(set, plan);
    Start();
    auto fp = Load<FloorPlanView>();
    auto units = Load<UnitsView>();
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(fp->total_cents(), summary.floor_plan_cents);
    EXPECT_EQ(units->total_cents(), summary.units_cents);
    EXPECT_EQ(units->grid().RowCount(), summary.unit_lines);

    CapturingDetailHost recorder;
    int extents = 0, infos = 0;
    recorder.on_show = [&](DetailForm& f, DetailHost& host) {
        if (f.form_name() == "frmFpdtl") {
            GridModel& g = *f.grids()[0];
            for (int r = 0; r < g.RowCount(); ++r) f.ButtonClick(g.name(), r, host);
        } else if (f.form_name() == "frmFpx") {
            ++extents;
        } else if (f.form_name() == "frmUnitDtl" && f.grids()[0]->RowCount() > 0) {
            f.ButtonClick("grdUnitDtl", 0, host);
        } else if (f.form_name() == "frmUnitInfo") {
            ++infos;
            EXPECT_EQ(f.grids()[0]->RowCount(), 25);
        }
    };
    fp->SetDetailHost(&recorder);
    units->SetDetailHost(&recorder);
    for (int r = 0; r < fp->grid().RowCount(); ++r) fp->ButtonClick(kFloorPlanGrid, r);
    for (int r = 0; r < units->grid().RowCount(); ++r) units->ButtonClick(kUnitsGrid, r);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_GT(extents, 0);
    EXPECT_GT(infos, 0);
}

// Every damage kind of the units files: the views end their fills or show messages, never hang
// or crash, and the program goes on.
TEST_F(DemoUnitsViewsDamage, EveryDamageKindEndsInAnErrorOrAMessage) {
    for (const sample::NamedDamage& kind : sample::UnitsDamageKinds()) {
        SCOPED_TRACE(kind.name);
        Reset();
        sample::DataSetWriter writer;
        sample::DemoPlan plan = sample::PlanFor(sample::Scale::kTiny);
        sample::AddPartsFiles(writer, plan);
        sample::AddUnitsFiles(writer, plan);
        sample::DataSetImage image = writer.Build();
        kind.apply(image);
        Start(image);
        auto fp = Load<FloorPlanView>();
        auto units = Load<UnitsView>();
        CapturingDetailHost host;
        host.on_show = [&](DetailForm& f, DetailHost& h) {
            if (f.form_name() != "frmFpdtl" && f.form_name() != "frmUnitDtl") return;
            GridModel& g = *f.grids()[0];
            for (int r = 0; r < g.RowCount(); ++r) f.ButtonClick(g.name(), r, h);
        };
        fp->SetDetailHost(&host);
        units->SetDetailHost(&host);
        for (int r = 0; r < fp->grid().RowCount(); ++r) fp->ButtonClick(kFloorPlanGrid, r);
        for (int r = 0; r < units->grid().RowCount(); ++r) units->ButtonClick(kUnitsGrid, r);
        const std::string name = kind.name;
        if (name == "fpexl-loop" || name == "fpexl-past-end") {
            ASSERT_FALSE(host.messages.empty());
            EXPECT_NE(host.messages[0].find("Damaged chain in FPEXL"), std::string::npos);
        } else if (name == "lunitl-deleted") {
            // A ledger entry of zeros is an entry of amount 0 that ends its chain: no error.
            EXPECT_NE(context.recap.Figure(kUnitsRecapLabel).caption, "Data Error !");
            EXPECT_TRUE(host.messages.empty());
        } else if (name == "unitl-short") {
            EXPECT_EQ(units->total_cents(), 0);  // no ledger chain within 140 bytes
            EXPECT_TRUE(host.messages.empty());
        } else {
            EXPECT_EQ(context.recap.Figure(kUnitsRecapLabel).caption, "Data Error !");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, DemoUnitsViews,
                         ::testing::Values(sample::Scale::kTiny, sample::Scale::kDemo));

}  // namespace
}  // namespace dv
