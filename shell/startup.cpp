#include "shell/startup.h"

#include "platform/messages.h"
#include "shell/main_controller.h"
#include "shell/operation_log.h"

#ifndef DASHVANE_VERSION_MAJOR
#define DASHVANE_VERSION_MAJOR 0
#define DASHVANE_VERSION_MINOR 0
#define DASHVANE_VERSION_PATCH 0
#endif

namespace dv {

std::string CommandLineFrom(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line.push_back(' ');
        line += argv[i];
    }
    return line;
}

bool LaunchAllowed(std::string_view command_line) {
    return command_line == kLaunchToken;
}

std::string RefusalText() {
    return " This application can only be started \n     from the Tesmar main menu.    ";
}

void ShowRefusal() {
    platform::ShowMessage(std::string(platform::kApplicationTitle), RefusalText(),
                          platform::MessageIcon::kInformation);
}

std::string VersionText() {
    return "Version " + std::to_string(DASHVANE_VERSION_MAJOR) + "." +
           std::to_string(DASHVANE_VERSION_MINOR) + "." + std::to_string(DASHVANE_VERSION_PATCH);
}

std::string LegalNotice() {
    return "Dashvane reads the dealer system's files and never changes them.\n"
           "Use is subject to the dealer system's licence agreement.";
}

bool RunMain(std::string_view command_line, MainController& controller) {
    InitLogPath();
    if (!LaunchAllowed(command_line)) {
        ShowRefusal();
        return false;
    }
    controller.Start();
    return true;
}

}  // namespace dv
