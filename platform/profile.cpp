#include "platform/profile.h"

#include <strings.h>

namespace dv::platform {
namespace {

std::string_view Trim(std::string_view s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}

bool SameFolded(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

std::string ProfileValue(std::string_view text, std::string_view section, std::string_view key,
                         size_t buffer_size) {
    bool in_section = false;
    bool section_seen = false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';') {
            if (end == text.size()) break;
            continue;
        }
        if (line[0] == '[') {
            const size_t close = line.find(']');
            const std::string_view name =
                Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            if (in_section) break;  // the first section of the name is the one read
            in_section = !section_seen && SameFolded(name, Trim(section));
            section_seen = section_seen || in_section;
        } else if (in_section) {
            const size_t eq = line.find('=');
            if (eq != std::string_view::npos && SameFolded(Trim(line.substr(0, eq)), Trim(key))) {
                std::string_view value = Trim(line.substr(eq + 1));
                if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                    value = value.substr(1, value.size() - 2);
                if (buffer_size == 0) return {};
                return std::string(value.substr(0, buffer_size - 1));
            }
        }
        if (end == text.size()) break;
    }
    return {};
}

}  // namespace dv::platform
