#include "gui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "data/calendar.h"
#include "data/plan_records.h"
#include "gui/courses/course_editor_dialog.h"
#include "gui/editors/assignment_editor_dialog.h"
#include "gui/editors/base_data_dialogs.h"
#include "gui/editors/block_editor_dialog.h"
#include "gui/editors/coupling_editor_dialog.h"
#include "gui/editors/tool_panel_dialog.h"
#include "gui/qt_text.h"
#include "gui/text_windows.h"
#include "gui/week_grid_widget.h"
#include "shell/application.h"
#include "shell/base_data_commands.h"
#include "shell/exam_commands.h"
#include "shell/history_commands.h"
#include "shell/main_view_model.h"
#include "shell/menu_actions.h"
#include "shell/substitution_menu.h"
#include "timetable/assignment_list.h"
#include "timetable/lesson_move.h"
#include "timetable/plan_views.h"
#include "workspace/print_job.h"
#include "workspace/text_files.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

const char* const kWorkModes[] = {"Kopplungen", "Einzelstunden", "Raumplan", "Vertretungen", "Klausuren"};

constexpr int kHelpItem = 150;

// The leading number of a list line ("12: ...").
int leadingNumber(const QString& line) { return line.section(QLatin1Char(':'), 0, 0).trimmed().toInt(); }

// The entry number that heads a "zu setzen" line ("  12  MR D  5A  4"); 0 for the sum.
int entryNumber(const QString& line) { return line.simplified().section(QLatin1Char(' '), 0, 0).toInt(); }

// The "zu setzen" list as a drag source of entries and a drop target for lessons: a lesson
// dropped on it goes back into the assignments.
class ToPlaceList : public QListWidget {
 public:
  using DragStarted = std::function<void(int entry, bool dragging)>;
  using LessonDropped = std::function<void(int row, int day)>;
  ToPlaceList(QWidget* parent, DragStarted dragStarted, LessonDropped lessonDropped)
      : QListWidget(parent), m_dragStarted(std::move(dragStarted)), m_lessonDropped(std::move(lessonDropped)) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
  }

 protected:
  QStringList mimeTypes() const override { return {QLatin1String(kEntryMimeType), QLatin1String(kCellMimeType)}; }
  QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override {
    const int number = items.isEmpty() ? 0 : entryNumber(items.first()->text());
    if (number <= 0) return nullptr;
    auto* data = new QMimeData;
    data->setData(QLatin1String(kEntryMimeType), QByteArray::number(number));
    return data;
  }
  void startDrag(Qt::DropActions actions) override {
    const int number = currentItem() != nullptr ? entryNumber(currentItem()->text()) : 0;
    m_dragStarted(number, true);
    QListWidget::startDrag(actions);
    m_dragStarted(number, false);
  }
  void dragEnterEvent(QDragEnterEvent* event) override { acceptLesson(event); }
  void dragMoveEvent(QDragMoveEvent* event) override { acceptLesson(event); }
  void dropEvent(QDropEvent* event) override {
    int row = 0, day = 0;
    if (!cellOfMimeData(event->mimeData(), row, day)) return event->ignore();
    event->acceptProposedAction();
    m_lessonDropped(row, day);
  }

 private:
  // Only lessons of the grid are taken; the list's own entries do not reorder.
  void acceptLesson(QDropEvent* event) {
    if (event->mimeData()->hasFormat(QLatin1String(kCellMimeType))) {
      event->acceptProposedAction();
    } else {
      event->ignore();
    }
  }
  DragStarted m_dragStarted;
  LessonDropped m_lessonDropped;
};

QString slotText(const Workspace& ws) {
  const ShellState& shell = ws.shell;
  return QStringLiteral("%1, %2. Std.").arg(toQString(DayAbbrev(shell.currentDay))).arg(shell.currentPeriod);
}

}  // namespace

MainWindow::MainWindow(Application& app, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_baseDataDialogs(std::make_unique<QtBaseDataDialogs>(this)) {
  setWindowTitle(toQString(Application::versionText()));
  m_app.setBaseDataDialogs(m_baseDataDialogs.get());
  buildMenus();
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(8, 6, 8, 4);
  layout->setSpacing(6);
  layout->addWidget(buildCommandRow());
  layout->addWidget(buildButtonRow());
  layout->addWidget(buildMainView(), 1);
  setCentralWidget(central);
  m_status1 = new QLabel(this);
  m_status2 = new QLabel(this);
  m_status1->setObjectName(QStringLiteral("status1"));
  m_status2->setObjectName(QStringLiteral("status2"));
  statusBar()->addWidget(m_status1, 1);
  statusBar()->addPermanentWidget(m_status2);
  resize(1040, 760);
  refresh();
}

MainWindow::~MainWindow() {
  m_app.setBaseDataDialogs(nullptr);
  for (const auto& editor : m_editors) {
    if (editor) disconnect(editor, nullptr, this, nullptr);
  }
  closeChildWindows();
}

void MainWindow::buildMenus() {
  for (const MenuNode& node : mainMenu()) {
    QMenu* menu = menuBar()->addMenu(toQString(node.caption));
    m_pulldowns.emplace_back(menu, &node);
    addMenuNodes(menu, node.children);
  }
  addHistoryActions();
}

// Ctrl+Z and Ctrl+Y sit at the top of the Bearbeiten menu and name the step they walk to.
void MainWindow::addHistoryActions() {
  for (const auto& [menu, node] : m_pulldowns) {
    if (toQString(node->caption).remove(QLatin1Char('&')).trimmed() != QStringLiteral("Bearbeiten")) continue;
    QAction* first = menu->actions().isEmpty() ? nullptr : menu->actions().first();
    m_undoAction = new QAction(this);
    m_undoAction->setObjectName(QStringLiteral("undo"));
    m_undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redoAction = new QAction(this);
    m_redoAction->setObjectName(QStringLiteral("redo"));
    m_redoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    menu->insertActions(first, {m_undoAction, m_redoAction});
    menu->insertSeparator(first);
    connect(m_undoAction, &QAction::triggered, this, [this] { walkHistory(false); });
    connect(m_redoAction, &QAction::triggered, this, [this] { walkHistory(true); });
    return;
  }
}

void MainWindow::walkHistory(bool forward) {
  if (forward ? redoPlanStep(m_app) : undoPlanStep(m_app)) afterAction();
}

void MainWindow::addMenuNodes(QMenu* menu, const std::vector<MenuNode>& nodes) {
  for (const MenuNode& node : nodes) {
    if (node.kind == MenuNode::Kind::Submenu) {
      addMenuNodes(menu->addMenu(toQString(node.caption)), node.children);
      continue;
    }
    QAction* action = menu->addAction(toQString(node.caption));
    action->setObjectName(QStringLiteral("menu%1").arg(node.id));
    action->setData(node.id);
    const int id = node.id;
    connect(action, &QAction::triggered, this, [this, id] { triggerMenuItem(id); });
    m_actions[id] = action;
  }
}

QWidget* MainWindow::buildCommandRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  m_commandField = new QLineEdit(row);
  m_commandField->setObjectName(QStringLiteral("commandField"));
  m_commandField->setFont(fixedFont());
  m_commandField->setPlaceholderText(
      QStringLiteral("Befehl eingeben, z. B. S  oder  B:+2  \u2013 Enter f\u00FChrt ihn aus"));
  connect(m_commandField, &QLineEdit::returnPressed, this, &MainWindow::runCommandField);
  m_workMode = new QComboBox(row);
  m_workMode->setObjectName(QStringLiteral("workModeSelector"));
  for (const char* mode : kWorkModes) m_workMode->addItem(QString::fromLatin1(mode));
  connect(m_workMode, &QComboBox::currentIndexChanged, this, [this](int mode) {
    m_app.setWorkMode(mode);
    refresh();
    // The substitution day starts with its absences.
    if (mode == 3 && m_app.workspace().base.loaded()) m_app.typeCommand("V:");
    afterAction();
  });
  m_modeLabel = new QLabel(row);
  m_modeLabel->setObjectName(QStringLiteral("modeLabel"));
  m_modeLabel->setMinimumWidth(80);
  auto* toggle = new QPushButton(row);
  toggle->setObjectName(QStringLiteral("button14"));
  connect(toggle, &QPushButton::clicked, this, [this] { pressMainButton(MainButton::PlanToggle); });
  m_buttons[static_cast<size_t>(MainButton::PlanToggle)] = toggle;
  layout->addWidget(new QLabel(QStringLiteral("Befehl:"), row));
  layout->addWidget(m_commandField, 1);
  layout->addSpacing(12);
  layout->addWidget(new QLabel(QStringLiteral("Arbeitsmodus:"), row));
  layout->addWidget(m_workMode);
  layout->addWidget(m_modeLabel);
  layout->addWidget(toggle);
  return row;
}

QWidget* MainWindow::buildButtonRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  for (int i = 0; i < static_cast<int>(MainButton::PlanToggle); ++i) {
    const auto button = static_cast<MainButton>(i);
    // Gaps set off the plan functions, the choosers and the lists.
    if (button == MainButton::Classes || button == MainButton::Couplings) layout->addSpacing(14);
    auto* pushButton = new QPushButton(row);
    pushButton->setObjectName(QStringLiteral("button%1").arg(i));
    pushButton->setFocusPolicy(Qt::TabFocus);
    const bool narrow = i >= static_cast<int>(MainButton::Classes);
    pushButton->setMinimumWidth(narrow ? 40 : 78);
    connect(pushButton, &QPushButton::clicked, this, [this, button] { pressMainButton(button); });
    m_buttons[static_cast<size_t>(i)] = pushButton;
    layout->addWidget(pushButton);
  }
  layout->addStretch();
  return row;
}

QWidget* MainWindow::buildMainView() {
  m_views = new QStackedWidget(this);
  m_grid = new WeekGridWidget;
  auto* scroll = new QScrollArea;
  scroll->setWidget(m_grid);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::StyledPanel);
  connect(m_grid, &WeekGridWidget::cellSelected, this, &MainWindow::selectCell);
  connect(m_grid, &WeekGridWidget::entryDropped, this, &MainWindow::placeEntryAtCell);
  connect(m_grid, &WeekGridWidget::lessonDropped, this, &MainWindow::moveLessonToCell);
  connect(m_grid, &WeekGridWidget::lessonDragging, this, &MainWindow::showDraggedLesson);
  connect(m_grid, &WeekGridWidget::placeRequested, this, [this](int row, int day) { placeEntryAtCell(0, row, day); });
  connect(m_grid, &WeekGridWidget::removeRequested, this, &MainWindow::removeAtCell);
  connect(m_grid, &WeekGridWidget::entityStepRequested, this, [this](int direction) {
    stepEntity(m_app.workspace(), direction);
    refresh();
  });
  auto* listPage = new QWidget;
  auto* listLayout = new QVBoxLayout(listPage);
  listLayout->setContentsMargins(0, 0, 0, 0);
  m_listTitle = new QLabel(listPage);
  QFont titleFont = m_listTitle->font();
  titleFont.setPointSize(titleFont.pointSize() + 3);
  titleFont.setBold(true);
  m_listTitle->setFont(titleFont);
  m_list = new QListWidget(listPage);
  m_list->setObjectName(QStringLiteral("listView"));
  m_list->setFont(fixedFont());
  m_list->setAlternatingRowColors(true);
  connect(m_list, &QListWidget::itemActivated, this, &MainWindow::listItemActivated);
  listLayout->addWidget(m_listTitle);
  listLayout->addWidget(m_list, 1);
  auto* gridPage = new QWidget;
  auto* gridLayout = new QHBoxLayout(gridPage);
  gridLayout->setContentsMargins(0, 0, 0, 0);
  gridLayout->addWidget(scroll, 1);
  gridLayout->addWidget(buildToPlacePanel());
  m_views->addWidget(gridPage);
  m_views->addWidget(listPage);
  return m_views;
}

QWidget* MainWindow::buildToPlacePanel() {
  m_toPlacePanel = new QWidget;
  m_toPlacePanel->setObjectName(QStringLiteral("toPlacePanel"));
  auto* layout = new QVBoxLayout(m_toPlacePanel);
  layout->setContentsMargins(0, 0, 0, 0);
  m_toPlaceTitle = new QLabel(m_toPlacePanel);
  QFont titleFont = m_toPlaceTitle->font();
  titleFont.setBold(true);
  m_toPlaceTitle->setFont(titleFont);
  m_toPlace = new ToPlaceList(
      m_toPlacePanel, [this](int entry, bool dragging) { showDraggedEntry(entry, dragging); },
      [this](int row, int day) { removeAtCell(row, day); });
  m_toPlace->setObjectName(QStringLiteral("toPlaceList"));
  m_toPlace->setFont(fixedFont());
  m_toPlace->setMinimumWidth(230);
  m_toPlace->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(m_toPlace, &QListWidget::itemClicked, this, &MainWindow::toPlaceItemPicked);
  connect(m_toPlace, &QListWidget::itemActivated, this, &MainWindow::toPlaceItemPicked);
  layout->addWidget(m_toPlaceTitle);
  layout->addWidget(m_toPlace, 1);
  return m_toPlacePanel;
}

QAction* MainWindow::menuAction(int id) const {
  const auto found = m_actions.find(id);
  return found == m_actions.end() ? nullptr : found->second;
}

QMenu* MainWindow::pulldown(int index) const {
  return index >= 0 && index < static_cast<int>(m_pulldowns.size()) ? m_pulldowns[static_cast<size_t>(index)].first
                                                                    : nullptr;
}

QPushButton* MainWindow::mainButton(MainButton button) const { return m_buttons[static_cast<size_t>(button)]; }

bool MainWindow::showsList() const { return m_views->currentIndex() == 1; }

void MainWindow::runCommandField() {
  const std::string text = fromQString(m_commandField->text());
  m_commandField->clear();
  m_app.typeCommand(text + "\r");
  afterAction();
}

void MainWindow::triggerMenuItem(int id) {
  if (id == kHelpItem) {
    showHelpWindow();
    return;
  }
  const std::string field = fromQString(m_commandField->text());
  // "&Autom.Setzen" and "Plan vervollständigen" take the field's text along
  if (id == 104 || id == 154) m_commandField->clear();
  runMenuItem(m_app, id, field);
  afterAction();
}

void MainWindow::pressMainButton(MainButton button) {
  quort::pressButton(m_app, button);
  afterAction();
}

// With a tool panel open, the click is the panel's: it locks, fixes or indexes there.
void MainWindow::selectCell(int row, int day) {
  clickSlot(m_app, day + 1, row + 1);
  refresh();
}

namespace {

std::string slotArgument(int row, int day) { return std::to_string(day + 1) + "," + std::to_string(row + 1); }

// A card of the subject view stands for one lesson when it shows one class, or classes that
// all sit in the same coupling (moving one moves them all); then its first class, else 0:
// separate lessons of several classes at one time are no single thing to move.
int subjectLessonClass(const Workspace& ws, int subject, Slot slot) {
  const TimetableGrids& t = ws.plan.timetable;
  int first = 0;
  int coupling = 0;
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    const uint16_t lesson = t.lessonWord.at(c, slot.period, slot.day);
    if (LessonWord::teacher(lesson) == 0 || lesson == classLockWord(ws.base) ||
        LessonWord::subject(lesson) != subject) {
      continue;
    }
    const int couplingHere = RoomWord::coupling(t.roomWord.at(c, slot.period, slot.day));
    if (first == 0) {
      first = c;
      coupling = couplingHere;
    } else if (coupling == 0 || couplingHere != coupling) {
      return 0;
    }
  }
  return first;
}

// The class whose lesson the shown grid has at the slot: the shown class, or the class
// the shown teacher teaches or the shown room holds there.
int lessonClassAt(const Workspace& ws, Slot slot) {
  const ShellState& shell = ws.shell;
  const TimetableGrids& t = ws.plan.timetable;
  switch (shell.view.kind) {
    case PlanViewKind::Class:
      return shell.currentClass;
    case PlanViewKind::Teacher:
      return shell.currentTeacher >= 1 && shell.currentTeacher <= t.teacher.entities()
                 ? t.teacher.at(shell.currentTeacher, slot.period, slot.day) >> 8
                 : 0;
    case PlanViewKind::Room:
      return shell.view.currentRoom >= 1 && shell.view.currentRoom <= t.room.entities()
                 ? t.room.at(shell.view.currentRoom, slot.period, slot.day)
                 : 0;
    case PlanViewKind::Subject:
      return subjectLessonClass(ws, shell.view.currentSubject, slot);
  }
  return 0;
}

}  // namespace

// Entry number 0 places the chosen entry, as "einfügen" does.
void MainWindow::placeEntryAtCell(int entryNumber, int row, int day) {
  const std::string entry = entryNumber > 0 ? " N:" + std::to_string(entryNumber) : std::string();
  m_app.typeCommand(">" + slotArgument(row, day) + entry);
  afterAction();
}

void MainWindow::moveLessonToCell(int fromRow, int fromDay, int row, int day) {
  const Slot from{fromDay + 1, fromRow + 1};
  const int c = lessonClassAt(m_app.workspace(), from);
  if (c > 0 && (fromRow != row || fromDay != day)) moveLessonStep(m_app, MoveRequest{c, from, Slot{day + 1, row + 1}});
  afterAction();
}

void MainWindow::removeAtCell(int row, int day) {
  m_app.typeCommand("<" + slotArgument(row, day));
  afterAction();
}

// While a lesson of the grid is dragged, the week shows where that lesson can go.
void MainWindow::showDraggedLesson(int row, int day, bool dragging) {
  Workspace& ws = m_app.workspace();
  m_draggingLesson = dragging;
  m_draggedLessonFits.clear();
  if (dragging) {
    const Slot from{day + 1, row + 1};
    m_draggedLessonFits = lessonFits(ws, m_app.ui(), lessonClassAt(ws, from), from);
  }
  refreshMainView();
}

// While an entry is dragged from the list, the week shows where it can go.
void MainWindow::showDraggedEntry(int entryNumber, bool dragging) {
  const std::string& list = m_app.workspace().plan.assignments;
  const size_t at = static_cast<size_t>(std::max(0, entryNumber - 1)) * AssignmentView::kSize;
  m_draggedEntry = dragging && entryNumber > 0 && at + AssignmentView::kSize <= list.size()
                       ? list.substr(at, AssignmentView::kSize)
                       : std::string();
  refreshMainView();
}

void MainWindow::listItemActivated(QListWidgetItem* item) {
  if (m_app.workspace().shell.workMode == 4) return;  // the exam evaluation is only read
  const int number = leadingNumber(item->text());
  if (number <= 0) return;
  const bool couplings = m_app.workspace().shell.mainView == MainView::CouplingList;
  m_app.typeCommand((couplings ? "T:" : "B:") + std::to_string(number));
  afterAction();
}

// A pick chooses the entry the way "P:n" does, so the next ">" places it.
void MainWindow::toPlaceItemPicked(QListWidgetItem* item) {
  if (m_app.workspace().shell.workMode == 3) {
    // "Zu vertreten:": the lesson's "Vertretung" dialog, as the list window would open it.
    const std::string command = item != nullptr ? openLessonCommand(m_app.workspace(), m_toPlace->row(item)) : "";
    if (command.empty()) return;
    m_app.typeCommand(command);
    afterAction();
    return;
  }
  const int number = item != nullptr ? entryNumber(item->text()) : 0;
  if (number <= 0) return;
  m_app.typeCommand("P:" + std::to_string(number));
  afterAction();
}

// The help stays open beside the work, so it is a modeless window of its own.
void MainWindow::showHelpWindow() {
  Workspace& ws = m_app.workspace();
  const std::string text = helpText(ws, m_app.ui());
  auto* viewer = new TextViewerDialog(
      std::string(kProgramTitle) + " - Hilfen", text,
      [this, text] { PrintWithSetup(m_app.workspace(), m_app.ui(), "Hilfen", text); }, this);
  viewer->setAttribute(Qt::WA_DeleteOnClose);
  viewer->setModal(false);
  if (!registerChildWindow(viewer)) {
    viewer->exec();
    return;
  }
  viewer->show();
}

void MainWindow::openEditor(const EditorRequest& request) {
  QPointer<QWidget>& slot = m_editors[static_cast<size_t>(request.kind)];
  // The panel that follows is open in the workspace already; closing its window must not close it.
  if (auto* panel = qobject_cast<ToolPanelDialog*>(slot.data())) panel->replaceByNext();
  if (slot) slot->close();
  QDialog* dialog = nullptr;
  const auto wire = [this](auto* editor) {
    connect(editor, &std::remove_pointer_t<decltype(editor)>::changed, this, &MainWindow::refresh);
    connect(editor, &std::remove_pointer_t<decltype(editor)>::commandRequested, this, &MainWindow::runEditorCommand);
    connect(editor, &QDialog::finished, this, &MainWindow::refresh);
    return editor;
  };
  switch (request.kind) {
    case EditorKind::Assignments:
      dialog = wire(new AssignmentEditorDialog(m_app, request.viewMode, this));
      break;
    case EditorKind::Coupling:
      dialog = wire(new CouplingEditorDialog(m_app, request.number, this));
      break;
    case EditorKind::Block:
      dialog = wire(new BlockEditorDialog(m_app, request.number, this));
      break;
    case EditorKind::ToolPanel:
      // One panel at a time: the one before has been closed above.
      dialog = wire(new ToolPanelDialog(m_app, this));
      break;
    case EditorKind::Courses:
      dialog = wire(new CourseEditorDialog(m_app, this));
      break;
  }
  slot = dialog;
  registerChildWindow(dialog);
  dialog->show();
}

QWidget* MainWindow::editor(EditorKind kind) const { return m_editors[static_cast<size_t>(kind)]; }

// An editor hands control back the way the user would: the command goes through the field.
void MainWindow::runEditorCommand(const QString& command) {
  m_commandField->setText(command);
  runCommandField();
}

bool MainWindow::registerChildWindow(QWidget* window) {
  for (auto& slot : m_childWindows) {
    if (!slot) {
      slot = window;
      return true;
    }
  }
  return false;
}

int MainWindow::openChildWindows() const {
  return static_cast<int>(
      std::count_if(m_childWindows.begin(), m_childWindows.end(), [](const auto& w) { return !w.isNull(); }));
}

void MainWindow::closeChildWindows() {
  for (auto& slot : m_childWindows) {
    if (slot) slot->close();
    slot = nullptr;
  }
}

void MainWindow::afterAction() {
  refresh();
  if (m_app.endRequested()) close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!m_app.endRequested()) m_app.closeMainWindow();
  closeChildWindows();
  event->accept();
}

void MainWindow::refresh() {
  m_app.refreshView();
  refreshMenus();
  refreshButtons();
  refreshMainView();
  refreshStatus();
}

void MainWindow::refreshMenus() {
  if (m_undoAction != nullptr) {
    m_undoAction->setText(toQString(undoCaption(m_app)));
    m_undoAction->setEnabled(m_app.workspace().history.canUndo());
    m_redoAction->setText(toQString(redoCaption(m_app)));
    m_redoAction->setEnabled(m_app.workspace().history.canRedo());
  }
  const Workspace& ws = m_app.workspace();
  for (const auto& [menu, node] : m_pulldowns) menu->menuAction()->setEnabled(menuEnabled(*node, ws));
  for (const auto& [id, action] : m_actions) action->setEnabled(menuEnabled(*findMenuItem(id), ws));
}

void MainWindow::refreshButtons() {
  const Workspace& ws = m_app.workspace();
  for (const ButtonState& state : buttonRow(ws)) {
    QPushButton* button = mainButton(state.button);
    button->setText(toQString(state.label));
    button->setEnabled(state.enabled);
    if (state.button == MainButton::PlanToggle) {
      button->setVisible(state.isButton);
      m_modeLabel->setText(toQString(state.label));
      m_modeLabel->setVisible(!state.isButton);
      m_modeLabel->setEnabled(state.enabled);
    }
  }
  const QSignalBlocker blocker(m_workMode);
  m_workMode->setCurrentIndex(ws.shell.workMode);
}

void MainWindow::refreshMainView() {
  const Workspace& ws = m_app.workspace();
  const ShellState& shell = ws.shell;
  if (ws.base.loaded() && shell.workMode == 4) {
    // The exam mode shows the evaluation of the exam being planned.
    const std::vector<std::string> lines = examModeViewLines(ws);
    m_listTitle->setText(QStringLiteral("Klausuren"));
    m_list->clear();
    for (const std::string& line : lines) m_list->addItem(toQString(line));
    if (lines.empty()) m_list->addItem(QStringLiteral("Keine Eingaben! \u201EVorgaben\u201C legt die Klausur fest."));
    m_views->setCurrentIndex(1);
    return;
  }
  const bool lists = ws.base.loaded() && shell.workMode <= 1 && shell.mainView != MainView::WeekGrid;
  if (lists) {
    const bool couplings = shell.mainView == MainView::CouplingList;
    const auto lines = couplings ? couplingListLines(ws) : blockListLines(ws);
    m_listTitle->setText(
        (couplings ? QStringLiteral("Kopplungen (%1)") : QStringLiteral("Bl\u00F6cke (%1)")).arg(lines.size()));
    m_list->clear();
    for (const std::string& line : lines) m_list->addItem(toQString(line));
    if (lines.empty()) {
      m_list->addItem(
          couplings ? QStringLiteral("Noch keine Kopplungen. Eingabe \u203A Kurse \u203A Kopplungen legt welche an.")
                    : QStringLiteral("Noch keine Bl\u00F6cke."));
    }
    m_views->setCurrentIndex(1);
    return;
  }
  WeekGridWidget::Options options;
  options.selectedRow = ws.base.loaded() ? shell.currentPeriod - 1 : -1;
  options.selectedDay = shell.currentDay - 1;
  options.showCouplingNumbers = shell.showCouplingNumbers;
  options.caption = QString::fromLatin1(kWorkModes[shell.workMode]);
  if (shell.workMode == 3) options.caption += shell.showOriginalPlan ? QStringLiteral(" (Originalplan)") : QString();
  if (!ws.base.loaded()) {
    options.emptyHint =
        QStringLiteral("Keine Grunddaten geladen.\nDatei \u203A \u00D6ffnen l\u00E4dt die Daten einer Schule.");
  }
  options.showClass = shell.view.showClass;
  options.showTeacher = shell.view.showTeacher;
  options.showRoom = shell.view.showRoom;
  WeekGrid grid = buildWeekGrid(ws);
  addFitMarks(grid, options);
  for (int row = 0; row < grid.rows(); ++row) {
    for (int day = 0; day < grid.days(); ++day) {
      options.movable.push_back(grid.at(row, day).hasLesson() && lessonClassAt(ws, Slot{day + 1, row + 1}) > 0);
    }
  }
  m_grid->setGrid(std::move(grid), options);
  m_views->setCurrentIndex(0);
  refreshToPlaceList();
}

namespace {

// The period a grid row shows: its leading number ("3", or "3A" with week alternation).
int periodOfRow(const std::string& rowName) {
  int period = 0;
  for (const char c : rowName) {
    if (c < '0' || c > '9') break;
    period = period * 10 + (c - '0');
  }
  return period;
}

}  // namespace

// While an entry is chosen, every cell shows what the slot check says of it there, the
// same codes "E:" lists.
void MainWindow::addFitMarks(const WeekGrid& grid, WeekGridWidget::Options& options) {
  Workspace& ws = m_app.workspace();
  const bool planning = ws.base.loaded() && ws.shell.workMode <= 1 && ws.shell.mainView == MainView::WeekGrid;
  if (!planning) return;
  const std::string entry = m_draggedEntry.empty() ? ws.shell.currentEntry : m_draggedEntry;
  const std::vector<SlotFit> fits = m_draggingLesson                        ? m_draggedLessonFits
                                    : entry.size() == AssignmentView::kSize ? entryFits(ws, entry)
                                                                            : std::vector<SlotFit>{};
  if (fits.empty()) return;
  for (int row = 0; row < grid.rows(); ++row) {
    for (int day = 0; day < grid.days(); ++day) {
      const Slot slot{day + 1, periodOfRow(grid.rowNames[static_cast<size_t>(row)])};
      const bool inWeek = slot.period >= 1 && slot.period <= ws.base.periodsPerDay && slot.day <= ws.base.days;
      const SlotFit fit = inWeek ? fits[fitIndex(ws, slot)] : SlotFit{};
      const bool usable = fit.code == CheckCode::Free;
      options.fitCodes.push_back(!inWeek  ? QString()
                                 : usable ? QStringLiteral(".")
                                          : QString::number(static_cast<int>(fit.code)));
      options.fitReasons.push_back(toQString(fit.reason));
    }
  }
}

// The list is only rebuilt when its lines change, so that a pick in it keeps its place.
void MainWindow::refreshToPlaceList() {
  const Workspace& ws = m_app.workspace();
  const bool substitution = ws.shell.workMode == 3;
  const bool shown = ws.base.loaded() && (ws.shell.workMode <= 1 || substitution);
  m_toPlacePanel->setVisible(shown);
  if (!shown) return;
  if (substitution) return refreshOpenLessonList();
  const std::vector<std::string> lines = lessonsToPlaceList(ws, {});
  QStringList texts;
  for (const std::string& line : lines) texts << toQString(line);
  bool same = m_toPlace->count() == texts.size();
  for (int i = 0; same && i < texts.size(); ++i) same = m_toPlace->item(i)->text() == texts[i];
  if (!same) {
    const QSignalBlocker blocker(m_toPlace);
    m_toPlace->clear();
    m_toPlace->addItems(texts);
    // The sum at the end is no entry.
    QListWidgetItem* sum = m_toPlace->item(m_toPlace->count() - 1);
    if (sum != nullptr && entryNumber(sum->text()) <= 0) sum->setFlags(Qt::ItemIsEnabled);
  }
  m_toPlaceTitle->setText(QStringLiteral("zu setzen (%1)").arg(std::max<qsizetype>(0, texts.size() - 1)));
  const auto chosen = ws.shell.currentEntry.size() == AssignmentView::kSize
                          ? findAssignment(ws.plan.assignments, ws.shell.currentEntry)
                          : std::nullopt;
  const QSignalBlocker blocker(m_toPlace);
  m_toPlace->clearSelection();
  for (int i = 0; chosen && i < m_toPlace->count(); ++i) {
    if (entryNumber(m_toPlace->item(i)->text()) != static_cast<int>(*chosen) + 1) continue;
    m_toPlace->setCurrentRow(i);
    m_toPlace->scrollToItem(m_toPlace->item(i));
  }
}

void MainWindow::refreshOpenLessonList() {
  const std::vector<std::string> lines = dayOpenLessonLines(m_app.workspace());
  const QSignalBlocker blocker(m_toPlace);
  m_toPlace->clear();
  for (const std::string& line : lines) m_toPlace->addItem(toQString(line));
  m_toPlaceTitle->setText(QStringLiteral("Zu vertreten: (%1)").arg(lines.size()));
}

void MainWindow::refreshStatus() {
  const Workspace& ws = m_app.workspace();
  if (!ws.base.loaded()) {
    m_status1->clear();
    m_status2->clear();
    return;
  }
  m_status1->setText(toQString(buildWeekGrid(ws).title) + QStringLiteral("  \u00B7  ") + slotText(ws));
  m_status2->setText(QStringLiteral("Deputate: %1").arg(ws.plan.assignments.size() / 4));
}

}  // namespace quort
