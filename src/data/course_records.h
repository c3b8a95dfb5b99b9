#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quort {

// The course choices of one year group: what a course-choice file (.BK) holds and what
// the course choice editor works on. Texts are Windows-1252 bytes.

// Mark codes as the file writes them (byte - 32): 1 a plain choice, 2 "+" written course,
// 3 "*" advanced course, 4 "#" third and 5 "=" fourth Abitur subject.
inline constexpr const char* kChoiceMarks = " +*#=";
inline constexpr int kPlainMark = 1;
inline constexpr size_t kCourseNameWidth = 6;

// The mark character of a mark code; '?' for a code the file may hold but no mark has.
inline char markCharacter(int markCode) { return markCode >= 1 && markCode <= 5 ? kChoiceMarks[markCode - 1] : '?'; }
// The mark code of a mark character (blank for none); 0 when it is none of " +*#=".
inline int markCodeOf(char mark) {
  for (int code = 1; code <= 5; ++code) {
    if (kChoiceMarks[code - 1] == mark) return code;
  }
  return 0;
}

struct CourseChoice {
  int course = 0;  // 1-based number in the course list
  int markCode = kPlainMark;
};

struct Student {
  std::string name;  // "Name;Vorname"
  char sex = 'w';    // 'm' or 'w'
  std::vector<CourseChoice> choices;

  bool chose(int course) const {
    for (const CourseChoice& choice : choices) {
      if (choice.course == course) return true;
    }
    return false;
  }
};

struct Course {
  std::string name;     // six characters: subject, kind, mark position, number
  std::string teacher;  // shown in the editor; the file has no place for it
};

// One year group's courses, blocks and students. Blocks are numbered from 1 and hold
// course numbers; a course may sit in several blocks.
struct CourseBook {
  // A course byte and a block byte are 32 + the number; 0xFF ends a DOS line, so blocks
  // stop one short of the courses.
  static constexpr int kMaxCourses = 223;
  static constexpr int kMaxBlocks = 222;
  // The editor lists a student as the name and ";m"/";w" padded to 50 characters.
  static constexpr size_t kMaxNameLength = 48;

  std::string fileName;  // the .BK it was read from or last saved to
  std::string yearGroup;
  std::vector<Course> courses;           // course n at [n - 1]
  std::vector<std::vector<int>> blocks;  // block b at [b - 1]
  std::vector<Student> students;

  int nCourses() const { return static_cast<int>(courses.size()); }
  int nBlocks() const { return static_cast<int>(blocks.size()); }
  const Course& course(int number) const { return courses[static_cast<size_t>(number - 1)]; }
  std::vector<int>& block(int number) { return blocks[static_cast<size_t>(number - 1)]; }
  const std::vector<int>& block(int number) const { return blocks[static_cast<size_t>(number - 1)]; }
  // The blocks that hold the course, ascending.
  std::vector<int> blocksOf(int course) const {
    std::vector<int> result;
    for (int b = 1; b <= nBlocks(); ++b) {
      for (int member : block(b)) {
        if (member == course) {
          result.push_back(b);
          break;
        }
      }
    }
    return result;
  }
  // How many students chose the course.
  int sizeOf(int course) const {
    int count = 0;
    for (const Student& student : students) count += student.chose(course) ? 1 : 0;
    return count;
  }
};

}  // namespace quort
