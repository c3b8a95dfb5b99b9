#pragma once

#include <string>
#include <vector>

namespace quort {

struct Workspace;

// One entry of the main window's menu bar: a pulldown, a submenu or an item. Items carry
// the number that identifies them everywhere (the window's command identifiers).
struct MenuNode {
  enum class Kind { Pulldown, Submenu, Item };
  Kind kind = Kind::Item;
  int id = 0;           // items only
  std::string caption;  // Windows-1252, with its "&" mnemonic
  bool needsBaseData = false;
  unsigned workModes = 0x1F;  // bit n: enabled in work mode n
  std::vector<MenuNode> children;
};

// The five pulldowns " &Datei     " ... " &Hilfen     " with everything below them.
const std::vector<MenuNode>& mainMenu();

// The item with that number, or nullptr.
const MenuNode* findMenuItem(int id);

// Every item number in menu order.
std::vector<int> menuItemIds();

// The greying rule: base data loaded where needed, and the current work mode allowed.
bool menuEnabled(const MenuNode& node, const Workspace& ws);
// Whether the item with that number can be chosen: it and every menu above it enabled.
bool menuItemReachable(int id, const Workspace& ws);

}  // namespace quort
