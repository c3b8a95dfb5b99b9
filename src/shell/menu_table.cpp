#include "shell/menu_table.h"

#include <algorithm>

#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr unsigned kModes0To1 = 0x03;
constexpr unsigned kModes0To2 = 0x07;
constexpr unsigned kModes0To3 = 0x0F;
constexpr unsigned kMode2 = 0x04;
constexpr unsigned kMode3 = 0x08;

MenuNode item(int id, const char* caption) { return {MenuNode::Kind::Item, id, caption, false, 0x1F, {}}; }

// An item that stays grey until base data are loaded.
MenuNode greyItem(int id, const char* caption, unsigned modes = 0x1F) {
  return {MenuNode::Kind::Item, id, caption, true, modes, {}};
}

MenuNode modeItem(int id, const char* caption, unsigned modes) {
  return {MenuNode::Kind::Item, id, caption, false, modes, {}};
}

MenuNode submenu(const char* caption, std::vector<MenuNode> children) {
  return {MenuNode::Kind::Submenu, 0, caption, false, 0x1F, std::move(children)};
}

MenuNode pulldown(const char* caption, bool needsBaseData, std::vector<MenuNode> children) {
  return {MenuNode::Kind::Pulldown, 0, caption, needsBaseData, 0x1F, std::move(children)};
}

MenuNode fileMenu() {
  return pulldown(
      " &Datei     ", false,
      {item(100, "&Neu"), item(101, "&\326ffnen"), greyItem(102, "&Sichern", kModes0To3),
       item(152, "&DIF-Import/Export"), item(153, "Kurswahlen &bearbeiten"), greyItem(137, "Kurse &importieren"),
       greyItem(146, "Kurse &abgleichen"), greyItem(147, "M&ehrarbeit importieren"), item(103, "&Ende")});
}

// Items that work on the timetable itself are greyed in the substitution and exam modes;
// the substitution deletions only make sense in substitution mode.
MenuNode editMenu() {
  return pulldown(
      " &Bearbeiten  ", true,
      {modeItem(104, "&Autom.Setzen", kModes0To2), modeItem(154, "Plan &vervollst\xE4ndigen", kModes0To1),
       modeItem(160,
                "Autom.&Bl\xF6"
                "cke",
                kModes0To1),
       modeItem(161, "Autom.&R\xE4ume", kMode2),
       submenu("&Datenpflege", {item(105, "&Mehrarbeit"), item(149, "&Vertretungen")}),
       submenu("&L\xF6schen", {modeItem(106, "&Zu setzende Stunden", kModes0To2), modeItem(107, "&Plan", kModes0To3),
                               modeItem(108, "&Vertretungen", kMode3), modeItem(109, "&Stattstunden", kMode3)}),
       modeItem(132, "A&usblenden", kModes0To1), modeItem(133, "E&inblenden", kModes0To1)});
}

MenuNode inputMenu() {
  return pulldown(" &Eingabe  ", true,
                  {submenu("&Kurse", {modeItem(110, "K&opplungen", kModes0To1), modeItem(111, "&Bl\366cke", kModes0To1),
                                      item(145, "Kurs&wahlen")}),
                   submenu("&Deputate", {modeItem(112, "&Klassen", kModes0To1), modeItem(113, "&Lehrer", kModes0To1),
                                         modeItem(114, "&Puffer", kModes0To1)}),
                   modeItem(134, "&Fixieren", kModes0To2),
                   submenu("&Sperren", {modeItem(115, "in &Klassenpl\xE4nen", kModes0To2),
                                        modeItem(116, "in &Lehrerpl\xE4nen", kModes0To2),
                                        modeItem(117, "in &Fachpl\xE4nen", kModes0To2)}),
                   modeItem(141, "&Indizieren", kModes0To2), item(142, "&Mehrarbeit"), item(143, "&Extrastunden"),
                   item(135, "&Texte"), item(119, "&Grunddaten")});
}

MenuNode outputMenu() {
  return pulldown(" &Ausgabe     ", true,
                  {item(120, "&Klassenpl\xE4ne"), item(121, "&Lehrerpl\xE4ne"), item(122, "&Raumpl\xE4ne"),
                   item(123, "&Ausfallstatistik"), item(148, "&Fehltage"), item(124, "&Mehrarbeit"),
                   item(125, "&Vertretungen"), item(144, "Klausure&n"), item(138, "&Sch\xFClerpl\xE4ne"),
                   item(126, "&Fachverteilung"), item(127, "K&opplungen"), item(128, "&"),
                   submenu("&Deputate", {item(129, "&Klassen"), item(130, "&Lehrer"), item(136, "&UVD.TXT")}),
                   item(139, "Plankon&trolle"), item(131, "&Grunddaten"), item(140, "Druckere&instellung")});
}

MenuNode helpMenu() { return pulldown(" &Hilfen     ", false, {item(150, "&Hilfen"), item(151, "&Version")}); }

const MenuNode* findIn(const std::vector<MenuNode>& nodes, int id) {
  for (const MenuNode& node : nodes) {
    if (node.kind == MenuNode::Kind::Item && node.id == id) return &node;
    if (const MenuNode* found = findIn(node.children, id)) return found;
  }
  return nullptr;
}

void collectIds(const std::vector<MenuNode>& nodes, std::vector<int>& ids) {
  for (const MenuNode& node : nodes) {
    if (node.kind == MenuNode::Kind::Item) ids.push_back(node.id);
    collectIds(node.children, ids);
  }
}

// The path of menus down to the item; false when it is not below nodes.
bool pathTo(const std::vector<MenuNode>& nodes, int id, std::vector<const MenuNode*>& path) {
  for (const MenuNode& node : nodes) {
    path.push_back(&node);
    if ((node.kind == MenuNode::Kind::Item && node.id == id) || pathTo(node.children, id, path)) return true;
    path.pop_back();
  }
  return false;
}

}  // namespace

const std::vector<MenuNode>& mainMenu() {
  static const std::vector<MenuNode> menu = {fileMenu(), editMenu(), inputMenu(), outputMenu(), helpMenu()};
  return menu;
}

const MenuNode* findMenuItem(int id) { return findIn(mainMenu(), id); }

std::vector<int> menuItemIds() {
  std::vector<int> ids;
  collectIds(mainMenu(), ids);
  return ids;
}

bool menuEnabled(const MenuNode& node, const Workspace& ws) {
  if (node.needsBaseData && !ws.base.loaded()) return false;
  return (node.workModes & (1U << ws.shell.workMode)) != 0;
}

bool menuItemReachable(int id, const Workspace& ws) {
  std::vector<const MenuNode*> path;
  if (!pathTo(mainMenu(), id, path)) return false;
  return std::all_of(path.begin(), path.end(), [&](const MenuNode* node) { return menuEnabled(*node, ws); });
}

}  // namespace quort
