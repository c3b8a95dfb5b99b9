#pragma once

#include <string>
#include <vector>

namespace quort {

struct Workspace;
class Application;

// The buttons of the main window, left to right, and the mode label behind them.
enum class MainButton {
  Back,        // "zurück"
  Remove,      // "entfernen" / "Vorgaben"
  Insert,      // "einfügen"
  Show,        // "anzeigen"
  ToPlace,     // "zu setzen" / "Kl.Plan"
  Resources,   // "Resourcen"
  Overview,    // "Übersicht"
  Coupling,    // "Koppl.Nr." / "Koppl.Fach" / "Kurse"
  Classes,     // "Kl"
  Teachers,    // "Le"
  Rooms,       // "Ra"
  Subjects,    // "Fa"
  Couplings,   // "Ko" / "St"
  Blocks,      // "Bl" / "Me"
  PlanToggle,  // the mode label "zu setzen", a button "Vertr.Plan"/"Org.Plan" in work mode 3
};

inline constexpr int kMainButtonCount = 15;

struct ButtonState {
  MainButton button;
  std::string label;  // Windows-1252
  bool enabled = false;
  bool isButton = true;  // false: the mode label, shown as plain text
};

// Every button with the label and state that the current work mode gives it.
std::vector<ButtonState> buttonRow(const Workspace& ws);

// What a press does: mostly a command through the interpreter, the choosers and the
// toggles directly.
void pressButton(Application& app, MainButton button);

}  // namespace quort
