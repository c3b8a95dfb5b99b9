#include "shell/dialogs.h"

#include "data/calendar.h"
#include "data/file_access.h"
#include "data/number_text.h"
#include "shell/text_files.h"
#include "shell/workspace.h"

namespace quort {

namespace {

ChoiceItem parseItem(const std::string& item) {
  ChoiceItem parsed;
  if (!item.empty() && item[0] == '?') {
    parsed.kind = ChoiceItem::Kind::CheckBox;
    parsed.label = item.substr(1);
    // The state is the numeric value of the whole item, so a plain "?" item starts cleared.
    parsed.value.assign(1, numericValue(item) != 0 ? '1' : '0');
  } else if (!item.empty() && item[0] == '$') {
    parsed.kind = ChoiceItem::Kind::TextField;
    const size_t colon = item.find(':');
    parsed.label = item.substr(1, colon == std::string::npos ? std::string::npos : colon - 1);
    parsed.value = colon == std::string::npos ? std::string() : item.substr(colon + 1);
  } else {
    parsed.label = item;
  }
  return parsed;
}

}  // namespace

ChoiceBoxRequest parseChoiceItems(const std::string& prompt, const std::string& items, const std::string& title) {
  ChoiceBoxRequest request;
  request.prompt = prompt;
  request.title = title;
  std::string list = items;
  if (!list.empty() && list[0] == '#') {
    request.helpButton = false;
    list.erase(0, 1);
  }
  if (list.empty() || list.back() != '|') list += '|';
  size_t start = 0;
  for (size_t bar = list.find('|'); bar != std::string::npos; bar = list.find('|', start)) {
    request.items.push_back(parseItem(list.substr(start, bar - start)));
    start = bar + 1;
  }
  return request;
}

ChoiceOutcome ChoiceBox(Ui& ui, const std::string& prompt, const std::string& items, const std::string& title) {
  return ui.choiceBox(parseChoiceItems(prompt, items, title));
}

ChoiceOutcome ChoiceBox(Workspace& ws, Ui& ui, const std::string& prompt, const std::string& items,
                        const std::string& title) {
  ChoiceBoxRequest request = parseChoiceItems(prompt, items, title);
  request.helpFile = helpReference(ws);
  return ui.choiceBox(request);
}

bool DatePrompt(Workspace& ws, Ui& ui, const std::string& title, int dayOffset) {
  std::string& current = ws.dialogs.currentDate;
  if (Weekday(current) <= 0) current = TodayText();
  ShiftDate(current, dayOffset);
  std::string date = current;
  // The dialog stays open until a real date is confirmed or it is cancelled.
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (!ui.editDate(title, date)) return false;
    if (Weekday(date) > 0) {
      current = date;
      return true;
    }
  }
  return false;
}

bool chooserAccepts(Ui& ui, const FileChooserRequest& request, const std::string& name) {
  if (request.mode != "R" || findExistingFile(name)) return true;
  ui.message(name + " nicht gefunden!", MessageStyle{Icon::Exclamation});
  return false;
}

std::string FileChooser(Workspace& ws, Ui& ui, const FileChooserRequest& request) {
  ws.dialogs.currentFileName = ui.chooseFile(request);
  return ws.dialogs.currentFileName;
}

void ProgressOpen(Workspace& ws, Ui& ui) {
  ws.dialogs.abortRequested = false;
  ui.progressOpen();
}

void ProgressPoll(Workspace& ws, Ui& ui, const std::string& message) {
  ui.progressShow(message);
  if (!ui.progressKeyPending()) return;
  if (ui.askYesNo("Aktion abbrechen?", MessageStyle{Icon::Question, kProgramTitle, true})) {
    ws.dialogs.abortRequested = true;
  }
}

void ProgressClose(Ui& ui) { ui.progressClose(); }

}  // namespace quort
