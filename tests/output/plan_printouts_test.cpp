#include "output/plan_printouts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/plan_grids.h"
#include "support/temp_dir.h"
#include "timetable/demo_school.h"
#include "workspace/print_job.h"

namespace quort {

namespace {

// The demo school with one lesson written into the grids: MR teaches D in 5A on Tuesday,
// period 3, in room 101.
struct PrintoutBench : test::DemoSchool {
  PrintoutBench() {
    ws.plan.timetable.clear();
    const int c = schoolClass("5A");
    const int t = teacher("MR");
    const int r = room("101");
    ws.plan.timetable.lessonWord.at(c, 3, 2) = static_cast<uint16_t>(t * 256 + subject("D"));
    ws.plan.timetable.roomWord.at(c, 3, 2) = static_cast<uint16_t>(r);
    ws.plan.timetable.teacher.at(t, 3, 2) = static_cast<uint16_t>(c * 256);
    ws.plan.timetable.room.at(r, 3, 2) = static_cast<uint16_t>(c);
  }
};

std::string withoutMarks(std::string line) {
  for (char& c : line) {
    if (c == '\xA1') c = ' ';
  }
  return line;
}

}  // namespace

// A class plan names subject (bold), teacher and room in the cell of its slot, and the
// page number stands on the last line of the page.
TEST(WeekPlanPage, ClassPlanCellsAndFooter) {
  PrintoutBench bench;
  const auto lines = weekPlanPage(bench.ws, PlanEntity::Class, bench.schoolClass("5A"), {87, 67}, 4);
  ASSERT_EQ(lines.size(), 67U);
  EXPECT_NE(withoutMarks(lines[2]).find("Klasse 5A"), std::string::npos);
  EXPECT_NE(lines[4].find("Dienstag"), std::string::npos);
  // Header (3), day header (3), periods 1 and 2 (4 lines each): period 3 starts at line 14.
  EXPECT_EQ(lines[14].substr(0, 20), "| 3  |             |");
  EXPECT_EQ(lines[14].substr(19, 15),
            "|\xA1"
            "D          \xA1|");
  EXPECT_EQ(lines[15].substr(19, 15), "| MR          |");
  EXPECT_EQ(lines[16].substr(19, 15), "| 101         |");
  EXPECT_EQ(lines.back().substr(lines.back().find_first_not_of(' ')), "Seite 4");
  for (const std::string& line : lines) EXPECT_LE(static_cast<int>(line.size()), weekPlanWidth(bench.ws));
}

// Teacher and room plans name the class instead; a short page gets one line per period.
TEST(WeekPlanPage, TeacherAndRoomPlansAndShortPages) {
  PrintoutBench bench;
  const auto teacher = weekPlanPage(bench.ws, PlanEntity::Teacher, bench.teacher("MR"), {87, 67}, 1);
  EXPECT_EQ(teacher[15].substr(19, 15), "| 5A          |");
  EXPECT_EQ(teacher[16].substr(19, 15), "| 101         |");
  const auto room = weekPlanPage(bench.ws, PlanEntity::Room, bench.room("101"), {87, 67}, 1);
  EXPECT_EQ(room[16].substr(19, 15), "| MR          |");
  const auto shortPage = weekPlanPage(bench.ws, PlanEntity::Class, bench.schoolClass("5A"), {87, 30}, 1);
  EXPECT_EQ(shortPage.size(), 30U) << "10 periods of two lines and a rule do not fit 30 lines";
  EXPECT_EQ(shortPage[10].substr(19, 15),
            "|\xA1"
            "D          \xA1|");
}

// The assignment list counts placed and open periods per partner and subject.
TEST(PrintoutLists, AssignmentListCountsPlacedAndOpenPeriods) {
  PrintoutBench bench;
  const auto lines = assignmentListLines(bench.ws, PlanEntity::Class, {bench.schoolClass("5A")});
  const std::string open = test::DemoSchool().periodsToPlace("MR", "D", "5A") > 0 ? "5" : "0";
  EXPECT_NE(std::find(lines.begin(), lines.end(), "  MR      D      1        " + open), lines.end());
  EXPECT_EQ(lines.front(), "\xA1Klasse 5A\xA1");
}

// Every plan of a printout starts on its own page, in the text copy as on paper.
TEST(PrintoutFiles, OnePlanPerPageInTheTextCopy) {
  test::TempDir dir;
  PrintoutBench bench;
  ASSERT_TRUE(printWeekPlans(bench.ws, bench.ui, PlanEntity::Class, {1, 2, 3}, dir.file("klassen.txt")));
  const std::string text = test::readFile(dir.file("klassen.txt"));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2);
  EXPECT_NE(text.find("Seite 3"), std::string::npos);
  EXPECT_EQ(text.back(), '\x1A');
}

}  // namespace quort
