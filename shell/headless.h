// Windows without a screen, for the headless run: every request is accepted and nothing is
// drawn. What the load writes stays readable on the controller.
#pragma once

#include "shell/shell_ui.h"

namespace dv {

class HeadlessWindow : public MainWindow, public LogViewerWindow {
  public:
    void SetStatusText(int, const std::string&) override {}
    void SetStoreName(const std::string&) override {}
    void AddTreeNode(const TreeNodeSpec&) override {}
    void ExpandTreeNode(int) override {}
    void SelectTreeNode(std::string_view) override {}
    void ShowChild(View&) override {}
    void HideChild(View&) override {}
    void PositionChild(View&, const ChildPlacement&) override {}
    void UnloadChild(View&) override {}
    void RepaintMainWindow() override {}
    void ShowMainWindow() override {}
    void CloseMainWindow() override {}
    void OpenHelp() override {}
    void ShowAbout() override {}
    void ShowLogViewer() override {}
};

}  // namespace dv
