#include "shell/detail_form.h"

#include "engine/error.h"

namespace dv {

DetailForm::DetailForm(std::string form_name, std::string caption)
    : form_name_(std::move(form_name)), caption_(std::move(caption)) {}

int DetailForm::AddLabel(std::string name, std::string caption) {
    labels_.push_back(FormLabel{std::move(name), std::move(caption), false, true});
    return static_cast<int>(labels_.size()) - 1;
}

int DetailForm::LabelIndex(std::string_view name) const {
    for (size_t i = 0; i < labels_.size(); ++i) {
        if (labels_[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

FormLabel& DetailForm::Label(std::string_view name) {
    const int i = LabelIndex(name);
    if (i < 0) RaisePlatform(err::kSubscript, form_name_);
    return labels_[static_cast<size_t>(i)];
}

const FormLabel& DetailForm::Label(std::string_view name) const {
    return const_cast<DetailForm*>(this)->Label(name);
}

GridModel& DetailForm::AddGrid(std::string name) {
    grids_.push_back(std::make_unique<GridModel>(std::move(name)));
    return *grids_.back();
}

GridModel* DetailForm::FindGrid(std::string_view name) const {
    for (const auto& g : grids_) {
        if (g->name() == name) return g.get();
    }
    return nullptr;
}

DetailChoice& DetailForm::AddChoice(std::string name) {
    choices_.push_back(DetailChoice{std::move(name), {}, {}, true});
    return choices_.back();
}

DetailChoice* DetailForm::FindChoice(std::string_view name) {
    for (DetailChoice& c : choices_) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

void DetailForm::ButtonClick(std::string_view grid, int row, DetailHost& host) {
    if (on_button_) on_button_(*this, grid, row, host);
}

bool DetailForm::sorts_on_header(std::string_view grid) const {
    const GridModel* model = FindGrid(grid);
    return model != nullptr && SortsOnHeader(*model);
}

SortResult DetailForm::HeaderClick(std::string_view grid, int column) {
    GridModel* model = FindGrid(grid);
    if (model == nullptr) return SortResult::kNoColumn;
    if (!SortsOnHeader(*model)) return SortResult::kUnchanged;
    return HeaderClickSort(*model, column);
}

void DetailForm::ChoiceClick(std::string_view choice, int index) {
    DetailChoice* list = FindChoice(choice);
    if (list == nullptr) RaisePlatform(err::kSubscript, form_name_);
    if (index >= 0 && index < static_cast<int>(list->items.size()))
        list->text = list->items[static_cast<size_t>(index)];
    if (on_choice_) on_choice_(*this, choice, index);
}

void DetailHost::Show(DetailForm& form) {
    for (const auto& grid : form.grids()) grid->MoveFirst();
    Present(form);
}

DetailSnapshot DetailSnapshot::Of(const DetailForm& form) {
    DetailSnapshot s;
    s.form_name = form.form_name();
    s.caption = form.caption();
    s.labels = form.labels();
    s.choices = form.choices();
    s.errors = form.errors();
    for (const auto& grid : form.grids()) {
        Grid g;
        g.name = grid->name();
        for (int c = 0; c < grid->ColumnCount(); ++c) g.columns.push_back(grid->Column(c).name);
        for (int r = 0; r < grid->RowCount(); ++r) {
            std::vector<std::string> row;
            for (int c = 0; c < grid->ColumnCount(); ++c) row.push_back(grid->CellText(r, c));
            g.rows.push_back(std::move(row));
        }
        g.current_row = grid->CurrentRow();
        s.grids.push_back(std::move(g));
    }
    return s;
}

const std::string& DetailSnapshot::LabelText(std::string_view name) const {
    for (const FormLabel& l : labels) {
        if (l.name == name) return l.caption;
    }
    RaisePlatform(err::kSubscript, form_name);
}

const DetailSnapshot::Grid* DetailSnapshot::FindGrid(std::string_view name) const {
    for (const Grid& g : grids) {
        if (g.name == name) return &g;
    }
    return nullptr;
}

void CapturingDetailHost::Present(DetailForm& form) {
    // In the order the forms opened; recorded again as the user leaves it, after on_show.
    const size_t at = shown.size();
    shown.push_back(DetailSnapshot::Of(form));
    if (on_show) {
        on_show(form, *this);
        shown[at] = DetailSnapshot::Of(form);
    }
}

}  // namespace dv
