// Where a detail builder's failures go: one entry per failing procedure in the application
// event log, made of the date, " : ", the time, " : ", the builder's class and procedure label,
// the error's number, two blanks, its description, two blanks and its source.
#pragma once

#include <string>
#include <string_view>

#include "engine/error.h"

namespace dv {

// The entry's text for a failure at this moment (the engine's clock).
std::string DetailEventText(std::string_view label, const BasicError& error);
// Writes the entry to the application event log.
void WriteDetailEvent(const std::string& entry);

}  // namespace dv

namespace dv {

// Until the shell's event log takes these entries: the writer the entries go to (syslog under
// the identity "Dashvane" when none is set). Returns the previous one.
using DetailEventSink = void (*)(const std::string& entry);
DetailEventSink SetDetailEventSink(DetailEventSink sink);

}  // namespace dv
