#pragma once

#include <optional>
#include <string>

namespace quort {

// The day's open and freed lessons are byte strings of fixed-size records; every search
// accepts a match only at a record boundary.

struct OpenLessonRecord {
  int teacher = 0;
  int schoolClass = 0;
  int day = 0;
  int period = 0;  // internal
  int subject = 0;
  int coupling = 0;
  int room = 0;
};

std::string makeOpenLesson(const OpenLessonRecord& lesson);
OpenLessonRecord openLessonAt(const std::string& records, size_t index);
// The record index of the open lesson of (class, day, period).
std::optional<size_t> findOpenLesson(const std::string& records, int schoolClass, int day, int period);
// Replaces an open lesson with the same key, or appends it.
void addOpenLesson(std::string& records, const OpenLessonRecord& lesson);
bool removeOpenLesson(std::string& records, int schoolClass, int day, int period);

std::string makeFreedLesson(int teacher, int schoolClass, int period, int day);
std::optional<size_t> findFreedLesson(const std::string& records, const std::string& record);
void removeFreedLessonsOf(std::string& records, int schoolClass, int period, int day);
void removeFreedLessonsOnDay(std::string& records, int teacher, int day);
void removeRecordAt(std::string& records, size_t index, size_t size);

}  // namespace quort
