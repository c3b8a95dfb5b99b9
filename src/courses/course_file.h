#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/course_records.h"

namespace quort {

// The course-choice file (.BK, "Kursdatei"), shared by the planner and the importer.
//
//   line 1      block count, course count, student count in print zones
//   per course  the six-character name, then one byte 32 + block for every block holding it
//   per student "1" (w) or "0" (m) and "Name;Vorname"; then a line of byte pairs
//               32 + course number, 32 + mark code
//   last line   the year group
//
// Course and choice lines are raw bytes: any byte from 0x21 up may occur in them, so
// they are never split at commas and never converted between code pages. Only the name
// lines and the year group are DOS text.

// What a read or a write had to leave out, one German line each (for one message).
using CourseFileNotes = std::vector<std::string>;

enum class CourseFileStatus {
  Ok,
  Unreadable,  // missing, a directory, a read error
  Damaged,     // header unusable or the file ends before its last line
};

// Numbers as old files write them: each with a leading blank, padded with blanks to the
// next multiple of 14 columns before the next one.
std::string printZones(const std::vector<long>& numbers);

// Parses a whole file. On Damaged the book is left as it was.
CourseFileStatus parseCourseFile(std::string_view bytes, CourseBook& book, CourseFileNotes& notes);
// The file's bytes. Choices of courses that do not exist are left out and noted.
std::string formatCourseFile(const CourseBook& book, CourseFileNotes& notes);

CourseFileStatus readCourseFile(const std::string& name, CourseBook& book, CourseFileNotes& notes);
// Written atomically: a failed write leaves the old file as it was.
bool writeCourseFile(const std::string& name, const CourseBook& book, CourseFileNotes& notes);

// The name with ".BK" appended unless it already ends in ".bk" (any case).
std::string withCourseFileExtension(const std::string& name);

// The notes as the text of one message.
std::string notesText(const std::string& heading, const CourseFileNotes& notes);

}  // namespace quort
