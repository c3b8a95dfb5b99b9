#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/course_records.h"
#include "importer/import_outcome.h"

namespace quort {

class ImportUi;

// Menu "K": the achievement-data export of the school administration ("Leistungsdaten",
// one course choice per line, fields separated by "|") becomes the course-choice file of
// one year group.

struct CourseImportRequest {
  std::string yearGroup;   // as the planner names it: "10", "11", "12"
  std::string sourceFile;  // the "*.dat" export
  std::string targetName;  // ".bk" replaces everything from the first "." of the file name
  int month = 1;           // the current month: from July on AB3/AB4 courses count as written
};

// One course choice read from the export.
struct ChoiceRecord {
  std::string studentKey;  // "1" + surname + ";" + first name
  std::string kind;        // field 8: "GKS", "AB3", "AB4", ...
  std::string courseName;  // six characters
};

// What the source gave: students with their choices, the sorted course list, and what
// had to be left out, one German line each.
struct CourseImportTables {
  static constexpr size_t kStudentCapacity = 1000;
  static constexpr size_t kAdvancedCapacity = 32;
  static constexpr size_t kOtherCapacity = 128;

  struct StudentEntry {
    std::string key;
    std::vector<std::string> entries;  // mark + course name
  };
  std::vector<StudentEntry> students;
  std::vector<std::string> advanced;
  std::vector<std::string> others;
  std::vector<std::string> problems;
};

// `NextChoice` for one line of the export (the header excluded): false when the line does
// not belong to the year group. A line of the year group whose course identifier lacks
// parts is noted in problems and gives false.
bool NextChoice(std::string_view line, const CourseImportRequest& request, const std::vector<std::string>& kivoLines,
                ChoiceRecord& record, std::vector<std::string>& problems);

// Reads the export text (Windows-1252, header line first) into the tables, sorted.
CourseImportTables collectChoices(std::string_view text, const CourseImportRequest& request,
                                  const std::vector<std::string>& kivoLines);

// The mark character of a choice kind: "GKS" "+", "AB3" "#" and "AB4" "=" (both "+" in
// the written term), anything else blank.
char choiceMark(std::string_view kind, bool written);

// The course-choice book of the tables: courses in the order advanced then others, every
// student's entries encoded; a course chosen twice by one student is one choice.
CourseBook encodeChoices(const CourseImportTables& tables, const std::string& yearGroup);

// Reads the export and reports what it had to leave out; false (after "Selvox-Dateifehler!
// Abbruch!") when the file cannot be read, so that no half file is written.
bool readCourseChoices(ImportUi& ui, const std::vector<std::string>& kivoLines, const CourseImportRequest& request,
                       CourseBook& book);
// Asks the block numbers and writes the file ("Kurse gespeichert", "Wahlen gespeichert").
ImportOutcome writeCourseChoices(ImportUi& ui, CourseBook& book, const std::string& targetName);

// Both, for a request whose target is already known.
ImportOutcome ImportCourseChoices(ImportUi& ui, const std::vector<std::string>& kivoLines,
                                  const CourseImportRequest& request);

// The month of today's date (1-12).
int currentMonth();

// The name of the .BK written for the target as chosen (directories kept).
std::string courseFileTarget(const std::string& chosen);

}  // namespace quort
