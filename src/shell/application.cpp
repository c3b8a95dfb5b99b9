#include "shell/application.h"

#include <algorithm>

#include "data/file_access.h"
#include "shell/command_table.h"
#include "shell/ui.h"
#include "shell/workspace.h"

namespace quort {

Application::Application(Workspace& ws, Ui& ui) : m_ws(ws), m_ui(ui), m_interpreter(ws, ui) {
  m_ws.shell.workMode = 1;
  m_ws.shell.substitutionMode = false;
  m_ws.shell.helpTopic = "TAVIN.hlp~menu";
  if (m_ws.shell.programDirectory.empty()) m_ws.shell.programDirectory = currentDirectoryText();
  registerCommands();
}

std::string Application::versionText() { return std::string(kProgramName) + " " + QUORT_VERSION; }

void Application::registerCommands() { registerAllCommands(m_interpreter); }

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
  refreshView();
  return LoadStatus::Loaded;
}

void Application::save() {
  if (m_ws.shell.workMode > 3) return;
  savePlan();
}

void Application::savePlan() {
  m_ui.message("Funktion nicht verf\xFC" "gbar!", MessageStyle{Icon::Information});
}

bool Application::openPlanByName(const std::string&) {
  m_ui.message("Funktion nicht verf\xFC" "gbar!", MessageStyle{Icon::Information});
  return false;
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
  if (shell.currentRoom < 1 || shell.currentRoom > m_ws.base.nRooms()) shell.currentRoom = 1;
  if (shell.currentSubject < 1 || shell.currentSubject > m_ws.base.nSubjects() - 1) shell.currentSubject = 1;
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
