#include "editors/schedule_editing.h"

#include <cmath>
#include <iterator>
#include <optional>

#include "data/base_data.h"
#include "data/number_text.h"
#include "data/plan_grids.h"
#include "editors/entity_remap.h"
#include "timetable/lesson_removal.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

const MessageStyle kScheduleRefusal{Icon::Exclamation, kProgramTitle, true};

std::string withoutLineBreaksAndBlanks(std::string text) {
  std::erase_if(text, [](char c) { return c == ' ' || c == '\r' || c == '\n'; });
  return text;
}

// A decimal number and nothing else ("," or "." before the fraction); no sign.
std::optional<double> decimalField(const std::string& text) {
  std::string value = withoutLineBreaksAndBlanks(text);
  for (char& c : value) {
    if (c == ',') c = '.';
  }
  if (value.empty() || value.find_first_not_of("0123456789.") != std::string::npos ||
      value.find('.') != value.rfind('.') || value == ".") {
    return std::nullopt;
  }
  return numericValue(value);
}

bool anyLessonPlaced(const Workspace& ws) {
  const Grid& lessons = ws.plan.timetable.lessonWord;
  for (int c = 1; c <= lessons.entities(); ++c) {
    for (int p = 1; p <= lessons.periods(); ++p) {
      for (int d = 1; d <= kGridDays; ++d) {
        if (lessons.at(c, p, d) != 0) return true;
      }
    }
  }
  return false;
}

// Lessons on days or in periods that the week no longer has go back to the assignments.
void returnLessonsOutside(Workspace& ws, Ui& ui, int days, int periods) {
  const Grid& lessons = ws.plan.timetable.lessonWord;
  for (int c = 1; c <= lessons.entities(); ++c) {
    for (int d = 1; d <= kGridDays; ++d) {
      for (int p = 1; p <= lessons.periods(); ++p) {
        if ((d <= days && p <= periods) || lessons.at(c, p, d) == 0) continue;
        removeLesson(ws, ui, Slot{d, p}, c, RemoveMode::kUnprotected, ws.plan.assignments);
      }
    }
  }
}

void resizeGridSet(TimetableGrids& grids, int periods) {
  for (Grid* grid :
       {&grids.lessonWord, &grids.roomWord, &grids.teacher, &grids.room, &grids.subject, &grids.roomLock}) {
    *grid = remapGridRows(*grid, grid->entities(), periods, unchangedIndexes(grid->entities()));
  }
}

std::string optionText(double value) {
  const float single = static_cast<float>(value);
  if (single == std::floor(single) && std::fabs(single) < 1e7F) return " " + std::to_string(static_cast<long>(single));
  std::string text = std::to_string(single);
  while (text.back() == '0') text.pop_back();
  return " " + text;
}

}  // namespace

DaysAndPeriodsInput currentDaysAndPeriods(const BaseData& base) {
  const int factor = base.weekAlternation ? 2 : 1;
  return {std::to_string(base.days), std::to_string(base.periodsPerDay / factor),
          std::to_string(base.afternoonStart / factor), base.weekAlternation};
}

bool applyDaysAndPeriods(Workspace& ws, Ui& ui, const DaysAndPeriodsInput& input) {
  const int w = input.weekAlternation ? 1 : 0;
  const double days = numericValue(withoutLineBreaksAndBlanks(input.days));
  if (days < 1 || days > 6) {
    ui.message(
        "Zahl der Tage \xFC"
        "ber 6!",
        kScheduleRefusal);
    return false;
  }
  const double periods = (w + 1) * std::trunc(numericValue(withoutLineBreaksAndBlanks(input.periods)));
  if (periods < 4 || periods > 10) {
    ui.message("Stundenzahl nicht zwischen 4 und 10!", kScheduleRefusal);
    return false;
  }
  if (input.weekAlternation != ws.base.weekAlternation && anyLessonPlaced(ws)) {
    ui.message("Wochenwechsel nicht umstellbar: Stunden sind gesetzt!", kScheduleRefusal);
    return false;
  }
  double afternoon = (w + 1) * std::trunc(numericValue(withoutLineBreaksAndBlanks(input.afternoon)));
  if (afternoon <= 1 || afternoon > periods) afternoon = 6;
  const int newDays = static_cast<int>(days);
  const int newPeriods = static_cast<int>(periods);
  if (ws.base.loaded()) returnLessonsOutside(ws, ui, newDays, newPeriods);
  ws.base.days = newDays;
  ws.base.periodsPerDay = newPeriods;
  ws.base.afternoonStart = static_cast<int>(afternoon);
  ws.base.weekAlternation = input.weekAlternation;
  resizeGridSet(ws.plan.timetable, newPeriods);
  resizeGridSet(ws.plan.reference, newPeriods);
  recomputeDerivedGrids(ws.base, ws.plan);
  ws.backup = PlanBackup{};
  ws.placement.hoursToPlace.clear();
  ws.plan.modifiedPlan = true;
  return true;
}

std::string planOptionCaption(size_t i) {
  static const char* const kCaptions[] = {"1. zu setzende Stunden:",
                                          "2. gesetzte Klassenstunden:",
                                          "3. zu setzende Lehrerstunden:",
                                          "4. Lehrerspringstunden:",
                                          "5. \374berm\xE4\xDFige Lehrerstunden:",
                                          "6. Fortschritt Lehrerplan:",
                                          "7. Fachbeschr\xE4nkungen:",
                                          "8. max.Lehrerstundenzahl/Tag:",
                                          "9. max.Zahl der Planversuche:",
                                          "10. Versuchszahl/Plan (<10):",
                                          "11. Variationsbreite (<10):"};
  return i < std::size(kCaptions) ? kCaptions[i] : std::string();
}

PlanOptionFields currentPlanOptionFields(const BaseData& base) {
  PlanOptionFields fields;
  for (int option = 1; option <= 11; ++option)
    fields[static_cast<size_t>(option - 1)] = optionText(base.planOptions.value(option));
  return fields;
}

std::vector<int> planOptionErrors(const BaseData& base, const PlanOptionFields& fields) {
  std::vector<int> failing;
  for (int option = 1; option <= 11; ++option) {
    const auto value = decimalField(fields[static_cast<size_t>(option - 1)]);
    bool ok = value.has_value();
    if (ok && option >= 8) ok = *value == std::floor(*value);  // stored as whole numbers
    if (ok && option <= 7) ok = *value <= 100;
    if (ok && option == 8) ok = *value >= 2 && *value <= base.periodsPerDay;
    if (ok && option == 9) ok = *value >= 1 && *value <= 1000;
    if (ok && option >= 10) ok = *value <= 9;
    if (!ok) failing.push_back(option);
  }
  return failing;
}

bool applyPlanOptions(Workspace& ws, Ui& ui, const PlanOptionFields& fields) {
  const std::vector<int> failing = planOptionErrors(ws.base, fields);
  if (!failing.empty()) {
    std::string text = "Fehler bei Wert: ";
    for (size_t i = 0; i < failing.size(); ++i) text += (i > 0 ? "," : "") + std::to_string(failing[i]);
    ui.message(text, MessageStyle{Icon::Exclamation, kProgramTitle, true});
    return false;
  }
  for (int option = 1; option <= 11; ++option) {
    ws.base.planOptions.setValue(option, *decimalField(fields[static_cast<size_t>(option - 1)]));
  }
  ws.base.planOptions.setValue(12, 1);
  return true;
}

void resetPlanOptionValues(Workspace& ws) { ws.base.planOptions = PlanOptions{}; }

}  // namespace quort
