#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "data/plan_grids.h"
#include "demo_school.h"
#include "lesson_periods.h"
#include "timetable/lesson_removal.h"
#include "timetable/manual_placement.h"
#include "timetable/room_setting.h"

namespace quort {
namespace {

// Answers every question at random: the user who sometimes agrees and sometimes not.
class RandomUi : public ScriptedUi {
 public:
  explicit RandomUi(std::mt19937& random) : m_random(random) {}
  using Ui::message;
  void message(const std::string&, const MessageStyle&) override {}
  bool askYesNo(const std::string&, const MessageStyle&) override { return m_alwaysYes || coin(); }
  ChoiceOutcome choiceBox(const ChoiceBoxRequest& request) override {
    return {static_cast<int>(m_random() % (request.items.size() + 1)), {}};
  }
  void setAlwaysYes(bool yes) { m_alwaysYes = yes; }

 private:
  bool coin() { return (m_random() & 1) != 0; }
  std::mt19937& m_random;
  bool m_alwaysYes = false;
};

using test::periodsPerLesson;

class PlacementProperty : public ::testing::TestWithParam<unsigned> {
 protected:
  const test::InTempDirectory m_here;
};

// Thousands of random placements, forced placements, removals, room changes and undos
// on the demo school: the grids always agree, and no lesson gains or loses a period.
TEST_P(PlacementProperty, GridsAgreeAndPeriodsAreConserved) {
  const unsigned seed = GetParam();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  test::DemoSchool demo;
  RandomUi ui(random);
  Workspace& ws = demo.ws;
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)) + 1; };
  const auto slot = [&] { return Slot{pick(ws.base.days), pick(ws.base.periodsPerDay)}; };
  for (int lock = 0; lock < 20; ++lock) {
    const Slot at = slot();
    ws.plan.timetable.lessonWord.at(pick(ws.base.nClasses()), at.period, at.day) = classLockWord(ws.base);
  }
  recomputeDerivedGrids(ws.base, ws.plan);
  const auto initial = periodsPerLesson(ws);
  int mostPlaced = 0;

  for (int step = 0; step < 1500; ++step) {
    const int what = pick(100);
    ws.shell.workMode = pick(3) - 1;
    ui.setAlwaysYes(what <= 20);
    if (what <= 55) {
      const size_t entries = recordCount(ws.plan.assignments, AssignmentView::kSize);
      if (entries > 0) placeAssignment(ws, ui, static_cast<size_t>(pick(static_cast<int>(entries)) - 1), slot());
    } else if (what <= 80) {
      removeLesson(ws, ui, slot(), pick(ws.base.nClasses()), pick(4) - 1, ws.plan.assignments);
    } else if (what <= 95) {
      setRoom(ws, ui, {pick(ws.base.nRooms() + 1) - 1, pick(ws.base.nClasses()), slot()});
    } else if (what <= 98) {
      BackupPlanRecords(ws, ui);
    } else {
      RestorePlanRecords(ws);
    }
    const auto differences = checkPlanConsistency(ws);
    ASSERT_TRUE(differences.empty()) << "step " << step << ": " << differences.front();
    ASSERT_EQ(periodsPerLesson(ws), initial) << "step " << step;
    int placed = 0;
    for (int c = 1; c <= ws.base.nClasses(); ++c) placed += ws.plan.lessonsPerClass[static_cast<size_t>(c)];
    mostPlaced = std::max(mostPlaced, placed);
  }
  EXPECT_GT(mostPlaced, 300);  // the plan filled up on the way
}

INSTANTIATE_TEST_SUITE_P(Seeds, PlacementProperty, ::testing::Values(1U, 2U, 3U, 20240611U));

}  // namespace
}  // namespace quort
