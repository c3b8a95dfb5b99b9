#include "courses/course_file.h"

#include <algorithm>

#include "data/codepage.h"
#include "data/field_reader.h"
#include "data/file_access.h"

namespace quort {

namespace {

constexpr size_t kZoneWidth = 14;
constexpr unsigned char kLineEndMark = 0xFF;
// More notes than a message box can show say nothing more.
constexpr size_t kMaxNotes = 40;

void note(CourseFileNotes& notes, std::string text) {
  if (notes.size() < kMaxNotes) {
    notes.push_back(std::move(text));
  } else if (notes.size() == kMaxNotes) {
    notes.push_back("...");
  }
}

// Lines ended by CR LF (or a lone LF or CR); a 0x1A ends the file. Neither occurs in
// course or choice bytes, which start at 0x21.
std::vector<std::string_view> fileLines(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\x1A'));
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

// Older writers converted whole lines to the DOS code page, which put a 0xFF before the
// line end; it is no course or block.
std::string_view rawLine(std::string_view line) {
  if (!line.empty() && static_cast<unsigned char>(line.back()) == kLineEndMark) line.remove_suffix(1);
  return line;
}

int byteNumber(char byte) { return static_cast<unsigned char>(byte) - 32; }

std::string numberText(long value) { return std::to_string(value); }

struct Header {
  long blocks = 0;
  long courses = 0;
  long students = 0;
};

bool parseHeader(std::string_view line, Header& header) {
  const std::string text(line);
  FieldReader reader(text);
  const auto blocks = reader.readInteger();
  const auto courses = reader.readInteger();
  const auto students = reader.readInteger();
  if (!blocks || !courses || !students) return false;
  header = {*blocks, *courses, *students};
  return header.blocks >= 0 && header.blocks <= CourseBook::kMaxBlocks && header.courses >= 0 &&
         header.courses <= CourseBook::kMaxCourses && header.students >= 0;
}

void parseCourseLine(std::string_view line, int number, CourseBook& book, CourseFileNotes& notes) {
  line = rawLine(line);
  Course course;
  course.name = std::string(line.substr(0, kCourseNameWidth));
  course.name.resize(kCourseNameWidth, ' ');
  book.courses.push_back(course);
  for (char byte : line.substr(std::min(line.size(), kCourseNameWidth))) {
    const int block = byteNumber(byte);
    if (block < 1 || block > CourseBook::kMaxBlocks) {
      note(notes, "Kurs " + course.name + ": Blocknummer " + numberText(block) + " ung\xFCltig");
      continue;
    }
    // Files of the importer name blocks beyond the count of their first line.
    if (block > book.nBlocks()) book.blocks.resize(static_cast<size_t>(block));
    std::vector<int>& members = book.block(block);
    if (std::find(members.begin(), members.end(), number) == members.end()) members.push_back(number);
  }
}

Student parseNameLine(std::string_view line, CourseFileNotes& notes) {
  Student student;
  student.sex = (!line.empty() && line[0] != '0') ? 'w' : 'm';
  student.name = ToWindowsText(line.substr(std::min<size_t>(1, line.size())));
  if (student.name.size() > CourseBook::kMaxNameLength) {
    note(notes, "Sch\xFCler " + student.name + ": Name gek\xFCrzt");
    student.name.resize(CourseBook::kMaxNameLength);
  }
  return student;
}

void parseChoiceLine(std::string_view line, int nCourses, Student& student, CourseFileNotes& notes) {
  line = rawLine(line);
  if (line.size() % 2 != 0)
    note(notes, "Sch\xFCler " + student.name +
                    ": unvollst\xE4ndige Wahl \xFC"
                    "bergangen");
  for (size_t i = 0; i + 1 < line.size(); i += 2) {
    const int course = byteNumber(line[i]);
    if (course < 1 || course > nCourses) {
      note(notes, "Sch\xFCler " + student.name + ": Kurs " + numberText(course) + " unbekannt");
      continue;
    }
    student.choices.push_back(CourseChoice{course, byteNumber(line[i + 1])});
  }
}

// A mark byte that cannot stand inside a line is written as a plain choice.
char markByte(const CourseChoice& choice, const Student& student, CourseFileNotes& notes) {
  const int byte = 32 + choice.markCode;
  if (byte < 0x21 || byte >= 0xFF) {
    note(notes, "Sch\xFCler " + student.name + ": Kennung ung\xFCltig, ohne Kennung geschrieben");
    return '!';
  }
  return static_cast<char>(byte);
}

std::string choiceLine(const CourseBook& book, const Student& student, CourseFileNotes& notes) {
  std::string line;
  for (const CourseChoice& choice : student.choices) {
    if (choice.course < 1 || choice.course > book.nCourses()) {
      note(notes, "Sch\xFCler " + student.name + ": Kurs " + numberText(choice.course) + " unbekannt");
      continue;
    }
    line += static_cast<char>(32 + choice.course);
    line += markByte(choice, student, notes);
  }
  return line;
}

std::string courseLine(const CourseBook& book, int number) {
  std::string line = book.course(number).name;
  line.resize(kCourseNameWidth, ' ');
  for (int block : book.blocksOf(number)) line += static_cast<char>(32 + block);
  return line;
}

}  // namespace

std::string printZones(const std::vector<long>& numbers) {
  std::string text;
  for (size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) text.append(kZoneWidth - text.size() % kZoneWidth, ' ');
    text += (numbers[i] < 0 ? "" : " ") + numberText(numbers[i]);
  }
  return text;
}

CourseFileStatus parseCourseFile(std::string_view bytes, CourseBook& book, CourseFileNotes& notes) {
  const std::vector<std::string_view> lines = fileLines(bytes);
  Header header;
  if (lines.empty() || !parseHeader(lines[0], header)) return CourseFileStatus::Damaged;
  // Every count is checked against the lines that are there before anything is sized.
  const size_t needed = 1 + static_cast<size_t>(header.courses) + 2 * static_cast<size_t>(header.students) + 1;
  if (header.students > static_cast<long>(lines.size()) || lines.size() < needed) return CourseFileStatus::Damaged;
  CourseBook read;
  read.blocks.resize(static_cast<size_t>(header.blocks));
  size_t at = 1;
  for (int c = 1; c <= header.courses; ++c) parseCourseLine(lines[at++], c, read, notes);
  for (long s = 0; s < header.students; ++s) {
    Student student = parseNameLine(lines[at++], notes);
    parseChoiceLine(lines[at++], read.nCourses(), student, notes);
    read.students.push_back(std::move(student));
  }
  read.yearGroup = ToWindowsText(lines[at]);
  book = std::move(read);
  return CourseFileStatus::Ok;
}

std::string formatCourseFile(const CourseBook& book, CourseFileNotes& notes) {
  const std::string lineEnd = "\r\n";
  std::string text = printZones({book.nBlocks(), book.nCourses(), static_cast<long>(book.students.size())}) + lineEnd;
  for (int c = 1; c <= book.nCourses(); ++c) text += courseLine(book, c) + lineEnd;
  for (const Student& student : book.students) {
    std::string name = student.name;
    if (name.size() > CourseBook::kMaxNameLength) {
      note(notes, "Sch\xFCler " + name + ": Name gek\xFCrzt");
      name.resize(CourseBook::kMaxNameLength);
    }
    text += (student.sex == 'w' ? "1" : "0") + ToDosText(name) + lineEnd;
    text += choiceLine(book, student, notes) + lineEnd;
  }
  text += ToDosText(book.yearGroup) + lineEnd;
  return text;
}

CourseFileStatus readCourseFile(const std::string& name, CourseBook& book, CourseFileNotes& notes) {
  std::string bytes;
  if (!readWholeFile(name, bytes)) return CourseFileStatus::Unreadable;
  return parseCourseFile(bytes, book, notes);
}

bool writeCourseFile(const std::string& name, const CourseBook& book, CourseFileNotes& notes) {
  return writeFileAtomically(name, formatCourseFile(book, notes));
}

std::string withCourseFileExtension(const std::string& name) {
  if (name.size() >= 3) {
    const std::string end = name.substr(name.size() - 3);
    if (end[0] == '.' && (end[1] == 'B' || end[1] == 'b') && (end[2] == 'K' || end[2] == 'k')) return name;
  }
  return name + ".BK";
}

std::string notesText(const std::string& heading, const CourseFileNotes& notes) {
  std::string text = heading;
  for (const std::string& line : notes) text += "\r" + line;
  return text;
}

}  // namespace quort
