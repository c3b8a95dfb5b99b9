#include "shell/exam_commands.h"

#include <map>

#include "data/codepage.h"
#include "exams/exam_dialog.h"
#include "exams/exam_planning.h"
#include "exams/exam_text.h"
#include "shell/application.h"
#include "shell/batch_runner.h"
#include "shell/button_row.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr int kExamMode = 4;

// A script writes the lines of a multi-line field as one, separated by "\n".
std::string fieldFromScript(const std::string& text) {
  std::string field;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "\\n") == 0) {
      field += '\n';
      ++i;
    } else {
      field += text[i];
    }
  }
  return field;
}

void printField(BatchRunner& runner, const std::string& label, const std::string& text) {
  runner.printText(label);
  for (const std::string& line : fieldLines(text)) runner.printText("  " + line);
}

void printExamFields(BatchRunner& runner) {
  const ExamState& state = runner.app().workspace().exams;
  printField(runner, "R\xE4ume:", state.rooms);
  printField(runner, "Aufsicht:", state.supervisions);
  printField(runner, "Raum\xE4nd.:", state.roomChanges);
  printField(runner, "Frei:", state.freed);
  runner.printText(std::string(kExtraWorkBox) + ": " + (state.countExtraWork ? "1" : "0"));
}

std::optional<ExamPreset> examOrMessage(BatchRunner& runner) {
  auto exam = currentExam(runner.app().workspace());
  if (!exam) runner.ui().message(kNoExamMessage);
  return exam;
}

bool showExam(BatchRunner& runner, const std::string&) {
  if (!examOrMessage(runner)) return true;
  for (const std::string& line : examModeViewLines(runner.app().workspace())) runner.printText(line);
  return true;
}

// "Räume", "Aufsicht", "Raumänd." (or "Raumaend"), "Frei", "Mehrarbeit"; a trailing ":" may stand.
std::string* examField(ExamState& state, std::string name) {
  if (!name.empty() && name.back() == ':') name.pop_back();
  if (name == "R\xE4ume" || name == "Raeume") return &state.rooms;
  if (name == "Aufsicht") return &state.supervisions;
  if (name == "Raum\xE4nd." || name == "Raumaend.") return &state.roomChanges;
  if (name == "Frei") return &state.freed;
  return nullptr;
}

bool setField(BatchRunner& runner, const std::string& argument) {
  const auto [name, value] = firstWordAndRest(argument);
  ExamState& state = runner.app().workspace().exams;
  if (name == "Mehrarbeit" || name == "abrechnen") {
    state.countExtraWork = value == "1";
  } else if (std::string* field = examField(state, name)) {
    *field = fieldFromScript(value);
  } else {
    runner.fail("exam field: unbekannt: " + cp1252ToUtf8(name));
    return false;
  }
  printExamFields(runner);
  return true;
}

bool pressDialogButton(BatchRunner& runner, const std::string& caption) {
  const auto exam = examOrMessage(runner);
  if (!exam) return true;
  Workspace& ws = runner.app().workspace();
  ExamDialogSession session(ws, runner.ui(), *exam);
  if (caption == "Mehrarbeit" || caption == "abrechnen") {
    session.setCountsExtraWork(!session.countsExtraWork());
  } else if (caption == "Auswerten") {
    session.act(ExamDialogSession::Action::Evaluate);
  } else if (caption == "Speichern") {
    session.act(ExamDialogSession::Action::Save);
  } else {
    runner.fail("exam press: unbekannt: " + cp1252ToUtf8(caption));
    return false;
  }
  printExamFields(runner);
  return true;
}

// The exams of a date as the substitution day reads them back from klausauf.x.
bool printExamsOfDay(BatchRunner& runner, const std::string& date) {
  for (const ExamOfDay& exam : readExamsOfDay(date)) {
    runner.printText("Klausur " + exam.date + " Stufe " + exam.grade + " Zeit " + exam.time);
    for (const ExamSupervision& s : exam.supervisions) {
      runner.printText("  Aufsicht " + s.room + " " + std::to_string(s.period) + "." + s.teacher +
                       (s.extraWork ? " (*)" : ""));
    }
    for (const ExamRoomChange& c : exam.roomChanges) {
      runner.printText("  Raum\xE4nderung " + std::to_string(c.period) + ". " + c.schoolClass + " " + c.oldRoom +
                       " -> " + c.newRoom);
    }
    for (const ExamFreedLesson& f : exam.freed) runner.printText("  Frei " + std::to_string(f.period) + ". " + f.text);
  }
  return true;
}

using ExamAction = bool (*)(BatchRunner&, const std::string&);

const std::map<std::string, ExamAction>& examActions() {
  static const std::map<std::string, ExamAction> actions = {
      // A refusal is reported by its message, which fails the line; the script goes on.
      {"courses",
       [](BatchRunner& r, const std::string& a) {
         loadExamCourses(r.app().workspace(), r.ui(), a);
         return true;
       }},
      {"preset",
       [](BatchRunner& r, const std::string& a) {
         setExamPreset(r.app().workspace(), r.ui(), a);
         return true;
       }},
      {"presets",
       [](BatchRunner& r, const std::string&) {
         ExamPresets(r.app().workspace(), r.ui());
         return true;
       }},
      {"show", showExam},
      {"dialog",
       [](BatchRunner& r, const std::string&) {
         if (ExamDialog(r.app().workspace(), r.ui())) printExamFields(r);
         return true;
       }},
      {"field", setField},
      {"press", pressDialogButton},
      {"day", printExamsOfDay},
      {"fields",
       [](BatchRunner& r, const std::string&) {
         printExamFields(r);
         return true;
       }},
  };
  return actions;
}

bool examKeyword(BatchRunner& runner, const std::string& argument) {
  const auto [action, rest] = firstWordAndRest(argument);
  const auto found = examActions().find(action);
  if (found == examActions().end()) {
    runner.fail("exam: unbekannt: " + argument);
    return false;
  }
  if (!runner.app().workspace().base.loaded()) {
    runner.fail("exam: keine Grunddaten geladen");
    return false;
  }
  return found->second(runner, utf8ToCp1252(rest));
}

}  // namespace

bool pressExamButton(Application& app, MainButton button) {
  Workspace& ws = app.workspace();
  if (ws.shell.workMode != kExamMode || !ws.base.loaded()) return false;
  if (button == MainButton::Remove) {
    ExamPresets(ws, app.ui());
    return true;
  }
  if (button == MainButton::Insert) {
    ExamDialog(ws, app.ui());
    return true;
  }
  return false;
}

std::vector<std::string> examModeViewLines(const Workspace& ws) { return examMainViewLines(ws); }

void addExamKeywords(BatchRunner& runner) {
  runner.addKeyword("exam", examKeyword);
  // In the exam mode "entfernen" (labelled "Vorgaben") and "einfügen" do the exam's work,
  // not the removal and placement their commands stand for.
  const BatchRunner::Keyword button = runner.keyword("button");
  runner.addKeyword("button", [button](BatchRunner& r, const std::string& argument) {
    const std::string caption = utf8ToCp1252(argument);
    const bool remove = caption == "entfernen" || caption == "Vorgaben";
    const bool insert = caption == "einf\xFCgen";
    if ((remove || insert) && pressExamButton(r.app(), remove ? MainButton::Remove : MainButton::Insert)) {
      if (insert) printExamFields(r);
      return true;
    }
    return button ? button(r, argument) : false;
  });
}

}  // namespace quort
