#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace quort::test {

// Damage of the kinds that real files show: cut short, single bits flipped, lines lost
// or doubled, numbers out of every range, NUL and end-of-file bytes inside, and line ends
// converted by some tool. Each case is made from the seed alone, so a failure replays.
class FileMutator {
 public:
  explicit FileMutator(uint32_t seed) : m_random(seed) {}

  std::string mutate(const std::string& text) {
    std::string result = text;
    const int changes = 1 + static_cast<int>(m_random() % 3);
    for (int i = 0; i < changes && !result.empty(); ++i) result = mutateOnce(result);
    return result;
  }

 private:
  size_t below(size_t bound) { return bound == 0 ? 0 : static_cast<size_t>(m_random() % bound); }

  std::string mutateOnce(const std::string& text) {
    switch (m_random() % 9) {
      case 0:
        return text.substr(0, below(text.size()));
      case 1: {
        std::string flipped = text;
        flipped[below(flipped.size())] ^= static_cast<char>(1U << below(8));
        return flipped;
      }
      case 2:
        return editLine(text, false);
      case 3:
        return editLine(text, true);
      case 4:
        return replaceNumber(text);
      case 5: {
        std::string inserted = text;
        inserted.insert(below(inserted.size() + 1), 1, m_random() % 2 == 0 ? '\0' : '\x1A');
        return inserted;
      }
      case 6:
        return withLineEnds(text, "\r");
      case 7:
        return withLineEnds(text, "\n");
      default: {
        std::string changed = text;
        changed[below(changed.size())] = static_cast<char>(m_random());
        return changed;
      }
    }
  }

  static std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    size_t start = 0;
    while (start < text.size()) {
      const size_t end = text.find('\n', start);
      const size_t next = end == std::string::npos ? text.size() : end + 1;
      result.push_back(text.substr(start, next - start));
      start = next;
    }
    return result;
  }

  // Deletes one line, or doubles it.
  std::string editLine(const std::string& text, bool duplicate) {
    std::vector<std::string> all = lines(text);
    if (all.empty()) return text;
    const size_t at = below(all.size());
    if (duplicate) {
      all.insert(all.begin() + static_cast<long>(at), all[at]);
    } else {
      all.erase(all.begin() + static_cast<long>(at));
    }
    std::string joined;
    for (const std::string& line : all) joined += line;
    return joined;
  }

  // One digit run becomes a huge, negative or otherwise unusable number.
  std::string replaceNumber(const std::string& text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] >= '0' && text[i] <= '9' && (i == 0 || text[i - 1] < '0' || text[i - 1] > '9')) starts.push_back(i);
    }
    if (starts.empty()) return text;
    static const char* const kNumbers[] = {"-1",         "-9",          "-32768", "-2147483649", "32767", "65536",
                                           "4294967296", "99999999999", "1e300",  "0",           "-0",    "255"};
    const size_t start = starts[below(starts.size())];
    size_t end = start;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    return text.substr(0, start) + kNumbers[below(std::size(kNumbers))] + text.substr(end);
  }

  static std::string withLineEnds(const std::string& text, const std::string& lineEnd) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        result += lineEnd;
        ++i;
      } else {
        result += text[i];
      }
    }
    return result;
  }

  std::mt19937 m_random;
};

}  // namespace quort::test
