// Engine start-up: the catalog settings file, the share check, this computer's identity and
// its terminal number from the terminal map.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dv {

// The catalog settings file: tMRCatalog.ini directly in the temporary directory.
std::string CatalogPath();

// Drops the global engine, the three tables, the system object and the catalog settings, and
// puts the default alphabet back: the program-wide state as it is before the first start-up.
void ResetEngineState();

// The lines of a text file; a line ends at CR, LF or CR LF.
std::vector<std::string> TextLines(std::string_view text);

// Why a text file of the share could not be opened: nothing more to say when no ordinary file
// is there (missing is true); else the platform's error number and the system's reason, over
// SMB what the server refused (platform::FailureReason).
struct ShareTextFailure {
    bool missing = true;
    int32_t number = 0;
    std::string reason;
};

// A text file on the share by its Windows path (\\SERVER\TMARLNK\D01\DARR.KRLI, mapped as
// platform/paths.h says): its whole text, or nothing when no ordinary file is there or it can't
// be opened, with why in *failure when given. A failing read raises the platform's error from
// source.
std::optional<std::string> ReadShareText(std::string_view share_path, const char* source,
                                         ShareTextFailure* failure = nullptr);
// The same file as lines (TextLines), read once: the terminal map, the A/R summary DARR.KRLI.
std::optional<std::vector<std::string>> ReadShareTextLines(std::string_view share_path,
                                                           const char* source,
                                                           ShareTextFailure* failure = nullptr);

// The terminal number the terminal map gives this computer: the first line whose first field
// equals the computer's name (without regard to case) or its dotted address (exactly); the
// second field up to its first comma. Fields are separated by blanks only; lines of fewer than
// two fields are skipped. "0" when no line matches; error 9 when the matching line's second
// field holds only commas.
std::string TerminalFromMap(std::string_view ttymap, std::string_view computer_name,
                            std::string_view ip);

}  // namespace dv
