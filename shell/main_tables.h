// The main window's fixed tables: the views with their tree keys, the tree, the menus, and the
// orders in which the start-up, File > Refresh and the exit load and unload the forms.
#pragma once

#include <array>
#include <span>
#include <string_view>

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

// One view of the tree: its key, its tree text and its form. Billed Warranties (A7) has two
// forms: frmWarSeg when the segment flag is set, else frmWarranty.
struct ViewEntry {
    std::string_view key;
    std::string_view text;
    std::string_view form;  // empty for Billed Warranties
};
extern const std::array<ViewEntry, 14> kViewTable;
inline constexpr std::string_view kBilledWarrantiesKey = "A7";
inline constexpr std::string_view kRecapKey = "R";

// The tree's nodes in insertion order. Images are 1-based indexes of the tree's image list.
struct TreeNodeSpec {
    std::string_view key;
    std::string_view text;
    std::string_view parent;  // empty for a root
    int image;
    int selected_image;
};
extern const std::array<TreeNodeSpec, 18> kTreeNodes;

enum class Menu { kFile, kView, kInventory, kOptions, kHelp };

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
extern const std::array<MenuItemSpec, 29> kMenuItems;

// The status bar's six panels; 5 and 6 keep the time and the date themselves.
inline constexpr std::array<int, 6> kStatusPanelTwips = {5292, 5292, 4410, 4410, 2540, 2540};

// Where a view is placed in the main window, in twips.
struct ChildPlacement {
    int left = 110;
    int top = 110;
    int height = 8445;
    int width = 10905;
};

// The views the start-up loads after the recap board, before Billed Warranties.
extern const std::array<std::string_view, 12> kStartupOrder;
// File > Refresh: the views loaded after the new recap board. kBilledWarrantiesSlot stands for
// frmWarSeg or frmWarranty, chosen when it is reached.
inline constexpr std::string_view kBilledWarrantiesSlot = "A7";
extern const std::array<std::string_view, 13> kRefreshOrder;
// The exit's unload order (also the order File > Refresh unloads in) and its release order.
extern const std::array<std::string_view, 15> kUnloadOrder;
extern const std::array<std::string_view, 15> kReleaseOrder;

// The view entry of a tree key, null for a group key or an unknown one.
const ViewEntry* FindViewEntry(std::string_view key);
// The menu item of an index, null when the menu has none.
const MenuItemSpec* FindMenuItem(Menu menu, int index);

}  // namespace dv
