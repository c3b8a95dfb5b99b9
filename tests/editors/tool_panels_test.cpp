#include "editors/tool_panels.h"

#include <gtest/gtest.h>

#include "data/plan_grids.h"
#include "editors/plan_verification.h"
#include "shell/menu_actions.h"
#include "timetable/demo_school.h"
#include "timetable/lesson_removal.h"
#include "timetable/manual_placement.h"
#include "timetable/slot_check.h"

namespace quort {
namespace {

class ToolPanels : public ::testing::Test {
 protected:
  void click(Slot slot) {
    ws.shell.currentDay = slot.day;
    ws.shell.currentPeriod = slot.period;
    toolPanelSlotClicked(ws, ui);
  }
  void place(const std::string& t, const std::string& s, const std::string& c, Slot slot) {
    const std::string entry = demo.entry(t, s, c);
    ASSERT_FALSE(entry.empty());
    ASSERT_EQ(placeAssignment(ws, ui, ws.plan.assignments.find(entry) / 4, slot), PlaceOutcome::Placed);
  }
  test::InTempDirectory dir;
  test::DemoSchool demo;
  Workspace& ws = demo.ws;
  ScriptedUi& ui = demo.ui;
};

// A teacher lock of 3 keeps the lesson in the cell; placement refuses the slot at
// level 0 and the generator's level 3 may use it.
TEST_F(ToolPanels, TeacherLockStopsPlacementBelowItsLevel) {
  place("MR", "D", "5A", {1, 1});
  const int mr = demo.teacher("MR");
  ws.shell.currentTeacher = mr;
  openLockPanel(ws, ToolPanelKind::TeacherLock);
  ASSERT_TRUE(setLockValue(ws, ui, 3));
  click({1, 1});
  click({2, 2});
  EXPECT_EQ(ws.plan.timetable.teacher.at(mr, 1, 1), demo.schoolClass("5A") * 256 + 3);
  EXPECT_EQ(ws.plan.timetable.teacher.at(mr, 2, 2), 3);
  EXPECT_TRUE(ws.plan.modifiedLocks);
  const std::string units = demo.entry("MR", "D", "5A").substr(0, 3) + '\x01';
  EXPECT_EQ(checkSlot(ws, units, {2, 2}, {.level = 0}), CheckCode::Teacher);
  EXPECT_EQ(checkSlot(ws, units, {2, 2}, {.level = 3}), CheckCode::Free);
  EXPECT_FALSE(setLockValue(ws, ui, 128));
  EXPECT_TRUE(ui.saw("Eingabefehler!"));
  EXPECT_TRUE(verifyPlan(ws).empty());
}

// Subject lock 1 where the subject is used once: 257 + 1; lock 0 again gives 1.
TEST_F(ToolPanels, SubjectLockTakesRoomsOfTheGroup) {
  const int ch = demo.subject("CH");
  uint16_t& cell = ws.plan.timetable.subject.at(ch, 3, 1);
  cell = 1;
  ws.shell.view.currentSubject = ch;
  openLockPanel(ws, ToolPanelKind::SubjectLock);
  setLockValue(ws, ui, 1);
  click({1, 3});
  EXPECT_EQ(cell, 258);
  setLockValue(ws, ui, 0);
  click({1, 3});
  EXPECT_EQ(cell, 1);
  setLockValue(ws, ui, 127);
  click({1, 3});
  EXPECT_EQ(cell, 1);  // 1 + 127 would reach bit 7
  EXPECT_TRUE(ui.saw("Sperre zu hoch!"));
  // A subject without rooms of its own cannot be locked.
  ws.shell.view.currentSubject = demo.subject("D");
  setLockValue(ws, ui, 1);
  click({1, 3});
  EXPECT_TRUE(ui.saw("Keine R\xE4ume f\xFCr Fach D!"));
}

TEST_F(ToolPanels, ClassLocksSetAndClearOverTheField) {
  presetLockClasses(ws, ClassPreset::LowerSchool);
  EXPECT_EQ(ws.panels.lockClasses.size(), 24U);  // 5A to 10D
  presetLockClasses(ws, ClassPreset::UpperSchool);
  EXPECT_EQ(lockClassesText(ws).substr(0, 7), "11A,11B");
  ASSERT_TRUE(setLockClasses(ws, ui, "5a 5b,5c"));
  EXPECT_EQ(ws.shell.currentClass, demo.schoolClass("5A"));
  EXPECT_FALSE(setLockClasses(ws, ui, "5A QQ"));
  openClassLockPanel(ws);
  ASSERT_TRUE(setLockClasses(ws, ui, "5A,5B,5C"));
  place("JG", "D", "5B", {3, 2});
  click({3, 2});
  const uint16_t lock = classLockWord(ws.base);
  EXPECT_EQ(demo.lesson("5A", {3, 2}), lock);
  EXPECT_NE(demo.lesson("5B", {3, 2}), lock);  // a lesson there stays
  EXPECT_EQ(demo.lesson("5C", {3, 2}), lock);
  EXPECT_TRUE(ws.plan.modifiedPlan);
  const size_t assignments = ws.plan.assignments.size();
  click({3, 2});
  EXPECT_EQ(demo.lesson("5A", {3, 2}), 0);
  EXPECT_EQ(demo.lesson("5C", {3, 2}), 0);
  EXPECT_EQ(ws.plan.assignments.size(), assignments);
  EXPECT_TRUE(verifyPlan(ws).empty());
}

// "Bisher gesetzte Stunden" twice releases exactly what it fixed, not the lessons fixed
// by hand before it.
TEST_F(ToolPanels, FixAllReleasesOnlyWhatItFixed) {
  place("MR", "D", "5A", {1, 1});
  place("JG", "D", "5B", {1, 2});
  ws.shell.currentClass = demo.schoolClass("5A");
  openFixPanel(ws);
  click({1, 1});
  EXPECT_TRUE(LessonWord::coupledOrFixed(demo.lesson("5A", {1, 1})));
  toggleFixAllPlaced(ws);
  EXPECT_TRUE(LessonWord::coupledOrFixed(demo.lesson("5B", {1, 2})));
  toggleFixAllPlaced(ws);
  EXPECT_FALSE(LessonWord::coupledOrFixed(demo.lesson("5B", {1, 2})));
  EXPECT_TRUE(LessonWord::coupledOrFixed(demo.lesson("5A", {1, 1})));
  // A fixed lesson is protected like a coupled one.
  ws.shell.workMode = 1;
  std::string list;
  EXPECT_TRUE(removeLesson(ws, ui, {1, 1}, demo.schoolClass("5A"), RemoveMode::kRefuse, list));
  click({1, 1});
  EXPECT_FALSE(LessonWord::coupledOrFixed(demo.lesson("5A", {1, 1})));
}

TEST_F(ToolPanels, IndexSkipsEmptyCellsAndClassLocks) {
  place("MR", "D", "5A", {1, 1});
  ws.shell.currentClass = demo.schoolClass("5A");
  ws.plan.timetable.lessonWord.at(demo.schoolClass("5A"), 2, 1) = classLockWord(ws.base);
  openIndexPanel(ws);
  click({1, 1});
  click({1, 2});
  click({1, 3});
  EXPECT_TRUE(LessonWord::indexMark(demo.lesson("5A", {1, 1})));
  EXPECT_EQ(demo.lesson("5A", {1, 2}), classLockWord(ws.base));
  EXPECT_EQ(demo.lesson("5A", {1, 3}), 0);
  openFixPanel(ws);
  EXPECT_EQ(ws.panels.open, ToolPanelKind::Fix);  // one panel at a time
}

// Locks, class locks, fixed and indexed lessons survive a save and a load of the plan.
TEST_F(ToolPanels, MarksRoundTripThroughThePlanFile) {
  place("MR", "D", "5A", {1, 1});
  ws.shell.currentClass = demo.schoolClass("5A");
  openFixPanel(ws);
  click({1, 1});
  openIndexPanel(ws);
  click({1, 1});
  ws.shell.currentTeacher = demo.teacher("JG");
  openLockPanel(ws, ToolPanelKind::TeacherLock);
  setLockValue(ws, ui, 5);
  click({4, 6});
  ws.shell.view.currentSubject = demo.subject("CH");
  openLockPanel(ws, ToolPanelKind::SubjectLock);
  setLockValue(ws, ui, 2);
  click({4, 6});
  openClassLockPanel(ws);
  click({5, 7});
  ws.shell.view.currentRoom = demo.room("PH1");
  openLockPanel(ws, ToolPanelKind::RoomLock);
  setLockValue(ws, ui, 4);
  click({4, 6});
  ASSERT_EQ(ws.plan.timetable.roomLock.at(demo.room("PH1"), 6, 4), 4);
  ui.queueAnswer("MARKS");
  ASSERT_EQ(demo.app.save(), 0);
  Workspace loaded;
  ScriptedUi quiet;
  Application app(loaded, quiet);
  ASSERT_EQ(app.loadBase("MARKS"), LoadStatus::Loaded);
  ASSERT_TRUE(app.openPlanByName("MARKS.PL"));
  EXPECT_EQ(loaded.plan.timetable, ws.plan.timetable);
}

// Room locks: "W:S R" opens the panel named after the room, a click locks the room's slot
// with the panel's value and 0 takes the lock away; in the room plans the menu item of
// the subject locks chooses a room and opens this panel.
TEST_F(ToolPanels, RoomLockPanelFromCommandAndMenu) {
  const int room = demo.room("A01");
  ws.shell.view.currentRoom = room;
  demo.app.typeCommand("W:S R 7\r");
  ASSERT_EQ(ws.panels.open, ToolPanelKind::RoomLock);
  EXPECT_EQ(toolPanelTitle(ws), "A01 - Raumsperren");
  click({2, 3});
  EXPECT_EQ(ws.plan.timetable.roomLock.at(room, 3, 2), 7);
  EXPECT_TRUE(ws.plan.modifiedLocks);
  setLockValue(ws, ui, 0);
  click({2, 3});
  EXPECT_EQ(ws.plan.timetable.roomLock.at(room, 3, 2), 0);
  // No room chosen: a click does nothing.
  ws.shell.view.currentRoom = 0;
  setLockValue(ws, ui, 1);
  const Grid before = ws.plan.timetable.roomLock;
  click({2, 3});
  EXPECT_EQ(ws.plan.timetable.roomLock, before);

  closeToolPanel(ws);
  demo.app.typeCommand("X:R\r");
  ui.queueAnswer("PH2");
  runMenuItem(demo.app, 117);
  EXPECT_EQ(ws.panels.open, ToolPanelKind::RoomLock);
  EXPECT_EQ(ws.shell.view.currentRoom, demo.room("PH2"));
  demo.app.typeCommand("X:K\r");
  ui.queueAnswer("CH");
  runMenuItem(demo.app, 117);
  EXPECT_EQ(ws.panels.open, ToolPanelKind::SubjectLock);
}

}  // namespace
}  // namespace quort
