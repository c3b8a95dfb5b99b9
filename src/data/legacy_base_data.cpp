// The older pair of base-data files: .GP holds the lines with the room rules as numbers,
// .GK the full teacher and subject lines. Read only; the writer always writes .GD.
#include <algorithm>
#include <string>

#include "data/base_data_format.h"
#include "data/field_reader.h"

namespace quort {

namespace {

constexpr const char* kKindLetters = " DTH";

struct LegacyReader {
  FieldReader& reader;
  BaseData& base;

  bool number(long& value, long lowest, long highest) {
    const auto read = reader.readInteger();
    if (!read || *read < lowest || *read > highest) return false;
    value = *read;
    return true;
  }
  bool line(std::string& text) {
    const auto read = reader.readField();
    if (!read) return false;
    text = *read;
    return true;
  }
};

// A line without an owner field gets the owner's code, so that the next .GD save keeps it.
void appendOwnerCode(Room& room, const std::string& code) {
  if (lineField(room.line, 2).empty()) {
    room.line += ' ';
    room.line += code.substr(0, code.find_last_not_of(' ') + 1);
  }
}

bool readSubjects(LegacyReader& in, std::vector<int>& kinds) {
  BaseData& base = in.base;
  for (int s = 1; s <= base.nSubjects(); ++s) {
    long roomSpec = 0;
    long kind = 0;
    if (!in.line(base.subjects[s].line) || !in.number(roomSpec, 1 - base.nSubjects(), 32767) ||
        !in.number(kind, 0, 4)) {
      return false;
    }
    base.subjects[s].roomSpec = static_cast<int16_t>(roomSpec);
    base.subjects[s].lessonKind = static_cast<int16_t>(kind == 2 ? 1 : kind == 3 ? 2 : 0);
    kinds[s] = static_cast<int>(kind);
  }
  base.subjects[base.nSubjects()].line = "*";
  return true;
}

bool readRooms(LegacyReader& in) {
  BaseData& base = in.base;
  long nRooms = 0;
  if (!in.number(nRooms, 0, kMaxRooms)) return false;
  base.rooms.assign(static_cast<size_t>(nRooms + 1), Room{});
  base.rooms[0].code = ".  ";
  for (int r = 1; r <= nRooms; ++r) {
    long next = 0;
    if (!in.line(base.rooms[r].line) || !in.number(next, 0, nRooms)) return false;
    base.rooms[r].nextRoom = static_cast<int16_t>(next == r ? 0 : next);
  }
  return true;
}

bool readOwners(LegacyReader& in) {
  BaseData& base = in.base;
  deriveCodesAndWeights(base);
  for (int c = 1; c <= base.nClasses(); ++c) {
    long room = 0;
    if (!in.number(room, 0, base.nRooms())) return false;
    base.classes[c].homeRoom = static_cast<int16_t>(room);
    if (room == 0) continue;
    base.rooms[room].owner = static_cast<int16_t>(c);
    appendOwnerCode(base.rooms[room], base.classes[c].code);
  }
  for (int s = 0; s <= base.nSubjects(); ++s) {
    long first = 0;
    if (!in.number(first, 0, base.nRooms())) return false;
    base.subjects[s].firstRoom = static_cast<int16_t>(first);
    if (s == 0 || first == 0) continue;
    int room = static_cast<int>(first);
    for (int steps = 0; steps < base.nRooms() && room != 0; ++steps) {
      base.rooms[room].owner = static_cast<int16_t>(-s);
      appendOwnerCode(base.rooms[room], base.subjects[s].code);
      room = base.rooms[room].nextRoom;
      if (room == first) break;
    }
  }
  return true;
}

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string splitAfterCode(const std::string& s) {
  if (s.size() <= 2) return s;
  return s.substr(0, 2) + ' ' + s.substr(2);
}

// The room rule of a subject as text, the way the .GD line holds it.
std::string roomRuleText(const BaseData& base, const Subject& subject, int kind) {
  std::string rule;
  if (subject.roomSpec > 0) rule = ' ' + std::to_string(subject.roomSpec);
  if (subject.roomSpec < 0 && -subject.roomSpec < base.nSubjects()) {
    rule = ' ' + base.subjects[-subject.roomSpec].code;
  }
  // A blank before the kind letter keeps it the fourth field of the line.
  if (kind >= 2 && kind <= 4) rule += std::string(" ") + kKindLetters[kind - 1];
  return trimmed(rule);
}

bool applyFullLines(std::string_view gk, BaseData& base, const std::vector<int>& kinds) {
  FieldReader reader(gk);
  for (int t = 1; t <= base.nTeachers(); ++t) {
    const auto s = reader.readLine();
    if (!s) return false;
    if (t < base.nTeachers()) base.teachers[t].line = splitAfterCode(*s);
  }
  for (int s = 1; s <= base.nSubjects(); ++s) {
    const auto line = reader.readLine();
    if (!line) return false;
    if (s == base.nSubjects()) continue;
    const std::string rule = roomRuleText(base, base.subjects[s], kinds[s]);
    std::string full = trimmed(splitAfterCode(*line));
    if (!rule.empty()) full += ' ' + rule;
    base.subjects[s].line = full;
  }
  return true;
}

}  // namespace

ParseResult parseLegacyBaseData(std::string_view gp, std::string_view gk, BaseData& out) {
  FieldReader reader(gp);
  LegacyReader in{reader, out};
  long packed = 0, nClasses = 0, nTeachers = 0, nSubjects = 0;
  if (!in.number(packed, 1, 0xFFFF) || !in.number(nClasses, 1, 100000) || !in.number(nTeachers, 1, 100000) ||
      !in.number(nSubjects, 1, 100000)) {
    return {};
  }
  if (nClasses > kMaxClasses || nTeachers > kMaxTeachers + 1 || nSubjects > kMaxSubjects + 1) {
    return {ParseOutcome::TooLarge};
  }
  if (!unpackSchedule(packed, out)) return {};
  out.classes.assign(static_cast<size_t>(nClasses + 1), SchoolClass{});
  out.teachers.assign(static_cast<size_t>(nTeachers + 1), Teacher{});
  out.subjects.assign(static_cast<size_t>(nSubjects + 1), Subject{});
  out.classes[0].code = ".  ";
  out.teachers[0].code = ". ";
  out.subjects[0].code = ". ";
  for (int c = 1; c <= nClasses; ++c) {
    if (!in.line(out.classes[c].line)) return {};
  }
  for (int t = 1; t <= nTeachers; ++t) {
    if (!in.line(out.teachers[t].line)) return {};
  }
  out.teachers[nTeachers].line = "*";
  std::vector<int> kinds(static_cast<size_t>(nSubjects + 1), 0);
  if (!readSubjects(in, kinds) || !readRooms(in) || !readOwners(in)) return {};
  if (!gk.empty() && !applyFullLines(gk, out, kinds)) return {};
  deriveCodesAndWeights(out);
  out.legacyBaseData = true;
  return {ParseOutcome::Ok};
}

}  // namespace quort
