#include "substitution/absence_dialog.h"

#include <algorithm>

#include "data/calendar.h"
#include "substitution/absence_register.h"
#include "substitution/day_plan.h"
#include "substitution/dialog_support.h"
#include "workspace/clock.h"
#include "workspace/dialogs.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr const char* kAbsenceButtons[] = {"Speichern",  "Hinzuf\xFCgen", "Stornieren",
                                           "L\xF6schen", "Auswerten",     "Abbruch"};
// "Klausuren:" einlesen, vorgeben.
constexpr const char* kExamButtons[] = {"einlesen", "vorgeben"};

AbsenceInput absenceInputOf(const AbsenceDaySession::Fields& fields) {
  AbsenceInput input;
  input.from = fields.date;
  input.to = fields.until;
  input.who = fields.who;
  input.firstPeriod = fields.firstPeriod;
  input.lastPeriod = fields.lastPeriod;
  input.countFlag = fields.countFlag;
  input.reason = fields.reason;
  return input;
}

}  // namespace

AbsenceDaySession::AbsenceDaySession(Workspace& ws, Ui& ui, const ExamDayActions* exams)
    : m_ws(ws), m_ui(ui), m_exams(exams) {
  if (!calendarDate(ws.dialogs.currentDate)) ws.dialogs.currentDate = workspaceToday(ws);
  m_fields.date = ws.dialogs.currentDate;
  readAbsences(m_ws, m_ui, m_fields.date, AbsenceMode::ReadRegister);
}

std::string AbsenceDaySession::title() const { return "Vertretungen " + m_fields.date; }

const std::vector<std::string>& AbsenceDaySession::absences() const { return m_ws.substitution.absences; }

std::string AbsenceDaySession::weekText() const { return std::to_string(WeekNumber(m_fields.date)) + ".Woche"; }

std::string AbsenceDaySession::countLabel(const std::string& who) const {
  std::string code;
  for (char c : who) {
    if (c != ' ') code += c;
  }
  return findAbsenceTarget(m_ws.base, code).kind == AbsenceKind::Teacher || code.empty() ? "Stunden verrechnen:"
                                                                                         : "Stunden vertreten:";
}

std::vector<std::string> AbsenceDaySession::teacherCodes() const { return substitutionCodes(m_ws, CodeList::Teacher); }
std::vector<std::string> AbsenceDaySession::classCodes() const { return substitutionCodes(m_ws, CodeList::Class); }
std::vector<std::string> AbsenceDaySession::roomCodes() const { return substitutionCodes(m_ws, CodeList::Room); }

AbsenceDaySession::Fields AbsenceDaySession::fieldsOfItem(const std::string& item) const {
  const AbsenceItemFields parsed = parseAbsenceItem(item);
  Fields fields = m_fields;
  fields.who = parsed.who;
  fields.firstPeriod = parsed.first > 0 ? std::to_string(parsed.first) : std::string();
  fields.lastPeriod = parsed.last > 0 ? std::to_string(parsed.last) : std::string();
  fields.countFlag = parsed.countFlag;
  fields.reason = parsed.reason;
  return fields;
}

bool AbsenceDaySession::setDate(const std::string& date, bool readRegister) {
  const auto checked = calendarDate(date);
  if (!checked) {
    m_ui.message("Datumsfehler!");
    return false;
  }
  m_fields.readRegister = readRegister;
  if (*checked == m_fields.date) return true;
  // The list belongs to its date; what was only added for the old date goes with it.
  m_fields.date = *checked;
  m_ws.dialogs.currentDate = *checked;
  m_ws.substitution.absences.clear();
  if (readRegister) readAbsences(m_ws, m_ui, *checked, AbsenceMode::ReadRegister);
  return true;
}

std::string AbsenceDaySession::steppedDate(int direction) const {
  std::string date = m_fields.date;
  const int days = std::clamp(m_ws.base.days, 1, 6);
  for (int i = 0; i < 7; ++i) {
    ShiftDate(date, direction < 0 ? -1 : 1);
    if (Weekday(date) <= days) break;
  }
  return date;
}

ChoiceBoxRequest AbsenceDaySession::form() const {
  ChoiceBoxRequest request;
  request.prompt = title() + "  " + weekText();
  request.title = title();
  request.helpFile = substitutionHelp(m_ws, "vdel");
  const auto field = [&](const char* label, const std::string& value) {
    request.items.push_back({ChoiceItem::Kind::TextField, label, value, false, {}});
  };
  const auto box = [&](const std::string& label, bool on) {
    request.items.push_back({ChoiceItem::Kind::CheckBox, label, on ? "1" : "0", false, {}});
  };
  field("Datum (TT.MM.JJJJ)", m_fields.date);
  field("bis", m_fields.until);
  field("Lehrer/Klasse/Raum", m_fields.who);
  field("von", m_fields.firstPeriod);
  field("bis", m_fields.lastPeriod);
  field("Grund", m_fields.reason);
  box("Vertretungen einlesen", m_fields.readRegister);
  box(countLabel(m_fields.who), m_fields.countFlag);
  for (const char* caption : kAbsenceButtons)
    request.items.push_back({ChoiceItem::Kind::Button, caption, {}, false, {}});
  if (m_exams != nullptr) {
    for (const char* caption : kExamButtons)
      request.items.push_back({ChoiceItem::Kind::Button, caption, {}, false, {}});
  }
  return request;
}

bool AbsenceDaySession::press(int button, const std::vector<std::string>& values) {
  const ChoiceBoxRequest request = form();
  if (button < 1 || button > static_cast<int>(request.items.size())) return act(Action::Close, m_fields);
  const std::string& caption = request.items[static_cast<size_t>(button - 1)].label;
  const auto value = [&](size_t i) { return i < values.size() ? values[i] : std::string(); };
  Fields fields;
  fields.date = value(0);
  fields.until = value(1);
  fields.who = value(2);
  fields.firstPeriod = value(3);
  fields.lastPeriod = value(4);
  fields.reason = value(5);
  fields.readRegister = value(6) == "1";
  fields.countFlag = value(7) == "1";
  for (size_t i = 0; i < std::size(kAbsenceButtons); ++i) {
    if (caption == kAbsenceButtons[i]) return act(static_cast<Action>(i), fields);
  }
  if (caption == kExamButtons[0]) return act(Action::ReadExams, fields);
  if (caption == kExamButtons[1]) return act(Action::TakeOverExams, fields);
  return act(Action::Close, fields);
}

bool AbsenceDaySession::act(Action action, const Fields& fields) {
  if (action == Action::Close) return true;
  if (!setDate(fields.date, fields.readRegister)) return false;
  const std::string date = m_fields.date;
  m_fields = fields;
  m_fields.date = date;
  const MessageStyle question{Icon::Question};
  switch (action) {
    case Action::Save:
      readAbsences(m_ws, m_ui, date, AbsenceMode::StoreAndList, absenceInputOf(m_fields));
      return false;
    case Action::Add:
      readAbsences(m_ws, m_ui, date, AbsenceMode::ListOnly, absenceInputOf(m_fields));
      return false;
    case Action::Cancel:
      if (m_ui.askYesNo("Eintr\xE4ge f\xFCr den " + date + " stornieren?", question)) cancelDay(m_ws, m_ui, date);
      return false;
    case Action::Delete:
      if (m_ui.askYesNo("Eintrag l\xF6schen?", question)) {
        if (const auto entry = normaliseAbsence(m_ws.base, m_ui, absenceInputOf(m_fields))) {
          deleteAbsence(m_ws, m_ui, *entry);
        }
      }
      return false;
    case Action::Evaluate:
      if (!m_ui.askYesNo("Eintr\xE4ge f\xFCr den " + date + " auswerten?", question)) return false;
      evaluateDay(m_ws, m_ui, date);
      return true;
    case Action::ReadExams:
      if (m_exams != nullptr) m_exams->readExams(m_ws, m_ui, date);
      return false;
    case Action::TakeOverExams:
      if (m_exams != nullptr) m_exams->takeOverExams(m_ws, m_ui, date);
      return false;
    case Action::Close:
      break;
  }
  return true;
}

}  // namespace quort
