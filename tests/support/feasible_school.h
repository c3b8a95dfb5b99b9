#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/base_data_format.h"
#include "data/plan_records.h"
#include "timetable/lesson_grid.h"
#include "workspace/workspace.h"

namespace quort::test {

// What a feasible school looks like; the seed draws everything else.
struct FeasibleShape {
  uint32_t seed = 1;
  int grades = 6;           // grades 5 upwards
  int classesPerGrade = 4;  // classes A, B, ...
  int coupledGrades = 1;    // the top grades have their courses coupled across the grade
  int periodsPerDay = 0;    // 0: drawn from 8 to 10
  int teachers = 0;         // 0: enough for about 85 % of what option 8 allows (99 at most)
  int maxPerDay = 0;        // option 8; 0: one or two below the periods of a day
  double minFill = 0.9;     // every class's week is at least this full
};

// A school drawn the other way round: first a complete timetable (days 5, classes with
// weeks 90-100 % full, teachers at most option 8 a day, subjects with room counts and
// double periods, couplings of all classes of a grade), then the base data and the
// assignments that it answers. The timetable is kept in `solution`; the plan starts empty,
// so the school has a complete solution by construction.
struct FeasibleSchool {
  struct Lesson {
    int teacher = 0;
    int subject = 0;
    int coupling = 0;
  };

  Workspace ws;
  FeasibleShape shape;
  int days = 5;
  int periods = 8;
  int maxPerDay = 7;
  std::vector<Lesson> solution;  // per class, day and period: what the drawn timetable has there
  int solutionCells = 0;

  explicit FeasibleSchool(const FeasibleShape& s) : shape(s), m_draw(s.seed) {
    periods = s.periodsPerDay != 0 ? s.periodsPerDay : 8 + static_cast<int>(m_draw() % 3);
    maxPerDay = s.maxPerDay != 0 ? s.maxPerDay : periods - 1 - static_cast<int>(m_draw() % 2);
    m_classes = s.grades * s.classesPerGrade;
    const double cells = m_classes * days * periods * (1 + s.minFill) / 2;
    m_teachers = s.teachers != 0 ? s.teachers : std::min(99, static_cast<int>(cells / (0.85 * days * maxPerDay)) + 1);
    if (parseBaseDataFile(baseText(), ws.base).outcome != ParseOutcome::Ok)
      throw std::runtime_error("feasible school: the base data do not load");
    ws.plan.reset(ws.base);
    solution.assign(static_cast<size_t>(m_classes + 1) * 7 * static_cast<size_t>(periods + 1), Lesson{});
    m_teacherBusy.assign(static_cast<size_t>(m_teachers + 1) * 7 * static_cast<size_t>(periods + 1), false);
    m_teacherDay.assign(static_cast<size_t>(m_teachers + 1) * 7, 0);
    m_roomUse.assign(static_cast<size_t>(kSubjects + 1) * 7 * static_cast<size_t>(periods + 1), 0);
    drawWanted();
    drawCouplings();
    drawLessons();
    deriveAssignments();
  }

  Lesson& at(int c, int day, int p) { return solution[index(c, day, p)]; }
  const Lesson& at(int c, int day, int p) const { return solution[index(c, day, p)]; }
  int classes() const { return m_classes; }

 private:
  // Subjects: code, room count (0 none), double periods.
  struct SubjectShape {
    const char* code;
    int rooms;
    bool doubles;
  };
  static constexpr int kSubjects = 15;
  static constexpr SubjectShape kSubjectShapes[kSubjects] = {
      {"D", 0, false},  {"M", 0, false}, {"E", 0, false}, {"F", 0, false},  {"L", 0, false},
      {"BI", 3, false}, {"PH", 2, true}, {"CH", 2, true}, {"EK", 0, false}, {"GE", 0, false},
      {"MU", 2, false}, {"KU", 3, true}, {"SP", 4, true}, {"IF", 2, false}, {"PO", 0, false}};

  size_t index(int c, int day, int p) const {
    return (static_cast<size_t>(c) * 7 + static_cast<size_t>(day)) * static_cast<size_t>(periods + 1) +
           static_cast<size_t>(p);
  }
  size_t teacherIndex(int t, int day, int p) const {
    return (static_cast<size_t>(t) * 7 + static_cast<size_t>(day)) * static_cast<size_t>(periods + 1) +
           static_cast<size_t>(p);
  }
  int draw(int n) { return static_cast<int>(m_draw() % static_cast<uint32_t>(n)); }

  std::string baseText() const {
    std::vector<std::string> classes;
    for (int g = 0; g < shape.grades; ++g)
      for (int k = 0; k < shape.classesPerGrade; ++k)
        classes.push_back(std::to_string(5 + g) + static_cast<char>('A' + k));
    std::vector<std::string> teachers;
    for (int t = 0; t < m_teachers; ++t)
      teachers.push_back({static_cast<char>('A' + t / 26), static_cast<char>('A' + t % 26)});
    std::vector<std::string> subjects;
    for (const SubjectShape& s : kSubjectShapes) {
      std::string line = std::string(s.code) + " Fach" + s.code;
      if (s.rooms > 0) line += " " + std::to_string(s.rooms);
      if (s.doubles) line += (s.rooms > 0 ? "" : std::string(" ") + s.code) + " D";
      subjects.push_back(line);
    }
    std::vector<std::string> rooms;
    for (int r = 1; r <= std::min(100, m_classes); ++r) rooms.push_back("R" + std::to_string(r));
    const int packed = 256 * (6 - days) + 16 * (periods - 2) + periods;
    std::string text = std::to_string(packed) + "," + std::to_string(classes.size()) + "," +
                       std::to_string(teachers.size() + 1) + "," + std::to_string(subjects.size() + 1) + "," +
                       std::to_string(rooms.size()) + "\r\n";
    for (const std::vector<std::string>& list : {classes, teachers, subjects, rooms})
      for (const std::string& line : list) text += line + "\r\n";
    // Options 7, 2, 3, 1, 4, 5, 6, 9, 8, 10, 11, 12.
    text += "20,4,1,20,2,2,1,100," + std::to_string(maxPerDay) + ",4,5,1\r\n";
    return text;
  }

  // Which cells of each class the timetable fills: the free periods are at the ends of days.
  void drawWanted() {
    m_wanted.assign(solution.size(), false);
    for (int c = 1; c <= m_classes; ++c) {
      const double fill = shape.minFill + (1 - shape.minFill) * (m_draw() % 1000) / 1000.0;
      int empty = static_cast<int>((1 - fill) * days * periods);
      std::vector<int> length(static_cast<size_t>(days) + 1, periods);
      while (empty-- > 0) {
        const int day = 1 + draw(days);
        if (length[static_cast<size_t>(day)] > periods - 3) --length[static_cast<size_t>(day)];
      }
      for (int day = 1; day <= days; ++day)
        for (int p = 1; p <= length[static_cast<size_t>(day)]; ++p) m_wanted[index(c, day, p)] = true;
    }
  }

  bool teacherFree(int t, int day, int first, int last) const {
    if (m_teacherDay[static_cast<size_t>(t) * 7 + static_cast<size_t>(day)] + last - first + 1 > maxPerDay)
      return false;
    for (int p = first; p <= last; ++p)
      if (m_teacherBusy[teacherIndex(t, day, p)]) return false;
    return true;
  }
  bool roomFree(int subject, int day, int first, int last, int wanted = 1) const {
    const int rooms = kSubjectShapes[subject - 1].rooms;
    if (rooms == 0) return true;
    for (int p = first; p <= last; ++p)
      if (m_roomUse[index(subject, day, p)] + wanted > rooms) return false;
    return true;
  }
  bool classFree(int c, int day, int first, int last) const {
    for (int p = first; p <= last; ++p)
      if (p > periods || !m_wanted[index(c, day, p)] || at(c, day, p).teacher != 0) return false;
    return true;
  }
  // The class has this teacher and subject on that day already.
  bool onDay(int c, int day, int t, int s, int coupling) const {
    for (int p = 1; p <= periods; ++p) {
      const Lesson& l = at(c, day, p);
      if (l.teacher == t && l.subject == s && (l.coupling != 0) == (coupling != 0)) return true;
    }
    return false;
  }
  void put(int c, int day, int first, int last, Lesson lesson) {
    for (int p = first; p <= last; ++p) {
      at(c, day, p) = lesson;
      m_teacherBusy[teacherIndex(lesson.teacher, day, p)] = true;
      if (kSubjectShapes[lesson.subject - 1].rooms > 0) ++m_roomUse[index(lesson.subject, day, p)];
      ++solutionCells;
    }
    m_teacherDay[static_cast<size_t>(lesson.teacher) * 7 + static_cast<size_t>(day)] += last - first + 1;
  }

  // In the top grades two couplings of the whole grade: a single-period one and a double-period one.
  void drawCouplings() {
    ws.plan.couplings.assign(1, std::string());
    const int firstGrade = std::max(0, shape.grades - shape.coupledGrades);
    for (int g = firstGrade; g < shape.grades && shape.classesPerGrade > 1; ++g) {
      for (const int kind : {0, 1}) {
        const int k = ws.plan.nCouplings() + 1;
        std::vector<int> teachers;
        std::vector<int> subjects;
        for (int m = 0; m < shape.classesPerGrade; ++m) {
          int t = 0;
          do t = 1 + draw(m_teachers);
          while (std::find(teachers.begin(), teachers.end(), t) != teachers.end());
          teachers.push_back(t);
          subjects.push_back(kind == 0 ? 1 + (m % 5) : 13 - (m % 2));  // languages; sport or art
        }
        const int blocks = kind == 0 ? 3 : 2;
        int placed = 0;
        for (int tries = 0; tries < 200 && placed < blocks; ++tries) {
          const int day = 1 + draw(days);
          const int first = 1 + draw(periods - kind);
          if (!couplingFits(g, day, first, first + kind, teachers, subjects, k)) continue;
          for (int m = 0; m < shape.classesPerGrade; ++m)
            put(1 + g * shape.classesPerGrade + m, day, first, first + kind,
                Lesson{teachers[static_cast<size_t>(m)], subjects[static_cast<size_t>(m)], k});
          ++placed;
        }
        if (placed == 0) continue;
        std::string members;
        for (int m = 0; m < shape.classesPerGrade; ++m)
          members += makeCouplingMember(teachers[static_cast<size_t>(m)], 1 + g * shape.classesPerGrade + m,
                                        subjects[static_cast<size_t>(m)], ' ');
        ws.plan.couplings.push_back(members);
        ws.plan.assignments += makeAssignment(0, kind, k, placed * (kind + 1));
      }
    }
  }

  bool couplingFits(int g, int day, int first, int last, const std::vector<int>& teachers,
                    const std::vector<int>& subjects, int k) const {
    for (int m = 0; m < shape.classesPerGrade; ++m) {
      const int c = 1 + g * shape.classesPerGrade + m;
      const int t = teachers[static_cast<size_t>(m)];
      const int s = subjects[static_cast<size_t>(m)];
      if (!classFree(c, day, first, last) || !teacherFree(t, day, first, last) || onDay(c, day, t, s, k)) return false;
      const int sameRooms = static_cast<int>(std::count(subjects.begin(), subjects.end(), s));
      if (!roomFree(s, day, first, last, sameRooms)) return false;
    }
    return true;
  }

  // Period by period, every class takes a lesson of its team (a teacher per subject) that
  // fits there, double-period subjects two periods at once; failing that, any free teacher
  // gives a subject without rooms. A cell that nobody can take stays free.
  void drawLessons() {
    std::vector<std::vector<std::pair<int, int>>> team(static_cast<size_t>(m_classes) + 1);
    for (int c = 1; c <= m_classes; ++c)
      for (int s = 1; s <= kSubjects; ++s)
        if (draw(10) < 8) team[static_cast<size_t>(c)].push_back({1 + draw(m_teachers), s});
    std::vector<int> order(static_cast<size_t>(m_classes));
    for (int c = 1; c <= m_classes; ++c) order[static_cast<size_t>(c - 1)] = c;
    for (int day = 1; day <= days; ++day) {
      for (int p = 1; p <= periods; ++p) {
        std::shuffle(order.begin(), order.end(), m_draw);
        for (const int c : order) {
          if (!classFree(c, day, p, p)) continue;
          if (!placeFromTeam(team[static_cast<size_t>(c)], c, day, p)) placeAnyTeacher(c, day, p);
        }
      }
    }
  }

  bool placeFromTeam(std::vector<std::pair<int, int>>& pairs, int c, int day, int p) {
    std::shuffle(pairs.begin(), pairs.end(), m_draw);
    for (const auto& [t, s] : pairs) {
      const int last = kSubjectShapes[s - 1].doubles ? p + 1 : p;
      if (!classFree(c, day, p, last) || !teacherFree(t, day, p, last) || !roomFree(s, day, p, last) ||
          onDay(c, day, t, s, 0))
        continue;
      put(c, day, p, last, Lesson{t, s, 0});
      return true;
    }
    return false;
  }

  void placeAnyTeacher(int c, int day, int p) {
    const int start = draw(m_teachers);
    for (int i = 0; i < m_teachers; ++i) {
      const int t = 1 + (start + i) % m_teachers;
      if (!teacherFree(t, day, p, p)) continue;
      for (const int s : {9, 10, 15, 1, 2, 3}) {
        if (onDay(c, day, t, s, 0)) continue;
        put(c, day, p, p, Lesson{t, s, 0});
        return;
      }
    }
  }

  void deriveAssignments() {
    std::vector<int> periodsOf(static_cast<size_t>(m_teachers + 1) * (m_classes + 1) * (kSubjects + 1), 0);
    for (int c = 1; c <= m_classes; ++c)
      for (int day = 1; day <= days; ++day)
        for (int p = 1; p <= periods; ++p) {
          const Lesson& l = at(c, day, p);
          if (l.teacher != 0 && l.coupling == 0)
            ++periodsOf[(static_cast<size_t>(l.teacher) * (m_classes + 1) + static_cast<size_t>(c)) * (kSubjects + 1) +
                        static_cast<size_t>(l.subject)];
        }
    for (int c = 1; c <= m_classes; ++c)
      for (int t = 1; t <= m_teachers; ++t)
        for (int s = 1; s <= kSubjects; ++s) {
          const int n =
              periodsOf[(static_cast<size_t>(t) * (m_classes + 1) + static_cast<size_t>(c)) * (kSubjects + 1) +
                        static_cast<size_t>(s)];
          if (n > 0) ws.plan.assignments += makeAssignment(t, c, s, n);
        }
  }

  std::mt19937 m_draw;
  int m_classes = 0;
  int m_teachers = 0;
  std::vector<bool> m_wanted;
  std::vector<bool> m_teacherBusy;
  std::vector<int> m_teacherDay;
  std::vector<int> m_roomUse;  // per subject, day and period (indexed like a class)
};

}  // namespace quort::test
