#include <gtest/gtest.h>

#include <random>

#include "editors/entity_list_editing.h"
#include "editors/plan_verification.h"
#include "editors/schedule_editing.h"
#include "editors/tool_panels.h"
#include "timetable/demo_school.h"
#include "timetable/manual_placement.h"

namespace quort {
namespace {

// The first cell in which two sets of grids differ, as "grid entity period day: a b".
std::string firstDifference(const TimetableGrids& a, const TimetableGrids& b) {
  const std::pair<const char*, const Grid TimetableGrids::*> grids[] = {{"lessonWord", &TimetableGrids::lessonWord},
                                                                        {"roomWord", &TimetableGrids::roomWord},
                                                                        {"teacher", &TimetableGrids::teacher},
                                                                        {"room", &TimetableGrids::room},
                                                                        {"subject", &TimetableGrids::subject}};
  for (const auto& [name, member] : grids) {
    const Grid& x = a.*member;
    const Grid& y = b.*member;
    if (x.entities() != y.entities() || x.periods() != y.periods()) return std::string(name) + ": size";
    for (int e = 0; e <= x.entities(); ++e) {
      for (int p = 0; p <= x.periods(); ++p) {
        for (int d = 0; d <= kGridDays; ++d) {
          if (x.at(e, p, d) == y.at(e, p, d)) continue;
          return std::string(name) + " " + std::to_string(e) + " " + std::to_string(p) + " " + std::to_string(d) +
                 ": " + std::to_string(x.at(e, p, d)) + " " + std::to_string(y.at(e, p, d));
        }
      }
    }
  }
  return {};
}

// Whatever the user answers, the questions of the editor get Yes.
class YesUi : public ScriptedUi {
 public:
  using Ui::message;
  void message(const std::string&, const MessageStyle&) override {}
  bool askYesNo(const std::string& text, const MessageStyle&) override { return text.starts_with("Planverlust"); }
};

class BaseDataProperty : public ::testing::TestWithParam<unsigned> {
 protected:
  int pick(int n) { return n <= 0 ? 0 : static_cast<int>(m_random() % static_cast<unsigned>(n)) + 1; }
  std::string newCode(int width) {
    std::string code;
    for (int i = 0; i < width; ++i) code += static_cast<char>('A' + pick(26) - 1);
    return code;
  }
  EntityKind anyKind() { return static_cast<EntityKind>(pick(4) - 1); }

  void fillPlan() {
    for (int i = 0; i < 600; ++i) {
      const int entries = static_cast<int>(ws.plan.assignments.size() / 4);
      placeAssignment(ws, ui, static_cast<size_t>(pick(entries) - 1),
                      {pick(ws.base.days), pick(ws.base.periodsPerDay)});
    }
  }

  void panelClick() {
    ws.shell.currentClass = pick(ws.base.nClasses());
    ws.shell.currentTeacher = pick(ws.base.nTeachers() - 1);
    ws.shell.view.currentSubject = pick(ws.base.nSubjects() - 1);
    const ToolPanelKind kinds[] = {ToolPanelKind::TeacherLock, ToolPanelKind::SubjectLock, ToolPanelKind::ClassLock,
                                   ToolPanelKind::Fix, ToolPanelKind::Index};
    const ToolPanelKind kind = kinds[pick(5) - 1];
    if (kind == ToolPanelKind::ClassLock) {
      openClassLockPanel(ws);
    } else if (kind == ToolPanelKind::Fix) {
      openFixPanel(ws);
    } else if (kind == ToolPanelKind::Index) {
      openIndexPanel(ws);
    } else {
      openLockPanel(ws, kind);
    }
    setLockValue(ws, ui, pick(4) - 1);
    ws.shell.currentDay = pick(ws.base.days);
    ws.shell.currentPeriod = pick(ws.base.periodsPerDay);
    toolPanelSlotClicked(ws, ui);
  }

  void editStep() {
    const EntityKind kind = anyKind();
    const int width = kind == EntityKind::Class || kind == EntityKind::Room ? 3 : 2;
    const int count = editableCount(ws.base, kind);
    switch (pick(8)) {
      case 1:
        addEntity(ws, ui, kind, {newCode(width), "x"});
        break;
      case 2:
        insertEntity(ws, ui, kind, pick(count), {newCode(width)});
        break;
      case 3:
        deleteEntity(ws, ui, kind, pick(count));
        break;
      case 4:
        sortEntities(ws, ui, kind);
        break;
      case 5:
        replaceEntity(ws, ui, kind, pick(count), {newCode(width), "y"});
        break;
      case 6:
        toggleRoomLock(ws, ui, pick(ws.base.nRooms()));
        break;
      case 7:
        applyDaysAndPeriods(ws, ui, {std::to_string(pick(3) + 3), std::to_string(pick(5) + 5), "6", false});
        break;
      default:
        panelClick();
        break;
    }
  }

  test::InTempDirectory m_here;
  test::DemoSchool demo;
  Workspace& ws = demo.ws;
  YesUi ui;
  std::mt19937 m_random{GetParam()};
};

// Random edits of the lists, the week and the marks on a filled demo plan: the plan
// always names what the base data hold, and a save reloads as it was in memory.
TEST_P(BaseDataProperty, PlanStaysSoundAndReloadsEqual) {
  SCOPED_TRACE("seed " + std::to_string(GetParam()));
  fillPlan();
  ASSERT_GT(ws.plan.lessonsPerClass[1] + ws.plan.lessonsPerClass[2], 0);
  for (int step = 0; step < 120; ++step) {
    editStep();
    const auto findings = verifyPlan(ws);
    ASSERT_TRUE(findings.empty()) << "step " << step << ": " << findings.front();
  }
  ui.queueAnswer("PROP");
  ASSERT_EQ(SavePlan(ws, ui, SaveKind::Normal), 0);
  Workspace loaded;
  ScriptedUi quiet;
  Application app(loaded, quiet);
  ASSERT_EQ(app.loadBase("PROP"), LoadStatus::Loaded);
  ASSERT_TRUE(app.openPlanByName("PROP.PL"));
  // Deleted teachers and subjects come back as the file's placeholders.
  const auto sameLines = [](const auto& memory, const auto& file) {
    ASSERT_EQ(memory.size(), file.size());
    for (size_t i = 1; i < memory.size(); ++i) {
      if (memory[i].line.starts_with("*") && i + 1 < memory.size()) {
        EXPECT_TRUE(file[i].line.starts_with("~")) << i;
      } else {
        EXPECT_EQ(memory[i].line, file[i].line) << i;
      }
    }
  };
  sameLines(ws.base.classes, loaded.base.classes);
  sameLines(ws.base.teachers, loaded.base.teachers);
  sameLines(ws.base.subjects, loaded.base.subjects);
  sameLines(ws.base.rooms, loaded.base.rooms);
  EXPECT_EQ(loaded.base.days, ws.base.days);
  EXPECT_EQ(loaded.base.periodsPerDay, ws.base.periodsPerDay);
  EXPECT_EQ(loaded.plan.assignments, ws.plan.assignments + ws.plan.assignmentBuffer);
  EXPECT_EQ(loaded.plan.couplings, ws.plan.couplings);
  EXPECT_EQ(loaded.plan.blocks, ws.plan.blocks);
  EXPECT_EQ(firstDifference(loaded.plan.timetable, ws.plan.timetable), "");
  EXPECT_TRUE(verifyPlan(loaded).empty());
}

INSTANTIATE_TEST_SUITE_P(Seeds, BaseDataProperty, ::testing::Values(1U, 7U, 2024U, 31337U));

}  // namespace
}  // namespace quort
