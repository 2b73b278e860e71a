#include "shell/qt/grid_widget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "shell/qt/grid_table_model.h"
#include "shell/qt/text.h"
#include "shell/qt/twips.h"

namespace dv::qt {

// ---- GroupHeaderView ----

GroupHeaderView::GroupHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setSectionsMovable(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
}

void GroupHeaderView::SetTwoLevels(bool two_levels) {
    if (two_levels == two_levels_) return;
    two_levels_ = two_levels;
    if (count() > 0) headerDataChanged(Qt::Horizontal, 0, count() - 1);
    updateGeometry();
    viewport()->update();
}

QSize GroupHeaderView::sectionSizeFromContents(int logical_index) const {
    QSize size = QHeaderView::sectionSizeFromContents(logical_index);
    if (two_levels_) size.setHeight(size.height() * 2);
    return size;
}

QRect GroupHeaderView::GroupRect(int group_start, const QRect& section_rect) const {
    int left = section_rect.left();
    int right = section_rect.right();
    for (int i = group_start; i < count(); ++i) {
        if (i > group_start &&
            model()->headerData(i, Qt::Horizontal, GridTableModel::kGroupStartRole).toInt() !=
                group_start) {
            break;
        }
        if (isSectionHidden(i)) continue;
        const int x = sectionViewportPosition(i);
        left = std::min(left, x);
        right = std::max(right, x + sectionSize(i) - 1);
    }
    return QRect(QPoint(left, section_rect.top()),
                 QPoint(right, section_rect.top() + section_rect.height() / 2 - 1));
}

void GroupHeaderView::paintSection(QPainter* painter, const QRect& rect, int logical_index) const {
    const int start = two_levels_ && model() ? model()
                                                   ->headerData(logical_index, Qt::Horizontal,
                                                                GridTableModel::kGroupStartRole)
                                                   .toInt()
                                             : -1;
    if (start < 0) {
        QHeaderView::paintSection(painter, rect, logical_index);
        return;
    }
    const int half = rect.height() / 2;
    painter->save();
    QHeaderView::paintSection(painter, rect.adjusted(0, half, 0, 0), logical_index);
    painter->restore();

    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = GroupRect(start, rect);
    option.section = start;
    option.text =
        model()->headerData(logical_index, Qt::Horizontal, GridTableModel::kGroupRole).toString();
    option.textAlignment = Qt::AlignCenter;
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.state = QStyle::State_Enabled | QStyle::State_Horizontal | QStyle::State_Raised;
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
}

// ---- ButtonCellDelegate ----

void ButtonCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    if (!index.data(GridTableModel::kButtonRole).toBool()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionButton button;
    button.rect = option.rect.adjusted(1, 1, -1, -1);
    button.text = index.data(Qt::DisplayRole).toString();
    button.palette = option.palette;
    button.fontMetrics = option.fontMetrics;
    button.direction = option.direction;
    button.state =
        QStyle::State_Enabled | (pressed_ == index ? QStyle::State_Sunken : QStyle::State_Raised);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
}

bool ButtonCellDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                     const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!index.data(GridTableModel::kButtonRole).toBool()) {
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) pressed_ = index;
        return false;  // the view still makes the row current
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool hit = mouse->button() == Qt::LeftButton && pressed_ == index &&
                         option.rect.contains(mouse->position().toPoint());
        pressed_ = QPersistentModelIndex();
        if (hit) emit buttonClicked(index.row());
        return hit;
    }
    return false;
}

// ---- GridWidget ----

GridWidget::GridWidget(GridModel& grid, QWidget* parent)
    : QTableView(parent),
      table_(new GridTableModel(grid, this)),
      header_(new GroupHeaderView(this)),
      buttons_(new ButtonCellDelegate(this)) {
    setObjectName(ToQ(grid.name()));
    setHorizontalHeader(header_);
    setModel(table_);
    setItemDelegate(buttons_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setAlternatingRowColors(true);
    // The current row looks the same whether or not the grid's window is the active one.
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    setPalette(colours);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Fixed row heights: the table never measures rows, whatever their number.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    header_->setSectionResizeMode(QHeaderView::Interactive);
    header_->setStretchLastSection(false);

    connect(header_, &QHeaderView::sectionClicked, this, &GridWidget::headerClicked);
    // After the view's handler ran: a click that sorted nothing leaves the indicator where the
    // last sort put it (the header moves it on every click by itself).
    connect(header_, &QHeaderView::sectionClicked, this, &GridWidget::ShowSortIndicator);
    connect(buttons_, &ButtonCellDelegate::buttonClicked, this, &GridWidget::buttonClicked);
    connect(table_, &GridTableModel::columnsChanged, this, &GridWidget::ApplyColumns);
    connect(table_, &GridTableModel::rowsReset, this, [this] {
        if (!fitted_to_rows_ && this->grid().RowCount() > 0) FitColumns();
        ShowSortIndicator();
    });
    connect(table_, &GridTableModel::currentRowChanged, this, &GridWidget::FollowCurrentRow);
    connect(table_, &GridTableModel::visibilityChanged, this, &QWidget::setVisible);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (following_ || !current.isValid()) return;
                GridModel& g = this->grid();
                if (current.row() < g.RowCount()) g.SetCurrentRow(current.row());
            });
    ApplyColumns();
    ShowSortIndicator();
    setVisible(grid.visible());
}

void GridWidget::ShowSortIndicator() {
    const GridModel& g = grid();
    header_->setSortIndicatorShown(g.SortColumn() >= 0);
    header_->setSortIndicator(g.SortColumn(),
                              g.SortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

GridWidget::~GridWidget() = default;

GridModel& GridWidget::grid() const {
    return table_->grid();
}

void GridWidget::Sync() {
    table_->Sync();
}

QRect GridWidget::CellRect(int row, int column) const {
    return visualRect(table_->index(row, column));
}

void GridWidget::showEvent(QShowEvent* event) {
    Sync();
    if (!fitted_to_rows_ && grid().RowCount() > 0) FitColumns();
    QTableView::showEvent(event);
}

void GridWidget::ApplyColumns() {
    const GridModel& g = grid();
    for (int i = 0; i < g.ColumnCount(); ++i) setColumnHidden(i, g.Column(i).hidden);
    header_->SetTwoLevels(g.HasGroups());
    setToolTip(ToQ(g.tooltip()));
    FitColumns();
    updateGeometries();
}

void GridWidget::FitColumns() {
    const GridModel& g = grid();
    const QFontMetrics header_metrics = header_->fontMetrics();
    const QFontMetrics cell_metrics = fontMetrics();
    // A look at the first rows is enough to size a column; the table never measures them all.
    const int sample = std::min(g.RowCount(), 100);
    for (int c = 0; c < g.ColumnCount(); ++c) {
        const GridColumn& column = g.Column(c);
        if (column.width_twips > 0) {
            setColumnWidth(c, TwipsX(this, column.width_twips));
            continue;
        }
        int width = header_metrics.horizontalAdvance(ToQ(column.caption)) + 20;
        for (int r = 0; r < sample; ++r) {
            width = std::max(width, cell_metrics.horizontalAdvance(ToQ(g.CellText(r, c))) + 16);
        }
        setColumnWidth(c, std::clamp(width, 48, 420));
    }
    fitted_to_rows_ = g.RowCount() > 0;
}

void GridWidget::FollowCurrentRow(int row) {
    Sync();
    following_ = true;
    if (row < 0 || row >= table_->rowCount()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
    } else {
        int column = 0;
        while (column < table_->columnCount() - 1 && isColumnHidden(column)) ++column;
        const QModelIndex index = table_->index(row, column);
        setCurrentIndex(index);
        selectRow(row);
        if (row == 0) {
            scrollToTop();
        } else {
            scrollTo(index);
        }
    }
    following_ = false;
}

}  // namespace dv::qt
