#pragma once

#include <string>
#include <vector>

namespace quort {

struct Workspace;
class Application;
enum class MainButton;

// The substitution items of the menus: "Datenpflege" (105, 149), "Löschen" › "Plan" in work
// mode 3 (107), "Vertretungen" (108), "Stattstunden" (109), "Extrastunden" (143). false for
// any other item.
bool runSubstitutionMenuItem(Application& app, int id);

// The buttons of work mode 3 that differ from the planning modes: "Vorgaben", "anzeigen"
// (the "Vertretungen" dialog), "St" (the freed lessons), "Me" ("Zu vertreten:"). false for
// the others.
bool pressSubstitutionButton(Application& app, MainButton button);

// "Zu vertreten:" beside the plan in work mode 3: the open lessons of the current date, and
// the command that opens the "Vertretung" dialog of the row-th of them (empty for none).
std::vector<std::string> dayOpenLessonLines(const Workspace& ws);
std::string openLessonCommand(const Workspace& ws, int row);

}  // namespace quort
