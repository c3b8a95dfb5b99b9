#include "output/statistics_export.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

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

}  // namespace quort
