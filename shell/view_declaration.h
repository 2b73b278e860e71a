// What a view says of itself, once, where its factory is registered (app/views.cpp): its form,
// the text and place of its tree node, its menu item, its ranks in the four orders the main
// window loads and unloads in, the recap figures its load writes, and its part in the choice of
// the Billed Warranties form. The shell derives its tree, its menus and its orders from these
// declarations (main_tables.h); it keeps only the group nodes and the menu items that are no
// view's.
//
//     {.form = form::kInv, .caption = "Parts", .node = {"I1", "A1", 0},
//      .menu = {Menu::kInventory, 0, "Parts"}, .ranks = {5, 1, 14, 2},
//      .recap = {recap::kInventory}, .make = MakeView<InventoryView>},
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string_view>

namespace dv {

class View;

enum class Menu { kFile, kView, kInventory, kOptions, kHelp };

// A node of the main window's tree. Nodes are inserted parents first, each parent's children in
// the order of their places. Images are 1-based indexes of the tree's image list.
struct ViewNode {
    std::string_view key = {};     // "I1"
    std::string_view parent = {};  // the key of a group node; empty for a root
    int place = 0;                 // 0-based among its parent's children
    int image = 1;
    int selected_image = 2;
};

// A view's item in the menus: its menu, its index in the menu's control array and its text.
struct ViewMenuItem {
    Menu menu = Menu::kView;
    int index = -1;
    std::string_view caption = {};
};

// A view's 1-based places in the start-up's loads (after the recap board), File > Refresh's
// loads (after the new board), the exit's unloads (also File > Refresh's) and the exit's
// releases. 0 is no place: only the recap board, which the shell loads before every view, has
// none in the first two.
struct ViewRanks {
    int startup = 0;
    int refresh = 0;
    int unload = 0;
    int release = 0;
};

// The recap board's figures a view's load writes (recap:: of recap_board.h).
class RecapFigures {
  public:
    constexpr RecapFigures() = default;
    constexpr RecapFigures(std::initializer_list<int> figures) {
        for (int f : figures) bits_ |= f >= 0 && f < 32 ? uint32_t{1} << f : kOutOfRange;
    }
    constexpr bool Has(int figure) const {
        return figure >= 0 && figure < 31 && (bits_ & (uint32_t{1} << figure)) != 0;
    }
    // True when a figure was given that no board could have.
    constexpr bool out_of_range() const { return (bits_ & kOutOfRange) != 0; }

  private:
    static constexpr uint32_t kOutOfRange = uint32_t{1} << 31;
    uint32_t bits_ = 0;
};

// Billed Warranties is one tree node and one menu item with two forms: the plain one, shown
// when the segment flag is clear, and the one by segments, shown when it is set.
enum class BilledForm { kNone, kPlain, kSegments };

using ViewMaker = std::unique_ptr<View> (*)();
// What a view's last load read for the Billed Warranties form: the segment flag, or nothing.
using SegmentFlagReader = std::optional<bool> (*)(const View&);

struct ViewDeclaration {
    std::string_view form = {};     // "frmInv"
    std::string_view caption = {};  // its tree node's text
    ViewNode node = {};
    ViewMenuItem menu = {};
    ViewRanks ranks = {};
    RecapFigures recap = {};
    BilledForm billed = BilledForm::kNone;
    // Set for the one view whose load chooses the Billed Warranties form: the main controller
    // takes the flag after each load of it that ran.
    SegmentFlagReader segment_flag = nullptr;
    // Null: the view is declared but not built; its node and menu item do nothing, the orders
    // skip it.
    ViewMaker make = nullptr;
};

template <typename T>
std::unique_ptr<View> MakeView() {
    return std::make_unique<T>();
}

}  // namespace dv
