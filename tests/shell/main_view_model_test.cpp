#include "shell/main_view_model.h"

#include <gtest/gtest.h>

#include "data/plan_records.h"
#include "shell/application.h"
#include "support/temp_dir.h"
#include "workspace/base_data_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

// The demo school with a few lessons placed by hand, the way placement leaves the grids.
class FilledPlan : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(app.loadBase(test::demoFile()), LoadStatus::Loaded);
    c5a = ws.base.findClass("5A");
    c5b = ws.base.findClass("5B");
    mr = ws.base.findTeacher("MR");
    ws2 = ws.base.findTeacher("WS");
    de = ws.base.findSubject("D");
    en = ws.base.findSubject("E");
    r101 = ws.base.findRoom("101");
    place(c5a, 1, 2, mr, de, r101, 0);  // MO 1st: D with MR in 101
    // DI 3rd: coupling 1, 5A takes E with WS, 5B takes D with MR
    ws.plan.couplings.push_back(makeCouplingMember(ws2, c5a, en, 'a') + makeCouplingMember(mr, c5b, de, ' '));
    place(c5a, 3, 2, ws2, en, 0, 1);
    place(c5b, 3, 2, mr, de, 0, 1);
  }
  void place(int c, int period, int day, int teacher, int subject, int room, int coupling) {
    auto& grids = ws.plan.timetable;
    grids.lessonWord.at(c, period, day) = static_cast<uint16_t>(teacher * 256 + (coupling ? 128 : 0) + subject);
    grids.roomWord.at(c, period, day) = static_cast<uint16_t>(coupling * 256 + room);
    grids.teacher.at(teacher, period, day) = static_cast<uint16_t>(c * 256);
    if (room) grids.room.at(room, period, day) = static_cast<uint16_t>(c);
  }
  const GridCell& cell(const WeekGrid& grid, int period, int day) { return grid.at(period - 1, day - 1); }

  Workspace ws;
  ScriptedUi ui;
  Application app{ws, ui};
  int c5a = 0, c5b = 0, mr = 0, ws2 = 0, de = 0, en = 0, r101 = 0;
};

// The class week shows subject, teacher, room and coupling of every lesson, nothing elsewhere.
TEST_F(FilledPlan, ClassWeekShowsEachLessonWithTeacherRoomAndCoupling) {
  ws.shell.currentClass = c5a;
  const WeekGrid grid = buildWeekGrid(ws);
  EXPECT_EQ(grid.title, "Klasse 5A");
  EXPECT_EQ(grid.subtitle, "Klassenlehrer MR, Raum 101");
  EXPECT_EQ(grid.dayNames, (std::vector<std::string>{"MO", "DI", "MI", "DO", "FR"}));
  EXPECT_EQ(grid.rows(), 10);
  EXPECT_EQ(grid.afternoonRow, 6);
  EXPECT_EQ(grid.lessons, 2);
  const GridCell& german = cell(grid, 1, 2);
  EXPECT_EQ(std::tuple(german.subject, german.teacher, german.room, german.coupling),
            std::tuple(std::string("D"), std::string("MR"), std::string("101"), 0));
  const GridCell& coupled = cell(grid, 3, 2);
  EXPECT_EQ(std::tuple(coupled.subject, coupled.teacher, coupled.coupling, coupled.fixed),
            std::tuple(std::string("E"), std::string("WS"), 1, false));
  EXPECT_FALSE(cell(grid, 2, 2).hasLesson());
}

// A teacher's week names the class; in a coupling it shows the teacher's own course.
TEST_F(FilledPlan, TeacherWeekShowsTheTeachersOwnCourseInACoupling) {
  ws.shell.currentTeacher = mr;
  ws.plan.timetable.teacher.at(mr, 5, 4) = 3;  // a lock, no lesson
  app.typeCommand("X:L");
  const WeekGrid grid = buildWeekGrid(ws);
  EXPECT_EQ(grid.title, "Lehrer MR");
  EXPECT_EQ(cell(grid, 1, 2).classes, "5A");
  EXPECT_EQ(cell(grid, 3, 2).classes, "5B");
  EXPECT_EQ(cell(grid, 3, 2).subject, "D");
  EXPECT_TRUE(cell(grid, 3, 2).teacher.empty());
  EXPECT_EQ(cell(grid, 5, 4).lock, 3);
  EXPECT_FALSE(cell(grid, 5, 4).hasLesson());
}

// Room and subject weeks are read from the room grid and from all classes.
TEST_F(FilledPlan, RoomAndSubjectWeeksFindTheirLessons) {
  selectEntity(ws, PlanEntity::Room, r101);
  WeekGrid grid = buildWeekGrid(ws);
  EXPECT_EQ(grid.title, "Raum 101");
  EXPECT_EQ(grid.subtitle, "Klassenraum der 5A");
  EXPECT_EQ(cell(grid, 1, 2).classes, "5A");
  EXPECT_EQ(grid.lessons, 1);

  selectEntity(ws, PlanEntity::Subject, de);
  grid = buildWeekGrid(ws);
  EXPECT_EQ(grid.title, "Fach D");
  EXPECT_EQ(cell(grid, 3, 2).classes, "5B");
  EXPECT_EQ(cell(grid, 1, 2).teacher, "MR");
  EXPECT_EQ(grid.lessons, 2);
}

// A class lock is the sentinel pseudo-lesson; fixing is bit 7 outside couplings.
TEST_F(FilledPlan, ClassLocksAndFixedLessonsAreMarked) {
  auto& lessons = ws.plan.timetable.lessonWord;
  lessons.at(c5a, 2, 1) = static_cast<uint16_t>(ws.base.nTeachers() * 256 + 128 + ws.base.nSubjects());
  lessons.at(c5a, 1, 2) |= 128 | 64;
  ws.shell.currentClass = c5a;
  const WeekGrid grid = buildWeekGrid(ws);
  EXPECT_TRUE(cell(grid, 2, 1).classLock);
  EXPECT_FALSE(cell(grid, 2, 1).hasLesson());
  EXPECT_TRUE(cell(grid, 1, 2).fixed);
  EXPECT_TRUE(cell(grid, 1, 2).indexMark);
}

// In substitution mode "Org.Plan" shows the reference copy of the opened plan.
TEST_F(FilledPlan, OriginalPlanComesFromTheReferenceGrids) {
  ws.shell.currentClass = c5a;
  app.setWorkMode(3);
  EXPECT_EQ(buildWeekGrid(ws).lessons, 2);
  ws.shell.showOriginalPlan = true;
  EXPECT_EQ(buildWeekGrid(ws).lessons, 0);
}

// With week alternation the rows are the A and B slots of each period.
TEST_F(FilledPlan, WeekAlternationNamesTheRowsAAndB) {
  ws.base.weekAlternation = true;
  ws.base.periodsPerDay = 4;
  ws.base.afternoonStart = 4;
  const WeekGrid grid = buildWeekGrid(ws);
  EXPECT_EQ(grid.rowNames, (std::vector<std::string>{"1A", "1B", "2A", "2B"}));
  EXPECT_EQ(grid.afternoonRow, 0);
}

// Lists: couplings as class, teacher, subject and suffix; blocks as their numbers.
TEST_F(FilledPlan, CouplingAndBlockListsAndTheirCommands) {
  ws.plan.blocks = {"", "1", "1,2"};
  EXPECT_EQ(couplingListLines(ws), std::vector<std::string>{"1:5A WS Ea,5B MR D ,"});
  EXPECT_EQ(blockListLines(ws), (std::vector<std::string>{"1: 1", "2: 1,2"}));
  app.typeCommand("s");
  EXPECT_EQ(ws.shell.mainView, MainView::CouplingList);
  app.typeCommand("b");
  EXPECT_EQ(ws.shell.mainView, MainView::BlockList);
  app.typeCommand("x:a");
  EXPECT_EQ(ws.shell.mainView, MainView::WeekGrid);
  app.typeCommand("b:2");
  EXPECT_TRUE(ui.saw("Eingabe von Block 2"));
}

// Paging through the classes wraps at both ends.
TEST_F(FilledPlan, SteppingWrapsAroundTheList) {
  ws.shell.currentClass = 1;
  stepEntity(ws, -1);
  EXPECT_EQ(ws.shell.currentClass, ws.base.nClasses());
  stepEntity(ws, 1);
  EXPECT_EQ(ws.shell.currentClass, 1);
}

// Without base data the grid still has the start-up shape and no title.
TEST(MainViewModel, EmptyWorkspaceGivesAnEmptyGridOfTheStartUpSize) {
  Workspace ws;
  const WeekGrid grid = buildWeekGrid(ws);
  EXPECT_EQ(grid.days(), 6);
  EXPECT_EQ(grid.rows(), 10);
  EXPECT_EQ(grid.cells.size(), 60U);
  EXPECT_TRUE(grid.title.empty());
}

}  // namespace
}  // namespace quort
