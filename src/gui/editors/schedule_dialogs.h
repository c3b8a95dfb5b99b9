#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;

namespace quort {

class BaseDataEditor;

// "Zahl der Tage:", "Stunden pro Tag:", "Mittagsanfang:", "Wochenwechsel:" with
// "Anwenden" and "Abbruch"; a refused value leaves the dialog open.
class DaysAndPeriodsDialog : public QDialog {
  Q_OBJECT

 public:
  DaysAndPeriodsDialog(BaseDataEditor& editor, QWidget* parent = nullptr);
  QLineEdit* field(int index) const { return m_fields[static_cast<size_t>(index)]; }
  QCheckBox* alternation() const { return m_alternation; }
  void apply();

 private:
  BaseDataEditor& m_editor;
  std::array<QLineEdit*, 3> m_fields{};
  QCheckBox* m_alternation = nullptr;
};

// "QUORT-Plan - Planoptionen": the weights and the other options, with "Zurücksetzen",
// "Anwenden" and "Abbruch".
class PlanOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  PlanOptionsDialog(BaseDataEditor& editor, QWidget* parent = nullptr);
  QLineEdit* field(int option) const { return m_fields[static_cast<size_t>(option - 1)]; }
  void apply();
  void reset();

 private:
  BaseDataEditor& m_editor;
  std::array<QLineEdit*, 11> m_fields{};
};

}  // namespace quort
