// The keyboard in the running desktop program on the demo data set: the tree walked node by node
// with the arrow keys while the focus stays in it, Enter, a click and F6 going between the tree
// and the view, and Tab and Shift+Tab going round the controls of the Shop Job Detail and of the
// account setup dialog (the arrow keys moving within a grid, not out of it).

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <set>
#include <string>
#include <vector>

#include "app/qt_views.h"
#include "app/views.h"
#include "sales/qt/gl_forms.h"
#include "sales/views/gl_views.h"
#include "sampledata/demo_set.h"
#include "service/views/shop_detail.h"
#include "service/views/shop_view.h"
#include "shell/qt/detail_dialog.h"
#include "shell/qt/grid_table_model.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/main_window.h"
#include "shell/qt/qt_test_support.h"

namespace dv::qt {
namespace {

using testing::ClickCell;
using testing::ProgramFixture;

std::string FocusName() {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->objectName().toStdString() : "(none)";
}

// Presses a key on the widget that has the focus.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, modifiers);
    QCoreApplication::processEvents();
}

// The controls Tab (or Shift+Tab) reaches from the focus until it comes back, by name; at most
// limit presses.
std::vector<std::string> TabRound(bool back, int limit = 12) {
    const QWidget* start = QApplication::focusWidget();
    std::vector<std::string> reached;
    for (int i = 0; i < limit; ++i) {
        Press(back ? Qt::Key_Backtab : Qt::Key_Tab);
        reached.push_back(FocusName());
        if (QApplication::focusWidget() == start) break;
    }
    return reached;
}

void Activate(QWidget& window) {
    window.show();
    window.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &window) << window.objectName().toStdString();
}

class KeyboardTest : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        RegisterViews(views_);
        RegisterQtViews(qt_views_);
        StartOn(sample::BuildDemoSet(sample::Scale::kDemo));
        ASSERT_TRUE(program_->controller().load_completed());
        Activate(window());
    }

    std::string CurrentForm() {
        const View* view = program_->controller().current_monitor();
        return view != nullptr ? view->form_name() : std::string();
    }

    // The form of the view shown, after a click on its tree node.
    QWidget* ShowView(std::string_view key, std::string_view form) {
        ClickTree(key);
        QCoreApplication::processEvents();
        ViewSubWindow* sub = window().subWindow(form);
        return sub != nullptr ? sub->widget() : nullptr;
    }
};

TEST_F(KeyboardTest, TheArrowKeysWalkTheTreeWithTheFocusInItAndEnterClickAndF6GoIntoTheView) {
    QTreeWidget* tree = window().tree();
    tree->setFocus();
    tree->setCurrentItem(tree->topLevelItem(0));
    std::set<std::string> shown;
    int nodes = 1;
    for (QTreeWidgetItem* before = tree->currentItem();; before = tree->currentItem()) {
        Press(Qt::Key_Down);
        QTreeWidgetItem* node = tree->currentItem();
        if (node == before) break;
        ++nodes;
        const std::string key = node->data(0, Qt::UserRole).toString().toStdString();
        EXPECT_EQ(QApplication::focusWidget(), tree) << key << ": " << FocusName();
        if (node->childCount() > 0) continue;  // a group node shows nothing
        shown.insert(CurrentForm());
        const ViewSubWindow* sub = window().subWindow(CurrentForm());
        ASSERT_NE(sub, nullptr) << key;
        EXPECT_TRUE(sub->isVisible()) << key;
    }
    EXPECT_EQ(nodes, 18);
    EXPECT_EQ(shown.size(), 14u);  // every view and the recap board
    EXPECT_EQ(CurrentForm(), "frmRecap");

    // Back up to Sales / Cash, Enter goes into its first grid; Tab and Shift+Tab go from grid to
    // grid; F6 goes back to the tree and again into the view, where the focus was.
    Press(Qt::Key_Up);
    EXPECT_EQ(CurrentForm(), "frmSales");
    EXPECT_EQ(QApplication::focusWidget(), tree);
    Press(Qt::Key_Return);
    EXPECT_EQ(FocusName(), "grdSales");
    Press(Qt::Key_Tab);
    EXPECT_EQ(FocusName(), "grdCash");
    Press(Qt::Key_Down);  // within the grid
    EXPECT_EQ(FocusName(), "grdCash");
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(FocusName(), "grdSales");
    Press(Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), tree);
    Press(Qt::Key_F6);
    EXPECT_EQ(FocusName(), "grdSales");

    // A click on a view's node goes into the view.
    ShowView("A6", "frmReturn");
    EXPECT_EQ(FocusName(), "grdReturn");
}

TEST_F(KeyboardTest, TabGoesRoundTheShopJobDetailAndTheAccountSetupBackToWhereItBegan) {
    // A job kept by request segments, so that its detail shows the request list.
    QWidget* shop = ShowView("A2", "frmShop");
    ASSERT_NE(shop, nullptr);
    auto* jobs = shop->findChild<GridWidget*>(QString::fromStdString(std::string(kShopGrid)));
    ASSERT_NE(jobs, nullptr);
    jobs->Sync();
    int row = 0;
    while (row < jobs->grid().RowCount() && jobs->grid().CellText(row, "Request").empty()) ++row;
    ASSERT_LT(row, jobs->grid().RowCount());

    std::vector<std::string> forward, backward;
    dialogs_.on_modal = [&](QDialog& dialog) {
        auto* detail = dynamic_cast<DetailDialog*>(&dialog);
        ASSERT_NE(detail, nullptr);
        Activate(dialog);
        EXPECT_EQ(FocusName(), kShopDetailGrid);  // not the request list
        QComboBox* requests = detail->choice(kRequestChoice);
        ASSERT_NE(requests, nullptr);
        ASSERT_TRUE(requests->isVisible());
        const QString all = requests->currentText();
        Press(Qt::Key_Down);
        EXPECT_EQ(requests->currentText(), all);
        EXPECT_EQ(detail->grid(kShopDetailGrid)->grid().CurrentRow(), 1);
        forward = TabRound(false);
        backward = TabRound(true);
        dialog.hide();
    };
    ClickCell(jobs, row, 0);
    ASSERT_EQ(dialogs_.modal, std::vector<QString>{"frmShopDetail"});
    const std::vector<std::string> round = {"cmbRequest", "grdShopDetail"};
    EXPECT_EQ(forward, round);
    EXPECT_EQ(backward, round);

    // The account setup: the available grid, the four move buttons, the grid of the accounts
    // shown, Done and Cancel, and round again; Shift+Tab the other way.
    QWidget* assets = ShowView("A5", "frmGLA");
    ASSERT_NE(assets, nullptr);
    auto* setup =
        assets->findChild<QPushButton*>(QString::fromStdString(std::string(kSetupCommand)));
    ASSERT_NE(setup, nullptr);
    dialogs_.on_modal = [&](QDialog& dialog) {
        auto* accounts = dynamic_cast<AccountSetupDialog*>(&dialog);
        ASSERT_NE(accounts, nullptr);
        Activate(dialog);
        EXPECT_EQ(FocusName(), "grdA(0)");
        forward = TabRound(false);
        backward = TabRound(true);
        accounts->cancelButton()->click();
    };
    setup->click();
    const std::vector<std::string> ahead = {"cmdMove(0)", "cmdMove(1)", "cmdMove(2)", "cmdMove(3)",
                                            "grdA(1)",    "cmdDone",    "cmdCancel",  "grdA(0)"};
    EXPECT_EQ(forward, ahead);
    const std::vector<std::string> back = {"cmdCancel",  "cmdDone",    "grdA(1)",    "cmdMove(3)",
                                           "cmdMove(2)", "cmdMove(1)", "cmdMove(0)", "grdA(0)"};
    EXPECT_EQ(backward, back);
}

}  // namespace
}  // namespace dv::qt
