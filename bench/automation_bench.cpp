// Block building and room distribution at their worst sizes: the enumeration over 100
// mutually compatible couplings, which runs into the 30,000-byte limit of the candidate
// list, and the room distribution of the capacity school (tests/support/capacity_school.h)
// right after its generation.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "support/capacity_school.h"
#include "timetable/coupling_analysis.h"
#include "timetable/generation_filter.h"
#include "timetable/plan_generator.h"
#include "timetable/room_distribution.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace {

using namespace quort;

CouplingAnalysis compatibleCouplings(int n) {
  CouplingAnalysis analysis;
  analysis.nCouplings = n;
  analysis.selected.assign(static_cast<size_t>(n) + 1, true);
  analysis.compatible.assign(static_cast<size_t>(n) + 1, CouplingAnalysis::CouplingSet().set());
  analysis.capacity.assign(2, 0);
  analysis.roomUse.assign(static_cast<size_t>(n) + 1, std::vector<int>(2, 0));
  return analysis;
}

void enumerateCompatibleCouplings(benchmark::State& state) {
  const CouplingAnalysis analysis = compatibleCouplings(100);
  for (auto _ : state) {
    const CandidateList list = enumerateBlocks(analysis, EnumerationLimits{});
    state.counters["bytes"] = static_cast<double>(list.bytes.size());
    state.counters["incomplete"] = list.incomplete ? 1 : 0;
    benchmark::DoNotOptimize(list.bytes.data());
  }
}
BENCHMARK(enumerateCompatibleCouplings)->Unit(benchmark::kMillisecond);

void distributeRoomsOfCapacitySchool(benchmark::State& state) {
  Workspace ws;
  ScriptedUi ui;
  test::buildCapacitySchool(ws);
  GenerationFilter filter;
  filter.couplings = true;
  generateWorkList(ws, ui, buildWorkList(ws, filter), GenerationSwitches{true, true, false});
  const TimetableGrids generated = ws.plan.timetable;
  for (auto _ : state) {
    state.PauseTiming();
    ws.plan.timetable = generated;
    state.ResumeTiming();
    state.counters["roomsGiven"] = runRoomPhases(ws, allClasses(ws));
  }
}
BENCHMARK(distributeRoomsOfCapacitySchool)->Unit(benchmark::kMillisecond);

}  // namespace
