#pragma once

#include <string>
#include <vector>

#include "workspace/dialog_session.h"

namespace quort {

struct Workspace;
class Ui;

// What "Klausuren:" of the day dialog does. The exams sit above this layer and hand it
// in; without it the dialog has no exam buttons.
class ExamDayActions {
 public:
  virtual ~ExamDayActions() = default;
  // "einlesen": the day's exams join the absence list and the notes.
  virtual bool readExams(Workspace& ws, Ui& ui, const std::string& date) const = 0;
  // "vorgeben": the day's exams take their periods over in the plan.
  virtual bool takeOverExams(Workspace& ws, Ui& ui, const std::string& date) const = 0;
};

// The "Vertretungen " + date dialog: the day's absences are entered, stored in termin.x,
// listed, deleted, cancelled and finally evaluated.
class AbsenceDaySession : public DialogSession {
 public:
  enum class Action { Save, Add, Cancel, Delete, Evaluate, Close, ReadExams, TakeOverExams };

  // What the dialog's fields hold. Periods are shown periods as typed.
  struct Fields {
    std::string date;
    std::string until;  // "bis:" of the date; empty for one day
    std::string who;    // teacher, class or room code
    std::string firstPeriod;
    std::string lastPeriod;
    std::string reason;
    bool readRegister = true;  // "Vertretungen einlesen"
    bool countFlag = true;     // "Stunden verrechnen:" / "Stunden vertreten:"
  };

  // Opens on the shared current date (today when there is none); with "Vertretungen
  // einlesen" the termin.x entries of the date join the day's list.
  AbsenceDaySession(Workspace& ws, Ui& ui, const ExamDayActions* exams = nullptr);

  Kind kind() const override { return Kind::AbsenceDay; }
  ChoiceBoxRequest form() const override;
  bool press(int button, const std::vector<std::string>& values) override;

  // A button with the fields as they are; true when the dialog closes.
  bool act(Action action, const Fields& fields);

  std::string title() const;
  // Whether "Klausuren:" with "einlesen" and "vorgeben" is offered.
  bool offersExams() const { return m_exams != nullptr; }
  const Fields& fields() const { return m_fields; }
  const std::vector<std::string>& absences() const;
  // "12.Woche" for the date.
  std::string weekText() const;
  // The label of the count box: "Stunden verrechnen:" for a teacher, otherwise
  // "Stunden vertreten:".
  std::string countLabel(const std::string& who) const;
  // The codes the selectors offer.
  std::vector<std::string> teacherCodes() const;
  std::vector<std::string> classCodes() const;
  std::vector<std::string> roomCodes() const;
  // The fields an item of the list stands for (date fields as they are).
  Fields fieldsOfItem(const std::string& item) const;

  // A new date: the list is the new date's (termin.x read again when the box is ticked).
  // false when the text is no date (reported).
  bool setDate(const std::string& date, bool readRegister);
  // The next (+1) or previous (-1) school day: Sundays and days without a plan are skipped.
  std::string steppedDate(int direction) const;

 private:
  Workspace& m_ws;
  Ui& m_ui;
  const ExamDayActions* m_exams = nullptr;
  Fields m_fields;
};

}  // namespace quort
