#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quort::test {

// A Gymnasium of 26 classes as Untis would export it: classes 5A-10C with home rooms,
// double periods, religion coupled across 5A and 5B, upper-school courses of "Q1" and
// "Q2" in coupled blocks (lesson numbers from 1001), and the tutor groups 11A-11C and
// 12A-12C as classes. Teachers have two-letter codes, two external ones three or four.
struct GeneratedSchool {
  struct Line {
    long lessonNumber;
    std::string schoolClass;  // as exported
    std::string teacher;
    std::string subject;
    std::string room;
    int day;
    int period;
    std::string placedClass;  // the class the import places the line in
  };

  std::vector<Line> lines;                                   // GPU001.TXT, in file order
  std::vector<std::pair<std::string, std::string>> classes;  // name and home room
  std::vector<std::string> twoLetterTeachers;
  std::vector<std::string> subjects;  // codes of GPU006.TXT, without duplicates
  std::vector<std::string> rooms;
  int couplings = 0;  // lesson numbers with more than one teacher-and-subject pair

  // Writes GPU001.TXT ... GPU006.TXT (Windows-1252, CR LF) into directory.
  void writeTo(const std::filesystem::path& directory) const;
};

GeneratedSchool makeGymnasium();

}  // namespace quort::test
