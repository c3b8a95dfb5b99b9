#include "substitution/day_plan.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "substitution/absence_register.h"
#include "substitution/candidates.h"
#include "timetable/demo_school.h"

namespace {

// The demo school with a generated plan in substitution mode, working in a directory of
// its own on Monday 03.02.2025.
struct GeneratedDay : quort::test::DemoSchool {
  quort::test::InTempDirectory dir;
  const std::string date = "03.02.2025";

  GeneratedDay() {
    ui.queueAnswer("Auswerten");
    app.typeCommand("^\r");
    app.setWorkMode(3);
    ws.dialogs.currentDate = date;
  }
  void absent(const std::string& who, const std::string& first = {}, const std::string& last = {}) {
    quort::AbsenceInput input;
    input.who = who;
    input.firstPeriod = first;
    input.lastPeriod = last;
    input.reason = "Test";
    ASSERT_TRUE(quort::readAbsences(ws, ui, date, quort::AbsenceMode::ListOnly, input));
  }
};

// Absences, manual and automatic substitutions keep every grid consistent, and cancelling
// the day brings back the plan exactly: lessons, rooms and the teachers' locks.
TEST(DayPlan, CancellingTheDayRestoresThePlanExactly) {
  GeneratedDay day;
  const quort::TimetableGrids before = day.ws.plan.timetable;
  day.absent("MR");
  day.absent("7A");
  day.absent("WS", "2", "3");
  ASSERT_TRUE(quort::evaluateDay(day.ws, day.ui, day.date));
  EXPECT_TRUE(quort::checkPlanConsistency(day.ws).empty());
  ASSERT_FALSE(day.ws.plan.openLessons.empty());
  EXPECT_GT(quort::autoSubstitute(day.ws, day.ui, {day.date, false, true, false, true}), 0);
  EXPECT_TRUE(quort::checkPlanConsistency(day.ws).empty());
  EXPECT_NE(day.ws.plan.timetable, before);
  ASSERT_TRUE(quort::cancelDay(day.ws, day.ui, day.date));
  EXPECT_TRUE(day.ws.plan.timetable == before);
  EXPECT_TRUE(day.ws.plan.openLessons.empty());
}

// An absent teacher's lessons become open lessons, the class cells are emptied one by one
// and the teacher is blocked (never a free candidate) in exactly the absent periods.
TEST(DayPlan, TeacherAbsenceMarksOnlyTheAbsentPeriods) {
  GeneratedDay day;
  const int t = day.teacher("WS");
  day.absent("WS", "2", "3");
  ASSERT_TRUE(quort::evaluateDay(day.ws, day.ui, day.date));
  for (int p = 1; p <= day.ws.base.periodsPerDay; ++p) {
    const int value = day.ws.plan.timetable.teacher.at(t, p, 1);
    if (p == 2 || p == 3) {
      EXPECT_EQ(value, 2) << p;
    } else {
      EXPECT_NE(value & 255, 2) << p;
    }
  }
  const quort::CandidateScore score = quort::scoreCandidate(day.ws, {1, 2, t, 1, 0, false});
  EXPECT_EQ(score.flags & quort::CandidateFlag::kFree, 0);
}

// A day file that cannot be written leaves grids and records as they were, and nothing
// says "gesetzt!".
TEST(DayPlan, FileErrorLeavesTheDayUntouched) {
  GeneratedDay day;
  day.absent("MR");
  ASSERT_TRUE(quort::evaluateDay(day.ws, day.ui, day.date));
  std::filesystem::remove("sMO.x");
  std::filesystem::create_directory("sMO.x");
  const quort::TimetableGrids before = day.ws.plan.timetable;
  const std::string open = day.ws.plan.openLessons;
  const quort::OpenLessonView first(open, 0);
  const size_t records = day.ui.records().size();
  EXPECT_FALSE(quort::setSubstitution(
      day.ws, day.ui, {day.date, first.day(), first.period(), first.schoolClass(), "*", {}, false, false}));
  EXPECT_TRUE(day.ws.plan.timetable == before);
  EXPECT_EQ(day.ws.plan.openLessons, open);
  for (size_t i = records; i < day.ui.records().size(); ++i) {
    EXPECT_EQ(day.ui.records()[i].text.find("gesetzt!"), std::string::npos);
  }
}

// "~" teachers never appear in the candidate list.
TEST(Candidates, TildeTeachersAreNeverCandidates) {
  GeneratedDay day;
  day.ws.base.teachers[1].code = "~A";
  const quort::CandidateLists lists = quort::candidateList(day.ws, 1, 1, 1, 0);
  for (const quort::TeacherCandidate& candidate : lists.teachers) EXPECT_NE(candidate.teacher, 1);
  EXPECT_EQ(lists.teachers.size(), static_cast<size_t>(day.ws.base.nTeachers() - 2));
}

}  // namespace
