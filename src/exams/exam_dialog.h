#pragma once

#include <string>
#include <vector>

#include "exams/exam_log.h"
#include "exams/exam_preset.h"
#include "workspace/dialog_session.h"

namespace quort {

struct Workspace;
class Ui;

// The exam dialog ("QUORT-Plan - " + term + " Stufe:" + grade): rooms with their course
// groups, supervisions, room changes and dropped lessons; "Auswerten" proposes, "Speichern"
// appends the exam to klausauf.x and, with "Mehrarbeit abrechnen", the supervisions to
// prot.x. The fields live in the workspace, so the dialog opens again as it was left.
class ExamDialogSession : public DialogSession {
 public:
  enum class Action { Evaluate, Save, Close };

  ExamDialogSession(Workspace& ws, Ui& ui, const ExamPreset& preset);

  Kind kind() const override { return Kind::Exam; }
  ChoiceBoxRequest form() const override;
  bool press(int button, const std::vector<std::string>& values) override;

  // A button with the fields as they are; true when the dialog closes.
  bool act(Action action);

  std::string title() const;
  std::string selectionLine() const;  // "Raum:" + the courses
  ExamFields fields() const;
  void setFields(const ExamFields& fields);
  bool countsExtraWork() const;
  void setCountsExtraWork(bool on);

 private:
  void evaluate();
  bool save();
  bool saveDateAccepted(std::string& date);
  bool countExtraWork(const std::string& date);

  Workspace& m_ws;
  Ui& m_ui;
  ExamPreset m_preset;
};

inline constexpr const char* kExtraWorkBox = "Mehrarbeit abrechnen";

// "einfügen" in the exam mode: the dialog over the current exam; "Keine Eingaben!" without one.
bool ExamDialog(Workspace& ws, Ui& ui);

}  // namespace quort
