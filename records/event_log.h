// The application event log: where the detail builders record a failing procedure, one entry
// each. An entry is one line of text:
//
//     12/5/2024 : 3:07:09 PM : clsShopDetail : BuildPage81  Illegal Record Number ...  iLreadFile
//
// the date, " : ", the time (the system's short forms, as the operation log writes them),
// " : ", the builder's class and procedure label, the error's number straight after it, two
// blanks, the description, two blanks and the error's source. The entry carries no type.
//
// The programs write to syslog(3) under the identity "Dashvane" (the default sink); tests
// install a RecordingEventLog.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dates.h"
#include "records/installed.h"

namespace dv {

class EventLog {
  public:
    virtual ~EventLog() = default;
    // Writes one entry; never throws.
    virtual void Write(const std::string& entry) = 0;
};

inline constexpr const char* kEventLogIdentity = "Dashvane";

// syslog(3) under "Dashvane", facility user, priority error.
class SyslogEventLog : public EventLog {
  public:
    void Write(const std::string& entry) override;
};

// Keeps every entry, for tests.
class RecordingEventLog : public EventLog {
  public:
    void Write(const std::string& entry) override { entries_.push_back(entry); }
    const std::vector<std::string>& entries() const { return entries_; }

  private:
    std::vector<std::string> entries_;
};

// The program-wide sink the detail builders write to: the one set, else the syslog sink.
EventLog& AppEventLog();
// Installs a sink (not owned); null goes back to the syslog sink.
void SetAppEventLog(EventLog* log);

// Installs a sink for the life of the object, then puts the previous one back.
using ScopedEventLog = ScopedInstall<EventLog>;

// The text of an entry at the moment when.
std::string EventLogEntry(const Date& when, std::string_view label, int32_t number,
                          std::string_view description, std::string_view source);

// The entry for an error caught in the procedure label (a BasicError's number, description and
// source; any other exception as the platform's internal error 51), stamped now and written
// to AppEventLog(). Returns the entry, which the builder keeps as its message.
std::string WriteEventLogError(std::string_view label, const std::exception& error);

}  // namespace dv
