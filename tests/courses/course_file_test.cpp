#include "courses/course_file.h"

#include <gtest/gtest.h>

#include "support/mutations.h"
#include "support/temp_dir.h"

namespace quort {
namespace {

// Two courses, two students, blocks 2 and 5: small enough to write down byte by byte.
CourseBook smallBook() {
  CourseBook book;
  book.yearGroup = "11";
  book.courses = {{"MAL*1 ", ""}, {"D G 1 ", ""}, {"EKG 1 ", ""}};
  book.blocks = {{}, {1}, {}, {}, {1, 2}};
  book.students = {{"Meier;Anna", 'w', {{3, 2}, {1, 1}}}, {"M\xFCller;J\xF6rg", 'm', {{2, 3}}}};
  return book;
}

TEST(CourseFileFormat, WritesTheDocumentedBytes) {
  CourseFileNotes notes;
  const std::string expected = " 5" + std::string(12, ' ') + " 3" + std::string(12, ' ') + " 2\r\n" +
                               "MAL*1 \x22\x25\r\n"
                               "D G 1 \x25\r\n"
                               "EKG 1 \r\n"
                               "1Meier;Anna\r\n"
                               "\x23\x22\x21\x21\r\n"
                               "0M\xA3ller;J\x94rg\r\n"
                               "\x22\x23\r\n"
                               "11\r\n";
  EXPECT_EQ(formatCourseFile(smallBook(), notes), expected);
  EXPECT_TRUE(notes.empty());
}

TEST(CourseFileFormat, PrintZonesPadToMultiplesOfFourteen) {
  EXPECT_EQ(printZones({0, 12, 100}), " 0" + std::string(12, ' ') + " 12" + std::string(11, ' ') + " 100");
  EXPECT_EQ(printZones({1}), " 1");
}

TEST(CourseFileFormat, RoundTripKeepsEveryByte) {
  CourseFileNotes notes;
  const std::string first = formatCourseFile(smallBook(), notes);
  CourseBook read;
  ASSERT_EQ(parseCourseFile(first, read, notes), CourseFileStatus::Ok);
  EXPECT_TRUE(notes.empty());
  EXPECT_EQ(read.students[1].name, "M\xFCller;J\xF6rg");
  EXPECT_EQ(read.students[1].sex, 'm');
  EXPECT_EQ(read.blocksOf(1), (std::vector<int>{2, 5}));
  EXPECT_EQ(formatCourseFile(read, notes), first);
}

// Bytes above 0x7F in course and choice lines are numbers, not letters: block 100 is 0x84,
// which a code-page conversion would turn into another byte.
TEST(CourseFileFormat, HighBlockAndCourseBytesAreNotConverted) {
  CourseBook book;
  book.yearGroup = "12";
  for (int c = 1; c <= 223; ++c) book.courses.push_back({"K" + std::to_string(1000 + c).substr(1) + "  ", ""});
  book.blocks.resize(222);
  book.block(100).push_back(1);
  book.block(222).push_back(2);
  book.students = {{"A;B", 'w', {{100, 1}, {223, 3}}}};
  CourseFileNotes notes;
  const std::string bytes = formatCourseFile(book, notes);
  EXPECT_NE(bytes.find("K001  \x84\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\x84\x21\xFF\x23\r\n"), std::string::npos);
  CourseBook read;
  ASSERT_EQ(parseCourseFile(bytes, read, notes), CourseFileStatus::Ok);
  EXPECT_EQ(read.blocksOf(1), std::vector<int>{100});
  EXPECT_EQ(read.blocksOf(2), std::vector<int>{222});
  ASSERT_EQ(read.students[0].choices.size(), 2U);
  EXPECT_EQ(read.students[0].choices[1].course, 223);
  EXPECT_EQ(formatCourseFile(read, notes), bytes);
  EXPECT_TRUE(notes.empty());
}

TEST(CourseFileReading, CommasAndQuotesInRawLinesDoNotSplitThem) {
  // Course 12 is ",", course 2 is a double quote; a comma in a name stays in the name.
  std::string bytes = " 0 12 1\r\n";
  for (int c = 1; c <= 12; ++c) bytes += "KURS" + std::to_string(c % 10) + " \r\n";
  bytes += "1Kunz, Dr.;Eva\r\n,\x22\x22!\r\n11\r\n";
  CourseBook read;
  CourseFileNotes notes;
  ASSERT_EQ(parseCourseFile(bytes, read, notes), CourseFileStatus::Ok);
  EXPECT_EQ(read.students[0].name, "Kunz, Dr.;Eva");
  ASSERT_EQ(read.students[0].choices.size(), 2U);
  EXPECT_EQ(read.students[0].choices[0].course, 12);
  EXPECT_EQ(read.students[0].choices[0].markCode, 2);
  EXPECT_EQ(read.students[0].choices[1].course, 2);
}

TEST(CourseFileReading, TrailingLineEndMarkIsDroppedAndBadBytesAreReported) {
  const std::string bytes = std::string(" 1 2 1\r\n") +
                            "MAL*1 !\x05\xFF\r\n"  // block -27 is no block; 0xFF ends the line
                            "D G 1 \r\n"
                            "0Kurz;Max\r\n"
                            "!!\x29\x21\x22\r\n"  // course 9 does not exist; a half pair
                            "11\xFF\r\n";
  CourseBook read;
  CourseFileNotes notes;
  ASSERT_EQ(parseCourseFile(bytes, read, notes), CourseFileStatus::Ok);
  EXPECT_EQ(read.blocksOf(1), std::vector<int>{1});
  ASSERT_EQ(read.students[0].choices.size(), 1U);
  EXPECT_EQ(read.yearGroup, "11");
  ASSERT_EQ(notes.size(), 3U);
  EXPECT_EQ(notes[0], "Kurs MAL*1 : Blocknummer -27 ung\xFCltig");
  EXPECT_EQ(notes[2], "Sch\xFCler Kurz;Max: Kurs 9 unbekannt");
}

TEST(CourseFileReading, BlocksBeyondTheDeclaredCountAreKept) {
  CourseBook read;
  CourseFileNotes notes;
  ASSERT_EQ(parseCourseFile(" 1 1 0\r\nMAL*1 $\r\n11\r\n", read, notes), CourseFileStatus::Ok);
  EXPECT_EQ(read.nBlocks(), 4);
  EXPECT_EQ(read.blocksOf(1), std::vector<int>{4});
}

TEST(CourseFileWriting, ChoicesOfUnknownCoursesAreLeftOutAndReported) {
  CourseBook book = smallBook();
  book.students[0].choices.push_back({7, 1});
  CourseFileNotes notes;
  const std::string bytes = formatCourseFile(book, notes);
  EXPECT_NE(bytes.find("\r\n\x23\x22\x21\x21\r\n"), std::string::npos);
  EXPECT_EQ(notes, CourseFileNotes{"Sch\xFCler Meier;Anna: Kurs 7 unbekannt"});
}

TEST(CourseFileWriting, WriteIsAtomicAndReadBack) {
  test::TempDir dir;
  CourseFileNotes notes;
  const std::string name = dir.file("K11.BK");
  ASSERT_TRUE(writeCourseFile(name, smallBook(), notes));
  CourseBook read;
  ASSERT_EQ(readCourseFile(name, read, notes), CourseFileStatus::Ok);
  EXPECT_EQ(read.students.size(), 2U);
  EXPECT_EQ(readCourseFile(dir.file("fehlt.BK"), read, notes), CourseFileStatus::Unreadable);
  EXPECT_FALSE(writeCourseFile(dir.file("nicht/da.BK"), smallBook(), notes));
  EXPECT_EQ(withCourseFileExtension("k11"), "k11.BK");
  EXPECT_EQ(withCourseFileExtension("../kurse/k11.bk"), "../kurse/k11.bk");
}

TEST(CourseFileReading, CutFilesAreDamagedAndLeaveTheBookAlone) {
  CourseFileNotes notes;
  const std::string whole = formatCourseFile(smallBook(), notes);
  for (size_t cut = 0; cut < whole.size() - 4; ++cut) {
    CourseBook book = smallBook();
    const CourseFileStatus status = parseCourseFile(whole.substr(0, cut), book, notes);
    EXPECT_EQ(status, CourseFileStatus::Damaged) << "cut at " << cut;
    EXPECT_EQ(book.students.size(), 2U);
  }
  CourseBook book;
  EXPECT_EQ(parseCourseFile(" 1 -3 2\r\n", book, notes), CourseFileStatus::Damaged);
  EXPECT_EQ(parseCourseFile(" 1 2 99999999999\r\nA\r\nB\r\n", book, notes), CourseFileStatus::Damaged);
  EXPECT_EQ(parseCourseFile(" 300 2 0\r\nA\r\nB\r\n11\r\n", book, notes), CourseFileStatus::Damaged);
}

// Whatever damage a file shows, reading it ends, and what was read writes a file that reads
// back to the same bytes.
TEST(CourseFileReading, MutatedFilesReadWithoutHarm) {
  const uint32_t seed = 20240611;
  std::cout << "seed " << seed << '\n';
  test::FileMutator mutator(seed);
  CourseFileNotes notes;
  const std::string whole = formatCourseFile(smallBook(), notes);
  for (int round = 0; round < 500; ++round) {
    const std::string damaged = mutator.mutate(whole);
    CourseBook book;
    if (parseCourseFile(damaged, book, notes) != CourseFileStatus::Ok) continue;
    const std::string rewritten = formatCourseFile(book, notes);
    CourseBook again;
    ASSERT_EQ(parseCourseFile(rewritten, again, notes), CourseFileStatus::Ok) << "round " << round;
    EXPECT_EQ(formatCourseFile(again, notes), rewritten) << "round " << round;
  }
}

}  // namespace
}  // namespace quort
