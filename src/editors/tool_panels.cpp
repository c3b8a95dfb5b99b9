#include "editors/tool_panels.h"

#include <algorithm>

#include "data/number_text.h"
#include "data/plan_grids.h"
#include "timetable/assignment_list.h"
#include "timetable/lesson_grid.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr const char* kMenuTopic = "TAVIN.hlp~menu";

void openPanel(Workspace& ws, ToolPanelKind kind, const char* topic) {
  ws.panels.open = kind;
  ws.shell.helpTopic = topic;
}

bool slotInWeek(const Workspace& ws) {
  const ShellState& shell = ws.shell;
  return shell.currentDay >= 1 && shell.currentDay <= ws.base.days && shell.currentPeriod >= 1 &&
         shell.currentPeriod <= ws.base.periodsPerDay;
}

uint16_t& lessonAt(Workspace& ws, int schoolClass) {
  return ws.plan.timetable.lessonWord.at(schoolClass, ws.shell.currentPeriod, ws.shell.currentDay);
}

// The class whose lesson the click means: the current class, or in a teacher's or room's
// view the class taught there.
int classAtSlot(const Workspace& ws) {
  const ShellState& shell = ws.shell;
  const TimetableGrids& grids = ws.plan.timetable;
  int schoolClass = shell.currentClass;
  if (shell.view.kind == PlanEntity::Teacher && hasTeacherGrid(ws.base, shell.currentTeacher)) {
    schoolClass = grids.teacher.at(shell.currentTeacher, shell.currentPeriod, shell.currentDay) >> 8;
  } else if (shell.view.kind == PlanEntity::Room && shell.view.currentRoom >= 1 &&
             shell.view.currentRoom <= ws.base.nRooms()) {
    schoolClass = grids.room.at(shell.view.currentRoom, shell.currentPeriod, shell.currentDay);
  }
  return schoolClass >= 1 && schoolClass <= ws.base.nClasses() ? schoolClass : 0;
}

// A lesson that may be fixed: placed singly (no coupling) and given by a real teacher.
bool fixable(const Workspace& ws, int schoolClass, int period, int day) {
  const uint16_t lesson = ws.plan.timetable.lessonWord.at(schoolClass, period, day);
  const uint16_t room = ws.plan.timetable.roomWord.at(schoolClass, period, day);
  return RoomWord::coupling(room) == 0 && hasTeacherGrid(ws.base, LessonWord::teacher(lesson));
}

bool teacherLockClicked(Workspace& ws) {
  const int teacher = ws.shell.currentTeacher;
  if (!hasTeacherGrid(ws.base, teacher)) return false;
  uint16_t& cell = ws.plan.timetable.teacher.at(teacher, ws.shell.currentPeriod, ws.shell.currentDay);
  const auto value = static_cast<uint16_t>((cell & 0xFF00) | ws.panels.lockValue);
  if (value == cell) return false;
  cell = value;
  return true;
}

// The lock takes v of the subject's rooms. Subjects that use another subject's rooms lock
// that subject's count, which is the one placement reads.
bool subjectLockClicked(Workspace& ws, Ui& ui) {
  const int subject = ws.shell.view.currentSubject;
  if (subject < 1 || subject >= ws.base.nSubjects()) return false;
  const int group = roomGroup(ws.base, subject);
  if (group == 0) {
    std::string code = ws.base.subjects[static_cast<size_t>(subject)].code;
    code.erase(code.find_last_not_of(' ') + 1);
    ui.message("Keine R\xE4ume f\xFCr Fach " + code + "!", MessageStyle{Icon::Exclamation});
    return false;
  }
  uint16_t& cell = ws.plan.timetable.subject.at(group, ws.shell.currentPeriod, ws.shell.currentDay);
  const int usage = std::max(0, (cell & 127) - (cell >> 8));
  const int value = ws.panels.lockValue;
  // Placement counts the low seven bits only.
  if (usage + value > 127) {
    ui.message("Sperre zu hoch!", MessageStyle{Icon::Exclamation});
    return false;
  }
  const auto word = static_cast<uint16_t>(value * 256 + usage + value);
  if (word == cell) return false;
  cell = word;
  return true;
}

// The room of the room view, locked at the slot with the panel's value (0 unlocks). A
// lesson that has the room there keeps it: the lock keeps the room from being given out.
bool roomLockClicked(Workspace& ws) {
  const int room = ws.shell.view.currentRoom;
  if (room < 1 || room > ws.base.nRooms()) return false;
  uint16_t& cell = ws.plan.timetable.roomLock.at(room, ws.shell.currentPeriod, ws.shell.currentDay);
  const auto value = static_cast<uint16_t>(ws.panels.lockValue);
  if (value == cell) return false;
  cell = value;
  return true;
}

bool classLockClicked(Workspace& ws) {
  const std::vector<int>& classes = ws.panels.lockClasses;
  if (classes.empty()) return false;
  const uint16_t lock = classLockWord(ws.base);
  const uint16_t reference = lessonAt(ws, classes.front());
  if (reference != lock && reference != 0) return false;
  const bool removing = reference == lock;
  for (const int c : classes) {
    uint16_t& lesson = lessonAt(ws, c);
    uint16_t& room = ws.plan.timetable.roomWord.at(c, ws.shell.currentPeriod, ws.shell.currentDay);
    if (lesson != (removing ? lock : 0)) continue;
    // Taken away, a lock leaves nothing behind: it was never an assignment.
    lesson = removing ? 0 : lock;
    room = 0;
  }
  recomputeDerivedGrids(ws.base, ws.plan);
  ws.plan.modifiedPlan = true;
  return true;
}

bool fixClicked(Workspace& ws) {
  const int c = classAtSlot(ws);
  if (c == 0 || !fixable(ws, c, ws.shell.currentPeriod, ws.shell.currentDay)) return false;
  lessonAt(ws, c) ^= 128U;
  return true;
}

// Class locks are no lessons and carry no index.
bool indexClicked(Workspace& ws) {
  const int c = classAtSlot(ws);
  if (c == 0) return false;
  uint16_t& lesson = lessonAt(ws, c);
  if (lesson == 0 || lesson == classLockWord(ws.base)) return false;
  lesson ^= 64U;
  return true;
}

}  // namespace

void openLockPanel(Workspace& ws, ToolPanelKind kind) {
  const bool other = kind == ToolPanelKind::SubjectLock || kind == ToolPanelKind::RoomLock;
  openPanel(ws, other ? kind : ToolPanelKind::TeacherLock, "TAVIN.hlp~spset");
}

void openClassLockPanel(Workspace& ws) {
  openPanel(ws, ToolPanelKind::ClassLock, kMenuTopic);
  const int current = ws.shell.currentClass;
  if (current >= 1 && current <= ws.base.nClasses()) ws.panels.lockClasses = {current};
}

void openFixPanel(Workspace& ws) { openPanel(ws, ToolPanelKind::Fix, kMenuTopic); }
void openIndexPanel(Workspace& ws) { openPanel(ws, ToolPanelKind::Index, kMenuTopic); }

void closeToolPanel(Workspace& ws) { openPanel(ws, ToolPanelKind::None, kMenuTopic); }

std::vector<int> lockValueChoices() { return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 127}; }

bool setLockValue(Workspace& ws, Ui& ui, int value) {
  // The plan file keeps seven bits of a lock.
  if (value < 0 || value > 127) {
    ui.message("Eingabefehler!", MessageStyle{Icon::Exclamation});
    return false;
  }
  ws.panels.lockValue = value;
  return true;
}

void presetLockClasses(Workspace& ws, ClassPreset preset) {
  std::vector<int> classes;
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    const double grade = numericValue(ws.base.classes[static_cast<size_t>(c)].code);
    if (preset == ClassPreset::LowerSchool && grade > 10) continue;
    if (preset == ClassPreset::UpperSchool && grade <= 10) continue;
    classes.push_back(c);
  }
  ws.panels.lockClasses = std::move(classes);
}

bool setLockClasses(Workspace& ws, Ui& ui, const std::string& codes) {
  std::vector<int> classes;
  std::string code;
  const auto take = [&]() {
    if (code.empty()) return true;
    const int c = ws.base.findClass(code);
    code.clear();
    if (c == 0) return false;
    if (std::find(classes.begin(), classes.end(), c) == classes.end()) classes.push_back(c);
    return true;
  };
  for (const char ch : codes + " ") {
    if (ch != ' ' && ch != ',' && ch != ';') {
      code += static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch);
      continue;
    }
    if (!take()) {
      ui.message("Eingabefehler!", MessageStyle{Icon::Exclamation});
      return false;
    }
  }
  ws.panels.lockClasses = std::move(classes);
  if (!ws.panels.lockClasses.empty()) ws.shell.currentClass = ws.panels.lockClasses.front();
  return true;
}

std::string lockClassesText(const Workspace& ws) {
  std::string text;
  for (const int c : ws.panels.lockClasses) {
    std::string code = ws.base.classes[static_cast<size_t>(c)].code;
    code.erase(code.find_last_not_of(' ') + 1);
    text += (text.empty() ? "" : ",") + code;
  }
  return text;
}

void toggleFixAllPlaced(Workspace& ws) {
  ToolPanelState& panels = ws.panels;
  Grid& lessons = ws.plan.timetable.lessonWord;
  if (panels.fixAllOn) {
    for (const FixedCell& cell : panels.fixedByAll) {
      if (cell.schoolClass > lessons.entities() || cell.period > lessons.periods()) continue;
      if (!fixable(ws, cell.schoolClass, cell.period, cell.day)) continue;
      lessons.at(cell.schoolClass, cell.period, cell.day) &= static_cast<uint16_t>(~128U);
    }
    panels.fixedByAll.clear();
  } else {
    panels.fixedByAll.clear();
    for (int c = 1; c <= ws.base.nClasses(); ++c) {
      for (int d = 1; d <= kGridDays; ++d) {
        for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
          uint16_t& lesson = lessons.at(c, p, d);
          if (!fixable(ws, c, p, d) || LessonWord::coupledOrFixed(lesson)) continue;
          lesson |= 128U;
          panels.fixedByAll.push_back({c, p, d});
        }
      }
    }
  }
  panels.fixAllOn = !panels.fixAllOn;
  ws.plan.modifiedLocks = true;
}

bool toolPanelSlotClicked(Workspace& ws, Ui& ui) {
  if (!slotInWeek(ws)) return false;
  bool changed = false;
  switch (ws.panels.open) {
    case ToolPanelKind::TeacherLock:
      changed = teacherLockClicked(ws);
      break;
    case ToolPanelKind::SubjectLock:
      changed = subjectLockClicked(ws, ui);
      break;
    case ToolPanelKind::RoomLock:
      changed = roomLockClicked(ws);
      break;
    case ToolPanelKind::ClassLock:
      changed = classLockClicked(ws);
      break;
    case ToolPanelKind::Fix:
      changed = fixClicked(ws);
      break;
    case ToolPanelKind::Index:
      changed = indexClicked(ws);
      break;
    case ToolPanelKind::None:
      break;
  }
  if (changed) ws.plan.modifiedLocks = true;
  return changed;
}

std::string toolPanelTitle(const Workspace& ws) {
  const int room = ws.shell.view.currentRoom;
  if (ws.panels.open == ToolPanelKind::RoomLock && room >= 1 && room <= ws.base.nRooms()) {
    return trimmedCode(ws.base.rooms[static_cast<size_t>(room)].code) + toolPanelTitle(ws.panels.open);
  }
  return toolPanelTitle(ws.panels.open);
}

}  // namespace quort
