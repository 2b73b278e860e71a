// The program's view declarations: each view whole, in the tree, the menus and every order, and
// the tables derived from them as the main window has always had them.
#include "app/views.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "shell/main_tables.h"
#include "shell/recap_board.h"

namespace dv {
namespace {

std::vector<std::string> Texts(const std::vector<std::string_view>& in) {
    return {in.begin(), in.end()};
}

std::vector<std::string> Forms(const std::vector<ViewSlot>& slots, bool segment_flag) {
    std::vector<std::string> out;
    for (const ViewSlot& s : slots) out.emplace_back(s.Form(segment_flag));
    return out;
}

bool Contains(const std::vector<std::string_view>& list, std::string_view form) {
    return std::find(list.begin(), list.end(), form) != list.end();
}

TEST(ViewDeclarations, EveryViewIsDeclaredWholeAndEveryTableHoldsIt) {
    EXPECT_EQ(CheckViewDeclarations(ViewDeclarations()), std::vector<std::string>{});

    const MainTables t = BuildMainTables(ViewDeclarations());
    for (const ViewDeclaration& d : ViewDeclarations()) {
        SCOPED_TRACE(std::string(d.form));
        const auto node = std::find_if(t.tree.begin(), t.tree.end(),
                                       [&](const TreeNodeSpec& n) { return n.key == d.node.key; });
        ASSERT_NE(node, t.tree.end());
        EXPECT_EQ(node->text, d.caption);
        const MenuItemSpec* item = t.FindMenuItem(d.menu.menu, d.menu.index);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->node, d.node.key);
        EXPECT_EQ(item->action, MenuAction::kShowView);
        for (const auto* order : {&t.startup, &t.refresh}) {
            EXPECT_TRUE(std::any_of(order->begin(), order->end(), [&](const ViewSlot& s) {
                return s.Form(d.billed == BilledForm::kSegments) == d.form;
            }));
        }
        EXPECT_TRUE(Contains(t.unload, d.form));
        EXPECT_TRUE(Contains(t.release, d.form));
        // The factory makes the form the declaration names.
        ASSERT_NE(d.make, nullptr);
        EXPECT_EQ(d.make()->form_name(), d.form);
    }
    // Every place of every order is a declared view's (or the recap board's).
    const auto declared = [](std::string_view form) {
        return form == form::kRecap ||
               std::any_of(ViewDeclarations().begin(), ViewDeclarations().end(),
                           [&](const ViewDeclaration& d) { return d.form == form; });
    };
    for (const auto* order : {&t.startup, &t.refresh}) {
        for (const ViewSlot& s : *order) {
            EXPECT_TRUE(declared(s.Form(false))) << s.key;
            EXPECT_TRUE(declared(s.Form(true))) << s.key;
        }
    }
    for (const auto* order : {&t.unload, &t.release}) {
        for (std::string_view f : *order) EXPECT_TRUE(declared(f)) << f;
    }
}

TEST(ViewDeclarations, TheTablesAreTheMainWindowsOwn) {
    const MainTables t = BuildMainTables(ViewDeclarations());
    std::vector<std::string> tree;
    for (const TreeNodeSpec& n : t.tree) {
        tree.push_back(std::string(n.key) + "<" + std::string(n.parent) + "> " +
                       std::string(n.text) + " " + std::to_string(n.image) +
                       std::to_string(n.selected_image));
    }
    EXPECT_EQ(tree, (std::vector<std::string>{
                        "A<> Assets 11", "A3<A> Accounts Receivable 12",
                        "A7<A> Billed Warranties 12", "A5<A> G/L Asset Total 12",
                        "A1<A> Inventory Investment 12", "I1<A1> Parts 12", "I2<A1> Floor Plan 12",
                        "I3<A1> Units 12", "A4<A> Open Sales Orders 12", "A2<A> Open Shop Work 12",
                        "A6<A> Returns 12", "L<> Liabilities 11", "L2<L> G/L Liabilites 12",
                        "L1<L> Open Purchase Orders 12", "S<> Sales and Profit 11",
                        "S2<S> Profit 12", "S1<S> Sales / Cash 12", "R<> Recap 33"}));

    std::vector<std::string> menus;
    for (const MenuItemSpec& m : t.menu_items) {
        menus.push_back(std::to_string(static_cast<int>(m.menu)) + "." + std::to_string(m.index) +
                        " " + std::string(m.caption) +
                        (m.node.empty() ? std::string() : " >" + std::string(m.node)));
    }
    EXPECT_EQ(menus, (std::vector<std::string>{"0.-1 &File",
                                               "0.0 &Refresh",
                                               "0.1 -",
                                               "0.5 E&xit",
                                               "1.-1 &View",
                                               "1.0 Accounts Receivable >A3",
                                               "1.1 Billed Warranties >A7",
                                               "1.2 G / L Assets >A5",
                                               "1.3 Inventory",
                                               "1.4 Open Sales Orders >A4",
                                               "1.5 Open Shop Jobs >A2",
                                               "1.6 Returns >A6",
                                               "1.7 -",
                                               "1.8 G / L Liabilities >L2",
                                               "1.9 Purchase Orders >L1",
                                               "1.10 -",
                                               "1.11 Profit >S2",
                                               "1.12 Sales / Cash >S1",
                                               "1.13 -",
                                               "1.14 Recap >R",
                                               "2.0 Parts >I1",
                                               "2.1 Floor Plan >I2",
                                               "2.2 Units >I3",
                                               "3.-1 &Options",
                                               "3.0 View &Log File",
                                               "4.-1 &Help",
                                               "4.0 Dashvane &Help",
                                               "4.1 -",
                                               "4.2 &About Dashvane 2"}));

    EXPECT_EQ(Forms(t.startup, false),
              (std::vector<std::string>{"frmAR", "frmFp", "frmGLA", "frmGLL", "frmInv",
                                        "frmOpenSales", "frmPo", "frmProfit", "frmReturn",
                                        "frmSales", "frmShop", "frmUnits", "frmWarranty"}));
    EXPECT_EQ(Forms(t.startup, true).back(), "frmWarSeg");
    EXPECT_EQ(Forms(t.refresh, true),
              (std::vector<std::string>{"frmInv", "frmAR", "frmShop", "frmWarSeg", "frmGLA",
                                        "frmOpenSales", "frmReturn", "frmPo", "frmGLL", "frmSales",
                                        "frmProfit", "frmFp", "frmUnits"}));
    EXPECT_EQ(Texts(t.unload), (std::vector<std::string>{
                                   "frmUnits", "frmFp", "frmProfit", "frmSales", "frmGLL", "frmPo",
                                   "frmReturn", "frmOpenSales", "frmGLA", "frmWarranty", "frmShop",
                                   "frmAR", "frmRecap", "frmInv", "frmWarSeg"}));
    EXPECT_EQ(Texts(t.release), (std::vector<std::string>{
                                    "frmRecap", "frmInv", "frmAR", "frmShop", "frmWarranty",
                                    "frmGLA", "frmOpenSales", "frmReturn", "frmPo", "frmGLL",
                                    "frmSales", "frmProfit", "frmFp", "frmUnits", "frmWarSeg"}));
}

// A half-declared view is found: the program's declarations with one fault each.
struct BadCase {
    const char* name;
    std::function<void(std::vector<ViewDeclaration>&)> spoil;
    const char* problem;
};

ViewDeclaration& Of(std::vector<ViewDeclaration>& views, std::string_view form) {
    return *std::find_if(views.begin(), views.end(),
                         [&](const ViewDeclaration& d) { return d.form == form; });
}

TEST(ViewDeclarations, AHalfDeclaredViewIsFound) {
    const BadCase cases[] = {
        {"a rank missing", [](auto& v) { Of(v, form::kInv).ranks.refresh = 0; },
         "frmInv: no refresh rank"},
        {"its place in the order left empty", [](auto& v) { Of(v, form::kInv).ranks.refresh = 0; },
         "refresh order: no view at rank 1"},
        {"a rank twice", [](auto& v) { Of(v, form::kAR).ranks.unload = 1; },
         "unload order: rank 1 given twice"},
        {"a node below no group", [](auto& v) { Of(v, form::kFp).node.parent = "A9"; },
         "frmFp: tree node I2 below A9, which is no group node"},
        {"a node on a group's key", [](auto& v) { Of(v, form::kFp).node.key = "A1"; },
         "frmFp: tree node A1 is a group's"},
        {"a taken place", [](auto& v) { Of(v, form::kFp).node.place = 0; },
         "place 0 below 'A1' is"},
        {"a taken menu item", [](auto& v) { Of(v, form::kGLL).menu.index = 9; },
         "menu item View 9 is"},
        {"the shell's menu item", [](auto& v) { Of(v, form::kGLL).menu.index = 7; },
         "frmGLL: menu item View 7 is the shell's"},
        {"no menu item", [](auto& v) { Of(v, form::kGLL).menu.index = -1; },
         "frmGLL: no menu item"},
        {"a shared node", [](auto& v) { Of(v, form::kUnits).node.key = "I2"; },
         "I2: tree node of several views"},
        {"one form of Billed Warranties",
         [](auto& v) { v.erase(v.begin() + (&Of(v, form::kWarSeg) - v.data())); },
         "frmWarranty: a form of Billed Warranties without the other"},
        {"the two forms unlike", [](auto& v) { Of(v, form::kWarSeg).menu.caption = "Warranties"; },
         "A7: the two forms of Billed Warranties are declared unlike"},
        {"a figure written twice",
         [](auto& v) {
             Of(v, form::kUnits).recap = {recap::kUnits, recap::kFloorPlan};
         },
         "recap figure 11: written by 2 views"},
        {"a figure nobody writes", [](auto& v) { Of(v, form::kAR).recap = {}; },
         "recap figure 0: written by 0 views"},
        {"a second chooser",
         [](auto& v) { Of(v, form::kAR).segment_flag = Of(v, form::kShop).segment_flag; },
         "Billed Warranties: chosen by more than one view's load"},
        {"a form twice", [](auto& v) { v.push_back(Of(v, form::kAR)); }, "frmAR: declared twice"},
    };
    for (const BadCase& c : cases) {
        std::vector<ViewDeclaration> views(ViewDeclarations().begin(), ViewDeclarations().end());
        c.spoil(views);
        const std::vector<std::string> problems = CheckViewDeclarations(views);
        const bool found = std::any_of(problems.begin(), problems.end(), [&](const std::string& p) {
            return p.find(c.problem) != std::string::npos;
        });
        EXPECT_TRUE(found) << c.name << ": " << ::testing::PrintToString(problems);
    }
}

// A node below no group is not placed; the walk ends however the parents are declared.
TEST(ViewDeclarations, NodesBelowNoGroupStayOutOfTheTree) {
    std::vector<ViewDeclaration> views(ViewDeclarations().begin(), ViewDeclarations().end());
    Of(views, form::kFp).node.parent = "I3";
    Of(views, form::kUnits).node.parent = "I2";  // a loop of two
    const MainTables t = BuildMainTables(views);
    for (const TreeNodeSpec& n : t.tree) {
        EXPECT_NE(n.key, "I2");
        EXPECT_NE(n.key, "I3");
    }
    EXPECT_EQ(t.tree.size(), 16u);
}

}  // namespace
}  // namespace dv
