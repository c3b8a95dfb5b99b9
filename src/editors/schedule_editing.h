#pragma once

#include <array>
#include <string>
#include <vector>

namespace quort {

struct BaseData;
struct Workspace;
class Ui;

// The fields of "Zahl der Tage:", "Stunden pro Tag:", "Mittagsanfang:", "Wochenwechsel:".
struct DaysAndPeriodsInput {
  std::string days;
  std::string periods;
  std::string afternoon;
  bool weekAlternation = false;
};

// The fields as the dialog shows them: periods and afternoon start per week with
// alternation halved.
DaysAndPeriodsInput currentDaysAndPeriods(const BaseData& base);

// "Anwenden": checks and stores. Fewer days or periods give the lessons placed there back
// to the assignments; more keep every cell. Switching the week alternation while lessons
// are placed is refused, as every slot would change its meaning. false when refused.
bool applyDaysAndPeriods(Workspace& ws, Ui& ui, const DaysAndPeriodsInput& input);

// Options 1 to 11 as the dialog shows them (decimal with a leading blank).
using PlanOptionFields = std::array<std::string, 11>;
PlanOptionFields currentPlanOptionFields(const BaseData& base);
// The caption of option field i (0-based), e.g. "1. zu setzende Stunden:".
std::string planOptionCaption(size_t i);
// The numbers of the fields whose values are not accepted.
std::vector<int> planOptionErrors(const BaseData& base, const PlanOptionFields& fields);
// "Anwenden": stores the eleven values and sets option 12 to 1, or shows "Fehler bei
// Wert: " with the failing fields and changes nothing. false when refused.
bool applyPlanOptions(Workspace& ws, Ui& ui, const PlanOptionFields& fields);
// "Zurücksetzen": options 1 to 12 back to their defaults; the afternoon start stays.
void resetPlanOptionValues(Workspace& ws);

}  // namespace quort
