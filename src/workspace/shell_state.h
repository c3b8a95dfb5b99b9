#pragma once

#include <string>

namespace quort {

// What the main view shows in work modes 0 to 2.
enum class MainView { WeekGrid, CouplingList, BlockList };
// Which plans the main view shows and what its cells name ("X:" switches).
enum class PlanViewKind { Class, Teacher, Room, Subject };
using PlanEntity = PlanViewKind;
struct PlanViewSwitches {
  PlanViewKind kind = PlanViewKind::Class;
  bool showClass = true;
  bool showTeacher = true;
  bool showRoom = true;
  int currentSubject = 1;
  int currentRoom = 1;
};

// State of the main window that the commands read and change.
struct ShellState {
  int workMode = 1;  // 0 Kopplungen, 1 Einzelstunden, 2 Raumplan, 3 Vertretungen, 4 Klausuren
  int currentClass = 1;
  int currentTeacher = 1;
  int currentPeriod = 1;
  int currentDay = 1;
  std::string currentCommand;
  bool continuation = false;
  bool planOpened = false;
  bool showOriginalPlan = false;
  bool substitutionMode = false;
  bool endRequested = false;  // the main loop ends when this is set
  std::string helpTopic = "TAVIN.hlp~menu";
  std::string programDirectory;  // with a trailing separator
  std::string installDirectory;  // where the program file lies; the help file's second home

  MainView mainView = MainView::WeekGrid;
  bool showCouplingNumbers = false;  // coupled lessons show their coupling number, not the subject
  PlanViewSwitches view;
  std::string currentEntry;  // the assignment chosen in the "zu setzen" list (its 4 bytes)
};

// Shared values of the dialogs.
struct DialogState {
  std::string currentFileName;
  std::string currentDate;  // "TT.MM.JJJJ"
  std::string lastName;
  std::string lastDirectory;
  bool abortRequested = false;
};

}  // namespace quort
