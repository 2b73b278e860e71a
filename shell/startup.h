// The program's entry: the log path, the launch check, and the splash and main window of the
// start-up. The desktop program's main() hands its raw command line here before the toolkit
// sees it.
#pragma once

#include <string>
#include <string_view>

namespace dv {

class MainController;

// The one command line the dealer system's menu starts the program with.
inline constexpr std::string_view kLaunchToken = "4K907M13P";

// The raw command line of argv: the arguments after the program's name joined by one blank;
// empty without arguments.
std::string CommandLineFrom(int argc, const char* const* argv);
// True only for exactly the launch token: no blanks around it, in upper case, nothing after it.
bool LaunchAllowed(std::string_view command_line);
// The refusal: two lines separated by a line feed alone.
std::string RefusalText();
// Shows the refusal with the information icon and the application title.
void ShowRefusal();

// "Version major.minor.revision" of the program's own version.
std::string VersionText();
// The splash's and the About box's legal notice: two lines joined by a line feed.
std::string LegalNotice();

// Main: sets mLogPath from TEMP, checks the command line (a mismatch shows the refusal and
// returns false; nothing else happens), then shows the splash, loads the main window, unloads
// the splash and shows the main window; true when the program goes on running.
bool RunMain(std::string_view command_line, MainController& controller);

}  // namespace dv
