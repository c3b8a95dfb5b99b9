#include "editors/base_data_choice_dialogs.h"

#include <string>
#include <vector>

#include "data/number_text.h"
#include "editors/entity_list_editing.h"
#include "editors/schedule_editing.h"
#include "workspace/dialogs.h"
#include "workspace/text_files.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

ChoiceItem textField(const std::string& label, const std::string& value) {
  return ChoiceItem{ChoiceItem::Kind::TextField, label, value, false, {}};
}
ChoiceItem checkBox(const std::string& label, bool checked) {
  return ChoiceItem{ChoiceItem::Kind::CheckBox, label, checked ? "1" : "0", false, {}};
}
ChoiceItem button(const std::string& caption) { return ChoiceItem{ChoiceItem::Kind::Button, caption, {}, false, {}}; }

// Asks one round; the values of the fields and check boxes go back into the request so that
// the next round shows them again. The caption of the pressed button, empty when closed.
std::string askRound(BaseDataEditor& editor, ChoiceBoxRequest& request) {
  request.helpFile = helpReference(editor.workspace());
  const ChoiceOutcome outcome = editor.ui().choiceBox(request);
  size_t fields = 0;
  for (const ChoiceItem& item : request.items) fields += item.kind != ChoiceItem::Kind::Button ? 1 : 0;
  const std::vector<std::string> values = outcome.values(fields);
  size_t next = 0;
  for (ChoiceItem& item : request.items) {
    if (item.kind != ChoiceItem::Kind::Button) item.value = values[next++];
  }
  const int chosen = outcome.choiceResult;
  if (chosen < 1 || chosen > static_cast<int>(request.items.size())) return {};
  const ChoiceItem& item = request.items[static_cast<size_t>(chosen - 1)];
  return item.kind == ChoiceItem::Kind::Button ? item.label : std::string();
}

std::string listPrompt(const BaseData& base, EntityKind kind) {
  std::string prompt = entityListName(kind) + ":";
  int number = 0;
  for (const std::string& line : entityLines(base, kind)) prompt += "\r" + std::to_string(++number) + ": " + line;
  return prompt;
}

}  // namespace

void ChoiceBaseDataDialogs::daysAndPeriods(BaseDataEditor& editor) {
  const DaysAndPeriodsInput current = currentDaysAndPeriods(editor.workspace().base);
  ChoiceBoxRequest request;
  request.prompt = "Stundenzahl";
  request.title = "QUORT-Plan - Stundenzahl";
  request.items = {textField("Zahl der Tage", current.days),
                   textField("Stunden pro Tag", current.periods),
                   textField("Mittagsanfang", current.afternoon),
                   checkBox("Wochenwechsel", current.weekAlternation),
                   button("Anwenden"),
                   button("Abbruch")};
  while (askRound(editor, request) == "Anwenden") {
    const DaysAndPeriodsInput input{request.items[0].value, request.items[1].value, request.items[2].value,
                                    request.items[3].value == "1"};
    if (editor.applyDaysAndPeriods(input)) return;
  }
}

void ChoiceBaseDataDialogs::planOptions(BaseDataEditor& editor) {
  const PlanOptionFields current = currentPlanOptionFields(editor.workspace().base);
  ChoiceBoxRequest request;
  request.prompt = "Planoptionen";
  request.title = "QUORT-Plan - Planoptionen";
  for (size_t i = 0; i < current.size(); ++i) request.items.push_back(textField(planOptionCaption(i), current[i]));
  request.items.push_back(
      button("Zur\xFC"
             "cksetzen"));
  request.items.push_back(button("Anwenden"));
  request.items.push_back(button("Abbruch"));
  for (;;) {
    const std::string pressed = askRound(editor, request);
    if (pressed == "Anwenden") {
      PlanOptionFields fields;
      for (size_t i = 0; i < fields.size(); ++i) fields[i] = request.items[i].value;
      if (editor.applyPlanOptions(fields)) return;
    } else {
      if (!pressed.empty() && pressed != "Abbruch") editor.resetPlanOptions();
      return;
    }
  }
}

void ChoiceBaseDataDialogs::entityList(BaseDataEditor& editor, EntityKind kind) {
  ChoiceBoxRequest request;
  request.title = "Grunddatenaufnahme - " + entityListName(kind);
  request.items.push_back(textField("Nr.", ""));
  request.items.push_back(textField("K\xFCrzel", ""));
  for (const std::string& name : entityFieldNames(kind)) request.items.push_back(textField(name, ""));
  const size_t fieldCount = request.items.size() - 1;
  for (const char* caption : {"Hinzuf\xFCgen", "Einf\xFCgen", "Ersetzen", "L\xF6schen", "Liste sortieren"}) {
    request.items.push_back(button(caption));
  }
  if (kind == EntityKind::Room) request.items.push_back(button("Raum sperren"));
  request.items.push_back(button("Ende"));
  for (;;) {
    request.prompt = listPrompt(editor.workspace().base, kind);
    const std::string pressed = askRound(editor, request);
    if (pressed.empty() || pressed == "Ende") return;
    const int index = static_cast<int>(numericValue(request.items[0].value));
    EntityFields fields;
    for (size_t i = 1; i <= fieldCount; ++i) fields.push_back(request.items[i].value);
    if (pressed == "Hinzuf\xFCgen") {
      editor.add(kind, fields);
    } else if (pressed == "Einf\xFCgen") {
      editor.insert(kind, index, fields);
    } else if (pressed == "Ersetzen") {
      editor.replace(kind, index, fields);
    } else if (pressed == "L\xF6schen") {
      editor.remove(kind, index);
    } else if (pressed == "Liste sortieren") {
      editor.sort(kind);
    } else if (pressed == "Raum sperren") {
      editor.toggleRoomLock(index);
    }
  }
}

}  // namespace quort
