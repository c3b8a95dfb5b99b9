#include "timetable/lesson_move.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "data/plan_file_format.h"
#include "data/plan_records.h"
#include "demo_school.h"
#include "shell/application.h"
#include "shell/history_commands.h"
#include "support/capacity_school.h"
#include "timetable/manual_placement.h"
#include "timetable/room_setting.h"
#include "workspace/plan_history.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

std::string planBytes(const Workspace& ws) {
  std::string reason;
  return formatPlanFile(ws.base, ws.plan, PlanWriteOptions{}, reason).value_or("unsaveable: " + reason);
}

// The capacity school with part of its week placed: entries go one by one to random slots,
// every question declined, so only clean placements stand.
struct PlacedCapacitySchool {
  Workspace ws;
  ScriptedUi ui;
  Application app{ws, ui};
  std::mt19937 random;

  explicit PlacedCapacitySchool(unsigned seed) : random(seed) {
    test::buildCapacitySchool(ws);
    for (int tries = 0; tries < 1500; ++tries) {
      const size_t count = recordCount(ws.plan.assignments, AssignmentView::kSize);
      if (count == 0) break;
      placeAssignment(ws, ui, random() % count, randomSlot());
    }
  }
  Slot randomSlot() {
    return Slot{static_cast<int>(random() % ws.base.days) + 1, static_cast<int>(random() % ws.base.periodsPerDay) + 1};
  }
  int randomClass() { return static_cast<int>(random() % ws.base.nClasses()) + 1; }
  bool hasLesson(int c, Slot slot) const {
    return LessonWord::teacher(ws.plan.timetable.lessonWord.at(c, slot.period, slot.day)) != 0;
  }
};

// A move to a free slot is one named step: the lesson leaves its slot, stands at the new
// one, and undo and redo walk between the two plans.
TEST(LessonMove, MoveIsOneNamedStepThatUndoAndRedoWalk) {
  PlacedCapacitySchool school(7);
  Workspace& ws = school.ws;
  for (int tries = 0; tries < 10000; ++tries) {
    const int c = school.randomClass();
    const Slot from = school.randomSlot();
    const Slot to = school.randomSlot();
    if (!school.hasLesson(c, from) || school.hasLesson(c, to) || from.day == to.day) continue;
    const uint16_t lesson = ws.plan.timetable.lessonWord.at(c, from.period, from.day);
    if (LessonWord::coupledOrFixed(lesson)) continue;
    const std::string before = planBytes(ws);
    const std::string name = lessonMoveName(ws, c, from, to);
    if (moveLessonStep(school.app, MoveRequest{c, from, to}) != MoveOutcome::Moved) continue;
    EXPECT_EQ(ws.plan.timetable.lessonWord.at(c, to.period, to.day), lesson);
    EXPECT_FALSE(school.hasLesson(c, from));
    ASSERT_EQ(ws.history.steps(), 1U);
    EXPECT_EQ(ws.history.undoName(), name);
    EXPECT_NE(name.find(" nach "), std::string::npos);
    const std::string after = planBytes(ws);
    ASSERT_TRUE(undoPlanStep(school.app));
    EXPECT_EQ(planBytes(ws), before);
    EXPECT_EQ(ws.history.redoName(), name);
    ASSERT_TRUE(redoPlanStep(school.app));
    EXPECT_EQ(planBytes(ws), after);
    EXPECT_FALSE(redoPlanStep(school.app));
    return;
  }
  FAIL() << "no movable lesson found";
}

// A move onto a taken slot whose question is declined, and a move from an empty slot,
// leave the plan as it was and add no step.
TEST(LessonMove, RefusedMoveLeavesEverythingAsItWas) {
  PlacedCapacitySchool school(11);
  Workspace& ws = school.ws;
  int refused = 0;
  for (int tries = 0; tries < 10000 && refused < 5; ++tries) {
    const int c = school.randomClass();
    const Slot from = school.randomSlot();
    const Slot to = school.randomSlot();
    if (!school.hasLesson(c, from) || !school.hasLesson(c, to) || from.day == to.day) continue;
    const std::string before = planBytes(ws);
    EXPECT_EQ(moveLessonStep(school.app, MoveRequest{c, from, to}), MoveOutcome::Refused);
    EXPECT_EQ(planBytes(ws), before);
    ++refused;
  }
  EXPECT_EQ(refused, 5);
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    const Slot slot{1, 1};
    if (school.hasLesson(c, slot)) continue;
    EXPECT_EQ(moveLessonStep(school.app, MoveRequest{c, slot, Slot{2, 2}}), MoveOutcome::NoLesson);
    break;
  }
  EXPECT_EQ(ws.history.steps(), 0U);
}

// 100 random moves, then 100 undos, give the saved plan back byte for byte; the history
// never keeps more than 100 steps, and what 100 steps take is printed for the record.
TEST(LessonMove, HundredRandomMovesUndoneGiveThePlanBack) {
  const unsigned seed = 2026;
  PlacedCapacitySchool school(seed);
  Workspace& ws = school.ws;
  const std::string opened = planBytes(ws);
  // A move that ends where it started changes nothing and is no step, so the history
  // counts the moves.
  for (int tries = 0; tries < 200000 && ws.history.steps() < 100; ++tries) {
    const int c = school.randomClass();
    const Slot from = school.randomSlot();
    if (school.hasLesson(c, from)) moveLessonStep(school.app, MoveRequest{c, from, school.randomSlot()});
  }
  EXPECT_NE(planBytes(ws), opened);
  EXPECT_EQ(ws.history.steps(), 100U);
  std::printf("[ memory ] 100 undo steps on the capacity school: %zu bytes\n", ws.history.bytes());
  EXPECT_LT(ws.history.bytes(), 64U * 1024 * 1024);
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(undoPlanStep(school.app)) << "undo " << i << ", seed " << seed;
  EXPECT_FALSE(undoPlanStep(school.app));
  EXPECT_EQ(planBytes(ws), opened) << "seed " << seed;
}

// 5A's first lesson stands on MO 1 in room 101, 5B's on DI 3 in the same room.
class MoveWithRoom : public ::testing::Test {
 protected:
  void SetUp() override {
    placeFirstOf("5A", kMonday1);
    placeFirstOf("5B", kTuesday3);
    ASSERT_TRUE(setRoom(ws, demo.ui, {demo.room("101"), demo.schoolClass("5A"), kMonday1}));
    ASSERT_TRUE(setRoom(ws, demo.ui, {demo.room("101"), demo.schoolClass("5B"), kTuesday3}));
  }
  void placeFirstOf(const std::string& c, Slot slot) {
    const std::string& list = ws.plan.assignments;
    for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
      const AssignmentView e(list, i);
      if (e.schoolClass() != demo.schoolClass(c) || e.isCoupling()) continue;
      if (placeAssignment(ws, demo.ui, i, slot) == PlaceOutcome::Placed) return;
    }
    FAIL() << "nothing placed in " << c;
  }
  MoveOutcome move(Slot from, Slot to) { return moveLessonStep(demo.app, {demo.schoolClass("5A"), from, to}); }
  int holder(Slot slot) const { return ws.plan.timetable.room.at(demo.room("101"), slot.period, slot.day); }

  static constexpr Slot kMonday1{1, 1};
  static constexpr Slot kTuesday3{2, 3};
  static constexpr Slot kWednesday2{3, 2};
  test::InTempDirectory dir;
  test::DemoSchool demo;
  Workspace& ws = demo.ws;
};

// A moved lesson takes its room along where the room is free at the new time, and undo
// gives the room back at the old slot.
TEST_F(MoveWithRoom, MovedLessonKeepsItsFreeRoom) {
  ASSERT_EQ(move(kMonday1, kWednesday2), MoveOutcome::Moved);
  EXPECT_EQ(demo.roomOf("5A", kWednesday2), demo.room("101"));
  EXPECT_EQ(holder(kWednesday2), demo.schoolClass("5A"));
  EXPECT_EQ(holder(kMonday1), 0);
  EXPECT_TRUE(demo.consistent());
  ASSERT_TRUE(undoPlanStep(demo.app));
  EXPECT_EQ(demo.roomOf("5A", kMonday1), demo.room("101"));
  EXPECT_EQ(holder(kMonday1), demo.schoolClass("5A"));
  EXPECT_TRUE(demo.consistent());
}

// Where another class holds the room at the new time, the lesson arrives without a room
// (as a new placement would) and the other class keeps it.
TEST_F(MoveWithRoom, RoomTakenAtTheNewTimeStaysWithItsHolder) {
  demo.ui.queueAnswer("Ja");  // the teachers may meet on DI 3
  ASSERT_EQ(move(kMonday1, kTuesday3), MoveOutcome::Moved);
  EXPECT_NE(LessonWord::teacher(demo.lesson("5A", kTuesday3)), 0);
  EXPECT_EQ(demo.roomOf("5A", kTuesday3), 0);
  EXPECT_EQ(demo.roomOf("5B", kTuesday3), demo.room("101"));
  EXPECT_EQ(holder(kTuesday3), demo.schoolClass("5B"));
  EXPECT_EQ(holder(kMonday1), 0);
  EXPECT_TRUE(demo.consistent());
}

// The marks of a lesson being dragged see the plan without it: its own slot is free, the
// other slot of its class is taken, and the plan is untouched afterwards.
TEST_F(MoveWithRoom, LessonFitsSeeThePlanWithoutTheLesson) {
  const std::string before = planBytes(ws);
  const std::string assignments = ws.plan.assignments;
  const std::vector<SlotFit> fits = lessonFits(ws, demo.ui, demo.schoolClass("5A"), kMonday1);
  ASSERT_EQ(fits.size(), static_cast<size_t>(ws.base.days * ws.base.periodsPerDay));
  EXPECT_EQ(fits[fitIndex(ws, kMonday1)].code, CheckCode::Free);
  EXPECT_EQ(fits[fitIndex(ws, kWednesday2)].code, CheckCode::Free);
  EXPECT_EQ(planBytes(ws), before);
  EXPECT_EQ(ws.plan.assignments, assignments);
  EXPECT_TRUE(lessonFits(ws, demo.ui, demo.schoolClass("5A"), kWednesday2).empty());
  EXPECT_TRUE(demo.consistent());
}

// The history keeps the last 100 steps: the 101st drops the oldest.
TEST(PlanHistory, KeepsTheLastHundredSteps) {
  PlanTables plan;
  PlanHistory history;
  for (int i = 0; i < 101; ++i) {
    history.begin(plan);
    plan.assignments += makeAssignment(1, 1, 1, 1);
    history.commit(plan, "Schritt " + std::to_string(i));
  }
  EXPECT_EQ(history.steps(), 100U);
  while (history.undo(plan)) {
  }
  EXPECT_EQ(plan.assignments.size(), 4U);  // the first step cannot be undone any more
  // A command that changed nothing is no step, and a new step drops what could be redone.
  history.begin(plan);
  history.commit(plan, "nichts");
  EXPECT_FALSE(history.canUndo());
  history.begin(plan);
  plan.assignments.clear();
  history.commit(plan, "leeren");
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(history.undoName(), "leeren");
}

}  // namespace
}  // namespace quort
