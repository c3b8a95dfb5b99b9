#pragma once

#include <QDialog>

#include "substitution/absence_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;

namespace quort {

// "Vertretungen " + date: who is missing on the day, from which to which period and why;
// the list of the day's absences and the buttons that store, list, delete, cancel and
// evaluate them. The session does the work; the dialog shows its fields and list.
class AbsenceDayDialog : public QDialog {
  Q_OBJECT

 public:
  AbsenceDayDialog(AbsenceDaySession& session, QWidget* parent = nullptr);

  QLineEdit* dateField() const { return m_date; }
  QScrollBar* dateScrollBar() const { return m_dateBar; }
  QComboBox* teacherBox() const { return m_teacher; }
  QComboBox* classBox() const { return m_class; }
  QComboBox* roomBox() const { return m_room; }
  QLineEdit* firstField() const { return m_first; }
  QLineEdit* lastField() const { return m_last; }
  QLineEdit* reasonField() const { return m_reason; }
  QCheckBox* countBox() const { return m_count; }
  QListWidget* absenceList() const { return m_list; }
  QPushButton* button(const QString& caption) const;

 private:
  QWidget* buildDateRow();
  QWidget* buildWhoRow();
  QWidget* buildPeriodRow();
  QWidget* buildButtons();
  void stepDate(int direction);
  void chooseWho(QComboBox* chosen);
  void itemPicked();
  void act(AbsenceDaySession::Action action);
  AbsenceDaySession::Fields fields() const;
  void showSession();

  AbsenceDaySession& m_session;
  QLineEdit* m_date = nullptr;
  QScrollBar* m_dateBar = nullptr;
  QLabel* m_week = nullptr;
  QLineEdit* m_until = nullptr;
  QCheckBox* m_read = nullptr;
  QComboBox* m_teacher = nullptr;
  QComboBox* m_class = nullptr;
  QComboBox* m_room = nullptr;
  QLineEdit* m_first = nullptr;
  QLineEdit* m_last = nullptr;
  QLineEdit* m_reason = nullptr;
  QCheckBox* m_count = nullptr;
  QListWidget* m_list = nullptr;
};

}  // namespace quort
