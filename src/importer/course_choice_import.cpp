#include "importer/course_choice_import.h"

#include <algorithm>
#include <chrono>

#include "courses/course_file.h"
#include "data/file_access.h"
#include "importer/import_text.h"
#include "importer/import_ui.h"
#include "importer/untis_file.h"

namespace quort {

namespace {

constexpr size_t kFieldCount = 9;
constexpr size_t kShownProblems = 8;

std::vector<std::string> splitAt(std::string_view text, char separator, size_t maxParts) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (parts.size() + 1 < maxParts) {
    const size_t end = text.find(separator, start);
    if (end == std::string_view::npos) break;
    parts.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  parts.emplace_back(text.substr(std::min(start, text.size())));
  return parts;
}

std::string courseYearGroup(const std::string& group) {
  if (group == "EF") return "10";
  if (group == "Q1") return "11";
  if (group == "Q2") return "12";
  return group;
}

// The first KIVO.INI line whose source code (characters 4-5) is the subject; nullptr when none.
const std::string* kivoLineFor(const std::vector<std::string>& kivoLines, const std::string& subject) {
  for (const std::string& line : kivoLines) {
    if (line.size() >= 4 && line.substr(3, 2) == subject) return &line;
  }
  return nullptr;
}

// Subject code, "1" and the written mark; then the kind letter at 3, "*" at 4 for an
// advanced course, the course number behind.
std::string courseNameOf(const std::vector<std::string>& kivoLines, const std::vector<std::string>& parts,
                         bool written) {
  const std::string& subject = parts[0];
  const std::string& kind = parts[2];
  std::string name;
  if (const std::string* kivo = kivoLineFor(kivoLines, subject)) {
    name = kivo->substr(0, 2) + "1" + ((written && kivo->size() > 2 && (*kivo)[2] == '+') ? "+" : " ");
    name.resize(4, ' ');
  } else {
    name = (subject + "__").substr(0, 2) + "1 ";
  }
  if (!kind.empty()) name[2] = kind[0];
  if (kind.starts_with("LK")) name[3] = '*';
  return name + parts[3];
}

std::string lineLabel(size_t lineNumber) { return "Zeile " + std::to_string(lineNumber) + ": "; }

void addUnique(std::vector<std::string>& table, size_t capacity, const std::string& name,
               std::vector<std::string>& problems) {
  if (std::find(table.begin(), table.end(), name) != table.end()) return;
  if (table.size() >= capacity) {
    const std::string problem = "Kurs " + name +
                                " nicht \xFC"
                                "bernommen: Kurstabelle voll";
    if (std::find(problems.begin(), problems.end(), problem) == problems.end()) problems.push_back(problem);
    return;
  }
  table.push_back(name);
}

CourseImportTables::StudentEntry* studentFor(CourseImportTables& tables, const std::string& key) {
  for (auto& student : tables.students) {
    if (student.key == key) return &student;
  }
  if (tables.students.size() >= CourseImportTables::kStudentCapacity) {
    tables.problems.push_back("Sch\xFCler " + key.substr(1) +
                              " nicht \xFC"
                              "bernommen: Sch\xFClertabelle voll");
    return nullptr;
  }
  tables.students.push_back({key, {}});
  return &tables.students.back();
}

// The mark code of an entry: each of "+*#=" it contains replaces what an earlier one gave.
int entryMarkCode(const std::string& entry) {
  int code = 0;
  for (int m = 1; m <= 4; ++m) {
    if (entry.find("+*#="[m - 1]) != std::string::npos) code = m;
  }
  return code;
}

int blockAnswer(ImportUi& ui, const std::string& courseName, const std::string& previous) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int answer = leadingNumber(ui.ValuePrompt("Blocknummer von " + courseName, previous));
    if (answer <= CourseBook::kMaxBlocks) return answer;
    ui.ShowMessage(
        "Blocknummer \xFC"
        "ber " +
            std::to_string(CourseBook::kMaxBlocks) + "!",
        2);
  }
  return 1;
}

// Asks a block for every course until one is answered with 0; that course and every
// later one go into block 1.
void askBlocks(ImportUi& ui, CourseBook& book) {
  std::string previous = "0";
  bool asking = true;
  for (int c = 1; c <= book.nCourses(); ++c) {
    int block = 1;
    if (asking) {
      const int answer = blockAnswer(ui, book.course(c).name, previous);
      previous = std::to_string(answer);
      asking = answer != 0;
      block = std::max(answer, 1);
    }
    if (block > book.nBlocks()) book.blocks.resize(static_cast<size_t>(block));
    book.block(block).push_back(c);
  }
}

void showProblems(ImportUi& ui, const std::vector<std::string>& problems) {
  for (size_t i = 0; i < problems.size() && i < kShownProblems; ++i) ui.ShowMessage(problems[i], 2);
  if (problems.size() > kShownProblems) {
    ui.ShowMessage(std::to_string(problems.size() - kShownProblems) +
                       " weitere Zeilen nicht \xFC"
                       "bernommen",
                   2);
  }
}

}  // namespace

char choiceMark(std::string_view kind, bool written) {
  if (kind == "GKS") return '+';
  if (kind == "AB3") return written ? '+' : '#';
  if (kind == "AB4") return written ? '+' : '=';
  return ' ';
}

bool NextChoice(std::string_view line, const CourseImportRequest& request, const std::vector<std::string>& kivoLines,
                ChoiceRecord& record, std::vector<std::string>& problems) {
  // Each field ends at the next "|"; what follows the ninth is not used.
  const std::vector<std::string> fields = splitAt(line, '|', kFieldCount + 1);
  if (fields.size() < kFieldCount) return false;
  const std::vector<std::string> parts = splitAt(UpperDos(fields[8]), '_', 4);
  if (parts.size() < 2 || courseYearGroup(parts[1]) != request.yearGroup) return false;
  if (parts.size() < 4) {
    problems.push_back("Kurskennung " + fields[8] + " unvollst\xE4ndig");
    return false;
  }
  const bool written = leadingNumber(courseYearGroup(parts[1])) <= 13 && request.month > 6;
  record.studentKey = "1" + fields[0] + ";" + fields[1];
  record.kind = fields[7];
  record.courseName = courseNameOf(kivoLines, parts, written);
  if (record.courseName.size() > kCourseNameWidth) {
    problems.push_back("Kurs " + record.courseName + " auf sechs Zeichen gek\xFCrzt");
    record.courseName.resize(kCourseNameWidth);
  }
  record.courseName.resize(kCourseNameWidth, ' ');
  return true;
}

CourseImportTables collectChoices(std::string_view text, const CourseImportRequest& request,
                                  const std::vector<std::string>& kivoLines) {
  CourseImportTables tables;
  const std::vector<std::string_view> lines = splitTextLines(text);
  const bool written = leadingNumber(request.yearGroup) <= 13 && request.month > 6;
  for (size_t i = 1; i < lines.size(); ++i) {
    ChoiceRecord record;
    std::vector<std::string> lineProblems;
    const bool found = NextChoice(lines[i], request, kivoLines, record, lineProblems);
    for (const std::string& problem : lineProblems) tables.problems.push_back(lineLabel(i + 1) + problem);
    if (!found) continue;
    const bool isAdvanced = record.courseName[3] == '*';
    addUnique(isAdvanced ? tables.advanced : tables.others,
              isAdvanced ? CourseImportTables::kAdvancedCapacity : CourseImportTables::kOtherCapacity,
              record.courseName, tables.problems);
    if (auto* student = studentFor(tables, record.studentKey)) {
      student->entries.push_back(choiceMark(record.kind, written) + record.courseName);
    }
  }
  std::stable_sort(tables.students.begin(), tables.students.end(),
                   [](const auto& a, const auto& b) { return a.key < b.key; });
  std::sort(tables.advanced.begin(), tables.advanced.end());
  std::sort(tables.others.begin(), tables.others.end());
  return tables;
}

CourseBook encodeChoices(const CourseImportTables& tables, const std::string& yearGroup) {
  CourseBook book;
  book.yearGroup = yearGroup;
  for (const auto* table : {&tables.advanced, &tables.others}) {
    for (const std::string& name : *table) book.courses.push_back({name, ""});
  }
  for (const auto& entry : tables.students) {
    Student student;
    student.name = entry.key.substr(1);
    student.sex = 'w';
    for (const std::string& choice : entry.entries) {
      const auto found = std::find_if(book.courses.begin(), book.courses.end(),
                                      [&](const Course& course) { return course.name == choice.substr(1); });
      if (found == book.courses.end()) continue;
      const int course = static_cast<int>(found - book.courses.begin()) + 1;
      const int markCode = 1 + entryMarkCode(choice);
      auto existing = std::find_if(student.choices.begin(), student.choices.end(),
                                   [&](const CourseChoice& c) { return c.course == course; });
      if (existing == student.choices.end()) {
        student.choices.push_back({course, markCode});
      } else {
        existing->markCode = std::max(existing->markCode, markCode);
      }
    }
    book.students.push_back(std::move(student));
  }
  return book;
}

std::string courseFileTarget(const std::string& chosen) { return stemOf(chosen) + ".bk"; }

bool readCourseChoices(ImportUi& ui, const std::vector<std::string>& kivoLines, const CourseImportRequest& request,
                       CourseBook& book) {
  std::string bytes;
  if (!readWholeFile(request.sourceFile, bytes)) {
    // Half an export would make a file that looks complete; the old file stays.
    ui.ShowMessage("Selvox-Dateifehler! Abbruch!", 2);
    return false;
  }
  const CourseImportTables tables = collectChoices(untisTextToWindows(bytes), request, kivoLines);
  book = encodeChoices(tables, request.yearGroup);
  std::vector<std::string> problems = tables.problems;
  for (Student& student : book.students) {
    if (student.name.size() > CourseBook::kMaxNameLength) {
      problems.push_back("Name " + student.name + " gek\xFCrzt");
      student.name.resize(CourseBook::kMaxNameLength);
    }
  }
  showProblems(ui, problems);
  return true;
}

ImportOutcome writeCourseChoices(ImportUi& ui, CourseBook& book, const std::string& targetName) {
  ImportOutcome outcome;
  askBlocks(ui, book);
  ui.ShowMessage("Kurse gespeichert", 2);
  CourseFileNotes notes;
  if (!writeCourseFile(courseFileTarget(targetName), book, notes)) {
    ui.ShowMessage("Schreibfehler", 2);
    outcome.fileFailed = true;
    return outcome;
  }
  ui.ShowMessage("Wahlen gespeichert", 2);
  outcome.written = true;
  return outcome;
}

ImportOutcome ImportCourseChoices(ImportUi& ui, const std::vector<std::string>& kivoLines,
                                  const CourseImportRequest& request) {
  CourseBook book;
  if (!readCourseChoices(ui, kivoLines, request, book)) return ImportOutcome{false, true};
  return writeCourseChoices(ui, book, request.targetName);
}

int currentMonth() {
  const std::chrono::year_month_day today{std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
  return static_cast<int>(static_cast<unsigned>(today.month()));
}

}  // namespace quort
