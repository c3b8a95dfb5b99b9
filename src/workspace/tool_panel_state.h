#pragma once

#include <string>
#include <vector>

namespace quort {

// The small tool panels that act on a slot of the plan view when it is clicked. Only
// one is open at a time.
enum class ToolPanelKind { None, TeacherLock, SubjectLock, ClassLock, Fix, Index, RoomLock };

// A lesson that "Bisher gesetzte Stunden" fixed; the next press releases exactly these.
struct FixedCell {
  int schoolClass = 0;
  int period = 0;
  int day = 0;
};

// The panel's title as the window shows it.
inline std::string toolPanelTitle(ToolPanelKind kind) {
  switch (kind) {
    case ToolPanelKind::TeacherLock:
      return "Sperren in Lehrerpl\xE4nen";
    case ToolPanelKind::SubjectLock:
      return "Sperren in Fachpl\xE4nen";
    case ToolPanelKind::ClassLock:
      return "Sperren in den Klassen:";
    case ToolPanelKind::Fix:
      return "Fixieren von Stunden:";
    case ToolPanelKind::Index:
      return "Indizieren von Stunden:";
    case ToolPanelKind::RoomLock:
      return " - Raumsperren";  // behind the room's code when one is chosen
    case ToolPanelKind::None:
      break;
  }
  return {};
}

struct ToolPanelState {
  ToolPanelKind open = ToolPanelKind::None;
  int lockValue = 1;             // the value a click sets in the teacher, subject or room panel
  std::vector<int> lockClasses;  // the class field of the class-lock panel
  bool fixAllOn = false;         // "Bisher gesetzte Stunden", as long as the program runs
  std::vector<FixedCell> fixedByAll;
};

}  // namespace quort
