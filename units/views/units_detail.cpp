#include "units/views/units_detail.h"

#include <exception>
#include <string>

#include "shell/view.h"

namespace dv {

void TrapDetailError(DetailHost& host, std::string_view form, std::string_view routine,
                     std::string_view what, const std::function<void()>& handler) {
    int32_t number = 0;
    std::string description;
    try {
        handler();
        return;
    } catch (const std::exception& e) {
        LogRoutineError(form, routine, e);
        ErrorParts(e, number, description);
    }
    try {
        host.Message(std::string(what) + " could not be shown.  Error " + std::to_string(number) +
                     " : " + description);
    } catch (const std::exception&) {
        // The log line above tells what failed.
    }
}

}  // namespace dv
