#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <map>
#include <memory>
#include <string>

#include "gui/week_grid_widget.h"
#include "shell/button_row.h"
#include "shell/menu_table.h"
#include "timetable/plan_views.h"
#include "workspace/ui.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace quort {

class Application;
class QtBaseDataDialogs;
class WeekGridWidget;

// The planner's main window: menu bar, command field, work-mode selector, button row, the
// main view and two status fields. Everything the user does is handed to the Application;
// afterwards the window shows the workspace again (the view refresh).
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kChildWindowSlots = 16;

  explicit MainWindow(Application& app, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The view refresh: menus, buttons, selector, main view and status fields from the workspace.
  void refresh();
  void triggerMenuItem(int id);
  void pressMainButton(MainButton button);
  void selectCell(int row, int day);
  // Drops and keys on the grid (rows and days 0-based), each one command or one move.
  void placeEntryAtCell(int entryNumber, int row, int day);
  void moveLessonToCell(int fromRow, int fromDay, int row, int day);
  void removeAtCell(int row, int day);

  QAction* menuAction(int id) const;
  QAction* undoAction() const { return m_undoAction; }
  QAction* redoAction() const { return m_redoAction; }
  QMenu* pulldown(int index) const;
  QPushButton* mainButton(MainButton button) const;
  QLabel* modeLabel() const { return m_modeLabel; }
  QLineEdit* commandField() const { return m_commandField; }
  QComboBox* workModeSelector() const { return m_workMode; }
  QLabel* statusField(int number) const { return number == 1 ? m_status1 : m_status2; }
  WeekGridWidget* weekGrid() const { return m_grid; }
  QListWidget* listView() const { return m_list; }
  // The "zu setzen" list beside the grid: what "P:" lists; a pick chooses the entry to place.
  // In work mode 3 "Zu vertreten:": a pick opens the lesson's "Vertretung" dialog.
  QListWidget* toPlaceList() const { return m_toPlace; }
  bool showsList() const;

  // Modeless windows opened from here; they are closed with the main window.
  bool registerChildWindow(QWidget* window);
  // Opens the assignment, coupling or block editor; an editor of that kind that is still
  // open is closed first.
  void openEditor(const EditorRequest& request);
  QWidget* editor(EditorKind kind) const;
  int openChildWindows() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void addHistoryActions();
  void showDraggedEntry(int entryNumber, bool dragging);
  void showDraggedLesson(int row, int day, bool dragging);
  void walkHistory(bool forward);
  void addFitMarks(const WeekGrid& grid, WeekGridWidget::Options& options);
  void addMenuNodes(QMenu* menu, const std::vector<MenuNode>& nodes);
  QWidget* buildCommandRow();
  QWidget* buildButtonRow();
  QWidget* buildMainView();
  QWidget* buildToPlacePanel();
  void runCommandField();
  void runEditorCommand(const QString& command);
  void listItemActivated(QListWidgetItem* item);
  void toPlaceItemPicked(QListWidgetItem* item);
  void showHelpWindow();
  void afterAction();
  void refreshMenus();
  void refreshButtons();
  void refreshMainView();
  void refreshToPlaceList();
  void refreshOpenLessonList();
  void refreshStatus();
  void closeChildWindows();

  Application& m_app;
  std::map<int, QAction*> m_actions;
  QAction* m_undoAction = nullptr;
  QAction* m_redoAction = nullptr;
  std::string m_draggedEntry;  // the entry being dragged from the list, shown before the chosen one
  // While a lesson of the grid is dragged: where it can go, shown instead of the chosen entry.
  bool m_draggingLesson = false;
  std::vector<SlotFit> m_draggedLessonFits;
  std::vector<std::pair<QMenu*, const MenuNode*>> m_pulldowns;
  std::array<QPushButton*, kMainButtonCount> m_buttons{};
  QLabel* m_modeLabel = nullptr;
  QLineEdit* m_commandField = nullptr;
  QComboBox* m_workMode = nullptr;
  QStackedWidget* m_views = nullptr;
  WeekGridWidget* m_grid = nullptr;
  QLabel* m_listTitle = nullptr;
  QListWidget* m_list = nullptr;
  QWidget* m_toPlacePanel = nullptr;
  QLabel* m_toPlaceTitle = nullptr;
  QListWidget* m_toPlace = nullptr;
  QLabel* m_status1 = nullptr;
  QLabel* m_status2 = nullptr;
  std::array<QPointer<QWidget>, kChildWindowSlots> m_childWindows{};
  std::array<QPointer<QWidget>, 5> m_editors{};  // one per EditorKind
  std::unique_ptr<QtBaseDataDialogs> m_baseDataDialogs;
};

}  // namespace quort
