#include "shell/main_tables.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "shell/recap_board.h"

namespace dv {

const std::array<GroupNodeSpec, 4> kGroupNodes = {{
    {{"A", "", 0, 1, 1}, "Assets"},
    {{"A1", "A", 3, 1, 2}, "Inventory Investment"},
    {{"L", "", 1, 1, 1}, "Liabilities"},
    {{"S", "", 2, 1, 1}, "Sales and Profit"},
}};

const std::array<MenuItemSpec, 15> kShellMenuItems = {{
    {Menu::kFile, -1, "&File", "", MenuAction::kNone, ""},
    {Menu::kFile, 0, "&Refresh", "Ctrl+R", MenuAction::kRefresh, ""},
    {Menu::kFile, 1, "-", "", MenuAction::kSeparator, ""},
    {Menu::kFile, 5, "E&xit", "", MenuAction::kExit, ""},
    {Menu::kView, -1, "&View", "", MenuAction::kNone, ""},
    {Menu::kView, 3, "Inventory", "", MenuAction::kSubmenu, ""},
    {Menu::kView, 7, "-", "", MenuAction::kSeparator, ""},
    {Menu::kView, 10, "-", "", MenuAction::kSeparator, ""},
    {Menu::kView, 13, "-", "", MenuAction::kSeparator, ""},
    {Menu::kOptions, -1, "&Options", "", MenuAction::kNone, ""},
    {Menu::kOptions, 0, "View &Log File", "Ctrl+L", MenuAction::kViewLog, ""},
    {Menu::kHelp, -1, "&Help", "", MenuAction::kNone, ""},
    {Menu::kHelp, 0, "Dashvane &Help", "F1", MenuAction::kHelp, ""},
    {Menu::kHelp, 1, "-", "", MenuAction::kSeparator, ""},
    {Menu::kHelp, 2, "&About Dashvane 2", "", MenuAction::kAbout, ""},
}};

const ViewDeclaration kRecapDeclaration = {
    .form = form::kRecap,
    .caption = "Recap",
    .node = {kRecapKey, "", 3, 3, 3},
    .menu = {Menu::kView, 14, "Recap"},
    .ranks = {.unload = 13, .release = 1},
};

namespace {

std::vector<ViewDeclaration> WithBoard(std::span<const ViewDeclaration> views) {
    std::vector<ViewDeclaration> all(views.begin(), views.end());
    all.push_back(kRecapDeclaration);
    return all;
}

const GroupNodeSpec* FindGroup(std::string_view key) {
    for (const GroupNodeSpec& g : kGroupNodes) {
        if (g.node.key == key) return &g;
    }
    return nullptr;
}

// Every node key's declarations, in the order the keys first appear.
std::vector<std::pair<std::string_view, std::vector<const ViewDeclaration*>>> ByNode(
    const std::vector<ViewDeclaration>& all) {
    std::vector<std::pair<std::string_view, std::vector<const ViewDeclaration*>>> out;
    for (const ViewDeclaration& d : all) {
        auto it = std::find_if(out.begin(), out.end(),
                               [&](const auto& entry) { return entry.first == d.node.key; });
        if (it == out.end()) {
            out.emplace_back(d.node.key, std::vector<const ViewDeclaration*>{});
            it = out.end() - 1;
        }
        it->second.push_back(&d);
    }
    return out;
}

ViewSlot SlotOf(std::string_view key, const std::vector<const ViewDeclaration*>& forms) {
    ViewSlot slot{key, {}, {}, {}};
    for (const ViewDeclaration* d : forms) {
        switch (d->billed) {
            case BilledForm::kNone:
                slot.form = d->form;
                break;
            case BilledForm::kPlain:
                slot.plain = d->form;
                break;
            case BilledForm::kSegments:
                slot.segments = d->form;
                break;
        }
    }
    return slot;
}

// The declarations with a rank in an order, by rank (a tie in declaration order).
std::vector<const ViewDeclaration*> Ranked(const std::vector<ViewDeclaration>& all,
                                           int ViewRanks::*rank) {
    std::vector<const ViewDeclaration*> out;
    for (const ViewDeclaration& d : all) {
        if (d.ranks.*rank > 0) out.push_back(&d);
    }
    std::stable_sort(out.begin(), out.end(),
                     [&](const ViewDeclaration* a, const ViewDeclaration* b) {
                         return a->ranks.*rank < b->ranks.*rank;
                     });
    return out;
}

std::string MenuName(Menu menu) {
    switch (menu) {
        case Menu::kFile:
            return "File";
        case Menu::kView:
            return "View";
        case Menu::kInventory:
            return "Inventory";
        case Menu::kOptions:
            return "Options";
        case Menu::kHelp:
            return "Help";
    }
    return "?";
}

// A rank of every place 1 to n, each once.
void CheckRanks(std::string_view order, std::vector<std::pair<int, std::string_view>> ranks,
                std::vector<std::string>& problems) {
    std::sort(ranks.begin(), ranks.end());
    int expected = 1;
    for (size_t i = 0; i < ranks.size(); ++i) {
        const int rank = ranks[i].first;
        if (i > 0 && rank == ranks[i - 1].first) {
            problems.push_back(std::string(order) + " order: rank " + std::to_string(rank) +
                               " given twice (" + std::string(ranks[i].second) + ")");
            continue;
        }
        if (rank != expected) {
            problems.push_back(std::string(order) + " order: no view at rank " +
                               std::to_string(expected));
        }
        expected = rank + 1;
    }
}

struct TreeNode {
    ViewNode node;
    std::string_view text;
};

// Adds parent's children by their places, each followed by its own. Each node is placed once, so
// the walk ends after as many steps as there are nodes, however the parents are declared.
void PlaceChildren(std::string_view parent, const std::vector<TreeNode>& nodes,
                   std::set<std::string_view>& placed, std::vector<TreeNodeSpec>& tree) {
    std::vector<const TreeNode*> children;
    for (const TreeNode& n : nodes) {
        if (n.node.parent == parent && !n.node.key.empty()) children.push_back(&n);
    }
    std::stable_sort(children.begin(), children.end(), [](const TreeNode* a, const TreeNode* b) {
        return a->node.place < b->node.place;
    });
    for (const TreeNode* n : children) {
        if (!placed.insert(n->node.key).second) continue;
        tree.push_back(
            {n->node.key, n->text, n->node.parent, n->node.image, n->node.selected_image});
        PlaceChildren(n->node.key, nodes, placed, tree);
    }
}

}  // namespace

MainTables BuildMainTables(std::span<const ViewDeclaration> views) {
    const std::vector<ViewDeclaration> all = WithBoard(views);
    const auto by_node = ByNode(all);
    MainTables t;

    // The tree: the group nodes and one node per view key, parents first.
    std::vector<TreeNode> nodes;
    for (const GroupNodeSpec& g : kGroupNodes) nodes.push_back({g.node, g.text});
    for (const auto& [key, forms] : by_node) {
        if (!FindGroup(key)) nodes.push_back({forms.front()->node, forms.front()->caption});
    }
    std::set<std::string_view> placed;
    PlaceChildren("", nodes, placed, t.tree);

    for (const TreeNodeSpec& s : t.tree) {
        for (const auto& [key, forms] : by_node) {
            if (key == s.key && !FindGroup(key)) t.nodes.push_back(SlotOf(key, forms));
        }
    }

    // The menus: the shell's items and one item per view key.
    t.menu_items.assign(kShellMenuItems.begin(), kShellMenuItems.end());
    for (const auto& [key, forms] : by_node) {
        const ViewMenuItem& m = forms.front()->menu;
        if (m.index < 0 || t.FindMenuItem(m.menu, m.index) != nullptr) continue;
        t.menu_items.push_back({m.menu, m.index, m.caption, "", MenuAction::kShowView, key});
    }
    std::stable_sort(t.menu_items.begin(), t.menu_items.end(),
                     [](const MenuItemSpec& a, const MenuItemSpec& b) {
                         return std::pair(static_cast<int>(a.menu), a.index) <
                                std::pair(static_cast<int>(b.menu), b.index);
                     });

    // The loads: one place per node (the two forms of Billed Warranties share theirs).
    const auto slots = [&](int ViewRanks::*rank) {
        std::vector<ViewSlot> out;
        for (const ViewDeclaration* d : Ranked(all, rank)) {
            const bool listed = std::any_of(
                out.begin(), out.end(), [&](const ViewSlot& s) { return s.key == d->node.key; });
            if (listed) continue;
            for (const auto& [key, forms] : by_node) {
                if (key == d->node.key) out.push_back(SlotOf(key, forms));
            }
        }
        return out;
    };
    t.startup = slots(&ViewRanks::startup);
    t.refresh = slots(&ViewRanks::refresh);
    for (const ViewDeclaration* d : Ranked(all, &ViewRanks::unload)) t.unload.push_back(d->form);
    for (const ViewDeclaration* d : Ranked(all, &ViewRanks::release)) t.release.push_back(d->form);
    return t;
}

const ViewSlot* MainTables::FindNode(std::string_view key) const {
    for (const ViewSlot& s : nodes) {
        if (s.key == key) return &s;
    }
    return nullptr;
}

const MenuItemSpec* MainTables::FindMenuItem(Menu menu, int index) const {
    if (index < 0) return nullptr;
    for (const MenuItemSpec& m : menu_items) {
        if (m.menu == menu && m.index == index) return &m;
    }
    return nullptr;
}

std::vector<std::string> CheckViewDeclarations(std::span<const ViewDeclaration> views) {
    const std::vector<ViewDeclaration> all = WithBoard(views);
    std::vector<std::string> problems;
    const auto fault = [&](std::string_view who, const std::string& what) {
        problems.push_back(std::string(who) + ": " + what);
    };

    std::set<std::string_view> forms;
    int choosers = 0;
    for (const ViewDeclaration& d : all) {
        const std::string_view who = d.form.empty() ? d.node.key : d.form;
        if (d.form.empty()) fault(who, "no form");
        if (!d.form.empty() && !forms.insert(d.form).second) fault(who, "declared twice");
        if (d.caption.empty()) fault(who, "no caption");
        const bool board = d.form == form::kRecap;
        if (!board && d.ranks.startup <= 0) fault(who, "no start-up rank");
        if (!board && d.ranks.refresh <= 0) fault(who, "no refresh rank");
        if (d.ranks.unload <= 0) fault(who, "no unload rank");
        if (d.ranks.release <= 0) fault(who, "no release rank");
        if (d.node.key.empty()) fault(who, "no tree node");
        if (FindGroup(d.node.key))
            fault(who, "tree node " + std::string(d.node.key) + " is a group's");
        if (!d.node.parent.empty() && !FindGroup(d.node.parent)) {
            fault(who, "tree node " + std::string(d.node.key) + " below " +
                           std::string(d.node.parent) + ", which is no group node");
        }
        if (d.menu.index < 0) fault(who, "no menu item");
        for (const MenuItemSpec& m : kShellMenuItems) {
            if (m.menu == d.menu.menu && m.index == d.menu.index) {
                fault(who, "menu item " + MenuName(m.menu) + " " + std::to_string(m.index) +
                               " is the shell's");
            }
        }
        if (d.recap.out_of_range()) fault(who, "a recap figure the board does not have");
        for (int f = kRecapLabelCount; f < 31; ++f) {
            if (d.recap.Has(f)) fault(who, "recap figure " + std::to_string(f) + " is no board's");
        }
        if (d.segment_flag != nullptr) ++choosers;
    }
    if (choosers > 1) fault("Billed Warranties", "chosen by more than one view's load");

    // A node of one view, or the two forms of Billed Warranties alike but for the flag.
    const auto by_node = ByNode(all);
    for (const auto& [key, decls] : by_node) {
        const ViewDeclaration& first = *decls.front();
        if (decls.size() == 1) {
            if (first.billed != BilledForm::kNone)
                fault(first.form, "a form of Billed Warranties without the other");
            continue;
        }
        const bool pair =
            decls.size() == 2 && std::set{decls[0]->billed, decls[1]->billed} ==
                                     std::set{BilledForm::kPlain, BilledForm::kSegments};
        if (!pair) {
            fault(key,
                  "tree node of several views that are not the two forms of Billed Warranties");
            continue;
        }
        const ViewDeclaration& other = *decls[1];
        const bool alike =
            first.caption == other.caption && first.node.parent == other.node.parent &&
            first.node.place == other.node.place && first.node.image == other.node.image &&
            first.node.selected_image == other.node.selected_image &&
            first.menu.menu == other.menu.menu && first.menu.index == other.menu.index &&
            first.menu.caption == other.menu.caption &&
            first.ranks.startup == other.ranks.startup &&
            first.ranks.refresh == other.ranks.refresh;
        bool same_figures = true;
        for (int f = 0; f < kRecapLabelCount; ++f)
            same_figures = same_figures && first.recap.Has(f) == other.recap.Has(f);
        if (!alike || !same_figures)
            fault(key, "the two forms of Billed Warranties are declared unlike");
    }

    // Each node its own place below its parent, and its own menu item.
    std::map<std::pair<std::string_view, int>, std::string_view> places;
    for (const GroupNodeSpec& g : kGroupNodes) places[{g.node.parent, g.node.place}] = g.node.key;
    std::map<std::pair<Menu, int>, std::string_view> items;
    for (const auto& [key, decls] : by_node) {
        const ViewDeclaration& d = *decls.front();
        const auto [at, placed] = places.emplace(std::pair(d.node.parent, d.node.place), key);
        if (!placed) {
            fault(key, "place " + std::to_string(d.node.place) + " below '" +
                           std::string(d.node.parent) + "' is " + std::string(at->second) + "'s");
        }
        if (d.menu.index < 0) continue;
        const auto [item, added] = items.emplace(std::pair(d.menu.menu, d.menu.index), key);
        if (!added) {
            fault(key, "menu item " + MenuName(d.menu.menu) + " " + std::to_string(d.menu.index) +
                           " is " + std::string(item->second) + "'s");
        }
    }

    // Every order's ranks 1 to n: one per node in the loads, one per form in the unloads.
    std::vector<std::pair<int, std::string_view>> startup, refresh, unload, release;
    for (const auto& [key, decls] : by_node) {
        const ViewDeclaration& d = *decls.front();
        if (d.ranks.startup > 0) startup.emplace_back(d.ranks.startup, key);
        if (d.ranks.refresh > 0) refresh.emplace_back(d.ranks.refresh, key);
    }
    for (const ViewDeclaration& d : all) {
        if (d.ranks.unload > 0) unload.emplace_back(d.ranks.unload, d.form);
        if (d.ranks.release > 0) release.emplace_back(d.ranks.release, d.form);
    }
    CheckRanks("start-up", std::move(startup), problems);
    CheckRanks("refresh", std::move(refresh), problems);
    CheckRanks("unload", std::move(unload), problems);
    CheckRanks("release", std::move(release), problems);

    // Every figure of the board written by one node.
    for (int f = 0; f < kRecapLabelCount; ++f) {
        int writers = 0;
        for (const auto& [key, decls] : by_node) writers += decls.front()->recap.Has(f) ? 1 : 0;
        if (writers != 1) {
            problems.push_back("recap figure " + std::to_string(f) + ": written by " +
                               std::to_string(writers) + " views");
        }
    }
    return problems;
}

}  // namespace dv
