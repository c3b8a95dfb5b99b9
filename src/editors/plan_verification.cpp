#include "editors/plan_verification.h"

#include <sstream>

#include "data/calendar.h"
#include "data/plan_grids.h"
#include "data/plan_records.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

class Findings {
 public:
  void note(const std::string& text) { m_lines.push_back(text); }
  // value must lie in 0..max (or 1..max when required).
  void range(const std::string& where, const char* what, int value, int max, bool required = false) {
    if (value > max || value < 0 || (required && value == 0)) {
      note(where + ": " + what + " " + std::to_string(value) + " nicht in den Grunddaten");
    }
  }
  std::vector<std::string> take() { return std::move(m_lines); }

 private:
  std::vector<std::string> m_lines;
};

void checkAssignments(const Workspace& ws, const std::string& records, const char* name, Findings& findings) {
  const BaseData& base = ws.base;
  for (size_t i = 0; i < recordCount(records, AssignmentView::kSize); ++i) {
    const AssignmentView entry(records, i);
    const std::string where = std::string(name) + " " + std::to_string(i + 1);
    if (entry.isCoupling()) {
      findings.range(where, "Stundenart", entry.lessonKind(), 2);
      findings.range(where, "Kopplung", entry.couplingNumber(), ws.plan.nCouplings(), true);
      continue;
    }
    findings.range(where, "Lehrer", entry.teacher(), base.nTeachers());
    findings.range(where, "Klasse", entry.schoolClass(), base.nClasses(), true);
    findings.range(where, "Fach", entry.subject(), base.nSubjects(), true);
  }
}

void checkCouplings(const Workspace& ws, Findings& findings) {
  const BaseData& base = ws.base;
  for (int k = 1; k <= ws.plan.nCouplings(); ++k) {
    const std::string& members = ws.plan.couplings[static_cast<size_t>(k)];
    for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize); ++i) {
      const CouplingMemberView member(members, i);
      const std::string where = "Kopplung " + std::to_string(k);
      findings.range(where, "Lehrer", member.teacher(), base.nTeachers());
      findings.range(where, "Klasse", member.schoolClass(), base.nClasses(), true);
      findings.range(where, "Fach", member.subject(), base.nSubjects());
    }
  }
  for (int b = 1; b <= ws.plan.nBlocks(); ++b) {
    std::istringstream numbers(ws.plan.blocks[static_cast<size_t>(b)]);
    for (std::string number; std::getline(numbers, number, ',');) {
      if (number.empty()) continue;
      findings.range("Block " + std::to_string(b), "Kopplung", std::atoi(number.c_str()), ws.plan.nCouplings(), true);
    }
  }
}

bool gridFits(const Grid& grid, int entities, int periods) {
  return grid.entities() == entities && grid.periods() == periods;
}

void checkGridSizes(const Workspace& ws, Findings& findings) {
  const BaseData& base = ws.base;
  const TimetableGrids& grids = ws.plan.timetable;
  const int p = base.periodsPerDay;
  if (!gridFits(grids.lessonWord, base.nClasses(), p) || !gridFits(grids.roomWord, base.nClasses(), p) ||
      !gridFits(grids.teacher, base.nTeachers(), p) || !gridFits(grids.room, base.nRooms(), p) ||
      !gridFits(grids.subject, base.nSubjects(), p) || !gridFits(grids.roomLock, base.nRooms(), p)) {
    findings.note("Gitter passen nicht zu den Grunddaten");
  }
}

void checkClassGrid(const Workspace& ws, const TimetableGrids& grids, const char* name, Findings& findings) {
  const BaseData& base = ws.base;
  for (int c = 1; c <= grids.lessonWord.entities(); ++c) {
    for (int d = 1; d <= kGridDays; ++d) {
      for (int p = 1; p <= grids.lessonWord.periods(); ++p) {
        const uint16_t lesson = grids.lessonWord.at(c, p, d);
        const uint16_t room = grids.roomWord.at(c, p, d);
        const std::string where = std::string(name) + " " +
                                  base.classes[static_cast<size_t>(std::min(c, base.nClasses()))].code + " " +
                                  DayAbbrev(d) + std::to_string(p);
        if (d > base.days && lesson != 0) findings.note(where + ": Stunde an einem Tag ohne Unterricht");
        findings.range(where, "Lehrer", LessonWord::teacher(lesson), base.nTeachers());
        findings.range(where, "Fach", LessonWord::subject(lesson), base.nSubjects());
        findings.range(where, "Raum", RoomWord::room(room), base.nRooms());
        findings.range(where, "Kopplung", RoomWord::coupling(room), ws.plan.nCouplings());
      }
    }
  }
}

void checkLocks(const Workspace& ws, Findings& findings) {
  const BaseData& base = ws.base;
  const TimetableGrids& grids = ws.plan.timetable;
  for (int d = 1; d <= kGridDays; ++d) {
    for (int p = 1; p <= grids.teacher.periods(); ++p) {
      for (int t = 1; t <= grids.teacher.entities(); ++t) {
        if ((grids.teacher.at(t, p, d) & 255) > 127)
          findings.note(
              "Lehrersperre \xFC"
              "ber 127: " +
              base.teachers[static_cast<size_t>(t)].code);
      }
      for (int s = 1; s <= grids.subject.entities(); ++s) {
        if ((grids.subject.at(s, p, d) & 255) > 127)
          findings.note(
              "Fachbelegung \xFC"
              "ber 127: " +
              base.subjects[static_cast<size_t>(s)].code);
      }
    }
  }
}

void checkDayRecords(const Workspace& ws, Findings& findings) {
  const BaseData& base = ws.base;
  const std::string& open = ws.plan.openLessons;
  for (size_t i = 0; i < recordCount(open, OpenLessonView::kSize); ++i) {
    const OpenLessonView entry(open, i);
    const std::string where = "Offene Stunde " + std::to_string(i + 1);
    findings.range(where, "Lehrer", entry.teacher(), base.nTeachers());
    findings.range(where, "Klasse", entry.schoolClass(), base.nClasses());
    findings.range(where, "Fach", entry.subject(), base.nSubjects());
    findings.range(where, "Raum", entry.room(), base.nRooms());
  }
  const std::string& freed = ws.plan.freedLessons;
  for (size_t i = 0; i < recordCount(freed, FreedLessonView::kSize); ++i) {
    const FreedLessonView entry(freed, i);
    const std::string where = "Freigesetzte Stunde " + std::to_string(i + 1);
    findings.range(where, "Lehrer", entry.teacher(), base.nTeachers());
    findings.range(where, "Klasse", entry.schoolClass(), base.nClasses());
  }
}

}  // namespace

std::vector<std::string> verifyPlan(const Workspace& ws) {
  Findings findings;
  checkGridSizes(ws, findings);
  std::vector<std::string> lines = findings.take();
  if (!lines.empty()) return lines;  // the cell checks below would read past the grids
  checkAssignments(ws, ws.plan.assignments, "Deputat", findings);
  checkAssignments(ws, ws.plan.assignmentBuffer, "Puffer", findings);
  checkCouplings(ws, findings);
  checkClassGrid(ws, ws.plan.timetable, "Plan", findings);
  checkLocks(ws, findings);
  checkDayRecords(ws, findings);
  lines = findings.take();
  for (std::string& difference : derivedGridDifferences(ws.base, ws.plan)) lines.push_back(std::move(difference));
  return lines;
}

}  // namespace quort
