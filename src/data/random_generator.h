#pragma once

#include <cstdint>

namespace quort {

// The one pseudo-random sequence of the program: starts at 0 and is never reseeded, so
// the plans generated after a program start can be reproduced.
class RandomGenerator {
 public:
  // A value in [0, 1).
  double next() {
    m_state = m_state * 134775813U + 1U;
    return static_cast<double>(m_state >> 1) / 2147483648.0;
  }
  uint32_t state() const { return m_state; }

 private:
  uint32_t m_state = 0;
};

}  // namespace quort
