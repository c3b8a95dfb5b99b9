#include "substitution/lesson_dialog.h"

#include "data/calendar.h"
#include "data/plan_records.h"
#include "substitution/day_plan.h"
#include "substitution/day_records.h"
#include "substitution/dialog_support.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr const char* kLessonButtons[] = {"Setzen", "Frei", "Rekonstruieren", "L\xF6schen", "Abbruch"};
constexpr const char* kNoTeacherLine = "* -";

std::string lessonTrimmed(const std::string& code) {
  const size_t first = code.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return code.substr(first, code.find_last_not_of(' ') - first + 1);
}

// The entry text split into its codes part ("MR-D 101") and its note (" (*)").
struct EntryParts {
  std::string teacher;
  std::string subject;
  std::string room;
  std::string note;
};
EntryParts splitEntry(const std::string& entry) {
  EntryParts parts;
  const size_t open = entry.find(" (");
  if (open != std::string::npos) parts.note = entry.substr(open);
  const std::string codes = lessonTrimmed(entry.substr(0, open));
  const size_t blank = codes.find(' ');
  const std::string head = codes.substr(0, blank);
  if (blank != std::string::npos) parts.room = lessonTrimmed(codes.substr(blank));
  const size_t dash = head.find('-');
  parts.teacher = head.substr(0, dash);
  if (dash != std::string::npos) parts.subject = head.substr(dash + 1);
  return parts;
}

std::string joinEntry(const EntryParts& parts) {
  std::string text = parts.teacher;
  if (!parts.subject.empty()) text += "-" + parts.subject;
  if (!parts.room.empty()) text += " " + parts.room;
  return text + parts.note;
}

}  // namespace

SubstituteLessonSession::SubstituteLessonSession(Workspace& ws, Ui& ui, const Lesson& lesson)
    : m_ws(ws), m_ui(ui), m_lesson(lesson), m_day(Weekday(lesson.date)) {
  const auto index = findOpenLesson(ws.plan.openLessons, lesson.schoolClass, m_day, lesson.period);
  int room = 0;
  if (index) {
    const OpenLessonRecord open = openLessonAt(ws.plan.openLessons, *index);
    m_teacher = open.teacher;
    m_subject = open.subject;
    room = open.room;
    m_remark = absenceReasonFor(ws, open.teacher, open.schoolClass, open.room, open.period);
  }
  m_lists = candidateList(ws, m_day, lesson.period, lesson.schoolClass, m_subject);
  for (size_t i = 0; room > 0 && i < m_lists.rooms.size(); ++i) {
    if (m_lists.rooms[i].room != room) continue;
    m_initialRoom = static_cast<int>(i);
    break;
  }
  // Without a subject of its own the lesson takes the "*" entry, the last subject.
  const int subject = m_subject > 0 ? m_subject : ws.base.nSubjects();
  m_initialSubject = subject - 1;
}

std::string SubstituteLessonSession::title() const {
  const BaseData& base = m_ws.base;
  std::string text = std::string(m_lesson.extra ? "Extrastunde " : "Vertretung ") + DayAbbrev(m_day) + " " +
                     std::to_string(WeekNumber(m_lesson.date)) + ".Woche " +
                     std::to_string(shownPeriod(m_ws, m_lesson.period)) + ".Std. " +
                     lessonTrimmed(base.classes[static_cast<size_t>(m_lesson.schoolClass)].code);
  if (m_teacher > 0 && m_teacher < base.nTeachers()) {
    text += " " + lessonTrimmed(base.teachers[static_cast<size_t>(m_teacher)].code);
    if (m_subject > 0) text += "-" + lessonTrimmed(base.subjects[static_cast<size_t>(m_subject)].code);
  }
  return text;
}

std::vector<std::string> SubstituteLessonSession::teacherLines() const {
  std::vector<std::string> lines;
  for (const TeacherCandidate& candidate : m_lists.teachers) lines.push_back(candidate.line);
  lines.push_back(kNoTeacherLine);
  return lines;
}

std::vector<std::string> SubstituteLessonSession::roomLines() const {
  std::vector<std::string> lines;
  for (const RoomCandidate& room : m_lists.rooms) lines.push_back(room.line);
  return lines;
}

std::vector<std::string> SubstituteLessonSession::subjectLines() const {
  return substitutionCodes(m_ws, CodeList::Subject);
}

int SubstituteLessonSession::roomOfRow(int row) const {
  return row >= 0 && row < static_cast<int>(m_lists.rooms.size()) ? m_lists.rooms[static_cast<size_t>(row)].room : 0;
}

int SubstituteLessonSession::subjectOfRow(int row) const {
  return row >= 0 && row < m_ws.base.nSubjects() ? row + 1 : 0;
}

std::string SubstituteLessonSession::entryFor(int teacherRow, int roomRow, int subjectRow) const {
  if (teacherRow < 0 || teacherRow >= static_cast<int>(m_lists.teachers.size())) return "*";
  return candidateEntryText(m_ws, m_lists.teachers[static_cast<size_t>(teacherRow)], roomOfRow(roomRow),
                            subjectOfRow(subjectRow));
}

std::string SubstituteLessonSession::withRoom(const std::string& entry, int roomRow) const {
  EntryParts parts = splitEntry(entry);
  const int room = roomOfRow(roomRow);
  parts.room = room > 0 ? lessonTrimmed(m_ws.base.rooms[static_cast<size_t>(room)].code) : std::string();
  return joinEntry(parts);
}

std::string SubstituteLessonSession::withSubject(const std::string& entry, int subjectRow) const {
  EntryParts parts = splitEntry(entry);
  const int subject = subjectOfRow(subjectRow);
  parts.subject = subject > 0 ? lessonTrimmed(m_ws.base.subjects[static_cast<size_t>(subject)].code) : std::string();
  return joinEntry(parts);
}

ChoiceBoxRequest SubstituteLessonSession::form() const {
  ChoiceBoxRequest request;
  request.prompt = title();
  request.title = m_lesson.extra ? "Extrastunde" : "Vertretung";
  request.helpFile = substitutionHelp(m_ws, "vset");
  request.items.push_back({ChoiceItem::Kind::TextField, "Eintrag", initialEntry(), false, {}});
  for (const char* caption : kLessonButtons)
    request.items.push_back({ChoiceItem::Kind::Button, caption, {}, false, {}});
  return request;
}

bool SubstituteLessonSession::press(int button, const std::vector<std::string>& values) {
  const ChoiceBoxRequest request = form();
  if (button >= 1 && button <= static_cast<int>(request.items.size())) {
    const std::string& caption = request.items[static_cast<size_t>(button - 1)].label;
    for (size_t i = 0; i < std::size(kLessonButtons); ++i) {
      if (caption == kLessonButtons[i]) {
        act(static_cast<Action>(i), values.empty() ? initialEntry() : values.front());
        return true;
      }
    }
  }
  return true;
}

bool SubstituteLessonSession::act(Action action, const std::string& entry) {
  const SubstitutionRequest request{m_lesson.date, m_day,    m_lesson.period, m_lesson.schoolClass,
                                    entry,         m_remark, false,           false};
  switch (action) {
    case Action::Set:
      return setSubstitution(m_ws, m_ui, request);
    case Action::Free: {
      SubstitutionRequest cancelled = request;
      cancelled.text = "*";
      return setSubstitution(m_ws, m_ui, cancelled);
    }
    case Action::Reconstruct:
      return reconstructLesson(m_ws, m_ui, m_lesson.date, m_lesson.schoolClass, m_lesson.period);
    case Action::Drop:
      if (!m_ui.askYesNo("Eintrag ersatzlos l\xF6schen?", MessageStyle{Icon::Question})) return false;
      return removeOpenLesson(m_ws.plan.openLessons, m_lesson.schoolClass, m_day, m_lesson.period);
    case Action::Close:
      break;
  }
  return false;
}

}  // namespace quort
