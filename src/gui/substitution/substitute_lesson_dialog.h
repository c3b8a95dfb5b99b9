#pragma once

#include <QDialog>

#include "substitution/lesson_dialog.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace quort {

// "Vertretung": the candidate teachers of one lesson (best first), the rooms (free ones
// first) and the subjects; choosing in the lists writes the entry, the buttons set it,
// cancel the lesson, set the plan back or drop the lesson. Every button closes the dialog.
class SubstituteLessonDialog : public QDialog {
  Q_OBJECT

 public:
  SubstituteLessonDialog(SubstituteLessonSession& session, QWidget* parent = nullptr);

  QListWidget* teacherList() const { return m_teachers; }
  QListWidget* roomList() const { return m_rooms; }
  QListWidget* subjectList() const { return m_subjects; }
  QLineEdit* entryField() const { return m_entry; }
  QPushButton* button(const QString& caption) const;

 private:
  QListWidget* addList(const QString& label, const std::vector<std::string>& lines, int current, QLayout* layout);
  void teacherChosen();
  void act(SubstituteLessonSession::Action action);

  SubstituteLessonSession& m_session;
  QListWidget* m_teachers = nullptr;
  QListWidget* m_rooms = nullptr;
  QListWidget* m_subjects = nullptr;
  QLineEdit* m_entry = nullptr;
};

}  // namespace quort
