#include "shell/qt/form_placement.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <algorithm>

#include "shell/qt/icons.h"
#include "shell/qt/text.h"

namespace dv::qt {
namespace {

void SetStyle(QLabel& label, LayoutItem::Style style) {
    switch (style) {
        case LayoutItem::Style::kPlain:
            break;
        case LayoutItem::Style::kTitle:
            label.setFont(Bold(label.font(), 1.5));
            break;
        case LayoutItem::Style::kHeading:
        case LayoutItem::Style::kTotal:
            label.setFont(Bold(label.font()));
            break;
    }
}

constexpr int kPictureSize = 40;
constexpr int kRowSpacing = 18;
constexpr int kTotalsSpacing = 24;

}  // namespace

QFont Bold(QFont font, double scale) {
    font.setBold(true);
    if (scale != 1.0 && font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * scale);
    return font;
}

void FormPlacement::Place(QWidget& owner, QBoxLayout& layout, const FormLayout& description,
                          const FormWidgets& widgets) {
    for (const LayoutRow& items : description.rows) {
        auto* row = new QHBoxLayout;
        // Totals side by side stand further apart, so that each reads as its own.
        const auto totals = std::count_if(items.begin(), items.end(), [](const LayoutItem& item) {
            return item.style == LayoutItem::Style::kTotal;
        });
        row->setSpacing(totals > 1 ? kTotalsSpacing : kRowSpacing);
        bool tall = false;
        bool wide = false;  // a grid, a frame or a stretch takes the row's width
        for (const LayoutItem& item : items) {
            switch (item.kind) {
                case LayoutItem::Kind::kLabel:
                    if (QLabel* label = widgets.label(item.name)) {
                        SetStyle(*label, item.style);
                        row->addWidget(label, 0, Qt::AlignVCenter);  // level with a list beside it
                    }
                    break;
                case LayoutItem::Kind::kChoice:
                    if (QWidget* choice = widgets.choice(item.name)) row->addWidget(choice);
                    break;
                case LayoutItem::Kind::kControl:
                    if (QWidget* control = widgets.control ? widgets.control(item.name) : nullptr)
                        row->addWidget(control, 0, Qt::AlignVCenter);
                    break;
                case LayoutItem::Kind::kPicture: {
                    auto* picture = new QLabel(&owner);
                    picture->setObjectName(ToQ(item.name));
                    picture->setPixmap(LogoPixmap(kPictureSize));
                    row->addWidget(picture);
                    break;
                }
                case LayoutItem::Kind::kStretch:
                    row->addStretch();
                    wide = true;
                    break;
                case LayoutItem::Kind::kGrid:
                    if (QWidget* grid = widgets.grid(item.name)) {
                        row->addWidget(grid, 1);
                        tall = wide = true;
                    }
                    break;
                case LayoutItem::Kind::kGroup: {
                    auto* box = new QGroupBox(&owner);
                    box->setObjectName(ToQ(item.name));
                    // The title label's text is the frame's caption; the label itself stands
                    // nowhere.
                    if (QLabel* title = widgets.label(item.name)) title->hide();
                    auto* cells = new QGridLayout(box);
                    cells->setHorizontalSpacing(16);
                    int at = 0;
                    for (const std::string& name : item.labels) {
                        QLabel* label = widgets.label(name);
                        if (label == nullptr) continue;
                        label->setParent(box);
                        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                        cells->addWidget(label, at / item.columns, at % item.columns);
                        ++at;
                    }
                    cells->setColumnStretch(item.columns - 1, 1);
                    cells->setRowStretch((at + item.columns - 1) / item.columns, 1);
                    row->addWidget(box, 1);
                    groups_.emplace_back(item.name, box);
                    wide = true;
                    break;
                }
            }
        }
        if (!wide) row->addStretch();
        layout.addLayout(row, tall ? 1 : 0);
    }
}

QGroupBox* FormPlacement::group(std::string_view title) const {
    for (const auto& [name, box] : groups_) {
        if (name == title) return box;
    }
    return nullptr;
}

bool FormPlacement::ShowTitle(const FormLabel& model) const {
    QGroupBox* box = group(model.name);
    if (box == nullptr) return false;
    box->setTitle(ToQ(model.caption));
    box->setVisible(model.visible);
    return true;
}

}  // namespace dv::qt
