#include "shell/completion_commands.h"

#include <cstdlib>
#include <vector>

#include "data/codepage.h"
#include "shell/application.h"
#include "shell/batch_runner.h"
#include "shell/command_interpreter.h"
#include "shell/generation_commands.h"
#include "timetable/plan_views.h"
#include "workspace/dialogs.h"
#include "workspace/plan_file.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

// A whole number of at least 1 after the item's two-character prefix.
std::optional<long> positiveNumber(const std::string& item) {
  const std::string digits = item.substr(2);
  if (digits.empty() || digits.size() > 7 || digits.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const long value = std::atol(digits.c_str());
  if (value < 1) return std::nullopt;
  return value;
}

std::string completionMessage(const CompletionReport& report) {
  std::string text = "Plan vervollst\xE4ndigt: " + std::to_string(report.openBefore - report.openAfter) +
                     " Stunden gesetzt, " + std::to_string(report.openAfter) + " offen.";
  text += "\rHohlstunden der Lehrer: " + std::to_string(report.gapsBefore) + " vorher, " +
          std::to_string(report.gapsAfter) + " nachher.";
  if (report.aborted) text += "\rAbgebrochen.";
  if (report.timedOut) text += "\rZeitgrenze erreicht.";
  return text;
}

}  // namespace

std::optional<CompletionSettings> parseCompletionSettings(std::string_view text) {
  CompletionSettings settings;
  std::string rest;
  std::string item;
  const auto take = [&]() {
    if (item.empty()) return true;
    bool ok = true;
    if (item.rfind("Z:", 0) == 0) {
      const std::optional<long> seconds = positiveNumber(item);
      ok = seconds.has_value();
      if (ok) settings.timeLimitSeconds = static_cast<double>(*seconds);
    } else if (item.rfind("N:", 0) == 0) {
      const std::optional<long> moves = positiveNumber(item);
      ok = moves.has_value();
      if (ok) settings.iterationBudget = *moves;
    } else {
      rest += item + " ";
    }
    item.clear();
    return ok;
  };
  for (const char ch : text) {
    if (ch != ' ' && ch != ';') {
      item += ch;
    } else if (!take()) {
      return std::nullopt;
    }
  }
  if (!take()) return std::nullopt;
  // The filter reads like the one of "Autom.Setzen"; "Ausblenden" makes no sense here.
  const std::optional<GenerationPreset> preset = parseGenerationPreset(rest, false);
  if (!preset || preset->mode == 0) return std::nullopt;
  settings.filter = preset->filter;
  settings.shiftCouplings = preset->switches.shiftCouplings;
  return settings;
}

void runPlanCompletion(Workspace& ws, Ui& ui, const CompletionSettings& settings) {
  if (openPeriodCount(ws) == 0) {
    ui.message("Keine Stunden mehr zu setzen!", MessageStyle{Icon::Information, kProgramTitle, true});
    return;
  }
  BackupPlanRecords(ws, ui);
  ProgressOpen(ws, ui);
  ui.progressTitle("Plan vervollst\xE4ndigen");
  const CompletionReport report = completePlan(ws, ui, settings);
  ProgressClose(ui);
  ws.shell.currentClass = 1;
  ws.shell.currentTeacher = 1;
  ui.message(completionMessage(report), MessageStyle{Icon::Information, kProgramTitle, true});
  if (!report.reasons.empty()) ui.showText("Nicht gesetzt", joinLines(report.reasons));
}

// Work modes "Kopplungen" and "Einzelstunden", as the generator; in "Raumplan" "^"
// distributes the rooms.
constexpr unsigned kCompletionModes = 0x03;

void registerCompletionCommands(CommandInterpreter& interpreter) {
  interpreter.registerCommand(
      "^C",
      [](CommandContext& context, const std::string& command) {
        const std::optional<CompletionSettings> settings = parseCompletionSettings(command.substr(2));
        if (!settings) {
          context.ui.message("Eingabefehler!", MessageStyle{Icon::Exclamation, kProgramTitle, true});
          return;
        }
        runPlanCompletion(context.ws, context.ui, *settings);
      },
      kCompletionModes);
}

void addCompletionKeywords(BatchRunner& runner) {
  runner.addKeyword("complete", [](BatchRunner& r, const std::string& argument) {
    const CommandOutcome outcome = r.app().typeCommand("^C " + utf8ToCp1252(argument) + "\r");
    if (outcome == CommandOutcome::Dispatched) return true;
    r.fail("complete: " + cp1252ToUtf8(outcomeText(outcome)));
    return false;
  });
}

}  // namespace quort
