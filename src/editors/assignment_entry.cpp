#include "editors/assignment_entry.h"

#include <algorithm>
#include <cctype>

#include "data/base_data.h"
#include "data/number_text.h"
#include "data/plan_records.h"
#include "editors/code_lookup.h"
#include "workspace/ui.h"

namespace quort {

namespace {

bool isMarker(char c) { return c == kMarkerL || c == kMarkerH; }
bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

int markersOf(const AssignmentView& view) { return (view.marker1() ? 1 : 0) + (view.marker2() ? 2 : 0); }

// The kind letter of a coupling entry: "H" or "L" from a single marker, none with both,
// otherwise the kind kept in the class byte.
std::string couplingKindLetter(const AssignmentView& view) {
  switch (markersOf(view)) {
    case 1:
      return "L";
    case 2:
      return "H";
    case 3:
      return {};
    default:
      break;
  }
  return view.lessonKind() <= 2 ? std::string(1, kKindLetters[view.lessonKind()]) : std::string();
}

std::string couplingLine(const AssignmentView& view) {
  return "#" + std::to_string(view.couplingNumber()) + ":" + std::to_string(view.periods()) + couplingKindLetter(view);
}

// Value of the leading digits; 0 when there are none.
int leadingValue(std::string_view text) {
  int value = 0;
  for (size_t i = 0; i < text.size() && isDigit(text[i]) && value < 1000; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

std::string trimmedText(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

bool periodsAllowed(int periods, Ui* report) {
  if (periods >= 1 && periods <= 10) return true;
  if (report != nullptr) report->message("Keine zul\xE4ssige Stundenzahl: " + std::to_string(periods) + "!");
  return false;
}

// "#n:pK". The markers may stand anywhere and are no part of number, periods or kind. A
// kind letter "H" or "L" sets its marker, so that the line reads back as it was typed.
std::optional<std::string> parseCouplingLine(const AssignmentParseContext& context, std::string_view line,
                                             int markers) {
  std::string text;
  for (char c : line) {
    if (!isMarker(c) && c != ' ') text += c;
  }
  int kind = -1;
  if (!text.empty()) {
    const size_t letter = std::string_view(kKindLetters).find(text.back());
    if (letter != std::string_view::npos) kind = static_cast<int>(letter);
  }
  if (kind >= 0) text.pop_back();
  const int periods = !text.empty() && isDigit(text.back()) ? text.back() - '0' : 0;
  const size_t colon = text.find(':');
  const std::string number = text.substr(1, colon == std::string::npos ? 0 : colon - 1);
  const bool digitsOnly = !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
  const int coupling = digitsOnly ? leadingValue(number) : 0;
  if (coupling < 1 || coupling > context.nCouplings) {
    if (context.report != nullptr) context.report->message("Keine zul\xE4ssige Kopplung!");
    return std::nullopt;
  }
  if (!periodsAllowed(periods, context.report)) return std::nullopt;
  if (kind == 3) markers |= 2;
  if (kind == 4) markers |= 1;
  return makeAssignment(0, kind >= 0 && kind <= 2 ? kind : 0, coupling, periods | (markers << 4));
}

// "MR¹D  5A  4": teacher in the first two characters, the markers after it, then the
// subject, the class and the period digit at the end.
std::optional<std::string> parseLessonLine(const AssignmentParseContext& context, std::string_view line, int markers) {
  const int periods = !line.empty() && isDigit(line.back()) ? line.back() - '0' : 0;
  const std::string_view body = line.substr(0, line.empty() ? 0 : line.size() - 1);
  const std::string teacherText(body.substr(0, 2));
  size_t pos = std::min<size_t>(2, body.size());
  while (pos < body.size() && isMarker(body[pos])) ++pos;
  while (pos < body.size() && body[pos] == ' ') ++pos;
  const std::string subjectText(body.substr(pos, 2));
  pos = std::min(pos + 2, body.size());
  std::string classText = trimmedText(body.substr(pos));
  while (!classText.empty() && (classText.back() == ':' || classText.back() == ' ')) classText.pop_back();
  const int teacher = lookupCode(context.base, CodeList::Teacher, trimmedText(teacherText), context.report);
  if (teacher == 0) return std::nullopt;
  const int subject = lookupCode(context.base, CodeList::Subject, trimmedText(subjectText), context.report);
  if (subject == 0) return std::nullopt;
  const int schoolClass = lookupCode(context.base, CodeList::Class, classText, context.report);
  if (schoolClass == 0) return std::nullopt;
  if (!periodsAllowed(periods, context.report)) return std::nullopt;
  return makeAssignment(teacher, schoolClass, subject, periods | (markers << 4));
}

}  // namespace

std::string assignmentLongLine(const BaseData& base, std::string_view entry) {
  const AssignmentView view(entry, 0);
  if (view.isCoupling()) return couplingLine(view);
  const char* const markerText[] = {" ", "\xB9", "\xB2", " "};
  return padRight(codeOf(base, CodeList::Teacher, view.teacher()), 2) + markerText[markersOf(view)] +
         padRight(codeOf(base, CodeList::Subject, view.subject()), 2) + " " +
         padRight(codeOf(base, CodeList::Class, view.schoolClass()), 3) + " " + std::to_string(view.periods());
}

std::string assignmentShortLine(const BaseData& base, std::string_view entry) {
  const AssignmentView view(entry, 0);
  if (view.isCoupling()) return couplingLine(view);
  return padRight(codeOf(base, CodeList::Teacher, view.teacher()), 2) +
         padRight(codeOf(base, CodeList::Subject, view.subject()), 2) +
         codeOf(base, CodeList::Class, view.schoolClass()) + ":" + std::to_string(view.periods());
}

std::optional<std::string> parseAssignmentLine(const AssignmentParseContext& context, std::string_view line) {
  const std::string text = upperCaseText(line);
  int markers = 0;
  if (text.find(kMarkerL) != std::string::npos) markers += 1;
  if (text.find(kMarkerH) != std::string::npos) markers += 2;
  const std::string_view trimmedLine = std::string_view(text).substr(0, text.find_last_not_of(' ') + 1);
  if (!trimmedLine.empty() && trimmedLine[0] == '#') return parseCouplingLine(context, trimmedLine, markers);
  return parseLessonLine(context, trimmedLine, markers);
}

}  // namespace quort
