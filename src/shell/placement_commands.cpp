#include "shell/placement_commands.h"

#include <cctype>

#include "data/calendar.h"
#include "data/codepage.h"
#include "data/plan_records.h"
#include "shell/application.h"
#include "shell/batch_runner.h"
#include "shell/command_interpreter.h"
#include "shell/menu_actions.h"
#include "shell/menu_table.h"
#include "timetable/assignment_list.h"
#include "timetable/block_placement.h"
#include "timetable/lesson_move.h"
#include "timetable/lesson_removal.h"
#include "timetable/manual_placement.h"
#include "timetable/plan_views.h"
#include "timetable/room_setting.h"
#include "workspace/dialogs.h"
#include "workspace/plan_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr unsigned kTimetableModes = (1U << 0) | (1U << 1) | (1U << 2);

bool isSeparator(char c) { return c == ' ' || c == ',' || c == ';'; }
bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Digits from pos on; false when there are none.
bool readNumber(std::string_view text, size_t& pos, int& value) {
  const size_t start = pos;
  value = 0;
  while (pos < text.size() && isDigit(text[pos]) && value < 100000) value = value * 10 + (text[pos++] - '0');
  return pos > start;
}

int dayOfAbbrev(std::string_view text) {
  for (int day = 1; day <= 7; ++day) {
    if (text == DayAbbrev(day)) return day;
  }
  return 0;
}

bool readSlot(std::string_view text, size_t& pos, PlacementArguments& args) {
  int day = 0;
  if (isDigit(text[pos])) {
    if (!readNumber(text, pos, day) || pos >= text.size() || (text[pos] != ',' && text[pos] != ':')) return false;
    ++pos;
  } else {
    day = dayOfAbbrev(text.substr(pos, 2));
    if (day == 0) return false;
    pos += 2;
    while (pos < text.size() && text[pos] == ' ') ++pos;
  }
  int period = 0;
  if (!readNumber(text, pos, period)) return false;
  args.slot = Slot{day, period};
  return true;
}

bool readItem(std::string_view text, size_t& pos, PlacementArguments& args) {
  if (text[pos] == '#') {
    ++pos;
    int k = 0;
    if (!readNumber(text, pos, k)) return false;
    args.couplings = {k};
    // More numbers behind commas continue the list; "2:3" behind a comma stays a slot.
    while (pos + 1 < text.size() && text[pos] == ',' && isDigit(text[pos + 1])) {
      size_t next = pos + 1;
      if (!readNumber(text, next, k) || (next < text.size() && text[next] == ':')) break;
      args.couplings.push_back(k);
      pos = next;
    }
    args.coupling = args.couplings.front();
    return true;
  }
  const bool named = pos + 1 < text.size() && text[pos + 1] == ':' &&
                     std::string_view("KLFRN").find(text[pos]) != std::string_view::npos;
  if (!named) return readSlot(text, pos, args);
  const char letter = text[pos];
  pos += 2;
  const size_t start = pos;
  while (pos < text.size() && !isSeparator(text[pos])) ++pos;
  const std::string value(text.substr(start, pos - start));
  if (value.empty()) return false;
  switch (letter) {
    case 'K':
      args.classCode = value;
      break;
    case 'L':
      args.teacherCode = value;
      break;
    case 'F':
      args.subjectCode = value;
      break;
    case 'R':
      args.roomCode = value;
      break;
    default: {
      size_t digits = 0;
      return readNumber(value, digits, args.listNumber) && digits == value.size();
    }
  }
  return true;
}

// The text after position from, without the blanks in front.
std::string afterBlanks(const std::string& text, size_t from) {
  const size_t start = text.find_first_not_of(' ', from);
  return start == std::string::npos ? std::string() : text.substr(start);
}

const MessageStyle kInputError{Icon::Exclamation, kProgramTitle, true};

void inputError(Ui& ui) { ui.message("Eingabefehler!", kInputError); }

// Looks a code up; false (with "Eingabefehler!") when it names nothing.
bool lookUp(Ui& ui, const std::optional<std::string>& code, int (BaseData::*find)(std::string_view) const,
            const BaseData& base, int& index) {
  if (!code) return true;
  index = (base.*find)(*code);
  if (index == 0) inputError(ui);
  return index != 0;
}

struct Target {
  Slot slot;
  int schoolClass = 0;
  int teacher = 0;
  int subject = 0;
};

// The slot and entities the arguments name, with the current ones where they name none.
std::optional<Target> resolveTarget(Workspace& ws, Ui& ui, const PlacementArguments& args) {
  Target target{args.slot.value_or(Slot{ws.shell.currentDay, ws.shell.currentPeriod}), ws.shell.currentClass, 0, 0};
  if (target.slot.day < 1 || target.slot.day > ws.base.days || target.slot.period < 1 ||
      target.slot.period > ws.base.periodsPerDay) {
    inputError(ui);
    return std::nullopt;
  }
  if (!lookUp(ui, args.classCode, &BaseData::findClass, ws.base, target.schoolClass) ||
      !lookUp(ui, args.teacherCode, &BaseData::findTeacher, ws.base, target.teacher) ||
      !lookUp(ui, args.subjectCode, &BaseData::findSubject, ws.base, target.subject)) {
    return std::nullopt;
  }
  ws.shell.currentDay = target.slot.day;
  ws.shell.currentPeriod = target.slot.period;
  return target;
}

// Index of the first entry with periods left that matches.
template <typename Match>
std::optional<size_t> findEntry(const std::string& list, Match match) {
  for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
    const AssignmentView entry(list, i);
    if (entry.periods() > 0 && match(entry)) return i;
  }
  return std::nullopt;
}

// A trimmed code of the table, "?" for an index outside it.
template <typename Table>
std::string codeAt(const Table& table, int index) {
  if (index < 1 || index >= static_cast<int>(table.size())) return "?";
  return trimmedCode(table[static_cast<size_t>(index)].code);
}

// "WS E 5A" (or "E 5A" without a teacher): what a ">" with "F:" asked for.
std::string wantedLesson(const BaseData& base, const Target& target) {
  const std::string teacher = target.teacher > 0 ? codeAt(base.teachers, target.teacher) + " " : std::string();
  return teacher + codeAt(base.subjects, target.subject) + " " + codeAt(base.classes, target.schoolClass);
}

// The chosen entry as the user knows it: "MR D 5A" or "Kopplung 7".
std::string chosenEntryText(const BaseData& base, const std::string& entry) {
  const AssignmentView view(entry, 0);
  if (view.isCoupling()) return "Kopplung " + std::to_string(view.couplingNumber());
  return codeAt(base.teachers, view.teacher()) + " " + codeAt(base.subjects, view.subject()) + " " +
         codeAt(base.classes, view.schoolClass());
}

// Only an assignment list without open periods is "everything placed"; otherwise the
// message names what was looked for, so that a typo does not read as a finished plan.
std::string nothingToPlaceText(const std::string& list, const std::string& wanted) {
  const bool anyOpen = findEntry(list, [](const AssignmentView&) { return true; }).has_value();
  if (!anyOpen || wanted.empty()) return "Keine Stunden mehr zu setzen!";
  return "Keine Stunden f\xFCr " + wanted + " zu setzen!";
}

// The assignment a ">" command places: named in the arguments, or the chosen one.
std::optional<size_t> chooseEntry(Workspace& ws, Ui& ui, const PlacementArguments& args, const Target& target) {
  const std::string& list = ws.plan.assignments;
  std::optional<size_t> index;
  if (args.listNumber > 0) {
    const size_t i = static_cast<size_t>(args.listNumber) - 1;
    if (i < recordCount(list, AssignmentView::kSize) && AssignmentView(list, i).periods() > 0) index = i;
    if (!index) inputError(ui);
    return index;
  }
  std::string wanted;
  if (args.coupling > 0) {
    index =
        findEntry(list, [&](const AssignmentView& e) { return e.isCoupling() && e.couplingNumber() == args.coupling; });
    wanted = "Kopplung " + std::to_string(args.coupling);
  } else if (args.subjectCode) {
    index = findEntry(list, [&](const AssignmentView& e) {
      return !e.isCoupling() && e.schoolClass() == target.schoolClass && e.subject() == target.subject &&
             (target.teacher == 0 || e.teacher() == target.teacher);
    });
    wanted = wantedLesson(ws.base, target);
  } else if (args.classCode || args.teacherCode) {
    ui.message("Fach fehlt!", kInputError);
    return std::nullopt;
  } else if (ws.shell.currentEntry.size() == AssignmentView::kSize) {
    index = findAssignment(list, ws.shell.currentEntry);
    wanted = chosenEntryText(ws.base, ws.shell.currentEntry);
  } else {
    ui.message("Keine Daten ausgew\xE4hlt!");
    return std::nullopt;
  }
  if (!index) ui.message(nothingToPlaceText(list, wanted));
  return index;
}

void setRoomCommand(Workspace& ws, Ui& ui, const PlacementArguments& args, const Target& target) {
  const int room = args.roomCode ? ws.base.findRoom(*args.roomCode) : ws.shell.view.currentRoom;
  BackupPlanRecords(ws, ui);
  setRoom(ws, ui, RoomRequest{room, target.schoolClass, target.slot});
}

// ">#9,20": the couplings of a block in one slot.
void setBlockCommand(Workspace& ws, Ui& ui, const PlacementArguments& args, const Target& target) {
  BackupPlanRecords(ws, ui);
  recountHoursToPlace(ws);
  std::string name = "Block";
  for (size_t i = 0; i < args.couplings.size(); ++i) name += (i == 0 ? " " : ",") + std::to_string(args.couplings[i]);
  ws.history.name(name + " nach " + DayAbbrev(target.slot.day) + " " + std::to_string(target.slot.period));
  if (placeCouplings(ws, ui, args.couplings, target.slot) == PlaceOutcome::Placed) ws.shell.continuation = true;
}

bool substitutionModes(const Workspace& ws, Ui& ui) {
  if (ws.shell.workMode < 3) return false;
  ui.message("Funktion nicht verf\xFCgbar!", MessageStyle{Icon::Information});
  return true;
}

// ">": sets the chosen or named assignment at the slot, or with "R:" a room.
void setCommand(CommandContext& context, const std::string& command) {
  Workspace& ws = context.ws;
  if (substitutionModes(ws, context.ui)) return;
  const auto args = parsePlacementArguments(std::string_view(command).substr(1));
  if (!args) return inputError(context.ui);
  const auto target = resolveTarget(ws, context.ui, *args);
  if (!target) return;
  if (args->roomCode || ws.shell.workMode == 2) return setRoomCommand(ws, context.ui, *args, *target);
  if (args->couplings.size() > 1) return setBlockCommand(ws, context.ui, *args, *target);
  const auto index = chooseEntry(ws, context.ui, *args, *target);
  if (!index) return;
  BackupPlanRecords(ws, context.ui);
  recountHoursToPlace(ws);
  ws.shell.currentEntry = ws.plan.assignments.substr(*index * AssignmentView::kSize, AssignmentView::kSize);
  ws.history.name(chosenEntryText(ws.base, ws.shell.currentEntry) + " nach " + DayAbbrev(target->slot.day) + " " +
                  std::to_string(target->slot.period));
  if (placeAssignment(ws, context.ui, *index, target->slot) == PlaceOutcome::Placed) ws.shell.continuation = true;
}

// The class whose lesson "<" takes: named, the one the named or shown teacher teaches
// at the slot, or the current class.
int classToRemove(const Workspace& ws, const PlacementArguments& args, const Target& target) {
  if (args.classCode) return target.schoolClass;
  int teacher = target.teacher;
  if (teacher == 0 && ws.shell.view.kind == PlanViewKind::Teacher) teacher = ws.shell.currentTeacher;
  if (!hasTeacherGrid(ws.base, teacher)) return target.schoolClass;
  return ws.plan.timetable.teacher.at(teacher, target.slot.period, target.slot.day) >> 8;
}

// "<": takes the lesson at the slot back into the assignments, or with "R:" (and in the
// room plan) its room.
void removeCommand(CommandContext& context, const std::string& command) {
  Workspace& ws = context.ws;
  if (substitutionModes(ws, context.ui)) return;
  const auto args = parsePlacementArguments(std::string_view(command).substr(1));
  if (!args) return inputError(context.ui);
  const auto target = resolveTarget(ws, context.ui, *args);
  if (!target) return;
  if (!args->couplings.empty() && !args->roomCode && ws.shell.workMode != 2) {
    BackupPlanRecords(ws, context.ui);
    recountHoursToPlace(ws);
    removeCouplings(ws, context.ui, args->couplings, target->slot);
    return;
  }
  const int c = classToRemove(ws, *args, *target);
  if (c < 1 || c > ws.base.nClasses()) return;
  ws.shell.currentClass = c;
  BackupPlanRecords(ws, context.ui);
  if (args->roomCode || ws.shell.workMode == 2) {
    clearRoom(ws, c, target->slot);
    return;
  }
  const std::string key = entryKeyAt(ws, c, target->slot);
  recountHoursToPlace(ws);
  if (removeLesson(ws, context.ui, target->slot, c, RemoveMode::kAsk, ws.plan.assignments)) return;
  const AssignmentView removed(key, 0);
  const auto index = removed.isCoupling()
                         ? findEntry(ws.plan.assignments,
                                     [&](const AssignmentView& e) {
                                       return e.isCoupling() && e.couplingNumber() == removed.couplingNumber();
                                     })
                         : findAssignment(ws.plan.assignments, key);
  if (index) ws.shell.currentEntry = ws.plan.assignments.substr(*index * AssignmentView::kSize, AssignmentView::kSize);
}

// "P:" lists what is still to do: "P:" everything, "P:K" [class] or "P:L" [teacher] what
// concerns the current or named class or teacher; "P:n" chooses entry n of the list.
// Makes entry n (1-based) of the assignment list the one ">" places; false when there is none.
bool chooseEntry(Workspace& ws, const std::string& text) {
  size_t pos = 0;
  int n = 0;
  const std::string& list = ws.plan.assignments;
  if (!readNumber(text, pos, n) || n < 1 || static_cast<size_t>(n) > recordCount(list, AssignmentView::kSize)) {
    return false;
  }
  ws.shell.currentEntry = list.substr(static_cast<size_t>(n - 1) * AssignmentView::kSize, AssignmentView::kSize);
  decodeEntry(ws, ws.shell.currentEntry);
  return true;
}

void listCommand(CommandContext& context, const std::string& command) {
  Workspace& ws = context.ws;
  const std::string rest = afterBlanks(command, 2);
  if (!rest.empty() && isDigit(rest[0])) {
    if (!chooseEntry(ws, rest)) inputError(context.ui);
    return;
  }
  ListFilter filter;
  if (!rest.empty() && (rest[0] == 'K' || rest[0] == 'L')) {
    const std::string code = afterBlanks(rest, 1);
    const int named = code.empty() ? 0 : rest[0] == 'K' ? ws.base.findClass(code) : ws.base.findTeacher(code);
    if (!code.empty() && named == 0) return inputError(context.ui);
    if (rest[0] == 'K') filter.schoolClass = code.empty() ? ws.shell.currentClass : named;
    if (rest[0] == 'L') filter.teacher = code.empty() ? ws.shell.currentTeacher : named;
  } else if (!rest.empty()) {
    return inputError(context.ui);
  }
  if (ws.shell.workMode == 2) {
    context.ui.showText("ohne Raum", joinLines(missingRoomsList(ws, filter)));
  } else {
    // Every line begins with the entry's number, so a picked line chooses that entry.
    const std::vector<std::string> lines = lessonsToPlaceList(ws, filter);
    const int picked = context.ui.showPickList("zu setzen", lines);
    if (picked >= 0 && static_cast<size_t>(picked) < lines.size()) chooseEntry(ws, afterBlanks(lines[picked], 0));
  }
}

// "E:" [slot]: free rooms and teachers at the slot and where the chosen entry fits.
void resourcesCommand(CommandContext& context, const std::string& command) {
  Workspace& ws = context.ws;
  const auto args = parsePlacementArguments(std::string_view(command).substr(2));
  if (!args) return;
  Slot slot = args->slot.value_or(Slot{ws.shell.currentDay, ws.shell.currentPeriod});
  if (slot.day < 1 || slot.day > ws.base.days || slot.period < 1 || slot.period > ws.base.periodsPerDay) return;
  context.ui.showText("Resourcen", joinLines(resourcesText(ws, slot)));
}

// "X:" switches what the plan view shows: "K", "L", "R", "FS" the class, teacher, room or
// subject plans (a code after it chooses the entity), "AK"/"NK", "AL"/"NL" class and
// teacher codes in the cells on or off, "AR" the rooms on or off, "A" everything on.
void viewCommand(CommandContext& context, const std::string& command) {
  Workspace& ws = context.ws;
  PlanViewSwitches& view = ws.shell.view;
  const std::string rest = command.substr(2);
  const size_t blank = rest.find(' ');
  const std::string word = rest.substr(0, blank);
  const std::string code = blank == std::string::npos ? "" : afterBlanks(rest, blank);
  const auto choose = [&](PlanViewKind kind, int index, int& current) {
    if (!code.empty() && index == 0) return;
    view.kind = kind;
    if (index != 0) current = index;
  };
  if (word == "K") choose(PlanViewKind::Class, ws.base.findClass(code), ws.shell.currentClass);
  if (word == "L") choose(PlanViewKind::Teacher, ws.base.findTeacher(code), ws.shell.currentTeacher);
  if (word == "R") choose(PlanViewKind::Room, ws.base.findRoom(code), view.currentRoom);
  if (word == "FS") choose(PlanViewKind::Subject, ws.base.findSubject(code), view.currentSubject);
  if (word == "A") view.showClass = view.showTeacher = view.showRoom = true;
  // Every switch brings the week grid back in place of the coupling or block list.
  ws.shell.mainView = MainView::WeekGrid;
  if (word == "AK" || word == "NK") view.showClass = word[0] == 'A';
  if (word == "AL" || word == "NL") view.showTeacher = word[0] == 'A';
  if (word == "AR") view.showRoom = !view.showRoom;
}

std::string buttonCommand(const std::string& caption) {
  if (caption ==
      "zur\xFC"
      "ck")
    return "U";
  if (caption == "entfernen") return "<";
  if (caption == "einf\xFCgen") return ">";
  if (caption == "zu setzen") return "P:";
  if (caption == "Resourcen") return "E";
  return {};
}

}  // namespace

std::optional<PlacementArguments> parsePlacementArguments(std::string_view text) {
  PlacementArguments args;
  size_t pos = 0;
  while (true) {
    while (pos < text.size() && isSeparator(text[pos])) ++pos;
    if (pos >= text.size()) return args;
    if (!readItem(text, pos, args)) return std::nullopt;
    if (pos < text.size() && !isSeparator(text[pos])) return std::nullopt;
  }
}

void registerPlacementCommands(CommandInterpreter& interpreter) {
  interpreter.registerCommand(">", setCommand);
  interpreter.registerCommand("<", removeCommand);
  interpreter.registerCommand("P:", listCommand, kTimetableModes);
  interpreter.registerCommand("E:", resourcesCommand, kTimetableModes);
  interpreter.registerCommand("X:", viewCommand);
}

void showPlanOverview(Workspace& ws, Ui& ui) {
  const ChoiceOutcome choice = ChoiceBox(ws, ui,
                                         "Plan\xFC"
                                         "bersicht:",
                                         "#Klassen|Lehrer|R\xE4ume|Gesamt",
                                         "Plan\xFC"
                                         "bersicht:");
  if (choice.choiceResult < 1 || choice.choiceResult > 4) return;
  const char* const titles[] = {"Klassen", "Lehrer", "R\xE4ume", "Gesamt"};
  ui.showText(std::string("Plan\xFC"
                          "bersicht: ") +
                  titles[choice.choiceResult - 1],
              joinLines(planOverview(ws, static_cast<OverviewPart>(choice.choiceResult))));
}

void addPlacementKeywords(BatchRunner& runner) {
  runner.addKeyword("button", [](BatchRunner& r, const std::string& argument) {
    const std::string caption = utf8ToCp1252(argument);
    if (caption ==
        "\xDC"
        "bersicht") {
      showPlanOverview(r.app().workspace(), r.ui());
      return true;
    }
    const std::string command = buttonCommand(caption);
    if (command.empty()) {
      r.fail("button: unbekannt: " + argument);
      return false;
    }
    const CommandOutcome outcome = r.app().typeCommand(command + "\r");
    if (outcome == CommandOutcome::Dispatched) return true;
    r.fail("button " + argument + ": " + cp1252ToUtf8(outcomeText(outcome)));
    return false;
  });
  runner.addKeyword("menu", [](BatchRunner& r, const std::string& argument) {
    const bool digits =
        !argument.empty() && argument.size() <= 4 && argument.find_first_not_of("0123456789") == std::string::npos;
    const MenuNode* item = digits ? findMenuItem(std::stoi(argument)) : nullptr;
    if (item == nullptr) {
      r.fail("menu: kein Men\xC3\xBCpunkt: " + argument);
      return false;
    }
    // A grey item cannot be chosen; a script that asks for one did not get what it wanted.
    if (!menuItemReachable(item->id, r.app().workspace())) {
      r.fail("menu: " + argument + " ist gesperrt (" + cp1252ToUtf8(item->caption) + ")");
      return false;
    }
    runMenuItem(r.app(), item->id);
    return true;
  });
}

}  // namespace quort
