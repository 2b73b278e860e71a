// The one trap of the steps a detail handler runs below its event door (event_doors.h). The door
// traps what reaches it; a handler that has something to show for a failure, or goes on past it,
// runs its steps here instead:
//   - a step's error is kept (its number and description, as ErrorParts of view.h gives them) and
//     the handler goes on: an order detail shows what it read and lists each failed step;
//   - Log writes the first kept error's line "*Error in <form> <routine> routine error # :  <n>
//     <description>" into the operation log;
//   - Report logs it and shows the line without its "*" in a message on the detail host;
//     ReportNotShown logs it and shows "<what> could not be shown.  Error <n> : <description>".
// A message that fails after the line is logged changes nothing: the line tells what failed.
// Only a std::exception is trapped here; anything else goes on to the door.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace dv {

class DetailHost;

struct TrappedError {
    int32_t number = 0;
    std::string description;
};

class DetailTrap {
  public:
    // The form and routine the log line names ("frmShop", "grdShop_BtnClick").
    DetailTrap(std::string_view form, std::string_view routine);

    // Runs a step; true when it ran to its end, false when its error was kept.
    template <typename Fn>
    bool Step(Fn&& step) {
        try {
            step();
            return true;
        } catch (const std::exception& e) {
            Keep(e);
            return false;
        }
    }

    const std::vector<TrappedError>& errors() const { return errors_; }

    // The first kept error's line, written to the operation log (and mLogLine); empty, and
    // nothing written, when no step failed.
    std::string Log() const;
    // Log, then the line without its "*" in a message on host.
    void Report(DetailHost& host) const;
    // Log, then "<what> could not be shown.  Error <n> : <description>" on host.
    void ReportNotShown(DetailHost& host, std::string_view what) const;

  private:
    void Keep(const std::exception& e);

    std::string form_;
    std::string routine_;
    std::vector<TrappedError> errors_;
};

}  // namespace dv
