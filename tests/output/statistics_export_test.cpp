#include "output/statistics_export.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "courses/course_file.h"
#include "support/temp_dir.h"
#include "timetable/demo_school.h"

namespace quort {

// Rules of one key collect in order, "**=" is the fallback, and code lists match whole
// elements only; adjustment courses lose their empty elements.
TEST(StatisticsExport, StatIniRulesAndMapCode) {
  StatisticsConfig config;
  ASSERT_TRUE(
      parseStatIni("[uvd.txt]\r\n[codes]\r\n1:LK=L\r\n1:GK=G\r\n6:D,EK=DE;**=XX\r\n"
                   "[angleichkurse]\r\nM,,E\r\n[header]\r\nKopf\r\n[ENDE]\r\n9:A=B\r\n",
                   config));
  EXPECT_EQ(config.codeRules.at("[ 1, 1]"), "LK=L;GK=G");
  EXPECT_EQ(config.adjustmentCourses, ",M,E,");
  EXPECT_EQ(config.header, "KOPF");
  EXPECT_EQ(MapCode(config, "GK", 1, 1), "G");
  EXPECT_EQ(MapCode(config, "EK", 1, 6), "DE");
  EXPECT_EQ(MapCode(config, "E", 1, 6), "XX");
  EXPECT_EQ(MapCode(config, "E", 1, 9), "E");
}

// The demo school with 5A's German four times a week gives one record with count 4.
TEST(StatisticsExport, UvdGoldenForOneClass) {
  test::InTempDirectory here;
  test::DemoSchool demo;
  demo.ws.plan.reset(demo.ws.base);
  const int c = demo.schoolClass("5A");
  for (int day = 1; day <= 4; ++day) {
    demo.ws.plan.timetable.lessonWord.at(c, 1, day) =
        static_cast<uint16_t>(demo.teacher("MR") * 256 + demo.subject("D"));
  }
  test::TempDir unused;
  std::ofstream("stat.ini") << "[UVD.TXT]\r\n[HEADER]\r\nKopf;Zeile\r\n[CODES]\r\n6:D=DEU\r\n";
  ASSERT_TRUE(ExportDistribution(demo.ws, demo.ui, ""));
  EXPECT_EQ(test::readFile("UVD.TXT"), "KOPF;ZEILE\r\n\"005\";\"\";\"\";\"DF\";4;\"DEU\";\"MR\";;;\"\"\r\n");
}

// The export reads a course file into tables of its own: each course line is the name
// and one byte per block; the course editor's year group stays as it was.
TEST(StatisticsExport, CourseFilesGiveTheirCourseLines) {
  test::InTempDirectory here;
  CourseBook book;
  book.yearGroup = "12";
  book.courses = {{"D L1  ", ""}, {"MAG2  ", ""}, {"PHG1  ", ""}};
  book.blocks = std::vector<std::vector<int>>(10);
  book.block(1) = {1};
  book.block(10) = {1, 2};
  CourseFileNotes notes;
  ASSERT_TRUE(writeCourseFile("K12.BK", book, notes));

  CourseEntries entries;
  ASSERT_TRUE(courseLinesOfFile("k12.bk", entries));
  ASSERT_EQ(entries.size(), 3U);
  EXPECT_EQ(entries[0], "D L1  !*");
  EXPECT_EQ(entries[1], "MAG2  *");
  EXPECT_EQ(entries[2], "PHG1  ");
  CourseEntries none;
  EXPECT_FALSE(courseLinesOfFile("FEHLT.BK", none));
}

}  // namespace quort
