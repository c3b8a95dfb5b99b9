#pragma once

#include <QDialog>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quort {

class Application;

// "Kurswahlen": the course choice editor over the workspace's course book. The lists show
// the book; every button calls the core operation and redraws them. Modeless.
class CourseEditorDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CourseEditorDialog(Application& app, QWidget* parent = nullptr);
  ~CourseEditorDialog() override;

  QListWidget* courseList() const { return m_courses; }
  QListWidget* studentList() const { return m_students; }
  QListWidget* blockList() const { return m_blocks; }
  QLineEdit* entryField() const { return m_entry; }
  QPushButton* button(const QString& caption) const;
  // Redraws the lists from the book.
  void refreshLists();

 signals:
  void changed();
  void commandRequested(const QString& command);

 private:
  enum class Focus { Students, Courses, Blocks };
  void action(const QString& caption);
  bool editAction(const QString& caption);
  bool blockAction(const QString& caption);
  bool fileAction(const QString& caption);
  void showSelection();
  int selectedCourse() const;
  int selectedBlock() const;
  int selectedStudent() const;

  Application& m_app;
  QListWidget* m_courses = nullptr;
  QListWidget* m_students = nullptr;
  QListWidget* m_blocks = nullptr;
  QLineEdit* m_entry = nullptr;
  QLabel* m_count = nullptr;
  QCheckBox* m_redistribute = nullptr;
  QCheckBox* m_onlyWritten = nullptr;
  QCheckBox* m_mixed = nullptr;
  Focus m_focus = Focus::Students;
  std::vector<int> m_shown;  // the students the filter shows
};

}  // namespace quort
