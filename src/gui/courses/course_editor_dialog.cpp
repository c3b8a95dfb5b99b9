#include "gui/courses/course_editor_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "courses/course_blocking.h"
#include "courses/course_editing.h"
#include "courses/course_printouts.h"
#include "gui/qt_text.h"
#include "shell/application.h"
#include "workspace/dialogs.h"
#include "workspace/print_job.h"
#include "workspace/text_files.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

QListWidget* makeList(QWidget* parent, const char* name) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QLatin1String(name));
  list->setFont(fixedFont());
  return list;
}

}  // namespace

CourseEditorDialog::CourseEditorDialog(Application& app, QWidget* parent) : QDialog(parent), m_app(app) {
  setWindowTitle(QStringLiteral("QUORT-Plan - Kurswahlen"));
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  app.workspace().shell.helpTopic = "TAVIN.hlp~kwahl";
  auto* layout = new QVBoxLayout(this);
  auto* lists = new QGridLayout;
  lists->addWidget(new QLabel(QStringLiteral("Kurse:"), this), 0, 0);
  lists->addWidget(new QLabel(QStringLiteral("Sch\u00FCler:"), this), 0, 1);
  lists->addWidget(new QLabel(QStringLiteral("Kopplungen:"), this), 0, 2);
  m_courses = makeList(this, "courses");
  m_students = makeList(this, "students");
  m_blocks = makeList(this, "blocks");
  m_courses->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lists->addWidget(m_courses, 1, 0);
  lists->addWidget(m_students, 1, 1);
  lists->addWidget(m_blocks, 1, 2);
  lists->setColumnStretch(1, 2);
  layout->addLayout(lists, 1);
  layout->addWidget(new QLabel(toQString(kChoiceLegend), this));
  m_entry = new QLineEdit(this);
  m_entry->setObjectName(QStringLiteral("entry"));
  m_entry->setFont(fixedFont());
  layout->addWidget(m_entry);
  connect(m_courses, &QListWidget::itemClicked, this, [this] {
    m_focus = Focus::Courses;
    showSelection();
  });
  connect(m_students, &QListWidget::itemClicked, this, [this] {
    m_focus = Focus::Students;
    showSelection();
  });
  connect(m_blocks, &QListWidget::itemClicked, this, [this] {
    m_focus = Focus::Blocks;
    showSelection();
  });
  const QStringList rows[] = {
      {QStringLiteral("Einlesen"), QStringLiteral("Speichern"), QStringLiteral("Neu"),
       QStringLiteral("\u00DCbernehmen"), QStringLiteral("L\u00F6schen"), QStringLiteral("Hinzuf\u00FCgen"),
       QStringLiteral("Entfernen"), QStringLiteral("Tauschen"), QStringLiteral("\u00C4ndern")},
      {QStringLiteral("<"), QStringLiteral("*"), QStringLiteral("*s"), QStringLiteral("/"), QStringLiteral("/s"),
       QStringLiteral("Anzeigen"), QStringLiteral("Extrahieren"), QStringLiteral("opt. Kurs"),
       QStringLiteral("opt. Kopplung")},
      {QStringLiteral("aut. Blocken"), QStringLiteral("Ausgleichen"), QStringLiteral("Drucken"),
       QStringLiteral("Hilfen"), QStringLiteral("Ende")}};
  for (const QStringList& row : rows) {
    auto* buttons = new QHBoxLayout;
    for (const QString& caption : row) {
      auto* button = new QPushButton(caption, this);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [this, caption] { action(caption); });
      buttons->addWidget(button);
    }
    layout->addLayout(buttons);
  }
  auto* options = new QHBoxLayout;
  m_count = new QLabel(QStringLiteral("Anzahl:"), this);
  m_onlyWritten = new QCheckBox(QStringLiteral("nur schriftlich"), this);
  m_mixed = new QCheckBox(QStringLiteral("gemischt"), this);
  m_redistribute = new QCheckBox(QStringLiteral("Sch\u00FCler umverteilen"), this);
  m_redistribute->setChecked(true);
  for (QWidget* widget : std::initializer_list<QWidget*>{m_count, m_onlyWritten, m_mixed, m_redistribute})
    options->addWidget(widget);
  layout->addLayout(options);
  resize(1100, 640);
  m_shown = filterStudents(app.workspace().courses, StudentFilter::All, 0);
  refreshLists();
}

CourseEditorDialog::~CourseEditorDialog() { m_app.workspace().shell.helpTopic = "TAVIN.hlp~menu"; }

QPushButton* CourseEditorDialog::button(const QString& caption) const {
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (button->text() == caption) return button;
  }
  return nullptr;
}

void CourseEditorDialog::refreshLists() {
  const CourseBook& book = m_app.workspace().courses;
  m_courses->clear();
  m_courses->addItem(QStringLiteral("Stufe Kurs Lehrer"));
  for (int c = 1; c <= book.nCourses(); ++c) m_courses->addItem(toQString(courseItem(book, c)));
  m_students->clear();
  std::erase_if(m_shown, [&](int i) { return i >= static_cast<int>(book.students.size()); });
  for (int index : m_shown)
    m_students->addItem(toQString(studentItem(book, book.students[static_cast<size_t>(index)])));
  m_blocks->clear();
  for (int b = 1; b <= book.nBlocks(); ++b)
    m_blocks->addItem(QString::number(b) + QStringLiteral(": ") + toQString(blockItem(book, b)));
  m_count->setText(QStringLiteral("Anzahl: ") + QString::number(m_shown.size()));
}

int CourseEditorDialog::selectedCourse() const { return m_courses->currentRow(); }  // row 0 is the header
int CourseEditorDialog::selectedBlock() const { return m_blocks->currentRow() + 1; }
int CourseEditorDialog::selectedStudent() const {
  const int row = m_students->currentRow();
  return row >= 0 && row < static_cast<int>(m_shown.size()) ? m_shown[static_cast<size_t>(row)] : -1;
}

void CourseEditorDialog::showSelection() {
  const CourseBook& book = m_app.workspace().courses;
  if (m_focus == Focus::Students && selectedStudent() >= 0) {
    m_entry->setText(toQString(choicesText(book, book.students[static_cast<size_t>(selectedStudent())])));
  } else if (m_focus == Focus::Courses && selectedCourse() >= 1) {
    m_entry->setText(toQString(courseItem(book, selectedCourse())));
  } else if (m_focus == Focus::Blocks && selectedBlock() >= 1) {
    m_entry->setText(toQString(blockItem(book, selectedBlock())));
  }
}

bool CourseEditorDialog::fileAction(const QString& caption) {
  Workspace& ws = m_app.workspace();
  Ui& ui = m_app.ui();
  if (caption == QStringLiteral("Einlesen")) {
    const ChoiceOutcome choice = ChoiceBox(ws, ui, "Einlesen:", "#Kursdatei|Mitgliederdatei|Abbruch");
    if (choice.choiceResult == 1) return LoadCourseBook(ws, ui, "");
    if (choice.choiceResult != 2) return false;
    const std::string name = FileChooser(ws, ui, FileChooserRequest{"Mitgliederdatei", "R", "*.*", ""});
    return !name.empty() && importMembers(ws, ui, name) > 0;
  }
  if (caption == QStringLiteral("Speichern")) return SaveCourseBook(ws, ui, "");
  if (caption == QStringLiteral("Extrahieren")) {
    const ChoiceOutcome choice =
        ChoiceBox(ws, ui, "Kursexport", "$Jahrgangstufe:" + ws.courses.yearGroup + "|Auswerten|Abbruch");
    const std::string year = choice.choiceValues.substr(0, choice.choiceValues.find('|'));
    if (choice.choiceResult != 2) return false;
    if (year != ws.courses.yearGroup) {
      ui.message("Keine Daten ausgew\xE4hlt!");
      return false;
    }
    ui.showText("Kursexport", [&] {
      std::string text;
      for (const std::string& line : courseExportLines(ws.courses)) text += line + "\r\n";
      return text;
    }());
    return false;
  }
  if (caption == QStringLiteral("Drucken")) {
    const CourseList list = m_focus == Focus::Courses  ? CourseList::Courses
                            : m_focus == Focus::Blocks ? CourseList::Blocks
                                                       : CourseList::Students;
    const std::vector<std::string> lines = courseListLines(ws.courses, list);
    PrinterSetup(ws, ui, "Kurswahlen", [&] {
      if (!PrintCourseLines(ws, ui, lines)) ui.message("Druckfehler");
    });
    return false;
  }
  return false;
}

bool CourseEditorDialog::blockAction(const QString& caption) {
  Workspace& ws = m_app.workspace();
  Ui& ui = m_app.ui();
  if (caption == QStringLiteral("Hinzuf\u00FCgen")) return addCourseToBlock(ws, ui, selectedCourse(), selectedBlock());
  if (caption == QStringLiteral("aut. Blocken")) return AutoBlockDialog(ws, ui);
  if (caption == QStringLiteral("Ausgleichen")) return BalanceCourses(ws, ui) >= 0;
  if (caption == QStringLiteral("opt. Kopplung") && selectedBlock() >= 1) {
    std::string text;
    for (int course : ws.courses.block(selectedBlock()))
      text += ws.courses.course(course).name + " " + std::to_string(ws.courses.sizeOf(course)) + "\r\n";
    ui.showText("Block " + std::to_string(selectedBlock()), text);
  }
  if (caption == QStringLiteral("opt. Kurs") && selectedCourse() >= 1) {
    // The courses that share students with the selected one, which may not join its block.
    const OverlapMatrix overlap(ws.courses, m_onlyWritten->isChecked());
    std::string text;
    for (int c = 1; c <= ws.courses.nCourses(); ++c) {
      if (c != selectedCourse() && overlap.at(c, selectedCourse()) > 0)
        text += ws.courses.course(c).name + " " + std::to_string(overlap.at(c, selectedCourse())) + "\r\n";
    }
    ui.showText(
        "\xDC"
        "berschneidungen " +
            ws.courses.course(selectedCourse()).name,
        text);
  }
  return false;
}

bool CourseEditorDialog::editAction(const QString& caption) {
  Workspace& ws = m_app.workspace();
  Ui& ui = m_app.ui();
  const std::string entry = fromQString(m_entry->text());
  if (caption == QStringLiteral("Neu")) {
    if (m_focus == Focus::Blocks) return addCourseBlock(ws, ui) > 0;
    std::string text = entry;
    const bool students = m_focus == Focus::Students;
    if (!ui.textPrompt(students ? "Name,Vorname,m/w" : "Stufe Kurs Lehrer", text)) return false;
    if (students && addStudent(ws, ui, text)) {
      m_shown.push_back(static_cast<int>(ws.courses.students.size()) - 1);
      return true;
    }
    return !students && setCourse(ws, ui, 0, text);
  }
  if (caption == QStringLiteral("\u00C4ndern")) return setCourse(ws, ui, selectedCourse(), entry);
  if (caption == QStringLiteral("\u00DCbernehmen")) {
    if (m_focus == Focus::Blocks) return setBlockCourses(ws, ui, selectedBlock(), entry);
    if (m_focus == Focus::Courses) return setCourse(ws, ui, selectedCourse(), entry);
    return setChoices(ws, ui, selectedStudent(), entry);
  }
  if (caption == QStringLiteral("L\u00F6schen")) {
    if (m_focus == Focus::Blocks) return deleteCourseBlock(ws, ui, selectedBlock());
    if (m_focus == Focus::Courses) return deleteCourse(ws, ui, selectedCourse());
    const bool done = deleteStudent(ws, ui, selectedStudent());
    if (done) m_shown = filterStudents(ws.courses, StudentFilter::All, 0);
    return done;
  }
  if (caption == QStringLiteral("Entfernen")) {
    std::vector<int> courses;
    for (const QListWidgetItem* item : m_courses->selectedItems()) {
      if (m_courses->row(item) >= 1) courses.push_back(m_courses->row(item));
    }
    return removeCourses(ws, ui, courses, m_redistribute->isChecked());
  }
  if (caption == QStringLiteral("Tauschen")) {
    const int other = findCourse(ws.courses, entry);
    return replaceCourse(ws, ui, m_shown, selectedCourse(), other);
  }
  return false;
}

void CourseEditorDialog::action(const QString& caption) {
  Workspace& ws = m_app.workspace();
  const QStringList filters = {QStringLiteral("<"), QStringLiteral("*"),  QStringLiteral("*s"),
                               QStringLiteral("/"), QStringLiteral("/s"), QStringLiteral("Anzeigen")};
  if (filters.contains(caption)) {
    const StudentFilter filter =
        caption == QStringLiteral("Anzeigen") ? StudentFilter::All : filterOfButton(fromQString(caption));
    m_shown = filterStudents(ws.courses, filter, std::max(selectedCourse(), 0));
    refreshLists();
    return;
  }
  if (caption == QStringLiteral("Hilfen")) {
    ShowHelp(ws, m_app.ui());
    return;
  }
  if (caption == QStringLiteral("Ende")) {
    close();
    return;
  }
  const bool loads = caption == QStringLiteral("Einlesen");
  const bool done = fileAction(caption) || blockAction(caption) || editAction(caption);
  if (loads && done) m_shown = filterStudents(ws.courses, StudentFilter::All, 0);
  if (!done) return;
  refreshLists();
  emit changed();
}

}  // namespace quort
