#include "shell/course_commands.h"

#include <functional>
#include <map>

#include "courses/course_blocking.h"
#include "courses/course_editing.h"
#include "courses/course_file.h"
#include "courses/course_printouts.h"
#include "data/codepage.h"
#include "data/file_access.h"
#include "shell/application.h"
#include "shell/batch_runner.h"
#include "workspace/dialogs.h"
#include "workspace/print_job.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string joinedLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// "Kurse importieren": the course-choice file goes into the editor, which opens on it.
void importCourses(Application& app) {
  Workspace& ws = app.workspace();
  const std::string name = FileChooser(ws, app.ui(), FileChooserRequest{"Kopplungen importieren", "R", "*.bk", ""});
  if (name.empty() || !LoadCourseBook(ws, app.ui(), name)) return;
  app.ui().openEditor(EditorRequest{EditorKind::Courses, 0, 0});
}

// "Kurse abgleichen": the editor's courses and students against another file's.
void compareCourses(Application& app) {
  Workspace& ws = app.workspace();
  Ui& ui = app.ui();
  if (ws.courses.courses.empty() && !LoadCourseBook(ws, ui, "")) return;
  const std::string name = FileChooser(ws, ui, FileChooserRequest{"Kurse abgleichen", "R", "*.bk", ""});
  if (name.empty()) return;
  CourseBook other;
  CourseFileNotes notes;
  if (readCourseFile(name, other, notes) != CourseFileStatus::Ok) {
    ui.message("Kursdatei " + name + " fehlerhaft!");
    return;
  }
  ui.showText("Kurse abgleichen: " + ws.courses.fileName + " / " + name,
              joinedLines(compareCourseBooks(ws.courses, other)));
}

int number(const std::string& text) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stoi(text);
}

std::vector<int> allStudents(const CourseBook& book) { return filterStudents(book, StudentFilter::All, 0); }

std::vector<int> courseNumbers(const CourseBook& book, const std::string& names) {
  std::vector<int> numbers;
  size_t start = 0;
  for (;;) {
    const size_t comma = names.find(',', start);
    const int course = findCourse(book, names.substr(start, comma == std::string::npos ? comma : comma - start));
    if (course != 0) numbers.push_back(course);
    if (comma == std::string::npos) return numbers;
    start = comma + 1;
  }
}

void printList(BatchRunner& runner, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) runner.printText("  " + line);
}

using CourseAction = std::function<bool(BatchRunner&, Workspace&, Ui&, const std::string&)>;

const std::map<std::string, CourseAction>& courseActions() {
  static const std::map<std::string, CourseAction> actions = {
      {"open", [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) { return LoadCourseBook(ws, ui, a); }},
      {"save", [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) { return SaveCourseBook(ws, ui, a); }},
      {"list",
       [](BatchRunner& r, Workspace& ws, Ui&, const std::string&) {
         r.printText("Jahrgang: " + ws.courses.yearGroup);
         for (CourseList list : {CourseList::Courses, CourseList::Blocks, CourseList::Students})
           printList(r, courseListLines(ws.courses, list));
         return true;
       }},
      {"add-student", [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) { return addStudent(ws, ui, a); }},
      {"add-course", [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) { return setCourse(ws, ui, 0, a); }},
      {"change-course",
       [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) {
         const auto [n, text] = firstWordAndRest(a);
         return number(n) >= 1 && number(n) <= ws.courses.nCourses() && setCourse(ws, ui, number(n), text);
       }},
      {"choices",
       [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) {
         const auto [n, text] = firstWordAndRest(a);
         return setChoices(ws, ui, number(n) - 1, text);
       }},
      {"delete-student",
       [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) { return deleteStudent(ws, ui, number(a) - 1); }},
      {"delete-course",
       [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) { return deleteCourse(ws, ui, number(a)); }},
      {"add-block", [](BatchRunner&, Workspace& ws, Ui& ui, const std::string&) { return addCourseBlock(ws, ui) > 0; }},
      {"delete-block",
       [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) { return deleteCourseBlock(ws, ui, number(a)); }},
      {"block-add",
       [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) {
         const auto [block, course] = firstWordAndRest(a);
         return addCourseToBlock(ws, ui, findCourse(ws.courses, course), number(block));
       }},
      {"block-set",
       [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) {
         const auto [block, text] = firstWordAndRest(a);
         return setBlockCourses(ws, ui, number(block), text);
       }},
      {"remove", [](BatchRunner&, Workspace& ws, Ui& ui,
                    const std::string& a) { return removeCourses(ws, ui, courseNumbers(ws.courses, a), true); }},
      {"replace",
       [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) {
         const auto [from, to] = firstWordAndRest(a);
         return replaceCourse(ws, ui, allStudents(ws.courses), findCourse(ws.courses, from),
                              findCourse(ws.courses, to));
       }},
      {"members",
       [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) { return importMembers(ws, ui, a) > 0; }},
      {"autoblock", [](BatchRunner&, Workspace& ws, Ui& ui, const std::string&) { return AutoBlockDialog(ws, ui); }},
      {"balance",
       [](BatchRunner&, Workspace& ws, Ui& ui, const std::string&) {
         BalanceCourses(ws, ui);
         return true;
       }},
      {"export", [](BatchRunner&, Workspace& ws, Ui& ui,
                    const std::string& a) { return PrintCourseLines(ws, ui, courseExportLines(ws.courses), a); }},
      {"print",
       [](BatchRunner&, Workspace& ws, Ui& ui, const std::string& a) {
         const CourseList list = a == "courses"  ? CourseList::Courses
                                 : a == "blocks" ? CourseList::Blocks
                                                 : CourseList::Students;
         return PrintCourseLines(ws, ui, courseListLines(ws.courses, list));
       }},
  };
  return actions;
}

bool coursesKeyword(BatchRunner& runner, const std::string& argument) {
  const auto [action, rest] = firstWordAndRest(argument);
  const auto found = courseActions().find(action);
  if (found == courseActions().end()) {
    runner.fail("courses: unbekannt: " + argument);
    return false;
  }
  Workspace& ws = runner.app().workspace();
  ws.printing.failed = false;
  if (!found->second(runner, ws, runner.ui(), utf8ToCp1252(rest))) {
    runner.fail("courses " + action + ": nicht ausgef\xC3\xBChrt");
    return false;
  }
  return !ws.printing.failed;
}

}  // namespace

bool runCourseMenuItem(Application& app, int id) {
  Workspace& ws = app.workspace();
  switch (id) {
    case 145:
    case 153:
      app.ui().openEditor(EditorRequest{EditorKind::Courses, 0, 0});
      return true;
    case 137:
      if (ws.base.loaded()) importCourses(app);
      return true;
    case 146:
      if (ws.base.loaded()) compareCourses(app);
      return true;
    case 138:
      if (ws.base.loaded()) StudentPlansDialog(ws, app.ui());
      return true;
    default:
      return false;
  }
}

void addCourseKeywords(BatchRunner& runner) { runner.addKeyword("courses", coursesKeyword); }

}  // namespace quort
