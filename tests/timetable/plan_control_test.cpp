#include "timetable/plan_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "timetable/demo_school.h"

namespace quort {

namespace {

// The demo school with an empty timetable into which a test writes the lessons of one
// teacher directly: the control only reads the teacher and class grids.
struct ControlBench : test::DemoSchool {
  int teacherIndex = teacher("MR");

  ControlBench() { ws.plan.timetable.clear(); }

  void put(const std::string& c, const std::string& s, int day, int slot, int lock = 0) {
    const int k = schoolClass(c);
    ws.plan.timetable.teacher.at(teacherIndex, slot, day) = static_cast<uint16_t>(k * 256 + lock);
    ws.plan.timetable.lessonWord.at(k, slot, day) = static_cast<uint16_t>(teacherIndex * 256 + subject(s));
  }
  std::vector<std::string> report(const std::string& excluded = "") {
    return planControlLines(ws, teacherSelection(ws, {teacherIndex}), excluded);
  }
};

}  // namespace

// Periods 1, 2 and 6 with period 4 left out: two free periods, and the lesson after the
// long gap is listed.
TEST(PlanControl, FreePeriodsSkipExcludedOnesAndLongGapsAreListed) {
  ControlBench bench;
  bench.put("5A", "D", 2, 1);
  bench.put("5B", "D", 2, 2);
  bench.put("5C", "D", 2, 6);
  EXPECT_EQ(bench.report("4"), (std::vector<std::string>{">> MR <<      Freistunden: 2",
                                                         " Mehrfachl\xFC"
                                                         "cken:   DI6"}));
  EXPECT_EQ(bench.report(" 3, 5 ,4").front(), ">> MR <<      Freistunden: 0");
}

// One class and subject in periods 2 and 4 is a split lesson; its third lesson that day is
// a repeated one as well.
TEST(PlanControl, SplitAndRepeatedLessonsOfOneClassAndSubject) {
  ControlBench bench;
  bench.put("5A", "D", 3, 2);
  bench.put("5A", "D", 3, 4);
  bench.put("5A", "D", 3, 5);
  bench.put("5A", "M", 3, 6);
  EXPECT_EQ(bench.report(), (std::vector<std::string>{">> MR <<      Freistunden: 1",
                                                      " Stundenl\xFC"
                                                      "cken:    MI4",
                                                      " Mehrfachstunden:  MI5"}));
}

// Six lessons a day are fine, seven are listed with their count; locked slots are listed.
TEST(PlanControl, HeavyDaysAndLockCollisions) {
  ControlBench bench;
  const char* classes[] = {"5A", "5B", "5C", "5D", "6A", "6B", "6C"};
  for (int p = 1; p <= 6; ++p) bench.put(classes[p - 1], "D", 1, p);
  for (int p = 1; p <= 7; ++p) bench.put(classes[p - 1], "D", 5, p, p == 3 ? 2 : 0);
  EXPECT_EQ(bench.report(), (std::vector<std::string>{">> MR <<      Freistunden: 0", " Hohe Stundenzahl: FR 7",
                                                      " Sperrenkollision: FR3"}));
}

// A teacher without findings still gets the first line; indexes that name no teacher and
// a selection of another kind give no report.
TEST(PlanControl, EmptyWeekAndInvalidSelections) {
  ControlBench bench;
  EXPECT_EQ(bench.report(), (std::vector<std::string>{">> MR <<      Freistunden: 0"}));
  const std::string bogus = std::string("l") + char(0) + char(bench.ws.base.nTeachers()) + char(200) + "|";
  EXPECT_TRUE(planControlLines(bench.ws, bogus, "").empty());
  EXPECT_TRUE(planControlLines(bench.ws, "k\x01|", "").empty());
  EXPECT_EQ(planControlLines(bench.ws, teacherSelection(bench.ws, {}), "").size(),
            static_cast<size_t>(bench.ws.base.nTeachers() - 1));
}

// With week alternation the A and B weeks are checked apart, in the periods the user counts:
// slots 1 and 5 are periods 1 and 3 of week A, slot 2 is period 1 of week B.
TEST(PlanControl, WeekAlternationChecksEachWeekApart) {
  ControlBench bench;
  bench.ws.base.weekAlternation = true;
  bench.put("5A", "D", 1, 1);
  bench.put("5A", "D", 1, 5);
  bench.put("5B", "M", 1, 2);
  EXPECT_EQ(bench.report(), (std::vector<std::string>{">> MR A <<      Freistunden: 1",
                                                      " Stundenl\xFC"
                                                      "cken:    MO3",
                                                      ">> MR B <<      Freistunden: 0"}));
}

}  // namespace quort
