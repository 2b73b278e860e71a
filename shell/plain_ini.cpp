#include "shell/plain_ini.h"

#include <cstdlib>
#include <set>
#include <utility>

#include "platform/tempdir.h"

namespace dv {
namespace {

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsName(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!IsNameChar(c)) return false;
    return true;
}

bool IsWordChar(char c) {
    return IsNameChar(c) || c == '.' || c == '-';
}

// The value of a plain "key=value" line's right side, or nothing when it is not plain.
std::optional<std::string> PlainValue(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        const std::string_view inner = value.substr(1, value.size() - 2);
        for (char c : inner)
            if (!IsWordChar(c) && c != ',' && c != ' ') return std::nullopt;
        return std::string(inner);
    }
    for (char c : value)
        if (!IsWordChar(c)) return std::nullopt;
    return std::string(value);
}

}  // namespace

std::optional<std::string> PlainIniValue(std::string_view text, std::string_view section,
                                         std::string_view key) {
    // "General" is QSettings' name for the keys outside every section.
    if (!IsName(section) || section == "General" || !IsName(key)) return std::nullopt;
    std::string_view current;  // keys before the first section have none
    std::set<std::pair<std::string_view, std::string_view>> seen;
    std::optional<std::string> found;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        if (line.front() == '[') {
            if (line.back() != ']') return std::nullopt;
            current = line.substr(1, line.size() - 2);
            if (!IsName(current) || current == "General") return std::nullopt;
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) return std::nullopt;
        const std::string_view name = line.substr(0, eq);
        if (!IsName(name) || !seen.emplace(current, name).second) return std::nullopt;
        std::optional<std::string> value = PlainValue(line.substr(eq + 1));
        if (!value) return std::nullopt;
        if (current == section && name == key) found = std::move(value);
    }
    return found;
}

std::optional<std::string> QSettingsUserFile(std::string_view app) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config != '\0' && *config != '/') return std::nullopt;
    return platform::UserConfigDir() + "/Dashvane/" + std::string(app) + ".conf";
}

}  // namespace dv
