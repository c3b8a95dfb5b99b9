#include "exams/exam_proposals.h"

#include <algorithm>
#include <map>

#include "exams/exam_text.h"

namespace quort {

namespace {

std::string labelOf(const std::string& line) {
  const size_t colon = line.find(':');
  return colon == std::string::npos ? std::string() : upperCasedOf(trimmedOf(line.substr(0, colon)));
}

// The teacher codes of a "Räume:" line: the last field of each course group.
std::vector<std::string> ownTeachers(const std::string& line) {
  std::vector<std::string> teachers;
  const size_t colon = line.find(':');
  for (const std::string& item : listItems(colon == std::string::npos ? line : line.substr(colon + 1))) {
    const size_t blank = item.rfind(' ');
    teachers.push_back(upperCasedOf(blank == std::string::npos ? item : item.substr(blank + 1)));
  }
  return teachers;
}

std::string takeSupervisor(SupervisorPool& pool, const std::vector<std::string>& own) {
  auto chosen = pool.teachers.end();
  for (const std::string& teacher : own) {
    chosen = std::find(pool.teachers.begin(), pool.teachers.end(), teacher);
    if (chosen != pool.teachers.end()) break;
  }
  if (chosen == pool.teachers.end()) chosen = pool.teachers.begin();
  if (chosen == pool.teachers.end()) return {};
  std::string teacher = *chosen;
  pool.teachers.erase(chosen);
  return teacher;
}

}  // namespace

std::string proposeSupervisions(const std::string& roomsField, const std::string& supervisionsField,
                                std::vector<SupervisorPool> pools) {
  std::vector<std::string> lines = fieldLines(supervisionsField);
  std::vector<std::string> supervised;
  for (const std::string& line : lines) supervised.push_back(labelOf(line));
  for (const std::string& roomLine : fieldLines(roomsField)) {
    const std::string room = labelOf(roomLine);
    if (room.empty() || std::find(supervised.begin(), supervised.end(), room) != supervised.end()) continue;
    std::string line = room + ":";
    for (SupervisorPool& pool : pools) {
      line += std::to_string(pool.period) + "." + takeSupervisor(pool, ownTeachers(roomLine)) + ",";
    }
    lines.push_back(line);
    supervised.push_back(room);
  }
  std::string field;
  for (const std::string& line : lines) field += line + "\n";
  return field;
}

std::string proposeRoomChanges(const std::vector<DisplacedLesson>& displaced, std::vector<FreeRooms> free) {
  std::map<int, std::string> lines;
  for (const DisplacedLesson& lesson : displaced) {
    std::string room = "?";
    for (FreeRooms& rooms : free) {
      if (rooms.period != lesson.period || rooms.rooms.empty()) continue;
      room = rooms.rooms.front();
      rooms.rooms.erase(rooms.rooms.begin());
      break;
    }
    std::string& line = lines[lesson.period];
    line += (line.empty() ? std::string() : std::string(", ")) + lesson.schoolClass + " " + lesson.room + ">" + room;
  }
  std::string field;
  for (const auto& [period, items] : lines) field += std::to_string(period) + ".: " + items + "\n";
  return field;
}

}  // namespace quort
