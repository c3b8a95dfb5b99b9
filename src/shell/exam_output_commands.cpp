#include "shell/exam_output_commands.h"

#include <optional>
#include <string>

#include "data/calendar.h"
#include "exams/exam_output.h"
#include "exams/exam_takeover.h"
#include "shell/application.h"
#include "shell/batch_runner.h"
#include "substitution/absence_dialog.h"
#include "workspace/clock.h"
#include "workspace/dialogs.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::optional<ExamOutputAction> outputAction(const std::string& word) {
  if (word == "print") return ExamOutputAction::Print;
  if (word == "save") return ExamOutputAction::Save;
  if (word == "upload") return ExamOutputAction::Upload;
  return std::nullopt;
}

// "output print|save|upload DATE [DAYS]", or "output" alone for the dialog.
bool examOutputKeyword(BatchRunner& runner, const std::string& argument) {
  Workspace& ws = runner.app().workspace();
  if (argument.empty()) {
    if (const auto request = examOutputDialog(ws, runner.ui())) writeExamOutput(ws, runner.ui(), *request);
    return true;
  }
  const auto [word, rest] = firstWordAndRest(argument);
  const auto [dateText, daysText] = firstWordAndRest(rest);
  const auto action = outputAction(word);
  const auto date = calendarDate(dateText);
  const int days = daysText.empty() ? 1 : examPlanDayCount(daysText);
  if (!action || !date || days == 0) {
    runner.fail("exam output: print, save oder upload, Datum und Tageszahl erwartet: " + argument);
    return false;
  }
  ws.dialogs.currentDate = *date;
  // A refusal has been reported by its message, which fails the line; an upload that did
  // not reach every server stops the script like "upload" does.
  if (writeExamOutput(ws, runner.ui(), {*action, *date, days}) == ExamOutputResult::NotUploaded) {
    runner.fail(
        "exam output: nicht vollst\xC3\xA4ndig \xC3\xBC"
        "bertragen: klausauf.txt");
    return false;
  }
  return true;
}

// "read" ("einlesen") or "apply" ("vorgeben") for the substitution day.
bool examsOfDayKeyword(BatchRunner& runner, const std::string& argument) {
  Workspace& ws = runner.app().workspace();
  const std::string date = ws.dialogs.currentDate.empty() ? workspaceToday(ws) : ws.dialogs.currentDate;
  // What went wrong has been reported by a message, which fails the line.
  if (argument == "read") {
    readExamsIntoDay(ws, runner.ui(), date);
  } else if (argument == "apply") {
    takeOverExams(ws, runner.ui(), date);
  } else {
    runner.fail("exams: read oder apply erwartet");
    return false;
  }
  return true;
}

class ExamsOfDay : public ExamDayActions {
 public:
  bool readExams(Workspace& ws, Ui& ui, const std::string& date) const override {
    return readExamsIntoDay(ws, ui, date);
  }
  bool takeOverExams(Workspace& ws, Ui& ui, const std::string& date) const override {
    return quort::takeOverExams(ws, ui, date);
  }
};

}  // namespace

const ExamDayActions& examDayActions() {
  static const ExamsOfDay actions;
  return actions;
}

void addExamOutputKeywords(BatchRunner& runner) {
  // "exam output ..." joins the exam planning's own "exam" lines.
  const BatchRunner::Keyword planning = runner.keyword("exam");
  runner.addKeyword("exam", [planning](BatchRunner& r, const std::string& argument) {
    const auto [word, rest] = firstWordAndRest(argument);
    if (word == "output") return examOutputKeyword(r, rest);
    if (planning) return planning(r, argument);
    r.fail("exam: output erwartet");
    return false;
  });
  runner.addKeyword("exams", examsOfDayKeyword);
}

bool runExamOutputMenuItem(Application& app, int id) {
  if (id != 144) return false;
  Workspace& ws = app.workspace();
  if (!ws.base.loaded()) return true;
  if (const auto request = examOutputDialog(ws, app.ui())) writeExamOutput(ws, app.ui(), *request);
  return true;
}

}  // namespace quort
