#pragma once

namespace quort {

// What the plan generator keeps while the program runs.
struct GeneratorState {
  bool optimiseWeights = false;  // "Wichtungen optimieren:" as last used
};

}  // namespace quort
