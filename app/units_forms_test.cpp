// The Floor Plan and Units views in the running desktop program on the demo data set: both
// opened from the tree, a line's floored units and a unit's extents, a line's units in stock
// and a unit's information, each from a grid button. The pictures go to the build folder's
// screenshots for a person to look at.

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <string>
#include <vector>

#include "app/qt_views.h"
#include "app/views.h"
#include "sampledata/demo_set.h"
#include "shell/detail_form.h"
#include "shell/operation_log.h"
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

// Shows each detail form in a dialog of its grids, grabs it while it is open, and lets the test
// click its buttons as a user would.
class GrabbingDetailHost : public DetailHost {
  public:
    void Message(const std::string& text) override { messages.push_back(text); }

    std::vector<std::string> shown;  // form names, in the order they opened
    std::vector<std::string> messages;
    std::function<void(DetailForm& form, QDialog& dialog)> on_show;

  protected:
    void Present(DetailForm& form) override {
        shown.push_back(form.form_name());
        QDialog dialog;
        dialog.setObjectName(QString::fromStdString(form.form_name()));
        dialog.setWindowTitle(QString::fromStdString(form.caption()));
        auto* layout = new QVBoxLayout(&dialog);
        for (const FormLabel& l : form.labels())
            layout->addWidget(new QLabel(QString::fromStdString(l.caption), &dialog));
        for (const auto& grid : form.grids()) {
            auto* widget = new GridWidget(*grid, &dialog);
            widget->Sync();
            layout->addWidget(widget);
        }
        dialog.resize(1100, 420);
        dialog.show();
        QCoreApplication::processEvents();
        if (on_show) on_show(form, dialog);
    }
};

class UnitsFormsTest : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        RegisterViews(views_);
        RegisterQtViews(qt_views_);
    }

    void Start() {
        detail_host_ = &details_;
        StartOn(sample::BuildDemoSet(sample::Scale::kDemo));
    }

    ViewForm* Open(std::string_view key, std::string_view form) {
        return OpenForm<ViewForm>(key, form);
    }

    GrabbingDetailHost details_;
};

TEST_F(UnitsFormsTest, BothViewsOpenFromTheTree) {
    Start();
    ASSERT_TRUE(program_->controller().load_completed());
    const auto* recap = dynamic_cast<RecapForm*>(window().subWindow("frmRecap")->widget());
    ASSERT_NE(recap, nullptr);

    ViewForm* fp = Open("I2", "frmFp");
    ASSERT_NE(fp, nullptr);
    EXPECT_GT(fp->grid()->tableModel()->rowCount(), 0);
    EXPECT_TRUE(fp->grid()->isColumnHidden(3));
    EXPECT_EQ(fp->label("Label1")->text(), "Floor Plan");
    EXPECT_EQ(fp->label("lblFpTot(0)")->text(), "Total  : " + recap->figure(11)->text());
    SaveScreenshot(window(), "units_floor_plan.png");

    ViewForm* units = Open("I3", "frmUnits");
    ASSERT_NE(units, nullptr);
    EXPECT_GT(units->grid()->tableModel()->rowCount(), 0);
    EXPECT_EQ(units->label("lblFpTot(0)")->text(), "Total  : " + recap->figure(12)->text());
    SaveScreenshot(window(), "units_units.png");
    EXPECT_TRUE(env_.LogLines().size() <= 2);  // the start line, nothing trapped
}

// A floored line's units, then the extents of the first unit that has some; a line's units in
// stock, then the first unit's information.
TEST_F(UnitsFormsTest, ALinesDetailOpensItsExtentsAndAUnitItsInformation) {
    Start();
    details_.on_show = [this](DetailForm& form, QDialog& dialog) {
        const std::string name = form.form_name();
        SaveScreenshot(dialog, QString::fromStdString("units_" + name + ".png"));
        GridModel& grid = *form.grids()[0];
        if (name == "frmFpdtl") {
            for (int r = 0; r < grid.RowCount(); ++r) {
                if (grid.CellText(r, "Ext") != "Yes") continue;
                form.ButtonClick(grid.name(), r, details_);
                break;
            }
        } else if (name == "frmUnitDtl" && grid.RowCount() > 0) {
            form.ButtonClick(grid.name(), 0, details_);
        } else if (name == "frmFpx") {
            EXPECT_GT(grid.RowCount(), 0);
            EXPECT_TRUE(form.caption().starts_with("Extents...     Model "));
        } else if (name == "frmUnitInfo") {
            EXPECT_EQ(grid.RowCount(), 25);
            EXPECT_EQ(grid.CellText(14, "Col1"), "HOURS   ");
        }
    };
    ViewForm* fp = Open("I2", "frmFp");
    ASSERT_NE(fp, nullptr);
    ClickCell(fp->grid(), 0, 0);
    QCoreApplication::processEvents();
    ViewForm* units = Open("I3", "frmUnits");
    ASSERT_NE(units, nullptr);
    ClickCell(units->grid(), 0, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(details_.shown,
              (std::vector<std::string>{"frmFpdtl", "frmFpx", "frmUnitDtl", "frmUnitInfo"}));
    EXPECT_TRUE(details_.messages.empty());
}

}  // namespace
}  // namespace dv::qt
