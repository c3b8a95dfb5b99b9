#include "importer/course_choice_import.h"

#include <gtest/gtest.h>

#include <sstream>

#include "courses/course_file.h"
#include "importer/achievement_data.h"
#include "importer/answering_console.h"
#include "importer/importer_test_support.h"

namespace quort {
namespace {

using test::readFile;
using test::TempDir;

const std::vector<std::string> kKivo = {"MA.MA", "DE+DE", "BI.BIO"};

ChoiceRecord choiceOf(const std::string& line, const std::string& group, int month = 3) {
  CourseImportRequest request;
  request.yearGroup = group;
  request.month = month;
  ChoiceRecord record;
  std::vector<std::string> problems;
  if (!NextChoice(line, request, kKivo, record, problems)) record.courseName = "-";
  return record;
}

TEST(CourseChoiceRecords, CourseNamesFollowTheConversionList) {
  EXPECT_EQ(choiceOf("A|B|||||||MA_Q1_LK_1", "11").courseName, "MAL*1 ");
  EXPECT_EQ(choiceOf("A|B|||||||ma_q1_gk_12", "11").courseName, "MAG 12");
  EXPECT_EQ(choiceOf("A|B|||||||CH_Q1_GK_2", "11").courseName, "CHG 2 ");
  EXPECT_EQ(choiceOf("A|B|||||||D_Q1_GK_2", "11").courseName, "D_G 2 ");
  EXPECT_EQ(choiceOf("A|B|||||||BIO_EF_GK_1", "10").courseName, "BIG 1 ");
  // From July on a "+" in the list marks the written course.
  EXPECT_EQ(choiceOf("A|B|||||||DE_Q1_GK_1", "11", 9).courseName, "DEG+1 ");
  EXPECT_EQ(choiceOf("A|B|||||||DE_Q1_GK_1", "11", 3).courseName, "DEG 1 ");
  EXPECT_EQ(choiceOf("Kunz|Eva|||||||MA_Q1_LK_1", "11").studentKey, "1Kunz;Eva");
}

TEST(CourseChoiceRecords, OnlyTheRequestedYearGroupIsRead) {
  EXPECT_EQ(choiceOf("A|B|||||||MA_Q1_LK_1", "12").courseName, "-");
  EXPECT_EQ(choiceOf("A|B|||||||MA_Q2_LK_1", "12").courseName, "MAL*1 ");
  EXPECT_EQ(choiceOf("A|B|||||||MA_Q2_LK_1", "11").courseName, "-");
  EXPECT_EQ(choiceOf("A|B|C", "11").courseName, "-");
}

TEST(CourseChoiceRecords, MarksDependOnTheTerm) {
  EXPECT_EQ(choiceMark("AB3", true), '+');
  EXPECT_EQ(choiceMark("AB3", false), '#');
  EXPECT_EQ(choiceMark("AB4", false), '=');
  EXPECT_EQ(choiceMark("GKS", false), '+');
  EXPECT_EQ(choiceMark("GKM", true), ' ');
}

TEST(CourseChoiceTables, StudentsAndCoursesAreSortedAndEncoded) {
  CourseImportRequest request{"11", "", "", 3};
  const std::string text =
      "Kopf\r\n"
      "Zander|Ute||||||GKS|DE_Q1_GK_1\r\n"
      "Abel|Tim||||||AB3|CH_Q1_GK_2\r\n"
      "Abel|Tim||||||LK1|MA_Q1_LK_1\r\n"
      "Abel|Tim||||||GKS|MA_Q1_LK_1\r\n"  // the same course written: still one choice
      "Abel|Tim||||||X|MA_Q1\r\n";
  const CourseImportTables tables = collectChoices(text, request, kKivo);
  ASSERT_EQ(tables.problems.size(), 1U);
  EXPECT_EQ(tables.problems[0], "Zeile 6: Kurskennung MA_Q1 unvollst\xE4ndig");
  const CourseBook book = encodeChoices(tables, "11");
  ASSERT_EQ(book.nCourses(), 3);
  EXPECT_EQ(book.course(1).name, "MAL*1 ");
  EXPECT_EQ(book.course(2).name, "CHG 2 ");
  EXPECT_EQ(book.course(3).name, "DEG 1 ");
  ASSERT_EQ(book.students.size(), 2U);
  EXPECT_EQ(book.students[0].name, "Abel;Tim");
  ASSERT_EQ(book.students[0].choices.size(), 2U);
  EXPECT_EQ(book.students[0].choices[0].markCode, 4);  // "#"
  EXPECT_EQ(book.students[0].choices[1].course, 1);
  EXPECT_EQ(book.students[0].choices[1].markCode, 3);  // advanced, whatever else was marked
  EXPECT_EQ(book.students[1].choices[0].markCode, 2);
}

TEST(CourseChoiceTables, FullCourseTableIsReportedNotDroppedSilently) {
  CourseImportRequest request{"11", "", "", 3};
  std::string text = "Kopf\r\n";
  for (int c = 1; c <= 34; ++c) text += "A|B||||||LK1|MA_Q1_LK_" + std::to_string(c) + "\r\n";
  const CourseImportTables tables = collectChoices(text, request, kKivo);
  EXPECT_EQ(tables.advanced.size(), 32U);
  ASSERT_EQ(tables.problems.size(), 2U);
  const CourseBook book = encodeChoices(tables, "11");
  EXPECT_EQ(book.students[0].choices.size(), 32U);
}

class CourseChoiceCommand : public ::testing::Test {
 protected:
  TempDir dir;
  std::filesystem::path work = dir.path() / "work";
  void SetUp() override {
    std::filesystem::create_directories(work);
    std::filesystem::create_directories(dir.path() / "kurse");
    std::ofstream(work / "kivo.ini", std::ios::binary) << "// Mathe\r\nMA=MA\r\nDE=+DE\r\nBI=BIO\r\n";
  }
};

TEST_F(CourseChoiceCommand, WritesTheFileBesideTheGivenPathWithTheHighestBlockInItsHeader) {
  const test::AchievementData data = test::makeAchievementData(7, 30);
  std::ofstream(work / "leistung.dat", std::ios::binary) << data.text;
  const test::ProgramRun run = test::runImporter(
      work, "kurswahlen --leistungsdaten leistung.dat --klasse 11 --ziel ../kurse/k11.neu --monat 3 --block 'DEL*1=4'");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("Kurse gespeichert"), std::string::npos);
  EXPECT_NE(run.output.find("Wahlen gespeichert"), std::string::npos);
  CourseBook book;
  CourseFileNotes notes;
  ASSERT_EQ(readCourseFile((dir.path() / "kurse" / "k11.bk").string(), book, notes), CourseFileStatus::Ok);
  EXPECT_TRUE(notes.empty());
  EXPECT_EQ(book.nBlocks(), 4);
  EXPECT_EQ(book.students.size(), 30U);
  EXPECT_EQ(book.yearGroup, "11");
  EXPECT_EQ(book.students[0].name.substr(0, 7), "M\xFCller,");
  int chosen = 0;
  for (const Student& student : book.students) chosen += static_cast<int>(student.choices.size());
  EXPECT_EQ(chosen, data.choices);
}

TEST_F(CourseChoiceCommand, UnreadableSourceWritesNothing) {
  std::ofstream(dir.path() / "kurse" / "k11.bk", std::ios::binary) << "alt";
  const test::ProgramRun run =
      test::runImporter(work, "kurswahlen --leistungsdaten fehlt.dat --klasse 11 --ziel ../kurse/k11");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("Selvox-Dateifehler! Abbruch!"), std::string::npos);
  EXPECT_EQ(readFile((dir.path() / "kurse" / "k11.bk").string()), "alt");
  EXPECT_EQ(test::runImporter(work, "kurswahlen --leistungsdaten x --klasse 11 --ziel k --bloecke 300").exitCode, 2);
  EXPECT_EQ(test::runImporter(work, "kurswahlen --klasse 11 --ziel k").exitCode, 2);
}

}  // namespace
}  // namespace quort
