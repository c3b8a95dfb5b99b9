#include "importer/importer_test_support.h"

#include <cstdio>
#include <sstream>

namespace quort::test {

namespace {

std::vector<std::string> linesOf(const std::string& text, bool& allCrLf) {
  std::vector<std::string> lines;
  allCrLf = true;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.back() != '\r') allCrLf = false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

PlanFileContent parsePlanFile(const std::string& text, int classes, int periods) {
  PlanFileContent plan;
  bool allCrLf = false;
  const auto lines = linesOf(text, allCrLf);
  if (!allCrLf || lines.size() < 3 || lines[0] != "#4#") return plan;
  int nCouplings = 0;
  int nBlocks = 0;
  if (std::sscanf(lines[1].c_str(), "0,0,%d,%d", &nCouplings, &nBlocks) != 2 || nBlocks != 0) return plan;
  size_t next = 2;
  for (int k = 0; k < nCouplings && next < lines.size(); ++k) plan.couplings.push_back(lines[next++]);
  if (next >= lines.size() || lines[next++] != "#4#") return plan;
  for (int day = 1; day <= 6; ++day) {
    for (int row = 1; row <= periods; ++row) {
      for (int schoolClass = 1; schoolClass <= classes; ++schoolClass) {
        unsigned lessonWord = 0;
        unsigned roomWord = 0;
        if (next >= lines.size() || std::sscanf(lines[next++].c_str(), "%u,%u", &lessonWord, &roomWord) != 2) {
          return plan;
        }
        ++plan.cellLines;
        if (lessonWord != 0 || roomWord != 0) {
          plan.cells[{schoolClass, row, day}] = {static_cast<uint16_t>(lessonWord), static_cast<uint16_t>(roomWord)};
        }
      }
    }
  }
  plan.wellFormed = next == lines.size();
  return plan;
}

}  // namespace quort::test
