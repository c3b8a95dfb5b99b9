#pragma once

#include <filesystem>
#include <string>

#include "data/plan_records.h"
#include "shell/application.h"
#include "support/temp_dir.h"
#include "timetable/lesson_grid.h"
#include "workspace/plan_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort::test {

// The demo school and its plan as "Öffnen" loads them; questions take queued answers.
struct DemoSchool {
  Workspace ws;
  ScriptedUi ui;
  Application app{ws, ui};

  DemoSchool() {
    app.loadBase(demoFile());
    app.openPlanByName(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.PL");
  }

  int schoolClass(const std::string& code) const { return ws.base.findClass(code); }
  int teacher(const std::string& code) const { return ws.base.findTeacher(code); }
  int subject(const std::string& code) const { return ws.base.findSubject(code); }
  int room(const std::string& code) const { return ws.base.findRoom(code); }

  // The assignment entry of teacher, subject and class; empty when there is none.
  std::string entry(const std::string& t, const std::string& s, const std::string& c) const {
    const std::string& list = ws.plan.assignments;
    for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
      const AssignmentView e(list, i);
      if (e.teacher() == teacher(t) && e.subject() == subject(s) && e.schoolClass() == schoolClass(c)) {
        return list.substr(i * AssignmentView::kSize, AssignmentView::kSize);
      }
    }
    return {};
  }
  // The periods still to place under that key.
  int periodsToPlace(const std::string& t, const std::string& s, const std::string& c) const {
    const std::string e = entry(t, s, c);
    return e.empty() ? 0 : AssignmentView(e, 0).periods();
  }
  // The coupling entry of that coupling and lesson kind.
  std::string couplingEntry(int coupling, int kind) const {
    const std::string& list = ws.plan.assignments;
    for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
      const AssignmentView e(list, i);
      if (e.isCoupling() && e.couplingNumber() == coupling && e.lessonKind() == kind) {
        return list.substr(i * AssignmentView::kSize, AssignmentView::kSize);
      }
    }
    return {};
  }

  uint16_t lesson(const std::string& c, Slot slot) const {
    return ws.plan.timetable.lessonWord.at(schoolClass(c), slot.period, slot.day);
  }
  int roomOf(const std::string& c, Slot slot) const {
    return ws.plan.timetable.roomWord.at(schoolClass(c), slot.period, slot.day) & 127;
  }
  bool consistent() const { return checkPlanConsistency(ws).empty(); }
};

}  // namespace quort::test
