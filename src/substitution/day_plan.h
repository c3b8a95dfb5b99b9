#pragma once

#include <string>
#include <vector>

namespace quort {

struct Workspace;
class Ui;

// "Auswerten": turns the day's absence list into open and freed lessons, takes the lessons
// out of the timetable, marks absent teachers and extends t<WD>.x line 1. Days other than
// Monday to Saturday do nothing. false when a file failed.
bool evaluateDay(Workspace& ws, Ui& ui, const std::string& date);

// One lesson to set: the slot, the class, the text "MR-D R12 (note)" (teacher "*" for a
// cancelled lesson) and the remark (the absence's reason).
struct SubstitutionRequest {
  std::string date;
  int day = 0;
  int period = 0;  // internal
  int schoolClass = 0;
  std::string text;
  std::string remark;
  // The automatic run has checked the teacher and room itself and must not be asked.
  bool unattended = false;
  // The planned lesson comes back: the absent teacher's mark does not stop it, no freed
  // lesson is consumed.
  bool reconstruct = false;
  // An exam takes the slot over: the class's lesson is replaced and the teacher leaves a
  // lesson elsewhere, which becomes open, without a question. Locks and rooms held by
  // other classes still refuse.
  bool examPeriod = false;
};
// Validates, places the lesson, consumes the open lesson and the freed lesson the note
// names, writes s<WD>.x and prot.x. On refusal or a file error nothing has changed.
bool setSubstitution(Workspace& ws, Ui& ui, const SubstitutionRequest& request);

// The planned lesson of the class at the slot as setSubstitution text (its "(st. MO3)"
// note included); empty when the plan has none there.
std::string plannedLessonText(const Workspace& ws, int schoolClass, int day, int period);
// Sets the planned lesson back ("Rekonstruieren").
bool reconstructLesson(Workspace& ws, Ui& ui, const std::string& date, int schoolClass, int period);

// "Stornieren": every lesson of the day that differs from the plan is set back, the
// absence marks return to the locks they replaced, the day's open and freed lessons go.
bool cancelDay(Workspace& ws, Ui& ui, const std::string& date);

// The reason of the absence that made the lesson open; empty when none is listed.
std::string absenceReasonFor(const Workspace& ws, int teacher, int schoolClass, int room, int period);

// The lines of "Zu vertreten:" / "Löschen von Vertretungen:" for the day (0: all days).
std::vector<std::string> openLessonLines(const Workspace& ws, int day);
// The lines of the freed lessons ("Stattstunden").
std::vector<std::string> freedLessonLines(const Workspace& ws);

// Shown period of an internal one and back (first internal period of a shown one).
int shownPeriod(const Workspace& ws, int period);

}  // namespace quort
