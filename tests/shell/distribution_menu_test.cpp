#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "courses/course_file.h"
#include "output/statistics_export.h"
#include "shell/exchange_commands.h"
#include "support/temp_dir.h"
#include "timetable/assignment_list.h"
#include "timetable/demo_school.h"
#include "timetable/manual_placement.h"

namespace quort {
namespace {

// A chosen course file goes on a line of its own with its directory, once; stray leading
// line breaks and blanks of the typed list go, and a doubled separator becomes one.
TEST(DistributionMenu, ChosenCourseFilesJoinTheListOnce) {
  EXPECT_EQ(addCourseFile("", "/schule/", "K11.BK"), "/schule/K11.BK");
  EXPECT_EQ(addCourseFile("\r\n  /schule/K11.BK", "/schule/", "K12.BK"), "/schule/K11.BK\r\n/schule/K12.BK");
  EXPECT_EQ(addCourseFile("/schule/K11.BK\r\n/schule/K12.BK", "/schule", "K11.BK"), "/schule/K11.BK\r\n/schule/K12.BK");
  EXPECT_EQ(addCourseFile("/schule/K11.BK", "/schule/", "/kurse/K13.BK"), "/schule/K11.BK\r\n/kurse/K13.BK");
}

// Menu 136: the course file picked with the file chooser takes part in the export, so the
// course it marks as not to be counted stays out of UVD.TXT; without it the line is there.
TEST(DistributionMenu, PickedCourseFileGivesTheCourseKinds) {
  test::InTempDirectory here;
  test::DemoSchool demo;
  Workspace& ws = demo.ws;
  const std::string& list = ws.plan.assignments;
  for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
    const AssignmentView e(list, i);
    if (e.isCoupling() && e.couplingNumber() == 9) {
      ASSERT_EQ(placeAssignment(ws, demo.ui, i, Slot{2, 1}), PlaceOutcome::Placed);
      break;
    }
  }
  CourseBook book;
  book.yearGroup = "11";
  book.courses = {{"E a   ", ""}};
  CourseFileNotes notes;
  ASSERT_TRUE(writeCourseFile("K11.BK", book, notes));
  std::ofstream("STAT.INI") << "[UVD.TXT]\r\n[HEADER]\r\nKopf\r\n";

  demo.ui.queueAnswer("Erzeugen");
  runDistributionMenu(demo.app);
  ASSERT_TRUE(demo.ui.saw("Datei erfolgreich erstellt"));
  EXPECT_NE(test::readFile("UVD.TXT").find("\"SD\""), std::string::npos);

  for (const char* answer : {"Kursdatei w\xE4hlen", "K11.BK", "Kursdatei w\xE4hlen", "K11.BK", "Erzeugen"}) {
    demo.ui.queueAnswer(answer);
  }
  runDistributionMenu(demo.app);
  const std::string uvd = test::readFile("UVD.TXT");
  EXPECT_EQ(uvd.find("\"SD\""), std::string::npos) << uvd;
  EXPECT_NE(uvd.find("\"JA\""), std::string::npos) << uvd;

  // "Abbruch" writes nothing.
  std::remove("UVD.TXT");
  demo.ui.queueAnswer("Abbruch");
  runDistributionMenu(demo.app);
  EXPECT_FALSE(std::ifstream("UVD.TXT").good());
}

}  // namespace
}  // namespace quort
