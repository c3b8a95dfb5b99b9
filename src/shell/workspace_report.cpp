#include "shell/workspace_report.h"

#include <cstdio>

#include "data/calendar.h"
#include "data/field_reader.h"
#include "data/plan_records.h"
#include "timetable/lesson_grid.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string trimmedCode(const std::string& code) { return code.substr(0, code.find_last_not_of(' ') + 1); }

std::string roomName(const BaseData& base, int room) {
  if (room <= 0 || room > base.nRooms()) return "-";
  return trimmedCode(base.rooms[room].code);
}

// The rooms of a ring, walked at most nRooms steps.
std::string ringText(const BaseData& base, int first) {
  std::string text;
  int room = first;
  for (int steps = 0; room > 0 && room <= base.nRooms() && steps < base.nRooms(); ++steps) {
    if (!text.empty()) text += ' ';
    text += roomName(base, room);
    room = base.rooms[room].nextRoom;
    if (room == first) break;
  }
  return text.empty() ? "-" : text;
}

std::vector<std::string> describeClass(const BaseData& base, int c) {
  const SchoolClass& entry = base.classes[c];
  return {"index: " + std::to_string(c), "line: " + entry.line, "code: " + trimmedCode(entry.code),
          "homeRoom: " + roomName(base, entry.homeRoom)};
}

std::vector<std::string> describeTeacher(const BaseData& base, int t) {
  const Teacher& entry = base.teachers[t];
  return {"index: " + std::to_string(t), "line: " + entry.line, "code: " + trimmedCode(entry.code),
          "weight: " + formatSingle(entry.weight)};
}

std::vector<std::string> describeSubject(const BaseData& base, int s) {
  const Subject& entry = base.subjects[s];
  return {"index: " + std::to_string(s),
          "line: " + entry.line,
          "code: " + trimmedCode(entry.code),
          "weight: " + formatSingle(entry.weight),
          "roomSpec: " + std::to_string(entry.roomSpec),
          "lessonKind: " + std::to_string(entry.lessonKind),
          "rooms: " + ringText(base, entry.firstRoom)};
}

std::string ownerText(const BaseData& base, int owner) {
  if (owner > 0 && owner <= base.nClasses()) return "class " + trimmedCode(base.classes[owner].code);
  if (owner < 0 && -owner <= base.nSubjects()) return "subject " + trimmedCode(base.subjects[-owner].code);
  return "-";
}

std::vector<std::string> describeRoom(const BaseData& base, int r) {
  const Room& entry = base.rooms[r];
  return {"index: " + std::to_string(r), "line: " + entry.line, "code: " + trimmedCode(entry.code),
          "owner: " + ownerText(base, entry.owner), "nextRoom: " + roomName(base, entry.nextRoom)};
}

std::string codeOf(const std::string& code, size_t width) {
  std::string text = code;
  text.resize(width, ' ');
  return text;
}

std::string paddedClassCode(const BaseData& base, int c) {
  return c >= 1 && c <= base.nClasses() ? base.classes[c].code : "   ";
}

// A subject's slot: how many of its rooms are in use, and its lock.
std::string subjectCellText(const TimetableGrids& grids, int subject, int period, int day) {
  const uint16_t cell = grids.subject.at(subject, period, day);
  const int lock = cell >> 8;
  const int usage = (cell & 127) - lock;
  std::string text = usage > 0 ? std::to_string(usage) : ".";
  if (lock > 0) text += " #" + std::to_string(lock);
  return text;
}

// One cell of a week grid: what is taught there, seen from the entity of the view.
std::string cellText(const Workspace& ws, const std::string& kind, int entity, int period, int day) {
  const BaseData& base = ws.base;
  const TimetableGrids& grids = ws.plan.timetable;
  int schoolClass = entity;
  std::string lock;
  if (kind == "teacher") {
    schoolClass = grids.teacher.at(entity, period, day) >> 8;
    if (const int value = grids.teacher.at(entity, period, day) & 127) lock = "#" + std::to_string(value);
  } else if (kind == "room") {
    schoolClass = grids.room.at(entity, period, day);
    if (const int value = grids.roomLock.at(entity, period, day)) lock = "#" + std::to_string(value);
  }
  if (kind == "subject") return subjectCellText(grids, entity, period, day);
  if (schoolClass < 1 || schoolClass > base.nClasses()) return lock.empty() ? "." : lock;
  const uint16_t lesson = grids.lessonWord.at(schoolClass, period, day);
  const uint16_t roomWord = grids.roomWord.at(schoolClass, period, day);
  if (LessonWord::teacher(lesson) == 0) return ".";
  if (lesson == classLockWord(base)) return "Sperre";
  const int teacher = LessonWord::teacher(lesson);
  const int subject = LessonWord::subject(lesson);
  std::string text = kind == "class" ? "" : paddedClassCode(base, schoolClass) + " ";
  text += (subject <= base.nSubjects() ? base.subjects[subject].code : "??") + " ";
  if (kind != "teacher") text += (teacher <= base.nTeachers() ? base.teachers[teacher].code : "??") + " ";
  if (kind != "room") text += codeOf(roomName(base, RoomWord::room(roomWord)), 3);
  const int coupling = RoomWord::coupling(roomWord);
  if (coupling != 0) text += " K" + std::to_string(coupling);
  // What the tool panels marked: fixed, indexed, locked.
  if (coupling == 0 && LessonWord::coupledOrFixed(lesson)) text += " F";
  if (LessonWord::indexMark(lesson)) text += " I";
  if (!lock.empty()) text += " " + lock;
  return text;
}

constexpr size_t kCellWidth = 18;

std::vector<std::string> weekGrid(const Workspace& ws, const std::string& kind, int entity) {
  const BaseData& base = ws.base;
  std::vector<std::string> lines;
  std::string header = "      ";
  for (int day = 1; day <= base.days; ++day) header += codeOf(DayAbbrev(day), kCellWidth);
  while (!header.empty() && header.back() == ' ') header.pop_back();
  lines.push_back(header);
  for (int period = 1; period <= base.periodsPerDay; ++period) {
    std::string line = "  " + codeOf(std::to_string(period), 4);
    for (int day = 1; day <= base.days; ++day) line += codeOf(cellText(ws, kind, entity, period, day), kCellWidth);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

template <typename Lines>
std::vector<std::string> withGrid(const Workspace& ws, Lines lines, const std::string& kind, int entity) {
  if (!ws.plan.timetable.lessonWord.entities()) return lines;
  for (std::string& line : weekGrid(ws, kind, entity)) lines.push_back(std::move(line));
  return lines;
}

int placedCells(const Workspace& ws) {
  int cells = 0;
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    for (int day = 1; day <= kGridDays; ++day) {
      for (int period = 1; period <= ws.base.periodsPerDay; ++period) {
        if (ws.plan.timetable.lessonWord.at(c, period, day) != 0) ++cells;
      }
    }
  }
  return cells;
}

int openPeriods(const std::string& assignments) {
  int sum = 0;
  for (size_t i = 0; i < recordCount(assignments, AssignmentView::kSize); ++i) {
    sum += AssignmentView(assignments, i).periods();
  }
  return sum;
}

}  // namespace

std::vector<std::string> workspaceInfo(const Workspace& ws) {
  const BaseData& base = ws.base;
  const PlanTables& plan = ws.plan;
  const auto withoutSentinel = [](int n) { return n > 0 ? n - 1 : 0; };
  return {"days: " + std::to_string(base.days),
          "periods: " + std::to_string(base.periodsPerDay),
          "afternoonStart: " + std::to_string(base.afternoonStart),
          "weekAlternation: " + std::to_string(base.weekAlternation ? 1 : 0),
          "classes: " + std::to_string(base.nClasses()),
          "teachers: " + std::to_string(withoutSentinel(base.nTeachers())),
          "subjects: " + std::to_string(withoutSentinel(base.nSubjects())),
          "rooms: " + std::to_string(base.nRooms()),
          "assignments: " + std::to_string(recordCount(plan.assignments, AssignmentView::kSize)),
          "buffer: " + std::to_string(recordCount(plan.assignmentBuffer, AssignmentView::kSize)),
          "couplings: " + std::to_string(plan.nCouplings()),
          "blocks: " + std::to_string(plan.nBlocks()),
          "placedCells: " + std::to_string(base.loaded() ? placedCells(ws) : 0),
          "openPeriods: " + std::to_string(openPeriods(plan.assignments)),
          "openLessons: " + std::to_string(recordCount(plan.openLessons, OpenLessonView::kSize)),
          "freedLessons: " + std::to_string(recordCount(plan.freedLessons, FreedLessonView::kSize))};
}

std::optional<std::vector<std::string>> describeEntity(const Workspace& ws, const std::string& kind,
                                                       const std::string& code) {
  const BaseData& base = ws.base;
  if (kind == "class") {
    if (const int c = base.findClass(code)) return withGrid(ws, describeClass(base, c), kind, c);
  } else if (kind == "teacher") {
    if (const int t = base.findTeacher(code)) return withGrid(ws, describeTeacher(base, t), kind, t);
  } else if (kind == "subject") {
    if (const int s = base.findSubject(code)) return withGrid(ws, describeSubject(base, s), kind, s);
  } else if (kind == "room") {
    if (const int r = base.findRoom(code)) return withGrid(ws, describeRoom(base, r), kind, r);
  }
  return std::nullopt;
}

}  // namespace quort
