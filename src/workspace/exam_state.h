#pragma once

#include <string>

#include "data/course_records.h"

namespace quort {

// The exam being planned, kept while the program runs: the preset text the presets
// built ("TERM|GRADE|SELECTION", empty until then), the course file of its grade, and what
// the exam dialog's fields hold, so that the dialog opens again where it was left.
struct ExamState {
  std::string presetText;
  CourseBook courses;
  std::string rooms;            // "Räume:"
  std::string supervisions;     // "Aufsicht:"
  std::string roomChanges;      // "Raumänd.:"
  std::string freed;            // "Frei:"
  bool countExtraWork = false;  // "Mehrarbeit" / "abrechnen"
  std::string lastDate;         // of the last saved exam
};

}  // namespace quort
