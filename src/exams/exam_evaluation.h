#pragma once

#include <string>
#include <vector>

#include "data/course_records.h"
#include "exams/exam_preset.h"
#include "exams/exam_proposals.h"

namespace quort {

struct BaseData;
struct PlanTables;

// A lesson of the exam grade's classes in one exam period. Codes are trimmed.
struct ExamLesson {
  int period = 0;  // internal
  int shown = 0;
  std::string schoolClass;
  std::string course;  // subject and suffix of a course lesson ("D1"); empty for a single lesson
  std::string subject;
  std::string teacher;
  bool inCourseFile = false;
  bool writes = false;  // the course is one of the exam's
  int members = 0;      // students of the course
  int away = 0;         // of them, those writing the exam (in this course or another)

  int staying() const { return members - away; }
};

// What the main view of the exam mode shows, and what the proposals start from.
struct ExamEvaluation {
  std::vector<ExamLesson> lessons;
  std::string courses;                 // after "Kurse: "
  std::vector<std::string> planLines;  // below "Plan:"
  std::vector<std::string> freeRooms;  // free in every exam period
  std::vector<SupervisorPool> pools;   // per shown period: the writing courses' teachers
};

// Where the evaluation reads: the grids of the plan on the exam's weekday.
struct ExamSource {
  const BaseData& base;
  const PlanTables& plan;
  const CourseBook& courses;
};

ExamEvaluation evaluateExam(const ExamSource& source, const ExamPreset& preset);

// "Kurse: ", "Plan:" with a line per period, "freie Räume:".
std::vector<std::string> examViewLines(const ExamEvaluation& evaluation);

// "Frei:": per shown period the lessons that are dropped: the writing courses and single
// lessons of the grade, then the courses whose remaining students are too few to teach.
std::string proposeFreedLessons(const ExamEvaluation& evaluation);

// The lessons outside the exam that the room grid puts into a supervised exam room, and the
// rooms free in each shown period apart from the exam rooms.
struct RoomChangeInput {
  std::vector<DisplacedLesson> displaced;
  std::vector<FreeRooms> free;
};
RoomChangeInput roomChangeInput(const ExamSource& source, const ExamPreset& preset, const ExamEvaluation& evaluation,
                                const std::vector<std::string>& examRooms);

// The room labels of a field's lines (the text before ":", trimmed, upper case).
std::vector<std::string> fieldRoomLabels(const std::string& field);

}  // namespace quort
