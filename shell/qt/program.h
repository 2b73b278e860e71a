// The desktop program: the launch check on the raw command line, then the start-up (splash,
// the main window's load through the main controller, the splash unloaded, the main window
// shown) and the event loop.
#pragma once

#include <memory>

#include "platform/messages.h"
#include "shell/main_controller.h"
#include "shell/view_registry.h"

class QWidget;

namespace dv::qt {

class Dialogs;
class QtDetailHost;
class QtMainWindow;
class QtViewRegistry;
class SplashWidget;

// Shows the engine's and the shell's messages in message boxes.
class DialogMessageSink : public platform::MessageSink {
  public:
    explicit DialogMessageSink(Dialogs& dialogs, QWidget* parent = nullptr)
        : dialogs_(dialogs), parent_(parent) {}
    void Show(const platform::Message& message) override;

  private:
    Dialogs& dialogs_;
    QWidget* parent_;
};

// Main's first steps: sets the log path, then accepts exactly one argument, the launch token.
// Anything else shows the refusal through the installed message sink and gives false; nothing
// else happens.
bool CheckLaunch(int argc, const char* const* argv);

// The running program: splash, main window and controller, wired together.
class DesktopProgram {
  public:
    DesktopProgram(const ViewRegistry& views, EngineHooks hooks, Dialogs& dialogs,
                   const QtViewRegistry& qt_views);
    ~DesktopProgram();
    DesktopProgram(const DesktopProgram&) = delete;
    DesktopProgram& operator=(const DesktopProgram&) = delete;

    // Main's steps after the launch check: show the splash, load the main window, unload the
    // splash, show the main window.
    void Start();

    MainController& controller() { return *controller_; }
    QtMainWindow& window() { return *window_; }
    SplashWidget& splash() { return *splash_; }

  private:
    std::unique_ptr<QtMainWindow> window_;
    std::unique_ptr<QtDetailHost> detail_host_;  // the views' detail forms, above the window
    std::unique_ptr<MainController> controller_;
    std::unique_ptr<SplashWidget> splash_;
};

// The whole program over the views main() registered; main() hands its arguments here
// untouched. The toolkit never sees them.
int RunDashvane(int argc, char** argv, const ViewRegistry& views, const QtViewRegistry& qt_views);

}  // namespace dv::qt
