#include "workspace/dialogs.h"

#include <algorithm>
#include <cstdio>

#include "data/calendar.h"
#include "data/file_access.h"
#include "data/number_text.h"
#include "workspace/clock.h"
#include "workspace/text_files.h"
#include "workspace/workspace.h"

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

std::optional<std::string> calendarDate(const std::string& text) {
  int day = 0, month = 0, year = 0;
  size_t pos = 0;
  const auto number = [&](int& value, size_t minDigits, size_t maxDigits) {
    const size_t start = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < maxDigits) {
      value = value * 10 + (text[pos++] - '0');
    }
    return pos - start >= minDigits;
  };
  const auto dot = [&] { return pos < text.size() && text[pos++] == '.'; };
  if (!number(day, 1, 2) || !dot() || !number(month, 1, 2) || !dot() || !number(year, 4, 4) || pos != text.size()) {
    return std::nullopt;
  }
  // Every fourth year is a leap year, as everywhere in the program's calendar.
  static constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return std::nullopt;
  if (day > kDaysInMonth[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0)) return std::nullopt;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", day, month, year);
  if (Weekday(buffer) <= 0) return std::nullopt;
  return std::string(buffer);
}

bool DatePrompt(Workspace& ws, Ui& ui, const std::string& title, int dayOffset) {
  std::string& current = ws.dialogs.currentDate;
  if (Weekday(current) <= 0) current = workspaceToday(ws);
  ShiftDate(current, dayOffset);
  std::string date = current;
  // The dialog stays open until a real date is confirmed or it is cancelled.
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (!ui.editDate(title, date)) return false;
    if (const auto accepted = calendarDate(date)) {
      current = *accepted;
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

std::string addFieldItems(const std::string& field, const std::vector<std::string>& items) {
  std::string result = field;
  for (const std::string& item : items) result += (result.empty() ? "" : ",") + item;
  return result;
}

// Wrapping the field in commas and replacing every ",item," by "," comes to dropping the
// pieces between commas that are empty or name an item.
std::string removeFieldItems(const std::string& field, const std::vector<std::string>& items) {
  std::string result;
  size_t start = 0;
  while (start <= field.size()) {
    const size_t comma = std::min(field.find(',', start), field.size());
    const std::string piece = field.substr(start, comma - start);
    if (!piece.empty() && std::find(items.begin(), items.end(), piece) == items.end()) {
      if (!result.empty()) result += ',';
      result += piece;
    }
    start = comma + 1;
  }
  return result;
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
