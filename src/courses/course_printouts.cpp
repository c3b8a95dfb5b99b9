#include "courses/course_printouts.h"

#include <algorithm>
#include <set>

#include "courses/course_editing.h"
#include "courses/course_file.h"
#include "workspace/dialogs.h"
#include "workspace/print_job.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr int kCourseListWidth = 78;

std::string rightAlignedCount(int number, size_t width) {
  std::string text = std::to_string(number);
  return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string choiceWithMark(const CourseBook& book, const CourseChoice& choice) {
  std::string text = book.course(choice.course).name;
  text += markCharacter(choice.markCode);
  return text;
}

std::vector<std::string> studentLines(const CourseBook& book) {
  std::vector<std::string> lines = {"Sch\xFCler - Jahrgang " + book.yearGroup + "  " + kChoiceLegend, ""};
  for (const Student& student : book.students) lines.push_back(studentItem(book, student));
  return lines;
}

std::vector<std::string> courseLines(const CourseBook& book) {
  std::vector<std::string> lines = {
      "Stufe Kurs   Sch\xFCler Bl\xF6"
      "cke",
      ""};
  for (int c = 1; c <= book.nCourses(); ++c) {
    std::string blocks;
    for (int b : book.blocksOf(c)) blocks += (blocks.empty() ? "" : ",") + std::to_string(b);
    lines.push_back(courseItem(book, c) + rightAlignedCount(book.sizeOf(c), 6) + "   " + blocks);
  }
  return lines;
}

std::vector<std::string> blockLines(const CourseBook& book) {
  std::vector<std::string> lines = {
      "[Kursbl\xF6"
      "cke - Klasse: " +
          book.yearGroup + " ]",
      ""};
  for (int b = 1; b <= book.nBlocks(); ++b) lines.push_back(rightAlignedCount(b, 3) + ": " + blockItem(book, b));
  return lines;
}

bool bookHasYear(const CourseBook& book, const std::string& year) {
  return year.empty() || year == "Alle" || year == book.yearGroup;
}

}  // namespace

std::vector<std::string> studentPlanLines(const CourseBook& book) {
  std::vector<std::string> lines;
  for (const Student& student : book.students) {
    lines.push_back("Jahrgang " + book.yearGroup + "   " + student.name + ";" + student.sex);
    std::set<int> blocked;
    for (int b = 1; b <= book.nBlocks(); ++b) {
      std::string courses;
      for (const CourseChoice& choice : student.choices) {
        const auto& members = book.block(b);
        if (choice.course < 1 || choice.course > book.nCourses()) continue;
        if (std::find(members.begin(), members.end(), choice.course) == members.end()) continue;
        courses += (courses.empty() ? "" : "  ") + choiceWithMark(book, choice);
        blocked.insert(choice.course);
      }
      if (!courses.empty()) lines.push_back("  Block " + rightAlignedCount(b, 3) + ": " + courses);
    }
    std::string rest;
    for (const CourseChoice& choice : student.choices) {
      if (choice.course >= 1 && choice.course <= book.nCourses() && blocked.count(choice.course) == 0)
        rest += (rest.empty() ? "" : "  ") + choiceWithMark(book, choice);
    }
    if (!rest.empty()) lines.push_back("  ohne Block: " + rest);
    lines.push_back("");
  }
  if (!lines.empty()) lines.push_back(kChoiceLegend);
  return lines;
}

std::vector<std::string> courseListLines(const CourseBook& book, CourseList list) {
  switch (list) {
    case CourseList::Students:
      return studentLines(book);
    case CourseList::Courses:
      return courseLines(book);
    case CourseList::Blocks:
      return blockLines(book);
  }
  return {};
}

std::vector<std::string> courseExportLines(const CourseBook& book) {
  std::vector<std::string> lines = {"Kursexport - Jahrgangstufe " + book.yearGroup, ""};
  for (int c = 1; c <= book.nCourses(); ++c) {
    lines.push_back(courseItem(book, c) + rightAlignedCount(book.sizeOf(c), 6));
    for (const Student& student : book.students) {
      for (const CourseChoice& choice : student.choices) {
        if (choice.course == c) lines.push_back(std::string("    ") + markCharacter(choice.markCode) + student.name);
      }
    }
  }
  return lines;
}

std::vector<std::string> compareCourseBooks(const CourseBook& mine, const CourseBook& other) {
  std::vector<std::string> lines;
  for (const Course& course : mine.courses) {
    if (findCourse(other, course.name) == 0) lines.push_back("Kurs nur hier: " + course.name);
  }
  for (const Course& course : other.courses) {
    if (findCourse(mine, course.name) == 0) lines.push_back("Kurs nur dort: " + course.name);
  }
  for (const Student& student : mine.students) {
    const auto found = std::find_if(other.students.begin(), other.students.end(),
                                    [&](const Student& s) { return s.name == student.name; });
    if (found == other.students.end()) {
      lines.push_back("Sch\xFCler nur hier: " + student.name);
    } else if (choicesText(mine, student) != choicesText(other, *found)) {
      lines.push_back("Wahlen verschieden: " + student.name);
      lines.push_back("  hier: " + choicesText(mine, student));
      lines.push_back("  dort: " + choicesText(other, *found));
    }
  }
  for (const Student& student : other.students) {
    const bool known = std::any_of(mine.students.begin(), mine.students.end(),
                                   [&](const Student& s) { return s.name == student.name; });
    if (!known) lines.push_back("Sch\xFCler nur dort: " + student.name);
  }
  if (lines.empty()) lines.push_back("Keine Unterschiede.");
  return lines;
}

bool PrintCourseLines(Workspace& ws, Ui& ui, const std::vector<std::string>& lines, const std::string& textFile) {
  return PrintLines(ws, ui, lines, kCourseListWidth, textFile);
}

void StudentPlansDialog(Workspace& ws, Ui& ui) {
  const std::string savedTopic = ws.shell.helpTopic;
  ws.shell.helpTopic = "TAVIN.hlp~stavin";
  for (;;) {
    const ChoiceOutcome outcome = ChoiceBox(
        ws, ui, "Sch\xFClerpl\xE4ne:",
        "$Kursdatei:" + ws.courses.fileName + "|$Stufe:Alle|Drucken|Konfiguration|Speichern|Ende", kStudentPlansTitle);
    const int button = outcome.choiceResult - 2;
    if (button < 1 || button > 3) break;
    const size_t bar = outcome.choiceValues.find('|');
    const std::string file = outcome.choiceValues.substr(0, bar);
    const std::string rest = bar == std::string::npos ? std::string() : outcome.choiceValues.substr(bar + 1);
    const std::string year = rest.substr(0, rest.find('|'));
    if (file != ws.courses.fileName || ws.courses.courses.empty()) {
      if (!LoadCourseBook(ws, ui, file)) continue;
    }
    if (!bookHasYear(ws.courses, year)) {
      ui.message("Keine Daten ausgew\xE4hlt!");
      continue;
    }
    const std::vector<std::string> lines = studentPlanLines(ws.courses);
    if (button == 1) PrintCourseLines(ws, ui, lines);
    if (button == 2) PrinterSetup(ws, ui, "Sch\xFClerpl\xE4ne", [&] { PrintCourseLines(ws, ui, lines); });
    if (button == 3 && PrintCourseLines(ws, ui, lines, kStudentPlansTextFile)) {
      ui.message(std::string(kStudentPlansTextFile) + " geschrieben.", MessageStyle{Icon::Information});
    }
    break;
  }
  ws.shell.helpTopic = savedTopic;
}

}  // namespace quort
