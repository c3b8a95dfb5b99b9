#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quort {

// The plan's records live in byte strings of fixed-size records, searched by substring.
// These views name the bytes of one record; they never copy the string.

// One byte of a record string as an unsigned value.
inline int recordByte(std::string_view records, size_t offset) { return static_cast<unsigned char>(records[offset]); }

inline size_t recordCount(std::string_view records, size_t recordSize) { return records.size() / recordSize; }

// Assignment ("Deputat"): teacher, class, subject, periods with markers. Teacher 0 marks a
// coupling assignment, whose class byte holds the lesson kind and subject byte the coupling.
class AssignmentView {
 public:
  static constexpr size_t kSize = 4;
  AssignmentView(std::string_view records, size_t index) : m_bytes(records.substr(index * kSize, kSize)) {}
  // A view must not outlive its bytes: a temporary string would leave it dangling.
  AssignmentView(std::string&&, size_t) = delete;

  int teacher() const { return byte(0); }
  int schoolClass() const { return byte(1); }
  int subject() const { return byte(2); }
  int periods() const { return byte(3) & 15; }
  bool marker1() const { return (byte(3) & 16) != 0; }  // shown as "¹"
  bool marker2() const { return (byte(3) & 32) != 0; }  // shown as "²"
  bool isCoupling() const { return teacher() == 0; }
  int lessonKind() const { return schoolClass(); }  // coupling: 0 "E", 1 "D", 2 "T"
  int couplingNumber() const { return subject(); }

 private:
  int byte(size_t i) const { return static_cast<unsigned char>(m_bytes[i]); }
  std::string_view m_bytes;
};

std::string makeAssignment(int teacher, int schoolClass, int subject, int periodsAndMarkers);

// One member of a coupling: teacher, class, subject and the suffix character ("Zusatz").
class CouplingMemberView {
 public:
  static constexpr size_t kSize = 4;
  CouplingMemberView(std::string_view coupling, size_t index) : m_bytes(coupling.substr(index * kSize, kSize)) {}
  // A view must not outlive its bytes: a temporary string would leave it dangling.
  CouplingMemberView(std::string&&, size_t) = delete;

  int teacher() const { return byte(0); }
  int schoolClass() const { return byte(1); }
  int subject() const { return byte(2); }
  char suffix() const { return m_bytes[3]; }

 private:
  int byte(size_t i) const { return static_cast<unsigned char>(m_bytes[i]); }
  std::string_view m_bytes;
};

std::string makeCouplingMember(int teacher, int schoolClass, int subject, char suffix);

// A lesson of the substitution day that needs a substitute; unique per class, day, period.
class OpenLessonView {
 public:
  static constexpr size_t kSize = 7;
  OpenLessonView(std::string_view records, size_t index) : m_bytes(records.substr(index * kSize, kSize)) {}
  // A view must not outlive its bytes: a temporary string would leave it dangling.
  OpenLessonView(std::string&&, size_t) = delete;

  int teacher() const { return byte(0); }
  int schoolClass() const { return byte(1); }
  int day() const { return byte(2); }
  int period() const { return byte(3); }
  int subject() const { return byte(4); }
  int coupling() const { return byte(5); }
  int room() const { return byte(6); }

 private:
  int byte(size_t i) const { return static_cast<unsigned char>(m_bytes[i]); }
  std::string_view m_bytes;
};

// A lesson a teacher did not have to give; the teacher owes the time.
class FreedLessonView {
 public:
  static constexpr size_t kSize = 3;
  FreedLessonView(std::string_view records, size_t index) : m_bytes(records.substr(index * kSize, kSize)) {}
  // A view must not outlive its bytes: a temporary string would leave it dangling.
  FreedLessonView(std::string&&, size_t) = delete;

  int teacher() const { return byte(0); }
  int schoolClass() const { return byte(1); }
  int period() const { return byte(2) / 10; }
  int day() const { return byte(2) % 10; }

 private:
  int byte(size_t i) const { return static_cast<unsigned char>(m_bytes[i]); }
  std::string_view m_bytes;
};

}  // namespace quort
