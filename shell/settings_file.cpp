#include "shell/settings_file.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/tempdir.h"

namespace dv {
namespace {

// Sections in file order, each with its keys in file order.
using Section = std::vector<std::pair<std::string, std::string>>;
using Sections = std::vector<std::pair<std::string, Section>>;

std::string Escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string Unescape(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char n = text[++i];
            out.push_back(n == 'n' ? '\n' : n == 'r' ? '\r' : n);
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

Sections ReadFile(const std::filesystem::path& path) {
    Sections sections;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            sections.emplace_back(line.substr(1, line.size() - 2), Section{});
        } else if (const size_t eq = line.find('='); eq != std::string::npos && !sections.empty()) {
            sections.back().second.emplace_back(line.substr(0, eq), Unescape(line.substr(eq + 1)));
        }
    }
    return sections;
}

std::string SectionName(std::string_view app, std::string_view section) {
    return std::string(app) + "/" + std::string(section);
}

}  // namespace

std::filesystem::path DefaultSettingsPath() {
    return std::filesystem::path(platform::UserConfigDir()) / "Dashvane" / "settings.ini";
}

std::optional<std::string> FileSettingsStore::Get(std::string_view app, std::string_view section,
                                                  std::string_view key) const {
    const std::string name = SectionName(app, section);
    std::optional<std::string> found;
    for (const auto& [s, keys] : ReadFile(path_)) {
        if (s != name) continue;
        for (const auto& [k, v] : keys)
            if (k == key) found = v;  // the last one wins
    }
    return found;
}

void FileSettingsStore::Save(std::string_view app, std::string_view section, std::string_view key,
                             std::string_view value) {
    Sections sections = ReadFile(path_);
    const std::string name = SectionName(app, section);
    Section* target = nullptr;
    for (auto& [s, keys] : sections)
        if (s == name) target = &keys;
    if (target == nullptr) target = &sections.emplace_back(name, Section{}).second;
    bool replaced = false;
    for (auto& [k, v] : *target) {
        if (k == key) {
            v = std::string(value);
            replaced = true;
        }
    }
    if (!replaced) target->emplace_back(std::string(key), std::string(value));

    std::ostringstream text;
    for (const auto& [s, keys] : sections) {
        text << '[' << s << "]\n";
        for (const auto& [k, v] : keys) text << k << '=' << Escape(v) << '\n';
    }
    std::error_code ec;
    std::filesystem::create_directories(path_.parent_path(), ec);
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << text.str();
    if (!out) std::fprintf(stderr, "dashvane: cannot write the settings file %s\n", path_.c_str());
}

}  // namespace dv
