#include "records/event_log.h"

#include <syslog.h>

#include "engine/error.h"
#include "records/clock_text.h"

namespace dv {

void SyslogEventLog::Write(const std::string& entry) {
    static const bool opened = [] {
        openlog(kEventLogIdentity, LOG_PID, LOG_USER);
        return true;
    }();
    (void)opened;
    syslog(LOG_USER | LOG_ERR, "%s", entry.c_str());
}

EventLog& AppEventLog() {
    static SyslogEventLog syslog_sink;
    EventLog* installed = Installed<EventLog>();
    return installed != nullptr ? *installed : syslog_sink;
}

void SetAppEventLog(EventLog* log) {
    Installed<EventLog>() = log;
}

std::string EventLogEntry(const Date& when, std::string_view label, int32_t number,
                          std::string_view description, std::string_view source) {
    std::string entry = ShortDateText(when);
    entry += " : ";
    entry += ShortTimeText(when);
    entry += " : ";
    entry += label;
    entry += std::to_string(number);
    entry += "  ";
    entry += description;
    entry += "  ";
    entry += source;
    return entry;
}

std::string WriteEventLogError(std::string_view label, const std::exception& error) {
    int32_t number = 51;  // the platform's "Internal error"
    std::string description = error.what();
    std::string source;
    if (const auto* basic = dynamic_cast<const BasicError*>(&error)) {
        number = basic->number();
        description = basic->description();
        source = basic->source();
    }
    std::string entry = EventLogEntry(Now(), label, number, description, source);
    try {
        AppEventLog().Write(entry);
    } catch (...) {
        // The log is a report only: a sink that fails loses the entry, nothing else.
    }
    return entry;
}

}  // namespace dv
