#include "shell/main_tables.h"

namespace dv {

const std::array<ViewEntry, 14> kViewTable = {{
    {"A3", "Accounts Receivable", form::kAR},
    {"A7", "Billed Warranties", ""},
    {"A5", "G/L Asset Total", form::kGLA},
    {"I1", "Parts", form::kInv},
    {"I2", "Floor Plan", form::kFp},
    {"I3", "Units", form::kUnits},
    {"A4", "Open Sales Orders", form::kOpenSales},
    {"A2", "Open Shop Work", form::kShop},
    {"A6", "Returns", form::kReturn},
    {"L2", "G/L Liabilites", form::kGLL},
    {"L1", "Open Purchase Orders", form::kPo},
    {"S2", "Profit", form::kProfit},
    {"S1", "Sales / Cash", form::kSales},
    {"R", "Recap", form::kRecap},
}};

const std::array<TreeNodeSpec, 18> kTreeNodes = {{
    {"A", "Assets", "", 1, 1},
    {"A3", "Accounts Receivable", "A", 1, 2},
    {"A7", "Billed Warranties", "A", 1, 2},
    {"A5", "G/L Asset Total", "A", 1, 2},
    {"A1", "Inventory Investment", "A", 1, 2},
    {"I1", "Parts", "A1", 1, 2},
    {"I2", "Floor Plan", "A1", 1, 2},
    {"I3", "Units", "A1", 1, 2},
    {"A4", "Open Sales Orders", "A", 1, 2},
    {"A2", "Open Shop Work", "A", 1, 2},
    {"A6", "Returns", "A", 1, 2},
    {"L", "Liabilities", "", 1, 1},
    {"L2", "G/L Liabilites", "L", 1, 2},
    {"L1", "Open Purchase Orders", "L", 1, 2},
    {"S", "Sales and Profit", "", 1, 1},
    {"S2", "Profit", "S", 1, 2},
    {"S1", "Sales / Cash", "S", 1, 2},
    {"R", "Recap", "", 3, 3},
}};

const std::array<MenuItemSpec, 29> kMenuItems = {{
    {Menu::kFile, -1, "&File", "", MenuAction::kNone, ""},
    {Menu::kFile, 0, "&Refresh", "Ctrl+R", MenuAction::kRefresh, ""},
    {Menu::kFile, 1, "-", "", MenuAction::kSeparator, ""},
    {Menu::kFile, 5, "E&xit", "", MenuAction::kExit, ""},
    {Menu::kView, -1, "&View", "", MenuAction::kNone, ""},
    {Menu::kView, 0, "Accounts Receivable", "", MenuAction::kShowView, "A3"},
    {Menu::kView, 1, "Billed Warranties", "", MenuAction::kShowView, "A7"},
    {Menu::kView, 2, "G / L Assets", "", MenuAction::kShowView, "A5"},
    {Menu::kView, 3, "Inventory", "", MenuAction::kSubmenu, ""},
    {Menu::kInventory, 0, "Parts", "", MenuAction::kShowView, "I1"},
    {Menu::kInventory, 1, "Floor Plan", "", MenuAction::kShowView, "I2"},
    {Menu::kInventory, 2, "Units", "", MenuAction::kShowView, "I3"},
    {Menu::kView, 4, "Open Sales Orders", "", MenuAction::kShowView, "A4"},
    {Menu::kView, 5, "Open Shop Jobs", "", MenuAction::kShowView, "A2"},
    {Menu::kView, 6, "Returns", "", MenuAction::kShowView, "A6"},
    {Menu::kView, 7, "-", "", MenuAction::kSeparator, ""},
    {Menu::kView, 8, "G / L Liabilities", "", MenuAction::kShowView, "L2"},
    {Menu::kView, 9, "Purchase Orders", "", MenuAction::kShowView, "L1"},
    {Menu::kView, 10, "-", "", MenuAction::kSeparator, ""},
    {Menu::kView, 11, "Profit", "", MenuAction::kShowView, "S2"},
    {Menu::kView, 12, "Sales / Cash", "", MenuAction::kShowView, "S1"},
    {Menu::kView, 13, "-", "", MenuAction::kSeparator, ""},
    {Menu::kView, 14, "Recap", "", MenuAction::kShowView, "R"},
    {Menu::kOptions, -1, "&Options", "", MenuAction::kNone, ""},
    {Menu::kOptions, 0, "View &Log File", "Ctrl+L", MenuAction::kViewLog, ""},
    {Menu::kHelp, -1, "&Help", "", MenuAction::kNone, ""},
    {Menu::kHelp, 0, "Dashvane &Help", "F1", MenuAction::kHelp, ""},
    {Menu::kHelp, 1, "-", "", MenuAction::kSeparator, ""},
    {Menu::kHelp, 2, "&About Dashvane 2", "", MenuAction::kAbout, ""},
}};

const std::array<std::string_view, 12> kStartupOrder = {
    form::kAR, form::kFp,     form::kGLA,    form::kGLL,   form::kInv,  form::kOpenSales,
    form::kPo, form::kProfit, form::kReturn, form::kSales, form::kShop, form::kUnits,
};

const std::array<std::string_view, 13> kRefreshOrder = {
    form::kInv,    form::kAR, form::kShop, kBilledWarrantiesSlot, form::kGLA,    form::kOpenSales,
    form::kReturn, form::kPo, form::kGLL,  form::kSales,          form::kProfit, form::kFp,
    form::kUnits,
};

const std::array<std::string_view, 15> kUnloadOrder = {
    form::kUnits, form::kFp,     form::kProfit,    form::kSales, form::kGLL,
    form::kPo,    form::kReturn, form::kOpenSales, form::kGLA,   form::kWarranty,
    form::kShop,  form::kAR,     form::kRecap,     form::kInv,   form::kWarSeg,
};

const std::array<std::string_view, 15> kReleaseOrder = {
    form::kRecap, form::kInv,       form::kAR,     form::kShop,  form::kWarranty,
    form::kGLA,   form::kOpenSales, form::kReturn, form::kPo,    form::kGLL,
    form::kSales, form::kProfit,    form::kFp,     form::kUnits, form::kWarSeg,
};

const ViewEntry* FindViewEntry(std::string_view key) {
    for (const ViewEntry& e : kViewTable) {
        if (e.key == key) return &e;
    }
    return nullptr;
}

const MenuItemSpec* FindMenuItem(Menu menu, int index) {
    if (index < 0) return nullptr;
    for (const MenuItemSpec& m : kMenuItems) {
        if (m.menu == menu && m.index == index) return &m;
    }
    return nullptr;
}

}  // namespace dv
