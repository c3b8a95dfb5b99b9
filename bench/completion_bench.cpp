// "Autom.Setzen" and then "Plan vervollständigen" on feasible schools: drawn from a complete
// timetable (tests/support/feasible_school.h), so every period can be placed. A demo-sized
// school (24 classes), six at the program's capacity (100 classes, 99 teachers), and the
// demo school itself. Counters: periods open after the generator and after the completion,
// the time of each (the completion's with its gap pass), teacher gaps after each, and the
// moves of the completion's search. Every school here is feasible: openAfterCompl above 0
// shows where the search falls short.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "shell/application.h"
#include "support/feasible_school.h"
#include "support/temp_dir.h"
#include "timetable/generation_filter.h"
#include "timetable/plan_completion.h"
#include "timetable/plan_generator.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace {

using namespace quort;

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The generator with its dialog's defaults, couplings taken ("K1"), then the completion.
void generateAndComplete(benchmark::State& state, Workspace& ws) {
  ScriptedUi ui;
  GenerationFilter filter;
  filter.couplings = true;
  state.counters["periods"] = openPeriodCount(ws);
  const auto start = std::chrono::steady_clock::now();
  generateWorkList(ws, ui, buildWorkList(ws, filter), GenerationSwitches{true, true, false});
  state.counters["genSeconds"] = secondsSince(start);
  state.counters["openAfterGen"] = openPeriodCount(ws);
  state.counters["gapsAfterGen"] = teacherGapCount(ws);
  CompletionSettings settings;
  settings.filter = filter;
  settings.shiftCouplings = true;
  const auto completing = std::chrono::steady_clock::now();
  const CompletionReport report = completePlan(ws, ui, settings);
  state.counters["complSeconds"] = secondsSince(completing);
  state.counters["openAfterCompl"] = report.openAfter;
  state.counters["gapsAfterCompl"] = report.gapsAfter;
  state.counters["moves"] = static_cast<double>(report.iterations);
}

void completeFeasible(benchmark::State& state, test::FeasibleShape shape) {
  const test::InTempDirectory scratch;  // safety copies go there
  for (auto _ : state) {
    state.PauseTiming();
    test::FeasibleSchool school(shape);
    state.counters["classes"] = school.classes();
    state.counters["fill"] =
        static_cast<double>(school.solutionCells) / (school.classes() * school.days * school.periods);
    state.ResumeTiming();
    generateAndComplete(state, school.ws);
  }
}

void completeFeasibleDemoSized(benchmark::State& state) {
  test::FeasibleShape shape;
  shape.seed = static_cast<uint32_t>(state.range(0));
  shape.grades = 6;
  shape.classesPerGrade = 4;
  completeFeasible(state, shape);
}
BENCHMARK(completeFeasibleDemoSized)->DenseRange(1, 3)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void completeFeasibleCapacity(benchmark::State& state) {
  test::FeasibleShape shape;
  shape.seed = static_cast<uint32_t>(state.range(0));
  shape.grades = 10;
  shape.classesPerGrade = 10;
  shape.coupledGrades = 3;
  shape.periodsPerDay = 8;
  shape.maxPerDay = 8;
  shape.teachers = 99;
  completeFeasible(state, shape);
}
BENCHMARK(completeFeasibleCapacity)->DenseRange(1, 6)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void completeDemoSchool(benchmark::State& state) {
  const test::InTempDirectory scratch;  // safety copies go there
  for (auto _ : state) {
    state.PauseTiming();
    Workspace ws;
    ScriptedUi ui;
    Application app(ws, ui);
    app.loadBase(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD");
    app.openPlanByName(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.PL");
    state.ResumeTiming();
    generateAndComplete(state, ws);
  }
}
BENCHMARK(completeDemoSchool)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
