#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "data/base_data_format.h"
#include "data/plan_records.h"
#include "shell/application.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort::test {

// A school at the program's capacity: 100 classes, 99 teachers, 49 subjects, 100 rooms and
// about 2,700 weekly periods. Grades 5-10 have 14 classes each, grades 11-13 have 6, 5 and
// 5 tutor groups whose courses are coupled across the grade. The benchmark generates it,
// and its files describe the same school: the base data come from the lines of a .GD file
// as the loader reads them, so room counts and double periods are in the subject lines.

// Subject n (0-48) in the capacity school: code "A0" ... "E8". Every seventh needs one of
// nine special rooms (room count 9), every fifth is taught in double periods ("D"). A
// double-period subject without rooms names itself in the room field, which gives no room
// count: the kind is the fourth field, so the third cannot be left out.
inline std::string capacitySubjectLine(int n) {
  const std::string code{static_cast<char>('A' + n / 10), static_cast<char>('0' + n % 10)};
  const bool rooms = n % 7 == 3;
  const bool doubles = n % 5 == 4;
  std::string line = code + " Fach" + std::to_string(n + 1);
  if (rooms) line += " 9";
  if (doubles) line += (rooms ? "" : " " + code) + " D";
  return line;
}

// The text of the school's .GD file: five days of ten periods, afternoon from period 7,
// at most seven lessons a teacher and day (option 8), the other options at their defaults.
inline std::string capacitySchoolBaseText() {
  std::vector<std::string> classes;
  for (int grade = 5; grade <= 13; ++grade) {
    const int count = grade <= 10 ? 14 : (grade == 11 ? 6 : 5);
    for (int k = 0; k < count; ++k) classes.push_back(std::to_string(grade) + static_cast<char>('A' + k));
  }
  std::vector<std::string> teachers;
  for (int t = 0; t < 99; ++t) teachers.push_back({static_cast<char>('A' + t / 26), static_cast<char>('A' + t % 26)});
  std::vector<std::string> subjects;
  for (int s = 0; s < 49; ++s) subjects.push_back(capacitySubjectLine(s));
  std::vector<std::string> rooms;
  for (int r = 1; r <= 100; ++r) rooms.push_back("R" + std::to_string(r));
  const int days = 5;
  const int afternoonStart = 7;
  const int periodsPerDay = 10;
  // The sentinel teacher and subject count in the header but have no line.
  std::string text = std::to_string(256 * (6 - days) + 16 * afternoonStart + periodsPerDay) + "," +
                     std::to_string(classes.size()) + "," + std::to_string(teachers.size() + 1) + "," +
                     std::to_string(subjects.size() + 1) + "," + std::to_string(rooms.size()) + "\r\n";
  for (const std::vector<std::string>& list : {classes, teachers, subjects, rooms})
    for (const std::string& line : list) text += line + "\r\n";
  // Options 7, 2, 3, 1, 4, 5, 6, 9, 8, 10, 11, 12.
  text += "20,4,1,20,2,2,1,100,7,4,5,1\r\n";
  return text;
}

// The assignments and couplings: in grades 5-10 thirteen subjects with 30 periods a week,
// in grades 11-13 three subjects of three periods per tutor group and per grade seven
// coupled course blocks of three periods (one course per tutor group, each with a subject
// of its own; every third block in double periods). Teachers are taken in turn, up to 32
// periods each.
inline void buildCapacityPlan(Workspace& ws) {
  const BaseData& base = ws.base;
  std::vector<int> load(100, 0);
  int nextTeacher = 1;
  const auto teacherFor = [&](int periods) {
    for (int tries = 0; tries < 99; ++tries) {
      const int t = nextTeacher;
      nextTeacher = nextTeacher % 99 + 1;
      if (load[static_cast<size_t>(t)] + periods <= 32) {
        load[static_cast<size_t>(t)] += periods;
        return t;
      }
    }
    return 1;
  };
  const int lowerSubjects[13][2] = {{1, 4}, {2, 4}, {3, 4},  {4, 3},  {5, 2},  {6, 2}, {7, 2},
                                    {8, 2}, {9, 2}, {10, 2}, {11, 1}, {12, 1}, {15, 1}};
  for (int c = 1; c <= base.nClasses(); ++c) {
    const int grade = std::stoi(base.classes[static_cast<size_t>(c)].code);
    if (grade <= 10) {
      for (const auto& [subject, periods] : lowerSubjects)
        ws.plan.assignments += makeAssignment(teacherFor(periods), c, subject, periods);
    } else {
      for (const int subject : {1, 2, 3}) ws.plan.assignments += makeAssignment(teacherFor(3), c, subject, 3);
    }
  }
  ws.plan.couplings.assign(1, std::string());
  int firstClass = 85;
  for (int grade = 11; grade <= 13; ++grade) {
    const int count = grade == 11 ? 6 : 5;
    for (int block = 0; block < 7; ++block) {
      std::string members;
      for (int k = 0; k < count; ++k) {
        const int subject = 16 + (block * 5 + k) % 33;
        members += makeCouplingMember(teacherFor(3), firstClass + k, subject, ' ');
      }
      ws.plan.couplings.push_back(members);
      ws.plan.assignments += makeAssignment(0, block % 3 == 0 ? 1 : 0, ws.plan.nCouplings(), 3);
    }
    firstClass += count;
  }
}

// The capacity school in ws, with an empty timetable.
inline void buildCapacitySchool(Workspace& ws) {
  ws.base = BaseData{};
  if (parseBaseDataFile(capacitySchoolBaseText(), ws.base).outcome != ParseOutcome::Ok)
    throw std::runtime_error("capacity school: the base data do not load");
  ws.plan.reset(ws.base);
  buildCapacityPlan(ws);
}

// Saves the school in ws like "Sichern" under a new name (the plan NAME.PL, and with it the
// base data NAME.GD, in the current directory) and opens both into other like "Öffnen".
inline bool saveAndReopen(Workspace& ws, ScriptedUi& ui, Workspace& other, ScriptedUi& otherUi,
                          const std::string& name) {
  Application saving(ws, ui);
  ui.queueAnswerFirst(name);
  if (saving.save() != 0) return false;
  Application opening(other, otherUi);
  return opening.loadBase(name + ".GD") == LoadStatus::Loaded && opening.openPlanByName(name + ".PL");
}

}  // namespace quort::test
