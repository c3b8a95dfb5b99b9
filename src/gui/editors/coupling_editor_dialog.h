#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quort {

class Application;

// "Eingabe von Kopplung": the coupling number, the course text "Kurse:" and the courses
// it holds, pick lists that compose one course, a button row for the coupling and one for
// single courses. Modeless; changes go to the coupling list at once.
class CouplingEditorDialog : public QDialog {
  Q_OBJECT

 public:
  CouplingEditorDialog(Application& app, int coupling, QWidget* parent = nullptr);
  ~CouplingEditorDialog() override;

  QLineEdit* numberField() const { return m_number; }
  QLineEdit* courseText() const { return m_courses; }
  QLineEdit* courseField() const { return m_course; }
  QListWidget* courseList() const { return m_courseList; }
  // "Klasse", "Lehrer", "Fach", "Zusatz".
  QListWidget* pickList(const QString& name) const;
  // Buttons of the coupling row are named "coupling" + caption, of the course row "course" + caption.
  QPushButton* button(const QString& name) const;

  void showCoupling(int coupling);

 signals:
  void changed();
  void commandRequested(const QString& command);

 private:
  void couplingAction(const QString& caption);
  void courseAction(const QString& caption);
  void composeCourse();
  void setCourses(const QStringList& courses);
  QStringList courses() const;
  void copyFrom(int source);

  Application& m_app;
  QLineEdit* m_number = nullptr;
  QLineEdit* m_courses = nullptr;
  QLineEdit* m_course = nullptr;
  QListWidget* m_courseList = nullptr;
  QComboBox* m_copyFrom = nullptr;
  std::vector<QListWidget*> m_pickLists;
};

}  // namespace quort
