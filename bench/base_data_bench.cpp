// Loading and writing base data: the planner does this at every open and save.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "data/base_data_format.h"

namespace {

std::string demoText() {
  std::ifstream in(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void parseDemo(benchmark::State& state) {
  const std::string text = demoText();
  for (auto _ : state) {
    quort::BaseData base;
    benchmark::DoNotOptimize(quort::parseBaseDataFile(text, base));
  }
}
BENCHMARK(parseDemo);

void formatDemo(benchmark::State& state) {
  quort::BaseData base;
  quort::parseBaseDataFile(demoText(), base);
  for (auto _ : state) benchmark::DoNotOptimize(quort::formatBaseDataFile(base));
}
BENCHMARK(formatDemo);

}  // namespace
