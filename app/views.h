// The program's own room: the one place that knows every subsystem. Every view is declared
// once in app/views.cpp, its factory with it; the shell below sees only the registry.
#pragma once

#include <span>

#include "shell/view_declaration.h"
#include "shell/view_registry.h"

namespace dv {

// Every view the program has, each with its factory, in no particular order.
std::span<const ViewDeclaration> ViewDeclarations();

// Registers every view the program has.
void RegisterViews(ViewRegistry& registry);

// Declares every view without a factory: the tree, the menus and the orders are the program's,
// and a test puts its own views in with ViewRegistry::SetFactory.
void DeclareViews(ViewRegistry& registry);

}  // namespace dv
