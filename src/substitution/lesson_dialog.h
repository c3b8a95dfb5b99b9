#pragma once

#include <string>
#include <vector>

#include "substitution/candidates.h"
#include "workspace/dialog_session.h"

namespace quort {

struct Workspace;
class Ui;

// The "Vertretung" dialog of one lesson of the day (an open lesson, or with the title
// "Extrastunde" any slot of the class): the candidate teachers, the rooms and subjects, and
// the entry text the lists fill in.
class SubstituteLessonSession : public DialogSession {
 public:
  enum class Action { Set, Free, Reconstruct, Drop, Close };

  struct Lesson {
    std::string date;
    int schoolClass = 0;
    int period = 0;      // internal
    bool extra = false;  // "Extrastunde": a lesson in addition to the plan
  };
  SubstituteLessonSession(Workspace& ws, Ui& ui, const Lesson& lesson);

  Kind kind() const override { return Kind::SubstituteLesson; }
  ChoiceBoxRequest form() const override;
  bool press(int button, const std::vector<std::string>& values) override;

  // Every button closes the dialog; true when something was set or removed.
  bool act(Action action, const std::string& entry);

  std::string title() const;
  // "Lehrer:": the candidate lines, best first, and "* -" for no teacher at the end.
  std::vector<std::string> teacherLines() const;
  std::vector<std::string> roomLines() const;
  std::vector<std::string> subjectLines() const;
  // Rows preselected when the dialog opens.
  int initialRoom() const { return m_initialRoom; }
  int initialSubject() const { return m_initialSubject; }
  // The entry a teacher line puts into the text, with the room and subject chosen.
  std::string entryFor(int teacherRow, int roomRow, int subjectRow) const;
  // The entry with another room or subject.
  std::string withRoom(const std::string& entry, int roomRow) const;
  std::string withSubject(const std::string& entry, int subjectRow) const;
  std::string initialEntry() const { return entryFor(0, m_initialRoom, m_initialSubject); }

 private:
  int roomOfRow(int row) const;
  int subjectOfRow(int row) const;

  Workspace& m_ws;
  Ui& m_ui;
  Lesson m_lesson;
  int m_day = 0;
  int m_teacher = 0;  // who had the lesson
  int m_subject = 0;
  std::string m_remark;
  CandidateLists m_lists;
  int m_initialRoom = 0;
  int m_initialSubject = 0;
};

}  // namespace quort
