#include "exams/exam_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "exams/exam_preset.h"
#include "substitution/extra_work_log.h"
#include "support/temp_dir.h"

namespace {

using quort::ExamFields;
using quort::ExamPreset;

std::string goldenFile(const std::string& name) {
  std::ifstream in(std::string(QUORT_SOURCE_DIR) + "/tests/exams/data/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

ExamPreset samplePreset() { return *quort::parseExamPreset("mo3-4|12|D1,M2", 10); }

ExamFields smallFields() {
  ExamFields fields;
  fields.rooms = "R1:X1 AB";
  fields.supervisions = "R1:3.AB";
  return fields;
}

ExamFields sampleFields() {
  ExamFields fields;
  fields.rooms = "r12:d1 MA, m2 MB ,\r\nR14: e1 KR";
  fields.supervisions = "R12:3.MA,4.MB(*)\nR14 : 3.KR(*),4.KR(*)\nohne Raum";
  fields.roomChanges = "3.: 11A R12>R20";
  fields.freed = "3.:12A D1 MA,12B(E3 SC),";
  return fields;
}

// Terms outside MO..SA or outside the shown periods are refused before any grid is
// touched; a sound term gives weekday and period range.
TEST(ExamPreset, TermIsCheckedAgainstWeekdayAndShownPeriods) {
  const auto preset = quort::parseExamPreset("di2-5|12|d1", 8);
  ASSERT_TRUE(preset);
  EXPECT_EQ(preset->term, "DI2-5");
  EXPECT_EQ(preset->selection, "D1");
  EXPECT_EQ(preset->day, 2);
  EXPECT_EQ(preset->firstShown, 2);
  EXPECT_EQ(preset->lastShown, 5);
  for (const char* bad : {"SO2-3|12|", "MO0-2|12|", "MO4-3|12|", "MO3-9|12|", "MO3|12|", "M-3|12|", "MO3-4|12",
                          "XY3-4|12|", "MO3-4x|12|"}) {
    EXPECT_FALSE(quort::parseExamPreset(bad, 8)) << bad;
  }
  EXPECT_EQ(quort::firstInternalPeriod(3, true), 5);
  EXPECT_EQ(quort::lastInternalPeriod(4, true), 8);
  EXPECT_EQ(quort::firstInternalPeriod(3, false), 3);
}

// A saved exam is written byte for byte as the log format asks.
TEST(ExamLog, RecordMatchesGoldenFile) {
  EXPECT_EQ(quort::examRecordText(samplePreset(), "07.12.2026", sampleFields()), goldenFile("record.x"));
}

// Sections whose field is empty are left out of the record.
TEST(ExamLog, EmptySectionsAreLeftOut) {
  ExamFields fields;
  fields.rooms = "R12:D1 MA";
  const std::string text = quort::examRecordText(samplePreset(), "07.12.2026", fields);
  EXPECT_EQ(text.find("Aufsichten"), std::string::npos);
  EXPECT_EQ(text.find("Frei:"), std::string::npos);
  EXPECT_NE(text.find("####\r\n"), std::string::npos);
}

// The exams of a day are read back with their supervisions, room changes and dropped
// lessons; another date's exam is not among them.
TEST(ExamLog, ExamsOfDayAreReadBack) {
  const std::string log = quort::examRecordText(samplePreset(), "07.12.2026", sampleFields()) +
                          quort::examRecordText(samplePreset(), "08.12.2026", smallFields());
  const auto exams = quort::examsOfDayIn(log, "07.12.2026");
  ASSERT_EQ(exams.size(), 1U);
  EXPECT_EQ(exams[0].grade, "12");
  EXPECT_EQ(exams[0].time, "3-4");
  ASSERT_EQ(exams[0].supervisions.size(), 4U);
  EXPECT_EQ(exams[0].supervisions[1].room, "R12");
  EXPECT_EQ(exams[0].supervisions[1].period, 4);
  EXPECT_EQ(exams[0].supervisions[1].teacher, "MB");
  EXPECT_TRUE(exams[0].supervisions[1].extraWork);
  EXPECT_EQ(exams[0].supervisions[2].room, "R14");
  ASSERT_EQ(exams[0].roomChanges.size(), 1U);
  EXPECT_EQ(exams[0].roomChanges[0].schoolClass, "11A");
  EXPECT_EQ(exams[0].roomChanges[0].oldRoom, "R12");
  EXPECT_EQ(exams[0].roomChanges[0].newRoom, "R20");
  ASSERT_EQ(exams[0].freed.size(), 2U);
  EXPECT_EQ(exams[0].freed[1].text, "12B(E3 SC)");
  EXPECT_EQ(quort::examsOfDayIn(log, "08.12.2026").at(0).supervisions.at(0).teacher, "AB");
}

// A record whose end line was never written ends at the next record's heading, so the
// next exam is still read and a rewrite keeps both.
TEST(ExamLog, TornRecordDoesNotSwallowTheNext) {
  std::string torn = quort::examRecordText(samplePreset(), "07.12.2026", sampleFields());
  torn.resize(torn.find("####"));
  const std::string log = torn + quort::examRecordText(samplePreset(), "07.12.2026", smallFields());
  const auto exams = quort::examsOfDayIn(log, "07.12.2026");
  ASSERT_EQ(exams.size(), 2U);
  EXPECT_EQ(exams[0].supervisions.size(), 4U);
  EXPECT_EQ(exams[1].supervisions.size(), 1U);
  const auto records = quort::examLogRecords(log);
  EXPECT_EQ(quort::examLogRecords(quort::examLogText(records)), records);
}

// Twice with "(*)" and once without gives one line with 2; only plain supervisions give
// the plain count; the sentinel teacher gets none.
TEST(ExamExtraWork, StarredCountWinsOverPlain) {
  const auto counts = quort::countSupervisions("R1:3.MA(*),4.MA\nR2:3.KR,4.MA(*),3.*");
  const auto lines = quort::examExtraWorkLines("07.12.2026", "12", 3, counts,
                                               [](const std::string& teacher) { return teacher != "*"; });
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0], "07.12.2026[Klausur], 12A  3.Std.: MA-*  (#2)");
  EXPECT_EQ(lines[1], "07.12.2026[Klausur], 12A  3.Std.: KR-*  (#1)");
}

// Lines of several supervisors of one exam share date, class and period; the log
// maintenance of the day plan must keep every one of them.
TEST(ExamExtraWork, LinesOfSeveralSupervisorsSurviveLogMaintenance) {
  const auto counts = quort::countSupervisions("R1:3.MA,4.MA\nR2:3.KR");
  const auto lines = quort::examExtraWorkLines("07.12.2026", "12", 3, counts, [](const std::string&) { return true; });
  EXPECT_EQ(quort::maintainedLogLines(lines).size(), 2U);
}

}  // namespace

namespace {

// Appending keeps every earlier record; starting a new overview keeps the old log as
// klausauf.x-b instead of deleting it.
TEST(ExamLogFile, AppendKeepsRecordsAndNewOverviewKeepsBackup) {
  const quort::test::InTempDirectory dir;
  const std::string first = quort::examRecordText(samplePreset(), "07.12.2026", sampleFields());
  const std::string second = quort::examRecordText(samplePreset(), "08.12.2026", smallFields());
  EXPECT_TRUE(quort::saveExamRecord(first, false));
  EXPECT_TRUE(quort::saveExamRecord(second, false));
  EXPECT_EQ(quort::test::readFile("klausauf.x"), first + second);
  EXPECT_EQ(quort::readExamsOfDay("08.12.2026").size(), 1U);
  EXPECT_TRUE(quort::saveExamRecord(second, true));
  EXPECT_EQ(quort::test::readFile("klausauf.x"), second);
  EXPECT_EQ(quort::test::readFile("klausauf.x-b"), first + second);
}

}  // namespace
