// The whole automatic generation: the demo school and a school at the program's capacity
// (100 classes, 99 teachers, 49 subjects, 100 rooms, about 2,700 weekly periods with
// upper-school couplings; tests/support/capacity_school.h). One run each after a fresh
// start, as the user sees it. The capacity school runs twice: as built, and saved to files
// and opened again, which must give the same figures.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/plan_records.h"
#include "shell/application.h"
#include "support/capacity_school.h"
#include "support/temp_dir.h"
#include "timetable/generation_filter.h"
#include "timetable/lesson_grid.h"
#include "timetable/plan_generator.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace {

using namespace quort;

int openPeriods(const Workspace& ws) {
  int periods = 0;
  for (size_t i = 0; i < recordCount(ws.plan.assignments, 4); ++i)
    periods += AssignmentView(ws.plan.assignments, i).periods();
  return periods;
}

// Free periods between a teacher's first and last lesson of a day, over all teachers.
int teacherGaps(const Workspace& ws) {
  int gaps = 0;
  for (int t = 1; t < ws.base.nTeachers(); ++t) {
    for (int day = 1; day <= kGridDays; ++day) {
      int first = 0;
      int last = 0;
      int lessons = 0;
      for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
        if (ws.plan.timetable.teacher.at(t, p, day) < 256) continue;
        if (first == 0) first = p;
        last = p;
        ++lessons;
      }
      if (first != 0) gaps += last - first + 1 - lessons;
    }
  }
  return gaps;
}

// Placed periods: a coupled period once, however many classes it has.
int placedPeriods(const Workspace& ws) {
  int periods = 0;
  for (int day = 1; day <= kGridDays; ++day) {
    for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
      std::vector<bool> seen(static_cast<size_t>(ws.plan.nCouplings()) + 1, false);
      for (int c = 1; c <= ws.base.nClasses(); ++c) {
        const uint16_t lesson = ws.plan.timetable.lessonWord.at(c, p, day);
        const int k = RoomWord::coupling(ws.plan.timetable.roomWord.at(c, p, day));
        if (lesson == 0 || lesson == classLockWord(ws.base)) continue;
        if (k > 0 && k < static_cast<int>(seen.size())) {
          if (seen[static_cast<size_t>(k)]) continue;
          seen[static_cast<size_t>(k)] = true;
        }
        ++periods;
      }
    }
  }
  return periods;
}

// Teacher days with more lessons than option 8 allows.
int daysOverLimit(const Workspace& ws) {
  int days = 0;
  for (int t = 1; t < ws.base.nTeachers(); ++t) {
    for (int day = 1; day <= kGridDays; ++day) {
      int lessons = 0;
      for (int p = 1; p <= ws.base.periodsPerDay; ++p) lessons += ws.plan.timetable.teacher.at(t, p, day) >= 256;
      days += lessons > ws.base.planOptions.maxTeacherLessonsPerDay;
    }
  }
  return days;
}

// placed and unplaced count periods (placed from the plan, unplaced from the assignments);
// lost is what went missing between the two (0 unless the generator loses periods).
void runGeneration(benchmark::State& state, Workspace& ws, Ui& ui) {
  GenerationFilter filter;
  filter.couplings = true;
  const int total = placedPeriods(ws) + openPeriods(ws);
  const std::string workList = buildWorkList(ws, filter);
  const int attempts = generateWorkList(ws, ui, workList, GenerationSwitches{true, true, false});
  state.counters["attempts"] = attempts;
  state.counters["placed"] = placedPeriods(ws);
  state.counters["unplaced"] = openPeriods(ws);
  state.counters["lost"] = total - placedPeriods(ws) - openPeriods(ws);
  state.counters["teacherGaps"] = teacherGaps(ws);
  state.counters["daysOverLimit"] = daysOverLimit(ws);
}

void generateDemoSchool(benchmark::State& state) {
  const test::InTempDirectory scratch;  // safety copies go there
  for (auto _ : state) {
    state.PauseTiming();
    Workspace ws;
    ScriptedUi ui;
    Application app(ws, ui);
    app.loadBase(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD");
    app.openPlanByName(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.PL");
    state.ResumeTiming();
    runGeneration(state, ws, ui);
  }
}
BENCHMARK(generateDemoSchool)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void generateCapacitySchool(benchmark::State& state) {
  const test::InTempDirectory scratch;  // safety copies go there
  for (auto _ : state) {
    state.PauseTiming();
    Workspace ws;
    ScriptedUi ui;
    test::buildCapacitySchool(ws);
    state.ResumeTiming();
    runGeneration(state, ws, ui);
  }
}
BENCHMARK(generateCapacitySchool)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void generateCapacitySchoolFromFiles(benchmark::State& state) {
  const test::InTempDirectory scratch;  // safety copies go there
  for (auto _ : state) {
    state.PauseTiming();
    Workspace built;
    ScriptedUi builtUi;
    test::buildCapacitySchool(built);
    Workspace ws;
    ScriptedUi ui;
    if (!test::saveAndReopen(built, builtUi, ws, ui, "CAPAZ")) state.SkipWithError("saving or opening failed");
    state.ResumeTiming();
    runGeneration(state, ws, ui);
  }
}
BENCHMARK(generateCapacitySchoolFromFiles)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
