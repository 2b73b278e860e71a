// Where the desktop places a form's controls: a small description a view or a detail form
// declares beside its controls, read by the one generic view form and the one generic detail
// dialog. It names controls only; their texts stay in the form's labels and grids.
//
// A layout is a column of rows, top to bottom. A row holds items side by side: a label, a grid,
// a choice list, the program's picture, a control the form's own desktop code makes (a progress
// bar, a button), the room left in the row, or a framed group of labels titled by one of the
// form's labels (the group is shown while its title label is visible; a group named after none
// of the form's labels is a frame without a caption, always shown). A row with a grid takes
// the height the other rows leave; a row without a grid, a frame or a stretch keeps its items
// to the left.
//
//     SetLayout({{layout::Title("Label1")},
//                {layout::Heading("Label2(0)")},
//                {layout::Grid("grdTickets")},
//                {layout::Total("lblPTtot(0)")}});
//
// A form without a layout shows its grids one above the other and its labels below them. A
// form with one shows only the controls it names.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dv {

struct LayoutItem {
    enum class Kind { kLabel, kGrid, kChoice, kGroup, kPicture, kControl, kStretch };
    // How a label's text is set: a form's title, a section's heading, a total, or plain.
    enum class Style { kPlain, kTitle, kHeading, kTotal };

    Kind kind = Kind::kLabel;
    std::string name;  // the control's name; for a group the label of its title (or the name
                       // of an untitled frame)
    Style style = Style::kPlain;
    std::vector<std::string> labels;  // a group's labels, row by row
    int columns = 2;                  // a group's labels per row (caption and value: 2)
};

using LayoutRow = std::vector<LayoutItem>;

struct FormLayout {
    FormLayout() = default;
    FormLayout(std::initializer_list<LayoutRow> described) : rows(described) {}

    std::vector<LayoutRow> rows;

    bool empty() const { return rows.empty(); }
    // True when the layout places the named control (a group's title or one of its labels
    // included).
    bool Places(std::string_view name) const {
        for (const LayoutRow& row : rows) {
            for (const LayoutItem& item : row) {
                if (item.name == name) return true;
                for (const std::string& label : item.labels)
                    if (label == name) return true;
            }
        }
        return false;
    }
};

namespace layout {

inline LayoutItem Item(LayoutItem::Kind kind, std::string name = {},
                       LayoutItem::Style style = LayoutItem::Style::kPlain) {
    LayoutItem item;
    item.kind = kind;
    item.name = std::move(name);
    item.style = style;
    return item;
}
inline LayoutItem Label(std::string name, LayoutItem::Style style = LayoutItem::Style::kPlain) {
    return Item(LayoutItem::Kind::kLabel, std::move(name), style);
}
inline LayoutItem Title(std::string name) {
    return Label(std::move(name), LayoutItem::Style::kTitle);
}
inline LayoutItem Heading(std::string name) {
    return Label(std::move(name), LayoutItem::Style::kHeading);
}
inline LayoutItem Total(std::string name) {
    return Label(std::move(name), LayoutItem::Style::kTotal);
}
inline LayoutItem Grid(std::string name) {
    return Item(LayoutItem::Kind::kGrid, std::move(name));
}
inline LayoutItem Choice(std::string name) {
    return Item(LayoutItem::Kind::kChoice, std::move(name));
}
// The program's picture, named as the form names it ("Image1").
inline LayoutItem Picture(std::string name) {
    return Item(LayoutItem::Kind::kPicture, std::move(name));
}
// A control the form's desktop code makes and names (frmPo's "pb1" and "cmdVtot").
inline LayoutItem Control(std::string name) {
    return Item(LayoutItem::Kind::kControl, std::move(name));
}
// The room a row leaves: the items after it stand at the row's right end.
inline LayoutItem Stretch() {
    return Item(LayoutItem::Kind::kStretch);
}
inline LayoutItem Group(std::string title, std::vector<std::string> labels, int columns = 2) {
    LayoutItem group = Item(LayoutItem::Kind::kGroup, std::move(title));
    group.labels = std::move(labels);
    group.columns = columns < 1 ? 1 : columns;
    return group;
}

// The titled form of a list view: the program's picture and the title "Label1" at the top, the
// grid below them, and the footer row (the totals) under the grid.
inline FormLayout Titled(std::string grid, LayoutRow footer = {}) {
    FormLayout titled{{Picture("Image1"), Title("Label1")}, {Grid(std::move(grid))}};
    if (!footer.empty()) titled.rows.push_back(std::move(footer));
    return titled;
}

}  // namespace layout
}  // namespace dv
