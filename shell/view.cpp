#include "shell/view.h"

#include "engine/error.h"
#include "engine/fill_cache.h"
#include "engine/index.h"
#include "shell/detail_form.h"
#include "shell/grid_sort.h"
#include "shell/operation_log.h"
#include "shell/options.h"
#include "shell/recap_board.h"

namespace dv {

View::View(std::string form_name, std::string caption)
    : form_name_(std::move(form_name)), caption_(std::move(caption)) {}

View::~View() = default;

void View::RunLoad(ViewContext& context) {
    if (loaded_) return;
    loaded_ = true;
    const platform::FileCalls before = platform::FileCallCounts();
    struct CountAtEnd {
        View& view;
        const platform::FileCalls& before;
        ~CountAtEnd() { view.load_calls_ = platform::FileCallCounts() - before; }
    } count_at_end{*this, before};
    const FillCache cache;
    Load(context);
}

void View::HeaderClick(std::string_view grid, int column) {
    GridModel* model = FindGrid(grid);
    if (model != nullptr && SortsOnHeader(*model)) HeaderClickSort(*model, column);
}
void View::ButtonClick(std::string_view, int) {}
void View::CommandClick(std::string_view) {}

bool ViewContext::GetOption(int32_t position) {
    return dv::GetOption(position);
}

DetailHost& View::Details() const {
    static NoDetailHost none;
    return detail_host_ != nullptr ? *detail_host_ : none;
}

int View::AddCommand(std::string name, std::string caption) {
    commands_.push_back(FormCommand{std::move(name), std::move(caption), true});
    return static_cast<int>(commands_.size()) - 1;
}

GridModel* View::FindGrid(std::string_view name) const {
    for (const auto& g : grids_) {
        if (g->name() == name) return g.get();
    }
    return nullptr;
}

const FormLabel& View::Label(int index) const {
    if (index < 0 || index >= LabelCount()) RaisePlatform(err::kSubscript, form_name_);
    return labels_[static_cast<size_t>(index)];
}

int View::LabelIndex(std::string_view name) const {
    for (size_t i = 0; i < labels_.size(); ++i) {
        if (labels_[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

void View::SetLabelCaption(std::string_view name, std::string caption) {
    const int i = LabelIndex(name);
    if (i < 0) RaisePlatform(err::kSubscript, form_name_);
    SetLabelCaption(i, std::move(caption));
}

void View::SetLabelCaption(int index, std::string caption) {
    if (index < 0 || index >= LabelCount()) RaisePlatform(err::kSubscript, form_name_);
    labels_[static_cast<size_t>(index)].caption = std::move(caption);
    if (listener_) listener_->OnLabelChanged(*this, index);
}

void View::SetLabelRed(int index, bool red) {
    if (index < 0 || index >= LabelCount()) RaisePlatform(err::kSubscript, form_name_);
    labels_[static_cast<size_t>(index)].red = red;
    if (listener_) listener_->OnLabelChanged(*this, index);
}

void View::SetLabelVisible(int index, bool visible) {
    if (index < 0 || index >= LabelCount()) RaisePlatform(err::kSubscript, form_name_);
    labels_[static_cast<size_t>(index)].visible = visible;
    if (listener_) listener_->OnLabelChanged(*this, index);
}

void View::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (listener_) listener_->OnBusyChanged(*this, busy);
}

GridModel& View::AddGrid(std::string name) {
    grids_.push_back(std::make_unique<GridModel>(std::move(name)));
    return *grids_.back();
}

int View::AddLabel(std::string name, std::string caption) {
    labels_.push_back(FormLabel{std::move(name), std::move(caption), false, true});
    return LabelCount() - 1;
}

std::string FillErrorLine(std::string_view form, std::string_view routine, int32_t number,
                          std::string_view description) {
    std::string line = "*Error in ";
    line += form;
    line += ' ';
    line += routine;
    line += " routine error # :  ";
    line += std::to_string(number);
    line += "  ";
    line += EscapeLogText(description);
    return line;
}

void ErrorParts(const std::exception& e, int32_t& number, std::string& description) {
    if (const auto* b = dynamic_cast<const BasicError*>(&e)) {
        number = b->number();
        description = EscapeLogText(b->description());
    } else {
        number = 51;  // the platform's "Internal error"
        description = EscapeLogText(e.what());
    }
}

std::string LogRoutineError(std::string_view form, std::string_view routine,
                            const std::exception& e) {
    int32_t number = 0;
    std::string description;
    ErrorParts(e, number, description);
    mLogLine = FillErrorLine(form, routine, number, description);
    WriteLog(mLogPath, mLogLine);
    return mLogLine;
}

std::string ShellErrorText(std::string_view routine_text, const std::exception& e) {
    int32_t number = 0;
    std::string description;
    ErrorParts(e, number, description);
    return std::string(routine_text) + "error # :" + std::to_string(number) + "\r\n" + description;
}

bool View::RunFill(ViewContext& context, std::string_view routine,
                   std::initializer_list<int> recap_labels, const std::function<void()>& fill) {
    return RunFill(context, form_name_, routine, recap_labels, fill);
}

bool View::RunFill(ViewContext& context, std::string_view log_form, std::string_view routine,
                   std::initializer_list<int> recap_labels, const std::function<void()>& fill) {
    try {
        const uint64_t range_messages = RangeMessagesShown();
        fill();
        // KFind's out-of-range message ends its search as if nothing were found; the figures
        // the fill made from that are not to be trusted.
        if (RangeMessagesShown() != range_messages)
            throw BasicError(err::kIndexNode, "KFind", LastRangeMessage());
        return true;
    } catch (const std::exception& e) {
        LogRoutineError(log_form, routine, e);
    }
    try {
        RecapBoard& recap = context.Recap();
        for (int i : recap_labels) recap.MarkError(i);
    } catch (const std::exception&) {
        // A label the board does not have: the log line above tells what failed.
    }
    return false;
}

}  // namespace dv
