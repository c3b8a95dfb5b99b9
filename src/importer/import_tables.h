#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/plan_tables.h"

namespace quort {

// Widths of the codes in the entries of the import tables.
inline constexpr size_t kClassCodeWidth = 3;
inline constexpr size_t kTeacherCodeWidth = 2;
inline constexpr size_t kSubjectCodeWidth = 2;
inline constexpr size_t kRoomCodeWidth = 3;

// The external teacher, who stands for every teacher code longer than two characters.
inline constexpr const char* kExternalTeacher = "~~ ausw\xE4rts";

// Index of the first entry (from 1) whose code equals key, both taken to width
// characters and padded with blanks; 0 when there is none. An empty key matches nothing.
// Comparing at the full width keeps a one-letter teacher "A" apart from "AB".
int PrefixFind(const std::vector<std::string>& table, std::string_view key, size_t width);

// One list of the import (classes, teachers, subjects or rooms): entry texts from index 1.
class ImportList {
 public:
  static constexpr int kCapacity = 255;

  int count() const { return static_cast<int>(m_entries.size()) - 1; }
  bool full() const { return count() >= kCapacity; }
  // Entries that did not fit any more.
  int overflow() const { return m_overflow; }
  const std::vector<std::string>& entries() const { return m_entries; }
  std::string& operator[](int index) { return m_entries[static_cast<size_t>(index)]; }
  const std::string& operator[](int index) const { return m_entries[static_cast<size_t>(index)]; }

  int find(std::string_view key, size_t width) const { return PrefixFind(m_entries, key, width); }
  // false when the list is full (the entry is counted as overflow).
  bool append(std::string entry);
  void clear();
  // Sorts entries 1..count with less.
  template <typename Less>
  void sortEntries(Less less);

 private:
  std::vector<std::string> m_entries{std::string()};
  int m_overflow = 0;
};

// One piece of an Untis lesson: the (pseudo-)class its lines are placed in, and the
// teacher and subject that make it a piece of its own.
struct LessonPiece {
  std::string schoolClass;  // 3 characters, blank-padded
  std::string teacher2;     // first two characters of the teacher code, blank-padded
  std::string subject3;     // first three characters of the subject, blank-padded
  std::string teacherCode;  // the whole teacher code, upper-cased
};

struct LessonEntry {
  long lessonNumber = 0;
  std::vector<LessonPiece> pieces;
};

// `LessonIndex`: one entry per Untis lesson number met in GPU001.TXT.
class LessonIndex {
 public:
  static constexpr size_t kCapacity = 2048;

  LessonEntry* find(long lessonNumber);
  // nullptr when the index is full.
  LessonEntry* add(long lessonNumber);
  const std::vector<LessonEntry>& entries() const { return m_entries; }
  void clear();

 private:
  std::vector<LessonEntry> m_entries;
  std::unordered_map<long, size_t> m_byNumber;
};

// A coupling built from a lesson of several pieces: its lesson number and one
// CouplingMemberView record per piece.
struct ImportCoupling {
  long lessonNumber = 0;
  std::string members;
};

// `ImportGrid`: per class, plan row (1..periods) and day (1..6) the lessonWord and the
// roomWord that the plan file will hold.
struct ImportGrid {
  Grid lessonWord;
  Grid roomWord;

  void reset(int classes, int periods);
};

// Everything the importer works on during one run.
struct ImportTables {
  static constexpr int kCouplingCapacity = 127;

  ImportList classes;
  ImportList teachers;
  ImportList subjects;
  ImportList rooms;
  std::vector<ImportCoupling> couplings{ImportCoupling{}};  // [1..nCouplings]
  LessonIndex lessonIndex;
  ImportGrid grid;
  int periods = 10;  // plan rows per day
  int days = 6;
  bool weekAlternation = false;
  std::vector<std::string> kivoLines;  // KIVO.INI, for the course-choice import

  int nCouplings() const { return static_cast<int>(couplings.size()) - 1; }
  // Coupling number of a lesson, 0 when the lesson is not coupled.
  int couplingOf(long lessonNumber) const;
  // Empties the four lists, the couplings and the lesson index.
  void clearLists();
};

template <typename Less>
void ImportList::sortEntries(Less less) {
  std::stable_sort(m_entries.begin() + 1, m_entries.end(), less);
}

}  // namespace quort
