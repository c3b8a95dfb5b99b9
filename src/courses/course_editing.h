#pragma once

#include <string>
#include <vector>

#include "data/course_records.h"

namespace quort {

struct Workspace;
class Ui;

// The operations of the course choice editor on the workspace's course book. Each one
// asks its questions and reports through the Ui; false when nothing changed.

// The list item of a course: year group padded to three, the name, the teacher.
std::string courseItem(const CourseBook& book, int course);
// The list item of a student: "Name;Vorname;m" padded to 50, a blank, the choices
// (mark and name, comma-separated; ",???" for a mark the file gave without meaning).
std::string studentItem(const CourseBook& book, const Student& student);
// The choices alone, as studentItem shows them.
std::string choicesText(const CourseBook& book, const Student& student);
// The block's courses, comma-separated.
std::string blockItem(const CourseBook& book, int block);
// The course with that name (blanks at the end do not count); 0 when there is none.
int findCourse(const CourseBook& book, const std::string& name);

// "Einlesen": reads the .BK (name empty: the file chooser) and asks "Jahrgang".
bool LoadCourseBook(Workspace& ws, Ui& ui, std::string name);
// "Speichern": writes the .BK (".BK" appended when the name has no such extension).
bool SaveCourseBook(Workspace& ws, Ui& ui, std::string name);

// "Neu" for students: "Name,Vorname,m/w".
bool addStudent(Workspace& ws, Ui& ui, const std::string& text);
// "Neu" and "Ändern" for courses: "Stufe Kurs Lehrer". course 0 adds.
bool setCourse(Workspace& ws, Ui& ui, int course, const std::string& text);
// "Übernehmen" for a student: the choices as studentItem shows them.
bool setChoices(Workspace& ws, Ui& ui, int student, const std::string& text);
// "Löschen" after " komplett löschen?".
bool deleteStudent(Workspace& ws, Ui& ui, int student);
bool deleteCourse(Workspace& ws, Ui& ui, int course);

// "Neu" for blocks: an empty block at the end; its number, 0 beyond the capacity.
int addCourseBlock(Workspace& ws, Ui& ui);
// "Löschen" for blocks after "Block löschen?".
bool deleteCourseBlock(Workspace& ws, Ui& ui, int block);
// "Hinzufügen": the course into the block; students who would have two courses of the
// block are listed and "Überschneidungen:" ... " einfügen?" asked.
bool addCourseToBlock(Workspace& ws, Ui& ui, int course, int block);
// "Übernehmen" for a block: its courses as blockItem shows them; overlapping courses
// ask "ohne Kontrolle übernehmen?".
bool setBlockCourses(Workspace& ws, Ui& ui, int block, const std::string& text);

// "Entfernen": the courses leave the book after " entfernen und umverteilen?"; with
// redistribute their students move to a parallel course that clashes with none of their
// others (students without one lose the choice, which is reported).
bool removeCourses(Workspace& ws, Ui& ui, std::vector<int> courses, bool redistribute);
// "Tauschen": the displayed students' choice of oldCourse becomes newCourse.
bool replaceCourse(Workspace& ws, Ui& ui, const std::vector<int>& students, int oldCourse, int newCourse);

// Member file import ("Mitgliederdatei"): lines "Name;Vorname;m|w,KURS,+KURS,...".
// Faulty lines are reported one by one and left out. The number of students taken.
int importMembers(Workspace& ws, Ui& ui, const std::string& fileName);

// The display filters of the student list.
enum class StudentFilter { All, WithCourse, WithCourseWritten, WithoutCourse, WithoutCourseWritten };
// 0-based indexes of the students the filter shows.
std::vector<int> filterStudents(const CourseBook& book, StudentFilter filter, int course);
StudentFilter filterOfButton(const std::string& caption);

// Core steps without questions, shared with the automatic blocking.
void eraseCourse(CourseBook& book, int course);
// The courses parallel to course: same subject, kind and mark (first four characters).
std::vector<int> parallelCourses(const CourseBook& book, int course);
// Whether the student has a course other than except in a block that holds course.
bool clashesInBlocksOf(const CourseBook& book, const Student& student, int course, int except);
// Moves the student's choice of from to a parallel course without clash; false when none.
bool moveToParallel(CourseBook& book, Student& student, int from);

}  // namespace quort
