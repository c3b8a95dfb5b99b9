#include "courses/course_editing.h"

#include <algorithm>

#include "courses/course_file.h"
#include "data/codepage.h"
#include "data/file_access.h"
#include "workspace/dialogs.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr size_t kStudentNameWidth = 50;
constexpr const char* kUnusable = "Keine zul\xE4ssigen Daten!";

std::string trimmedCourseText(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> splitList(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

std::string paddedYear(const std::string& year) {
  std::string padded = year;
  if (padded.size() < 3) padded.resize(3, ' ');
  return padded;
}

// Bytes that would break a line of the file or the fields the old editor read.
bool usableText(const std::string& text) {
  return std::none_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0xFF || c == ',' || c == '"' || c == ';';
  });
}

int studentIndexByName(const CourseBook& book, const std::string& name) {
  for (size_t i = 0; i < book.students.size(); ++i) {
    if (book.students[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

// Parses "MARK NAME,..." against the course list; false with the faulty entry in bad.
bool parseChoices(const CourseBook& book, const std::string& text, std::vector<CourseChoice>& choices,
                  std::string& bad) {
  choices.clear();
  for (const std::string& part : splitList(text, ',')) {
    std::string entry = trimmedCourseText(part);
    if (entry.empty()) continue;
    int mark = kPlainMark;
    if (std::string("+*#=").find(entry[0]) != std::string::npos) {
      mark = markCodeOf(entry[0]);
      entry = trimmedCourseText(entry.substr(1));
    } else if (entry.size() > 1 && std::string("+#=").find(entry.back()) != std::string::npos) {
      mark = markCodeOf(entry.back());
      entry = trimmedCourseText(entry.substr(0, entry.size() - 1));
    }
    const int course = findCourse(book, entry);
    if (course == 0) {
      bad = entry;
      return false;
    }
    const bool twice =
        std::any_of(choices.begin(), choices.end(), [&](const CourseChoice& c) { return c.course == course; });
    if (!twice) choices.push_back({course, mark});
  }
  return true;
}

// The names of students who have a course of the block besides course.
std::vector<std::string> overlapsInBlock(const CourseBook& book, int course, const std::vector<int>& members) {
  std::vector<std::string> names;
  for (const Student& student : book.students) {
    if (!student.chose(course)) continue;
    for (int member : members) {
      if (member != course && student.chose(member)) {
        names.push_back(student.name);
        break;
      }
    }
  }
  return names;
}

std::string joinedNames(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size() && i < 20; ++i) text += "\r" + names[i];
  if (names.size() > 20) text += "\r...";
  return text;
}

}  // namespace

std::string courseItem(const CourseBook& book, int course) {
  const Course& entry = book.course(course);
  std::string item = paddedYear(book.yearGroup) + entry.name;
  if (!entry.teacher.empty()) item += " " + entry.teacher;
  return item;
}

std::string choicesText(const CourseBook& book, const Student& student) {
  std::string text;
  for (const CourseChoice& choice : student.choices) {
    if (!text.empty()) text += ',';
    if (choice.course < 1 || choice.course > book.nCourses()) continue;
    const char mark = markCharacter(choice.markCode);
    if (mark == '?') {
      text += trimmedCourseText(book.course(choice.course).name) + ",???";
      continue;
    }
    if (mark != ' ') text += mark;
    text += trimmedCourseText(book.course(choice.course).name);
  }
  return text;
}

std::string studentItem(const CourseBook& book, const Student& student) {
  std::string name = student.name + ";" + student.sex;
  name.resize(std::max(kStudentNameWidth, name.size()), ' ');
  return name + " " + choicesText(book, student);
}

std::string blockItem(const CourseBook& book, int block) {
  std::string text;
  for (int course : book.block(block)) {
    if (!text.empty()) text += ',';
    text += trimmedCourseText(book.course(course).name);
  }
  return text;
}

int findCourse(const CourseBook& book, const std::string& name) {
  const std::string wanted = trimmedCourseText(name);
  for (int c = 1; c <= book.nCourses(); ++c) {
    if (trimmedCourseText(book.course(c).name) == wanted) return c;
  }
  return 0;
}

bool LoadCourseBook(Workspace& ws, Ui& ui, std::string name) {
  if (name.empty()) name = FileChooser(ws, ui, FileChooserRequest{"Kursdatei", "R", "*.bk", ""});
  if (name.empty() || name.find('.') == std::string::npos) return false;
  CourseBook book;
  CourseFileNotes notes;
  switch (readCourseFile(name, book, notes)) {
    case CourseFileStatus::Unreadable:
      ui.message("Lesefehler in " + name, MessageStyle{Icon::Exclamation});
      return false;
    case CourseFileStatus::Damaged:
      ui.message("Kursdatei " + name + " fehlerhaft!", MessageStyle{Icon::Exclamation});
      return false;
    case CourseFileStatus::Ok:
      break;
  }
  if (!notes.empty())
    ui.message(notesText(name + ": \xFC"
                                "bergangen",
                         notes),
               MessageStyle{Icon::Information});
  std::string year = book.yearGroup;
  if (ui.textPrompt("Jahrgang", year) && !trimmedCourseText(year).empty()) book.yearGroup = trimmedCourseText(year);
  book.fileName = name;
  ws.courses = std::move(book);
  return true;
}

bool SaveCourseBook(Workspace& ws, Ui& ui, std::string name) {
  if (name.empty()) name = ws.courses.fileName;
  if (name.empty()) name = FileChooser(ws, ui, FileChooserRequest{"Kursdatei", "", "*.bk", ""});
  if (name.empty()) return false;
  name = withCourseFileExtension(name);
  CourseFileNotes notes;
  if (!writeCourseFile(name, ws.courses, notes)) {
    ui.message("Dateifehler " + name + "!", MessageStyle{Icon::Stop});
    return false;
  }
  if (!notes.empty()) ui.message(notesText(name + ": nicht geschrieben", notes), MessageStyle{Icon::Information});
  ws.courses.fileName = name;
  return true;
}

bool addStudent(Workspace& ws, Ui& ui, const std::string& text) {
  const std::vector<std::string> parts = splitList(text, ',');
  const std::string surname = parts.empty() ? std::string() : trimmedCourseText(parts[0]);
  const std::string first = parts.size() > 1 ? trimmedCourseText(parts[1]) : std::string();
  const std::string sex = parts.size() > 2 ? trimmedCourseText(parts[2]) : std::string();
  const std::string name = surname + ";" + first;
  if (parts.size() != 3 || surname.empty() || !usableText(surname) || !usableText(first) ||
      (sex != "m" && sex != "w") || name.size() > CourseBook::kMaxNameLength) {
    ui.message(kUnusable);
    return false;
  }
  if (studentIndexByName(ws.courses, name) >= 0) {
    ui.message(name + " bereits vorhanden!");
    return false;
  }
  ws.courses.students.push_back(Student{name, sex[0], {}});
  return true;
}

bool setCourse(Workspace& ws, Ui& ui, int course, const std::string& text) {
  CourseBook& book = ws.courses;
  const std::string input = trimmedCourseText(text);
  const size_t blank = input.find(' ');
  const std::string year = input.substr(0, blank);
  const std::string rest = blank == std::string::npos ? std::string() : trimmedCourseText(input.substr(blank));
  std::string name = rest.substr(0, kCourseNameWidth);
  const std::string teacher =
      rest.size() > kCourseNameWidth ? trimmedCourseText(rest.substr(kCourseNameWidth)) : std::string();
  const bool yearFits = book.yearGroup.empty() || year == book.yearGroup;
  if (year.empty() || !yearFits || trimmedCourseText(name).empty() || !usableText(name) ||
      std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) > 0x7E; })) {
    ui.message(kUnusable);
    return false;
  }
  name.resize(kCourseNameWidth, ' ');
  const int existing = findCourse(book, name);
  if (existing != 0 && existing != course) {
    ui.message(trimmedCourseText(name) + " bereits vorhanden!");
    return false;
  }
  if (course == 0 && book.nCourses() >= CourseBook::kMaxCourses) {
    ui.message(
        "Zu viele Eintr\xE4ge: h\xF6"
        "chstens 223 Kurse!");
    return false;
  }
  if (book.yearGroup.empty()) book.yearGroup = year;
  if (course == 0) {
    book.courses.push_back({name, teacher});
  } else {
    book.courses[static_cast<size_t>(course - 1)] = {name, teacher};
  }
  return true;
}

bool setChoices(Workspace& ws, Ui& ui, int student, const std::string& text) {
  if (student < 0 || student >= static_cast<int>(ws.courses.students.size())) {
    ui.message("Keinen Sch\xFCler gew\xE4hlt!");
    return false;
  }
  std::vector<CourseChoice> choices;
  std::string bad;
  if (!parseChoices(ws.courses, text, choices, bad)) {
    ui.message(bad + " kein g\xFCltiger Kurs!");
    return false;
  }
  ws.courses.students[static_cast<size_t>(student)].choices = std::move(choices);
  return true;
}

bool deleteStudent(Workspace& ws, Ui& ui, int student) {
  if (student < 0 || student >= static_cast<int>(ws.courses.students.size())) {
    ui.message("Keinen Sch\xFCler gew\xE4hlt!");
    return false;
  }
  const auto at = ws.courses.students.begin() + student;
  if (!ui.askYesNo(at->name + " komplett l\xF6schen?", MessageStyle{Icon::Question})) return false;
  ws.courses.students.erase(at);
  return true;
}

void eraseCourse(CourseBook& book, int course) {
  for (Student& student : book.students) {
    std::erase_if(student.choices, [&](const CourseChoice& c) { return c.course == course; });
    for (CourseChoice& choice : student.choices) {
      if (choice.course > course) --choice.course;
    }
  }
  for (std::vector<int>& members : book.blocks) {
    std::erase(members, course);
    for (int& member : members) {
      if (member > course) --member;
    }
  }
  book.courses.erase(book.courses.begin() + (course - 1));
}

bool deleteCourse(Workspace& ws, Ui& ui, int course) {
  if (course < 1 || course > ws.courses.nCourses()) return false;
  if (!ui.askYesNo(trimmedCourseText(ws.courses.course(course).name) + " komplett l\xF6schen?",
                   MessageStyle{Icon::Question}))
    return false;
  eraseCourse(ws.courses, course);
  return true;
}

int addCourseBlock(Workspace& ws, Ui& ui) {
  if (ws.courses.nBlocks() >= CourseBook::kMaxBlocks) {
    ui.message(
        "Zu viele Eintr\xE4ge: h\xF6"
        "chstens 222 Bl\xF6"
        "cke!");
    return 0;
  }
  ws.courses.blocks.emplace_back();
  return ws.courses.nBlocks();
}

bool deleteCourseBlock(Workspace& ws, Ui& ui, int block) {
  if (block < 1 || block > ws.courses.nBlocks()) return false;
  if (!ui.askYesNo("Block l\xF6schen?", MessageStyle{Icon::Question})) return false;
  ws.courses.blocks.erase(ws.courses.blocks.begin() + (block - 1));
  return true;
}

bool addCourseToBlock(Workspace& ws, Ui& ui, int course, int block) {
  CourseBook& book = ws.courses;
  if (course < 1 || course > book.nCourses() || block < 1 || block > book.nBlocks()) return false;
  std::vector<int>& members = book.block(block);
  if (std::find(members.begin(), members.end(), course) != members.end()) return false;
  const std::vector<std::string> names = overlapsInBlock(book, course, members);
  if (!names.empty() &&
      !ui.askYesNo("\xDC"
                   "berschneidungen:" +
                       joinedNames(names) + "\r\r" + trimmedCourseText(book.course(course).name) + " einf\xFCgen?",
                   MessageStyle{Icon::Question}))
    return false;
  members.push_back(course);
  return true;
}

bool setBlockCourses(Workspace& ws, Ui& ui, int block, const std::string& text) {
  CourseBook& book = ws.courses;
  if (block < 1 || block > book.nBlocks()) return false;
  std::vector<int> members;
  for (const std::string& part : splitList(text, ',')) {
    if (trimmedCourseText(part).empty()) continue;
    const int course = findCourse(book, part);
    if (course == 0) {
      ui.message(trimmedCourseText(part) + " kein g\xFCltiger Kurs!");
      return false;
    }
    if (std::find(members.begin(), members.end(), course) == members.end()) members.push_back(course);
  }
  const bool overlapping = std::any_of(members.begin(), members.end(),
                                       [&](int course) { return !overlapsInBlock(book, course, members).empty(); });
  if (overlapping && !ui.askYesNo("ohne Kontrolle \xFC"
                                  "bernehmen?",
                                  MessageStyle{Icon::Question}))
    return false;
  book.block(block) = std::move(members);
  return true;
}

std::vector<int> parallelCourses(const CourseBook& book, int course) {
  std::vector<int> result;
  const std::string key = book.course(course).name.substr(0, 4);
  for (int c = 1; c <= book.nCourses(); ++c) {
    if (c != course && book.course(c).name.substr(0, 4) == key) result.push_back(c);
  }
  return result;
}

bool clashesInBlocksOf(const CourseBook& book, const Student& student, int course, int except) {
  for (int block : book.blocksOf(course)) {
    for (int member : book.block(block)) {
      if (member != course && member != except && student.chose(member)) return true;
    }
  }
  return false;
}

bool moveToParallel(CourseBook& book, Student& student, int from) {
  for (int target : parallelCourses(book, from)) {
    if (student.chose(target) || clashesInBlocksOf(book, student, target, from)) continue;
    for (CourseChoice& choice : student.choices) {
      if (choice.course == from) choice.course = target;
    }
    return true;
  }
  return false;
}

bool removeCourses(Workspace& ws, Ui& ui, std::vector<int> courses, bool redistribute) {
  CourseBook& book = ws.courses;
  std::erase_if(courses, [&](int c) { return c < 1 || c > book.nCourses(); });
  if (courses.empty()) return false;
  std::string names;
  for (int c : courses) names += (names.empty() ? "" : ",") + trimmedCourseText(book.course(c).name);
  if (!ui.askYesNo(names + (redistribute ? " entfernen und umverteilen?" : " entfernen?"),
                   MessageStyle{Icon::Question}))
    return false;
  std::vector<std::string> stranded;
  std::sort(courses.rbegin(), courses.rend());
  for (int course : courses) {
    if (redistribute) {
      for (Student& student : book.students) {
        if (student.chose(course) && !moveToParallel(book, student, course)) stranded.push_back(student.name);
      }
    }
    eraseCourse(book, course);
  }
  if (redistribute && !stranded.empty()) {
    ui.message("Nicht umverteilt:" + joinedNames(stranded), MessageStyle{Icon::Information});
  }
  return true;
}

bool replaceCourse(Workspace& ws, Ui& ui, const std::vector<int>& students, int oldCourse, int newCourse) {
  CourseBook& book = ws.courses;
  if (oldCourse < 1 || oldCourse > book.nCourses() || newCourse < 1 || newCourse > book.nCourses() ||
      oldCourse == newCourse)
    return false;
  if (!ui.askYesNo("F\xFCr alle angezeigten Sch\xFCler " + trimmedCourseText(book.course(oldCourse).name) +
                       " ersetzen durch " + trimmedCourseText(book.course(newCourse).name) + " ?",
                   MessageStyle{Icon::Question}))
    return false;
  for (int index : students) {
    if (index < 0 || index >= static_cast<int>(book.students.size())) continue;
    Student& student = book.students[static_cast<size_t>(index)];
    if (student.chose(newCourse)) continue;
    for (CourseChoice& choice : student.choices) {
      if (choice.course == oldCourse) choice.course = newCourse;
    }
  }
  return true;
}

int importMembers(Workspace& ws, Ui& ui, const std::string& fileName) {
  std::string bytes;
  if (!readWholeFile(fileName, bytes)) {
    ui.message("Lesefehler in " + fileName, MessageStyle{Icon::Exclamation});
    return 0;
  }
  CourseBook& book = ws.courses;
  int taken = 0;
  std::string text = ToWindowsText(bytes.substr(0, bytes.find('\x1A')));
  std::replace(text.begin(), text.end(), '\n', '\r');
  for (std::string line : splitList(text, '\r')) {
    if (trimmedCourseText(line).empty()) continue;
    std::vector<std::string> parts = splitList(line, ',');
    // A leading year group names the year the line belongs to.
    const std::string lead = trimmedCourseText(parts[0]);
    if (!lead.empty() && lead.find_first_not_of("0123456789") == std::string::npos && parts.size() > 1) {
      if (trimmedCourseText(parts[0]) != book.yearGroup) {
        ui.message(line + " keine g\xFCltige Klasse!");
        continue;
      }
      parts.erase(parts.begin());
    }
    const std::vector<std::string> name = splitList(parts[0], ';');
    const std::string sex = name.size() == 3 ? trimmedCourseText(name[2]) : std::string();
    const std::string studentName =
        name.size() == 3 ? trimmedCourseText(name[0]) + ";" + trimmedCourseText(name[1]) : std::string();
    if (name.size() != 3 || trimmedCourseText(name[0]).empty() || (sex != "m" && sex != "w") ||
        studentName.size() > CourseBook::kMaxNameLength ||
        !usableText(trimmedCourseText(name[0]) + trimmedCourseText(name[1]))) {
      ui.message(line + " entspricht nicht  Name;Vorname;m|w !");
      continue;
    }
    std::string choicesPart;
    for (size_t i = 1; i < parts.size(); ++i) choicesPart += (i > 1 ? "," : "") + parts[i];
    std::vector<CourseChoice> choices;
    std::string bad;
    if (!parseChoices(book, choicesPart, choices, bad)) {
      ui.message(line + " kein g\xFCltiger Kurs!");
      continue;
    }
    const int existing = studentIndexByName(book, studentName);
    if (existing >= 0) {
      book.students[static_cast<size_t>(existing)].choices = std::move(choices);
    } else {
      book.students.push_back(Student{studentName, sex[0], std::move(choices)});
    }
    ++taken;
  }
  return taken;
}

std::vector<int> filterStudents(const CourseBook& book, StudentFilter filter, int course) {
  std::vector<int> shown;
  for (size_t i = 0; i < book.students.size(); ++i) {
    const Student& student = book.students[i];
    bool chose = false;
    bool written = false;
    for (const CourseChoice& choice : student.choices) {
      if (choice.course != course) continue;
      chose = true;
      written = choice.markCode >= 2 && choice.markCode <= 5;
    }
    bool show = true;
    switch (filter) {
      case StudentFilter::All:
        break;
      case StudentFilter::WithCourse:
        show = chose;
        break;
      case StudentFilter::WithCourseWritten:
        show = chose && written;
        break;
      case StudentFilter::WithoutCourse:
        show = !chose;
        break;
      case StudentFilter::WithoutCourseWritten:
        show = !(chose && written);
        break;
    }
    if (show) shown.push_back(static_cast<int>(i));
  }
  return shown;
}

StudentFilter filterOfButton(const std::string& caption) {
  if (caption == "*") return StudentFilter::WithCourse;
  if (caption == "*s") return StudentFilter::WithCourseWritten;
  if (caption == "/") return StudentFilter::WithoutCourse;
  if (caption == "/s") return StudentFilter::WithoutCourseWritten;
  return StudentFilter::All;
}

}  // namespace quort
