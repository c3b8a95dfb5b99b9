#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace quort::test {

// An achievement-data export of one year group as the school administration writes it:
// a header, then one line per course choice, fields separated by "|", DOS code page.
// The choices follow hidden blocks (each student takes at most one course per block), so a
// clash-free blocking exists.
struct AchievementData {
  std::string text;
  int students = 0;
  int choices = 0;
};

inline const std::vector<std::vector<std::string>>& hiddenBlocks() {
  static const std::vector<std::vector<std::string>> blocks = {
      {"MA_Q1_LK_1", "DE_Q1_LK_1", "BIO_Q1_LK_1"},
      {"EN_Q1_LK_1", "PH_Q1_LK_1", "MA_Q1_LK_2"},
      {"MA_Q1_GK_1", "EN_Q1_GK_1", "KU_Q1_GK_1", "SP_Q1_GK_1"},
      {"DE_Q1_GK_1", "CH_Q1_GK_1", "MU_Q1_GK_1"},
      {"GE_Q1_GK_1", "EK_Q1_GK_1", "SW_Q1_GK_1", "IF_Q1_GK_1"},
      {"MA_Q1_GK_2", "FR_Q1_GK_1", "PA_Q1_GK_1"},
      {"RE_Q1_GK_1", "PL_Q1_GK_1", "BIO_Q1_GK_1"},
      {"EN_Q1_GK_2", "PH_Q1_GK_1", "LA_Q1_GK_1", "GE_Q1_GK_2"},
      {"D_Q1_GK_3", "SP_Q1_GK_2", "EK_Q1_GK_2"},
      {"SW_Q1_GK_2", "CH_Q1_GK_2", "IF_Q1_GK_2"},
  };
  return blocks;
}

inline AchievementData makeAchievementData(uint32_t seed, int students, const std::string& group = "Q1") {
  std::mt19937 random(seed);
  AchievementData data;
  data.students = students;
  data.text = "Nachname|Vorname|Geburtsdatum|Klasse|Jahr|Abschnitt|Fach|Kursart|Kurs\r\n";
  const char* kinds[] = {"GKS", "GKM", "AB3", "AB4", "LK1"};
  for (int s = 0; s < students; ++s) {
    // Every tenth name has an umlaut (DOS 0x81) and a comma, as real names do.
    const std::string surname = (s % 10 == 0 ? std::string("M\x81ller, ") : std::string("Name")) + std::to_string(s);
    const std::string first = "Vorname" + std::to_string(s % 7);
    const size_t skipped = 2 + random() % (hiddenBlocks().size() - 2);
    for (size_t b = 0; b < hiddenBlocks().size(); ++b) {
      if (b == skipped) continue;
      const auto& block = hiddenBlocks()[b];
      std::string course = block[random() % block.size()];
      const size_t year = course.find("_Q1_");
      course.replace(year + 1, 2, group);
      const char* kind = b < 2 ? kinds[4] : kinds[random() % 4];
      data.text += surname + "|" + first + "|01.01.2007|Q1|2024|1|x|" + kind + "|" + course + "\r\n";
      ++data.choices;
    }
  }
  // Lines of another year group and a header-like line that belongs to nothing.
  data.text += "Andere|Stufe|x|x|x|x|x|GKS|MA_Q2_GK_1\r\n";
  data.text += "kaputt\r\n";
  return data;
}

}  // namespace quort::test
