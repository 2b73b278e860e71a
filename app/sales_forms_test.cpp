// The Accounts Receivable and Open Sales Orders views in the running desktop program on the demo
// data set: each opened from the tree, and a pick ticket's detail opened from its grid button.
// The pictures go to the build folder's screenshots for a person to look at.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QTest>

#include "app/qt_views.h"
#include "app/views.h"
#include "sales/views/ar_view.h"
#include "sales/views/open_sales_view.h"
#include "sampledata/demo_set.h"
#include "shell/qt/grid_table_model.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/main_window.h"
#include "shell/qt/program.h"
#include "shell/qt/qt_test_support.h"
#include "shell/qt/qt_views.h"
#include "shell/qt/recap_form.h"
#include "shell/qt/view_form.h"

namespace dv::qt {
namespace {

using testing::ClickCell;
using testing::ProgramFixture;
using testing::SaveScreenshot;

class CounterSalesFormsTest : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        RegisterViews(views_);
        RegisterQtViews(qt_views_);
    }

    ViewForm* Open(std::string_view key, std::string_view form) {
        return OpenForm<ViewForm>(key, form);
    }
};

TEST_F(CounterSalesFormsTest, BothViewsOpenFromTheTreeAndATicketsDetailFromItsButton) {
    StartOn(sample::BuildDemoSet(sample::Scale::kDemo));
    ASSERT_TRUE(program_->controller().load_completed());
    const auto* recap = dynamic_cast<RecapForm*>(window().subWindow("frmRecap")->widget());
    ASSERT_NE(recap, nullptr);
    for (int label : {0, 2}) {
        EXPECT_TRUE(recap->figure(label)->text().startsWith("$")) << label;
    }

    ViewForm* ar = Open("A3", "frmAR");
    ASSERT_NE(ar, nullptr);
    GridWidget* current = ar->gridWidget(kARCurrentGrid);
    ASSERT_NE(current, nullptr);
    current->Sync();
    EXPECT_EQ(current->tableModel()->rowCount(), 29);
    EXPECT_EQ(ar->gridWidget(kARFutureGrid)->grid().RowCount(), 6);
    SaveScreenshot(window(), "sales_ar.png");

    ViewForm* sales = Open("A4", "frmOpenSales");
    ASSERT_NE(sales, nullptr);
    GridWidget* tickets = sales->gridWidget(kTicketsGrid);
    ASSERT_NE(tickets, nullptr);
    tickets->Sync();
    EXPECT_GT(tickets->tableModel()->rowCount(), 10);
    EXPECT_TRUE(tickets->isColumnHidden(9));  // ndate
    SaveScreenshot(window(), "sales_open_sales.png");

#if __has_include("shell/qt/detail_dialog.h")
    // The detail through the program's detail host, in the generic detail dialog.
    QString caption;
    int lines = 0;
    dialogs_.on_modal = [&](QDialog& dialog) {
        caption = dialog.windowTitle();
        dialog.resize(900, 600);
        dialog.show();
        for (GridWidget* grid : dialog.findChildren<GridWidget*>()) {
            grid->Sync();
            lines += grid->tableModel()->rowCount();
        }
        QCoreApplication::processEvents();
        SaveScreenshot(dialog, "sales_pick_ticket_detail.png");
        dialog.hide();
    };
    const QRect cell = tickets->CellRect(0, 1);
    QTest::mouseClick(tickets->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(dialogs_.modal, std::vector<QString>{"frmPTSDetail"});
    EXPECT_TRUE(caption.startsWith("Pick-Ticket # 5000")) << caption.toStdString();
    EXPECT_TRUE(caption.endsWith("Sales type : Charge") || caption.endsWith("Sales type : Cash"));
    EXPECT_GT(lines, 16);  // the first ticket has three pages
#endif
}

}  // namespace
}  // namespace dv::qt
