#include "exams/exam_preset.h"

#include <algorithm>
#include <cctype>

namespace quort {

namespace {

std::string upperCased(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// The number at position, advancing it; -1 when no digit stands there.
int readNumber(std::string_view text, size_t& position) {
  int value = -1;
  while (position < text.size() && std::isdigit(static_cast<unsigned char>(text[position])) != 0) {
    if (value < 0) value = 0;
    if (value < 1000) value = value * 10 + (text[position] - '0');
    ++position;
  }
  return value;
}

}  // namespace

int examWeekday(std::string_view letters) {
  static constexpr std::string_view kDays = "MODIMIDOFRSA";
  if (letters.size() != 2) return 0;
  for (size_t i = 0; i < kDays.size(); i += 2) {
    if (kDays.substr(i, 2) == letters) return static_cast<int>(i / 2) + 1;
  }
  return 0;
}

std::optional<ExamPreset> parseExamPreset(std::string_view text, int lastShownPeriod) {
  const std::string upper = upperCased(text);
  const size_t bar1 = upper.find('|');
  const size_t bar2 = bar1 == std::string::npos ? std::string::npos : upper.find('|', bar1 + 1);
  if (bar2 == std::string::npos) return std::nullopt;
  ExamPreset preset;
  preset.term = upper.substr(0, bar1);
  preset.grade = upper.substr(bar1 + 1, bar2 - bar1 - 1);
  preset.selection = upper.substr(bar2 + 1);
  const size_t dash = preset.term.find('-');
  if (dash == std::string::npos || dash < 3 || preset.term.size() < 3) return std::nullopt;
  preset.day = examWeekday(std::string_view(preset.term).substr(0, 2));
  size_t position = 2;
  preset.firstShown = readNumber(preset.term, position);
  if (position != dash) return std::nullopt;
  ++position;
  preset.lastShown = readNumber(preset.term, position);
  if (position != preset.term.size()) return std::nullopt;
  // The grade stands in the log's heading and in the extra-work lines, whose readers take
  // brackets, "#", "*", ":" and "," as structure ("1(#9)" would count nine hours): a year
  // group is letters and digits.
  if (!std::all_of(preset.grade.begin(), preset.grade.end(),
                   [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; })) {
    return std::nullopt;
  }
  if (preset.day == 0 || preset.firstShown < 1 || preset.firstShown > preset.lastShown ||
      preset.lastShown > lastShownPeriod) {
    return std::nullopt;
  }
  return preset;
}

std::string examPresetText(const ExamPreset& preset) {
  return preset.term + "|" + preset.grade + "|" + preset.selection;
}

int firstInternalPeriod(int shown, bool weekAlternation) {
  const int w = weekAlternation ? 1 : 0;
  return shown * (1 + w) - w;
}

int lastInternalPeriod(int shown, bool weekAlternation) { return shown * (weekAlternation ? 2 : 1); }

}  // namespace quort
