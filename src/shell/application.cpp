#include "shell/application.h"

#include <algorithm>

#include "data/file_access.h"
#include "editors/base_data_choice_dialogs.h"
#include "editors/base_data_editor.h"
#include "shell/base_data_commands.h"
#include "shell/command_table.h"
#include "workspace/plan_file.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

Application::Application(Workspace& ws, Ui& ui) : m_ws(ws), m_ui(ui), m_interpreter(ws, ui) {
  m_ws.shell.workMode = 1;
  m_ws.shell.substitutionMode = false;
  m_ws.shell.helpTopic = "TAVIN.hlp~menu";
  if (m_ws.shell.programDirectory.empty()) m_ws.shell.programDirectory = currentDirectoryText();
  registerCommands();
}

std::string Application::versionText() { return std::string(kProgramName) + " " + QUORT_VERSION; }

void Application::registerCommands() {
  registerAllCommands(m_interpreter);
  registerBaseDataCommands(*this);
}

void Application::editBaseData(const std::string& kind, bool newSet) {
  // Without the window the dialogs are choice boxes, which scripts answer.
  ChoiceBaseDataDialogs asChoices;
  const EditBaseDataOutcome outcome =
      quort::editBaseData(m_ws, m_ui, m_baseDataDialogs != nullptr ? *m_baseDataDialogs : asChoices, kind, newSet);
  refreshView();
  if (outcome.endProgram) closeMainWindow();
}

LoadStatus Application::loadBase(const std::string& baseName) {
  const LoadStatus status = LoadBaseData(m_ws, m_ui, baseName);
  if (status == LoadStatus::EnterNewData) typeCommand("G");
  if (status == LoadStatus::EndProgram) closeMainWindow();
  if (status == LoadStatus::Loaded) refreshView();
  return status;
}

LoadStatus Application::open(const std::string& baseName) {
  if (!m_ws.base.loaded()) {
    const LoadStatus status = loadBase(baseName);
    if (status != LoadStatus::Loaded) return status;
  }
  OpenPlan(m_ws, m_ui);
  refreshView();
  return LoadStatus::Loaded;
}

int Application::save() {
  if (m_ws.shell.workMode > 3) return 0;
  return savePlan();
}

int Application::savePlan() { return SavePlan(m_ws, m_ui, SaveKind::Normal); }

bool Application::openPlanByName(const std::string& planName) {
  if (!m_ws.base.loaded()) return false;
  const size_t dot =
      planName.find('.', planName.find_last_of('/') == std::string::npos ? 0 : planName.find_last_of('/'));
  const bool snapshot = dot != std::string::npos && planName.size() >= dot + 3 &&
                        (planName.compare(dot, 3, ".PV") == 0 || planName.compare(dot, 3, ".pv") == 0);
  const std::string name = stemOf(planName);
  m_ws.plan.assignmentBuffer.clear();
  m_ws.plan.reference.clear();
  bool complete = LoadPlan(m_ws, m_ui, name, PlanFileKind::Plan, {.askForTimetable = false});
  m_ws.plan.reference.lessonWord = m_ws.plan.timetable.lessonWord;
  m_ws.plan.reference.roomWord = m_ws.plan.timetable.roomWord;
  if (snapshot) {
    complete = LoadPlan(m_ws, m_ui, name, PlanFileKind::Snapshot, {.askForTimetable = false}) && complete;
    m_ws.shell.substitutionMode = true;
  }
  m_ws.shell.planOpened = true;
  refreshView();
  return complete;
}

void Application::requestEnd() {
  if (m_ui.askOkCancel("Programm beenden?", MessageStyle{Icon::Question})) closeMainWindow();
}

bool Application::planMustBeSavedOnEnd(const Workspace& ws) {
  return ws.shell.planOpened && (ws.plan.anyChange() || ws.shell.substitutionMode);
}

void Application::closeMainWindow() {
  if (m_ws.shell.endRequested) return;
  // Whatever the work mode: the exam mode's "Sichern" is greyed, but its changes must not be lost.
  if (planMustBeSavedOnEnd(m_ws)) savePlan();
  m_ws.shell.endRequested = true;
}

bool Application::endRequested() const { return m_ws.shell.endRequested; }

void Application::refreshView() {
  ShellState& shell = m_ws.shell;
  if (shell.currentClass < 1 || shell.currentClass > m_ws.base.nClasses()) shell.currentClass = 1;
  if (shell.currentTeacher < 1 || shell.currentTeacher > m_ws.base.nTeachers() - 1) shell.currentTeacher = 1;
  if (shell.view.currentRoom < 1 || shell.view.currentRoom > m_ws.base.nRooms()) shell.view.currentRoom = 1;
  if (shell.view.currentSubject < 1 || shell.view.currentSubject > m_ws.base.nSubjects() - 1)
    shell.view.currentSubject = 1;
  shell.currentPeriod = std::clamp(shell.currentPeriod, 1, std::max(1, m_ws.base.periodsPerDay));
  shell.currentDay = std::clamp(shell.currentDay, 1, 6);
}

void Application::setWorkMode(int mode) {
  m_ws.shell.workMode = std::clamp(mode, 0, 4);
  if (m_ws.shell.workMode == 3) m_ws.shell.substitutionMode = true;
  m_ws.shell.showCouplingNumbers = m_ws.shell.workMode == 0;
  m_ws.shell.mainView = MainView::WeekGrid;
  refreshView();
}

}  // namespace quort
