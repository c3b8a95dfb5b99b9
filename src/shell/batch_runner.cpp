#include "shell/batch_runner.h"

#include <istream>
#include <ostream>

#include "data/codepage.h"
#include "shell/application.h"
#include "shell/base_data_commands.h"
#include "shell/completion_commands.h"
#include "shell/course_commands.h"
#include "shell/editor_commands.h"
#include "shell/exam_commands.h"
#include "shell/exam_output_commands.h"
#include "shell/exchange_commands.h"
#include "shell/failure_messages.h"
#include "shell/history_commands.h"
#include "shell/placement_commands.h"
#include "shell/print_commands.h"
#include "shell/substitution_commands.h"
#include "shell/upload_commands.h"
#include "shell/workspace_report.h"
#include "workspace/base_data_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {

std::pair<std::string, std::string> firstWordAndRest(const std::string& text) {
  const size_t blank = text.find(' ');
  if (blank == std::string::npos) return {text, {}};
  const size_t rest = text.find_first_not_of(' ', blank);
  return {text.substr(0, blank), rest == std::string::npos ? std::string() : text.substr(rest)};
}

namespace {

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::pair<std::string, std::string> splitFirstWord(const std::string& text) {
  const size_t blank = text.find_first_of(" \t");
  if (blank == std::string::npos) return {text, {}};
  return {text.substr(0, blank), trimmed(text.substr(blank + 1))};
}

bool openKeyword(BatchRunner& runner, const std::string& argument) {
  const auto [base, plan] = splitFirstWord(argument);
  if (base.empty()) {
    runner.fail("open: Name der Grunddaten fehlt");
    return false;
  }
  if (runner.app().loadBase(utf8ToCp1252(base)) != LoadStatus::Loaded) {
    runner.fail("open: Grunddaten nicht geladen: " + base);
    return false;
  }
  if (!plan.empty() && !runner.app().openPlanByName(utf8ToCp1252(plan))) {
    runner.fail("open: Plan nicht vollst\xC3\xA4ndig gelesen: " + plan);
    return false;
  }
  return true;
}

bool savePlanKeyword(BatchRunner& runner, const std::string& argument) {
  if (argument.empty()) {
    runner.fail("save-plan: Name fehlt");
    return false;
  }
  runner.ui().queueAnswerFirst(utf8ToCp1252(argument));
  if (runner.app().save() != 0) {
    runner.fail("save-plan: nicht gespeichert: " + argument);
    return false;
  }
  return true;
}

bool saveBaseKeyword(BatchRunner& runner, const std::string& argument) {
  if (SaveBaseData(runner.app().workspace(), runner.ui(), utf8ToCp1252(argument)) != 0) {
    runner.fail("save-base: nicht gespeichert: " + argument);
    return false;
  }
  return true;
}

bool infoKeyword(BatchRunner& runner, const std::string&) {
  for (const std::string& line : workspaceInfo(runner.app().workspace())) runner.printText(line);
  return true;
}

bool showKeyword(BatchRunner& runner, const std::string& argument) {
  const auto [kind, code] = splitFirstWord(argument);
  const auto lines = describeEntity(runner.app().workspace(), kind, utf8ToCp1252(code));
  if (!lines) {
    runner.fail("show: unbekannt: " + argument);
    return false;
  }
  runner.print(kind + ": " + code);
  for (const std::string& line : *lines) runner.printText("  " + line);
  return true;
}

bool modeKeyword(BatchRunner& runner, const std::string& argument) {
  if (argument.size() != 1 || argument[0] < '0' || argument[0] > '4') {
    runner.fail("mode: Arbeitsmodus 0 bis 4 erwartet");
    return false;
  }
  runner.app().setWorkMode(argument[0] - '0');
  return true;
}

}  // namespace

BatchRunner::BatchRunner(Application& app, ScriptedUi& ui, std::ostream& out, std::ostream& err)
    : m_app(app), m_ui(ui), m_out(out), m_err(err) {
  m_ui.setListener([this](const std::string& line) { printText(line); });
  addStandardKeywords();
}

void BatchRunner::addKeyword(const std::string& name, Keyword handler) { m_keywords[name] = std::move(handler); }

void BatchRunner::addStandardKeywords() {
  addKeyword("open", openKeyword);
  addKeyword("save-base", saveBaseKeyword);
  addKeyword("save-plan", savePlanKeyword);
  addKeyword("info", infoKeyword);
  addKeyword("show", showKeyword);
  addKeyword("mode", modeKeyword);
  addKeyword("command", [](BatchRunner& runner, const std::string& argument) {
    const CommandOutcome outcome = runner.app().typeCommand(utf8ToCp1252(argument) + "\r");
    if (outcome == CommandOutcome::Dispatched) return true;
    runner.fail(cp1252ToUtf8(outcomeText(outcome)) + ": " + argument);
    return false;
  });
  addKeyword("answer", [](BatchRunner& runner, const std::string& argument) {
    runner.ui().queueAnswer(utf8ToCp1252(argument));
    return true;
  });
  addKeyword("key", [](BatchRunner& runner, const std::string&) {
    runner.ui().pressKey();
    return true;
  });
  addPlacementKeywords(*this);
  addHistoryKeywords(*this);
  addEditorKeywords(*this);
  addUploadKeywords(*this);
  addPrintKeywords(*this);
  addSubstitutionKeywords(*this);
  addBaseDataKeywords(*this);
  addCompletionKeywords(*this);
  addCourseKeywords(*this);
  addExchangeKeywords(*this);
  addExamKeywords(*this);        // after the placement keywords: it builds on "button"
  addExamOutputKeywords(*this);  // after the exam keywords: it adds "exam output"
}

void BatchRunner::print(const std::string& utf8Line) { m_out << utf8Line << '\n'; }

void BatchRunner::printText(const std::string& cp1252Line) { print(cp1252ToUtf8(cp1252Line)); }

void BatchRunner::fail(const std::string& reason) { m_err << "Zeile " << m_lineNumber << ": " << reason << '\n'; }

bool BatchRunner::refusedSince(size_t firstRecord) {
  const auto& records = m_ui.records();
  for (size_t i = firstRecord; i < records.size(); ++i) {
    if (records[i].kind == "message" && reportsFailure(records[i].text)) {
      fail("nicht ausgef\xC3\xBChrt: " + cp1252ToUtf8(flattenLines(records[i].text)));
      return true;
    }
  }
  return false;
}

int BatchRunner::run(std::istream& script) {
  int status = 0;
  std::string raw;
  while (std::getline(script, raw)) {
    ++m_lineNumber;
    const std::string line = trimmed(raw);
    if (line.empty() || line[0] == '#') continue;
    const auto [keyword, argument] = splitFirstWord(line);
    const auto handler = m_keywords.find(keyword);
    if (handler == m_keywords.end()) {
      fail("unbekanntes Schl\xC3\xBCsselwort: " + keyword);
      return 1;
    }
    const size_t recordsBefore = m_ui.records().size();
    if (!handler->second(*this, argument)) {
      m_out.flush();
      return 1;
    }
    // The program refused the step: the script goes on, so that what follows still shows
    // the state, but it does not end as a success.
    if (refusedSince(recordsBefore)) status = 1;
    if (m_app.endRequested()) break;
  }
  m_out.flush();
  return status;
}

}  // namespace quort
