#include "courses/course_editing.h"

#include <gtest/gtest.h>

#include "courses/course_printouts.h"
#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

class CourseEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    ws.courses.yearGroup = "11";
    ws.courses.courses = {{"MAL*1 ", ""}, {"DEG 1 ", ""}, {"DEG 2 ", ""}, {"PHG 1 ", ""}};
    ws.courses.blocks = {{1}, {3, 4}};
    ws.courses.students = {{"Abel;Tim", 'm', {{1, 3}, {2, 2}}}, {"Berg;Ute", 'w', {{4, 1}, {2, 1}}}};
  }
  Workspace ws;
  ScriptedUi ui;
};

TEST_F(CourseEditing, StudentItemsKeepTheChoicesAtTheirColumn) {
  const std::string item = studentItem(ws.courses, ws.courses.students[0]);
  EXPECT_EQ(item.substr(0, 11), "Abel;Tim;m ");
  EXPECT_EQ(item.substr(51), "*MAL*1,+DEG 1");
  ws.courses.students[0].choices[1].markCode = 9;
  EXPECT_EQ(choicesText(ws.courses, ws.courses.students[0]), "*MAL*1,DEG 1,???");
}

TEST_F(CourseEditing, NewStudentRefusesWhatWouldBreakTheFile) {
  for (const char* bad : {"Kunz,Eva", "Ku\"nz,Eva,w", "Kunz,Eva,x", "Kunz;Dr,Eva,w", "Kunz,Eva,w,1",
                          "Aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa,Bbbbbbbb,w"}) {
    EXPECT_FALSE(addStudent(ws, ui, bad)) << bad;
  }
  EXPECT_TRUE(ui.saw("Keine zul\xE4ssigen Daten!"));
  EXPECT_TRUE(addStudent(ws, ui, "M\xFCller, Eva ,w"));
  EXPECT_EQ(ws.courses.students.back().name, "M\xFCller;Eva");
  EXPECT_FALSE(addStudent(ws, ui, "M\xFCller,Eva,m"));
  EXPECT_TRUE(ui.saw("M\xFCller;Eva bereits vorhanden!"));
}

TEST_F(CourseEditing, CoursesNeedTheYearGroupAndAFreeName) {
  EXPECT_FALSE(setCourse(ws, ui, 0, "12 EKG 1"));
  EXPECT_FALSE(setCourse(ws, ui, 0, "11 DEG 1 WS"));
  EXPECT_TRUE(ui.saw("DEG 1 bereits vorhanden!"));
  ASSERT_TRUE(setCourse(ws, ui, 0, "11 EKG 12 WS"));
  EXPECT_EQ(courseItem(ws.courses, 5), "11 EKG 12 WS");
  while (ws.courses.nCourses() < CourseBook::kMaxCourses) ws.courses.courses.push_back({"X", ""});
  EXPECT_FALSE(setCourse(ws, ui, 0, "11 NEU 1"));
  EXPECT_TRUE(
      ui.saw("Zu viele Eintr\xE4ge: h\xF6"
             "chstens 223 Kurse!"));
}

TEST_F(CourseEditing, DeletingACourseRenumbersChoicesAndBlocks) {
  ui.queueAnswer("Ja");
  ASSERT_TRUE(deleteCourse(ws, ui, 2));
  EXPECT_TRUE(ui.saw("DEG 1 komplett l\xF6schen?"));
  EXPECT_EQ(ws.courses.block(2), (std::vector<int>{2, 3}));
  ASSERT_EQ(ws.courses.students[1].choices.size(), 1U);
  EXPECT_EQ(ws.courses.students[1].choices[0].course, 3);
}

TEST_F(CourseEditing, RemovalMovesStudentsToAParallelCourseWithoutClash) {
  // DEG 2 shares block 2 with PHG 1, which Berg has: Berg cannot move there, Abel can.
  ui.queueAnswer("Ja");
  ASSERT_TRUE(removeCourses(ws, ui, {2}, true));
  EXPECT_TRUE(ui.saw("DEG 1 entfernen und umverteilen?"));
  EXPECT_EQ(ws.courses.students[0].choices[1].course, 2);  // DEG 2, renumbered
  EXPECT_EQ(ws.courses.students[0].choices[1].markCode, 2);
  EXPECT_EQ(ws.courses.students[1].choices.size(), 1U);
  EXPECT_TRUE(ui.saw("Nicht umverteilt:\rBerg;Ute"));
}

TEST_F(CourseEditing, BlockInsertAsksAboutOverlaps) {
  EXPECT_FALSE(addCourseToBlock(ws, ui, 2, 2));
  EXPECT_TRUE(
      ui.saw("\xDC"
             "berschneidungen:\rBerg;Ute\r\rDEG 1 einf\xFCgen?"));
  ui.queueAnswer("Ja");
  EXPECT_TRUE(addCourseToBlock(ws, ui, 2, 2));
  EXPECT_FALSE(setBlockCourses(ws, ui, 1, "MAL*1,DEG 1"));
  EXPECT_TRUE(
      ui.saw("ohne Kontrolle \xFC"
             "bernehmen?"));
  EXPECT_FALSE(setBlockCourses(ws, ui, 1, "MAL*1,XX"));
  EXPECT_TRUE(ui.saw("XX kein g\xFCltiger Kurs!"));
}

TEST_F(CourseEditing, ReplacingAsksAndSkipsStudentsWhoHaveTheNewCourse) {
  ui.queueAnswer("Ja");
  ASSERT_TRUE(replaceCourse(ws, ui, {0, 1}, 2, 3));
  EXPECT_TRUE(ui.saw("F\xFCr alle angezeigten Sch\xFCler DEG 1 ersetzen durch DEG 2 ?"));
  EXPECT_EQ(ws.courses.students[1].choices[1].course, 3);
}

TEST_F(CourseEditing, MemberFileReportsEachFaultyLine) {
  test::TempDir dir;
  const std::string file = dir.write("mitglieder.txt",
                                     "Kunz;Eva;w,*MAL*1,DEG 1\r\n"
                                     "Kunz Eva w,MAL*1\r\n"
                                     "Lang;Tom;m,FRG 1\r\n"
                                     "12,Ost;Ina;w,DEG 1\r\n"
                                     "11,Abel;Tim;m,+DEG 2\r\n");
  EXPECT_EQ(importMembers(ws, ui, file), 2);
  EXPECT_TRUE(ui.saw("Kunz Eva w,MAL*1 entspricht nicht  Name;Vorname;m|w !"));
  EXPECT_TRUE(ui.saw("Lang;Tom;m,FRG 1 kein g\xFCltiger Kurs!"));
  EXPECT_TRUE(ui.saw("12,Ost;Ina;w,DEG 1 keine g\xFCltige Klasse!"));
  ASSERT_EQ(ws.courses.students.size(), 3U);
  EXPECT_EQ(choicesText(ws.courses, ws.courses.students[2]), "*MAL*1,DEG 1");
  EXPECT_EQ(choicesText(ws.courses, ws.courses.students[0]), "+DEG 2");
}

TEST_F(CourseEditing, StudentPlansListEachStudentsBlocks) {
  const std::vector<std::string> lines = studentPlanLines(ws.courses);
  ASSERT_GE(lines.size(), 4U);
  EXPECT_EQ(lines[0], "Jahrgang 11   Abel;Tim;m");
  EXPECT_EQ(lines[1], "  Block   1: MAL*1 *");
  EXPECT_EQ(lines[2], "  ohne Block: DEG 1 +");
  EXPECT_EQ(lines.back(), kChoiceLegend);
}

}  // namespace
}  // namespace quort
