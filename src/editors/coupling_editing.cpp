#include "editors/coupling_editing.h"

#include <cctype>

#include "data/plan_records.h"
#include "editors/code_lookup.h"
#include "timetable/lesson_removal.h"
#include "workspace/plan_file.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool endsCode(char c) { return c == ' ' || c == ',' || c == ';'; }
bool endsSubject(char c) { return endsCode(c) || isDigit(c) || c == '+' || c == '-' || c == '#'; }

void reportText(Ui* report, const std::string& text) {
  if (report != nullptr) report->message(text);
}

// The text up to the first character that ends it, at most width characters.
std::string readCode(std::string_view item, size_t& pos, size_t width, bool (*ends)(char)) {
  const size_t start = pos;
  while (pos < item.size() && pos - start < width && !ends(item[pos])) ++pos;
  return std::string(item.substr(start, pos - start));
}

void skipBlanks(std::string_view item, size_t& pos) {
  while (pos < item.size() && (item[pos] == ' ' || item[pos] == ';')) ++pos;
}

// Runs of blanks reduced to one. The codes are put in upper case by their lookup; the
// suffix keeps its case, since "a" and "A" tell different course groups apart.
std::string normalisedText(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\t') c = ' ';
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  return out;
}

// The member a test of repetition names: the teacher (unless it is the sentinel, which
// stands for "any teacher") or the class already among members. Empty when none repeats.
std::string repeatedCode(const Workspace& ws, std::string_view members, int teacher, int schoolClass) {
  for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize); ++i) {
    const CouplingMemberView member(members, i);
    if (teacher != ws.base.nTeachers() && member.teacher() == teacher) {
      return codeOf(ws.base, CodeList::Teacher, teacher);
    }
    if (member.schoolClass() == schoolClass) return codeOf(ws.base, CodeList::Class, schoolClass);
  }
  return {};
}

// One course "11A SD D1". A one-letter subject may carry a letter as suffix ("DA"): when
// the two letters are no subject but the first one is, the second is the suffix.
std::optional<std::string> parseMember(const Workspace& ws, Ui* report, std::string_view item) {
  size_t pos = 0;
  const std::string classText = readCode(item, pos, 3, endsCode);
  while (pos < item.size() && !endsCode(item[pos])) ++pos;
  skipBlanks(item, pos);
  const std::string teacherText = readCode(item, pos, 2, endsCode);
  while (pos < item.size() && !endsCode(item[pos])) ++pos;
  skipBlanks(item, pos);
  std::string subjectText = readCode(item, pos, 2, endsSubject);
  if (subjectText.size() == 2 && lookupCode(ws.base, CodeList::Subject, subjectText) == 0 &&
      lookupCode(ws.base, CodeList::Subject, subjectText.substr(0, 1)) != 0) {
    subjectText.pop_back();
    --pos;
  }
  const char next = pos < item.size() ? item[pos] : ' ';
  const char suffix = next >= '0' && next <= 'z' ? next : ' ';
  const int schoolClass = lookupCode(ws.base, CodeList::Class, classText, report);
  if (schoolClass == 0) return std::nullopt;
  const int teacher = lookupCode(ws.base, CodeList::Teacher, teacherText, report);
  if (teacher == 0) return std::nullopt;
  const int subject = lookupCode(ws.base, CodeList::Subject, subjectText, report);
  if (subject == 0) return std::nullopt;
  return makeCouplingMember(teacher, schoolClass, subject, suffix);
}

// Drops empty couplings from the end of the list, so that the count never ends on one.
void dropTrailingEmpty(PlanTables& plan) {
  while (plan.nCouplings() > 0 && plan.couplings.back().empty()) plan.couplings.pop_back();
}

bool validCoupling(const Workspace& ws, int number) { return number >= 1 && number <= ws.plan.nCouplings(); }

void emptyCoupling(Workspace& ws, Ui& ui, int number) {
  if (couplingPlaced(ws, number)) removeCouplingFromPlan(ws, ui, number);
  ws.plan.couplings[static_cast<size_t>(number)].clear();
}

}  // namespace

std::string couplingText(const Workspace& ws, int coupling) {
  std::string text = std::to_string(coupling) + ":";
  if (!validCoupling(ws, coupling)) return text;
  const std::string& members = ws.plan.couplings[static_cast<size_t>(coupling)];
  for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize); ++i) {
    const CouplingMemberView member(members, i);
    text += codeOf(ws.base, CodeList::Class, member.schoolClass()) + " " +
            codeOf(ws.base, CodeList::Teacher, member.teacher()) + " " +
            codeOf(ws.base, CodeList::Subject, member.subject()) + member.suffix() + ",";
  }
  return text;
}

std::optional<ParsedCoupling> parseCouplingText(const Workspace& ws, Ui* report, std::string_view text) {
  const std::string normal = normalisedText(text);
  ParsedCoupling parsed;
  std::string_view rest = normal;
  const size_t colon = normal.find(':');
  if (colon != std::string::npos) {
    for (char c : rest.substr(0, colon)) {
      if (isDigit(c) && parsed.number < 1000) parsed.number = parsed.number * 10 + (c - '0');
    }
    rest.remove_prefix(colon + 1);
  }
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    std::string_view item = rest.substr(0, comma);
    rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    if (item.empty() || item == " ") continue;
    const auto member = parseMember(ws, report, item);
    if (!member) return std::nullopt;
    const CouplingMemberView view(*member, 0);
    const std::string repeated = repeatedCode(ws, parsed.members, view.teacher(), view.schoolClass());
    if (!repeated.empty()) {
      reportText(report, repeated + " mehrfach eingesetzt!");
      return std::nullopt;
    }
    parsed.members += *member;
  }
  return parsed;
}

bool couplingPlaced(const Workspace& ws, int coupling) {
  const TimetableGrids& grids = ws.plan.timetable;
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    for (int day = 1; day <= kGridDays; ++day) {
      for (int period = 1; period <= ws.base.periodsPerDay; ++period) {
        if (grids.lessonWord.at(c, period, day) != 0 &&
            RoomWord::coupling(grids.roomWord.at(c, period, day)) == coupling) {
          return true;
        }
      }
    }
  }
  return false;
}

void removeCouplingFromPlan(Workspace& ws, Ui& ui, int coupling) {
  BackupPlanRecords(ws, ui);
  const TimetableGrids& grids = ws.plan.timetable;
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    for (int day = 1; day <= kGridDays; ++day) {
      for (int period = 1; period <= ws.base.periodsPerDay; ++period) {
        if (grids.lessonWord.at(c, period, day) == 0 ||
            RoomWord::coupling(grids.roomWord.at(c, period, day)) != coupling) {
          continue;
        }
        removeLesson(ws, ui, Slot{day, period}, c, RemoveMode::kUnprotected, ws.plan.assignments);
      }
    }
  }
}

int addCoupling(Workspace& ws, Ui& ui, std::string_view text) {
  const auto parsed = parseCouplingText(ws, &ui, text);
  if (!parsed) return 0;
  if (ws.plan.nCouplings() >= kMaxCouplings) {
    ui.message("Keine zul\xE4ssige Kopplung!");
    return 0;
  }
  ws.plan.couplings.push_back(parsed->members);
  ws.plan.modifiedCouplings = true;
  const int number = ws.plan.nCouplings();
  dropTrailingEmpty(ws.plan);
  return number;
}

bool replaceCoupling(Workspace& ws, Ui& ui, int number, std::string_view text) {
  if (!validCoupling(ws, number)) {
    ui.message("Keine zul\xE4ssige Kopplung!");
    return false;
  }
  const auto parsed = parseCouplingText(ws, &ui, text);
  if (!parsed) return false;
  if (couplingPlaced(ws, number) && ui.askYesNo("Kopplung aus dem Plan l\xF6schen?", MessageStyle{Icon::Question})) {
    removeCouplingFromPlan(ws, ui, number);
  }
  ws.plan.couplings[static_cast<size_t>(number)] = parsed->members;
  ws.plan.modifiedCouplings = true;
  dropTrailingEmpty(ws.plan);
  return true;
}

int deleteCouplings(Workspace& ws, Ui& ui, int number) {
  if (!validCoupling(ws, number)) return 0;
  const std::string n = std::to_string(number);
  int last = 0;
  if (ui.askYesNo("Alle Kopplungen ab " + n + " l\xF6schen?", MessageStyle{Icon::Question})) {
    last = ws.plan.nCouplings();
  } else if (ui.askYesNo("Alle Kurse der Kopplung " + n + " l\xF6schen?", MessageStyle{Icon::Question})) {
    last = number;
  }
  if (last == 0) return 0;
  for (int k = number; k <= last; ++k) emptyCoupling(ws, ui, k);
  ws.plan.modifiedCouplings = true;
  dropTrailingEmpty(ws.plan);
  return last - number + 1;
}

std::optional<std::string> copyCoursesFrom(const Workspace& ws, Ui& ui, int source) {
  if (!validCoupling(ws, source)) return std::nullopt;
  if (!ui.askYesNo("Kurse aus Kopplung " + std::to_string(source) + " kopieren?", MessageStyle{Icon::Question})) {
    return std::nullopt;
  }
  const std::string text = couplingText(ws, source);
  return text.substr(text.find(':') + 1);
}

}  // namespace quort
