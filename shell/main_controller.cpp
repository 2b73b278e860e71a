#include "shell/main_controller.h"

#include <optional>
#include <stdexcept>

#include "engine/error.h"
#include "engine/fill_cache.h"
#include "engine/logical.h"
#include "engine/system.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "records/clock_text.h"
#include "shell/detail_form.h"
#include "shell/operation_log.h"
#include "shell/startup.h"

namespace dv {
namespace {

const std::string kNoText;

cSystem& SystemObject() {
    if (!mSystem) RaisePlatform(err::kNoObject, "frmKRLI");
    return *mSystem;
}

void ShowShellError(const std::string& errtext) {
    platform::ShowMessage(std::string(platform::kApplicationTitle), errtext);
    mLogLine = "*" + errtext;
    WriteLog(mLogPath, mLogLine);
}

constexpr std::string_view kMainForm = "frmKRLI";

// The one trap of the user's events: the error's line in the log, its text in a message box.
void TrapEvent(std::string_view form, std::string_view routine, const std::function<void()>& action,
               bool cached) {
    try {
        std::optional<FillCache> cache;
        if (cached) cache.emplace();
        action();
        return;
    } catch (const std::exception& e) {
        const std::string line = LogRoutineError(form, routine, e);
        platform::ShowMessage(std::string(platform::kApplicationTitle), line.substr(1));
    } catch (...) {
        const std::runtime_error e("Internal error");
        const std::string line = LogRoutineError(form, routine, e);
        platform::ShowMessage(std::string(platform::kApplicationTitle), line.substr(1));
    }
}

std::string_view MenuControl(Menu menu) {
    switch (menu) {
        case Menu::kFile:
            return "mfile";
        case Menu::kView:
            return "mview";
        case Menu::kInventory:
            return "minv";
        case Menu::kOptions:
            return "mopt";
        case Menu::kHelp:
            return "mhelp";
    }
    return "mnu";
}

}  // namespace

MainController::MainController(const ViewRegistry& views, EngineHooks hooks, MainWindow& window,
                               LogViewerWindow& log_viewer)
    : views_(views),
      tables_(BuildMainTables(views.Declarations())),
      hooks_(std::move(hooks)),
      window_(window),
      log_viewer_(log_viewer),
      splash_(VersionText(), LegalNotice()) {}

MainController::~MainController() = default;

View* MainController::Instance(std::string_view form_name) const {
    const auto it = forms_.find(form_name);
    return it == forms_.end() ? nullptr : it->second.get();
}

View* MainController::Instantiate(std::string_view form_name) {
    if (View* v = Instance(form_name)) return v;
    std::unique_ptr<View> created;
    if (form_name == form::kRecap) {
        auto board = std::make_unique<RecapBoard>();
        recap_ = board.get();
        created = std::move(board);
    } else {
        created = views_.Create(form_name);
        if (!created) return nullptr;
    }
    View* v = created.get();
    v->SetDetailHost(detail_host_);
    forms_.emplace(std::string(form_name), std::move(created));
    return v;
}

View* MainController::LoadForm(std::string_view form_name) {
    View* v = Instantiate(form_name);
    if (v) RunViewLoad(*v);
    return v;
}

RecapBoard& MainController::Recap() {
    LoadForm(form::kRecap);
    return *recap_;
}

bool MainController::GetOption(int32_t position) {
    return hooks_.get_option ? hooks_.get_option(position) : dv::GetOption(position);
}

std::string_view MainController::WarrantyForm() const {
    const ViewSlot* slot = tables_.FindNode(kBilledWarrantiesKey);
    return slot != nullptr ? slot->Form(segment_warranty_) : std::string_view();
}

void MainController::LoadSlot(const ViewSlot& slot) {
    const std::string_view form_name = slot.Form(segment_warranty_);
    if (!form_name.empty()) LoadForm(form_name);
}

void MainController::RunViewLoad(View& view) {
    const bool runs = !view.loaded();
    view.RunLoad(*this);
    if (!runs) return;
    const ViewDeclaration* declaration = views_.Find(view.form_name());
    if (declaration == nullptr || declaration->segment_flag == nullptr) return;
    if (const std::optional<bool> segments = declaration->segment_flag(view))
        segment_warranty_ = *segments;
}

const std::string& MainController::StatusText(int panel) const {
    return panel >= 1 && panel <= 4 ? status_[panel - 1] : kNoText;
}

std::vector<View*> MainController::LoadedViews() const {
    std::vector<View*> out;
    auto add = [&](std::string_view name) {
        View* v = Instance(name);
        if (v && v->loaded()) out.push_back(v);
    };
    for (const ViewSlot& slot : tables_.startup) {
        add(slot.form);
        add(slot.segments);
        add(slot.plain);
    }
    return out;
}

void MainController::Start() {
    splash_.Show();
    Load();
    splash_.Unload();
    window_.ShowMainWindow();
}

void MainController::Load() {
    // One read cache for the whole start-up: a file that several views read (the product
    // lines, the control file, the vendors) is read once. It is dropped when the load ends.
    const FillCache cache;
    platform::ResetPathCache();  // kept for this load: both engines' start-ups share it
    try {
        hooks_.load_catalog_settings();

        mLogLine = NowStamp() + "  Program Start from : " + SystemObject().ComputerName +
                   "  Terminal :" + SystemObject().TerminalID;
        WriteLog(mLogPath, mLogLine);

        own_engine_ = hooks_.create_engine();

        const cSystem& system = SystemObject();
        // The store number: the data directory from its fourth character on ("D01" has none).
        const std::string store_number =
            system.mDirectory.size() > 3 ? system.mDirectory.substr(3) : std::string();
        status_[0] = "Client :" + system.ComputerName;
        status_[1] = "Host :" + system.mUNCDrive;
        status_[2] = "Terminal :" + system.TerminalID;
        status_[3] = "Source :" + system.mDirectory + "      Store # " + store_number;
        for (int panel = 1; panel <= 4; ++panel) window_.SetStatusText(panel, status_[panel - 1]);

        {
            std::unique_ptr<ControlFile> file = hooks_.control_file(own_engine_);
            if (!file) RaisePlatform(err::kNoObject, "GetStoreName");
            store_name_ = GetStoreName(*file);
        }
        window_.SetStoreName(store_name_);

        SetTree();

        current_ = LoadForm(form::kRecap);

        segment_warranty_ = GetOption(file0::kOptionWarrantySegments);

        for (const ViewSlot& slot : tables_.startup) LoadSlot(slot);

        window_.ShowChild(*current_);
        window_.PositionChild(*current_, ChildPlacement{});
        window_.RepaintMainWindow();
        load_completed_ = true;
    } catch (const std::exception& e) {
        int32_t number = 0;
        std::string description;
        ErrorParts(e, number, description);
        mLogLine = "*Form VODOD2 load error :" + NowStamp();
        WriteLog(mLogPath, mLogLine);
        mLogLine = "*Error  " + std::to_string(number) + " : " + description;
        WriteLog(mLogPath, mLogLine);
    }
}

void MainController::SetTree() {
    try {
        for (const TreeNodeSpec& node : tables_.tree) {
            window_.AddTreeNode(node);
            tree_keys_.insert(std::string(node.key));
        }
        for (int i = 1; i <= static_cast<int>(tables_.tree.size()); ++i) window_.ExpandTreeNode(i);
        window_.SelectTreeNode(kRecapKey);
    } catch (const std::exception& e) {
        ShowShellError(ShellErrorText("Error in settree routine ", e));
    }
}

void MainController::ShowMonitor(View& target, bool final_request) {
    window_.HideChild(*current_);
    RunViewLoad(target);
    window_.ShowChild(target);
    current_ = &target;
    window_.PositionChild(target, ChildPlacement{});
    if (final_request) window_.RepaintMainWindow();
}

void MainController::TreeClick(std::string_view key) {
    TrapEvent(
        kMainForm, "tv1_NodeClick",
        [&] {
            if (current_ == nullptr || unloaded_) return;
            const ViewSlot* slot = tables_.FindNode(key);
            if (slot == nullptr) return;  // a group node
            View* target = Instantiate(slot->Form(segment_warranty_));
            if (target == nullptr) return;  // a view the program does not have
            ShowMonitor(*target, true);
        },
        false);
}

void MainController::MenuClick(Menu menu, int index) {
    TrapEvent(
        kMainForm, std::string(MenuControl(menu)) + "_Click", [&] { RunMenuItem(menu, index); },
        false);
}

void MainController::RunMenuItem(Menu menu, int index) {
    if (unloaded_) return;
    const MenuItemSpec* item = tables_.FindMenuItem(menu, index);
    if (item == nullptr) return;
    switch (item->action) {
        case MenuAction::kRefresh:
            Refresh();
            break;
        case MenuAction::kExit:
            window_.CloseMainWindow();
            break;
        case MenuAction::kViewLog:
            log_viewer_.ShowLogViewer();
            break;
        case MenuAction::kHelp:
            window_.OpenHelp();
            break;
        case MenuAction::kAbout:
            window_.ShowAbout();
            break;
        case MenuAction::kShowView: {
            // After a failed start there may be no tree node and no current view: nothing to do.
            if (current_ == nullptr || !TreeBuilt(item->node)) return;
            const ViewSlot* slot = tables_.FindNode(item->node);
            if (slot == nullptr) return;
            View* target = Instantiate(slot->Form(segment_warranty_));
            if (target == nullptr) return;
            window_.SelectTreeNode(item->node);
            ShowMonitor(*target, menu != Menu::kInventory);
            break;
        }
        default:
            break;
    }
}

void MainController::RecapClick(int index) {
    TrapEvent(
        form::kRecap, "lblRecap_Click",
        [&] {
            if (recap_ != nullptr && recap_->Click(index)) log_viewer_.ShowLogViewer();
        },
        false);
}

void MainController::GridHeaderClick(View& view, std::string_view grid, int column) {
    TrapEvent(
        view.form_name(), std::string(grid) + "_HeadClick", [&] { view.HeaderClick(grid, column); },
        true);
}

void MainController::GridButtonClick(View& view, std::string_view grid, int row) {
    // A detail form reads what it shows as a load does, once, through one cache.
    TrapEvent(
        view.form_name(), std::string(grid) + "_BtnClick", [&] { view.ButtonClick(grid, row); },
        true);
}

void MainController::CommandClick(View& view, std::string_view button) {
    TrapEvent(
        view.form_name(), std::string(button) + "_Click", [&] { view.CommandClick(button); }, true);
}

void MainController::FormEvent(std::string_view form, std::string_view routine,
                               const std::function<void()>& action) {
    TrapEvent(form, routine, action, true);
}

void MainController::DetailHeaderClick(DetailForm& form, std::string_view grid, int column) {
    TrapEvent(
        form.form_name(), std::string(grid) + "_HeadClick", [&] { form.HeaderClick(grid, column); },
        true);
}

void MainController::DetailButtonClick(DetailForm& form, std::string_view grid, int row,
                                       DetailHost& host) {
    // Opened from a detail, the next detail reads through its opener's cache.
    TrapEvent(
        form.form_name(), std::string(grid) + "_BtnClick",
        [&] { form.ButtonClick(grid, row, host); }, true);
}

void MainController::DetailChoiceClick(DetailForm& form, std::string_view choice, int index) {
    TrapEvent(
        form.form_name(), std::string(choice) + "_Click", [&] { form.ChoiceClick(choice, index); },
        true);
}

void MainController::DropForms() {
    for (std::string_view name : tables_.unload) {
        if (View* v = Instance(name)) window_.UnloadChild(*v);
    }
    current_ = nullptr;
    for (std::string_view name : tables_.release) {
        const auto it = forms_.find(name);
        if (it == forms_.end()) continue;
        if (it->second.get() == recap_) recap_ = nullptr;
        forms_.erase(it);
    }
    forms_.clear();
    recap_ = nullptr;
}

void MainController::Refresh() {
    if (unloaded_) return;
    try {
        if (current_ == nullptr) RaisePlatform(err::kNoObject, "ReLoadDv");
        window_.HideChild(*current_);
        splash_.Show();
        DropDirectoryScans();  // files the dealer system added since are found
        DropForms();
        // The reload reads through one cache of its own, which starts empty, so that it sees
        // every change made since the last load.
        FillCache::Drop();
        const FillCache cache;
        platform::ResetPathCache();
        current_ = LoadForm(form::kRecap);
        for (const ViewSlot& slot : tables_.refresh) LoadSlot(slot);
        splash_.Hide();
        window_.ShowChild(*current_);
        window_.PositionChild(*current_, ChildPlacement{});
    } catch (const std::exception& e) {
        ShowShellError(ShellErrorText("Error in ReLoadDv function ", e));
    }
}

void MainController::Unload() {
    TrapEvent(
        kMainForm, "Form_Unload",
        [&] {
            if (unloaded_) return;
            unloaded_ = true;
            DropForms();
            mSystem.reset();
            own_engine_.reset();
            splash_.Unload();
            mLogLine = NowStamp() + "  Program End ";
            WriteLog(mLogPath, mLogLine);
        },
        false);
}

}  // namespace dv
