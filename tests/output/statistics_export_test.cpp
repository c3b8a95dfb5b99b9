#include "output/statistics_export.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "courses/course_file.h"
#include "support/temp_dir.h"
#include "timetable/assignment_list.h"
#include "timetable/demo_school.h"
#include "timetable/manual_placement.h"

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

// The export reads a course file into tables of its own and takes its courses as the
// course editor lists them, year group first.
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
  EXPECT_EQ(entries[0], "12 D L1  ");
  EXPECT_EQ(entries[1], "12 MAG2  ");
  EXPECT_EQ(entries[2], "12 PHG1  ");
  CourseEntries none;
  EXPECT_FALSE(courseLinesOfFile("FEHLT.BK", none));
}

// The demo school's year 11 with two course bands and 5A's German and religion placed,
// a course file of year 11 and a STAT.INI with code rules. Every line below is worked out
// by hand from the grids, the course file and the rules of the export:
//
// Placed: coupling 7 (LK band, double) MO 1-2, coupling 9 (GK band, double through SP) DI 1-2,
// coupling 1 (religion of grade 5) FR 1, MR D 5A MI 1 and DO 1.
// Course file "11": "D 1*1 " (advanced), "M 1 1 " (plain), "E a   " (no course number).
// Records in the order period, class, day; record = group key (3) + subject (2) + suffix +
// mark + teacher (2) + six characters after the course + count:
//   5A  MI 1, DO 1  "05 D  MR"  count 2        lower school, "05" ends before "A": DF
//   5A-5D FR 1      "05 KR1 NB", "05 KR2 KG", "05 ER  KZ", "05 PL  TI", count 1 each: DF
//   11A MO 1-2      "11 D 1 KG": first six "11 D 1" are the course "11 D 1*1 ", its "*" at
//                   seven comes over: "11 D 1*KG", count 2, mark "*": LK, mapped to "L"
//   11A DI 1-2      "11 E a SD": the course "11 E a   " has a blank at eight: T, left out
//   11B MO 1-2      "11 M 1 IH": course "11 M 1 1 ", no "*", number at eight: GK -> "G"
//   11B DI 1-2      "11 F a JA": F is an adjustment course: GA (no rule for it)
//   11C-11F         no course of the file: GK -> "G", in class order MO before DI
// Field 6 maps D to DEU (rule 6), field 7 is the teacher, fields 8 and 9 stay empty because
// a course read from a file has nothing after its name.
TEST(StatisticsExport, UvdOfTheDemoUpperSchoolWorkedOutByHand) {
  test::InTempDirectory here;
  test::DemoSchool demo;
  Workspace& ws = demo.ws;
  const auto placeCoupling = [&](int number, Slot slot) {
    const std::string& list = ws.plan.assignments;
    for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
      const AssignmentView e(list, i);
      if (e.isCoupling() && e.couplingNumber() == number) {
        ASSERT_EQ(placeAssignment(ws, demo.ui, i, slot), PlaceOutcome::Placed) << number;
        return;
      }
    }
    FAIL() << "no entry of coupling " << number;
  };
  const auto placeGerman = [&](Slot slot) {
    const auto index = findAssignment(ws.plan.assignments, demo.entry("MR", "D", "5A"));
    ASSERT_TRUE(index.has_value());
    ASSERT_EQ(placeAssignment(ws, demo.ui, *index, slot), PlaceOutcome::Placed);
  };
  placeCoupling(7, {1, 1});
  placeCoupling(9, {2, 1});
  placeCoupling(1, {5, 1});
  placeGerman({3, 1});
  placeGerman({4, 1});
  ASSERT_NE(ws.plan.timetable.lessonWord.at(demo.schoolClass("11A"), 2, 2), 0);  // both bands are double

  CourseBook book;
  book.yearGroup = "11";
  book.courses = {{"D 1*1 ", ""}, {"M 1 1 ", ""}, {"E a   ", ""}};
  CourseFileNotes notes;
  ASSERT_TRUE(writeCourseFile("K11.BK", book, notes));
  std::ofstream("STAT.INI") << "[UVD.TXT]\r\n[HEADER]\r\nJahrgang;Klasse\r\n[CODES]\r\n4:LK=L;GK=G\r\n6:D=DEU\r\n"
                               "[ANGLEICHKURSE]\r\nF\r\n";
  ASSERT_TRUE(ExportDistribution(ws, demo.ui, "K11.BK"));
  EXPECT_EQ(test::readFile("UVD.TXT"),
            "JAHRGANG;KLASSE\r\n"
            "\"005\";\"\";\"\";\"DF\";2;\"DEU\";\"MR\";;;\"\"\r\n"
            "\"005\";\"\";\"\";\"DF\";1;\"KR\";\"NB\";;;\"\"\r\n"
            "\"005\";\"\";\"\";\"DF\";1;\"KR\";\"KG\";;;\"\"\r\n"
            "\"005\";\"\";\"\";\"DF\";1;\"ER\";\"KZ\";;;\"\"\r\n"
            "\"005\";\"\";\"\";\"DF\";1;\"PL\";\"TI\";;;\"\"\r\n"
            "\"11\";\"\";\"\";\"L\";2;\"DEU\";\"KG\";;;\"\"\r\n"
            "\"11\";\"\";\"\";\"G\";2;\"M\";\"IH\";;;\"\"\r\n"
            "\"11\";\"\";\"\";\"GA\";2;\"F\";\"JA\";;;\"\"\r\n"
            "\"11\";\"\";\"\";\"G\";2;\"E\";\"YI\";;;\"\"\r\n"
            "\"11\";\"\";\"\";\"G\";2;\"DEU\";\"DL\";;;\"\"\r\n"
            "\"11\";\"\";\"\";\"G\";2;\"BI\";\"FR\";;;\"\"\r\n"
            "\"11\";\"\";\"\";\"G\";2;\"M\";\"FA\";;;\"\"\r\n"
            "\"11\";\"\";\"\";\"G\";2;\"GE\";\"ZL\";;;\"\"\r\n"
            "\"11\";\"\";\"\";\"G\";2;\"SP\";\"ZL\";;;\"\"\r\n"
            "\"11\";\"\";\"\";\"G\";2;\"CH\";\"LB\";;;\"\"\r\n");
}

}  // namespace quort
