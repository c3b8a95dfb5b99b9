#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quort {

struct Workspace;
class Ui;

// Couplings are written "<n>:" followed by their members, each as class, blank, teacher,
// blank, subject and suffix, and ",": "7:11A SD D1,11B AL M1,".
std::string couplingText(const Workspace& ws, int coupling);

// A coupling text read back: the number before ":" (0 when there is none) and the member
// bytes. std::nullopt after "Fehler: <code>" or "<code> mehrfach eingesetzt!" was reported.
struct ParsedCoupling {
  int number = 0;
  std::string members;
};
std::optional<ParsedCoupling> parseCouplingText(const Workspace& ws, Ui* report, std::string_view text);

// Whether a lesson of the coupling stands in the timetable.
bool couplingPlaced(const Workspace& ws, int coupling);
// Takes every placed lesson of the coupling out of the timetable; its periods go back into
// the assignments. The plan records are saved for "zurück" first.
void removeCouplingFromPlan(Workspace& ws, Ui& ui, int coupling);

// "Hinzufügen": stores the text as coupling count + 1. The new number, 0 when refused.
int addCoupling(Workspace& ws, Ui& ui, std::string_view text);
// "Ersetzen": the text becomes coupling number. A placed coupling first asks "Kopplung aus
// dem Plan löschen?"; Yes takes its lessons out of the timetable. false when refused.
bool replaceCoupling(Workspace& ws, Ui& ui, int number, std::string_view text);
// "Löschen": "Alle Kopplungen ab <n> löschen?", else "Alle Kurse der Kopplung <n>
// löschen?". Deleted couplings leave the timetable and are emptied; trailing empty ones
// are dropped. The number of couplings deleted.
int deleteCouplings(Workspace& ws, Ui& ui, int number);
// "Kurse kopieren aus Kopplung:": the members of source as course text (without "<n>:"),
// after "Kurse aus Kopplung <n> kopieren?"; std::nullopt when not confirmed.
std::optional<std::string> copyCoursesFrom(const Workspace& ws, Ui& ui, int source);

}  // namespace quort
