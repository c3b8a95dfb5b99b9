#include "timetable/plan_deletion.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "demo_school.h"
#include "timetable/assignment_list.h"
#include "timetable/manual_placement.h"
#include "timetable/room_setting.h"

namespace quort {
namespace {

// 5A has German on Monday, period 1 (room 101), and coupled religion on Monday, period 2.
class PlanDeletion : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto german = findAssignment(demo.ws.plan.assignments, demo.entry("MR", "D", "5A"));
    ASSERT_EQ(placeAssignment(demo.ws, demo.ui, *german, kGerman), PlaceOutcome::Placed);
    const auto religion = findAssignment(demo.ws.plan.assignments, demo.couplingEntry(1, 0));
    ASSERT_EQ(placeAssignment(demo.ws, demo.ui, *religion, kReligion), PlaceOutcome::Placed);
    ASSERT_TRUE(setRoom(demo.ws, demo.ui, {demo.room("101"), demo.schoolClass("5A"), kGerman}));
    m_assignments = demo.ws.plan.assignments;
  }

  static constexpr Slot kGerman{1, 1};
  static constexpr Slot kReligion{1, 2};
  const test::InTempDirectory m_here;
  test::DemoSchool demo;
  std::string m_assignments;
};

// Deleting the timetable leaves coupled lessons alone unless they are ticked.
TEST_F(PlanDeletion, TimetableGoesBackIntoTheAssignmentsCoupledOnlyWhenTicked) {
  demo.ui.queueAnswer("alle Klassen");
  EXPECT_TRUE(deletePlan(demo.ws, demo.ui));
  EXPECT_EQ(demo.lesson("5A", kGerman), 0);
  EXPECT_NE(demo.lesson("5A", kReligion), 0);
  EXPECT_EQ(demo.periodsToPlace("MR", "D", "5A"), 5);

  demo.ui.queueAnswer("?1");
  demo.ui.queueAnswer("Klasse 5A");
  EXPECT_TRUE(deletePlan(demo.ws, demo.ui));
  EXPECT_EQ(demo.lesson("5D", kReligion), 0);
  EXPECT_EQ(AssignmentView(std::string_view(demo.couplingEntry(1, 0)), 0).periods(), 2);
  EXPECT_TRUE(demo.consistent());
  EXPECT_FALSE(deletePlan(demo.ws, demo.ui));  // no answer: cancelled
}

// The room plan loses its rooms, the lessons stay; "zurück" brings the rooms back.
TEST_F(PlanDeletion, RoomPlanLosesOnlyTheRoomsAndUndoReturnsThem) {
  demo.ws.shell.workMode = 2;
  demo.ui.queueAnswer("alle Klassen");
  EXPECT_TRUE(deletePlan(demo.ws, demo.ui));
  EXPECT_EQ(demo.roomOf("5A", kGerman), 0);
  EXPECT_NE(demo.lesson("5A", kGerman), 0);
  EXPECT_TRUE(demo.consistent());
  demo.app.typeCommand("U");
  EXPECT_EQ(demo.roomOf("5A", kGerman), demo.room("101"));
  EXPECT_TRUE(demo.consistent());
}

// Dropping the lessons still to place asks first and can be undone.
TEST_F(PlanDeletion, LessonsToPlaceAreDroppedAfterTheQuestion) {
  EXPECT_FALSE(deleteLessonsToPlace(demo.ws, demo.ui));
  EXPECT_TRUE(demo.ui.saw("Alle zu setzende Stunden l\xF6schen?"));
  demo.ui.queueAnswer("Ja");
  EXPECT_TRUE(deleteLessonsToPlace(demo.ws, demo.ui));
  EXPECT_TRUE(demo.ws.plan.assignments.empty());
  demo.app.typeCommand("U");
  EXPECT_EQ(demo.ws.plan.assignments, m_assignments);
  EXPECT_NE(demo.lesson("5A", kGerman), 0);
}

}  // namespace
}  // namespace quort
