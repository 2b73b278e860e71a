// The grid widget over the core grid model: rows read on demand, the two-level header, hidden
// columns, header and button clicks, the tooltip, and the move to the first row after a sort.
// Every grid's table model runs under a model tester.
#include "shell/qt/grid_widget.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "engine/error.h"
#include "platform/test_support.h"
#include "shell/operation_log.h"
#include "shell/qt/grid_table_model.h"
#include "shell/qt/qt_test_support.h"
#include "shell/qt/view_form.h"
#include "shell/recap_board.h"
#include "shell/splash.h"

namespace dv::qt {
namespace {

using testing::EnsureApplication;
using testing::FakeDialogs;
using testing::TestGridModel;
using testing::TestView;

class GridWidgetTest : public ::testing::Test {
  protected:
    void SetUp() override { EnsureApplication(); }

    static void AddColumns(GridModel& grid, bool groups) {
        grid.AddColumn({"Line", "Line", "", false, false, CellAlignment::kLeft, 0});
        grid.AddColumn(
            {"Cost", "Cost", groups ? "Investment" : "", false, false, CellAlignment::kRight, 0});
        grid.AddColumn({"Value", "Value", "", false, false, CellAlignment::kRight, 0});
        grid.AddColumn({"ndate", "ndate", "", true, false, CellAlignment::kLeft, 0});
        grid.AddColumn({"Detail", "Detail", "", false, true, CellAlignment::kCenter, 0});
    }

    static void Fill(GridModel& grid, int rows) {
        for (int i = 0; i < rows; ++i) {
            const int row = grid.AddRow();
            // A fixed-width field with its trailing blanks.
            grid.SetCell(row, "Line", "L" + std::to_string(i) + std::string(20, ' '));
            grid.SetCell(row, "Cost", std::to_string(i));
            grid.SetCell(row, "Detail", "...");
        }
    }
};

TEST_F(GridWidgetTest, AHundredThousandRowsAreReadFromTheCoreGridOnDemand) {
    GridModel grid("grdBig");
    AddColumns(grid, false);
    GridWidget widget(grid);
    TestGridModel(widget);
    widget.resize(600, 400);
    widget.show();
    Fill(grid, 100000);
    // Rows added during a fill are announced together.
    widget.Sync();
    const GridTableModel* model = widget.tableModel();
    ASSERT_EQ(model->rowCount(), 100000);
    EXPECT_EQ(model->columnCount(), 5);
    EXPECT_EQ(model->index(99999, 0).data().toString(), "L99999");
    // A change in the core is what the table shows next.
    grid.SetCell(99999, "Line", "changed");
    EXPECT_EQ(model->index(99999, 0).data().toString(), "changed");
    EXPECT_TRUE(widget.isColumnHidden(3));
    EXPECT_FALSE(widget.isColumnHidden(4));
    EXPECT_EQ(model->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);

    grid.RemoveAll();
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(GridWidgetTest, RowsAddedDuringAFillAppearOnTheNextTurnOfTheEventLoop) {
    GridModel grid("grdFill");
    AddColumns(grid, false);
    GridWidget widget(grid);
    TestGridModel(widget);
    Fill(grid, 10);
    EXPECT_EQ(widget.tableModel()->rowCount(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(widget.tableModel()->rowCount(), 10);
}

TEST_F(GridWidgetTest, AGridsWholeLifeKeepsItsModelWithinTheItemModelContract) {
    GridModel grid("grdLife");
    GridWidget widget(grid);
    TestGridModel(widget);
    QSignalSpy inserted(widget.tableModel(), &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(widget.tableModel(), &QAbstractItemModel::dataChanged);
    AddColumns(grid, true);  // columns after the widget: a reset
    Fill(grid, 4);
    grid.SetCell(2, "Cost", "before the table knows the row");
    EXPECT_EQ(changed.count(), 0);
    widget.Sync();
    EXPECT_EQ(inserted.count(), 1);  // the rows of one fill in one announcement
    grid.SetCell(2, "Cost", "7");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(widget.tableModel()->index(2, 1).data().toString(), "7");
    Fill(grid, 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(widget.tableModel()->rowCount(), 7);
    grid.RemoveAll();
    EXPECT_EQ(widget.tableModel()->rowCount(), 0);
    Fill(grid, 2);
    widget.Sync();
    widget.Sync();  // nothing new: no announcement
    EXPECT_EQ(widget.tableModel()->rowCount(), 2);
    EXPECT_EQ(inserted.count(), 3);
}

TEST_F(GridWidgetTest, GroupCaptionsMakeATwoLevelHeader) {
    GridModel flat("grdFlat");
    AddColumns(flat, false);
    GridModel grouped("grdGrouped");
    AddColumns(grouped, true);
    GridWidget one(flat);
    TestGridModel(one);
    GridWidget two(grouped);
    TestGridModel(two);
    one.show();
    two.show();
    EXPECT_FALSE(one.groupHeader()->two_levels());
    EXPECT_TRUE(two.groupHeader()->two_levels());
    EXPECT_GE(two.horizontalHeader()->height(), 2 * one.horizontalHeader()->height() - 2);
    const GridTableModel* model = two.tableModel();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal, GridTableModel::kGroupStartRole).toInt(), -1);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal, GridTableModel::kGroupStartRole).toInt(), 1);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal, GridTableModel::kGroupRole).toString(),
              "Investment");
    EXPECT_EQ(model->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Value");
}

// Every column takes its widest cell and its caption, after the first fill and after a refill
// with wider figures (a refill keeps no width of the fill before it); a grid's caption shows as
// a bar above its headers.
TEST_F(GridWidgetTest, ColumnsFitEveryFillAndTheCaptionStandsAboveTheHeaders) {
    GridModel grid("grdFit");
    AddColumns(grid, true);
    grid.SetToolTip("Click on Blue headers to sort grid by that column");
    GridWidget widget(grid);
    widget.resize(300, 200);
    widget.show();
    const auto fill = [&grid](const std::string& cost) {
        grid.RemoveAll();
        for (int i = 0; i < 3; ++i) {
            const int row = grid.AddRow();
            // A fixed-width field with its trailing blanks.
            grid.SetCell(row, "Line", "L" + std::to_string(i) + std::string(20, ' '));
            grid.SetCell(row, "Cost", i == 2 ? cost : "$1.00");
        }
    };
    const auto fits = [&widget, &grid](int row, int column) {
        const int text = widget.fontMetrics().horizontalAdvance(
            QString::fromStdString(grid.CellText(row, column)));
        return text <= widget.TextRoom(column);
    };
    fill("$5.00");
    QCoreApplication::processEvents();
    EXPECT_TRUE(fits(2, 1));
    const int narrow = widget.columnWidth(1);
    fill("-$1,166,068,486.91");
    QCoreApplication::processEvents();
    EXPECT_TRUE(fits(2, 1));
    EXPECT_GT(widget.columnWidth(1), narrow);
    // A text column is no wider than its caption or its widest text needs: trailing blanks are
    // neither shown nor given room.
    EXPECT_LT(widget.columnWidth(0), 2 * widget.groupHeader()->CaptionWidth("Line"));
    EXPECT_EQ(widget.model()->index(0, 0).data().toString(), "L0");
    // The grid wants the width of all its columns beside each other, scroll bar included.
    int columns = 0;
    for (int c = 0; c < grid.ColumnCount(); ++c)
        if (!widget.isColumnHidden(c)) columns += widget.columnWidth(c);
    EXPECT_GT(widget.sizeHint().width(), columns);
    EXPECT_GE(widget.groupHeader()->CaptionRoom(2),
              widget.groupHeader()->fontMetrics().horizontalAdvance("Value"));

    ASSERT_TRUE(widget.captionBar()->isVisible());
    EXPECT_EQ(widget.captionBar()->text(), "Click on Blue headers to sort grid by that column");
    EXPECT_LE(widget.captionBar()->geometry().bottom(),
              widget.horizontalHeader()->geometry().top());
    GridModel plain("grdPlain");
    AddColumns(plain, false);
    GridWidget other(plain);
    other.show();
    EXPECT_FALSE(other.captionBar()->isVisible());
}

TEST_F(GridWidgetTest, HeaderAndButtonClicksRaiseTheirEvents) {
    GridModel grid("grdClicks");
    AddColumns(grid, true);
    Fill(grid, 5);
    GridWidget widget(grid);
    TestGridModel(widget);
    widget.resize(600, 300);
    widget.show();
    widget.Sync();
    QSignalSpy headers(&widget, &GridWidget::headerClicked);
    QSignalSpy buttons(&widget, &GridWidget::buttonClicked);

    QHeaderView* header = widget.horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 4, header->height() * 3 / 4));
    ASSERT_EQ(headers.count(), 1);
    EXPECT_EQ(headers.at(0).at(0).toInt(), 2);
    // A click on the group caption is a click on the column under it.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 4, header->height() / 4));
    ASSERT_EQ(headers.count(), 2);
    EXPECT_EQ(headers.at(1).at(0).toInt(), 1);

    QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, widget.CellRect(3, 4).center());
    ASSERT_EQ(buttons.count(), 1);
    EXPECT_EQ(buttons.at(0).at(0).toInt(), 3);
    // Other cells are no buttons; the click only makes the row current.
    QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, widget.CellRect(2, 0).center());
    EXPECT_EQ(buttons.count(), 1);
    EXPECT_EQ(grid.CurrentRow(), 2);
}

// The context of a view's load outside the main window.
class LooseContext : public ViewContext {
  public:
    SplashModel& Splash() override { return splash_; }
    RecapBoard& Recap() override {
        board_.RunLoad(*this);
        return board_;
    }

  private:
    SplashModel splash_{"Version 0.0.0", ""};
    RecapBoard board_;
};

TEST_F(GridWidgetTest, AHeaderClickSortsThroughTheViewAndTheGridMovesToItsFirstRow) {
    dv::testing::TempFolder folder;
    dv::testing::ScopedEnv temp("TEMP", folder.path());
    InitLogPath();
    mSortOrder = 0;
    FakeDialogs dialogs;
    TestView view({"frmTest", "Test", 1, 300, false});
    LooseContext context;
    view.RunLoad(context);
    testing::TestDoors doors(dialogs);
    ViewForm form(view, doors.Context());
    form.resize(500, 300);
    form.show();
    GridWidget* widget = form.gridWidget("grdTest");
    ASSERT_NE(widget, nullptr);
    widget->Sync();
    EXPECT_EQ(widget->toolTip(), "Click a column heading to sort");
    widget->setCurrentIndex(widget->tableModel()->index(250, 0));
    widget->scrollToBottom();
    ASSERT_GT(widget->verticalScrollBar()->value(), 0);

    QHeaderView* header = widget->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 4, header->height() * 3 / 4));
    // The first click of the run sorts descending.
    EXPECT_EQ(view.grid().CellText(0, "Line"), "Line 1299");
    EXPECT_EQ(widget->tableModel()->index(0, 0).data().toString(), "Line 1299");
    EXPECT_EQ(widget->currentIndex().row(), 0);
    EXPECT_EQ(widget->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(dialogs.messages.empty());

    // The header shows the column last sorted and its direction: on the clicked column also
    // where its rows sort by a hidden column, and unchanged by a click that sorts nothing.
    const auto click = [&](int column) {
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 4, header->height() * 3 / 4));
    };
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 0);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    click(2);  // Value, sorted by the hidden nvalue
    EXPECT_EQ(view.grid().CellText(0, "Value"), "0");
    EXPECT_EQ(header->sortIndicatorSection(), 2);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    click(4);  // Detail sorts nothing
    EXPECT_EQ(header->sortIndicatorSection(), 2);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    view.grid().RemoveAll();  // as a refresh does before it fills again
    EXPECT_FALSE(header->isSortIndicatorShown());
}

// A view whose header handler fails.
class FailingHeaderView : public View {
  public:
    FailingHeaderView() : View("frmBroken", "Broken") {
        AddGrid("grdBroken").AddColumn({"A", "A", "", false, false, CellAlignment::kLeft, 0});
    }
    void HeaderClick(std::string_view, int) override {
        throw BasicError(13, "SortGrid", "Type mismatch");
    }

  protected:
    void Load(ViewContext&) override {}
};

TEST_F(GridWidgetTest, AFailingHeaderClickIsLoggedAndShownAndTheProgramGoesOn) {
    dv::testing::TempFolder folder;
    dv::testing::ScopedEnv temp("TEMP", folder.path());
    InitLogPath();
    FakeDialogs dialogs;
    FailingHeaderView view;
    testing::TestDoors doors(dialogs);
    ViewForm form(view, doors.Context());
    form.show();
    GridWidget* widget = form.gridWidget("grdBroken");
    QHeaderView* header = widget->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(4, header->height() / 2));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "VODOD2");
    EXPECT_EQ(dialogs.messages[0].text,
              "Error in frmBroken grdBroken_HeadClick routine error # :  13  Type mismatch");
    EXPECT_EQ(dv::testing::ReadFileBytes(folder / "dvoperation.log"),
              "*Error in frmBroken grdBroken_HeadClick routine error # :  13  Type mismatch\r\n");
}

}  // namespace
}  // namespace dv::qt
