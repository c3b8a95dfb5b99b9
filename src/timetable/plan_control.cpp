#include "timetable/plan_control.h"

#include <algorithm>

#include "data/calendar.h"
#include "data/plan_grids.h"
#include "data/plan_tables.h"
#include "workspace/dialogs.h"
#include "workspace/print_job.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr int kReportWidth = 80;

// The findings of one teacher in one week.
struct TeacherWeek {
  int freePeriods = 0;
  std::string gaps;         // "Stundenlücken"
  std::string repeats;      // "Mehrfachstunden"
  std::string heavyDays;    // "Hohe Stundenzahl"
  std::string lockedSlots;  // "Sperrenkollision"
  std::string longGaps;     // "Mehrfachlücken"
};

// Lessons of one class and subject met on one day.
struct DayRecord {
  int schoolClass = 0;
  int subject = 0;
  int lastPeriod = 0;
  int count = 0;
};

// Which slots of the grid make up the week the user sees, and how the user counts them.
struct WeekSlots {
  int first = 1;  // slot of the user's period 1
  int step = 1;   // 2 with week alternation: every other slot
  int periods = 0;
  int slot(int period) const { return first + (period - 1) * step; }
};

std::string normalisedExclusions(const std::string& excludedPeriods) {
  std::string text;
  for (char c : excludedPeriods) {
    if (c != ' ') text += c;
  }
  return "," + text + ",";
}

bool excluded(const std::string& exclusions, int period) {
  return exclusions.find("," + std::to_string(period) + ",") != std::string::npos;
}

void checkDay(const Workspace& ws, int teacher, int day, const WeekSlots& week, const std::string& exclusions,
              TeacherWeek& result) {
  const TimetableGrids& grids = ws.plan.timetable;
  std::vector<DayRecord> records;
  int last = 0;
  int lessons = 0;
  for (int p = 1; p <= week.periods; ++p) {
    const uint16_t cell = grids.teacher.at(teacher, week.slot(p), day);
    const int schoolClass = cell >> 8;
    if (schoolClass == 0 || schoolClass > ws.base.nClasses()) continue;
    const std::string slotText = DayAbbrev(day) + std::to_string(p) + ",";
    ++lessons;
    if ((cell & 255) > 0) result.lockedSlots += slotText;
    if (last > 0 && p > last + 1) {
      if (p - last > 3) result.longGaps += slotText;
      for (int free = last + 1; free < p; ++free) {
        if (!excluded(exclusions, free)) ++result.freePeriods;
      }
    }
    const int subject = LessonWord::subject(grids.lessonWord.at(schoolClass, week.slot(p), day));
    auto record = std::find_if(records.begin(), records.end(), [&](const DayRecord& r) {
      return r.schoolClass == schoolClass && r.subject == subject;
    });
    if (record == records.end()) {
      records.push_back({schoolClass, subject, p, 1});
    } else {
      if (p - record->lastPeriod > 1) result.gaps += slotText;
      record->lastPeriod = p;
      if (record->count > 1) result.repeats += slotText;
      ++record->count;
    }
    last = p;
  }
  if (lessons > 6) result.heavyDays += DayAbbrev(day) + " " + std::to_string(lessons) + ",";
}

void appendList(std::vector<std::string>& lines, const char* caption, std::string list) {
  if (list.empty()) return;
  list.pop_back();
  lines.push_back(caption + list);
}

void reportWeek(const Workspace& ws, int teacher, const WeekSlots& week, const std::string& weekName,
                const std::string& exclusions, std::vector<std::string>& lines) {
  TeacherWeek result;
  for (int day = 1; day <= kGridDays; ++day) checkDay(ws, teacher, day, week, exclusions, result);
  const std::string& code = ws.base.teachers[static_cast<size_t>(teacher)].code;
  lines.push_back(">> " + code + weekName + " <<      Freistunden: " + std::to_string(result.freePeriods));
  appendList(lines,
             " Stundenl\xFC"
             "cken:    ",
             result.gaps);
  appendList(lines, " Mehrfachstunden:  ", result.repeats);
  appendList(lines, " Hohe Stundenzahl: ", result.heavyDays);
  appendList(lines, " Sperrenkollision: ", result.lockedSlots);
  appendList(lines,
             " Mehrfachl\xFC"
             "cken:   ",
             result.longGaps);
}

std::vector<int> selectedTeachers(const Workspace& ws, const std::string& selection) {
  std::vector<int> teachers;
  if (selection.empty() || selection[0] != 'l') return teachers;
  for (size_t i = 1; i + 1 < selection.size(); ++i) {
    const int teacher = static_cast<unsigned char>(selection[i]);
    // Only real teachers have a grid row; anything else in the text is skipped.
    if (teacher >= 1 && teacher < ws.base.nTeachers()) teachers.push_back(teacher);
  }
  return teachers;
}

// Teacher codes separated by "," or blanks; false for an unknown code.
bool parseTeacherCodes(const Workspace& ws, const std::string& text, std::vector<int>& teachers) {
  std::string code;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ',';
    if (c != ',' && c != ' ' && c != ';') {
      code += c;
      continue;
    }
    if (code.empty()) continue;
    const int teacher = ws.base.findTeacher(code);
    if (teacher < 1 || teacher >= ws.base.nTeachers()) return false;
    teachers.push_back(teacher);
    code.clear();
  }
  return true;
}

bool validPeriods(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == ',' || c == ' '; });
}

// The field values of the choice box: the text of field n (0-based).
std::string fieldValue(const std::string& values, int n) {
  size_t start = 0;
  for (int i = 0; i < n; ++i) {
    start = values.find('|', start);
    if (start == std::string::npos) return {};
    ++start;
  }
  const size_t end = values.find('|', start);
  return values.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

std::vector<std::string> planControlLines(const Workspace& ws, const std::string& selection,
                                          const std::string& excludedPeriods) {
  std::vector<std::string> lines;
  const std::string exclusions = normalisedExclusions(excludedPeriods);
  const bool alternation = ws.base.weekAlternation;
  const int slots = std::min(ws.base.periodsPerDay, ws.plan.timetable.teacher.periods());
  for (int teacher : selectedTeachers(ws, selection)) {
    if (!alternation) {
      reportWeek(ws, teacher, {1, 1, slots}, "", exclusions, lines);
    } else {
      reportWeek(ws, teacher, {1, 2, (slots + 1) / 2}, " A", exclusions, lines);
      reportWeek(ws, teacher, {2, 2, slots / 2}, " B", exclusions, lines);
    }
  }
  return lines;
}

std::string teacherSelection(const Workspace& ws, const std::vector<int>& teachers) {
  std::string selection = "l";
  if (teachers.empty()) {
    for (int t = 1; t < ws.base.nTeachers(); ++t) selection += static_cast<char>(t);
  } else {
    for (int t : teachers) selection += static_cast<char>(t);
  }
  return selection + "|";
}

void printPlanControl(Workspace& ws, Ui& ui, const std::string& selection, const std::string& excludedPeriods) {
  const std::vector<std::string> report = planControlLines(ws, selection, excludedPeriods);
  if (selection.empty() || selection[0] != 'l') return;
  if (OpenPrintJob(ws, ui, kReportWidth).charsPerLine <= 0) return;
  const std::string& plan = ws.plan.planName;
  const std::string planName =
      plan.substr(plan.find_last_of('/') == std::string::npos ? 0 : plan.find_last_of('/') + 1);
  PrintLine(ws, "\xA1Plankontrolle\xA1 Plan " + planName + ", " + TodayText(), kReportWidth);
  PrintLine(ws, "", kReportWidth);
  for (const std::string& line : report) {
    if (line.rfind(">>", 0) == 0) PrintLine(ws, "", kReportWidth);
    PrintLine(ws, line, kReportWidth);
  }
  if (ClosePrintJob(ws) < 0) ui.message("Druckerfehler", MessageStyle{Icon::Stop});
}

void planControlDialog(Workspace& ws, Ui& ui) {
  std::string teachersText;
  std::string periodsText;
  for (;;) {
    const ChoiceOutcome outcome =
        ChoiceBox(ws, ui, "Plankontrolle",
                  "$Lehrer (leer = alle):" + teachersText + "|$Stunden ohne Wertung:" + periodsText +
                      "|Drucken|Druckerkonfiguration|Abbruch",
                  "Plankontrolle");
    if (outcome.choiceResult != 3 && outcome.choiceResult != 4) return;
    teachersText = fieldValue(outcome.choiceValues, 0);
    periodsText = fieldValue(outcome.choiceValues, 1);
    std::vector<int> teachers;
    if (!parseTeacherCodes(ws, teachersText, teachers) || !validPeriods(periodsText)) {
      ui.message("Eingabefehler!");
      continue;
    }
    const auto print = [&] { printPlanControl(ws, ui, teacherSelection(ws, teachers), periodsText); };
    if (outcome.choiceResult == 3) {
      print();
    } else {
      PrinterSetup(ws, ui, "Plankontrolle", print);
    }
    return;
  }
}

}  // namespace quort
