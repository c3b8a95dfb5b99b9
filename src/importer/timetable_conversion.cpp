#include "importer/timetable_conversion.h"

#include <algorithm>

#include "data/base_data.h"
#include "data/number_text.h"
#include "data/plan_records.h"
#include "importer/import_tables.h"
#include "importer/import_text.h"

namespace quort {

namespace {

std::string trimmedRight(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// A year group without a letter ("11" from "Q1", "5"): each piece gets one.
bool isBareYearGroup(const std::string& schoolClass) {
  return !schoolClass.empty() && schoolClass.size() <= 2 &&
         sortsBefore(schoolClass.substr(schoolClass.size() - 1), "A");
}

// The letter after the one that follows the year group of pieceClass ("11A" gives "B").
char nextLetter(const std::string& pieceClass) {
  size_t digits = 0;
  leadingNumber(pieceClass, &digits);
  const char letter = digits < pieceClass.size() ? pieceClass[digits] : ' ';
  if (letter >= 'A' && letter < 'Z') return static_cast<char>(letter + 1);
  return letter == 'Z' ? 'Z' : 'A';
}

LessonPiece makePiece(const std::string& schoolClass, const UntisRecord& record) {
  const std::string teacher = UpperDos(record[2]);
  return LessonPiece{padCode(schoolClass, 3), padCode(teacher, 2), padCode(UpperDos(record[3]), 3), teacher};
}

class Converter {
 public:
  explicit Converter(LessonIndex& index) : m_index(index) {}

  // The class the record is written with; std::nullopt when the index is full.
  std::optional<std::string> placeRecord(long lessonNumber, std::string schoolClass, const UntisRecord& record) {
    std::string written;
    if (LessonEntry* entry = m_index.find(lessonNumber)) {
      written = furtherPiece(*entry, schoolClass, record);
    } else {
      entry = m_index.add(lessonNumber);
      if (entry == nullptr) return std::nullopt;
      if (isBareYearGroup(schoolClass)) schoolClass += 'A';
      entry->pieces.push_back(makePiece(schoolClass, record));
      written = schoolClass;
    }
    m_previousYearGroup = leadingNumber(written);
    return written;
  }

 private:
  std::string furtherPiece(LessonEntry& entry, const std::string& schoolClass, const UntisRecord& record) {
    std::string withLetter = schoolClass;
    if (isBareYearGroup(schoolClass)) {
      withLetter +=
          leadingNumber(schoolClass) == m_previousYearGroup ? nextLetter(entry.pieces.back().schoolClass) : 'A';
    }
    const LessonPiece piece = makePiece(withLetter, record);
    const auto same = std::find_if(entry.pieces.begin(), entry.pieces.end(), [&](const LessonPiece& p) {
      return p.teacher2 == piece.teacher2 && p.subject3 == piece.subject3;
    });
    if (same != entry.pieces.end()) return trimmedRight(same->schoolClass);
    entry.pieces.push_back(piece);
    return withLetter;
  }

  LessonIndex& m_index;
  int m_previousYearGroup = 0;
};

}  // namespace

std::string formatGptavinLine(long lessonNumber, const std::string& schoolClass, const std::string& teacher,
                              const std::string& subject, const std::string& room, long day, long period) {
  const auto quoted = [](const std::string& text) { return '"' + text + "\","; };
  return std::to_string(lessonNumber) + ',' + quoted(schoolClass) + quoted(teacher) + quoted(subject) + quoted(room) +
         std::to_string(day) + ',' + std::to_string(period) + "\r\n";
}

std::optional<std::string> convertTimetable(ImportTables& tables, const std::vector<UntisRecord>& gpu001) {
  tables.lessonIndex.clear();
  Converter converter(tables.lessonIndex);
  std::string text;
  for (const UntisRecord& record : gpu001) {
    const long lessonNumber = wholeNumber(record[0]);
    const std::string schoolClass = renameYearGroups(UpperDos(withoutBlanks(record[1]).substr(0, 3)));
    const auto written = converter.placeRecord(lessonNumber, schoolClass, record);
    if (!written) return std::nullopt;
    text += formatGptavinLine(lessonNumber, *written, record[2], UpperDos(record[3]), record[4], wholeNumber(record[5]),
                              wholeNumber(record[6]));
  }
  return text;
}

namespace {

// The third character of the subject is the member's suffix ("Zusatz").
char suffixOf(const std::string& subject3) {
  const char c = subject3.size() > 2 ? subject3[2] : ' ';
  return (c >= ' ' && c <= 'z') ? c : ' ';
}

std::string couplingMembers(const ImportTables& tables, const LessonEntry& entry) {
  std::string members;
  for (const LessonPiece& piece : entry.pieces) {
    int teacher = tables.teachers.find(NormTeacher(piece.teacherCode), kTeacherCodeWidth);
    if (teacher == 0) teacher = tables.teachers.count() + 1;
    const int schoolClass = tables.classes.find(trimmedRight(piece.schoolClass), kClassCodeWidth);
    int subject = tables.subjects.find(piece.subject3.substr(0, 2), kSubjectCodeWidth);
    if (subject == 0) subject = tables.subjects.count() + 1;
    members += makeCouplingMember(teacher, schoolClass, subject, suffixOf(piece.subject3));
  }
  return members;
}

}  // namespace

bool BuildCouplingList(ImportTables& tables) {
  tables.couplings.assign(1, ImportCoupling{});
  for (const LessonEntry& entry : tables.lessonIndex.entries()) {
    if (entry.pieces.size() < 2) continue;
    if (tables.nCouplings() >= ImportTables::kCouplingCapacity) return false;
    tables.couplings.push_back(ImportCoupling{entry.lessonNumber, couplingMembers(tables, entry)});
  }
  return true;
}

}  // namespace quort
