// The contract between the shell and every view form.
//
// A view is a single instance owned by the main controller, created on first use and released
// on File > Refresh and at exit. Its load (the form's load event, run once per instance) writes
// its loading message into the splash's progress text, runs its fill routine, and writes its
// recap label or labels. The fill routine runs under RunFill, the one error handler every view
// shares: on an error it marks the view's recap labels red with "Data Error !", appends the
// line "*Error in <form> <routine> routine error # :  <number>  <description>" to the operation
// log, and leaves the rows added so far in the grids.
//
// A view holds its controls as models: grids (GridModel) and labels (FormLabel), each by its
// control name, in the order the view creates them. The desktop layer shows them; the headless
// run prints them.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_calls.h"
#include "shell/form_layout.h"
#include "shell/grid_model.h"

namespace dv {

class DetailHost;
class RecapBoard;
class SplashModel;
class View;

// What a view's load reaches of the shell.
class ViewContext {
  public:
    virtual ~ViewContext() = default;
    // The splash: writing its progress text loads it again (without showing it) when a key
    // press unloaded it.
    virtual SplashModel& Splash() = 0;
    // The current recap board; writing to it loads it when it is not loaded.
    virtual RecapBoard& Recap() = 0;
    // An option flag of the control file (GetOption of options.h). The default reads it through
    // the global engine object; the main controller answers through its engine hooks, which
    // tests replace.
    virtual bool GetOption(int32_t position);
};

// Changes of a view's labels the desktop layer listens to.
class ViewListener {
  public:
    virtual ~ViewListener() = default;
    virtual void OnLabelChanged(const View& /*view*/, int /*label*/) {}
    // The form's mouse pointer turns to the hourglass (busy) and back.
    virtual void OnBusyChanged(const View& /*view*/, bool /*busy*/) {}
};

// A label of a form: its caption, red fore colour when marked, and visibility.
struct FormLabel {
    std::string name;  // the control name, with the index of a control array: "lblinvtot(0)"
    std::string caption;
    bool red = false;
    bool visible = true;
};

// A command button of a form (the G/L views' "&Select Accounts"): its control name and caption.
struct FormCommand {
    std::string name;  // "cmdCashSetup"
    std::string caption;
    bool visible = true;
};

inline constexpr std::string_view kDataError = "Data Error !";

class View {
  public:
    View(std::string form_name, std::string caption);
    virtual ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // The form's name ("frmInv") and its window caption.
    const std::string& form_name() const { return form_name_; }
    const std::string& caption() const { return caption_; }

    // Runs the form's load event once per instance; later calls do nothing. The engine keeps
    // what the load reads until the load ends (engine/fill_cache.h), so that a file's bytes are
    // read once per load and never kept from one load to the next.
    void RunLoad(ViewContext& context);
    bool loaded() const { return loaded_; }
    // The file-system calls the load made, a load nested in it (the recap board's) included.
    const platform::FileCalls& load_calls() const { return load_calls_; }

    // Events of the form's grids. row is the row of the clicked button; column the clicked
    // header's position. A header click sorts the grid as its columns declare (HeaderClickSort
    // of grid_sort.h); a grid none of whose columns sorts ignores it. The button default does
    // nothing (a view without a button handler).
    virtual void HeaderClick(std::string_view grid, int column);
    virtual void ButtonClick(std::string_view grid, int row);
    // The click of one of the form's command buttons (commands()), by its control name.
    virtual void CommandClick(std::string_view button);

    // Where the view's button handlers show detail forms (detail_form.h). The main controller
    // gives every view it creates the program's host; without one, Details() shows nothing.
    void SetDetailHost(DetailHost* host) { detail_host_ = host; }
    DetailHost* detail_host() const { return detail_host_; }
    DetailHost& Details() const;

    // The grids and labels, in creation order.
    const std::vector<std::unique_ptr<GridModel>>& grids() const { return grids_; }
    GridModel* FindGrid(std::string_view name) const;
    int LabelCount() const { return static_cast<int>(labels_.size()); }
    const FormLabel& Label(int index) const;
    // The index of a named label, -1 when absent.
    int LabelIndex(std::string_view name) const;
    // The command buttons, in creation order; the generic desktop form shows each one and
    // routes its click to CommandClick.
    const std::vector<FormCommand>& commands() const { return commands_; }

    // Where the desktop form places the controls (form_layout.h); empty for the generic
    // arrangement.
    const FormLayout& layout() const { return layout_; }

    // Writes a label and tells the listener; a name the form has not raises error 9.
    void SetLabelCaption(std::string_view name, std::string caption);
    void SetLabelCaption(int index, std::string caption);
    void SetLabelRed(int index, bool red);
    void SetLabelVisible(int index, bool visible);

    void SetListener(ViewListener* listener) { listener_ = listener; }

    // The form's mouse pointer: the hourglass while a refill the user asked for runs.
    bool busy() const { return busy_; }
    void SetBusy(bool busy);

  protected:
    // The form's load event.
    virtual void Load(ViewContext& context) = 0;

    GridModel& AddGrid(std::string name);
    // Adds a label; returns its index.
    int AddLabel(std::string name, std::string caption = {});
    // Adds a command button; returns its index.
    int AddCommand(std::string name, std::string caption);
    void SetLayout(FormLayout layout) { layout_ = std::move(layout); }

    // Runs a fill routine under the views' shared error handler. routine is the routine's name
    // as the log line gives it ("GetLineData"); recap_labels the recap board labels to mark
    // (none for a view whose handler only logs). True when the fill ran to its end.
    bool RunFill(ViewContext& context, std::string_view routine,
                 std::initializer_list<int> recap_labels, const std::function<void()>& fill);
    // The same, for a routine whose log line names its form otherwise than form_name() does
    // ("frmPO" for frmPo, "frmWarranty.form" for both warranty forms).
    bool RunFill(ViewContext& context, std::string_view log_form, std::string_view routine,
                 std::initializer_list<int> recap_labels, const std::function<void()>& fill);

  private:
    std::string form_name_;
    std::string caption_;
    bool loaded_ = false;
    platform::FileCalls load_calls_;
    std::vector<std::unique_ptr<GridModel>> grids_;
    std::vector<FormLabel> labels_;
    std::vector<FormCommand> commands_;
    FormLayout layout_;
    ViewListener* listener_ = nullptr;
    DetailHost* detail_host_ = nullptr;
    bool busy_ = false;
};

// The log line of a failed fill: "*Error in frmInv GetLineData routine error # :  81  Illegal..."
// The description may quote the share (a file name, a key): its control characters are escaped
// (EscapeLogText), so that the entry stays one entry.
std::string FillErrorLine(std::string_view form, std::string_view routine, int32_t number,
                          std::string_view description);

// The number and description an error handler logs for an exception: a BasicError's own; for
// any other exception the platform's internal error 51 with the exception's text. Control
// characters in it are escaped (EscapeLogText): every handler's entry stays one entry.
void ErrorParts(const std::exception& e, int32_t& number, std::string& description);

// The trap of a routine's error: its FillErrorLine goes into mLogLine and the operation log.
// Gives the line.
std::string LogRoutineError(std::string_view form, std::string_view routine,
                            const std::exception& e);

// The text of a shell routine's error: routine_text ("Error in settree routine "), then
// "error # :<n>" CR LF "<description>".
std::string ShellErrorText(std::string_view routine_text, const std::exception& e);

}  // namespace dv
