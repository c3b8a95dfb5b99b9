#include "timetable/plan_completion.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "demo_school.h"
#include "lesson_periods.h"
#include "support/feasible_school.h"
#include "timetable/assignment_list.h"
#include "timetable/generation_filter.h"
#include "timetable/lesson_writing.h"
#include "timetable/plan_generator.h"
#include "workspace/plan_file.h"
#include "workspace/scripted_ui.h"

namespace quort {
namespace {

using test::FeasibleSchool;
using test::FeasibleShape;

// The rules of the slot check, derived again from the class grid alone (with the locks of
// the teacher and subject grids), so that a fault shared by the slot check and the
// completion still shows: clashes of teachers, option 8, the same-day rule, block lengths
// of single, double and triple lessons, room counts, teacher locks above the last level,
// and the members of every coupling together.
std::vector<std::string> ruleViolations(const Workspace& ws) {
  std::vector<std::string> faults;
  const BaseData& base = ws.base;
  const TimetableGrids& grids = ws.plan.timetable;
  const int periods = base.periodsPerDay;
  const int lastLevel = base.planOptions.attemptsPerPlan;
  const auto where = [&](int day, int p) { return " day " + std::to_string(day) + " period " + std::to_string(p); };
  for (int day = 1; day <= kGridDays; ++day) {
    std::map<int, int> perTeacherDay;
    for (int p = 1; p <= periods; ++p) {
      std::map<int, int> teacherClass;
      std::map<int, int> groupUse;
      std::map<int, std::map<int, int>> couplingClasses;  // coupling -> class -> cell
      for (int c = 1; c <= base.nClasses(); ++c) {
        const uint16_t w = grids.lessonWord.at(c, p, day);
        if (w == 0 || w == classLockWord(base)) continue;
        if (day > base.days) faults.push_back("lesson on a day off" + where(day, p));
        const int t = LessonWord::teacher(w);
        const int k = RoomWord::coupling(grids.roomWord.at(c, p, day));
        if (k != 0) couplingClasses[k][c] = w;
        if (!hasTeacherGrid(base, t)) continue;
        if (teacherClass.count(t) != 0) faults.push_back("teacher " + std::to_string(t) + " twice" + where(day, p));
        teacherClass[t] = c;
        ++perTeacherDay[t];
        if ((grids.teacher.at(t, p, day) & 255) > lastLevel)
          faults.push_back("lesson over a teacher lock" + where(day, p));
        if (const int g = roomGroup(base, LessonWord::subject(w))) ++groupUse[g];
      }
      for (const auto& [g, used] : groupUse) {
        const int spec = base.subjects[static_cast<size_t>(g)].roomSpec;
        const int locked = grids.subject.at(g, p, day) >> 8;
        if (spec > 0 && used + locked > (spec & 255) + (spec >> 8))
          faults.push_back("rooms of subject " + std::to_string(g) + where(day, p));
      }
      for (const auto& [k, cells] : couplingClasses) {
        const std::string& members = ws.plan.couplings[static_cast<size_t>(k)];
        for (size_t m = 0; m < recordCount(members, CouplingMemberView::kSize); ++m) {
          const CouplingMemberView member(members, m);
          const auto found = cells.find(member.schoolClass());
          if (found == cells.end() || LessonWord::teacher(static_cast<uint16_t>(found->second)) != member.teacher() ||
              LessonWord::subject(static_cast<uint16_t>(found->second)) != member.subject())
            faults.push_back("coupling " + std::to_string(k) + " not whole" + where(day, p));
        }
      }
    }
    for (const auto& [t, n] : perTeacherDay)
      if (n > base.planOptions.maxTeacherLessonsPerDay)
        faults.push_back("teacher " + std::to_string(t) + " over option 8 on day " + std::to_string(day));
    // One block a day per lesson; a block no longer than its kind allows.
    for (int c = 1; c <= base.nClasses(); ++c) {
      std::map<std::pair<int, int>, int> blocks;  // (cell div 128, subject) -> blocks
      for (int p = 1; p <= periods; ++p) {
        const uint16_t w = grids.lessonWord.at(c, p, day);
        if (w == 0 || w == classLockWord(base)) continue;
        const int k = RoomWord::coupling(grids.roomWord.at(c, p, day));
        if (p > 1 && grids.lessonWord.at(c, p - 1, day) == w &&
            RoomWord::coupling(grids.roomWord.at(c, p - 1, day)) == k)
          continue;
        ++blocks[{w >> 7, LessonWord::subject(w)}];
        int length = 1;
        while (p + length <= periods && grids.lessonWord.at(c, p + length, day) == w &&
               RoomWord::coupling(grids.roomWord.at(c, p + length, day)) == k)
          ++length;
        const Subject& subject = base.subjects[static_cast<size_t>(LessonWord::subject(w))];
        const bool marked = RoomWord::marker(grids.roomWord.at(c, p, day));
        const int allowed = k != 0 ? 3 : (subject.lessonKind != 0 || marked ? 2 : 1);
        if (length > allowed) faults.push_back("block of " + std::to_string(length) + where(day, p));
      }
      for (const auto& [key, n] : blocks)
        if (n > 1) faults.push_back("lesson twice in class " + std::to_string(c) + " on day " + std::to_string(day));
    }
  }
  return faults;
}

// The cells the completion may never touch: fixed lessons and class locks.
std::vector<uint16_t> protectedCells(const Workspace& ws) {
  std::vector<uint16_t> cells;
  for (int c = 1; c <= ws.base.nClasses(); ++c)
    for (int day = 1; day <= kGridDays; ++day)
      for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
        const uint16_t w = ws.plan.timetable.lessonWord.at(c, p, day);
        const bool fixed =
            LessonWord::coupledOrFixed(w) && RoomWord::coupling(ws.plan.timetable.roomWord.at(c, p, day)) == 0;
        cells.push_back(fixed ? w : 0);
      }
  return cells;
}

// A few lessons of the drawn timetable fixed in place, and teacher locks where the
// timetable leaves the teacher free: they keep the school feasible and must stay.
void fixAndLock(FeasibleSchool& school, std::mt19937& draw) {
  Workspace& ws = school.ws;
  for (int c = 1; c <= school.classes(); ++c)
    for (int day = 1; day <= school.days; ++day)
      for (int p = 1; p <= school.periods; ++p) {
        const FeasibleSchool::Lesson& l = school.at(c, day, p);
        const bool start =
            p == 1 || school.at(c, day, p - 1).teacher != l.teacher || school.at(c, day, p - 1).subject != l.subject;
        if (l.teacher == 0 || l.coupling != 0 || !start || draw() % 25 != 0) continue;
        const bool pair = ws.base.subjects[static_cast<size_t>(l.subject)].lessonKind != 0;
        const std::string entry = makeAssignment(l.teacher, c, l.subject, pair ? 2 : 1);
        placeUnits(ws, entry, Slot{day, p}, UnitPlacement{pair ? 1 : 0, 0, 0});
        for (int q = p; q <= p + (pair ? 1 : 0); ++q) ws.plan.timetable.lessonWord.at(c, q, day) |= 128;
        mergeEntries(entry, ws.plan.assignments, MergeMode::Subtract);
      }
  for (int n = 0; n < 20; ++n) {
    const int t = 1 + static_cast<int>(draw() % static_cast<uint32_t>(ws.base.nTeachers() - 1));
    const int day = 1 + static_cast<int>(draw() % 5);
    const int p = 1 + static_cast<int>(draw() % static_cast<uint32_t>(school.periods));
    bool teaches = false;
    for (int c = 1; c <= school.classes(); ++c) teaches |= school.at(c, day, p).teacher == t;
    uint16_t& cell = ws.plan.timetable.teacher.at(t, p, day);
    if (!teaches && cell < 256) cell = static_cast<uint16_t>(1 + draw() % 6);  // above the last level (4) too
  }
}

GenerationFilter everything() {
  GenerationFilter filter;
  filter.couplings = true;
  return filter;
}

CompletionSettings settingsFor(long budget) {
  CompletionSettings settings;
  settings.filter = everything();
  settings.shiftCouplings = true;
  settings.iterationBudget = budget;
  settings.timeLimitSeconds = 600;  // the budget ends the run, the same on every machine
  return settings;
}

// Fifty drawn feasible schools, some lessons fixed and teachers locked: after the generator
// and the completion every lesson keeps its periods, the grids agree, no rule is broken,
// fixed lessons stand where they stood, and open periods never grow.
TEST(PlanCompletion, DrawnSchoolsKeepEveryRuleAndEveryPeriod) {
  test::InTempDirectory dir;
  int unplaced = 0;
  for (uint32_t seed = 1; seed <= 50; ++seed) {
    std::mt19937 draw(seed);
    FeasibleShape shape;
    shape.seed = seed;
    shape.grades = 2 + static_cast<int>(draw() % 2);
    shape.classesPerGrade = 2 + static_cast<int>(draw() % 2);
    shape.periodsPerDay = 8 + static_cast<int>(draw() % 3);
    FeasibleSchool school(shape);
    ScriptedUi ui;
    Workspace& ws = school.ws;
    if (seed % 2 == 0) fixAndLock(school, draw);
    const auto periods = test::periodsPerLesson(ws);
    generateWorkList(ws, ui, buildWorkList(ws, everything()), GenerationSwitches{true, true, false});
    ASSERT_EQ(test::periodsPerLesson(ws), periods) << "seed " << seed;
    // The generator itself moves fixed lessons when couplings may move; the completion never.
    const std::vector<uint16_t> fixed = protectedCells(ws);
    const int openAfterGenerator = openPeriodCount(ws);
    const CompletionReport report = completePlan(ws, ui, settingsFor(3000));
    SCOPED_TRACE("seed " + std::to_string(seed));
    EXPECT_EQ(report.openBefore, openAfterGenerator);
    EXPECT_LE(report.openAfter, report.openBefore);
    EXPECT_EQ(report.openAfter, openPeriodCount(ws));
    EXPECT_EQ(test::periodsPerLesson(ws), periods);
    EXPECT_EQ(checkPlanConsistency(ws), std::vector<std::string>{});
    EXPECT_EQ(ruleViolations(ws), std::vector<std::string>{});
    EXPECT_EQ(protectedCells(ws), fixed);
    EXPECT_EQ(report.reasons.size(), recordCount(ws.plan.assignments, AssignmentView::kSize));
    unplaced += report.openAfter;
    // Again on its own result: what is placed stays placed, the gaps can only fall.
    if (seed % 3 == 0) {
      const CompletionReport again = completePlan(ws, ui, settingsFor(3000));
      EXPECT_EQ(again.openAfter, report.openAfter);
      EXPECT_LE(again.gapsAfter, report.gapsAfter);
      EXPECT_EQ(again.gapsAfter, teacherGapCount(ws));
      EXPECT_EQ(test::periodsPerLesson(ws), periods);
      EXPECT_EQ(checkPlanConsistency(ws), std::vector<std::string>{});
      EXPECT_EQ(ruleViolations(ws), std::vector<std::string>{});
      EXPECT_EQ(protectedCells(ws), fixed);
    }
  }
  std::cout << "periods left open over 50 schools: " << unplaced << "\n";
}

}  // namespace
}  // namespace quort

namespace quort {
namespace {

// "Autom.Setzen" over everything, then the completion, on a fresh demo school.
CompletionReport generateAndComplete(test::DemoSchool& school) {
  generateWorkList(school.ws, school.ui, buildWorkList(school.ws, everything()), GenerationSwitches{true, true, false});
  return completePlan(school.ws, school.ui, settingsFor(0));
}

// The generator leaves periods of the demo school open; the completion places all of them
// and leaves the teachers fewer gaps than the generator did.
TEST(PlanCompletion, DemoSchoolEndsWithNothingOpen) {
  test::InTempDirectory dir;
  test::DemoSchool school;
  const auto periods = test::periodsPerLesson(school.ws);
  const CompletionReport report = generateAndComplete(school);
  std::cout << "demo: open " << report.openBefore << " -> " << report.openAfter << ", gaps " << report.gapsBefore
            << " -> " << report.gapsAfter << ", " << report.iterations << " moves\n";
  EXPECT_GT(report.openBefore, 0);
  EXPECT_EQ(report.openAfter, 0);
  EXPECT_LT(report.gapsAfter, report.gapsBefore);
  EXPECT_EQ(report.gapsAfter, teacherGapCount(school.ws));
  EXPECT_TRUE(report.reasons.empty());
  EXPECT_EQ(test::periodsPerLesson(school.ws), periods);
  EXPECT_EQ(ruleViolations(school.ws), std::vector<std::string>{});
  EXPECT_TRUE(school.consistent());
}

// Two program starts on the same plan give the same completed plan.
TEST(PlanCompletion, SamePlanSameResult) {
  test::InTempDirectory dir;
  test::DemoSchool first;
  test::DemoSchool second;
  generateAndComplete(first);
  generateAndComplete(second);
  EXPECT_TRUE(first.ws.plan.timetable == second.ws.plan.timetable);
  EXPECT_EQ(first.ws.plan.assignments, second.ws.plan.assignments);
}

}  // namespace
}  // namespace quort

namespace quort {
namespace {

// A teacher locked above the last level wherever his class is free cannot be placed; the
// list says so, and the run changes nothing it cannot improve.
TEST(PlanCompletion, LockedTeacherIsNamedInTheReason) {
  FeasibleShape shape;
  shape.seed = 7;
  shape.grades = 2;
  shape.classesPerGrade = 2;
  FeasibleSchool school(shape);
  Workspace& ws = school.ws;
  ScriptedUi ui;
  const AssignmentView first(ws.plan.assignments, recordCount(ws.plan.assignments, AssignmentView::kSize) - 1);
  const int teacher = first.teacher();
  ASSERT_NE(teacher, 0);
  for (int day = 1; day <= school.days; ++day)
    for (int p = 1; p <= school.periods; ++p) ws.plan.timetable.teacher.at(teacher, p, day) = 9;
  const CompletionReport report = completePlan(ws, ui, settingsFor(2000));
  const std::string expected = trimmedCode(ws.base.subjects[static_cast<size_t>(first.subject())].code) + " " +
                               trimmedCode(ws.base.classes[static_cast<size_t>(first.schoolClass())].code) +
                               ": Lehrer " + trimmedCode(ws.base.teachers[static_cast<size_t>(teacher)].code) +
                               " an allen freien Stunden der Klasse gesperrt";
  EXPECT_NE(std::find(report.reasons.begin(), report.reasons.end(), expected), report.reasons.end())
      << testing::PrintToString(report.reasons);
  EXPECT_EQ(ruleViolations(ws), std::vector<std::string>{});
  EXPECT_TRUE(checkPlanConsistency(ws).empty());
}

// A key press answered "Ja" ends the run at the next progress line in its best state.
TEST(PlanCompletion, AbortEndsInTheBestStateWithEveryPeriod) {
  test::InTempDirectory dir;
  test::DemoSchool school;
  generateWorkList(school.ws, school.ui, buildWorkList(school.ws, everything()), GenerationSwitches{true, true, false});
  const auto periods = test::periodsPerLesson(school.ws);
  school.ui.pressKey();
  school.ui.queueAnswer("Ja");
  const CompletionReport report = completePlan(school.ws, school.ui, settingsFor(0));
  EXPECT_TRUE(report.aborted);
  EXPECT_LE(report.iterations, 64);
  EXPECT_LE(report.openAfter, report.openBefore);
  EXPECT_EQ(test::periodsPerLesson(school.ws), periods);
  EXPECT_TRUE(school.consistent());
}

}  // namespace
}  // namespace quort

namespace quort {
namespace {

// Schools as crowded as the capacity ones, smaller: classes 95 % full and teachers busy at
// nearly every period, so the last periods need long chains of moves and room evictions.
FeasibleShape crowdedShape(uint32_t seed) {
  FeasibleShape shape;
  shape.seed = seed;
  shape.grades = 4;
  shape.classesPerGrade = 4;
  shape.coupledGrades = 2;
  shape.periodsPerDay = 8;
  shape.maxPerDay = 8;
  shape.teachers = 16;
  shape.minFill = 0.95;
  return shape;
}

// Left to its own number of moves the completion places every period of a crowded school,
// the same way on every run, and keeps every rule; a number of moves given is kept exactly.
TEST(PlanCompletion, CrowdedSchoolsEndWithNothingOpenTheSameWayEveryTime) {
  test::InTempDirectory dir;
  for (const uint32_t seed : {1U, 2U, 9U}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    FeasibleSchool first(crowdedShape(seed));
    FeasibleSchool second(crowdedShape(seed));
    ScriptedUi ui;
    const auto periods = test::periodsPerLesson(first.ws);
    generateWorkList(first.ws, ui, buildWorkList(first.ws, everything()), GenerationSwitches{true, true, false});
    generateWorkList(second.ws, ui, buildWorkList(second.ws, everything()), GenerationSwitches{true, true, false});
    const CompletionReport report = completePlan(first.ws, ui, settingsFor(0));
    std::cout << "crowded " << seed << ": open " << report.openBefore << " -> " << report.openAfter << ", "
              << report.iterations << " moves\n";
    EXPECT_GT(report.openBefore, 0);
    EXPECT_EQ(report.openAfter, 0);
    EXPECT_EQ(test::periodsPerLesson(first.ws), periods);
    EXPECT_EQ(checkPlanConsistency(first.ws), std::vector<std::string>{});
    EXPECT_EQ(ruleViolations(first.ws), std::vector<std::string>{});
    const CompletionReport again = completePlan(second.ws, ui, settingsFor(0));
    EXPECT_EQ(again.iterations, report.iterations);
    EXPECT_TRUE(first.ws.plan.timetable == second.ws.plan.timetable);
    EXPECT_EQ(first.ws.plan.assignments, second.ws.plan.assignments);
  }
  // Too few moves for the school: exactly that many, and nothing placed is lost.
  FeasibleSchool school(crowdedShape(4));
  ScriptedUi ui;
  generateWorkList(school.ws, ui, buildWorkList(school.ws, everything()), GenerationSwitches{true, true, false});
  const CompletionReport report = completePlan(school.ws, ui, settingsFor(40));
  EXPECT_EQ(report.iterations, 40);
  EXPECT_LE(report.openAfter, report.openBefore);
  EXPECT_EQ(ruleViolations(school.ws), std::vector<std::string>{});
}

}  // namespace
}  // namespace quort
