#pragma once

#include <string>
#include <vector>

#include "data/course_records.h"

namespace quort {

struct Workspace;
class Ui;

inline constexpr const char* kChoiceLegend = "(* LK, + Klausur, # 3.Abifach, = 4.Abifach)";
inline constexpr const char* kStudentPlansTitle = "QUORT-Plan - Sch\xFClerpl\xE4ne";
inline constexpr const char* kStudentPlansTextFile = "schueler.txt";

// One student's plan: the name, then per block the course the student has there, then
// the choices in no block.
std::vector<std::string> studentPlanLines(const CourseBook& book);

// What "Drucken" of the course choice editor prints for the list the user works in.
enum class CourseList { Students, Courses, Blocks };
std::vector<std::string> courseListLines(const CourseBook& book, CourseList list);

// "Extrahieren" ("Kursexport"): per course its students, for one year group.
std::vector<std::string> courseExportLines(const CourseBook& book);

// "Kurse abgleichen": what differs between the editor's book and another file's.
std::vector<std::string> compareCourseBooks(const CourseBook& mine, const CourseBook& other);

// Prints lines (with textFile: writes them there as DOS text); false after a failure.
bool PrintCourseLines(Workspace& ws, Ui& ui, const std::vector<std::string>& lines, const std::string& textFile = {});

// The dialog "QUORT-Plan - Schülerpläne": a .BK file and "Stufe:" (a year group or
// "Alle"), then "Drucken", "Konfiguration" (printer set-up, then printing), "Speichern"
// (schueler.txt) or "Ende".
void StudentPlansDialog(Workspace& ws, Ui& ui);

}  // namespace quort
