// The main window's logic: the load that builds the running program, the view switches of the
// tree and the menus, File > Refresh, and the unload at exit. The windows sit behind the
// interfaces of shell_ui.h and the engine behind EngineHooks, so that the whole sequence can
// run with fakes.
//
// The load, in this order (an error anywhere ends it; the handler logs two lines):
//   1. read the catalog settings and create the global engine object;
//   2. the log's start line;
//   3. create the window's own, second engine object (the engine's start-up runs again);
//   4. the status bar: client, host, terminal, source and store number;
//   5. the store name, read through the own engine object;
//   6. the tree (its errors are trapped on their own);
//   7. the recap board, which becomes the current view;
//   8. the segment flag of Billed Warranties from option 320;
//   9. the views in the start-up order (Open Shop Work, whose declaration reads its load's
//      segment flag, gives the flag again from option 317);
//  10. Billed Warranties, last in that order: frmWarSeg when the flag is set, else frmWarranty;
//  11. show the recap board and place it; 12. repaint the main window.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "shell/event_doors.h"
#include "shell/main_tables.h"
#include "shell/options.h"
#include "shell/recap_board.h"
#include "shell/shell_ui.h"
#include "shell/splash.h"
#include "shell/view.h"
#include "shell/view_registry.h"

namespace dv {

class cBusinessBasic;

// How the controller reaches the engine; tests replace any of these.
struct EngineHooks {
    // Reads the catalog settings and creates the global engine object (reports its own
    // failures; may leave the global engine empty).
    std::function<void()> load_catalog_settings;
    // Creates the main window's own engine object; raises when the engine can't start. A fake
    // may return null.
    std::function<std::shared_ptr<cBusinessBasic>()> create_engine;
    // FILE0 through the own engine object, for the store name.
    std::function<std::unique_ptr<ControlFile>(std::shared_ptr<cBusinessBasic>)> control_file;
    // An option of FILE0 through the global engine object (GetOption).
    std::function<bool(int32_t)> get_option;
};

// The real engine: LoadCatalogSettings, a new cBusinessBasic, EngineControlFile, GetOption.
EngineHooks DefaultEngineHooks();

class MainController : public ViewContext, public EventDoors {
  public:
    MainController(const ViewRegistry& views, EngineHooks hooks, MainWindow& window,
                   LogViewerWindow& log_viewer);
    ~MainController() override;
    MainController(const MainController&) = delete;
    MainController& operator=(const MainController&) = delete;

    // ViewContext.
    SplashModel& Splash() override { return splash_; }
    // The current recap board, created and loaded on first use.
    RecapBoard& Recap() override;
    // GetOption through the engine hooks.
    bool GetOption(int32_t position) override;

    // The host every view created from now on shows its detail forms on (null: none).
    void SetDetailHost(DetailHost* host) { detail_host_ = host; }

    // Main's steps after the launch check: show the splash, load the main window, unload the
    // splash, show the main window.
    void Start();
    // The main window's load (steps 1 to 12 above).
    void Load();
    // File > Refresh (ReLoadDv).
    void Refresh();
    // The main window's unload (File > Exit or closing the window). Runs once.
    void Unload() override;

    // The doors of every user event (event_doors.h): each runs its event under the trap that
    // logs "*Error in <form> <routine> routine error # :  <n>  <description>", shows that text
    // and lets the program go on; the events of views and detail forms also run under one read
    // cache.
    // A user's click on a tree node, by its key ("frmKRLI tv1_NodeClick").
    void TreeClick(std::string_view key) override;
    // A menu item's click, by its menu and index ("frmKRLI mview_Click").
    void MenuClick(Menu menu, int index) override;
    // A click on recap label index: "Data Error !" opens the log viewer.
    void RecapClick(int index) override;
    // A view's grid events, as the desktop layer raises them. The views' handlers trap nothing
    // of their own; an error that reaches here is logged ("*Error in frmInv grdInvest_HeadClick
    // routine error # :  13  Type mismatch") and the program goes on.
    void GridHeaderClick(View& view, std::string_view grid, int column) override;
    void GridButtonClick(View& view, std::string_view grid, int row) override;
    // A command button's click ("*Error in frmGLA cmdCashSetup_Click routine ..." when it fails).
    void CommandClick(View& view, std::string_view button) override;
    void FormEvent(std::string_view form, std::string_view routine,
                   const std::function<void()>& action) override;
    // A detail form's events ("*Error in frmFpdtl grdFpdtl_BtnClick routine ...").
    void DetailHeaderClick(DetailForm& form, std::string_view grid, int column) override;
    void DetailButtonClick(DetailForm& form, std::string_view grid, int row,
                           DetailHost& host) override;
    void DetailChoiceClick(DetailForm& form, std::string_view choice, int index) override;

    // The view shown in the main window (mCurrentMonitor); null before the load placed the
    // recap board and after the unload.
    View* current_monitor() const { return current_; }
    // The instance of a form, null when it has none.
    View* Instance(std::string_view form_name) const;
    // The loaded views (recap board excluded) in the start-up order, Billed Warranties last.
    std::vector<View*> LoadedViews() const;
    // The tree, menus and orders of the registry's declarations.
    const MainTables& tables() const { return tables_; }

    // What the load wrote: status panels 1-4 (empty until written) and the store name.
    const std::string& StatusText(int panel) const;
    const std::string& StoreName() const { return store_name_; }
    bool TreeBuilt(std::string_view key) const { return tree_keys_.count(std::string(key)) != 0; }
    // The current recap board, null when none is loaded.
    const RecapBoard* recap_board() const { return recap_; }
    // True when the last load ran to its end.
    bool load_completed() const { return load_completed_; }
    // The form of Billed Warranties: frmWarSeg when the segment flag is set, else frmWarranty.
    // The flag is option 320 at the start, then what the Open Shop Work view's load gives
    // (ViewDeclaration::segment_flag).
    std::string_view WarrantyForm() const;
    void SetWarrantySegments(bool segments) { segment_warranty_ = segments; }

  private:
    View* Instantiate(std::string_view form_name);
    View* LoadForm(std::string_view form_name);
    // Loads the form of a place in an order (Billed Warranties as the flag stands).
    void LoadSlot(const ViewSlot& slot);
    // Runs a view's load and takes the segment flag it gives.
    void RunViewLoad(View& view);
    void SetTree();
    void RunMenuItem(Menu menu, int index);
    void ShowMonitor(View& target, bool final_request);
    // Unloads and releases every instance.
    void DropForms();

    const ViewRegistry& views_;
    const MainTables tables_;
    EngineHooks hooks_;
    MainWindow& window_;
    LogViewerWindow& log_viewer_;
    SplashModel splash_;

    std::shared_ptr<cBusinessBasic> own_engine_;
    std::map<std::string, std::unique_ptr<View>, std::less<>> forms_;
    RecapBoard* recap_ = nullptr;
    View* current_ = nullptr;
    std::set<std::string> tree_keys_;
    std::string status_[4];
    std::string store_name_;
    bool unloaded_ = false;
    bool load_completed_ = false;
    bool segment_warranty_ = false;  // frmWarSeg in place of frmWarranty
    DetailHost* detail_host_ = nullptr;
};

}  // namespace dv
