#pragma once

namespace quort {

struct Workspace;
class Ui;

// "Löschen" › "Zu setzende Stunden": after "Alle zu setzende Stunden löschen?" the
// assignments still to place are dropped ("zurück" brings them back). true when done.
bool deleteLessonsToPlace(Workspace& ws, Ui& ui);

// "Löschen" › "Plan": in work modes 0 and 1 the timetable of the current class, of the
// current teacher or of all classes goes back into the assignments (coupled and fixed
// lessons only when ticked); in mode 2 the rooms of the current class or of all classes
// are cleared. Other modes have plans of their own. true when something was deleted.
bool deletePlan(Workspace& ws, Ui& ui);

}  // namespace quort
