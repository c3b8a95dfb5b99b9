#pragma once

#include <string>
#include <vector>

#include "workspace/tool_panel_state.h"

namespace quort {

struct Workspace;
class Ui;

// The tool panels that mark slots of the plan: teacher and subject locks, class locks,
// fixing and indexing. Opening one closes the one before; while one is open, a click on a
// slot of the plan view reaches it (toolPanelSlotClicked).
void openLockPanel(Workspace& ws, ToolPanelKind kind);  // TeacherLock, SubjectLock or RoomLock
void openClassLockPanel(Workspace& ws);
void openFixPanel(Workspace& ws);
void openIndexPanel(Workspace& ws);
void closeToolPanel(Workspace& ws);

// The values the lock panels offer: 0 takes a lock away; a lock of value v is used by
// the generator from relaxation level v on, 127 never. A room lock of any value keeps the
// room from being given out at that slot; its value only tells locks apart.
std::vector<int> lockValueChoices();
// The value a click sets; "Eingabefehler!" and false for one the plan file cannot keep.
bool setLockValue(Workspace& ws, Ui& ui, int value);

// The class field of "Sperren in den Klassen:".
enum class ClassPreset { AllClasses, LowerSchool, UpperSchool };  // "Alle Klassen", "Sek.I", "Sek.II"
void presetLockClasses(Workspace& ws, ClassPreset preset);
// Typed codes, separated by blanks or ","; the first becomes the current class.
// "Eingabefehler!" and false for a code that names no class.
bool setLockClasses(Workspace& ws, Ui& ui, const std::string& codes);
std::string lockClassesText(const Workspace& ws);

// "Bisher gesetzte Stunden": the first press fixes every placed single lesson, the next
// releases exactly the ones that press fixed.
void toggleFixAllPlaced(Workspace& ws);

// The open panel's action at the current slot (day, period and entity of the view);
// true when it changed the plan. Clicks where the action does not apply change nothing.
bool toolPanelSlotClicked(Workspace& ws, Ui& ui);

// The panel's title as the window shows it.
std::string toolPanelTitle(const Workspace& ws);

}  // namespace quort
