#include <gtest/gtest.h>

#include "courses/course_file.h"
#include "importer/achievement_data.h"
#include "importer/importer_test_support.h"

namespace quort {
namespace {

using test::readFile;
using test::TempDir;

int clashesIn(const CourseBook& book) {
  int count = 0;
  for (const Student& student : book.students) {
    for (const auto& members : book.blocks) {
      int inBlock = 0;
      for (int course : members) inBlock += student.chose(course) ? 1 : 0;
      count += std::max(inBlock - 1, 0);
    }
  }
  return count;
}

// A year group of 100 students goes the whole way: imported from an achievement-data
// export, opened in the planner's course editor, blocked without a clash, balanced, saved,
// reopened and saved again to the same bytes, and its student plans printed to a PDF.
TEST(CourseYearGroup, ImportBlockBalanceSaveAndPrintStudentPlans) {
  const uint32_t seed = 1100;
  std::cout << "seed " << seed << '\n';
  TempDir dir;
  const auto work = dir.path() / "work";
  std::filesystem::create_directories(work);
  std::filesystem::create_directories(dir.path() / "kurse");
  std::ofstream(work / "kivo.ini", std::ios::binary) << "MA=MA\r\nDE=+DE\r\nBI=BIO\r\n";
  std::ofstream(work / "stufe.dat", std::ios::binary) << test::makeAchievementData(seed, 100).text;
  const test::ProgramRun imported =
      test::runImporter(work, "kurswahlen --leistungsdaten stufe.dat --klasse 11 --ziel ../kurse/k11 --monat 10");
  ASSERT_EQ(imported.exitCode, 0) << imported.output;

  const std::string script = "open " + test::demoFile() +
                             "\n"
                             "courses open ../kurse/k11.bk\n"
                             // The import put every course into block 1: start the blocks afresh.
                             "answer Ja\ncourses delete-block 1\n"
                             "answer $20\nanswer $0\nanswer Blocken\ncourses autoblock\n"
                             "courses balance\n"
                             "courses save ../kurse/k11b\n"
                             "courses open ../kurse/k11b.BK\n"
                             "courses save ../kurse/k11c.BK\n"
                             "print-to plaene.pdf\n"
                             "answer $../kurse/k11c.BK\nanswer $11\nanswer Drucken\nmenu 138\n";
  const test::ProgramRun planner = test::runPlanner(work, script);
  ASSERT_EQ(planner.exitCode, 0) << planner.output;
  EXPECT_NE(planner.output.find("Alle Kurse gesetzt!"), std::string::npos) << planner.output;
  EXPECT_NE(planner.output.find("Ausgleichen beendet"), std::string::npos);

  const std::string saved = readFile((dir.path() / "kurse" / "k11b.BK").string());
  EXPECT_EQ(readFile((dir.path() / "kurse" / "k11c.BK").string()), saved);
  CourseBook book;
  CourseFileNotes notes;
  ASSERT_EQ(parseCourseFile(saved, book, notes), CourseFileStatus::Ok);
  EXPECT_EQ(book.students.size(), 100U);
  EXPECT_GT(book.nBlocks(), 0);
  EXPECT_EQ(clashesIn(book), 0);
  for (int c = 1; c <= book.nCourses(); ++c) EXPECT_FALSE(book.blocksOf(c).empty()) << book.course(c).name;
  EXPECT_GT(std::filesystem::file_size(work / "plaene.pdf"), 1000U);
}

}  // namespace
}  // namespace quort
