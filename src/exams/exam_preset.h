#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quort {

// The exam being planned: "TERM|GRADE|SELECTION", upper case. The term names the weekday
// and the shown period range ("MO3-4"); the grade is the course file's year group; the
// selection lists the courses that write.
struct ExamPreset {
  std::string term;
  std::string grade;
  std::string selection;
  int day = 0;         // 1 (MO) to 6 (SA)
  int firstShown = 0;  // shown periods, 1-based
  int lastShown = 0;
};

// std::nullopt for a term that is not a weekday MO..SA followed by "a-b" with
// 1 <= a <= b <= lastShownPeriod, so no later step indexes a grid out of range, and for a
// grade of other characters than letters and digits.
std::optional<ExamPreset> parseExamPreset(std::string_view text, int lastShownPeriod);
std::string examPresetText(const ExamPreset& preset);

// Internal periods of shown ones: with week alternation every shown period has two.
int firstInternalPeriod(int shown, bool weekAlternation);
int lastInternalPeriod(int shown, bool weekAlternation);

// The weekday's two letters ("MO".."SA"), 0 for anything else.
int examWeekday(std::string_view letters);

}  // namespace quort
