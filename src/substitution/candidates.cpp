#include "substitution/candidates.h"

#include <algorithm>

#include "data/calendar.h"
#include "data/plan_records.h"
#include "substitution/absence_register.h"
#include "substitution/day_files.h"
#include "substitution/day_plan.h"
#include "substitution/day_records.h"
#include "substitution/day_snapshot.h"
#include "timetable/lesson_grid.h"
#include "timetable/lesson_writing.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string candidateTrimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

template <typename T>
std::string candidateCode(const std::vector<T>& list, int index) {
  return index >= 1 && index < static_cast<int>(list.size()) ? candidateTrimmed(list[static_cast<size_t>(index)].code)
                                                             : std::string();
}

// The value the teacher's cell has at the gap; with week alternation both halves count.
int gapValue(const Workspace& ws, int teacher, int period, int day) {
  const Grid& grid = ws.plan.timetable.teacher;
  int value = grid.at(teacher, period, day);
  if (ws.base.weekAlternation) {
    int partner = 0;
    if (period % 2 == 1 && period < ws.base.periodsPerDay) partner = period + 1;
    if (period % 2 == 0 && period > 1) partner = period - 1;
    if (partner != 0) value = std::max<int>(value, grid.at(teacher, partner, day));
  }
  return value;
}

// Shown periods of the day in which the teacher teaches or is locked.
int occupiedPeriods(const Workspace& ws, int teacher, int day) {
  int count = 0;
  for (int shown = 1; shown <= lastShownPeriod(ws.base); ++shown) {
    const int first = ws.base.weekAlternation ? 2 * shown - 1 : shown;
    const int last = ws.base.weekAlternation ? std::min(2 * shown, ws.base.periodsPerDay) : shown;
    bool used = false;
    for (int q = first; q <= last; ++q) used = used || ws.plan.timetable.teacher.at(teacher, q, day) != 0;
    if (used) ++count;
  }
  return count;
}

void scoreWeek(const Workspace& ws, const CandidateQuery& query, CandidateScore& score, bool& adjacent) {
  const int classBit = query.reverse ? 1 : 2;
  const int subjectBit = query.reverse ? 2 : 1;
  const int afternoon = ws.base.afternoonStart;
  const int gap = shownPeriod(ws, query.period);
  for (int step = 0; step < 6; ++step) {
    const int e = (query.day - 1 + step) % 6 + 1;
    for (int q = 1; q <= ws.base.periodsPerDay; ++q) {
      const int k = ws.plan.timetable.teacher.at(query.teacher, q, e) >> 8;
      if (k < 1 || k > ws.base.nClasses()) continue;
      const int shown = shownPeriod(ws, q);
      if (e == query.day && (shown == gap - 1 || shown == gap + 1)) adjacent = true;
      const bool edge = shown == 1 || shown == afternoon;
      if (k == query.schoolClass) {
        score.flags |= edge ? CandidateFlag::kClassAtEdge : classBit;
        const bool course = RoomWord::coupling(ws.plan.timetable.roomWord.at(k, q, e)) != 0;
        if (score.moveDay == 0 && classBit == 2 && (edge || e != query.day) && !course) {
          score.moveDay = e;
          score.movePeriod = q;
        }
      }
      const int u = LessonWord::subject(ws.plan.timetable.lessonWord.at(k, q, e));
      if (query.subject > 0 && u == query.subject) score.flags |= subjectBit;
    }
  }
}

void scoreFreedLessons(const Workspace& ws, const CandidateQuery& query, CandidateScore& score) {
  const std::string& records = ws.plan.freedLessons;
  for (size_t i = 0; i < recordCount(records, FreedLessonView::kSize); ++i) {
    const FreedLessonView view(records, i);
    if (view.teacher() != query.teacher) continue;
    std::string code = candidateCode(ws.base.classes, view.schoolClass());
    code.resize(3, ' ');
    score.note = "st. " + code + DayAbbrev(view.day());
    if (view.day() == query.day && (score.flags & 0x18) < 0x18) {
      score.flags |= CandidateFlag::kOwesThisDay;
      break;
    }
  }
}

}  // namespace

bool excludedFromSubstitution(const Workspace& ws, int teacher) {
  return teacher < 1 || teacher >= ws.base.nTeachers() ||
         ws.base.teachers[static_cast<size_t>(teacher)].code.find('~') != std::string::npos;
}

CandidateScore scoreCandidate(const Workspace& ws, const CandidateQuery& query) {
  CandidateScore score;
  const int value = gapValue(ws, query.teacher, query.period, query.day);
  score.flags = value == 0 ? CandidateFlag::kFree : value < 256 ? CandidateFlag::kLocked : 0;
  const int n = occupiedPeriods(ws, query.teacher, query.day);
  const int afternoon = ws.base.afternoonStart;
  const int periods = lastShownPeriod(ws.base);
  if (n < std::min(afternoon - 1, periods - 2) && score.flags == CandidateFlag::kFree) {
    score.flags = CandidateFlag::kAdjacent | CandidateFlag::kFree;
  } else if (n >= std::min(afternoon, periods - 2)) {
    score.flags &= CandidateFlag::kLocked;  // a free teacher with a full day is not offered as free
  }
  bool adjacent = false;
  scoreWeek(ws, query, score, adjacent);
  scoreFreedLessons(ws, query, score);
  if (!adjacent) score.flags &= ~CandidateFlag::kAdjacent;
  return score;
}

namespace {

std::string candidateLine(const Workspace& ws, int teacher, const CandidateScore& score, int schoolClass, int subject,
                          int busyClass) {
  std::string line = candidateCode(ws.base.teachers, teacher) + " : ";
  const std::string cls = candidateCode(ws.base.classes, schoolClass);
  if ((score.flags & CandidateFlag::kClassAtEdge) != 0) {
    line += cls + " Rand, ";
  } else if ((score.flags & CandidateFlag::kClass) != 0) {
    line += cls + ", ";
  }
  if ((score.flags & CandidateFlag::kSubject) != 0) line += candidateCode(ws.base.subjects, subject) + ", ";
  if ((score.flags & 0x18) != 0) line += score.note + ", ";
  if ((score.flags & 0xC0) == 0xC0) {
    line += "frei";
  } else if ((score.flags & CandidateFlag::kFree) != 0) {
    line += "(frei)";
  } else if ((score.flags & CandidateFlag::kLocked) != 0) {
    line += "Sperre";
  } else {
    const std::string busy = candidateCode(ws.base.classes, busyClass);
    line += busy.empty() ? "(frei)" : "in " + busy;
  }
  return line;
}

}  // namespace

CandidateLists candidateList(const Workspace& ws, int day, int period, int schoolClass, int subject) {
  CandidateLists lists;
  for (int t = 1; t < ws.base.nTeachers(); ++t) {
    if (excludedFromSubstitution(ws, t)) continue;
    const CandidateScore score = scoreCandidate(ws, {day, period, t, schoolClass, subject, false});
    const int busy = ws.plan.timetable.teacher.at(t, period, day) >> 8;
    lists.teachers.push_back({t, score.flags, candidateLine(ws, t, score, schoolClass, subject, busy), score.note});
  }
  std::stable_sort(lists.teachers.begin(), lists.teachers.end(),
                   [](const TeacherCandidate& a, const TeacherCandidate& b) { return a.flags > b.flags; });
  for (int r = 1; r <= ws.base.nRooms(); ++r) {
    const int holder = ws.plan.timetable.room.at(r, period, day);
    const std::string code = candidateCode(ws.base.rooms, r);
    lists.rooms.push_back(
        {r, holder, code + (holder == 0 ? ": frei" : ": in " + candidateCode(ws.base.classes, holder))});
  }
  std::stable_sort(lists.rooms.begin(), lists.rooms.end(),
                   [](const RoomCandidate& a, const RoomCandidate& b) { return a.holder < b.holder; });
  return lists;
}

std::string candidateEntryText(const Workspace& ws, const TeacherCandidate& candidate, int room, int subject) {
  std::string text = candidateCode(ws.base.teachers, candidate.teacher);
  if (subject > 0) text += "-" + candidateCode(ws.base.subjects, subject);
  if (room > 0) text += " " + candidateCode(ws.base.rooms, room);
  // A busy teacher is taken from the class named in the line ("in" reads "st.").
  std::string line = candidate.line;
  const size_t in = line.rfind(" in ");
  if (in != std::string::npos && (candidate.flags & (CandidateFlag::kFree | CandidateFlag::kLocked)) == 0) {
    line.replace(in + 1, 2, "st.");
  }
  const size_t st = line.find("st.");
  if (st == std::string::npos) return text + " (*)";
  const size_t comma = line.find(',', st);
  return text + " (" + line.substr(st, comma == std::string::npos ? std::string::npos : comma - st) + ")";
}

namespace {

int leadingNumber(const std::string& code) {
  int value = 0;
  for (char c : code) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
  }
  return value;
}

int bestTeacher(const Workspace& ws, const OpenLessonRecord& open, bool reverse, CandidateScore& best) {
  int winner = 0;
  for (int t = 1; t < ws.base.nTeachers(); ++t) {
    if (excludedFromSubstitution(ws, t)) continue;
    const CandidateScore score =
        scoreCandidate(ws, {open.day, open.period, t, open.schoolClass, open.subject, reverse});
    if (score.flags < CandidateFlag::kFree || (winner != 0 && score.flags <= best.flags)) continue;
    winner = t;
    best = score;
  }
  return winner;
}

// A room for the lesson that nobody else holds at that time; 0 when neither is free.
int freeRoom(const Workspace& ws, const OpenLessonRecord& open, int alternative) {
  for (const int room : {open.room, alternative}) {
    if (room < 1 || room > ws.base.nRooms()) continue;
    const int holder = ws.plan.timetable.room.at(room, open.period, open.day);
    if (holder == 0 || holder == open.schoolClass) return room;
  }
  return 0;
}

struct AutoRun {
  Workspace& ws;
  Ui& ui;
  const AutoSubstituteOptions& options;
};

bool releases(const AutoRun& run, const OpenLessonRecord& open, int grade) {
  const int shown = shownPeriod(run.ws, open.period);
  return (run.options.releaseEdge && (shown == 1 || shown >= 6)) || (run.options.releaseUpper && grade >= 11) ||
         grade >= 14;
}

// Moves the winner's lesson with the class from (day, q) into the gap: the vacated slot is
// written as "frei", the gap as the moved lesson.
bool moveIntoGap(AutoRun& run, const OpenLessonRecord& open, int teacher, int q, const std::string& remark) {
  Workspace& ws = run.ws;
  const uint16_t lesson = ws.plan.timetable.lessonWord.at(open.schoolClass, q, open.day);
  const int movedRoom = RoomWord::room(ws.plan.timetable.roomWord.at(open.schoolClass, q, open.day));
  const int subject = LessonWord::subject(lesson);
  clearPeriods(ws, open.day, q, q, open.schoolClass);
  const int room = freeRoom(ws, open, movedRoom);
  std::string text = candidateCode(ws.base.teachers, teacher) + "-" + candidateCode(ws.base.subjects, subject);
  if (room > 0) text += " " + candidateCode(ws.base.rooms, room);
  text += " (st. " + DayAbbrev(open.day) + std::to_string(shownPeriod(ws, q)) + ")";
  const SubstitutionRequest gap{run.options.date, open.day, open.period, open.schoolClass, text, remark, true, false};
  if (!setSubstitution(ws, run.ui, gap)) {
    setSubstitution(ws, run.ui,
                    {run.options.date,
                     open.day,
                     q,
                     open.schoolClass,
                     plannedLessonText(ws, open.schoolClass, open.day, q),
                     {},
                     true,
                     true});
    return false;
  }
  const std::string line = substitutionLine(ws, open.schoolClass, q, 0, "frei");
  return writeSubstitutionLines(ws, run.ui, run.options.date, {{line, remark}});
}

bool handleOpenLesson(AutoRun& run, const OpenLessonRecord& open) {
  Workspace& ws = run.ws;
  const int grade = leadingNumber(candidateCode(ws.base.classes, open.schoolClass));
  const std::string remark = absenceReasonFor(ws, open.teacher, open.schoolClass, open.room, open.period);
  SubstitutionRequest request{run.options.date, open.day, open.period, open.schoolClass, "*", remark, true, false};
  if (releases(run, open, grade)) return setSubstitution(ws, run.ui, request);
  CandidateScore best;
  const int teacher = bestTeacher(ws, open, grade != 0, best);
  if (teacher == 0) return false;
  if (run.options.moveLessons && best.moveDay == open.day) {
    return moveIntoGap(run, open, teacher, best.movePeriod, remark);
  }
  request.text = candidateCode(ws.base.teachers, teacher);
  if (const int room = freeRoom(ws, open, 0)) request.text += " " + candidateCode(ws.base.rooms, room);
  request.text += " (" + (best.note.empty() ? std::string("*") : best.note) + ")";
  return setSubstitution(ws, run.ui, request);
}

// The day file and the log take the run's lines in one write; when it fails the run
// leaves no trace.
bool writeCollectedLines(Workspace& ws, Ui& ui, const std::string& date) {
  ws.substitution.collectingDayLines = false;
  std::vector<SubstitutionLine> lines;
  for (const PendingDayLine& pending : ws.substitution.pendingDayLines) lines.push_back({pending.line, pending.reason});
  ws.substitution.pendingDayLines.clear();
  return lines.empty() || writeSubstitutionLines(ws, ui, date, lines);
}

}  // namespace

int autoSubstitute(Workspace& ws, Ui& ui, const AutoSubstituteOptions& options) {
  const int day = Weekday(options.date);
  if (day < 1 || day > 6) {
    ui.message("Datumsfehler!");
    return -1;
  }
  if (options.clearFirst) {
    if (!ui.askYesNo("Vertretungsplan f\xFCr " + options.date + " wirklich l\xF6schen?",
                     MessageStyle{Icon::Question})) {
      return -1;
    }
    if (!clearDay(ws, ui, options.date)) return -1;
  }
  AutoRun run{ws, ui, options};
  const DaySnapshot before(ws);
  ws.substitution.collectingDayLines = true;
  ws.substitution.pendingDayLines.clear();
  int set = 0;
  // Every setting consumes an open lesson, so the passes end; the bound guards the rest.
  const size_t maxPasses = recordCount(ws.plan.openLessons, OpenLessonView::kSize) + 1;
  for (size_t pass = 0; pass < maxPasses; ++pass) {
    bool any = false;
    const std::string records = ws.plan.openLessons;
    for (size_t i = 0; i < recordCount(records, OpenLessonView::kSize); ++i) {
      const OpenLessonRecord open = openLessonAt(records, i);
      if (open.day != day || open.schoolClass < 1 || open.schoolClass > ws.base.nClasses()) continue;
      if (!findOpenLesson(ws.plan.openLessons, open.schoolClass, open.day, open.period)) continue;
      if (ws.plan.timetable.lessonWord.at(open.schoolClass, open.period, open.day) != 0) continue;
      if (handleOpenLesson(run, open)) {
        any = true;
        ++set;
      }
    }
    if (!any) break;
  }
  if (!writeCollectedLines(ws, ui, options.date)) {
    before.restore(ws);
    return -1;
  }
  ui.message("Planerstellung beendet! Plan evtl. unvollst\xE4ndig!", MessageStyle{Icon::Exclamation});
  return set;
}

}  // namespace quort
