// The main window's tables: the tree, the menus, and the orders in which the start-up, File >
// Refresh and the exit load and unload the forms. The shell holds the group nodes, the menu items
// that show no view and the recap board; every other node, item and place in an order comes from
// a view's declaration (view_declaration.h).
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/view_declaration.h"

namespace dv {

// Form names.
namespace form {
inline constexpr std::string_view kAR = "frmAR";
inline constexpr std::string_view kWarranty = "frmWarranty";
inline constexpr std::string_view kWarSeg = "frmWarSeg";
inline constexpr std::string_view kGLA = "frmGLA";
inline constexpr std::string_view kInv = "frmInv";
inline constexpr std::string_view kFp = "frmFp";
inline constexpr std::string_view kUnits = "frmUnits";
inline constexpr std::string_view kOpenSales = "frmOpenSales";
inline constexpr std::string_view kShop = "frmShop";
inline constexpr std::string_view kReturn = "frmReturn";
inline constexpr std::string_view kGLL = "frmGLL";
inline constexpr std::string_view kPo = "frmPo";
inline constexpr std::string_view kProfit = "frmProfit";
inline constexpr std::string_view kSales = "frmSales";
inline constexpr std::string_view kRecap = "frmRecap";
}  // namespace form

inline constexpr std::string_view kBilledWarrantiesKey = "A7";
inline constexpr std::string_view kRecapKey = "R";

// A node of the tree as the window adds it. Images are 1-based indexes of the tree's image list.
struct TreeNodeSpec {
    std::string_view key;
    std::string_view text;
    std::string_view parent;  // empty for a root
    int image;
    int selected_image;
};

// The tree's group nodes: Assets, Inventory Investment below it, Liabilities, Sales and Profit.
struct GroupNodeSpec {
    ViewNode node;
    std::string_view text;
};
extern const std::array<GroupNodeSpec, 4> kGroupNodes;

enum class MenuAction {
    kNone,  // a menu title, or an item without action
    kSeparator,
    kRefresh,
    kExit,
    kShowView,  // select the item's tree node, then show its view
    kSubmenu,   // opens the Inventory submenu
    kViewLog,
    kHelp,
    kAbout,
};

struct MenuItemSpec {
    Menu menu;
    int index;  // the item's index in its control array; -1 for the menu title
    std::string_view caption;
    std::string_view shortcut;  // "Ctrl+R", "F1"; empty for none
    MenuAction action;
    std::string_view node;  // the tree key of a kShowView item
};
// The menu titles and the items that show no view: Refresh, Exit, the Inventory submenu, the
// log viewer, help, about and the separators.
extern const std::array<MenuItemSpec, 15> kShellMenuItems;

// The recap board's declaration: the shell's own view, loaded before every other.
extern const ViewDeclaration kRecapDeclaration;

// The status bar's six panels; 5 and 6 keep the time and the date themselves.
inline constexpr std::array<int, 6> kStatusPanelTwips = {5292, 5292, 4410, 4410, 2540, 2540};

// Where a view is placed in the main window, in twips.
struct ChildPlacement {
    int left = 110;
    int top = 110;
    int height = 8445;
    int width = 10905;
};

// The views of one tree node: an ordinary view's form, or the two forms of Billed Warranties.
struct ViewSlot {
    std::string_view key;
    std::string_view form;      // an ordinary view's; empty for Billed Warranties
    std::string_view plain;     // Billed Warranties when the segment flag is clear
    std::string_view segments;  // Billed Warranties when it is set
    // The form shown for the flag; empty when that form is not declared.
    std::string_view Form(bool segment_flag) const {
        return !form.empty() ? form : segment_flag ? segments : plain;
    }
};

// The main window's tables, derived from the declared views and the recap board.
struct MainTables {
    std::vector<TreeNodeSpec> tree;        // in insertion order
    std::vector<MenuItemSpec> menu_items;  // by menu, each menu's title first, then by index
    std::vector<ViewSlot> nodes;           // the views' nodes, in tree order
    // The start-up's loads after the recap board (Billed Warranties chosen when reached: Open
    // Shop Work's load gives the flag first) and File > Refresh's after the new board.
    std::vector<ViewSlot> startup;
    std::vector<ViewSlot> refresh;
    // The exit's unload order (also the order File > Refresh unloads in) and its release order.
    std::vector<std::string_view> unload;
    std::vector<std::string_view> release;

    // The views of a tree key, null for a group key or an unknown one.
    const ViewSlot* FindNode(std::string_view key) const;
    // The menu item of an index, null when the menu has none.
    const MenuItemSpec* FindMenuItem(Menu menu, int index) const;
};

// The tables of the declared views, the recap board's added. Of declarations that
// CheckViewDeclarations finds fault with, the tables hold what can be placed: a node below no
// group node is not in the tree, a view without a rank is not in that order.
MainTables BuildMainTables(std::span<const ViewDeclaration> views);

// What is wrong with a set of declarations (the recap board's added), one line each; empty when
// every view is declared whole: a form declared once, all four ranks, each order's ranks 1 to n
// without a gap or a repeat, a node below a group node, a place and a menu item of its own, a
// node shared only by the two forms of Billed Warranties, every recap figure written by one
// node, at most one view that chooses the Billed Warranties form.
std::vector<std::string> CheckViewDeclarations(std::span<const ViewDeclaration> views);

}  // namespace dv
