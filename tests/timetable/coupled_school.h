#pragma once

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/base_data_format.h"
#include "data/plan_records.h"
#include "workspace/plan_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort::test {

// What a coupled school looks like; the seed draws the teachers of the lessons.
struct CoupledSchoolShape {
  uint32_t seed = 1;
  int grades = 9;               // grades 5 to 4 + grades, four classes A-D each
  int periodsPerDay = 8;        // five days
  int maxTeacherPerDay = 6;     // option 8
  int maxTeacherLoad = 24;      // weekly periods a teacher is given at most
  bool doubleCouplings = true;  // the sport of a grade coupled across its classes as a double period
};

// A lower school of four classes per grade, built from base-data lines as the loader reads
// them (room counts and double periods in the subject lines): every class has German,
// mathematics, English, French or Latin, biology, physics, chemistry, geography, history,
// music, art and sport, and religion/ethics as a two-period coupling of its four classes
// ("#k:2E", a member per class: KR, ER, PL, KR), so a grade's religion needs four teachers
// at once. With nine grades the work list holds 423 entries: three chunks.
struct CoupledSchool {
  Workspace ws;
  ScriptedUi ui;

  explicit CoupledSchool(const CoupledSchoolShape& shape = {}) {
    const ParseResult parsed = parseBaseDataFile(baseText(shape), ws.base);
    if (parsed.outcome != ParseOutcome::Ok) throw std::runtime_error("coupled school: base data do not load");
    ws.plan.reset(ws.base);
    buildPlan(shape);
  }

  static constexpr int kTeachers = 70;

  bool consistent() const { return checkPlanConsistency(ws).empty(); }

  // The subject lines: code, name, room count or reference, kind.
  static std::vector<std::string> subjectLines() {
    return {"D Deutsch",     "M Mathematik",    "E Englisch",    "F Franzoesisch", "L Latein",   "BI Biologie 2",
            "PH Physik 2 D", "CH Chemie 2 D",   "EK Erdkunde",   "GE Geschichte",  "MU Musik 2", "KU Kunst 2 D",
            "SP Sport 4 D",  "KR KathReligion", "ER EvReligion", "PL Philosophie"};
  }

  static std::string baseText(const CoupledSchoolShape& shape) {
    const int days = 5;
    const int afternoon = 6;
    std::vector<std::string> classes;
    for (int g = 0; g < shape.grades; ++g)
      for (const char k : {'A', 'B', 'C', 'D'}) classes.push_back(std::to_string(5 + g) + k);
    std::vector<std::string> teachers;
    for (int t = 0; t < kTeachers; ++t)
      teachers.push_back(std::string{static_cast<char>('A' + t / 26), static_cast<char>('A' + t % 26)} + " Name" +
                         std::to_string(t + 1) + " 0 26");
    std::vector<std::string> rooms;
    for (size_t c = 0; c < classes.size(); ++c) rooms.push_back("R" + std::to_string(c + 1) + " " + classes[c]);
    for (const char* subject : {"BI", "PH", "CH", "MU", "KU"})
      for (int n = 1; n <= 2; ++n) rooms.push_back(std::string(subject) + std::to_string(n) + " " + subject);
    for (int n = 1; n <= 4; ++n) rooms.push_back("TH" + std::to_string(n) + " SP");
    const std::vector<std::string> subjects = subjectLines();
    const int packed = 256 * (6 - days) + 16 * afternoon + shape.periodsPerDay;
    std::string text = std::to_string(packed) + "," + std::to_string(classes.size()) + "," +
                       std::to_string(teachers.size() + 1) + "," + std::to_string(subjects.size() + 1) + "," +
                       std::to_string(rooms.size()) + "\r\n";
    for (const std::vector<std::string>& list : {classes, teachers, subjects, rooms})
      for (const std::string& line : list) text += line + "\r\n";
    // Options 7, 2, 3, 1, 4, 5, 6, 9, 8, 10, 11, 12.
    text += "20,4,1,20,2,2,1,100," + std::to_string(shape.maxTeacherPerDay) + ",4,5,1\r\n";
    return text;
  }

 private:
  void buildPlan(const CoupledSchoolShape& shape) {
    const BaseData& base = ws.base;
    std::mt19937 draw(shape.seed);
    std::vector<int> load(static_cast<size_t>(base.nTeachers()) + 1, 0);
    // A teacher with room for that many periods, drawn; the last resort is any teacher.
    // The teachers of a coupling are all different (besides, a teacher who is a member
    // twice counts twice a period in the placement's day count, but once in the recount
    // of "Plan optimieren").
    const auto teacherFor = [&](int periods, const std::string& coupling = {}) {
      const auto usable = [&](int t) {
        for (size_t m = 0; m < recordCount(coupling, CouplingMemberView::kSize); ++m)
          if (CouplingMemberView(coupling, m).teacher() == t) return false;
        return true;
      };
      for (int tries = 0; tries < 4 * kTeachers; ++tries) {
        const int t = 1 + static_cast<int>(draw() % kTeachers);
        if (usable(t) && load[static_cast<size_t>(t)] + periods <= shape.maxTeacherLoad) {
          load[static_cast<size_t>(t)] += periods;
          return t;
        }
      }
      for (int t = 1;; ++t)
        if (usable(t)) return t;
    };
    const auto subject = [&](const char* code) { return base.findSubject(code); };
    const std::pair<const char*, int> table[] = {{"D", 4},  {"M", 4},  {"E", 4},  {"F", 3},  {"BI", 2}, {"PH", 2},
                                                 {"CH", 2}, {"EK", 1}, {"GE", 2}, {"MU", 2}, {"KU", 2}};
    for (int g = 0; g < shape.grades; ++g) {
      const int first = 1 + 4 * g;
      for (int k = 0; k < 4; ++k) {
        for (const auto& [code, periods] : table) {
          const char* s = std::string(code) == "F" && k >= 2 ? "L" : code;
          ws.plan.assignments += makeAssignment(teacherFor(periods), first + k, subject(s), periods);
        }
        if (!shape.doubleCouplings) ws.plan.assignments += makeAssignment(teacherFor(3), first + k, subject("SP"), 3);
      }
      std::string religion;
      const char* groups[] = {"KR", "ER", "PL", "KR"};
      for (int k = 0; k < 4; ++k)
        religion += makeCouplingMember(teacherFor(2, religion), first + k, subject(groups[k]), ' ');
      ws.plan.couplings.push_back(religion);
      ws.plan.assignments += makeAssignment(0, 0, ws.plan.nCouplings(), 2);
      if (shape.doubleCouplings) {
        std::string sport;
        for (int k = 0; k < 4; ++k) sport += makeCouplingMember(teacherFor(3, sport), first + k, subject("SP"), ' ');
        ws.plan.couplings.push_back(sport);
        ws.plan.assignments += makeAssignment(0, 1, ws.plan.nCouplings(), 2);
        ws.plan.assignments += makeAssignment(0, 0, ws.plan.nCouplings(), 1);
      }
    }
  }
};

}  // namespace quort::test
