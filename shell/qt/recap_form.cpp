#include "shell/qt/recap_form.h"

#include <QFrame>
#include <QGridLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "shell/qt/text.h"

namespace dv::qt {

namespace {

// "Sales && Profit" shows a single ampersand, as a label caption does.
QString Caption(std::string_view text) {
    QString q = ToQ(text);
    q.replace("&&", "&");
    return q;
}

QLabel* Heading(std::string_view text, QWidget* parent) {
    auto* label = new QLabel(Caption(text), parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    label->setFont(font);
    label->setStyleSheet("color: rgb(0, 0, 128);");
    return label;
}

QFrame* Block(QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

}  // namespace

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

RecapForm::RecapForm(RecapBoard& board, std::function<void(int)> on_click, QWidget* parent)
    : QWidget(parent), board_(board), on_click_(std::move(on_click)), compile_(new QLabel(this)) {
    setObjectName(ToQ(board.form_name()));
    setAutoFillBackground(true);

    for (int i = 0; i < kRecapLabelCount; ++i) {
        auto* label = new ClickableLabel(this);
        label->setObjectName(QString("lblRecap(%1)").arg(i));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAutoFillBackground(true);
        label->setCursor(Qt::PointingHandCursor);
        connect(label, &ClickableLabel::clicked, this, [this, i] {
            if (on_click_) on_click_(i);
        });
        figures_[static_cast<size_t>(i)] = label;
    }
    compile_->setObjectName("lblcompiledate");

    auto* title = new QLabel(ToQ(kRecapCaption), this);
    QFont title_font = title->font();
    title_font.setBold(true);
    title_font.setPointSizeF(title_font.pointSizeF() * 1.6);
    title->setFont(title_font);

    QFrame* assets = Block(this);
    auto* assets_grid = new QGridLayout(assets);
    assets_grid->addWidget(Heading(kAssetsHeading, assets), 0, 0, 1, 2);
    QFrame* liabilities = Block(this);
    auto* liabilities_grid = new QGridLayout(liabilities);
    liabilities_grid->addWidget(Heading(kLiabilitiesHeading, liabilities), 0, 0, 1, 2);
    QFrame* profit = Block(this);
    auto* profit_grid = new QGridLayout(profit);
    profit_grid->addWidget(Heading(kSalesProfitHeading, profit), 0, 0, 1, 4);
    const char* const kProfitColumns[] = {"Sales", "Cost", "GPR"};
    for (int c = 0; c < 3; ++c) {
        auto* head = new QLabel(kProfitColumns[c], profit);
        head->setAlignment(Qt::AlignCenter);
        QFont f = head->font();
        f.setBold(true);
        head->setFont(f);
        profit_grid->addWidget(head, 1, c + 1);
    }

    for (const RecapPlace& place : kRecapLayout) {
        ClickableLabel* value = figures_[static_cast<size_t>(place.index)];
        switch (place.block) {
            case RecapBlock::kAssets:
                value->setParent(assets);
                assets_grid->addWidget(new QLabel(Caption(place.caption), assets), place.place, 0);
                assets_grid->addWidget(value, place.place, 1);
                break;
            case RecapBlock::kLiabilities:
                value->setParent(liabilities);
                liabilities_grid->addWidget(new QLabel(Caption(place.caption), liabilities),
                                            place.place, 0);
                liabilities_grid->addWidget(value, place.place, 1);
                break;
            case RecapBlock::kSalesAndProfit: {
                const int row = (place.place - 1) / 3 + 2;
                const int column = (place.place - 1) % 3 + 1;
                value->setParent(profit);
                if (column == 1)
                    profit_grid->addWidget(new QLabel(Caption(place.caption), profit), row, 0);
                profit_grid->addWidget(value, row, column);
                break;
            }
        }
    }
    liabilities_grid->setColumnStretch(0, 1);
    assets_grid->setColumnStretch(0, 1);
    // The figures' columns are at least as wide as the design's labels, and as wide as their
    // widest figure needs: a minimum width on a label itself would hold it narrower than its
    // text, cutting a long figure's "$" and its leading digits.
    assets_grid->setColumnMinimumWidth(1, 120);
    liabilities_grid->setColumnMinimumWidth(1, 120);
    for (int c = 1; c <= 3; ++c) profit_grid->setColumnMinimumWidth(c, 100);

    auto* heading_row = new QHBoxLayout;
    heading_row->addWidget(title);
    heading_row->addSpacing(24);
    heading_row->addWidget(compile_);
    heading_row->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(liabilities);
    right->addSpacing(12);
    right->addWidget(profit);
    right->addStretch();

    auto* blocks = new QHBoxLayout;
    blocks->addWidget(assets, 1);
    blocks->addSpacing(12);
    blocks->addLayout(right, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading_row);
    layout->addSpacing(8);
    layout->addLayout(blocks);
    layout->addStretch(1);

    for (int i = 0; i < board_.LabelCount(); ++i) Show(i);
    board_.SetListener(this);
}

RecapForm::~RecapForm() {
    board_.SetListener(nullptr);
}

void RecapForm::OnLabelChanged(const View&, int label) {
    Show(label);
}

void RecapForm::Show(int label) {
    const FormLabel& model = board_.Label(label);
    if (label == RecapBoard::kCompileLabel) {
        compile_->setText(ToQ(model.caption));
        compile_->repaint();
        return;
    }
    if (label < 0 || label >= kRecapLabelCount) return;
    ClickableLabel* figure = figures_[static_cast<size_t>(label)];
    figure->setText(ToQ(model.caption));
    QPalette palette = figure->palette();
    palette.setColor(QPalette::WindowText, model.red ? QColor(255, 0, 0) : QColor(0, 0, 0));
    palette.setColor(QPalette::Window, QColor(255, 255, 255));
    figure->setPalette(palette);
    figure->setVisible(model.visible);
}

}  // namespace dv::qt
