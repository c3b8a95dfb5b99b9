#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quort {

// Capacities of the tables; the file formats and grids cannot hold more.
inline constexpr int kMaxClasses = 100;
inline constexpr int kMaxTeachers = 100;  // plus the sentinel
inline constexpr int kMaxSubjects = 50;   // plus the sentinel
inline constexpr int kMaxRooms = 100;

// Every entity is kept as the text line the user typed, plus fields derived from it.
struct SchoolClass {
  std::string line;
  std::string code;  // 3 characters, blank-padded
  int16_t homeRoom = 0;
  int16_t planValue = 0;  // per-class value owned by the plan tables, zeroed at load
  bool operator==(const SchoolClass&) const = default;
};

struct Teacher {
  std::string line;
  std::string code;  // 2 characters, blank-padded
  float weight = 1.0F;
  bool operator==(const Teacher&) const = default;
};

struct Subject {
  std::string line;
  std::string code;  // 2 characters, blank-padded
  float weight = 1.0F;
  int16_t roomSpec = 0;    // > 0: room counts (low/high byte); < 0: minus the subject whose rooms it uses
  int16_t lessonKind = 0;  // 0 single, 1 double, 2 triple periods
  int16_t firstRoom = 0;   // entry into the subject's room ring; subject 0 heads the general pool
  bool operator==(const Subject&) const = default;
};

struct Room {
  std::string line;
  std::string code;   // 3 characters, blank-padded
  int16_t owner = 0;  // > 0 home room of that class, < 0 belongs to that subject
  int16_t nextRoom = 0;
  bool operator==(const Room&) const = default;
};

// The values of the "Planoptionen" dialog, numbered 1 to 12 as there.
struct PlanOptions {
  float weights[7] = {20, 4, 1, 2, 2, 1, 20};  // options 1 to 7
  int16_t maxTeacherLessonsPerDay = 6;         // option 8
  int16_t maxPlanAttempts = 100;               // option 9
  int16_t attemptsPerPlan = 4;                 // option 10
  int16_t variationWidth = 5;                  // option 11
  float scaleFactor = 1;                       // option 12, the generator's own

  double value(int option) const;
  void setValue(int option, double value);
};

struct BaseData {
  int days = 6;
  int periodsPerDay = 10;
  int afternoonStart = 6;
  bool weekAlternation = false;
  bool hasYear13 = false;
  bool legacyBaseData = false;  // loaded from the older .GP/.GK pair

  // Index 0 of every list is the "none" entry; teachers and subjects end with the sentinel "*".
  std::vector<SchoolClass> classes;
  std::vector<Teacher> teachers;
  std::vector<Subject> subjects;
  std::vector<Room> rooms;
  PlanOptions planOptions;

  std::string baseDataName;       // file stem of the loaded set
  std::string baseDataDirectory;  // where it was loaded from

  int nClasses() const { return count(classes); }
  int nTeachers() const { return count(teachers); }  // includes the sentinel
  int nSubjects() const { return count(subjects); }  // includes the sentinel
  int nRooms() const { return count(rooms); }
  bool loaded() const { return nClasses() > 0 && nTeachers() > 0 && periodsPerDay > 0; }

  // Index of the entity with that code (compared after padding), 0 when there is none.
  int findClass(std::string_view code) const;
  int findTeacher(std::string_view code) const;
  int findSubject(std::string_view code) const;
  int findRoom(std::string_view code) const;

 private:
  template <typename T>
  static int count(const std::vector<T>& list) {
    return list.empty() ? 0 : static_cast<int>(list.size()) - 1;
  }
};

// Code of an entity line: the first blank-separated field, cut and padded to width.
// For teachers and subjects the weight marks "-" and "+" end the code too.
std::string classOrRoomCode(std::string_view line);
std::string teacherOrSubjectCode(std::string_view line);
std::string padCode(std::string_view code, size_t width);

// The n-th blank-separated field of a line (1-based), empty when absent.
std::string lineField(std::string_view line, int n);

}  // namespace quort
