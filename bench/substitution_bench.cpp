// A substitution day on the school at the program's capacity (tests/support/capacity_school.h),
// generated first: ten teachers absent all day, the evaluation and the automatic run as the
// user starts them, and the candidate list of one open lesson as the "Vertretung" dialog
// builds it. The day files and the log are written to a scratch directory on disk.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "data/plan_records.h"
#include "substitution/candidates.h"
#include "substitution/day_plan.h"
#include "substitution/day_records.h"
#include "support/capacity_school.h"
#include "timetable/generation_filter.h"
#include "timetable/plan_generator.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace {

using namespace quort;

constexpr const char* kMonday = "03.02.2025";

struct DayDirectory {
  DayDirectory() : previous(std::filesystem::current_path()) {
    dir = std::filesystem::temp_directory_path() / "quort-substitution-bench";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
  }
  ~DayDirectory() {
    std::filesystem::current_path(previous);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  void clear() const {
    for (const char* name : {"sMO.x", "sMO.xb", "tMO.x", "tMO.xb", "prot.x", "prot.bx", "termin.x", "termin.bx"}) {
      std::error_code ec;
      std::filesystem::remove(dir / name, ec);
    }
  }
  std::filesystem::path previous;
  std::filesystem::path dir;
};

// The generated capacity school, built once for every benchmark of this file.
const Workspace& generatedSchool() {
  static const std::unique_ptr<Workspace> school = [] {
    auto ws = std::make_unique<Workspace>();
    ScriptedUi ui;
    test::buildCapacitySchool(*ws);
    GenerationFilter filter;
    filter.couplings = true;
    generateWorkList(*ws, ui, buildWorkList(*ws, filter), GenerationSwitches{true, true, false});
    return ws;
  }();
  return *school;
}

// A fresh workspace on the generated plan (a workspace itself is not copied).
std::unique_ptr<Workspace> copyOfSchool() {
  const Workspace& school = generatedSchool();
  auto ws = std::make_unique<Workspace>();
  ws->base = school.base;
  ws->plan = school.plan;
  ws->placement = school.placement;
  return ws;
}

// Ten teachers with lessons on Monday, absent the whole day.
void enterAbsences(Workspace& ws) {
  ws.substitution.clockDate = kMonday;
  ws.dialogs.currentDate = kMonday;
  int absent = 0;
  for (int t = 1; t < ws.base.nTeachers() && absent < 10; t += 7) {
    ws.substitution.absences.push_back(ws.base.teachers[static_cast<size_t>(t)].code.substr(0, 2) + "(Krank)");
    ++absent;
  }
}

void evaluateAndSubstitute(benchmark::State& state) {
  const DayDirectory scratch;
  for (auto _ : state) {
    state.PauseTiming();
    scratch.clear();
    auto ws = copyOfSchool();
    ScriptedUi ui;
    enterAbsences(*ws);
    state.ResumeTiming();
    evaluateDay(*ws, ui, kMonday);
    const size_t open = recordCount(ws->plan.openLessons, OpenLessonView::kSize);
    const int set = autoSubstitute(*ws, ui, {kMonday, false, false, false, false});
    state.PauseTiming();
    state.counters["openLessons"] = static_cast<double>(open);
    state.counters["set"] = set;
    state.counters["stillOpen"] = static_cast<double>(recordCount(ws->plan.openLessons, OpenLessonView::kSize));
    ws.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(evaluateAndSubstitute)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

void candidateListOfOneLesson(benchmark::State& state) {
  const DayDirectory scratch;
  auto ws = copyOfSchool();
  ScriptedUi ui;
  enterAbsences(*ws);
  evaluateDay(*ws, ui, kMonday);
  if (ws->plan.openLessons.empty()) return state.SkipWithError("no open lesson");
  const OpenLessonRecord open = openLessonAt(ws->plan.openLessons, 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(candidateList(*ws, open.day, open.period, open.schoolClass, open.subject));
  }
}
BENCHMARK(candidateListOfOneLesson)->Unit(benchmark::kMicrosecond);

}  // namespace
