#include "exams/exam_evaluation.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "data/base_data.h"
#include "data/plan_records.h"
#include "data/plan_tables.h"
#include "exams/exam_text.h"
#include "timetable/lesson_grid.h"

namespace quort {

namespace {

// Written choices: "+" exam course, "*" advanced course, "#" third Abitur subject.
bool writtenMark(int markCode) { return markCode >= 2 && markCode <= 4; }

int leadingNumberOf(std::string_view text) {
  int value = -1;
  for (const char c : trimmedOf(text)) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) break;
    value = std::max(value, 0) * 10 + (c - '0');
    if (value > 1000) break;
  }
  return value;
}

// "11" takes 11A to 11F but neither 1A nor 110.
bool classOfGrade(const std::string& classCode, int grade) { return grade >= 0 && leadingNumberOf(classCode) == grade; }

std::vector<std::string> selectionItems(const std::string& selection) {
  std::string commas = selection;
  std::replace_if(
      commas.begin(), commas.end(), [](char c) { return c == ' ' || c == ';'; }, ',');
  return listItems(commas);
}

// The course file's view of the exam: which courses write and who writes.
class CourseCounts {
 public:
  CourseCounts(const CourseBook& book, const std::string& selection) : m_book(book) {
    const std::vector<std::string> items = selectionItems(upperCasedOf(selection));
    for (int n = 1; n <= book.nCourses(); ++n) {
      const std::string name = keyOf(book.course(n).name);
      if (items.empty() || std::find(items.begin(), items.end(), name) != items.end()) m_writing.insert(n);
    }
    for (size_t s = 0; s < book.students.size(); ++s) {
      for (const CourseChoice& choice : book.students[s].choices) {
        if (writtenMark(choice.markCode) && m_writing.count(choice.course) > 0) m_writers.insert(s);
      }
    }
  }

  static std::string keyOf(const std::string& name) { return upperCasedOf(trimmedOf(name)); }

  int find(const std::string& course) const {
    const std::string key = keyOf(course);
    for (int n = 1; n <= m_book.nCourses(); ++n) {
      if (keyOf(m_book.course(n).name) == key) return n;
    }
    return 0;
  }

  void fill(ExamLesson& lesson) const {
    const int n = find(lesson.course);
    lesson.inCourseFile = n > 0;
    lesson.writes = n > 0 && m_writing.count(n) > 0;
    if (n == 0) return;
    for (size_t s = 0; s < m_book.students.size(); ++s) {
      const Student& student = m_book.students[s];
      if (!student.chose(n)) continue;
      ++lesson.members;
      if (m_writers.count(s) == 0) continue;
      // A writer of a writing course is away from it only when it is one of his written ones.
      if (!lesson.writes || writesIn(student, n)) ++lesson.away;
    }
  }

 private:
  static bool writesIn(const Student& student, int course) {
    return std::any_of(student.choices.begin(), student.choices.end(),
                       [&](const CourseChoice& c) { return c.course == course && writtenMark(c.markCode); });
  }

  const CourseBook& m_book;
  std::set<int> m_writing;
  std::set<size_t> m_writers;
};

template <typename T>
std::string examCodeOf(const std::vector<T>& list, int index) {
  return index >= 0 && index < static_cast<int>(list.size()) ? trimmedOf(list[static_cast<size_t>(index)].code)
                                                             : std::string();
}

// The lesson class c has at (period, day), if any.
bool examLessonAt(const ExamSource& source, int c, int period, int day, ExamLesson& lesson) {
  const BaseData& base = source.base;
  const uint16_t word = source.plan.timetable.lessonWord.at(c, period, day);
  const int teacher = LessonWord::teacher(word);
  if (teacher == 0 || word == classLockWord(base)) return false;
  int subject = LessonWord::subject(word);
  const int coupling = RoomWord::coupling(source.plan.timetable.roomWord.at(c, period, day));
  if (coupling > 0 && coupling <= source.plan.nCouplings()) {
    const std::string& members = source.plan.couplings[static_cast<size_t>(coupling)];
    for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize); ++i) {
      const CouplingMemberView member(members, i);
      if (member.schoolClass() != c || member.teacher() != teacher) continue;
      subject = member.subject();
      lesson.course = examCodeOf(base.subjects, subject);
      if (member.suffix() != ' ' && member.suffix() != '\0') lesson.course += member.suffix();
      break;
    }
  }
  lesson.period = period;
  lesson.schoolClass = examCodeOf(base.classes, c);
  lesson.subject = examCodeOf(base.subjects, subject);
  lesson.teacher = examCodeOf(base.teachers, teacher);
  return true;
}

std::string periodLabel(const ExamSource& source, int period, int shown) {
  if (!source.base.weekAlternation) return std::to_string(shown);
  return std::to_string(shown) + (period % 2 == 1 ? "A" : "B");
}

std::string planItem(const ExamLesson& lesson) {
  if (lesson.course.empty()) return "[] " + lesson.schoolClass + " " + lesson.subject + " " + lesson.teacher;
  const std::string counts =
      lesson.inCourseFile ? std::to_string(lesson.away) + "/" + std::to_string(lesson.members) : std::string();
  return "[" + counts + "] " + lesson.schoolClass + " " + lesson.course + " " + lesson.teacher;
}

// A teacher who may supervise: not a placeholder ("~" or "*" in the code).
bool realSupervisor(const std::string& teacher) {
  return !teacher.empty() && teacher.find_first_of("~*") == std::string::npos;
}

void addToPool(ExamEvaluation& evaluation, const ExamLesson& lesson) {
  if (evaluation.pools.empty() || evaluation.pools.back().period != lesson.shown) {
    evaluation.pools.push_back({lesson.shown, {}});
  }
  std::vector<std::string>& teachers = evaluation.pools.back().teachers;
  if (std::find(teachers.begin(), teachers.end(), lesson.teacher) == teachers.end()) {
    teachers.push_back(lesson.teacher);
  }
}

void evaluatePeriod(const ExamSource& source, const ExamPreset& preset, const CourseCounts& counts, int period,
                    ExamEvaluation& evaluation) {
  const int grade = leadingNumberOf(preset.grade);
  const int shown = source.base.weekAlternation ? (period + 1) / 2 : period;
  std::string line = ">  " + periodLabel(source, period, shown) + "  ";
  bool first = true;
  if (evaluation.pools.empty() || evaluation.pools.back().period != shown) evaluation.pools.push_back({shown, {}});
  for (int c = 1; c <= source.base.nClasses(); ++c) {
    if (!classOfGrade(examCodeOf(source.base.classes, c), grade)) continue;
    ExamLesson lesson;
    if (!examLessonAt(source, c, period, preset.day, lesson)) continue;
    lesson.shown = shown;
    if (!lesson.course.empty()) counts.fill(lesson);
    line += (first ? "" : "  ;  ") + planItem(lesson);
    first = false;
    if (lesson.writes) {
      if (realSupervisor(lesson.teacher)) addToPool(evaluation, lesson);
      evaluation.courses += std::to_string(shown) + lesson.course + "-" + std::to_string(lesson.away) + ",";
    }
    evaluation.lessons.push_back(lesson);
  }
  evaluation.planLines.push_back(line);
}

// The internal periods of the exam, clipped to the grids.
std::pair<int, int> examPeriodRange(const ExamSource& source, const ExamPreset& preset) {
  const bool alternation = source.base.weekAlternation;
  const int last = std::min(lastInternalPeriod(preset.lastShown, alternation), source.base.periodsPerDay);
  return {std::max(1, firstInternalPeriod(preset.firstShown, alternation)), last};
}

bool examRoomFree(const ExamSource& source, int room, int period, int day) {
  return source.plan.timetable.room.at(room, period, day) == 0 && !roomLocked(source.base, room);
}

bool validDay(const ExamPreset& preset) { return preset.day >= 1 && preset.day <= kGridDays; }

}  // namespace

ExamEvaluation evaluateExam(const ExamSource& source, const ExamPreset& preset) {
  ExamEvaluation evaluation;
  if (!validDay(preset)) return evaluation;
  const CourseCounts counts(source.courses, preset.selection);
  const auto [first, last] = examPeriodRange(source, preset);
  for (int period = first; period <= last; ++period) evaluatePeriod(source, preset, counts, period, evaluation);
  for (int room = 1; room <= source.base.nRooms(); ++room) {
    bool free = first <= last;
    for (int period = first; period <= last && free; ++period) free = examRoomFree(source, room, period, preset.day);
    if (free) evaluation.freeRooms.push_back(examCodeOf(source.base.rooms, room));
  }
  return evaluation;
}

std::vector<std::string> examViewLines(const ExamEvaluation& evaluation) {
  std::vector<std::string> lines{"Kurse: " + evaluation.courses, "Plan:"};
  lines.insert(lines.end(), evaluation.planLines.begin(), evaluation.planLines.end());
  std::string free = "freie R\xE4ume: ";
  for (size_t i = 0; i < evaluation.freeRooms.size(); ++i) free += (i == 0 ? "" : " ; ") + evaluation.freeRooms[i];
  lines.push_back(free);
  return lines;
}

std::string proposeFreedLessons(const ExamEvaluation& evaluation) {
  std::vector<std::pair<int, std::string>> lines;
  const auto lineOf = [&](int shown) -> std::string& {
    auto found = std::find_if(lines.begin(), lines.end(), [&](const auto& line) { return line.first == shown; });
    if (found == lines.end()) found = lines.insert(lines.end(), {shown, std::to_string(shown) + ".:"});
    return found->second;
  };
  const auto add = [&](int shown, const std::string& item) {
    std::string& line = lineOf(shown);
    if (!listHasEntry(line.substr(line.find(':') + 1), item)) line += item + ",";
  };
  for (const ExamLesson& lesson : evaluation.lessons) {
    lineOf(lesson.shown);
    if (lesson.course.empty()) {
      add(lesson.shown, lesson.schoolClass + ">" + lesson.subject + " " + lesson.teacher + "<");
    } else if (lesson.writes) {
      add(lesson.shown, lesson.schoolClass + " " + lesson.course + " " + lesson.teacher);
    }
  }
  // Courses that do not write lose their lesson when too few of their students are left.
  constexpr int kSmallestCourse = 6;
  for (const ExamLesson& lesson : evaluation.lessons) {
    if (lesson.course.empty() || lesson.writes || !lesson.inCourseFile) continue;
    if (lesson.staying() < kSmallestCourse) {
      add(lesson.shown, lesson.schoolClass + "(" + lesson.course + " " + lesson.teacher + ")");
    }
  }
  std::string field;
  for (const auto& [shown, line] : lines) field += line + "\n";
  return field;
}

std::vector<std::string> fieldRoomLabels(const std::string& field) {
  std::vector<std::string> labels;
  for (const std::string& line : fieldLines(field)) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string label = upperCasedOf(trimmedOf(line.substr(0, colon)));
    if (!label.empty() && std::find(labels.begin(), labels.end(), label) == labels.end()) labels.push_back(label);
  }
  return labels;
}

RoomChangeInput roomChangeInput(const ExamSource& source, const ExamPreset& preset, const ExamEvaluation& evaluation,
                                const std::vector<std::string>& examRooms) {
  RoomChangeInput input;
  if (!validDay(preset)) return input;
  const auto [first, last] = examPeriodRange(source, preset);
  const auto isExamRoom = [&](int room) {
    const std::string code = upperCasedOf(examCodeOf(source.base.rooms, room));
    return std::find(examRooms.begin(), examRooms.end(), code) != examRooms.end();
  };
  const auto partOfExam = [&](const std::string& schoolClass, int period) {
    return std::any_of(evaluation.lessons.begin(), evaluation.lessons.end(), [&](const ExamLesson& lesson) {
      return lesson.period == period && lesson.schoolClass == schoolClass && lesson.writes;
    });
  };
  for (int shown = preset.firstShown; shown <= preset.lastShown; ++shown) {
    const bool alternation = source.base.weekAlternation;
    const int from = std::max(first, firstInternalPeriod(shown, alternation));
    const int to = std::min(last, lastInternalPeriod(shown, alternation));
    FreeRooms free{shown, {}};
    for (int room = 1; room <= source.base.nRooms(); ++room) {
      const std::string code = examCodeOf(source.base.rooms, room);
      bool roomIsFree = from <= to && !isExamRoom(room);
      for (int period = from; period <= to; ++period) {
        roomIsFree = roomIsFree && examRoomFree(source, room, period, preset.day);
        const int holder = source.plan.timetable.room.at(room, period, preset.day);
        if (!isExamRoom(room) || holder <= 0 || holder > source.base.nClasses()) continue;
        const std::string schoolClass = examCodeOf(source.base.classes, holder);
        if (partOfExam(schoolClass, period)) continue;
        const bool known = std::any_of(input.displaced.begin(), input.displaced.end(), [&](const DisplacedLesson& d) {
          return d.period == shown && d.schoolClass == schoolClass && d.room == code;
        });
        if (!known) input.displaced.push_back({shown, schoolClass, code});
      }
      if (roomIsFree) free.rooms.push_back(code);
    }
    input.free.push_back(std::move(free));
  }
  return input;
}

}  // namespace quort
