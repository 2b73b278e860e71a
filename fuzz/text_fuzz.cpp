// The readers of the small text and table files on the share: the catalog settings file, the
// terminal map and the link table.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/error.h"
#include "engine/startup.h"
#include "engine/tables.h"
#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const char* key : {"Server", "Directory", "CustomerNumber", "TerminalID"})
        dv::platform::ProfileValue(text, "Sendrake", key);
    dv::TextLines(text);
    try {
        dv::TerminalFromMap(text, "WS7", "10.0.0.7");
    } catch (const dv::BasicError&) {
        // a matching line whose terminal field holds only commas
    }
    dv::cLinks links(text);
    for (const auto& slot : links) {
        if (slot.item->LinkFile.size() > 79 || slot.item->ResolutionFile.size() > 79)
            __builtin_trap();
        links.Find(slot.item->LinkFile);
    }
    return 0;
}
