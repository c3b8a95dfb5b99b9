#include "shell/main_view_model.h"

#include <algorithm>

#include "data/base_data.h"
#include "data/calendar.h"
#include "data/plan_records.h"
#include "editors/coupling_editing.h"
#include "shell/command_interpreter.h"
#include "shell/day_view_marks.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string trimmedCodeText(const std::string& code) { return code.substr(0, code.find_last_not_of(' ') + 1); }

uint16_t cellOf(const Grid& grid, int entity, int period, int day) {
  if (entity < 1 || entity > grid.entities() || period < 1 || period > grid.periods()) return 0;
  return grid.at(entity, period, day);
}

std::string classCode(const BaseData& base, int c) {
  return c >= 1 && c <= base.nClasses() ? trimmedCodeText(base.classes[c].code) : std::string();
}
std::string teacherCode(const BaseData& base, int t) {
  return t >= 1 && t <= base.nTeachers() ? trimmedCodeText(base.teachers[t].code) : std::string();
}
std::string subjectCode(const BaseData& base, int s) {
  return s >= 1 && s <= base.nSubjects() ? trimmedCodeText(base.subjects[s].code) : std::string();
}
std::string roomCode(const BaseData& base, int r) {
  return r >= 1 && r <= base.nRooms() ? trimmedCodeText(base.rooms[r].code) : std::string();
}

struct GridSource {
  const Workspace& ws;
  const TimetableGrids& grids;
};

// The lesson a class has at a slot, as the class sees it.
GridCell classLesson(const GridSource& source, int c, int period, int day) {
  const BaseData& base = source.ws.base;
  GridCell cell;
  const uint16_t lesson = cellOf(source.grids.lessonWord, c, period, day);
  if (lesson == 0) return cell;
  const uint16_t rooms = cellOf(source.grids.roomWord, c, period, day);
  const int teacher = LessonWord::teacher(lesson);
  const int subject = LessonWord::subject(lesson);
  cell.classLock = teacher == base.nTeachers() && subject == base.nSubjects();
  if (cell.classLock) return cell;
  cell.teacher = teacherCode(base, teacher);
  cell.subject = subjectCode(base, subject);
  cell.subjectIndex = subject;
  cell.room = roomCode(base, RoomWord::room(rooms));
  cell.coupling = RoomWord::coupling(rooms);
  cell.fixed = LessonWord::coupledOrFixed(lesson) && cell.coupling == 0;
  cell.indexMark = LessonWord::indexMark(lesson);
  return cell;
}

// The plan as opened keeps only the class grids; a teacher's class there is the one whose
// lesson (or coupling) names the teacher.
int plannedClassOf(const GridSource& source, int t, int period, int day) {
  const Workspace& ws = source.ws;
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    const uint16_t lesson = cellOf(source.grids.lessonWord, c, period, day);
    if (lesson == 0) continue;
    if (LessonWord::teacher(lesson) == t) return c;
    const int coupling = RoomWord::coupling(cellOf(source.grids.roomWord, c, period, day));
    if (coupling <= 0 || coupling >= static_cast<int>(ws.plan.couplings.size())) continue;
    const std::string& members = ws.plan.couplings[static_cast<size_t>(coupling)];
    for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize); ++i) {
      if (CouplingMemberView(members, i).teacher() == t) return c;
    }
  }
  return 0;
}

GridCell teacherLesson(const GridSource& source, int t, int period, int day) {
  const BaseData& base = source.ws.base;
  const bool planned = &source.grids == &source.ws.plan.reference;
  const uint16_t word = cellOf(planned ? source.ws.plan.timetable.teacher : source.grids.teacher, t, period, day);
  const int c = planned ? plannedClassOf(source, t, period, day) : word >> 8;
  GridCell cell;
  if (c >= 1 && c <= base.nClasses()) {
    cell = classLesson(source, c, period, day);
    cell.classes = classCode(base, c);
    // A coupled lesson's class word names one member; the teacher's own course is in the coupling.
    const auto& couplings = source.ws.plan.couplings;
    if (cell.coupling > 0 && cell.coupling < static_cast<int>(couplings.size())) {
      const std::string& members = couplings[static_cast<size_t>(cell.coupling)];
      for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize); ++i) {
        const CouplingMemberView member(members, i);
        if (member.teacher() != t) continue;
        cell.subject = subjectCode(base, member.subject());
        cell.subjectIndex = member.subject();
        cell.classes = classCode(base, member.schoolClass());
      }
    }
    cell.teacher.clear();
  }
  // An absent teacher's mark is no lock of the plan.
  cell.lock = planned ? 0 : word & 0xFF;
  return cell;
}

GridCell roomLesson(const GridSource& source, int r, int period, int day) {
  const int c = cellOf(source.grids.room, r, period, day);
  GridCell cell;
  if (c >= 1 && c <= source.ws.base.nClasses()) {
    cell = classLesson(source, c, period, day);
    cell.classes = classCode(source.ws.base, c);
    cell.room.clear();
  }
  cell.lock = cellOf(source.grids.roomLock, r, period, day);
  return cell;
}

GridCell subjectLesson(const GridSource& source, int s, int period, int day) {
  const BaseData& base = source.ws.base;
  GridCell cell;
  int found = 0;
  for (int c = 1; c <= base.nClasses(); ++c) {
    const GridCell lesson = classLesson(source, c, period, day);
    if (lesson.classLock || lesson.subjectIndex != s || lesson.teacher.empty()) continue;
    cell.classes += (cell.classes.empty() ? "" : " ") + classCode(base, c);
    cell.teacher = ++found == 1 ? lesson.teacher : std::string();
    cell.room = found == 1 ? lesson.room : std::string();
    cell.coupling = lesson.coupling;
  }
  if (found > 0) {
    cell.subject = subjectCode(base, s);
    cell.subjectIndex = s;
  }
  cell.lock = cellOf(source.grids.subject, s, period, day) >> 8;
  return cell;
}

std::string classTitle(const BaseData& base, int c, std::string& subtitle) {
  const SchoolClass& entry = base.classes[c];
  const std::string head = lineField(entry.line, 2);
  subtitle = head.empty() || head[0] == '>' ? std::string() : "Klassenlehrer " + head;
  if (entry.homeRoom > 0)
    subtitle += (subtitle.empty() ? "" : ", ") + std::string("Raum ") + roomCode(base, entry.homeRoom);
  return "Klasse " + classCode(base, c);
}

std::string roomTitle(const BaseData& base, int r, std::string& subtitle) {
  const Room& entry = base.rooms[r];
  if (entry.owner > 0) subtitle = "Klassenraum der " + classCode(base, entry.owner);
  if (entry.owner < 0) subtitle = "Fachraum " + subjectCode(base, -entry.owner);
  if (lineField(entry.line, 2).starts_with("#")) subtitle = "gesperrt";
  return "Raum " + roomCode(base, r);
}

// Title and the function that reads one cell, for the entity the view shows.
std::string titleOf(const Workspace& ws, std::string& subtitle) {
  const BaseData& base = ws.base;
  const ShellState& shell = ws.shell;
  switch (shell.view.kind) {
    case PlanEntity::Teacher:
      subtitle = lineField(base.teachers[shell.currentTeacher].line, 2);
      return "Lehrer " + teacherCode(base, shell.currentTeacher);
    case PlanEntity::Room:
      return roomTitle(base, shell.view.currentRoom, subtitle);
    case PlanEntity::Subject:
      subtitle = lineField(base.subjects[shell.view.currentSubject].line, 2);
      return "Fach " + subjectCode(base, shell.view.currentSubject);
    case PlanEntity::Class:
      break;
  }
  return classTitle(base, shell.currentClass, subtitle);
}

GridCell lessonOf(const GridSource& source, int period, int day) {
  const ShellState& shell = source.ws.shell;
  switch (shell.view.kind) {
    case PlanEntity::Teacher:
      return teacherLesson(source, shell.currentTeacher, period, day);
    case PlanEntity::Room:
      return roomLesson(source, shell.view.currentRoom, period, day);
    case PlanEntity::Subject:
      return subjectLesson(source, shell.view.currentSubject, period, day);
    case PlanEntity::Class:
      break;
  }
  return classLesson(source, shell.currentClass, period, day);
}

int entityCount(const Workspace& ws, PlanEntity kind) {
  switch (kind) {
    case PlanEntity::Teacher:
      return ws.base.nTeachers() - 1;
    case PlanEntity::Room:
      return ws.base.nRooms();
    case PlanEntity::Subject:
      return ws.base.nSubjects() - 1;
    case PlanEntity::Class:
      break;
  }
  return ws.base.nClasses();
}

bool entityValid(const Workspace& ws, PlanEntity kind, int index) {
  return index >= 1 && index <= entityCount(ws, kind);
}

void showListCommand(CommandContext& context, const std::string& command) {
  ShellState& shell = context.ws.shell;
  if (command.rfind("S:", 0) == 0) {
    shell.mainView = MainView::CouplingList;
    return;
  }
  if (command.find_first_not_of(' ', 2) == std::string::npos) {
    shell.mainView = MainView::BlockList;
    return;
  }
  context.ui.message("Funktion nicht verf\xFCgbar!", MessageStyle{Icon::Information});  // the block editor
}

}  // namespace

WeekGrid buildWeekGrid(const Workspace& ws) {
  const BaseData& base = ws.base;
  const bool original = ws.shell.workMode == 3 && ws.shell.showOriginalPlan;
  const GridSource source{ws, original ? ws.plan.reference : ws.plan.timetable};
  WeekGrid grid;
  const int days = std::clamp(base.days, 1, 6);
  for (int day = 1; day <= days; ++day) grid.dayNames.push_back(DayAbbrev(day));
  for (int slot = 1; slot <= base.periodsPerDay; ++slot) {
    grid.rowNames.push_back(base.weekAlternation ? std::to_string((slot + 1) / 2) + (slot % 2 == 1 ? "A" : "B")
                                                 : std::to_string(slot));
  }
  if (base.afternoonStart > 0 && base.afternoonStart < base.periodsPerDay) grid.afternoonRow = base.afternoonStart;
  if (!base.loaded() || !entityValid(ws, ws.shell.view.kind, currentEntity(ws, ws.shell.view.kind))) {
    grid.cells.resize(static_cast<size_t>(grid.rows()) * static_cast<size_t>(grid.days()));
    return grid;
  }
  grid.title = titleOf(ws, grid.subtitle);
  for (int slot = 1; slot <= base.periodsPerDay; ++slot) {
    for (int day = 1; day <= days; ++day) {
      grid.cells.push_back(lessonOf(source, slot, day));
      if (!original && ws.shell.workMode == 3) {
        const GridCell::DayMark mark = substitutionDayMark(ws, slot, day);
        if (mark == GridCell::DayMark::Open || mark == GridCell::DayMark::Cancelled) {
          grid.cells.back() = lessonOf(GridSource{ws, ws.plan.reference}, slot, day);
        }
        grid.cells.back().dayMark = mark;
      }
      if (grid.cells.back().hasLesson()) ++grid.lessons;
    }
  }
  return grid;
}

std::string formatCoupling(const Workspace& ws, int coupling) { return couplingText(ws, coupling); }

std::vector<std::string> couplingListLines(const Workspace& ws) {
  std::vector<std::string> lines;
  for (int k = 1; k <= ws.plan.nCouplings(); ++k) lines.push_back(formatCoupling(ws, k));
  return lines;
}

std::vector<std::string> blockListLines(const Workspace& ws) {
  std::vector<std::string> lines;
  for (int b = 1; b <= ws.plan.nBlocks(); ++b) {
    lines.push_back(std::to_string(b) + ": " + ws.plan.blocks[static_cast<size_t>(b)]);
  }
  return lines;
}

std::vector<std::string> entityCodes(const Workspace& ws, PlanEntity kind) {
  std::vector<std::string> codes;
  for (int i = 1; i <= entityCount(ws, kind); ++i) {
    switch (kind) {
      case PlanEntity::Class:
        codes.push_back(classCode(ws.base, i));
        break;
      case PlanEntity::Teacher:
        codes.push_back(teacherCode(ws.base, i));
        break;
      case PlanEntity::Room:
        codes.push_back(roomCode(ws.base, i));
        break;
      case PlanEntity::Subject:
        codes.push_back(subjectCode(ws.base, i));
        break;
    }
  }
  return codes;
}

int currentEntity(const Workspace& ws, PlanEntity kind) {
  switch (kind) {
    case PlanEntity::Teacher:
      return ws.shell.currentTeacher;
    case PlanEntity::Room:
      return ws.shell.view.currentRoom;
    case PlanEntity::Subject:
      return ws.shell.view.currentSubject;
    case PlanEntity::Class:
      break;
  }
  return ws.shell.currentClass;
}

void selectEntity(Workspace& ws, PlanEntity kind, int index) {
  if (!entityValid(ws, kind, index)) return;
  ShellState& shell = ws.shell;
  switch (kind) {
    case PlanEntity::Class:
      shell.currentClass = index;
      break;
    case PlanEntity::Teacher:
      shell.currentTeacher = index;
      break;
    case PlanEntity::Room:
      shell.view.currentRoom = index;
      break;
    case PlanEntity::Subject:
      shell.view.currentSubject = index;
      break;
  }
  shell.view.kind = kind;
  shell.mainView = MainView::WeekGrid;
}

bool chooseAndSelectEntity(Workspace& ws, Ui& ui, PlanEntity kind) {
  const char* titles[] = {"Klasse w\xE4hlen", "Lehrer w\xE4hlen", "Raum w\xE4hlen", "Fach w\xE4hlen"};
  ListChoiceRequest request{titles[static_cast<int>(kind)], entityCodes(ws, kind), currentEntity(ws, kind) - 1};
  const int chosen = ui.chooseFromList(request);
  if (chosen < 0 || static_cast<size_t>(chosen) >= request.entries.size()) return false;
  selectEntity(ws, kind, chosen + 1);
  return true;
}

void stepEntity(Workspace& ws, int direction) {
  const PlanEntity kind = ws.shell.view.kind;
  const int count = entityCount(ws, kind);
  if (count < 1) return;
  const int zeroBased = (currentEntity(ws, kind) - 1 + direction % count + count) % count;
  selectEntity(ws, kind, zeroBased + 1);
}

std::string viewLetter(PlanEntity kind) {
  switch (kind) {
    case PlanEntity::Teacher:
      return "L";
    case PlanEntity::Room:
      return "R";
    case PlanEntity::Subject:
      return "FS";
    case PlanEntity::Class:
      break;
  }
  return "K";
}

void registerViewCommands(CommandInterpreter& interpreter) {
  interpreter.registerCommand("S:", showListCommand, kPlanningModes);
  interpreter.registerCommand("B:", showListCommand, kPlanningModes);
}

}  // namespace quort
