// The detail forms: the modal forms a view opens from a grid row's button (the order detail,
// the pick-ticket detail, the floor-plan units and their extents, the shop-job detail...).
//
// The view's button handler builds a fresh DetailForm for every click (so each opening starts
// empty), fills its caption, labels and grids, and hands it to the shell with
// Details().Show(form), which moves every grid to its first row, shows the form modally and
// returns when the user has closed it. The form is the view's own object; after Show returns
// the handler may drop it.
//
//     void FloorPlanView::ButtonClick(std::string_view grid, int row) {
//         DetailForm form("frmFpdtl", "Floor Plan Detail");
//         form.AddLabel("Label1", "Line : " + line);
//         GridModel& units = form.AddGrid("grdFpdtl");
//         ...
//         form.SetButtonHandler([](DetailForm& self, std::string_view, int r, DetailHost& host) {
//             DetailForm extents("frmFpx", "Extents");   // a detail of the detail
//             ...
//             host.Show(extents);
//         });
//         Details().Show(form);
//     }
//
// The desktop program shows a DetailForm in one generic modal dialog (its labels, its choice
// lists and its grids in the shared grid widget) and routes the buttons of its grids and the
// changes of its lists back to the form's handlers. Tests install a CapturingDetailHost;
// dashvane-dump --details prints every detail the views' buttons open.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/form_layout.h"
#include "shell/grid_model.h"
#include "shell/grid_sort.h"
#include "shell/view.h"

namespace dv {

class DetailHost;

// A drop-down list of a detail form (the shop-job detail's request selector): its items, the
// text shown, and whether it is visible.
struct DetailChoice {
    std::string name;  // the control name ("cmbRequest")
    std::vector<std::string> items;
    std::string text;
    bool visible = true;
};

class DetailForm {
  public:
    // A click on a button cell of one of the form's grids (row as the grid holds it now).
    using ButtonHandler =
        std::function<void(DetailForm& form, std::string_view grid, int row, DetailHost& host)>;
    // The user chose item index of the list choice; the handler refills the form.
    using ChoiceHandler = std::function<void(DetailForm& form, std::string_view choice, int index)>;

    DetailForm(std::string form_name, std::string caption);
    DetailForm(const DetailForm&) = delete;
    DetailForm& operator=(const DetailForm&) = delete;

    // The form's name ("frmPTSDetail") and its window caption.
    const std::string& form_name() const { return form_name_; }
    const std::string& caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }

    // Labels by control name, in creation order. Adding returns the label's index.
    int AddLabel(std::string name, std::string caption = {});
    const std::vector<FormLabel>& labels() const { return labels_; }
    // The index of a named label, -1 when absent.
    int LabelIndex(std::string_view name) const;
    // A named label; error 9 when the form has none of that name.
    FormLabel& Label(std::string_view name);
    const FormLabel& Label(std::string_view name) const;
    void SetLabel(std::string_view name, std::string caption) {
        Label(name).caption = std::move(caption);
    }
    // The desktop dialog lays the labels out in rows of this many, in creation order (a caption
    // and its value side by side with 2).
    int label_columns() const { return label_columns_; }
    void SetLabelColumns(int columns) { label_columns_ = columns < 1 ? 1 : columns; }
    // Where the dialog places the controls instead (form_layout.h); empty for the rows above.
    const FormLayout& layout() const { return layout_; }
    void SetLayout(FormLayout layout) { layout_ = std::move(layout); }

    // Grids by name, in creation order.
    GridModel& AddGrid(std::string name);
    const std::vector<std::unique_ptr<GridModel>>& grids() const { return grids_; }
    GridModel* FindGrid(std::string_view name) const;

    // Choice lists, in creation order.
    DetailChoice& AddChoice(std::string name);
    std::vector<DetailChoice>& choices() { return choices_; }
    const std::vector<DetailChoice>& choices() const { return choices_; }
    DetailChoice* FindChoice(std::string_view name);

    // The steps that failed while the form was filled, for a builder that skips a failed step
    // and goes on ("error # :  81  Illegal Record Number ..."). Not shown on the form;
    // dashvane-dump --details prints them.
    void AddError(std::string text) { errors_.push_back(std::move(text)); }
    const std::vector<std::string>& errors() const { return errors_; }

    // The buttons of the form's grids: a form without a handler opens nothing from them.
    void SetButtonHandler(ButtonHandler handler) { on_button_ = std::move(handler); }
    bool has_button_handler() const { return static_cast<bool>(on_button_); }
    void ButtonClick(std::string_view grid, int row, DetailHost& host);

    // The header clicks of a grid sort it as its columns declare (GridColumn::sort); a grid
    // none of whose columns sorts ignores them.
    bool sorts_on_header(std::string_view grid) const;
    // The user clicked header column of grid: the common header-click sort
    // (HeaderClickSort), kUnchanged for a grid that does not sort.
    SortResult HeaderClick(std::string_view grid, int column);

    void SetChoiceHandler(ChoiceHandler handler) { on_choice_ = std::move(handler); }
    // Sets the list's text to the item and runs the handler.
    void ChoiceClick(std::string_view choice, int index);

  private:
    std::string form_name_;
    std::string caption_;
    std::vector<FormLabel> labels_;
    int label_columns_ = 2;
    FormLayout layout_;
    std::vector<std::unique_ptr<GridModel>> grids_;
    std::vector<DetailChoice> choices_;
    std::vector<std::string> errors_;
    ButtonHandler on_button_;
    ChoiceHandler on_choice_;
};

// What the shell offers a detail handler: showing a form modally and a short message box.
class DetailHost {
  public:
    virtual ~DetailHost() = default;
    // Moves every grid of the form to its first row and shows it modally; returns when closed.
    void Show(DetailForm& form);
    // A message box with the application's title and an OK button; returns when dismissed.
    virtual void Message(const std::string& text) = 0;

  protected:
    // Shows the form, its grids already at their first row.
    virtual void Present(DetailForm& form) = 0;
};

// Shows nothing: a view that has no host (the headless load, a test that does not look).
class NoDetailHost : public DetailHost {
  public:
    void Message(const std::string&) override {}

  protected:
    void Present(DetailForm&) override {}
};

// A detail as it was shown, with its texts.
struct DetailSnapshot {
    struct Grid {
        std::string name;
        std::vector<std::string> columns;            // column names, hidden ones included
        std::vector<std::vector<std::string>> rows;  // cell texts
        int current_row = -1;
    };
    std::string form_name;
    std::string caption;
    std::vector<FormLabel> labels;
    std::vector<Grid> grids;
    std::vector<DetailChoice> choices;
    std::vector<std::string> errors;

    static DetailSnapshot Of(const DetailForm& form);
    // A label's caption by name; error 9 when absent.
    const std::string& LabelText(std::string_view name) const;
    const Grid* FindGrid(std::string_view name) const;
};

// Records every form shown, in the order they opened, and every message, for tests. While a
// form is shown, on_show runs with it (to click its buttons or change its lists as a user
// would); the form is recorded as on_show left it.
class CapturingDetailHost : public DetailHost {
  public:
    void Message(const std::string& text) override { messages.push_back(text); }

    std::vector<DetailSnapshot> shown;
    std::vector<std::string> messages;
    std::function<void(DetailForm& form, DetailHost& host)> on_show;

  protected:
    void Present(DetailForm& form) override;
};

}  // namespace dv
