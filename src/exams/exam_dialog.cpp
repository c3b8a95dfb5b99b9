#include "exams/exam_dialog.h"

#include "data/calendar.h"
#include "exams/exam_evaluation.h"
#include "exams/exam_planning.h"
#include "exams/exam_proposals.h"
#include "exams/exam_text.h"
#include "substitution/dialog_support.h"
#include "substitution/extra_work_reports.h"
#include "workspace/clock.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr const char* kFieldLabels[] = {"R\xE4ume:", "Aufsicht:", "Raum\xE4nd.:", "Frei:"};

// Only teachers of the base data get extra work; placeholders ("~", "*") never do.
bool realTeacher(const Workspace& ws, const std::string& code) {
  if (code.empty() || code.find_first_of("~*") != std::string::npos) return false;
  const int index = ws.base.findTeacher(code);
  return index > 0 && index < ws.base.nTeachers();
}

std::vector<std::string> unionOf(std::vector<std::string> a, const std::vector<std::string>& b) {
  for (const std::string& item : b) {
    if (std::find(a.begin(), a.end(), item) == a.end()) a.push_back(item);
  }
  return a;
}

}  // namespace

ExamDialogSession::ExamDialogSession(Workspace& ws, Ui& ui, const ExamPreset& preset)
    : m_ws(ws), m_ui(ui), m_preset(preset) {}

std::string ExamDialogSession::title() const {
  return std::string(kProgramTitle) + " - " + m_preset.term + " Stufe:" + m_preset.grade;
}

std::string ExamDialogSession::selectionLine() const { return "Raum:" + m_preset.selection; }

ExamFields ExamDialogSession::fields() const {
  const ExamState& state = m_ws.exams;
  return {state.rooms, state.supervisions, state.roomChanges, state.freed};
}

void ExamDialogSession::setFields(const ExamFields& fields) {
  ExamState& state = m_ws.exams;
  state.rooms = fields.rooms;
  state.supervisions = fields.supervisions;
  state.roomChanges = fields.roomChanges;
  state.freed = fields.freed;
}

bool ExamDialogSession::countsExtraWork() const { return m_ws.exams.countExtraWork; }
void ExamDialogSession::setCountsExtraWork(bool on) { m_ws.exams.countExtraWork = on; }

ChoiceBoxRequest ExamDialogSession::form() const {
  ChoiceBoxRequest request;
  request.title = title();
  request.prompt = title() + "\n" + selectionLine();
  request.helpFile = substitutionHelp(m_ws, "klaustxt");
  const ExamFields values = fields();
  const std::string* texts[] = {&values.rooms, &values.supervisions, &values.roomChanges, &values.freed};
  for (size_t i = 0; i < 4; ++i) {
    request.items.push_back({ChoiceItem::Kind::TextField, kFieldLabels[i], *texts[i], false, {}});
  }
  request.items.push_back({ChoiceItem::Kind::CheckBox, kExtraWorkBox, countsExtraWork() ? "1" : "0", false, {}});
  for (const char* caption : {"Auswerten", "Speichern", "Abbruch"}) {
    request.items.push_back({ChoiceItem::Kind::Button, caption, {}, false, {}});
  }
  return request;
}

bool ExamDialogSession::press(int button, const std::vector<std::string>& values) {
  const ChoiceBoxRequest request = form();
  if (button < 1 || button > static_cast<int>(request.items.size())) return act(Action::Close);
  const auto value = [&](size_t i) { return i < values.size() ? values[i] : std::string(); };
  setFields({value(0), value(1), value(2), value(3)});
  setCountsExtraWork(value(4) == "1");
  const std::string& caption = request.items[static_cast<size_t>(button - 1)].label;
  if (caption == "Auswerten") return act(Action::Evaluate);
  if (caption == "Speichern") return act(Action::Save);
  return act(Action::Close);
}

bool ExamDialogSession::act(Action action) {
  switch (action) {
    case Action::Evaluate:
      evaluate();
      return false;
    case Action::Save:
      return save();
    case Action::Close:
      return true;
  }
  return true;
}

void ExamDialogSession::evaluate() {
  const ExamSource source{m_ws.base, m_ws.plan, m_ws.exams.courses};
  const ExamEvaluation evaluation = evaluateExam(source, m_preset);
  ExamFields current = fields();
  current.supervisions = proposeSupervisions(current.rooms, current.supervisions, evaluation.pools);
  current.freed = proposeFreedLessons(evaluation);
  const std::vector<std::string> examRooms =
      unionOf(fieldRoomLabels(current.rooms), fieldRoomLabels(current.supervisions));
  const RoomChangeInput changes = roomChangeInput(source, m_preset, evaluation, examRooms);
  current.roomChanges = proposeRoomChanges(changes.displaced, changes.free);
  setFields(current);
}

// The date of the exam; a weekday other than the exam's is saved only when confirmed.
bool ExamDialogSession::saveDateAccepted(std::string& date) {
  date = !m_ws.exams.lastDate.empty() ? m_ws.exams.lastDate : m_ws.dialogs.currentDate;
  if (Weekday(date) < 1) date = workspaceToday(m_ws);
  if (!m_ui.editDate("Klausurenplan - Datum", date)) return false;
  date = trimmedOf(date);
  if (date.empty()) return false;
  const int weekday = Weekday(date);
  if (weekday < 1) {
    m_ui.message("Eingabefehler!");
    return false;
  }
  if (weekday == m_preset.day) return true;
  return m_ui.askYesNo(date + " ist ein " + DayAbbrev(weekday) + ", die Klausur ist am " + DayAbbrev(m_preset.day) +
                           ": dennoch speichern?",
                       MessageStyle{Icon::Question});
}

bool ExamDialogSession::countExtraWork(const std::string& date) {
  if (!countsExtraWork()) return true;
  const std::vector<std::string> lines =
      examExtraWorkLines(date, m_preset.grade, m_preset.firstShown, countSupervisions(fields().supervisions),
                         [&](const std::string& teacher) { return realTeacher(m_ws, teacher); });
  return appendLogLines(m_ui, lines);
}

bool ExamDialogSession::save() {
  bool startNew = false;
  if (!m_ui.askYesNo("Klausuren\xFC"
                     "bersicht erweitern?",
                     MessageStyle{Icon::Question})) {
    // The old overview is only replaced once the new record is written, and kept as a
    // backup even then: a cancelled date loses nothing.
    startNew = m_ui.askYesNo(
        "\xDC"
        "bersicht l\xF6schen?",
        MessageStyle{Icon::Question});
  }
  std::string date;
  if (!saveDateAccepted(date)) return false;
  if (!saveExamRecord(examRecordText(m_preset, date, fields()), startNew)) {
    m_ui.message(kExamFileError);
    return false;
  }
  m_ws.exams.lastDate = date;
  return countExtraWork(date);
}

bool ExamDialog(Workspace& ws, Ui& ui) {
  const auto exam = currentExam(ws);
  if (!exam) {
    ui.message(kNoExamMessage);
    return false;
  }
  ExamDialogSession session(ws, ui, *exam);
  ui.runDialog(session);
  return true;
}

}  // namespace quort
