#include "workspace/scripted_ui.h"

#include <algorithm>
#include <cctype>

#include "workspace/dialog_session.h"
#include "workspace/dialogs.h"
#include "workspace/text_editor_session.h"
#include "workspace/tool_panel_state.h"

namespace quort {

namespace {

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; });
  return text;
}

bool isYes(const std::string& answer) {
  const std::string a = lowerCase(answer);
  return a == "ja" || a == "j" || a == "ok" || a == "yes" || a == "y";
}

// Captions may carry "&" mnemonics; a script names the button without them.
std::string withoutMnemonic(std::string caption) {
  std::erase(caption, '&');
  return lowerCase(caption);
}

std::string buttonCaptions(const ChoiceBoxRequest& request) {
  std::string captions;
  for (const ChoiceItem& item : request.items) {
    if (!captions.empty()) captions += '|';
    if (item.kind == ChoiceItem::Kind::CheckBox) captions += '?';
    if (item.kind == ChoiceItem::Kind::TextField) captions += '$';
    captions += item.label;
  }
  return captions;
}

}  // namespace

std::string flattenLines(const std::string& text) {
  std::string flat;
  bool inBreak = false;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      if (!inBreak && !flat.empty()) flat += ' ';
      inBreak = true;
      continue;
    }
    inBreak = false;
    flat += c;
  }
  while (!flat.empty() && flat.back() == ' ') flat.pop_back();
  return flat;
}

bool ScriptedUi::saw(const std::string& text) const {
  return std::any_of(m_records.begin(), m_records.end(), [&](const Record& r) { return r.text == text; });
}

bool ScriptedUi::takeAnswer(std::string& answer) {
  if (m_answers.empty()) return false;
  answer = std::move(m_answers.front());
  m_answers.pop_front();
  return true;
}

void ScriptedUi::record(std::string kind, std::string text, std::string answer) {
  m_records.push_back({std::move(kind), std::move(text), std::move(answer)});
  if (!m_listener) return;
  const Record& r = m_records.back();
  std::string line = r.kind + ": " + flattenLines(r.text);
  if (r.kind == "question") line += " -> " + r.answer;
  m_listener(line);
}

void ScriptedUi::message(const std::string& text, const MessageStyle&) { record("message", text); }

bool ScriptedUi::askYesNo(const std::string& text, const MessageStyle&) {
  std::string answer;
  const bool yes = takeAnswer(answer) && isYes(answer);
  record("question", text, yes ? "Ja" : "Nein");
  return yes;
}

bool ScriptedUi::printerSetup(PrinterSetupRequest& request) {
  std::string answer;
  const bool apply = takeAnswer(answer) && withoutMnemonic(answer) == "anwenden";
  record("question", "Druckereinstellungen: " + request.printerName, apply ? "Anwenden" : "Abbruch");
  return apply;
}

bool ScriptedUi::askOkCancel(const std::string& text, const MessageStyle&) {
  std::string answer;
  const bool ok = takeAnswer(answer) && isYes(answer);
  record("question", text, ok ? "OK" : "Abbruch");
  return ok;
}

int ScriptedUi::buttonNumber(const ChoiceBoxRequest& request, const std::string& answer) const {
  const std::string wanted = withoutMnemonic(answer);
  for (size_t i = 0; i < request.items.size(); ++i) {
    const ChoiceItem& item = request.items[i];
    if (item.kind == ChoiceItem::Kind::Button && withoutMnemonic(item.label) == wanted) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

ChoiceOutcome ScriptedUi::choiceBox(const ChoiceBoxRequest& request) {
  std::vector<ChoiceItem> items = request.items;
  // Leading "?0"/"?1" and "$text" answers fill the check boxes and text fields in order.
  size_t nextCheck = 0;
  size_t nextField = 0;
  const auto fill = [&](ChoiceItem::Kind kind, size_t& cursor, const std::string& value) {
    while (cursor < items.size() && items[cursor].kind != kind) ++cursor;
    if (cursor < items.size()) items[cursor++].value = value;
  };
  while (!m_answers.empty() && (m_answers.front().rfind('?', 0) == 0 || m_answers.front().rfind('$', 0) == 0)) {
    std::string value;
    takeAnswer(value);
    if (value[0] == '?') fill(ChoiceItem::Kind::CheckBox, nextCheck, value.substr(1) == "1" ? "1" : "0");
    if (value[0] == '$') fill(ChoiceItem::Kind::TextField, nextField, value.substr(1));
  }
  ChoiceOutcome outcome;
  std::string answer;
  // "Hilfen" shows the help and leaves the box open for the next answer.
  while (request.helpButton && !m_answers.empty() && withoutMnemonic(m_answers.front()) == "hilfen") {
    takeAnswer(answer);
    record("text", request.helpFile.empty() ? "Hilfen" : request.helpFile);
  }
  if (takeAnswer(answer)) outcome.choiceResult = buttonNumber(request, answer);
  if (outcome.choiceResult == 0) outcome.choiceResult = buttonNumber(request, "Abbruch");
  for (const ChoiceItem& item : items) {
    if (item.kind != ChoiceItem::Kind::Button) outcome.choiceValues += item.value + '|';
  }
  const std::string chosen =
      outcome.choiceResult > 0 ? request.items[static_cast<size_t>(outcome.choiceResult - 1)].label : "(geschlossen)";
  record("question", request.prompt + " [" + buttonCaptions(request) + "]", chosen);
  return outcome;
}

bool ScriptedUi::textPrompt(const std::string& title, std::string& text) {
  std::string answer;
  const bool given = takeAnswer(answer);
  if (given) text = answer;
  record("question", title, given ? text : "Abbruch");
  return given;
}

bool ScriptedUi::editDate(const std::string& title, std::string& date) {
  std::string answer;
  const bool given = takeAnswer(answer);
  record("question", title + " [" + date + "]", given ? answer : "Abbruch");
  if (given) date = answer;
  return given;
}

std::string ScriptedUi::chooseFile(const FileChooserRequest& request) {
  std::string answer;
  while (takeAnswer(answer)) {
    const bool accepted = chooserAccepts(*this, request, answer);
    record("question", request.title + " [" + request.pattern + "]", answer);
    if (accepted) return answer;
  }
  record("question", request.title + " [" + request.pattern + "]", "Abbruch");
  return {};
}

void ScriptedUi::showText(const std::string& title, const std::string& text) {
  record("text", title.empty() ? text.substr(0, text.find('\r')) : title);
  if (!m_listener || title.empty()) return;
  // A script shows what the viewer would: every line of the text, indented.
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = "  " + text.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    m_listener(line);
    start = end + 1;
  }
}

void ScriptedUi::textEditor(TextEditorSession& session) {
  std::string files;
  for (const TextEditorEntry& entry : session.entries()) files += (files.empty() ? "" : "|") + entry.fileName;
  record("text", "Texteingabe [" + files + "]");
}

int ScriptedUi::chooseFromList(const ListChoiceRequest& request) {
  const auto trimmed = [](std::string text) { return text.erase(text.find_last_not_of(' ') + 1); };
  std::string answer;
  int chosen = -1;
  if (takeAnswer(answer)) {
    for (size_t i = 0; i < request.entries.size() && chosen < 0; ++i) {
      if (lowerCase(trimmed(request.entries[i])) == lowerCase(answer)) chosen = static_cast<int>(i);
    }
  }
  record("question", request.title, chosen >= 0 ? trimmed(request.entries[static_cast<size_t>(chosen)]) : "Abbruch");
  return chosen;
}

void ScriptedUi::openEditor(const EditorRequest& request) {
  switch (request.kind) {
    case EditorKind::Assignments: {
      const char* const views[] = {" Puffer", " Lehrer", " Klasse"};
      record("editor", std::string("Deputateingabe") +
                           views[request.viewMode >= 1 && request.viewMode <= 2 ? request.viewMode : 0]);
      return;
    }
    case EditorKind::Coupling:
      record("editor", "Eingabe von Kopplung " + std::to_string(request.number));
      return;
    case EditorKind::Block:
      record("editor", "Eingabe von Block " + std::to_string(request.number));
      return;
    case EditorKind::ToolPanel:
      record("editor", toolPanelTitle(static_cast<ToolPanelKind>(request.number)));
      return;
    case EditorKind::Courses:
      record("editor", "Kurswahlen");
      return;
  }
}

void ScriptedUi::runDialog(DialogSession& session) {
  for (;;) {
    const size_t before = m_answers.size();
    const ChoiceOutcome outcome = choiceBox(session.form());
    if (outcome.choiceResult == 0) return;
    std::vector<std::string> values;
    size_t start = 0;
    for (size_t bar = outcome.choiceValues.find('|'); bar != std::string::npos;
         bar = outcome.choiceValues.find('|', start)) {
      values.push_back(outcome.choiceValues.substr(start, bar - start));
      start = bar + 1;
    }
    // A button that keeps the dialog open although nothing was answered would ask forever.
    if (session.press(outcome.choiceResult, values) || m_answers.size() == before) return;
  }
}

bool ScriptedUi::progressKeyPending() {
  if (m_pendingKeys == 0) return false;
  --m_pendingKeys;
  return true;
}

}  // namespace quort
