#include "gui/qt_ui.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

#include "data/file_access.h"
#include "gui/choice_dialog.h"
#include "gui/exams/exam_dialog_view.h"
#include "gui/file_chooser_dialog.h"
#include "gui/printer_setup_dialog.h"
#include "gui/prompt_dialogs.h"
#include "gui/qt_text.h"
#include "gui/small_windows.h"
#include "gui/substitution/absence_day_dialog.h"
#include "gui/substitution/substitute_lesson_dialog.h"
#include "gui/text_windows.h"
#include "substitution/absence_dialog.h"
#include "substitution/lesson_dialog.h"
#include "workspace/dialog_session.h"
#include "workspace/print_job.h"
#include "workspace/text_files.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

QMessageBox::Icon boxIcon(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Stop:
      return QMessageBox::Critical;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// Questions asked while a long run polls must not count their own keys as abort requests.
class ProgressPause {
 public:
  explicit ProgressPause(ProgressWindow* progress) : m_progress(progress) {
    if (m_progress) m_progress->setListening(false);
  }
  ~ProgressPause() {
    if (m_progress) m_progress->setListening(true);
  }
  ProgressPause(const ProgressPause&) = delete;
  ProgressPause& operator=(const ProgressPause&) = delete;

 private:
  ProgressWindow* m_progress;
};

}  // namespace

QtUi::QtUi(Workspace& ws) : m_ws(ws) {}

QtUi::~QtUi() = default;

QWidget* QtUi::parent() const { return m_parent ? m_parent.data() : QApplication::activeWindow(); }

int QtUi::ask(const std::string& text, const MessageStyle& style, const QStringList& buttons) {
  const ProgressPause pause(m_progress.get());
  QMessageBox box(boxIcon(style.icon), toQString(style.title), displayText(text), QMessageBox::NoButton, parent());
  if (style.taskModal) box.setWindowModality(Qt::ApplicationModal);
  QList<QPushButton*> added;
  for (const QString& caption : buttons) added.append(box.addButton(caption, QMessageBox::ActionRole));
  box.setDefaultButton(added.front());
  box.setEscapeButton(added.back());
  box.exec();
  const int index = static_cast<int>(added.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
  return index < 0 ? static_cast<int>(buttons.size()) - 1 : index;
}

void QtUi::message(const std::string& text, const MessageStyle& style) { ask(text, style, {QStringLiteral("OK")}); }

bool QtUi::askYesNo(const std::string& text, const MessageStyle& style) {
  return ask(text, style, {QStringLiteral("Ja"), QStringLiteral("Nein")}) == 0;
}

bool QtUi::askOkCancel(const std::string& text, const MessageStyle& style) {
  return ask(text, style, {QStringLiteral("OK"), QStringLiteral("Abbruch")}) == 0;
}

ChoiceOutcome QtUi::choiceBox(const ChoiceBoxRequest& request) {
  const ProgressPause pause(m_progress.get());
  ChoiceDialog dialog(request, parent());
  // "Hilfen" leaves the box open.
  QObject::connect(&dialog, &ChoiceDialog::helpRequested, &dialog, [this, &request] {
    TextViewer(m_ws, *this, request.helpFile.empty() ? helpReference(m_ws) : request.helpFile, true);
  });
  dialog.exec();
  return dialog.outcome();
}

bool QtUi::textPrompt(const std::string& title, std::string& text) {
  const ProgressPause pause(m_progress.get());
  TextPromptDialog dialog(title, text, parent());
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.text();
  return true;
}

bool QtUi::editDate(const std::string& title, std::string& date) {
  DatePromptDialog dialog(title, date, parent());
  if (dialog.exec() != QDialog::Accepted) return false;
  date = dialog.date();
  return true;
}

// Like the school's old programs, the directory of a chosen file becomes the working
// directory, where the day files of the substitution plan are written.
std::string QtUi::chooseFile(const FileChooserRequest& request) {
  FileChooserModel model(request, currentDirectoryText());
  FileChooserDialog dialog(model, *this, parent());
  if (dialog.exec() != QDialog::Accepted) return {};
  std::error_code ec;
  std::filesystem::current_path(nativePath(model.directory()), ec);
  return model.chosenName();
}

void QtUi::showText(const std::string& title, const std::string& text) {
  TextViewerDialog dialog(
      title, text, [this, title, text] { PrintWithSetup(m_ws, *this, title, text); }, parent());
  dialog.exec();
}

bool QtUi::printerSetup(PrinterSetupRequest& request) {
  PrinterSetupDialog dialog(request, parent());
  if (dialog.exec() != QDialog::Accepted) return false;
  request = dialog.request();
  return true;
}

void QtUi::textEditor(TextEditorSession& session) {
  TextEditorDialog dialog(session, parent());
  dialog.exec();
}

int QtUi::chooseFromList(const ListChoiceRequest& request) {
  ListChoiceDialog dialog(request, parent());
  dialog.exec();
  return dialog.chosen();
}

int QtUi::showPickList(const std::string& title, const std::vector<std::string>& lines) {
  return chooseFromList({title, lines, 0});
}

void QtUi::runDialog(DialogSession& session) {
  const ProgressPause pause(m_progress.get());
  switch (session.kind()) {
    case DialogSession::Kind::AbsenceDay: {
      AbsenceDayDialog dialog(static_cast<AbsenceDaySession&>(session), parent());
      dialog.exec();
      return;
    }
    case DialogSession::Kind::SubstituteLesson: {
      SubstituteLessonDialog dialog(static_cast<SubstituteLessonSession&>(session), parent());
      dialog.exec();
      return;
    }
    case DialogSession::Kind::Exam: {
      ExamDialogView dialog(static_cast<ExamDialogSession&>(session), parent());
      dialog.exec();
      return;
    }
  }
}

void QtUi::progressOpen() {
  m_progress = std::make_unique<ProgressWindow>();  // owned here, not by a window that may go first
  m_progress->show();
}

void QtUi::progressTitle(const std::string& title) {
  if (!m_progress) progressOpen();
  m_progress->setWindowTitle(toQString(title));
}

void QtUi::progressShow(const std::string& text) {
  if (!m_progress) progressOpen();
  m_progress->showMessage(text);
}

bool QtUi::progressKeyPending() { return m_progress && m_progress->takeKeyPress(); }

void QtUi::progressClose() { m_progress.reset(); }

}  // namespace quort
