#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "data/plan_grids.h"
#include "demo_school.h"
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

// An ordinary lesson is known by teacher, class and subject; a coupled one by its
// coupling alone, since a lesson kind cannot be told from the plan.
using LessonKey = uint32_t;
LessonKey ordinaryKey(int t, int c, int s) { return static_cast<LessonKey>(t << 16 | c << 8 | s); }
LessonKey couplingKey(int k) { return static_cast<LessonKey>(k); }

// Placed periods plus periods still to place, per lesson.
std::map<LessonKey, int> periodsPerLesson(const Workspace& ws) {
  std::map<LessonKey, int> periods;
  const std::string& list = ws.plan.assignments;
  for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
    const AssignmentView e(list, i);
    const LessonKey key =
        e.isCoupling() ? couplingKey(e.couplingNumber()) : ordinaryKey(e.teacher(), e.schoolClass(), e.subject());
    periods[key] += e.periods();
  }
  const TimetableGrids& grids = ws.plan.timetable;
  for (int day = 1; day <= kGridDays; ++day) {
    for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
      std::vector<bool> couplingSeen(static_cast<size_t>(ws.plan.nCouplings()) + 1, false);
      for (int c = 1; c <= ws.base.nClasses(); ++c) {
        const uint16_t lesson = grids.lessonWord.at(c, p, day);
        const int k = RoomWord::coupling(grids.roomWord.at(c, p, day));
        if (lesson == 0 || lesson == classLockWord(ws.base)) continue;
        if (k == 0) {
          ++periods[ordinaryKey(LessonWord::teacher(lesson), c, LessonWord::subject(lesson))];
        } else if (!couplingSeen[static_cast<size_t>(k)]) {
          couplingSeen[static_cast<size_t>(k)] = true;
          ++periods[couplingKey(k)];
        }
      }
    }
  }
  std::erase_if(periods, [](const auto& entry) { return entry.second == 0; });
  return periods;
}

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
