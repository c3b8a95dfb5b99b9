#include "output/exchange_export.h"

#include "data/base_data.h"
#include "data/codepage.h"
#include "data/file_access.h"
#include "data/plan_records.h"
#include "data/plan_tables.h"
#include "timetable/lesson_grid.h"
#include "workspace/dialogs.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string withoutTrailingBlanks(std::string text) {
  const size_t end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

std::string quoted(const std::string& text) { return "\"" + ToDosText(text) + "\""; }

// What the coupling teaches this class in the cell: the member's subject code with its
// suffix, so that an import can tell the courses of one coupling apart. The member of the
// cell's own teacher and subject comes first; a coupling without one falls back to the
// subject code.
std::string courseText(const BaseData& base, const PlanTables& plan, int coupling, int schoolClass, uint16_t lesson) {
  const std::string& members = plan.couplings[static_cast<size_t>(coupling)];
  int chosen = -1;
  for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize); ++i) {
    const CouplingMemberView member(members, i);
    if (member.schoolClass() != schoolClass) continue;
    const bool sameLesson =
        member.teacher() == LessonWord::teacher(lesson) && member.subject() == LessonWord::subject(lesson);
    if (chosen < 0 || sameLesson) chosen = static_cast<int>(i);
    if (sameLesson) break;
  }
  if (chosen < 0) return {};
  const CouplingMemberView member(members, static_cast<size_t>(chosen));
  if (member.subject() < 1 || member.subject() >= base.nSubjects()) return {};
  return base.subjects[static_cast<size_t>(member.subject())].code + std::string(1, member.suffix());
}

std::string codeOrEmpty(const std::string& code, char lowest) {
  std::string text = withoutTrailingBlanks(code);
  if (text.empty() || static_cast<unsigned char>(text[0]) < static_cast<unsigned char>(lowest)) return {};
  return text;
}

std::string exchangeRow(const BaseData& base, const PlanTables& plan, int schoolClass, int period, int day) {
  const uint16_t lesson = plan.timetable.lessonWord.at(schoolClass, period, day);
  const uint16_t roomWord = plan.timetable.roomWord.at(schoolClass, period, day);
  const int teacher = LessonWord::teacher(lesson);
  const int subject = LessonWord::subject(lesson);
  // Teacher and subject below their sentinels: anything else is a lock or a damaged cell.
  if (teacher < 1 || teacher >= base.nTeachers() || subject >= base.nSubjects()) return {};
  int coupling = RoomWord::coupling(roomWord);
  if (coupling > plan.nCouplings()) coupling = 0;
  std::string subjectText = coupling > 0 ? courseText(base, plan, coupling, schoolClass, lesson) : std::string();
  if (subjectText.empty() && subject > 0) subjectText = base.subjects[static_cast<size_t>(subject)].code;
  const int room = RoomWord::room(roomWord);
  const std::string roomText = room >= 1 && room <= base.nRooms() ? base.rooms[static_cast<size_t>(room)].code : "";
  return std::to_string(coupling) + "," + quoted(withoutTrailingBlanks(base.classes[schoolClass].code)) + "," +
         quoted(withoutTrailingBlanks(base.teachers[static_cast<size_t>(teacher)].code)) + "," +
         quoted(codeOrEmpty(subjectText, 'A')) + "," + quoted(codeOrEmpty(roomText, '0')) + "," + std::to_string(day) +
         "," + std::to_string(period);
}

// The separator goes in last, so that no field text needs to know it: codes never hold a
// comma or a quote, and every text field is quoted anyway.
std::string withSeparator(std::string row, char separator) {
  if (separator == ',') return row;
  bool inQuotes = false;
  for (char& c : row) {
    if (c == '"') inQuotes = !inQuotes;
    if (c == ',' && !inQuotes) c = separator;
  }
  return row;
}

}  // namespace

std::string formatExchangeTable(const BaseData& base, const PlanTables& plan, ExchangeFormat format) {
  std::string text =
      withSeparator("\"Nummer\",\"Klasse\",\"Lehrer\",\"Fach\",\"Raum\",\"Tag\",\"Stunde\"", format.separator) + "\r\n";
  const int days = std::min(base.days, kGridDays);
  for (int day = 1; day <= days; ++day) {
    for (int period = 1; period <= base.periodsPerDay; ++period) {
      for (int c = 1; c <= base.nClasses(); ++c) {
        if (plan.timetable.lessonWord.at(c, period, day) == 0) continue;
        const std::string row = exchangeRow(base, plan, c, period, day);
        if (!row.empty()) text += withSeparator(row, format.separator) + "\r\n";
      }
    }
  }
  return text;
}

bool ExportExchange(Workspace& ws, Ui& ui, ExchangeFormat format) {
  const std::string name = FileChooser(ws, ui, {"QUORT-Plan - Plan exportieren (DIF)", "", "*.txt", ""});
  if (name.empty()) return false;
  if (!writeFileAtomically(name, formatExchangeTable(ws.base, ws.plan, format))) {
    ui.message(name + "\r" + "Schreibfehler!", MessageStyle{Icon::Exclamation});
    return false;
  }
  ui.message("Plan unter " + name + " exportiert", MessageStyle{Icon::Information});
  return true;
}

}  // namespace quort
