#include "shell/dump_document.h"

#include <cstdio>

#include "shell/main_controller.h"
#include "shell/recap_board.h"

namespace dv {

std::string JsonString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else if (c >= 0x80) {
                    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
                    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
                } else {
                    out.push_back(static_cast<char>(c));
                }
        }
    }
    out.push_back('"');
    return out;
}

namespace {

void AppendGrid(std::string& out, const GridModel& grid) {
    out += JsonString(grid.name());
    out += ": {\"columns\": [";
    for (int c = 0; c < grid.ColumnCount(); ++c) {
        if (c > 0) out += ", ";
        out += JsonString(grid.Column(c).name);
    }
    out += "],\n      \"rows\": [";
    for (int r = 0; r < grid.RowCount(); ++r) {
        out += r > 0 ? ",\n        [" : "\n        [";
        for (int c = 0; c < grid.ColumnCount(); ++c) {
            if (c > 0) out += ", ";
            out += JsonString(grid.CellText(r, c));
        }
        out += "]";
    }
    out += "]}";
}

void AppendView(std::string& out, const View& view) {
    out += JsonString(view.form_name());
    out += ": {\"grids\": {";
    bool first = true;
    for (const auto& grid : view.grids()) {
        out += first ? "\n    " : ",\n    ";
        first = false;
        AppendGrid(out, *grid);
    }
    out += "},\n    \"labels\": {";
    for (int i = 0; i < view.LabelCount(); ++i) {
        if (i > 0) out += ", ";
        out += JsonString(view.Label(i).name);
        out += ": ";
        out += JsonString(view.Label(i).caption);
    }
    out += "}}";
}

}  // namespace

std::string DumpDocument(const MainController& controller,
                         const std::vector<std::string>& log_lines) {
    std::string out = "{\"status\": [";
    for (int panel = 1; panel <= 4; ++panel) {
        if (panel > 1) out += ", ";
        out += JsonString(controller.StatusText(panel));
    }
    out += "],\n \"store_name\": ";
    out += JsonString(controller.StoreName());
    out += ",\n \"recap\": [";
    const RecapBoard* recap = controller.recap_board();
    for (int i = 0; i < kRecapLabelCount; ++i) {
        out += i > 0 ? ",\n   " : "\n   ";
        out += "{\"index\": " + std::to_string(i) + ", \"text\": ";
        out += JsonString(recap ? recap->Figure(i).caption : std::string());
        out += ", \"error\": ";
        out += recap && recap->Figure(i).red ? "true" : "false";
        out += "}";
    }
    out += "],\n \"views\": {";
    bool first = true;
    for (const View* view : controller.LoadedViews()) {
        out += first ? "\n  " : ",\n  ";
        first = false;
        AppendView(out, *view);
    }
    out += "},\n \"log\": [";
    for (size_t i = 0; i < log_lines.size(); ++i) {
        out += i > 0 ? ",\n   " : "\n   ";
        out += JsonString(log_lines[i]);
    }
    out += "]}\n";
    return out;
}

}  // namespace dv
