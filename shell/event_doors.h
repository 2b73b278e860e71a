// The doors through which every user event reaches the core. The desktop forms call them for
// each click (a tree node, a menu item, a recap label, a grid header or button of a view or of
// a detail form, a command button, a detail's list); MainController implements them, and
// dashvane-dump goes through the same doors when it clicks every button. Behind each door:
//   - the event runs under one read cache (engine/fill_cache.h), so that a detail form reads
//     each piece of a file once, however it was opened, and a detail opened from a detail
//     shares its opener's cache;
//   - an error that reaches the door is trapped there, and only there: one line
//     "*Error in <form> <routine> routine error # :  <n>  <description>" goes to the operation
//     log, the same text (without its "*") is shown in a message box with the program's title,
//     and the program goes on.
// Routines are named as the form's event procedures: "grdInvest_HeadClick", "grdFp_BtnClick",
// "cmdCashSetup_Click", "cmbRequest_Click", "tv1_NodeClick", "mview_Click", "lblRecap_Click".
#pragma once

#include <functional>
#include <string_view>

#include "shell/main_tables.h"

namespace dv {

class DetailForm;
class DetailHost;
class View;

class EventDoors {
  public:
    virtual ~EventDoors() = default;

    // The main window's events.
    virtual void TreeClick(std::string_view key) = 0;
    virtual void MenuClick(Menu menu, int index) = 0;
    virtual void RecapClick(int index) = 0;
    // The main window's unload (File > Exit, closing the window).
    virtual void Unload() = 0;

    // A view's events: a grid's header (column by position) and button (row as the grid holds
    // it now), one of its command buttons.
    virtual void GridHeaderClick(View& view, std::string_view grid, int column) = 0;
    virtual void GridButtonClick(View& view, std::string_view grid, int row) = 0;
    virtual void CommandClick(View& view, std::string_view button) = 0;
    // Any other event of a form, run as action under the same cache and trap: frmPo's vendor
    // totals (the desktop shows the form the view gives), the buttons of the account setup
    // frmSetup. form and routine name it in the log ("frmPo", "cmdVtot_Click").
    virtual void FormEvent(std::string_view form, std::string_view routine,
                           const std::function<void()>& action) = 0;

    // A detail form's events; a button opens its next detail on host.
    virtual void DetailHeaderClick(DetailForm& form, std::string_view grid, int column) = 0;
    virtual void DetailButtonClick(DetailForm& form, std::string_view grid, int row,
                                   DetailHost& host) = 0;
    virtual void DetailChoiceClick(DetailForm& form, std::string_view choice, int index) = 0;
};

}  // namespace dv
