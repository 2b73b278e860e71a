#include "shell/qt/grid_widget.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <array>
#include <cmath>

#include "shell/qt/grid_table_model.h"
#include "shell/qt/text.h"
#include "shell/qt/twips.h"

namespace dv::qt {

namespace {

// The widest text of a column's cells in rows first .. last. Every byte of the core's texts is
// one character, so a text's width is close to the sum of its characters' advances: that sum is
// taken for every cell (no text shaping), and only the few texts near the widest sum are
// measured as the painter lays them out. The result is the larger of the two, so that a grid of
// 100,000 rows is sized in a moment and no text is ever wider than its column.
class TextWidths {
  public:
    explicit TextWidths(const QFont& font) : metrics_(font) {
        for (int c = 0; c < 256; ++c)
            advance_[static_cast<size_t>(c)] =
                metrics_.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    }

    int Widest(const GridModel& grid, int column, int first, int last) const {
        constexpr int kMeasured = 48;  // texts measured exactly, the widest sums first
        struct Candidate {
            double sum;
            int row;
        };
        std::vector<Candidate> candidates;
        double widest_sum = 0;
        for (int r = first; r <= last; ++r) {
            const std::string_view text = ShownCell(grid.CellText(r, column));
            double sum = 0;
            for (unsigned char c : text) sum += advance_[c];
            widest_sum = std::max(widest_sum, sum);
            candidates.push_back({sum, r});
        }
        const size_t keep = std::min(candidates.size(), static_cast<size_t>(kMeasured));
        std::partial_sort(candidates.begin(),
                          candidates.begin() + static_cast<std::ptrdiff_t>(keep), candidates.end(),
                          [](const Candidate& a, const Candidate& b) { return a.sum > b.sum; });
        double widest = widest_sum;
        for (size_t i = 0; i < keep; ++i) {
            widest = std::max(widest, metrics_.horizontalAdvance(ToQ(
                                          ShownCell(grid.CellText(candidates[i].row, column)))));
        }
        return static_cast<int>(std::ceil(widest));
    }

  private:
    QFontMetricsF metrics_;
    std::array<double, 256> advance_{};
};

}  // namespace

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

int GroupHeaderView::CaptionWidth(const QString& caption) const {
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    const QFontMetrics metrics(font());
    // The sort indicator takes a square as high as the caption's line, and a margin.
    const int indicator = metrics.height() + 2 * margin + margin;
    return margin + metrics.horizontalAdvance(caption) + margin + indicator + 2;
}

int GroupHeaderView::CaptionRoom(int logical_index) const {
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    const QFontMetrics metrics(font());
    const int indicator = metrics.height() + 2 * margin + margin;
    return sectionSize(logical_index) - 2 * margin - indicator - 2;
}

int GroupHeaderView::GroupCaptionWidth(const QString& caption) const {
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    return QFontMetrics(font()).horizontalAdvance(caption) + 2 * margin + 2;
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
      buttons_(new ButtonCellDelegate(this)),
      caption_(new QLabel(this)) {
    setObjectName(ToQ(grid.name()));
    caption_->setObjectName(ToQ(grid.name()) + " caption");
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setAutoFillBackground(true);
    caption_->setMargin(2);
    {
        QPalette bar = caption_->palette();
        bar.setColor(QPalette::Window, bar.color(QPalette::Active, QPalette::Highlight));
        bar.setColor(QPalette::WindowText, bar.color(QPalette::Active, QPalette::HighlightedText));
        caption_->setPalette(bar);
        QFont bold = caption_->font();
        bold.setBold(true);
        caption_->setFont(bold);
    }
    caption_->hide();
    setHorizontalHeader(header_);
    setModel(table_);
    setItemDelegate(buttons_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The arrow keys move within the grid; Tab and Shift+Tab go on to the form's next control.
    setTabKeyNavigation(false);
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
        FitColumns();
        ShowSortIndicator();
    });
    connect(table_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { GrowColumns(first, last); });
    connect(table_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& top_left, const QModelIndex& bottom_right) {
                GrowColumns(top_left.row(), bottom_right.row());
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
    QTableView::showEvent(event);
}

void GridWidget::updateGeometries() {
    QTableView::updateGeometries();
    if (placing_caption_ || caption_->isHidden()) return;
    // The table puts its header right above the cells; the caption bar goes above the header.
    placing_caption_ = true;
    const int bar = caption_->sizeHint().height();
    const int header = header_->isHidden() ? 0 : header_->height();
    const int left = verticalHeader()->isHidden() ? 0 : verticalHeader()->width();
    // Setting the margins resizes the cells' area, which lays the table out again with its own
    // margins: set them until they stay.
    for (int i = 0; i < 4 && viewportMargins().top() != header + bar; ++i)
        setViewportMargins(left, header + bar, 0, 0);
    const QRect cells = viewport()->geometry();
    header_->setGeometry(cells.left(), cells.top() - header, cells.width(), header);
    caption_->setGeometry(cells.left(), cells.top() - header - bar, cells.width(), bar);
    placing_caption_ = false;
}

void GridWidget::ApplyColumns() {
    const GridModel& g = grid();
    for (int i = 0; i < g.ColumnCount(); ++i) setColumnHidden(i, g.Column(i).hidden);
    header_->SetTwoLevels(g.HasGroups());
    setToolTip(ToQ(g.tooltip()));
    caption_->setText(ToQ(g.tooltip()));
    caption_->setVisible(!g.tooltip().empty());
    FitColumns();
    updateGeometries();
}

int GridWidget::CellPadding(int column) const {
    // The item's text margins on both sides and the grid line.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    int padding = 2 * margin + (showGrid() ? 1 : 0) + 2;
    if (grid().Column(column).button) {
        // The button's frame inside the cell, its margins, and the cell's own inset.
        padding += 2 * style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, this) +
                   2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) + 2;
    }
    return padding;
}

int GridWidget::TextRoom(int column) const {
    return columnWidth(column) - CellPadding(column);
}

void GridWidget::FitColumns() {
    const GridModel& g = grid();
    text_widths_.assign(static_cast<size_t>(g.ColumnCount()), 0);
    const int rows = std::min(g.RowCount(), table_->rowCount());
    if (rows > 0) {
        GrowColumns(0, rows - 1);
        return;
    }
    for (int c = 0; c < g.ColumnCount(); ++c) {
        const GridColumn& column = g.Column(c);
        setColumnWidth(c, std::max({header_->CaptionWidth(ToQ(column.caption)), CellPadding(c),
                                    TwipsX(this, column.width_twips)}));
    }
    FitGroups();
}

void GridWidget::GrowColumns(int first_row, int last_row) {
    const GridModel& g = grid();
    if (static_cast<int>(text_widths_.size()) != g.ColumnCount())
        text_widths_.assign(static_cast<size_t>(g.ColumnCount()), 0);
    last_row = std::min(last_row, g.RowCount() - 1);
    const TextWidths widths(font());
    for (int c = 0; c < g.ColumnCount(); ++c) {
        if (isColumnHidden(c)) continue;
        const GridColumn& column = g.Column(c);
        int& widest = text_widths_[static_cast<size_t>(c)];
        if (first_row <= last_row)
            widest = std::max(widest, widths.Widest(g, c, first_row, last_row));
        const int width = std::max({header_->CaptionWidth(ToQ(column.caption)),
                                    widest + CellPadding(c), TwipsX(this, column.width_twips)});
        if (width != columnWidth(c)) setColumnWidth(c, width);
    }
    FitGroups();
}

QSize GridWidget::sizeHint() const {
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    if (!verticalHeader()->isHidden()) width += verticalHeader()->width();
    for (int c = 0; c < model()->columnCount(); ++c) {
        if (!isColumnHidden(c)) width += columnWidth(c);
    }
    return {width, QTableView::sizeHint().height()};
}

void GridWidget::FitGroups() {
    updateGeometry();  // the columns' widths make the grid's wanted width
    const GridModel& g = grid();
    if (!g.HasGroups()) return;
    for (int start = 0; start < g.ColumnCount(); ++start) {
        if (g.Column(start).group.empty()) continue;
        int end = start + 1;
        while (end < g.ColumnCount() && g.Column(end).group.empty()) ++end;
        int span = 0;
        int last_shown = -1;
        for (int c = start; c < end; ++c) {
            if (isColumnHidden(c)) continue;
            span += columnWidth(c);
            last_shown = c;
        }
        const int needed = header_->GroupCaptionWidth(ToQ(g.Column(start).group));
        if (last_shown >= 0 && span < needed)
            setColumnWidth(last_shown, columnWidth(last_shown) + needed - span);
    }
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
