#include "timetable/plan_views.h"

#include <algorithm>

#include "data/calendar.h"
#include "data/number_text.h"
#include "data/plan_records.h"
#include "timetable/assignment_list.h"
#include "timetable/manual_placement.h"
#include "timetable/slot_check.h"
#include "workspace/plan_file.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string codeOrQuery(const auto& list, int index) {
  if (index < 1 || index >= static_cast<int>(list.size())) return "?";
  return trimmedCode(list[static_cast<size_t>(index)].code);
}

std::string rightAligned(int value, size_t width) {
  std::string text = std::to_string(value);
  return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

void trimRight(std::string& line) {
  while (!line.empty() && line.back() == ' ') line.pop_back();
}

bool couplingConcerns(const Workspace& ws, int coupling, ListFilter filter) {
  if (coupling < 1 || coupling > ws.plan.nCouplings()) return false;
  const std::string& members = ws.plan.couplings[static_cast<size_t>(coupling)];
  for (size_t m = 0; m < recordCount(members, CouplingMemberView::kSize); ++m) {
    const CouplingMemberView member(members, m);
    if ((filter.schoolClass == 0 || member.schoolClass() == filter.schoolClass) &&
        (filter.teacher == 0 || member.teacher() == filter.teacher)) {
      return true;
    }
  }
  return false;
}

bool entryConcerns(const Workspace& ws, const AssignmentView& entry, ListFilter filter) {
  if (entry.isCoupling()) return couplingConcerns(ws, entry.couplingNumber(), filter);
  return (filter.schoolClass == 0 || entry.schoolClass() == filter.schoolClass) &&
         (filter.teacher == 0 || entry.teacher() == filter.teacher);
}

// What a cell of the plan view names, in the order subject, class, teacher, room.
std::string cellText(const Workspace& ws, PlanViewKind kind, int schoolClass, Slot slot) {
  const PlanViewSwitches& view = ws.shell.view;
  const uint16_t lesson = ws.plan.timetable.lessonWord.at(schoolClass, slot.period, slot.day);
  const uint16_t roomWord = ws.plan.timetable.roomWord.at(schoolClass, slot.period, slot.day);
  if (lesson == 0) return ".";
  if (lesson == classLockWord(ws.base)) return "Sperre";
  std::string text = codeOrQuery(ws.base.subjects, LessonWord::subject(lesson));
  if (view.showClass && kind != PlanViewKind::Class) text += " " + codeOrQuery(ws.base.classes, schoolClass);
  if (view.showTeacher && kind != PlanViewKind::Teacher)
    text += " " + codeOrQuery(ws.base.teachers, LessonWord::teacher(lesson));
  if (view.showRoom && kind != PlanViewKind::Room && RoomWord::room(roomWord) != 0) {
    text += " " + codeOrQuery(ws.base.rooms, RoomWord::room(roomWord));
  }
  if (const int coupling = RoomWord::coupling(roomWord)) text += " K" + std::to_string(coupling);
  return text;
}

std::string slotText(const Workspace& ws, PlanViewKind kind, int entity, Slot slot) {
  const TimetableGrids& grids = ws.plan.timetable;
  switch (kind) {
    case PlanViewKind::Class:
      return cellText(ws, kind, entity, slot);
    case PlanViewKind::Teacher: {
      const uint16_t cell = grids.teacher.at(entity, slot.period, slot.day);
      if ((cell >> 8) > 0) return cellText(ws, kind, cell >> 8, slot);
      return (cell & 255) != 0 ? "#" + std::to_string(cell & 255) : ".";
    }
    case PlanViewKind::Room: {
      const int holder = grids.room.at(entity, slot.period, slot.day);
      return holder > 0 ? cellText(ws, kind, holder, slot) : ".";
    }
    case PlanViewKind::Subject: {
      const uint16_t cell = grids.subject.at(entity, slot.period, slot.day);
      std::string text = (cell & 255) != 0 ? std::to_string(cell & 255) : ".";
      if ((cell >> 8) != 0) text += " #" + std::to_string(cell >> 8);
      return text;
    }
  }
  return ".";
}

int entityCount(const Workspace& ws, PlanViewKind kind) {
  switch (kind) {
    case PlanViewKind::Class:
      return ws.base.nClasses();
    case PlanViewKind::Teacher:
      return ws.base.nTeachers() - 1;
    case PlanViewKind::Room:
      return ws.base.nRooms();
    case PlanViewKind::Subject:
      return ws.base.nSubjects() - 1;
  }
  return 0;
}

std::string entityTitle(const Workspace& ws, PlanViewKind kind, int entity) {
  switch (kind) {
    case PlanViewKind::Class:
      return "Klasse " + codeOrQuery(ws.base.classes, entity);
    case PlanViewKind::Teacher:
      return "Lehrer " + codeOrQuery(ws.base.teachers, entity);
    case PlanViewKind::Room:
      return "Raum " + codeOrQuery(ws.base.rooms, entity);
    case PlanViewKind::Subject:
      return "Fach " + codeOrQuery(ws.base.subjects, entity);
  }
  return {};
}

std::string freeRooms(const Workspace& ws, Slot slot) {
  std::string text;
  for (int r = 1; r <= ws.base.nRooms(); ++r) {
    // A locked room is not free for anyone, even when nobody uses it.
    if (ws.plan.timetable.room.at(r, slot.period, slot.day) == 0 && !roomLocked(ws.base, r) &&
        !roomLockedAt(ws.plan.timetable, r, slot)) {
      text += " " + codeOrQuery(ws.base.rooms, r);
    }
  }
  return text;
}

std::string freeTeachers(const Workspace& ws, Slot slot) {
  std::string text;
  for (int t = 1; t < ws.base.nTeachers(); ++t) {
    const bool free = ws.plan.timetable.teacher.at(t, slot.period, slot.day) == 0 &&
                      ws.plan.timetable.teacher.at(t, 0, slot.day) < ws.base.planOptions.maxTeacherLessonsPerDay;
    if (free) text += " " + codeOrQuery(ws.base.teachers, t);
  }
  return text;
}

// The week as the slot check sees the entry, one line per period.
std::vector<std::string> entryWeek(Workspace& ws, const std::string& entry) {
  const std::vector<SlotFit> fits = entryFits(ws, entry);
  std::string header = "     ";
  for (int day = 1; day <= ws.base.days; ++day) header += " " + DayAbbrev(day);
  std::vector<std::string> lines{header};
  for (int period = 1; period <= ws.base.periodsPerDay; ++period) {
    std::string line = "  " + rightAligned(period, 2) + " ";
    for (int day = 1; day <= ws.base.days; ++day) {
      const CheckCode code = fits[fitIndex(ws, Slot{day, period})].code;
      line += code == CheckCode::Free ? "  ." : "  " + std::to_string(static_cast<int>(code));
    }
    lines.push_back(line);
  }
  return lines;
}

int openPeriods(const std::string& assignments) {
  int sum = 0;
  for (size_t i = 0; i < recordCount(assignments, AssignmentView::kSize); ++i)
    sum += AssignmentView(assignments, i).periods();
  return sum;
}

std::vector<std::string> totals(const Workspace& ws) {
  int placed = 0;
  for (int c = 1; c <= ws.base.nClasses(); ++c) placed += ws.plan.lessonsPerClass[static_cast<size_t>(c)];
  std::vector<std::string> lines{"Gesetzte Stunden: " + std::to_string(placed),
                                 "Zu setzende Stunden: " + std::to_string(openPeriods(ws.plan.assignments)),
                                 "Stunden ohne Raum: " + std::to_string(missingRoomsList(ws, {}).size())};
  for (int day = 1; day <= ws.base.days; ++day) {
    int lessons = 0;
    for (int c = 1; c <= ws.base.nClasses(); ++c) {
      for (int p = 1; p <= ws.base.periodsPerDay; ++p) lessons += ws.plan.timetable.lessonWord.at(c, p, day) != 0;
    }
    lines.push_back(DayAbbrev(day) + ": " + std::to_string(lessons) + " Stunden");
  }
  const std::vector<std::string> differences = checkPlanConsistency(ws);
  lines.push_back(differences.empty() ? "Pl\xE4ne stimmen \xFC"
                                        "berein."
                                      : "Pl\xE4ne weichen ab: " + std::to_string(differences.size()));
  for (size_t i = 0; i < std::min<size_t>(differences.size(), 20); ++i) lines.push_back("  " + differences[i]);
  return lines;
}

}  // namespace

std::vector<std::string> lessonsToPlaceList(const Workspace& ws, ListFilter filter) {
  std::vector<std::string> lines;
  int sum = 0;
  const std::string& list = ws.plan.assignments;
  for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
    const AssignmentView entry(list, i);
    if (entry.periods() == 0 || !entryConcerns(ws, entry, filter)) continue;
    std::string line =
        rightAligned(static_cast<int>(i) + 1, 3) + "  " +
        entryText(ws.base, std::string_view(list).substr(i * AssignmentView::kSize, AssignmentView::kSize));
    if (entry.isCoupling()) line = padRight(line, 16) + couplingMembersText(ws.base, ws.plan, entry.couplingNumber());
    lines.push_back(line);
    sum += entry.periods();
  }
  lines.push_back("Summe: " + std::to_string(sum) + " Stunden");
  return lines;
}

std::vector<std::string> missingRoomsList(const Workspace& ws, ListFilter filter) {
  std::vector<std::string> lines;
  const TimetableGrids& grids = ws.plan.timetable;
  for (int day = 1; day <= ws.base.days; ++day) {
    for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
      for (int c = 1; c <= ws.base.nClasses(); ++c) {
        const uint16_t lesson = grids.lessonWord.at(c, p, day);
        const int teacher = LessonWord::teacher(lesson);
        const int subject = LessonWord::subject(lesson);
        if (teacher == 0 || subject == 0 || subject == ws.base.nSubjects()) continue;
        if (RoomWord::room(grids.roomWord.at(c, p, day)) != 0) continue;
        if ((filter.schoolClass != 0 && c != filter.schoolClass) ||
            (filter.teacher != 0 && teacher != filter.teacher)) {
          continue;
        }
        lines.push_back(DayAbbrev(day) + rightAligned(p, 3) + "  " + padRight(codeOrQuery(ws.base.classes, c), 4) +
                        padRight(codeOrQuery(ws.base.subjects, subject), 3) + codeOrQuery(ws.base.teachers, teacher));
      }
    }
  }
  return lines;
}

size_t fitIndex(const Workspace& ws, Slot slot) {
  return static_cast<size_t>((slot.period - 1) * ws.base.days + slot.day - 1);
}

std::vector<SlotFit> entryFits(Workspace& ws, const std::string& entry) {
  const PlacementState savedState = ws.placement;
  const int savedClass = ws.shell.currentClass;
  const int savedTeacher = ws.shell.currentTeacher;
  const DecodedEntry decoded = decodeEntry(ws, entry);
  std::vector<SlotFit> fits(static_cast<size_t>(ws.base.days * ws.base.periodsPerDay));
  for (int period = 1; period <= ws.base.periodsPerDay; ++period) {
    for (int day = 1; day <= ws.base.days; ++day) {
      SlotFit& fit = fits[fitIndex(ws, Slot{day, period})];
      fit.code = checkSlot(ws, decoded.units, Slot{day, period}, {.level = 0, .extra = decoded.extra});
      if (fit.code != CheckCode::Free) fit.reason = refusalText(ws);
    }
  }
  ws.placement = savedState;
  ws.shell.currentClass = savedClass;
  ws.shell.currentTeacher = savedTeacher;
  return fits;
}

std::vector<std::string> resourcesText(Workspace& ws, Slot slot) {
  std::vector<std::string> lines{DayAbbrev(slot.day) + " " + std::to_string(slot.period),
                                 "Freie R\xE4ume:" + freeRooms(ws, slot), "Freie Lehrer:" + freeTeachers(ws, slot)};
  const std::string entry = ws.shell.currentEntry;
  if (entry.size() != AssignmentView::kSize) return lines;
  lines.push_back("Resourcen " + entryText(ws.base, entry));
  for (std::string& line : entryWeek(ws, entry)) lines.push_back(std::move(line));
  return lines;
}

std::vector<std::string> planGridLines(const Workspace& ws, PlanViewKind kind, int entity) {
  constexpr size_t kCellWidth = 16;
  std::string header = "     ";
  for (int day = 1; day <= ws.base.days; ++day) header += padRight(DayAbbrev(day), kCellWidth);
  trimRight(header);
  std::vector<std::string> lines{header};
  for (int period = 1; period <= ws.base.periodsPerDay; ++period) {
    std::string line = "  " + padRight(std::to_string(period), 3);
    for (int day = 1; day <= ws.base.days; ++day) {
      line += padRight(slotText(ws, kind, entity, Slot{day, period}), kCellWidth - 1) + " ";
    }
    trimRight(line);
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> planOverview(const Workspace& ws, OverviewPart part) {
  if (part == OverviewPart::Total) return totals(ws);
  const PlanViewKind kind = part == OverviewPart::Classes    ? PlanViewKind::Class
                            : part == OverviewPart::Teachers ? PlanViewKind::Teacher
                                                             : PlanViewKind::Room;
  std::vector<std::string> lines;
  for (int entity = 1; entity <= entityCount(ws, kind); ++entity) {
    lines.push_back(entityTitle(ws, kind, entity));
    for (std::string& line : planGridLines(ws, kind, entity)) lines.push_back(std::move(line));
  }
  return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace quort
