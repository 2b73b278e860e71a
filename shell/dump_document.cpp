#include "shell/dump_document.h"

#include <cstdio>

#include <map>
#include <memory>

#include "engine/error.h"
#include "shell/detail_form.h"
#include "shell/main_controller.h"
#include "shell/recap_board.h"

namespace dv {

void AppendJsonString(std::string& out, std::string_view text) {
    out.push_back('"');
    size_t plain = 0;  // the start of the run of bytes that are copied as they are
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') continue;
        out.append(text.data() + plain, i - plain);
        plain = i + 1;
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
                } else {  // a byte of the dealer's 8-bit text: its character in UTF-8
                    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
                    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
                }
        }
    }
    out.append(text.data() + plain, text.size() - plain);
    out.push_back('"');
}

std::string JsonString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    AppendJsonString(out, text);
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
            AppendJsonString(out, grid.CellText(r, c));
        }
        out += "]";
    }
    out += "]}";
}

void AppendGrids(std::string& out, const std::vector<std::unique_ptr<GridModel>>& grids) {
    out += "{";
    bool first = true;
    for (const auto& grid : grids) {
        out += first ? "\n    " : ",\n    ";
        first = false;
        AppendGrid(out, *grid);
    }
    out += "}";
}

void AppendLabels(std::string& out, const std::vector<const FormLabel*>& labels) {
    out += "{";
    for (size_t i = 0; i < labels.size(); ++i) {
        if (i > 0) out += ", ";
        out += JsonString(labels[i]->name);
        out += ": ";
        out += JsonString(labels[i]->caption);
    }
    out += "}";
}

void AppendStrings(std::string& out, const std::vector<std::string>& texts) {
    out += "[";
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) out += ", ";
        out += JsonString(texts[i]);
    }
    out += "]";
}

void AppendView(std::string& out, const View& view) {
    out += JsonString(view.form_name());
    out += ": {\"grids\": ";
    AppendGrids(out, view.grids());
    out += ",\n    \"labels\": ";
    std::vector<const FormLabel*> labels;
    for (int i = 0; i < view.LabelCount(); ++i) labels.push_back(&view.Label(i));
    AppendLabels(out, labels);
    out += "}";
}

// The first button column of a grid, -1 when it has none.
int ButtonColumn(const GridModel& grid) {
    for (int c = 0; c < grid.ColumnCount(); ++c) {
        if (grid.Column(c).button) return c;
    }
    return -1;
}

// The entries of one list of buttons, keyed by the rows' button cells.
class DetailEntries {
  public:
    void Add(const std::string& key, std::string entry) {
        const int seen = ++seen_[key];
        std::string name = seen == 1 ? key : key + " #" + std::to_string(seen);
        out_ += out_.empty() ? "{" : ",\n   ";
        out_ += JsonString(name) + ": " + entry;
    }
    std::string Take() { return out_.empty() ? "{}" : out_ + "}"; }

  private:
    std::map<std::string, int> seen_;
    std::string out_;
};

// Records, instead of showing, the first form a click shows (its nested details included)
// and the messages; a later form of the same click is ignored.
class DumpHost : public DetailHost {
  public:
    DumpHost(EventDoors& doors, int depth, int max_depth)
        : doors_(doors), depth_(depth), max_depth_(max_depth) {}

    void Message(const std::string& text) override { messages_.push_back(text); }

    // The entry of the click that ran with this host.
    std::string Entry() const {
        std::string out = shown_.empty() ? "{\"shown\": false" : shown_;
        if (!messages_.empty()) {
            out += ", \"messages\": ";
            AppendStrings(out, messages_);
        }
        return out + "}";
    }

  protected:
    void Present(DetailForm& form) override {
        if (!shown_.empty()) return;
        std::string out = "{\"form\": " + JsonString(form.form_name());
        out += ", \"caption\": " + JsonString(form.caption());
        out += ",\n    \"labels\": ";
        std::vector<const FormLabel*> labels;
        std::vector<std::string> hidden;
        for (const FormLabel& label : form.labels()) {
            labels.push_back(&label);
            if (!label.visible) hidden.push_back(label.name);
        }
        AppendLabels(out, labels);
        if (!hidden.empty()) {
            out += ", \"hidden\": ";
            AppendStrings(out, hidden);
        }
        if (!form.choices().empty()) {
            out += ",\n    \"choices\": {";
            bool first = true;
            for (const DetailChoice& choice : form.choices()) {
                if (!first) out += ", ";
                first = false;
                out += JsonString(choice.name) + ": {\"items\": ";
                AppendStrings(out, choice.items);
                out += ", \"text\": " + JsonString(choice.text) + "}";
            }
            out += "}";
        }
        out += ",\n    \"grids\": ";
        AppendGrids(out, form.grids());
        if (!form.errors().empty()) {
            out += ",\n    \"errors\": ";
            AppendStrings(out, form.errors());
        }
        if (form.has_button_handler() && depth_ < max_depth_) {
            DetailEntries nested;
            for (const auto& grid : form.grids()) {
                const int column = ButtonColumn(*grid);
                for (int row = 0; column >= 0 && row < grid->RowCount(); ++row) {
                    // Inside a detail the button cell seldom names the row ("Yes"): rows go
                    // by their number from 1, in the order "grids" lists them.
                    const std::string key = std::to_string(row + 1);
                    DumpHost child(doors_, depth_ + 1, max_depth_);
                    doors_.DetailButtonClick(form, grid->name(), row, child);
                    nested.Add(key, child.Entry());
                }
            }
            out += ",\n    \"details\": " + nested.Take();
        }
        shown_ = std::move(out);
    }

  private:
    EventDoors& doors_;
    int depth_;
    int max_depth_;
    std::string shown_;  // the entry without its closing brace; empty until a form showed
    std::vector<std::string> messages_;
};

}  // namespace

std::string DumpDetails(MainController& controller, int max_depth) {
    std::string out = "{";
    bool first = true;
    for (View* view : controller.LoadedViews()) {
        DetailEntries entries;
        bool any = false;
        DetailHost* const program_host = view->detail_host();
        for (const auto& grid : view->grids()) {
            const int column = ButtonColumn(*grid);
            if (column < 0) continue;
            any = true;
            // The button cells as they stand before the first click (a click may sort nothing,
            // but it may move the current row).
            std::vector<std::string> keys;
            for (int row = 0; row < grid->RowCount(); ++row)
                keys.push_back(grid->CellText(row, column));
            for (int row = 0; row < static_cast<int>(keys.size()); ++row) {
                DumpHost host(controller, 1, max_depth);
                view->SetDetailHost(&host);
                controller.GridButtonClick(*view, grid->name(), row);
                entries.Add(keys[static_cast<size_t>(row)], host.Entry());
            }
        }
        view->SetDetailHost(program_host);
        if (!any) continue;
        out += first ? "\n  " : ",\n  ";
        first = false;
        out += JsonString(view->form_name()) + ": " + entries.Take();
    }
    out += "}";
    return out;
}

std::string DumpDocument(const MainController& controller,
                         const std::vector<std::string>& log_lines, std::string_view details) {
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
    out += "}";
    if (!details.empty()) {
        out += ",\n \"details\": ";
        out += details;
    }
    out += ",\n \"log\": [";
    for (size_t i = 0; i < log_lines.size(); ++i) {
        out += i > 0 ? ",\n   " : "\n   ";
        out += JsonString(log_lines[i]);
    }
    out += "]}\n";
    return out;
}

}  // namespace dv
