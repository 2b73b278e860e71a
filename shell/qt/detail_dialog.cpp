#include "shell/qt/detail_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/messages.h"
#include "shell/qt/dialogs.h"
#include "shell/qt/form_placement.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/text.h"

namespace dv::qt {
namespace {

// A label's text as the form shows it: each line without its trailing blanks (fixed-width
// fields keep them in the model).
QString LabelText(const std::string& caption) {
    QStringList lines = ToQ(caption).split('\n');
    for (QString& line : lines) {
        while (line.endsWith(' ')) line.chop(1);
    }
    while (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();
    return lines.join('\n');
}

}  // namespace

DetailDialog::DetailDialog(DetailForm& form, DetailHost& host, EventDoors& doors, QWidget* parent)
    : QDialog(parent), form_(form), host_(host), doors_(doors) {
    setObjectName(ToQ(form.form_name()));
    setWindowTitle(ToQ(form.caption()));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    const FormLayout& description = form_.layout();
    const bool described = !description.empty();

    if (described) {
        for (const FormLabel& model : form_.labels()) {
            QLabel* label = nullptr;
            if (description.Places(model.name)) {
                label = new QLabel(this);
                label->setObjectName(ToQ(model.name));
                label->setTextInteractionFlags(Qt::TextSelectableByMouse);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            }
            labels_.push_back(label);  // null: a label the description leaves out
        }
    } else if (!form_.labels().empty()) {
        auto* labels = new QGridLayout;
        labels->setHorizontalSpacing(16);
        const int columns = form_.label_columns();
        for (size_t i = 0; i < form_.labels().size(); ++i) {
            auto* label = new QLabel(this);
            label->setObjectName(ToQ(form_.labels()[i].name));
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            const int at = static_cast<int>(i);
            labels->addWidget(label, at / columns, at % columns);
            labels_.push_back(label);
        }
        labels->setColumnStretch(columns - 1, 1);
        layout->addLayout(labels);
    }

    if (!form_.choices().empty()) {
        auto* lists = described ? nullptr : new QHBoxLayout;  // described: placed below
        for (const DetailChoice& choice : form_.choices()) {
            auto* box = new QComboBox(this);
            box->setObjectName(ToQ(choice.name));
            const std::string name = choice.name;
            connect(box, &QComboBox::activated, this, [this, name](int index) {
                if (showing_) return;
                doors_.DetailChoiceClick(form_, name, index);
                ShowModels();
            });
            if (lists != nullptr) lists->addWidget(box);
            choices_.push_back(box);
        }
        if (lists != nullptr) {
            lists->addStretch();
            layout->addLayout(lists);
        }
    }

    for (const auto& model : form_.grids()) {
        auto* widget = new GridWidget(*model, this);
        const std::string name = model->name();
        connect(widget, &GridWidget::buttonClicked, this, [this, name](int row) {
            doors_.DetailButtonClick(form_, name, row, host_);
            ShowModels();
        });
        connect(widget, &GridWidget::headerClicked, this,
                [this, name](int column) { doors_.DetailHeaderClick(form_, name, column); });
        if (!described) layout->addWidget(widget, 1);
        grids_.push_back(widget);
    }
    if (described) {
        FormWidgets widgets;
        widgets.label = [this](std::string_view name) { return label(name); };
        widgets.grid = [this](std::string_view name) -> QWidget* { return grid(name); };
        widgets.choice = [this](std::string_view name) -> QWidget* { return choice(name); };
        placement_.Place(*this, *layout, description, widgets);
        for (GridWidget* widget : grids_) {
            if (!description.Places(widget->grid().name())) layout->addWidget(widget, 1);
        }
    }
    if (grids_.empty()) layout->addStretch();
    ShowModels();
    // The arrow keys first move in the lines, not in a list above them.
    if (!grids_.empty()) grids_.front()->setFocus();
    const QScreen* shown = screen();
    resize(OpeningSize(shown != nullptr ? shown->availableGeometry() : QRect()));
}

QSize DetailDialog::OpeningSize(const QRect& available) const {
    QSize size(820, grids_.empty() ? 320 : 540);
    // Wide enough for every column of its grids beside the others; a described form also tall
    // enough for its groups, its grid taking the height left.
    const QSize wanted = sizeHint();
    size.setWidth(std::max(size.width(), wanted.width()));
    if (!form_.layout().empty()) size.setHeight(std::max(size.height(), wanted.height() + 120));
    if (!available.isEmpty()) size = size.boundedTo(available.size()).expandedTo(minimumSizeHint());
    return size;
}

void DetailDialog::ShowModels() {
    setWindowTitle(ToQ(form_.caption()));
    for (size_t i = 0; i < labels_.size() && i < form_.labels().size(); ++i) {
        const FormLabel& model = form_.labels()[i];
        if (placement_.ShowTitle(model) || labels_[i] == nullptr) continue;
        labels_[i]->setText(LabelText(model.caption));
        labels_[i]->setStyleSheet(model.red ? "color: rgb(255, 0, 0);" : QString());
        labels_[i]->setVisible(model.visible);
    }
    showing_ = true;
    for (size_t i = 0; i < choices_.size() && i < form_.choices().size(); ++i) {
        const DetailChoice& model = form_.choices()[i];
        QComboBox* box = choices_[i];
        box->clear();
        for (const std::string& item : model.items) box->addItem(ToQ(item));
        box->setCurrentIndex(box->findText(ToQ(model.text)));
        box->setVisible(model.visible);
    }
    showing_ = false;
}

QLabel* DetailDialog::label(std::string_view name) const {
    const int i = form_.LabelIndex(name);
    return i < 0 || i >= static_cast<int>(labels_.size()) ? nullptr
                                                          : labels_[static_cast<size_t>(i)];
}

GridWidget* DetailDialog::grid(std::string_view name) const {
    for (GridWidget* g : grids_) {
        if (g->grid().name() == name) return g;
    }
    return nullptr;
}

QComboBox* DetailDialog::choice(std::string_view name) const {
    for (QComboBox* box : choices_) {
        if (box->objectName() == ToQ(name)) return box;
    }
    return nullptr;
}

void QtDetailHost::Message(const std::string& text) {
    dialogs_.Message(parent_, ToQ(platform::kApplicationTitle), ToQ(text), DialogIcon::kNone);
}

void QtDetailHost::Present(DetailForm& form) {
    DetailDialog dialog(form, *this, doors_, parent_);
    if (!open_.empty()) {
        // A detail opened from a detail stands down and to the right of it, so that both can be
        // seen, and inside the screen: where the room left there is too small, it opens smaller.
        const QWidget& opener = *open_.back();
        const int step = 2 * opener.fontMetrics().height();
        QPoint at = opener.pos() + QPoint(step, step);
        if (const QScreen* shown = opener.screen()) {
            const QRect room = shown->availableGeometry();
            const QSize least = dialog.minimumSizeHint();
            at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - least.width())));
            at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - least.height())));
            dialog.resize(
                dialog.size()
                    .boundedTo(QSize(room.right() + 1 - at.x(), room.bottom() + 1 - at.y()))
                    .expandedTo(least));
        }
        dialog.move(at);
    }
    open_.push_back(&dialog);
    struct Closed {
        std::vector<QWidget*>& open;
        ~Closed() { open.pop_back(); }
    } closed{open_};
    dialogs_.RunModal(dialog);
}

}  // namespace dv::qt
