#include "substitution/day_records.h"

#include "data/plan_records.h"

namespace quort {

namespace {

char byteOf(int value) { return static_cast<char>(static_cast<unsigned char>(value & 255)); }

}  // namespace

std::string makeOpenLesson(const OpenLessonRecord& lesson) {
  return {byteOf(lesson.teacher), byteOf(lesson.schoolClass), byteOf(lesson.day), byteOf(lesson.period),
          byteOf(lesson.subject), byteOf(lesson.coupling),    byteOf(lesson.room)};
}

OpenLessonRecord openLessonAt(const std::string& records, size_t index) {
  const OpenLessonView view(records, index);
  return {view.teacher(), view.schoolClass(), view.day(), view.period(), view.subject(), view.coupling(), view.room()};
}

std::optional<size_t> findOpenLesson(const std::string& records, int schoolClass, int day, int period) {
  for (size_t i = 0; i < recordCount(records, OpenLessonView::kSize); ++i) {
    const OpenLessonView view(records, i);
    if (view.schoolClass() == schoolClass && view.day() == day && view.period() == period) return i;
  }
  return std::nullopt;
}

void addOpenLesson(std::string& records, const OpenLessonRecord& lesson) {
  const std::string record = makeOpenLesson(lesson);
  if (const auto index = findOpenLesson(records, lesson.schoolClass, lesson.day, lesson.period)) {
    records.replace(*index * OpenLessonView::kSize, OpenLessonView::kSize, record);
  } else {
    records += record;
  }
}

bool removeOpenLesson(std::string& records, int schoolClass, int day, int period) {
  const auto index = findOpenLesson(records, schoolClass, day, period);
  if (!index) return false;
  removeRecordAt(records, *index, OpenLessonView::kSize);
  return true;
}

std::string makeFreedLesson(int teacher, int schoolClass, int period, int day) {
  return {byteOf(teacher), byteOf(schoolClass), byteOf(10 * period + day)};
}

std::optional<size_t> findFreedLesson(const std::string& records, const std::string& record) {
  for (size_t i = 0; i < recordCount(records, FreedLessonView::kSize); ++i) {
    if (records.compare(i * FreedLessonView::kSize, FreedLessonView::kSize, record) == 0) return i;
  }
  return std::nullopt;
}

void removeFreedLessonsOf(std::string& records, int schoolClass, int period, int day) {
  for (size_t i = recordCount(records, FreedLessonView::kSize); i-- > 0;) {
    const FreedLessonView view(records, i);
    if (view.schoolClass() == schoolClass && view.period() == period && view.day() == day) {
      removeRecordAt(records, i, FreedLessonView::kSize);
    }
  }
}

void removeFreedLessonsOnDay(std::string& records, int teacher, int day) {
  for (size_t i = recordCount(records, FreedLessonView::kSize); i-- > 0;) {
    const FreedLessonView view(records, i);
    if (view.teacher() == teacher && view.day() == day) removeRecordAt(records, i, FreedLessonView::kSize);
  }
}

void removeRecordAt(std::string& records, size_t index, size_t size) { records.erase(index * size, size); }

}  // namespace quort
