#include "data/base_data.h"

#include <algorithm>

namespace quort {

double PlanOptions::value(int option) const {
  if (option >= 1 && option <= 7) return weights[option - 1];
  switch (option) {
    case 8:
      return maxTeacherLessonsPerDay;
    case 9:
      return maxPlanAttempts;
    case 10:
      return attemptsPerPlan;
    case 11:
      return variationWidth;
    case 12:
      return scaleFactor;
    default:
      return 0;
  }
}

void PlanOptions::setValue(int option, double value) {
  const auto asShort = [](double v) { return static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0)); };
  if (option >= 1 && option <= 7) {
    weights[option - 1] = static_cast<float>(value);
    return;
  }
  switch (option) {
    case 8:
      maxTeacherLessonsPerDay = asShort(value);
      break;
    case 9:
      maxPlanAttempts = asShort(value);
      break;
    case 10:
      attemptsPerPlan = asShort(value);
      break;
    case 11:
      variationWidth = asShort(value);
      break;
    case 12:
      scaleFactor = static_cast<float>(value);
      break;
    default:
      break;
  }
}

std::string padCode(std::string_view code, size_t width) {
  std::string result(code.substr(0, width));
  result.resize(width, ' ');
  return result;
}

std::string classOrRoomCode(std::string_view line) {
  return padCode(line.substr(0, std::min(line.find(' '), line.size())), 3);
}

std::string teacherOrSubjectCode(std::string_view line) {
  return padCode(line.substr(0, std::min(line.find_first_of(" -+"), line.size())), 2);
}

std::string lineField(std::string_view line, int n) {
  size_t pos = 0;
  for (int field = 1; pos <= line.size(); ++field) {
    while (pos < line.size() && line[pos] == ' ') ++pos;
    const size_t end = std::min(line.find(' ', pos), line.size());
    if (field == n) return std::string(line.substr(pos, end - pos));
    if (end >= line.size()) break;
    pos = end;
  }
  return {};
}

namespace {

template <typename T>
int findCode(const std::vector<T>& list, std::string_view code, size_t width) {
  const std::string wanted = padCode(code, width);
  for (size_t i = 1; i < list.size(); ++i) {
    if (list[i].code == wanted) return static_cast<int>(i);
  }
  return 0;
}

}  // namespace

int BaseData::findClass(std::string_view code) const { return findCode(classes, code, 3); }
int BaseData::findTeacher(std::string_view code) const { return findCode(teachers, code, 2); }
int BaseData::findSubject(std::string_view code) const { return findCode(subjects, code, 2); }
int BaseData::findRoom(std::string_view code) const { return findCode(rooms, code, 3); }

}  // namespace quort
