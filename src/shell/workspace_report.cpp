#include "shell/workspace_report.h"

#include <cstdio>

#include "data/field_reader.h"
#include "shell/workspace.h"

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

}  // namespace

std::vector<std::string> workspaceInfo(const Workspace& ws) {
  const BaseData& base = ws.base;
  const auto withoutSentinel = [](int n) { return n > 0 ? n - 1 : 0; };
  return {"days: " + std::to_string(base.days),
          "periods: " + std::to_string(base.periodsPerDay),
          "afternoonStart: " + std::to_string(base.afternoonStart),
          "weekAlternation: " + std::to_string(base.weekAlternation ? 1 : 0),
          "classes: " + std::to_string(base.nClasses()),
          "teachers: " + std::to_string(withoutSentinel(base.nTeachers())),
          "subjects: " + std::to_string(withoutSentinel(base.nSubjects())),
          "rooms: " + std::to_string(base.nRooms())};
}

std::optional<std::vector<std::string>> describeEntity(const Workspace& ws, const std::string& kind,
                                                       const std::string& code) {
  const BaseData& base = ws.base;
  if (kind == "class") {
    if (const int c = base.findClass(code)) return describeClass(base, c);
  } else if (kind == "teacher") {
    if (const int t = base.findTeacher(code)) return describeTeacher(base, t);
  } else if (kind == "subject") {
    if (const int s = base.findSubject(code)) return describeSubject(base, s);
  } else if (kind == "room") {
    if (const int r = base.findRoom(code)) return describeRoom(base, r);
  }
  return std::nullopt;
}

}  // namespace quort
