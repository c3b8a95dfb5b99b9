#include "timetable/plan_views.h"

#include <gtest/gtest.h>

#include "demo_school.h"

namespace quort {
namespace {

// "X:" chooses the plans the view shows and what the cells name; bad switches change nothing.
TEST(PlanViews, SwitchesChooseThePlansAndTheCellContents) {
  const test::InTempDirectory here;
  test::DemoSchool demo;
  demo.app.typeCommand("P:1");  // MR D 5A
  demo.app.typeCommand(">MO1");
  demo.app.typeCommand(">DI1 R:101");
  demo.app.typeCommand("x:l mr");
  EXPECT_EQ(demo.ws.shell.view.kind, PlanViewKind::Teacher);
  EXPECT_EQ(demo.ws.shell.currentTeacher, demo.teacher("MR"));
  EXPECT_EQ(planGridLines(demo.ws, PlanViewKind::Teacher, demo.teacher("MR"))[1],
            "  1  D 5A            .               .               .               .");
  demo.app.typeCommand("X:NK");
  demo.app.typeCommand("X:AR");
  demo.app.typeCommand("X:R ZZZ");  // no such room: nothing changes
  EXPECT_EQ(demo.ws.shell.view.kind, PlanViewKind::Teacher);
  EXPECT_EQ(planGridLines(demo.ws, PlanViewKind::Class, demo.schoolClass("5A"))[1],
            "  1  D MR            .               .               .               .");
  demo.app.typeCommand("X:A");
  EXPECT_EQ(planGridLines(demo.ws, PlanViewKind::Room, demo.room("101"))[1],
            "  1  .               .               .               .               .");
  EXPECT_TRUE(demo.ui.saw("Kein Unterricht in 5A!"));
}

// The list of what is still to place follows the placements and can be narrowed down.
TEST(PlanViews, ListOfLessonsToPlaceNarrowsToAClassOrTeacher) {
  const test::InTempDirectory here;
  test::DemoSchool demo;
  const auto forTeacher = lessonsToPlaceList(demo.ws, {.teacher = demo.teacher("MR")});
  EXPECT_EQ(forTeacher.front(), "  1  MR D  5A  5");
  EXPECT_EQ(forTeacher.back(), "Summe: 20 Stunden");
  EXPECT_EQ(forTeacher.size(), 7U);  // four lessons, two couplings with MR as a course teacher
  demo.app.typeCommand("P:1");
  demo.app.typeCommand(">MO1");
  EXPECT_EQ(lessonsToPlaceList(demo.ws, {.teacher = demo.teacher("MR")}).back(), "Summe: 19 Stunden");
  EXPECT_EQ(lessonsToPlaceList(demo.ws, {.schoolClass = demo.schoolClass("12F")}).size(),
            17U);  // nine bands, sixteen entries
  EXPECT_EQ(missingRoomsList(demo.ws, {}), std::vector<std::string>{"MO  1  5A  D  MR"});
}

}  // namespace
}  // namespace quort
