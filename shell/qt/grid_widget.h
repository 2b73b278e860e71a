// The one data grid of every view: a table over a core grid model with the grid's two-level
// header (group captions above the column captions), its hidden columns, button cells and
// caption (a bar above the headers, and the grid's tooltip). A header click raises headerClicked
// with the column's position in the grid; a click on a button cell raises buttonClicked with the
// row. When the core grid moves to a row (after a sort, to its first one) the table follows, and
// the header shows the sort indicator of the column last sorted and its direction. The arrow
// keys move within the grid; Tab and Shift+Tab leave it for the form's next or previous control.
#pragma once

#include <QHeaderView>
#include <QLabel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <vector>

#include "shell/grid_model.h"

namespace dv::qt {

class GridTableModel;

// Paints the group caption above the captions of the columns of its group. Columns before the
// first group, and every column of a grid without groups, have one caption over both levels.
class GroupHeaderView : public QHeaderView {
    Q_OBJECT

  public:
    explicit GroupHeaderView(QWidget* parent = nullptr);
    void SetTwoLevels(bool two_levels);
    bool two_levels() const { return two_levels_; }

    // The width a column's caption needs: its text, the margins and room for the sort indicator
    // (whichever column holds it); and the room a section's caption has at its present width.
    int CaptionWidth(const QString& caption) const;
    int CaptionRoom(int logical_index) const;
    // The width a group caption needs over the columns of its group.
    int GroupCaptionWidth(const QString& caption) const;

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logical_index) const override;
    QSize sectionSizeFromContents(int logical_index) const override;

  private:
    QRect GroupRect(int group_start, const QRect& section_rect) const;
    bool two_levels_ = false;
};

// Draws the cells of button columns as push buttons and reports clicks on them.
class ButtonCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  signals:
    void buttonClicked(int row);

  protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

  private:
    QPersistentModelIndex pressed_;
};

class GridWidget : public QTableView {
    Q_OBJECT

  public:
    explicit GridWidget(GridModel& grid, QWidget* parent = nullptr);
    ~GridWidget() override;

    GridModel& grid() const;
    GridTableModel* tableModel() const { return table_; }
    GroupHeaderView* groupHeader() const { return header_; }
    // The grid's caption bar above its headers ("Click on Blue headers to sort grid by that
    // column", "Futures"); hidden for a grid without a caption.
    QLabel* captionBar() const { return caption_; }

    // Brings the table up to the grid's rows at once.
    void Sync();

    // Where a column's header and a row's cell of it lie, in viewport coordinates (for tests
    // and for the header's own painting).
    QRect CellRect(int row, int column) const;

    // The room a cell's text has in a column at its present width: the column less the cell's
    // margins (and a button's frame in a button column). Every column is kept wide enough for
    // the widest text of its cells and for its caption, after every fill, refill and sort.
    int TextRoom(int column) const;

    // Wide enough for every shown column beside each other with the vertical scroll bar, so
    // that a window holding the grid can open wide enough to show its last column unscrolled.
    QSize sizeHint() const override;

  signals:
    void headerClicked(int column);
    void buttonClicked(int row);

  protected:
    void showEvent(QShowEvent* event) override;
    void updateGeometries() override;

  private:
    void ApplyColumns();
    // Sizes every column to its widest cell and its caption.
    void FitColumns();
    // Widens columns for the rows from first on (rows added to a fill) and for one changed cell.
    void GrowColumns(int first_row, int last_row);
    // The margins a column's cells take beside their text.
    int CellPadding(int column) const;
    // The group captions' columns: the last column of each group takes what its caption needs.
    void FitGroups();
    void FollowCurrentRow(int row);
    // The header's sort indicator: the grid's last sorted column and direction, or none.
    void ShowSortIndicator();

    GridTableModel* table_;
    GroupHeaderView* header_;
    ButtonCellDelegate* buttons_;
    QLabel* caption_;
    bool placing_caption_ = false;
    std::vector<int> text_widths_;  // by column: the widest cell text, in pixels
    bool following_ = false;
};

}  // namespace dv::qt
