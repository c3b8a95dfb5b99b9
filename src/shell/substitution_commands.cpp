#include "shell/substitution_commands.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "data/calendar.h"
#include "data/codepage.h"
#include "data/plan_records.h"
#include "shell/application.h"
#include "shell/batch_runner.h"
#include "shell/command_interpreter.h"
#include "shell/exam_output_commands.h"
#include "substitution/absence_dialog.h"
#include "substitution/absence_register.h"
#include "substitution/candidates.h"
#include "substitution/day_files.h"
#include "substitution/day_plan.h"
#include "substitution/day_records.h"
#include "substitution/day_text_file.h"
#include "substitution/dialog_support.h"
#include "substitution/extra_work_log.h"
#include "substitution/extra_work_reports.h"
#include "substitution/lesson_dialog.h"
#include "workspace/clock.h"
#include "workspace/dialog_session.h"
#include "workspace/dialogs.h"
#include "workspace/plan_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr unsigned kSubstitutionMode = 0x08;

// The date the day's work is about: the dialog's date, else "today".
std::string substitutionDate(Workspace& ws) {
  if (Weekday(ws.dialogs.currentDate) <= 0) ws.dialogs.currentDate = workspaceToday(ws);
  return ws.dialogs.currentDate;
}

int firstInternalPeriod(const Workspace& ws, int shown) { return ws.base.weekAlternation ? 2 * shown - 1 : shown; }

// "Z:" + period + ",K:" + class + ">": the "Vertretung" dialog of the lesson. Without a
// period ("Z:,K:5A", menu "Extrastunden") the current slot of the class takes an extra lesson.
void lessonCommand(CommandContext& context, const std::string& command) {
  Workspace& ws = context.ws;
  const size_t k = command.find(",K:");
  if (k == std::string::npos) return context.ui.message("Eingabefehler!");
  const std::string periodText = command.substr(2, k - 2);
  const bool extra = periodText.find_first_not_of(' ') == std::string::npos;
  const int shown = extra ? shownPeriod(ws, ws.shell.currentPeriod) : std::atoi(periodText.c_str());
  std::string code = command.substr(k + 3);
  if (!code.empty() && code.back() == '>') code.pop_back();
  const int c = ws.base.findClass(code);
  if (c == 0 || shown < 1 || shown > lastShownPeriod(ws.base)) return context.ui.message("Eingabefehler!");
  const std::string date = substitutionDate(ws);
  const int day = Weekday(date);
  if (day < 1 || day > 6) return context.ui.message("Datumsfehler!");
  ws.shell.currentClass = c;
  ws.shell.currentPeriod = extra ? ws.shell.currentPeriod : firstInternalPeriod(ws, shown);
  ws.shell.currentDay = day;
  ws.shell.view.kind = PlanEntity::Class;
  ws.shell.mainView = MainView::WeekGrid;
  SubstituteLessonSession session(ws, context.ui, {date, c, ws.shell.currentPeriod, extra});
  context.ui.runDialog(session);
}

// "V:": the "Vertretungen" dialog of the day.
void absenceDayCommand(CommandContext& context, const std::string&) {
  AbsenceDaySession session(context.ws, context.ui, &examDayActions());
  context.ui.runDialog(session);
}

// "^" in work mode 3: "Vertretungen - Vorgaben", the automatic run of a day.
void autoSubstituteCommand(CommandContext& context, const std::string&) {
  Workspace& ws = context.ws;
  ChoiceBoxRequest request;
  request.prompt = "Vertretungen - Vorgaben";
  request.title = "Vertretungen - Vorgaben";
  request.helpFile = substitutionHelp(ws, "vset");
  request.items.push_back({ChoiceItem::Kind::TextField, "Datum (TT.MM.JJJJ)", substitutionDate(ws), false, {}});
  for (const char* box : {"Vertretungsplan l\xF6schen", "Randstunden freigeben", "Oberstufenstunden freigeben",
                          "Planstunden verschieben"}) {
    request.items.push_back({ChoiceItem::Kind::CheckBox, box, "0", false, {}});
  }
  for (const char* button : {"Auswerten", "Abbruch"}) {
    request.items.push_back({ChoiceItem::Kind::Button, button, {}, false, {}});
  }
  const ChoiceOutcome outcome = context.ui.choiceBox(request);
  if (outcome.choiceResult != 6) return;
  const std::vector<std::string> values = outcome.values(5);
  const auto date = calendarDate(values[0]);
  if (!date) return context.ui.message("Datumsfehler!");
  ws.dialogs.currentDate = *date;
  AutoSubstituteOptions options;
  options.date = *date;
  options.clearFirst = values[1] == "1";
  options.releaseEdge = values[2] == "1";
  options.releaseUpper = values[3] == "1";
  options.moveLessons = values[4] == "1";
  autoSubstitute(ws, context.ui, options);
}

void openLessonsCommand(CommandContext& context, const std::string&, bool deleting) {
  Workspace& ws = context.ws;
  const std::string date = substitutionDate(ws);
  const std::vector<std::string> lines = openLessonLines(ws, Weekday(date));
  const std::string title = deleting ? "L\xF6schen von Vertretungen:" : "Zu vertreten:";
  const int chosen = context.ui.showPickList(title, lines);
  if (chosen < 0 || static_cast<size_t>(chosen) >= lines.size()) return;
  size_t seen = 0;
  for (size_t i = 0; i < recordCount(ws.plan.openLessons, 7); ++i) {
    const OpenLessonRecord open = openLessonAt(ws.plan.openLessons, i);
    if (open.day != Weekday(date) || seen++ != static_cast<size_t>(chosen)) continue;
    if (!deleting) {
      context.issue("Z:" + std::to_string(shownPeriod(ws, open.period)) +
                    ",K:" + ws.base.classes[static_cast<size_t>(open.schoolClass)].code + ">");
      return;
    }
    const int answer =
        ChoiceBox(ws, context.ui, lines[static_cast<size_t>(chosen)] + " - Plan rekonstruieren", "#Ja|Nein|Abbruch")
            .choiceResult;
    if (answer == 1) reconstructLesson(ws, context.ui, date, open.schoolClass, open.period);
    if (answer == 2) removeOpenLesson(ws.plan.openLessons, open.schoolClass, open.day, open.period);
    return;
  }
}

}  // namespace

void registerSubstitutionCommands(CommandInterpreter& interpreter) {
  interpreter.registerCommand(
      "P:", [](CommandContext& context, const std::string& c) { openLessonsCommand(context, c, false); },
      kSubstitutionMode);
  interpreter.registerCommand(
      "D:", [](CommandContext& context, const std::string& c) { openLessonsCommand(context, c, true); },
      kSubstitutionMode);
  interpreter.registerCommand("Z:", lessonCommand, kSubstitutionMode);
  interpreter.registerCommand("V:", absenceDayCommand, kSubstitutionMode);
  interpreter.registerCommand("^", autoSubstituteCommand, kSubstitutionMode);
}

namespace {

Workspace& wsOf(BatchRunner& runner) { return runner.app().workspace(); }

bool dateKeyword(BatchRunner& runner, const std::string& argument, bool clock) {
  const auto [day, time] = firstWordAndRest(argument);
  const auto date = calendarDate(day);
  if (!date) {
    runner.fail("Datum erwartet: " + argument);
    return false;
  }
  (clock ? wsOf(runner).substitution.clockDate : wsOf(runner).dialogs.currentDate) = *date;
  // "clock TT.MM.JJJJ HH:MM" also fixes the time of day the outputs print.
  if (clock) wsOf(runner).substitution.clockTime = time.size() == 5 && time[2] == ':' ? time : std::string();
  return true;
}

// "absence store|add|delete [bis DATE] ITEM": ITEM as the day's list shows it,
// "who[:a-b][n](reason)"; "absence read" reads termin.x, "absence list" prints the list.
bool absenceKeyword(BatchRunner& runner, const std::string& argument) {
  Workspace& ws = wsOf(runner);
  const std::string date = substitutionDate(ws);
  auto [action, rest] = firstWordAndRest(utf8ToCp1252(argument));
  if (action == "list") {
    for (const std::string& item : ws.substitution.absences) runner.printText("  " + item);
    return true;
  }
  if (action == "read") return readAbsences(ws, runner.ui(), date, AbsenceMode::ReadRegister);
  AbsenceInput input;
  input.from = date;
  if (rest.starts_with("bis ")) {
    const auto [until, item] = firstWordAndRest(rest.substr(4));
    input.to = until;
    rest = item;
  }
  const AbsenceItemFields fields = parseAbsenceItem(rest);
  input.who = fields.who;
  input.firstPeriod = fields.first > 0 ? std::to_string(fields.first) : "";
  input.lastPeriod = fields.last > 0 ? std::to_string(fields.last) : "";
  input.countFlag = fields.countFlag;
  input.reason = fields.reason;
  if (action == "delete") {
    const auto entry = normaliseAbsence(ws.base, runner.ui(), input);
    return !entry || deleteAbsence(ws, runner.ui(), *entry) || true;
  }
  const AbsenceMode mode = action == "store" ? AbsenceMode::StoreAndList
                           : action == "add" ? AbsenceMode::ListOnly
                                             : AbsenceMode::StoreOnly;
  if (action != "store" && action != "add" && action != "store-only") {
    runner.fail("absence: read, list, store, add, store-only oder delete erwartet");
    return false;
  }
  readAbsences(ws, runner.ui(), date, mode, input);
  return true;
}

// CLASS PERIOD [TEXT]: the lesson of a shown period of the class on the day.
struct LessonArgument {
  int schoolClass = 0;
  int period = 0;
  std::string rest;
};
std::optional<LessonArgument> lessonArgument(BatchRunner& runner, const std::string& argument) {
  const auto [code, more] = firstWordAndRest(utf8ToCp1252(argument));
  const auto [period, rest] = firstWordAndRest(more);
  Workspace& ws = wsOf(runner);
  const int c = ws.base.findClass(code);
  const int shown = std::atoi(period.c_str());
  if (c == 0 || shown < 1 || shown > lastShownPeriod(ws.base)) {
    runner.fail("Klasse und Stunde erwartet: " + argument);
    return std::nullopt;
  }
  return LessonArgument{c, firstInternalPeriod(ws, shown), rest};
}

bool setKeyword(BatchRunner& runner, const std::string& argument, const std::string& fixedText) {
  const auto lesson = lessonArgument(runner, argument);
  if (!lesson) return false;
  Workspace& ws = wsOf(runner);
  const std::string date = substitutionDate(ws);
  const int day = Weekday(date);
  const auto index = findOpenLesson(ws.plan.openLessons, lesson->schoolClass, day, lesson->period);
  std::string remark;
  if (index) {
    const OpenLessonRecord open = openLessonAt(ws.plan.openLessons, *index);
    remark = absenceReasonFor(ws, open.teacher, open.schoolClass, open.room, open.period);
  }
  const std::string text = fixedText.empty() ? lesson->rest : fixedText;
  setSubstitution(ws, runner.ui(), {date, day, lesson->period, lesson->schoolClass, text, remark, false, false});
  return true;
}

bool candidatesKeyword(BatchRunner& runner, const std::string& argument) {
  const auto lesson = lessonArgument(runner, argument);
  if (!lesson) return false;
  Workspace& ws = wsOf(runner);
  const int day = Weekday(substitutionDate(ws));
  const auto index = findOpenLesson(ws.plan.openLessons, lesson->schoolClass, day, lesson->period);
  const int subject = index ? openLessonAt(ws.plan.openLessons, *index).subject : 0;
  const CandidateLists lists = candidateList(ws, day, lesson->period, lesson->schoolClass, subject);
  runner.print("text: Vertretung");
  for (const TeacherCandidate& candidate : lists.teachers) {
    char flags[8];
    std::snprintf(flags, sizeof flags, "%02X", candidate.flags);
    runner.printText(std::string("  ") + flags + " " + candidate.line);
  }
  for (const RoomCandidate& room : lists.rooms) runner.printText("  " + room.line);
  return true;
}

bool autoKeyword(BatchRunner& runner, const std::string& argument) {
  Workspace& ws = wsOf(runner);
  AutoSubstituteOptions options;
  options.date = substitutionDate(ws);
  for (char c : argument) {
    options.clearFirst = options.clearFirst || c == 'L';
    options.releaseEdge = options.releaseEdge || c == 'R';
    options.releaseUpper = options.releaseUpper || c == 'O';
    options.moveLessons = options.moveLessons || c == 'V';
  }
  autoSubstitute(ws, runner.ui(), options);
  return true;
}

bool printFileKeyword(BatchRunner& runner, const std::string& argument) {
  const std::string name = utf8ToCp1252(argument);
  const auto lines = readDayTextLines(name);
  if (!lines) {
    runner.fail("print-file: nicht gefunden: " + argument);
    return false;
  }
  runner.printText("file: " + name);
  for (const std::string& line : *lines) runner.printText("  " + line);
  return true;
}

bool consistencyKeyword(BatchRunner& runner, const std::string&) {
  const std::vector<std::string> differences = checkPlanConsistency(wsOf(runner));
  if (differences.empty()) {
    runner.print("consistency: ok");
    return true;
  }
  for (const std::string& line : differences) runner.printText("consistency: " + line);
  runner.fail("consistency: Pl\xC3\xA4ne widersprechen sich");
  return false;
}

bool extraWorkKeyword(BatchRunner& runner, const std::string& argument, bool maintain) {
  Workspace& ws = wsOf(runner);
  const std::string from = argument.empty() ? substitutionDate(ws) : argument;
  ExtraWork count;
  if (maintain) {
    maintainLog(ws, runner.ui(), from, &count);
  } else {
    count = countExtraWork(ws, from);
  }
  for (size_t t = 1; t < count.hours.size(); ++t) {
    if (count.hours[t] != 0)
      runner.printText("extra-work: " + ws.base.teachers[t].code + " " + std::to_string(count.hours[t]));
  }
  return true;
}

}  // namespace

void addSubstitutionKeywords(BatchRunner& runner) {
  runner.addKeyword("clock", [](BatchRunner& r, const std::string& a) { return dateKeyword(r, a, true); });
  runner.addKeyword("date", [](BatchRunner& r, const std::string& a) { return dateKeyword(r, a, false); });
  runner.addKeyword("absence", absenceKeyword);
  runner.addKeyword("evaluate", [](BatchRunner& r, const std::string&) {
    evaluateDay(wsOf(r), r.ui(), substitutionDate(wsOf(r)));
    return true;
  });
  runner.addKeyword("open-lessons", [](BatchRunner& r, const std::string&) {
    r.print("text: Zu vertreten:");
    for (const std::string& line : openLessonLines(wsOf(r), 0)) r.printText("  " + line);
    return true;
  });
  runner.addKeyword("freed-lessons", [](BatchRunner& r, const std::string&) {
    r.print("text: Stattstunden:");
    for (const std::string& line : freedLessonLines(wsOf(r))) r.printText("  " + line);
    return true;
  });
  runner.addKeyword("candidates", candidatesKeyword);
  runner.addKeyword("substitute", [](BatchRunner& r, const std::string& a) { return setKeyword(r, a, {}); });
  runner.addKeyword("free", [](BatchRunner& r, const std::string& a) { return setKeyword(r, a, "*"); });
  runner.addKeyword("reconstruct", [](BatchRunner& r, const std::string& a) {
    const auto lesson = lessonArgument(r, a);
    if (!lesson) return false;
    reconstructLesson(wsOf(r), r.ui(), substitutionDate(wsOf(r)), lesson->schoolClass, lesson->period);
    return true;
  });
  runner.addKeyword("drop", [](BatchRunner& r, const std::string& a) {
    const auto lesson = lessonArgument(r, a);
    if (!lesson) return false;
    Workspace& ws = wsOf(r);
    if (r.ui().askYesNo("Eintrag ersatzlos l\xF6schen?", MessageStyle{Icon::Question})) {
      removeOpenLesson(ws.plan.openLessons, lesson->schoolClass, Weekday(substitutionDate(ws)), lesson->period);
    }
    return true;
  });
  runner.addKeyword("auto", autoKeyword);
  runner.addKeyword("cancel-day", [](BatchRunner& r, const std::string&) {
    Workspace& ws = wsOf(r);
    const std::string date = substitutionDate(ws);
    if (r.ui().askYesNo("Eintr\xE4ge f\xFCr den " + date + " stornieren?", MessageStyle{Icon::Question})) {
      cancelDay(ws, r.ui(), date);
    }
    return true;
  });
  runner.addKeyword("clear-day", [](BatchRunner& r, const std::string&) {
    clearDay(wsOf(r), r.ui(), substitutionDate(wsOf(r)));
    return true;
  });
  runner.addKeyword("rebuild-day", [](BatchRunner& r, const std::string&) {
    rebuildDay(wsOf(r), r.ui(), substitutionDate(wsOf(r)));
    return true;
  });
  runner.addKeyword("maintain-log", [](BatchRunner& r, const std::string& a) { return extraWorkKeyword(r, a, true); });
  runner.addKeyword("extra-work", [](BatchRunner& r, const std::string& a) { return extraWorkKeyword(r, a, false); });
  // "Mehrarbeit ab Datum": the date comes from the script's answer, as in the window.
  runner.addKeyword("extra-work-since",
                    [](BatchRunner& r, const std::string&) { return extraWorkSince(wsOf(r), r.ui()); });
  runner.addKeyword("print-file", printFileKeyword);
  runner.addKeyword("consistency", consistencyKeyword);
}

}  // namespace quort
