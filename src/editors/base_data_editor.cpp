#include "editors/base_data_editor.h"

#include "workspace/base_data_file.h"
#include "workspace/dialogs.h"
#include "workspace/plan_file.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

const MessageStyle kEditorNotice{Icon::Exclamation, kProgramTitle, true};

// Lists the run opens directly: a kind letter that sorts after "A".
std::optional<EntityKind> directKind(const std::string& kind) {
  if (kind.empty() || static_cast<unsigned char>(kind[0]) <= 'A') return std::nullopt;
  return entityKindOfLetter(kind[0]);
}

void chooseAndEdit(Workspace& ws, Ui& ui, BaseDataDialogs& dialogs, BaseDataEditor& editor) {
  for (;;) {
    const ChoiceOutcome outcome = ChoiceBox(ws, ui, "Grunddatenaufnahme:",
                                            "Stundenzahl|Lehrer|Klassen|F\xE4"
                                            "cher|R\xE4ume|Planoptionen|Ende",
                                            "Grunddatenaufnahme:");
    switch (outcome.choiceResult) {
      case 1:
        dialogs.daysAndPeriods(editor);
        break;
      case 2:
        dialogs.entityList(editor, EntityKind::Teacher);
        break;
      case 3:
        dialogs.entityList(editor, EntityKind::Class);
        break;
      case 4:
        dialogs.entityList(editor, EntityKind::Subject);
        break;
      case 5:
        dialogs.entityList(editor, EntityKind::Room);
        break;
      case 6:
        dialogs.planOptions(editor);
        break;
      default:
        return;
    }
  }
}

}  // namespace

BaseDataEditor::BaseDataEditor(Workspace& ws, Ui& ui) : m_ws(ws), m_ui(ui) {}

bool BaseDataEditor::begin(bool newSet) {
  if (m_ws.shell.planOpened) SavePlan(m_ws, m_ui, SaveKind::Safety);
  if (m_ws.base.loaded() && !m_ui.askYesNo("Grunddaten \xE4ndern? Planverlust m\xF6glich!",
                                           MessageStyle{Icon::Exclamation, kProgramTitle, true})) {
    return false;
  }
  m_base = m_ws.base;
  m_plan = m_ws.plan;
  m_shell = m_ws.shell;
  if (newSet || !m_ws.base.loaded()) {
    BaseData fresh;
    fresh.baseDataDirectory = m_ws.base.baseDataDirectory;
    m_ws.base = std::move(fresh);
    ensureEntityLists(m_ws.base);
    m_ws.plan.reset(m_ws.base);
    m_ws.backup = PlanBackup{};
    m_ws.shell.planOpened = false;
    m_changed = newSet && m_base.loaded();
  }
  return true;
}

bool BaseDataEditor::track(bool changedNow) {
  m_changed = m_changed || changedNow;
  return changedNow;
}

bool BaseDataEditor::trackCodes(bool changedNow) {
  if (changedNow) m_restart = true;
  return track(changedNow);
}

bool BaseDataEditor::add(EntityKind kind, const EntityFields& fields) {
  return trackCodes(addEntity(m_ws, m_ui, kind, fields));
}
bool BaseDataEditor::insert(EntityKind kind, int before, const EntityFields& fields) {
  return trackCodes(insertEntity(m_ws, m_ui, kind, before, fields));
}
bool BaseDataEditor::replace(EntityKind kind, int index, const EntityFields& fields) {
  return trackCodes(replaceEntity(m_ws, m_ui, kind, index, fields));
}
bool BaseDataEditor::remove(EntityKind kind, int index) { return trackCodes(deleteEntity(m_ws, m_ui, kind, index)); }
bool BaseDataEditor::sort(EntityKind kind) { return trackCodes(sortEntities(m_ws, m_ui, kind)); }
bool BaseDataEditor::toggleRoomLock(int room) { return track(quort::toggleRoomLock(m_ws, m_ui, room)); }
bool BaseDataEditor::applyDaysAndPeriods(const DaysAndPeriodsInput& input) {
  return track(quort::applyDaysAndPeriods(m_ws, m_ui, input));
}
bool BaseDataEditor::applyPlanOptions(const PlanOptionFields& fields) {
  return track(quort::applyPlanOptions(m_ws, m_ui, fields));
}
void BaseDataEditor::resetPlanOptions() {
  resetPlanOptionValues(m_ws);
  track(true);
}

void BaseDataEditor::undo() {
  m_ws.base = m_base;
  m_ws.plan = m_plan;
  m_ws.shell = m_shell;
  m_ws.backup = PlanBackup{};
  m_ws.placement.hoursToPlace.clear();
  m_ws.panels.fixedByAll.clear();
  m_changed = false;
  m_restart = false;
}

BaseDataEditor::Finish BaseDataEditor::finish(const std::string& name) {
  const std::string stem =
      name.substr(0, name.find('.', name.find_last_of('/') == std::string::npos ? 0 : name.find_last_of('/')));
  if (stem.empty()) {
    if (m_changed) {
      m_ui.message("Anderungen ohne Wirkung!", kEditorNotice);
      undo();
    }
    return Finish::Discarded;
  }
  if (SaveBaseData(m_ws, m_ui, stem) != 0) return Finish::SaveFailed;
  m_ws.base.baseDataName = stem.substr(stem.find_last_of('/') == std::string::npos ? 0 : stem.find_last_of('/') + 1);
  return Finish::Saved;
}

EditBaseDataOutcome editBaseData(Workspace& ws, Ui& ui, BaseDataDialogs& dialogs, const std::string& kind,
                                 bool newSet) {
  ws.shell.helpTopic = "TAVIN.hlp~grunddat";
  EditBaseDataOutcome outcome;
  BaseDataEditor editor(ws, ui);
  outcome.confirmed = editor.begin(newSet);
  const auto direct = directKind(kind);
  for (bool first = true; outcome.confirmed; first = false) {
    if (direct && first) {
      dialogs.entityList(editor, *direct);
    } else {
      chooseAndEdit(ws, ui, dialogs, editor);
    }
    const std::string name = FileChooser(ws, ui, {"QUORT-Plan - Grunddaten", "", "*.gd", ws.base.baseDataName});
    const BaseDataEditor::Finish finish = editor.finish(name);
    // A failed save must not end the program with the edits lost: the editor stays open.
    if (finish == BaseDataEditor::Finish::SaveFailed) continue;
    outcome.saved = finish == BaseDataEditor::Finish::Saved;
    if (outcome.saved && editor.restartRequired()) {
      ui.message("Programmende !", kEditorNotice);
      outcome.endProgram = true;
    }
    break;
  }
  ws.shell.helpTopic = "TAVIN.hlp~menu";
  return outcome;
}

}  // namespace quort
