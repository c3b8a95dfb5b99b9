#pragma once

#include <string>

namespace quort {

// The input line of "Deputateingabe" as the pick lists build it, in the order of the
// long line: teacher, marker, subject, class, periods; or "#", coupling, ":", periods and
// kind. Choosing a coupling clears teacher, subject and class; choosing a teacher, subject
// or class clears the coupling. The kinds "L" and "H" put "¹" and "²" into the marker
// position, "E", "D" and "T" a blank.
class AssignmentComposer {
 public:
  void setTeacher(const std::string& code);
  void setSubject(const std::string& code);
  void setClass(const std::string& code);
  void setCoupling(int number);
  void setPeriods(int periods);
  void setKind(char letter);
  void clear() { *this = AssignmentComposer(); }

  std::string line() const;

 private:
  std::string m_teacher;
  std::string m_subject;
  std::string m_class;
  int m_coupling = 0;
  int m_periods = 0;
  char m_kind = 0;
  char m_marker = ' ';
};

}  // namespace quort
