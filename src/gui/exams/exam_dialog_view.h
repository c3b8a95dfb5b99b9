#pragma once

#include <QDialog>
#include <array>

#include "exams/exam_dialog.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace quort {

// The exam dialog: the four multi-line fields side by side, "Mehrarbeit abrechnen",
// "Auswerten" (the fields show the proposals), "Speichern" and "Abbruch". The session does
// the work; the view only copies the fields to and from it.
class ExamDialogView : public QDialog {
  Q_OBJECT

 public:
  ExamDialogView(ExamDialogSession& session, QWidget* parent = nullptr);

  QPlainTextEdit* field(int index) const { return m_fields[static_cast<size_t>(index)]; }
  QCheckBox* extraWorkBox() const { return m_extraWork; }
  QPushButton* button(const QString& caption) const;

 private:
  void showSession();
  void act(ExamDialogSession::Action action);

  ExamDialogSession& m_session;
  std::array<QPlainTextEdit*, 4> m_fields{};
  QCheckBox* m_extraWork = nullptr;
};

}  // namespace quort
