#pragma once

#include <string>

namespace quort {

struct Workspace;

// The three filter fields and the two "Setzen von" switches of the filter dialog.
struct GenerationFilter {
  std::string subjects;    // "Fächer:", comma-separated subject codes
  std::string teachers;    // "Lehrer:"
  std::string grades;      // "Stufen:": class codes, or grades ("7-9", "5,6")
  bool singles = true;     // "Einzelstunden:"
  bool couplings = false;  // "Kopplungen:"
};

// The entries of the assignments that pass the filter, in list order. Ordinary entries stay
// in the assignments; coupling entries leave them at once.
std::string buildWorkList(Workspace& ws, const GenerationFilter& filter);

// "Ausblenden": keeps only the filtered entries in the assignments and moves the others
// behind the buffer.
void hideAssignments(Workspace& ws, const GenerationFilter& filter);

}  // namespace quort
