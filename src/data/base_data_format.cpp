#include "data/base_data_format.h"

#include <algorithm>

#include "data/field_reader.h"
#include "data/number_text.h"

namespace quort {

namespace {

const std::string kLineEnd = "\r\n";

int16_t clampShort(double value) { return static_cast<int16_t>(std::clamp(value, -32768.0, 32767.0)); }

void setNoneEntries(BaseData& base) {
  base.classes[0].code = ".  ";
  base.teachers[0].code = ". ";
  base.subjects[0].code = ". ";
  base.rooms[0].code = ".  ";
}

bool countsFit(long nClasses, long nTeachers, long nSubjects, long nRooms) {
  return nClasses <= kMaxClasses && nTeachers <= kMaxTeachers + 1 && nSubjects <= kMaxSubjects + 1 &&
         nRooms <= kMaxRooms;
}

void allocateLists(BaseData& base, long nClasses, long nTeachers, long nSubjects, long nRooms) {
  base.classes.assign(static_cast<size_t>(nClasses + 1), SchoolClass{});
  base.teachers.assign(static_cast<size_t>(nTeachers + 1), Teacher{});
  base.subjects.assign(static_cast<size_t>(nSubjects + 1), Subject{});
  base.rooms.assign(static_cast<size_t>(nRooms + 1), Room{});
  setNoneEntries(base);
}

// Reads count lines into list[first..first+count-1].
template <typename T>
bool readLines(FieldReader& reader, std::vector<T>& list, size_t first, size_t count) {
  for (size_t i = first; i < first + count; ++i) {
    const auto field = reader.readField();
    if (!field) return false;
    list[i].line = *field;
  }
  return true;
}

// The mark at the end of the first field weighs a teacher or subject: "-" less, "+" more.
float weightOf(const std::string& line) {
  const std::string first = lineField(line, 1);
  if (first.empty()) return 1.0F;
  if (first.back() == '-') return 0.75F;
  if (first.back() == '+') return 1.25F;
  return 1.0F;
}

int16_t numericRoomCount(const std::string& field) {
  const auto count = [](const std::string& part) {
    return (!part.empty() && part[0] == '0') ? 256.0 : numericValue(part);
  };
  const size_t plus = field.find('+');
  if (plus == std::string::npos) return clampShort(count(field));
  return clampShort(numericValue(field.substr(plus + 1)) * 256 + count(field.substr(0, plus)));
}

int16_t roomSpecOf(const BaseData& base, int subject) {
  const std::string field = lineField(base.subjects[subject].line, 3);
  if (field.empty()) return 0;
  if (static_cast<unsigned char>(field[0]) >= 'A') {
    const std::string code = padCode(field.substr(0, 2), 2);
    for (int j = 1; j < base.nSubjects(); ++j) {
      if (base.subjects[j].code == code) return j == subject ? 0 : clampShort(-j);
    }
    return 0;
  }
  return numericRoomCount(field);
}

int16_t lessonKindOf(const std::string& line) {
  const std::string field = lineField(line, 4);
  if (!field.empty() && field[0] == 'D') return 1;
  if (!field.empty() && field[0] == 'T') return 2;
  return 0;
}

}  // namespace

void deriveCodesAndWeights(BaseData& base) {
  base.hasYear13 = false;
  for (int c = 1; c <= base.nClasses(); ++c) {
    auto& entry = base.classes[c];
    entry.code = classOrRoomCode(entry.line);
    if (numericValue(entry.code) == 13) base.hasYear13 = true;
  }
  for (int t = 1; t <= base.nTeachers(); ++t) {
    base.teachers[t].code = teacherOrSubjectCode(base.teachers[t].line);
    base.teachers[t].weight = weightOf(base.teachers[t].line);
  }
  for (int s = 1; s <= base.nSubjects(); ++s) {
    base.subjects[s].code = teacherOrSubjectCode(base.subjects[s].line);
    base.subjects[s].weight = weightOf(base.subjects[s].line);
  }
  for (int r = 1; r <= base.nRooms(); ++r) base.rooms[r].code = classOrRoomCode(base.rooms[r].line);
}

namespace {

// The last room of a chain, walking at most nRooms steps so a damaged chain cannot hang.
int lastRoomOfChain(const BaseData& base, int first) {
  int room = first;
  for (int steps = 0; steps < base.nRooms() && base.rooms[room].nextRoom != 0; ++steps) {
    room = base.rooms[room].nextRoom;
  }
  return room;
}

void assignRoomOwners(BaseData& base) {
  for (int r = 1; r <= base.nRooms(); ++r) {
    auto& room = base.rooms[r];
    const std::string owner = lineField(room.line, 2);
    int subject = 0;
    if (!owner.empty()) {
      const std::string code = padCode(owner.substr(0, 2), 2);
      for (int j = 1; j < base.nSubjects() && subject == 0; ++j) {
        if (base.subjects[j].code == code) subject = j;
      }
    }
    if (subject > 0) {
      room.owner = clampShort(-subject);
      room.nextRoom = base.subjects[subject].firstRoom;
      base.subjects[subject].firstRoom = clampShort(r);
      continue;
    }
    const int schoolClass = owner.empty() ? 0 : base.findClass(owner.substr(0, 3));
    if (schoolClass > 0) {
      room.owner = clampShort(schoolClass);
      base.classes[schoolClass].homeRoom = clampShort(r);
    }
    if (owner.empty() || owner[0] != '*') {
      room.nextRoom = base.subjects[0].firstRoom;
      base.subjects[0].firstRoom = clampShort(r);
    }
  }
}

// The subject a negative room rule borrows its rooms from; 0 when there is none. A
// number typed as "-9" may name no subject at all.
int referencedSubject(const BaseData& base, int subject) {
  const int j = -base.subjects[subject].roomSpec;
  return j > 0 && j < base.nSubjects() ? j : 0;
}

void linkRoomReferences(BaseData& base) {
  for (int i = 1; i < base.nSubjects(); ++i) {
    const int j = referencedSubject(base, i);
    if (j == 0) continue;
    if (base.subjects[j].firstRoom == 0) {
      base.subjects[j].firstRoom = base.subjects[i].firstRoom;
    } else {
      base.rooms[lastRoomOfChain(base, base.subjects[j].firstRoom)].nextRoom = base.subjects[i].firstRoom;
    }
  }
  for (int i = 1; i < base.nSubjects(); ++i) {
    const int j = referencedSubject(base, i);
    if (j > 0 && base.subjects[i].firstRoom == 0) base.subjects[i].firstRoom = base.subjects[j].firstRoom;
  }
}

void closeRoomRings(BaseData& base) {
  for (int s = 1; s <= base.nSubjects(); ++s) {
    const int first = base.subjects[s].firstRoom;
    if (first == 0) continue;
    const int last = lastRoomOfChain(base, first);
    if (base.rooms[last].nextRoom == 0) base.rooms[last].nextRoom = clampShort(first);
  }
  for (int r = 1; r <= base.nRooms(); ++r) {
    if (base.rooms[r].nextRoom == r) base.rooms[r].nextRoom = 0;
  }
}

void deriveRoomRules(BaseData& base) {
  for (auto& schoolClass : base.classes) schoolClass.homeRoom = 0;
  for (auto& subject : base.subjects) subject.firstRoom = 0;
  for (auto& room : base.rooms) {
    room.owner = 0;
    room.nextRoom = 0;
  }
  for (int s = 1; s <= base.nSubjects(); ++s) {
    base.subjects[s].roomSpec = roomSpecOf(base, s);
    base.subjects[s].lessonKind = lessonKindOf(base.subjects[s].line);
  }
  assignRoomOwners(base);
  linkRoomReferences(base);
  closeRoomRings(base);
}

// A negative room count refers to another subject by its index; one that names no
// subject of the file makes the file defective rather than pointing into nowhere.
bool roomReferencesValid(const BaseData& base) {
  for (int s = 1; s < base.nSubjects(); ++s) {
    if (base.subjects[s].roomSpec < 0 && referencedSubject(base, s) == 0) return false;
  }
  return true;
}

// Options are stored in the order 7, 2, 3, 1, 4, 5, 6, 9, 8, 10, 11, 12.
constexpr int kOptionOrder[12] = {7, 2, 3, 1, 4, 5, 6, 9, 8, 10, 11, 12};

bool readOptions(FieldReader& reader, PlanOptions& options) {
  if (reader.onlySeparatorsLeft()) return true;
  for (int i = 0; i < 11; ++i) {
    const auto value = reader.readNumber();
    if (!value) return false;
    options.setValue(kOptionOrder[i], *value);
  }
  if (reader.onlySeparatorsLeft()) return true;
  if (const auto value = reader.readNumber()) options.setValue(12, *value);
  return true;
}

}  // namespace

void ResetPlanOptions(BaseData& base) {
  base.planOptions = PlanOptions{};
  base.afternoonStart = 6;
}

int packSchedule(const BaseData& base) {
  const int alternation = base.weekAlternation ? 1 : 0;
  return 256 * (8 * alternation + (6 - base.days)) + 16 * base.afternoonStart + base.periodsPerDay;
}

bool unpackSchedule(long packed, BaseData& base) {
  if (packed <= 0 || packed > 0xFFFF) return false;
  base.periodsPerDay = static_cast<int>(packed & 15);
  base.afternoonStart = static_cast<int>((packed & 255) / 16);
  const long high = packed / 256;
  base.weekAlternation = (high & 8) != 0;
  base.days = 6 - static_cast<int>(high & 7);
  if (base.afternoonStart < 1 || base.afternoonStart > base.periodsPerDay) {
    base.afternoonStart = std::min(3, base.periodsPerDay);
  }
  // Grids are sized from these; values the program cannot show make the file unusable.
  return base.days >= 1 && base.days <= 6 && base.periodsPerDay >= 1 && base.periodsPerDay <= 10;
}

void deriveEntityFields(BaseData& base) {
  deriveCodesAndWeights(base);
  deriveRoomRules(base);
}

ParseResult parseBaseDataFile(std::string_view content, BaseData& out) {
  FieldReader reader(content);
  long header[5] = {};
  for (long& value : header) {
    const auto number = reader.readInteger();
    if (!number) return {};
    value = *number;
  }
  const auto [packed, nClasses, nTeachers, nSubjects, nRooms] = header;
  if (packed == 0 || nClasses <= 0 || nTeachers <= 0 || nSubjects <= 0 || nRooms < 0) return {};
  if (!countsFit(nClasses, nTeachers, nSubjects, nRooms)) return {ParseOutcome::TooLarge};
  if (!unpackSchedule(packed, out)) return {};
  allocateLists(out, nClasses, nTeachers, nSubjects, nRooms);
  if (!readLines(reader, out.classes, 1, nClasses) || !readLines(reader, out.teachers, 1, nTeachers - 1) ||
      !readLines(reader, out.subjects, 1, nSubjects - 1) || !readLines(reader, out.rooms, 1, nRooms)) {
    return {};
  }
  for (int t = 1; t < nTeachers; ++t) {
    auto& line = out.teachers[t].line;
    line = line.substr(0, std::min(line.find('@'), line.size()));
  }
  out.teachers[nTeachers].line = "*";
  out.subjects[nSubjects].line = "*";
  deriveEntityFields(out);
  if (!roomReferencesValid(out)) return {};
  ParseResult result{ParseOutcome::Ok};
  result.optionsIncomplete = !readOptions(reader, out.planOptions);
  return result;
}

std::string formatBaseDataFile(const BaseData& base) {
  int nTeachers = base.nTeachers();
  if (nTeachers > 0 && base.teachers[nTeachers].line.find('*') != std::string::npos) --nTeachers;
  int nSubjects = base.nSubjects();
  if (nSubjects > 0 && base.subjects[nSubjects].line.find('*') != std::string::npos) --nSubjects;

  std::string text = std::to_string(packSchedule(base)) + ',' + std::to_string(base.nClasses()) + ',' +
                     std::to_string(nTeachers + 1) + ',' + std::to_string(nSubjects + 1) + ',' +
                     std::to_string(base.nRooms()) + kLineEnd;
  for (int c = 1; c <= base.nClasses(); ++c) text += base.classes[c].line + kLineEnd;
  int placeholders = 0;
  const auto writeKept = [&](const std::string& line) {
    if (!line.empty() && line[0] == '*') {
      text += '~';
      text += static_cast<char>(64 + placeholders++);
    } else {
      text += line;
    }
    text += kLineEnd;
  };
  for (int t = 1; t <= nTeachers; ++t) writeKept(base.teachers[t].line);
  for (int s = 1; s <= nSubjects; ++s) writeKept(base.subjects[s].line);
  for (int r = 1; r <= base.nRooms(); ++r) text += base.rooms[r].line + kLineEnd;

  const PlanOptions& options = base.planOptions;
  for (int i = 0; i < 12; ++i) {
    const int option = kOptionOrder[i];
    const bool isInteger = option >= 8 && option <= 11;
    text += isInteger ? std::to_string(static_cast<int>(options.value(option)))
                      : formatSingle(static_cast<float>(options.value(option)));
    text += i < 11 ? "," : kLineEnd;
  }
  return text;
}

}  // namespace quort
