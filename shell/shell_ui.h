// The windows the main controller drives. The desktop layer implements them over its Qt
// forms; the headless run and the tests implement them without a screen. The controller calls
// them in the exact order the program does things, so a test can check that order with fakes.
//
// Message boxes go through the platform's message sink (platform/messages.h), the same one the
// engine's own messages use.
#pragma once

#include <string>
#include <string_view>

#include "shell/main_tables.h"

namespace dv {

class View;

inline constexpr std::string_view kMainCaption = "Tesmar Dashvane 2";
inline constexpr std::string_view kLogViewerCaption = "Dashvane 2 Operation Log";
inline constexpr std::string_view kAboutCaption = "About Dashvane 2";
inline constexpr std::string_view kAboutTitle = "Dashvane 2";
inline constexpr std::string_view kSysInfoUnavailable =
    "System Information Is Unavailable At This Time";

// The MDI main window frmKRLI.
class MainWindow {
  public:
    virtual ~MainWindow() = default;

    // Status-bar panels 1 to 4 (5 and 6 keep the time and date themselves).
    virtual void SetStatusText(int panel, const std::string& text) = 0;
    // lblStoreName's caption, repainted at once.
    virtual void SetStoreName(const std::string& text) = 0;

    // The tree: nodes in insertion order, expanded by their 1-based insertion index; selecting
    // a node raises no node-click event.
    virtual void AddTreeNode(const TreeNodeSpec& node) = 0;
    virtual void ExpandTreeNode(int index) = 0;
    virtual void SelectTreeNode(std::string_view key) = 0;

    // The views as MDI children. ShowChild shows the view (not modal), creating its sub-window
    // on first use; HideChild hides it; PositionChild places it (twips) and repaints it;
    // UnloadChild drops its sub-window, since the instance is about to be released (a later
    // ShowChild comes with a new instance).
    virtual void ShowChild(View& view) = 0;
    virtual void HideChild(View& view) = 0;
    virtual void PositionChild(View& view, const ChildPlacement& placement) = 0;
    virtual void UnloadChild(View& view) = 0;

    // The last request of the load and of a view switch: repaint the main window.
    virtual void RepaintMainWindow() = 0;
    // Main's last step: show the window (not modal).
    virtual void ShowMainWindow() = 0;
    // File > Exit: close the window; its close runs MainController::Unload.
    virtual void CloseMainWindow() = 0;
    // Help > Dashvane Help (F1) and Help > About (modal).
    virtual void OpenHelp() = 0;
    virtual void ShowAbout() = 0;
};

// The log viewer frmViewLog, shown modal: it loads mLogPath afresh on every opening.
class LogViewerWindow {
  public:
    virtual ~LogViewerWindow() = default;
    virtual void ShowLogViewer() = 0;
};

}  // namespace dv
