#include "shell/history_commands.h"

#include <string>

#include "data/codepage.h"
#include "shell/application.h"
#include "shell/batch_runner.h"
#include "shell/placement_commands.h"
#include "timetable/assignment_list.h"
#include "workspace/plan_history.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

// After a walk the per-teacher counts of what is left to place must follow the tables.
bool walked(Application& app, bool moved) {
  if (moved) recountHoursToPlace(app.workspace());
  return moved;
}

std::optional<Slot> slotOf(const Workspace& ws, const std::string& text) {
  const auto args = parsePlacementArguments(text);
  if (!args || !args->slot || args->classCode) return std::nullopt;
  const Slot slot = *args->slot;
  if (slot.day < 1 || slot.day > ws.base.days || slot.period < 1 || slot.period > ws.base.periodsPerDay) {
    return std::nullopt;
  }
  return slot;
}

// "DI3 MI4" or "2,3 3,4 K:7B".
std::optional<MoveRequest> parseMove(const Workspace& ws, const std::string& argument) {
  std::vector<std::string> words;
  size_t pos = 0;
  while ((pos = argument.find_first_not_of(' ', pos)) != std::string::npos) {
    const size_t end = argument.find(' ', pos);
    words.push_back(argument.substr(pos, end - pos));
    pos = end;
  }
  if (words.size() < 2 || words.size() > 3) return std::nullopt;
  MoveRequest request{ws.shell.currentClass, {}, {}};
  if (words.size() == 3) {
    if (words[2].rfind("K:", 0) != 0) return std::nullopt;
    request.schoolClass = ws.base.findClass(words[2].substr(2));
    if (request.schoolClass == 0) return std::nullopt;
  }
  const auto from = slotOf(ws, words[0]);
  const auto to = slotOf(ws, words[1]);
  if (!from || !to) return std::nullopt;
  request.from = *from;
  request.to = *to;
  return request;
}

}  // namespace

bool undoPlanStep(Application& app) {
  Workspace& ws = app.workspace();
  return walked(app, ws.history.undo(ws.plan));
}

bool redoPlanStep(Application& app) {
  Workspace& ws = app.workspace();
  return walked(app, ws.history.redo(ws.plan));
}

MoveOutcome moveLessonStep(Application& app, MoveRequest request) {
  Workspace& ws = app.workspace();
  ws.history.begin(ws.plan);
  const MoveOutcome outcome = moveLesson(ws, app.ui(), request);
  ws.history.commit(ws.plan, "Verschieben");
  return outcome;
}

std::string undoCaption(const Application& app) {
  const std::string name = app.workspace().history.undoName();
  return name.empty() ? "R\xFC"
                        "ckg\xE4ngig"
                      : "R\xFC"
                        "ckg\xE4ngig: " +
                            name;
}

std::string redoCaption(const Application& app) {
  const std::string name = app.workspace().history.redoName();
  return name.empty() ? "Wiederholen" : "Wiederholen: " + name;
}

void addHistoryKeywords(BatchRunner& runner) {
  runner.addKeyword("undo", [](BatchRunner& r, const std::string&) {
    if (undoPlanStep(r.app())) return true;
    r.fail(
        "undo: nichts r\xC3\xBC"
        "ckg\xC3\xA4ngig zu machen");
    return false;
  });
  runner.addKeyword("redo", [](BatchRunner& r, const std::string&) {
    if (redoPlanStep(r.app())) return true;
    r.fail("redo: nichts zu wiederholen");
    return false;
  });
  runner.addKeyword("move", [](BatchRunner& r, const std::string& argument) {
    const auto request = parseMove(r.app().workspace(), utf8ToCp1252(argument));
    if (!request) {
      r.fail("move: Eingabefehler: " + argument);
      return false;
    }
    switch (moveLessonStep(r.app(), *request)) {
      case MoveOutcome::Moved:
        return true;
      case MoveOutcome::NoLesson:
        r.fail("move " + argument + ": keine Stunde dort");
        return false;
      case MoveOutcome::Refused:
        break;
    }
    r.fail("move " + argument + ": abgelehnt");
    return false;
  });
}

}  // namespace quort
