#include "output/plan_printouts.h"

#include <algorithm>
#include <map>

#include "data/calendar.h"
#include "data/plan_grids.h"
#include "data/plan_records.h"
#include "editors/block_editing.h"
#include "editors/coupling_editing.h"
#include "timetable/assignment_list.h"
#include "timetable/lesson_grid.h"
#include "workspace/print_job.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr int kCellWidth = 14;  // "|" plus 13 characters
constexpr int kPeriodColumn = 5;
constexpr int kListWidth = 80;
constexpr char kBold = '\xA1';

const char* const kDayNames[] = {"", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};

std::string printedCode(const auto& list, int index) {
  if (index < 1 || index >= static_cast<int>(list.size())) return "";
  return trimmedCode(list[static_cast<size_t>(index)].code);
}

std::string paddedTo(std::string text, size_t width) {
  text.resize(width, ' ');
  return text;
}

std::string centredIn(const std::string& text, size_t width) {
  if (text.size() >= width) return text;
  const size_t left = (width - text.size()) / 2;
  return std::string(left, ' ') + text;
}

std::string withoutDirectory(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// School (the name of the base data), plan and date, spread over the width.
std::string headerLine(const Workspace& ws, int width) {
  const std::string left = "Schule: " + withoutDirectory(ws.base.baseDataName);
  const std::string middle = "Plan: " + withoutDirectory(ws.plan.planName);
  const std::string right = "Stand: " + TodayText();
  std::string line = paddedTo(left, static_cast<size_t>(width));
  const size_t mid = (static_cast<size_t>(width) - middle.size()) / 2;
  if (mid > left.size()) line.replace(mid, middle.size(), middle);
  if (static_cast<size_t>(width) > right.size())
    line.replace(static_cast<size_t>(width) - right.size(), right.size(), right);
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

// The class whose lesson the entity has in that slot, 0 for none.
int classAt(const Workspace& ws, PlanEntity kind, int entity, int slot, int day) {
  const TimetableGrids& grids = ws.plan.timetable;
  switch (kind) {
    case PlanEntity::Class:
      return grids.lessonWord.at(entity, slot, day) != 0 ? entity : 0;
    case PlanEntity::Teacher:
      return grids.teacher.at(entity, slot, day) >> 8;
    case PlanEntity::Room:
      return grids.room.at(entity, slot, day);
    case PlanEntity::Subject:
      return 0;
  }
  return 0;
}

// Subject, then teacher or class, then room or teacher: what a person at that door needs.
std::vector<std::string> cellLines(const Workspace& ws, PlanEntity kind, int entity, int slot, int day) {
  const int schoolClass = classAt(ws, kind, entity, slot, day);
  if (schoolClass < 1 || schoolClass > ws.base.nClasses()) return {};
  const uint16_t lesson = ws.plan.timetable.lessonWord.at(schoolClass, slot, day);
  const uint16_t roomWord = ws.plan.timetable.roomWord.at(schoolClass, slot, day);
  if (lesson == classLockWord(ws.base)) return {"gesperrt"};
  std::string subject = printedCode(ws.base.subjects, LessonWord::subject(lesson));
  if (const int coupling = RoomWord::coupling(roomWord)) subject += "  K" + std::to_string(coupling);
  const std::string teacher = printedCode(ws.base.teachers, LessonWord::teacher(lesson));
  const std::string className = printedCode(ws.base.classes, schoolClass);
  const std::string room = printedCode(ws.base.rooms, RoomWord::room(roomWord));
  switch (kind) {
    case PlanEntity::Class:
      return {subject, teacher, room};
    case PlanEntity::Teacher:
      return {subject, className, room};
    default:
      return {subject, className, teacher};
  }
}

std::string printedTitle(const Workspace& ws, PlanEntity kind, int entity) {
  switch (kind) {
    case PlanEntity::Class:
      return "Klasse " + printedCode(ws.base.classes, entity);
    case PlanEntity::Teacher:
      return "Lehrer " + printedCode(ws.base.teachers, entity);
    case PlanEntity::Room:
      return "Raum " + printedCode(ws.base.rooms, entity);
    case PlanEntity::Subject:
      return "Fach " + printedCode(ws.base.subjects, entity);
  }
  return {};
}

int printedEntityCount(const Workspace& ws, PlanEntity kind) {
  switch (kind) {
    case PlanEntity::Class:
      return ws.base.nClasses();
    case PlanEntity::Teacher:
      return ws.base.nTeachers() - 1;
    case PlanEntity::Room:
      return ws.base.nRooms();
    case PlanEntity::Subject:
      return 0;
  }
  return 0;
}

int dayCount(const Workspace& ws) { return std::clamp(ws.base.days, 1, kGridDays); }

std::string ruleLine(const Workspace& ws) {
  std::string line = "+" + std::string(kPeriodColumn - 1, '-');
  for (int d = 1; d <= dayCount(ws); ++d) line += "+" + std::string(kCellWidth - 1, '-');
  return line + "+";
}

std::string periodName(const Workspace& ws, int slot) {
  if (!ws.base.weekAlternation) return std::to_string(slot);
  return std::to_string((slot + 1) / 2) + (slot % 2 == 1 ? "A" : "B");
}

// One printed line of a period row: line n of every cell; the first line is the subject in bold.
std::string periodRowLine(const Workspace& ws, PlanEntity kind, int entity, int slot, size_t n) {
  std::string line = "|" + paddedTo(n == 0 ? " " + periodName(ws, slot) : "", kPeriodColumn - 1);
  for (int d = 1; d <= dayCount(ws); ++d) {
    const std::vector<std::string> cell = cellLines(ws, kind, entity, slot, d);
    const std::string text = n < cell.size() ? cell[n] : "";
    if (n == 0 && !text.empty()) {
      line += "|" + std::string(1, kBold) + paddedTo(text, kCellWidth - 3) + kBold;
    } else {
      line += "| " + paddedTo(text, kCellWidth - 2);
    }
  }
  return line + "|";
}

std::string dayHeaderLine(const Workspace& ws) {
  std::string line = "|" + paddedTo(" Std", kPeriodColumn - 1);
  for (int d = 1; d <= dayCount(ws); ++d)
    line += "|" + paddedTo(centredIn(kDayNames[d], kCellWidth - 1), kCellWidth - 1);
  return line + "|";
}

std::vector<int> allOr(const Workspace& ws, PlanEntity kind, const std::vector<int>& entities) {
  if (!entities.empty()) return entities;
  std::vector<int> all;
  for (int e = 1; e <= printedEntityCount(ws, kind); ++e) all.push_back(e);
  return all;
}

void appendAssignmentBlock(const Workspace& ws, PlanEntity kind, int entity, std::vector<std::string>& lines) {
  // Periods placed in the timetable and still open in the assignments, per partner and subject.
  std::map<std::pair<int, int>, std::pair<int, int>> counts;
  const int slots = ws.plan.timetable.lessonWord.periods();
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    for (int d = 1; d <= kGridDays; ++d) {
      for (int p = 1; p <= slots; ++p) {
        const uint16_t lesson = ws.plan.timetable.lessonWord.at(c, p, d);
        const int t = LessonWord::teacher(lesson);
        if (t < 1 || t >= ws.base.nTeachers()) continue;
        if ((kind == PlanEntity::Class ? c : t) != entity) continue;
        ++counts[{kind == PlanEntity::Class ? t : c, LessonWord::subject(lesson)}].first;
      }
    }
  }
  const std::string& list = ws.plan.assignments;
  for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
    const AssignmentView e(list, i);
    if (e.isCoupling() || (kind == PlanEntity::Class ? e.schoolClass() : e.teacher()) != entity) continue;
    counts[{kind == PlanEntity::Class ? e.teacher() : e.schoolClass(), e.subject()}].second += e.periods();
  }
  lines.push_back("\xA1" + printedTitle(ws, kind, entity) + "\xA1");
  lines.push_back(kind == PlanEntity::Class ? "  Lehrer  Fach   gesetzt  offen" : "  Klasse  Fach   gesetzt  offen");
  int placed = 0;
  int open = 0;
  for (const auto& [key, value] : counts) {
    const std::string partner =
        kind == PlanEntity::Class ? printedCode(ws.base.teachers, key.first) : printedCode(ws.base.classes, key.first);
    lines.push_back("  " + paddedTo(partner, 8) + paddedTo(printedCode(ws.base.subjects, key.second), 7) +
                    paddedTo(std::to_string(value.first), 9) + std::to_string(value.second));
    placed += value.first;
    open += value.second;
  }
  lines.push_back("  Summe          " + paddedTo(std::to_string(placed), 9) + std::to_string(open));
  lines.push_back("");
}

}  // namespace

int weekPlanWidth(const Workspace& ws) { return kPeriodColumn + dayCount(ws) * kCellWidth + 1; }

std::vector<std::string> weekPlanPage(const Workspace& ws, PlanEntity kind, int entity, PageMeasure page,
                                      int pageNumber) {
  const int width = weekPlanWidth(ws);
  const int slots = std::min(ws.base.periodsPerDay, ws.plan.timetable.lessonWord.periods());
  // Header (3 lines), day header (3), footer (2); each period its cell lines and a rule.
  size_t cellLineCount = 3;
  while (cellLineCount > 1 && 8 + slots * static_cast<int>(cellLineCount + 1) > page.linesPerPage) --cellLineCount;
  std::vector<std::string> lines = {
      headerLine(ws, width), "",
      centredIn("\xA1" + printedTitle(ws, kind, entity) + "\xA1", static_cast<size_t>(width))};
  lines.push_back(ruleLine(ws));
  lines.push_back(dayHeaderLine(ws));
  lines.push_back(ruleLine(ws));
  for (int slot = 1; slot <= slots; ++slot) {
    for (size_t n = 0; n < cellLineCount; ++n) lines.push_back(periodRowLine(ws, kind, entity, slot, n));
    lines.push_back(ruleLine(ws));
  }
  const std::string footer = "Seite " + std::to_string(pageNumber);
  while (static_cast<int>(lines.size()) < page.linesPerPage - 1) lines.emplace_back();
  lines.push_back(std::string(static_cast<size_t>(std::max(0, width - static_cast<int>(footer.size()))), ' ') + footer);
  return lines;
}

bool printWeekPlans(Workspace& ws, Ui& ui, PlanEntity kind, const std::vector<int>& entities,
                    const std::string& textFileName) {
  const int width = weekPlanWidth(ws);
  const PageMeasure page =
      textFileName.empty() ? OpenPrintJob(ws, ui, width) : OpenTextFileJob(ws, ui, textFileName, width);
  if (page.charsPerLine <= 0) return false;
  int pageNumber = 0;
  for (int entity : allOr(ws, kind, entities)) {
    EndPrintPage(ws);
    for (const std::string& line : weekPlanPage(ws, kind, entity, page, ++pageNumber)) PrintLine(ws, line, width);
  }
  if (ClosePrintJob(ws) < 0) {
    ui.message("Druckfehler!", MessageStyle{Icon::Stop});
    return false;
  }
  return true;
}

std::vector<std::string> assignmentListLines(const Workspace& ws, PlanEntity kind, const std::vector<int>& entities) {
  std::vector<std::string> lines;
  for (int entity : allOr(ws, kind, entities)) appendAssignmentBlock(ws, kind, entity, lines);
  return lines;
}

std::vector<std::string> couplingPrintoutLines(const Workspace& ws) {
  std::vector<std::string> lines = {"\xA1Kopplungen\xA1"};
  for (int k = 1; k <= ws.plan.nCouplings(); ++k) {
    lines.push_back(paddedTo(std::to_string(k), 5) + couplingText(ws, k));
  }
  lines.emplace_back();
  lines.emplace_back(
      "\xA1"
      "Bl\xF6"
      "cke\xA1");
  for (int b = 1; b <= ws.plan.nBlocks(); ++b) lines.push_back(paddedTo(std::to_string(b), 5) + blockText(ws, b));
  return lines;
}

std::vector<std::string> baseDataListLines(const Workspace& ws) {
  std::vector<std::string> lines = {"Tage: " + std::to_string(ws.base.days) +
                                    "   Stunden pro Tag: " + std::to_string(ws.base.periodsPerDay) +
                                    "   Wochenwechsel: " + (ws.base.weekAlternation ? "ja" : "nein")};
  const auto section = [&](const char* title, const auto& list, int count) {
    lines.emplace_back();
    lines.push_back(std::string("\xA1") + title + "\xA1");
    for (int i = 1; i <= count; ++i) lines.push_back("  " + list[static_cast<size_t>(i)].line);
  };
  section("Klassen", ws.base.classes, ws.base.nClasses());
  section("Lehrer", ws.base.teachers, ws.base.nTeachers() - 1);
  section(
      "F\xE4"
      "cher",
      ws.base.subjects, ws.base.nSubjects() - 1);
  section(
      "R\xE4"
      "ume",
      ws.base.rooms, ws.base.nRooms());
  return lines;
}

bool printList(Workspace& ws, Ui& ui, const std::string& title, const std::vector<std::string>& lines,
               const std::string& textFileName) {
  std::vector<std::string> page = {headerLine(ws, kListWidth), "", "\xA1" + title + "\xA1", ""};
  page.insert(page.end(), lines.begin(), lines.end());
  return PrintLines(ws, ui, page, kListWidth, textFileName);
}

}  // namespace quort
