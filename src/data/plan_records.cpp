#include "data/plan_records.h"

namespace quort {

std::string makeAssignment(int teacher, int schoolClass, int subject, int periodsAndMarkers) {
  return {static_cast<char>(teacher), static_cast<char>(schoolClass), static_cast<char>(subject),
          static_cast<char>(periodsAndMarkers)};
}

std::string makeCouplingMember(int teacher, int schoolClass, int subject, char suffix) {
  return {static_cast<char>(teacher), static_cast<char>(schoolClass), static_cast<char>(subject), suffix};
}

}  // namespace quort
