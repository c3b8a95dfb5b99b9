#pragma once

#include <string>

#include "shell/command_interpreter.h"
#include "workspace/base_data_file.h"

namespace quort {

struct Workspace;
class Ui;
class BaseDataDialogs;

inline constexpr const char* kProgramName = "QUORT-Plan";

// The program behind the main window: the interpreter with every command registered,
// and the flows of the menu items that do more than issue a command. Front ends (the
// window, the batch runner) only forward what the user does to it.
class Application {
 public:
  Application(Workspace& ws, Ui& ui);

  Workspace& workspace() { return m_ws; }
  const Workspace& workspace() const { return m_ws; }
  Ui& ui() { return m_ui; }
  CommandInterpreter& interpreter() { return m_interpreter; }

  // The command field: text typed and Enter pressed.
  CommandOutcome typeCommand(const std::string& text) { return m_interpreter.run(text); }

  // "&Öffnen": base data first when none are loaded, then the plan. name empty: file chooser.
  LoadStatus open(const std::string& baseName);
  // Loads base data and follows the outcome: the base-data editor when the user wants to
  // enter new data, the end of the program when not.
  LoadStatus loadBase(const std::string& baseName);
  // "&Sichern": saves the plan (work modes 0 to 3 only); 0 when saved or nothing to save.
  int save();
  // Opens the plan file of that name (a .PV name: its plan file, then the snapshot),
  // without chooser and without asking "Stundenplan lesen?". false when nothing was read.
  bool openPlanByName(const std::string& planName);
  // "&Ende": asks "Programm beenden?" and closes the main window on OK.
  void requestEnd();
  // Closing the main window for whatever reason: saves a changed plan, then ends.
  void closeMainWindow();
  bool endRequested() const;
  // Whether ending now must save the plan first: a plan opened through the menu with
  // changes, or a substitution day in progress.
  static bool planMustBeSavedOnEnd(const Workspace& ws);

  // The dialogs of the base-data editor: the window sets its own; without them (scripts)
  // the editor opens none, and scripts drive its buttons through their keywords.
  void setBaseDataDialogs(BaseDataDialogs* dialogs) { m_baseDataDialogs = dialogs; }
  // The base-data editor ("G:", "&Grunddaten", "&Neu" with newSet); ends the program when
  // changed codes were saved.
  void editBaseData(const std::string& kind, bool newSet);

  // Brings the current selections back into range after a load or an edit.
  void refreshView();
  void setWorkMode(int mode);

  static std::string versionText();

 private:
  void registerCommands();
  // The plan save with its dialog ("Plan sichern").
  int savePlan();

  Workspace& m_ws;
  Ui& m_ui;
  CommandInterpreter m_interpreter;
  BaseDataDialogs* m_baseDataDialogs = nullptr;
};

}  // namespace quort
