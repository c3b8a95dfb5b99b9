#include "importer/plan_import.h"

#include <gtest/gtest.h>

#include <sstream>

#include "data/enc40.h"
#include "importer/answering_console.h"
#include "importer/import_tables.h"
#include "importer/importer_test_support.h"
#include "importer/timetable_conversion.h"

namespace quort {
namespace {

using test::readFile;
using test::TempDir;

// Tables as a loaded .GD would give them: classes 5A 5B 11A 11B, teachers, subjects, rooms.
ImportTables smallSchool(int periods = 8, bool weekAlternation = false) {
  ImportTables tables;
  for (const char* entry : {"5A", "5B", "11A", "11B"}) tables.classes.append(entry);
  for (const char* entry : {"~~ ausw\xE4rts", "AB Abel", "M\xDC M\xFCller", "SW Schwarz"})
    tables.teachers.append(entry);
  for (const char* entry : {"MA Mathematik", "DE Deutsch", "M  Mathe", "D  Deutsch"}) tables.subjects.append(entry);
  for (const char* entry : {"R01 5A", "R02"}) tables.rooms.append(entry);
  tables.periods = periods;
  tables.weekAlternation = weekAlternation;
  tables.grid.reset(tables.classes.count(), periods);
  return tables;
}

UntisRecord line(long number, const char* schoolClass, const char* teacher, const char* subject, int day = 1,
                 int period = 1, const char* room = "R01") {
  return {std::to_string(number), schoolClass, teacher, subject, room, std::to_string(day),
          std::to_string(period), "",          ""};
}

// The classes of the GPTAVIN.TXT lines, in order.
std::vector<std::string> writtenClasses(const std::string& gptavin) {
  std::vector<std::string> classes;
  for (std::string_view text : splitTextLines(gptavin)) classes.push_back(splitUntisLine(text, 7)[1]);
  return classes;
}

// Lesson 12 of Q1 with the pairs (MÜ, MA), (SW, DE), (MÜ, MA): two pieces 11A and 11B,
// the repeated pair lands in 11A again, and the lesson is one coupling of two members.
TEST(TimetableConversion, UpperSchoolPiecesBecomeLetteredPseudoClassesAndACoupling) {
  ImportTables tables = smallSchool();
  const auto gptavin = convertTimetable(
      tables, {line(12, "Q1", "M\xFC", "MA"), line(12, "Q1", "SW", "DE", 1, 2), line(12, "Q1", "M\xDC", "MA", 2, 1)});
  ASSERT_TRUE(gptavin);
  EXPECT_EQ(writtenClasses(*gptavin), (std::vector<std::string>{"11A", "11B", "11A"}));
  EXPECT_EQ(gptavin->substr(0, gptavin->find('\n') + 1), "12,\"11A\",\"M\xFC\",\"MA\",\"R01\",1,1\r\n");
  ASSERT_TRUE(BuildCouplingList(tables));
  ASSERT_EQ(tables.nCouplings(), 1);
  EXPECT_EQ(tables.couplings[1].members, std::string("\x03\x03\x01 \x04\x04\x02 "));
  EXPECT_EQ(Enc40(tables.couplings[1].members), "++)H,,*H");
}

// Lines of one lesson that repeat a teacher and subject fold into the class of the
// first one, so 5B's line lands in 5A; a bare year group "5" gets its letter.
TEST(TimetableConversion, RepeatedTeacherAndSubjectFoldIntoTheFirstPiecesClass) {
  ImportTables tables = smallSchool();
  const auto gptavin =
      convertTimetable(tables, {line(7, "5A", "AB", "MA"), line(7, "5B", "AB", "MA"), line(8, "5", "AB", "DE"),
                                line(8, "11", "SW", "DE"), line(8, "5", "SW", "MA")});
  ASSERT_TRUE(gptavin);
  // Lesson 8: "5" -> 5A; "11" follows year 5, so its letter starts at A; "5" after year 11 too.
  EXPECT_EQ(writtenClasses(*gptavin), (std::vector<std::string>{"5A", "5A", "5A", "11A", "5A"}));
  ASSERT_TRUE(BuildCouplingList(tables));
  EXPECT_EQ(tables.nCouplings(), 1);  // lesson 8; lesson 7 is one piece
}

// Every lesson of two pieces is a coupling, also with one-letter subjects, and lesson
// numbers are compared in full: 1234 does not take the coupling of 123.
TEST(TimetableConversion, CouplingsNeedTwoPiecesAndMatchWholeLessonNumbers) {
  ImportTables tables = smallSchool();
  ASSERT_TRUE(convertTimetable(tables, {line(123, "Q2", "AB", "M"), line(123, "Q2", "SW", "D"),
                                        line(1234, "5A", "AB", "MA"), line(1234, "5A", "AB", "MA", 1, 2)}));
  ASSERT_TRUE(BuildCouplingList(tables));
  EXPECT_EQ(tables.nCouplings(), 1);
  EXPECT_EQ(tables.couplingOf(123), 1);
  EXPECT_EQ(tables.couplingOf(1234), 0);
}

TEST(TimetableConversion, TheLessonIndexHoldsAtMost2048LessonNumbers) {
  ImportTables tables = smallSchool();
  std::vector<UntisRecord> records;
  for (long number = 1; number <= 2048; ++number) records.push_back(line(number, "5A", "AB", "MA"));
  EXPECT_TRUE(convertTimetable(tables, records));
  records.push_back(line(5000, "5A", "AB", "MA"));
  EXPECT_FALSE(convertTimetable(tables, records));
}

std::vector<UntisRecord> gptavin(std::initializer_list<UntisRecord> records) {
  std::vector<UntisRecord> result;
  for (UntisRecord record : records) {
    record.resize(7);
    result.push_back(record);
  }
  return result;
}

// "Stundenversatz" 3 with 8 periods: period 4 moves to row 5, the last period stays.
TEST(ImportGrid, AnOffsetMovesLaterPeriodsDownExceptTheLast) {
  ImportTables tables = smallSchool(8);
  std::ostringstream out;
  AnsweringConsole console(out);
  const auto errors = fillImportGrid(
      tables, console,
      gptavin({line(1, "5A", "AB", "MA", 2, 3), line(2, "5A", "AB", "MA", 2, 4), line(3, "5A", "AB", "MA", 2, 8)}), 3);
  EXPECT_TRUE(errors.empty());
  const Grid& lessons = tables.grid.lessonWord;
  EXPECT_EQ(lessons.at(1, 3, 2), 256 * 2 + 1);
  EXPECT_EQ(lessons.at(1, 4, 2), 0);
  EXPECT_EQ(lessons.at(1, 5, 2), 256 * 2 + 1);
  EXPECT_EQ(lessons.at(1, 8, 2), 256 * 2 + 1);
}

// With week alternation period k occupies row 2k - 1; period 6 of 5 would be row 11.
TEST(ImportGrid, WeekAlternationPutsPeriodKIntoRowTwoKMinusOne) {
  ImportTables tables = smallSchool(10, true);
  std::ostringstream out;
  AnsweringConsole console(out);
  const auto errors =
      fillImportGrid(tables, console, gptavin({line(1, "5B", "SW", "DE", 4, 3), line(2, "5B", "SW", "DE", 4, 6)}), 0);
  EXPECT_EQ(tables.grid.lessonWord.at(2, 5, 4), 256 * 4 + 2);
  EXPECT_EQ(errors, (std::vector<std::string>{"Fehler: Stunde 6 (5B,SW,DE)"}));
}

// What cannot be placed is reported and left out; unknown teachers and subjects are
// placed with the sentinel index (count + 1), never beyond the tables.
TEST(ImportGrid, ProblemsAreReportedAndOnlyPlaceableRecordsArePlaced) {
  ImportTables tables = smallSchool(8);
  std::ostringstream out;
  AnsweringConsole console(out);
  const auto errors = fillImportGrid(
      tables, console,
      gptavin({line(1, "EXT", "AB", "MA"), line(2, "5A", "XY", "ZZ", 1, 2, "R201"), line(3, "5A", "", "MA", 1, 3, ""),
               line(4, "5A", "MEYER", "MA", 7, 1), line(5, "5A", "AB", "MA", 1, 9), line(6, "7C", "AB", "MA"),
               line(7, "5B", "AB", "MA", 3, 3), line(8, "5B", "SW", "DE", 3, 3)}),
      0);
  EXPECT_EQ(errors, (std::vector<std::string>{"Fehler: Klasse (EXT,AB,MA)", "Fehler: Lehrer, Fach (5A,XY,ZZ)",
                                              "Fehler: Lehrer (5A,,MA)", "Fehler: Tag 7 (5A,~~,MA)",
                                              "Fehler: Stunde 9 (5A,AB,MA)", "Fehler: Klasse unbekannt (7C,AB,MA)",
                                              "Fehler: Doppelbelegung Tag 3 Stunde 3 (5B,SW,DE)"}));
  EXPECT_EQ(console.messages(), errors);
  const Grid& lessons = tables.grid.lessonWord;
  EXPECT_EQ(lessons.at(1, 1, 1), 0);
  EXPECT_EQ(lessons.at(1, 2, 1), 256 * 5 + 5);     // sentinels of teachers and subjects
  EXPECT_EQ(tables.grid.roomWord.at(1, 2, 1), 1);  // R201 is R01
  EXPECT_EQ(lessons.at(1, 3, 1), 256 * 5 + 1);     // an empty teacher matches nothing
  EXPECT_EQ(tables.grid.roomWord.at(1, 3, 1), 0);  // nor does an empty room
  EXPECT_EQ(lessons.at(2, 3, 3), 256 * 4 + 2);     // the later lesson replaced the earlier
}

TEST(PlanFile, TheFourFormatHoldsCouplingsThenEveryCellDayByDayPeriodByPeriodClassByClass) {
  ImportTables tables = smallSchool(2);
  tables.classes.clear();
  tables.classes.append("5A");
  tables.classes.append("5B");
  tables.grid.reset(2, 2);
  tables.couplings.push_back(ImportCoupling{12, std::string("\x02\x01\x01 \x04\x02\x02 ")});
  tables.grid.lessonWord.at(2, 1, 1) = 256 * 2 + 128 + 1;
  tables.grid.roomWord.at(2, 1, 1) = 256 + 1;
  tables.grid.lessonWord.at(1, 2, 6) = 256 * 4 + 2;
  std::string expected = "#4#\r\n0,0,1,0\r\n*))H,**H\r\n#4#\r\n0,0\r\n641,257\r\n0,0\r\n0,0\r\n";
  for (int i = 0; i < 16; ++i) expected += "0,0\r\n";
  expected += "0,0\r\n0,0\r\n1026,0\r\n0,0\r\n";
  EXPECT_EQ(formatImportPlan(tables), expected);
}

// The whole "P" function on files: a missing .GD, a missing GPU001.TXT and a plan that
// cannot be written each stop it with a message and no plan file.
TEST(PlanImport, FailuresWriteNoPlanAndSaySo) {
  TempDir dir;
  std::ostringstream out;
  AnsweringConsole console(out);
  ImportTables tables;
  const ImportSource source{dir.path().string(), dir.file("SCHULE")};
  EXPECT_FALSE(ImportPlan(tables, console, source).written);
  EXPECT_TRUE(console.saw("Grunddaten fehlerhaft!"));

  dir.write("SCHULE.GD", "265,1,3,2,1\r\n5A\r\nAB Abel\r\n~~ ausw\xE4rts\r\nMA Mathe\r\nR01\r\n");
  EXPECT_FALSE(ImportPlan(tables, console, source).written);
  EXPECT_TRUE(console.saw("Untis-Datei fehlerhaft!"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("SCHULE.PL")));

  dir.write("GPU001.TXT", "1,\"5A\",\"AB\",\"MA\",\"R01\",1,1,,\n");
  std::filesystem::create_directory(dir.file("SCHULE.PL"));
  const ImportOutcome blocked = ImportPlan(tables, console, source);
  EXPECT_FALSE(blocked.written);
  EXPECT_TRUE(blocked.fileFailed);
  EXPECT_TRUE(console.saw("Schreibfehler! Datenverlust!"));
  std::filesystem::remove(dir.file("SCHULE.PL"));

  EXPECT_TRUE(ImportPlan(tables, console, source).succeeded());
  EXPECT_EQ(readFile(dir.file("GPTAVIN.TXT")), "1,\"5A\",\"AB\",\"MA\",\"R01\",1,1\r\n");
  const std::string start = "#4#\r\n0,0,0,0\r\n#4#\r\n257,1\r\n0,0\r\n";
  EXPECT_EQ(readFile(dir.file("SCHULE.PL")).substr(0, start.size()), start);
}

}  // namespace
}  // namespace quort
