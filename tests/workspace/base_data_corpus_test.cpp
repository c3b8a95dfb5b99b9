// Damaged base-data files: every truncation of the demo school and a few hundred seeded
// byte mutations must load cleanly or be refused, never crash, hang or leave indexes
// that point outside the tables.
#include <gtest/gtest.h>

#include <random>

#include "data/base_data_format.h"
#include "support/temp_dir.h"
#include "workspace/base_data_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

void expectIndexesInRange(const BaseData& base, const std::string& context) {
  const int nRooms = base.nRooms();
  for (const SchoolClass& c : base.classes) {
    ASSERT_GE(c.homeRoom, 0) << context;
    ASSERT_LE(c.homeRoom, nRooms) << context;
    ASSERT_EQ(c.code.size(), 3U) << context;
  }
  for (const Subject& s : base.subjects) {
    ASSERT_GE(s.firstRoom, 0) << context;
    ASSERT_LE(s.firstRoom, nRooms) << context;
    ASSERT_GT(s.roomSpec, -base.nSubjects()) << context;
    ASSERT_EQ(s.code.size(), 2U) << context;
  }
  for (const Room& r : base.rooms) {
    ASSERT_GE(r.nextRoom, 0) << context;
    ASSERT_LE(r.nextRoom, nRooms) << context;
    ASSERT_GT(r.owner, -base.nSubjects() - 1) << context;
    ASSERT_LE(r.owner, base.nClasses()) << context;
  }
  ASSERT_GE(base.days, 1) << context;
  ASSERT_LE(base.days, 6) << context;
  ASSERT_GE(base.periodsPerDay, 1) << context;
  ASSERT_LE(base.periodsPerDay, 10) << context;
}

void checkContent(const std::string& content, const std::string& context) {
  BaseData base;
  const ParseResult result = parseBaseDataFile(content, base);
  if (result.outcome != ParseOutcome::Ok) return;
  expectIndexesInRange(base, context);
  // Whatever loaded must survive being written and read again. Deleted entries become
  // placeholders on the first save, so the text is stable from the second one on.
  const std::string first = formatBaseDataFile(base);
  if (first.find('"') != std::string::npos) return;
  BaseData again;
  ASSERT_EQ(parseBaseDataFile(first, again).outcome, ParseOutcome::Ok) << context;
  const std::string second = formatBaseDataFile(again);
  BaseData third;
  ASSERT_EQ(parseBaseDataFile(second, third).outcome, ParseOutcome::Ok) << context;
  EXPECT_TRUE(formatBaseDataFile(third) == second) << context;
}

TEST(BaseDataCorpus, EveryTruncationOfTheDemoLoadsOrIsRefused) {
  const std::string demo = test::readFile(test::demoFile());
  ASSERT_GT(demo.size(), 1000U);
  for (size_t length = 0; length < demo.size(); ++length) {
    checkContent(demo.substr(0, length), "length " + std::to_string(length));
  }
}

TEST(BaseDataCorpus, SeededByteMutationsLoadOrAreRefused) {
  const std::string demo = test::readFile(test::demoFile());
  const unsigned seed = 20261207;
  std::mt19937 random(seed);
  const char interesting[] = {',', '\r', '\n', '"', '\x1A', '0', '9', '-', '+', '*', ' ', '@', '\xFF', '\0'};
  for (int round = 0; round < 400; ++round) {
    std::string mutated = demo;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < changes; ++i) {
      const size_t at = random() % mutated.size();
      mutated[at] = (random() % 2 == 0) ? interesting[random() % sizeof interesting] : static_cast<char>(random());
    }
    checkContent(mutated, "seed " + std::to_string(seed) + " round " + std::to_string(round));
  }
}

TEST(BaseDataCorpus, GarbageAndHugeHeadersAreRefused) {
  std::mt19937 random(7);
  std::string binary(5000, '\0');
  for (char& c : binary) c = static_cast<char>(random());
  for (const std::string& content :
       {std::string(), std::string("\x1A"), binary, std::string("362,99999999,5,5,5\r\n"),
        std::string("362,-3,5,5,5\r\n"), std::string("1e9,1,2,2,0\r\n"), std::string("4095,1,2,2,0\r\nA\r\n"),
        std::string("362,1,2,2,-1\r\n"), std::string("362,100,101,51,100\r\n")}) {
    BaseData base;
    EXPECT_NE(parseBaseDataFile(content, base).outcome, ParseOutcome::Ok) << content.substr(0, 40);
  }
}

// The loader with its dialogs, on a damaged file on disk: a clear answer, no crash.
TEST(BaseDataCorpus, DamagedFileOnDiskEndsInTheDefectiveDataQuestion) {
  test::TempDir dir;
  const std::string demo = test::readFile(test::demoFile());
  for (const size_t length : {size_t{0}, size_t{5}, size_t{16}, demo.size() / 2}) {
    Workspace ws;
    ScriptedUi ui;
    EXPECT_EQ(LoadBaseData(ws, ui, dir.write("TEIL.GD", demo.substr(0, length))), LoadStatus::EndProgram);
    EXPECT_TRUE(ui.saw("Programmabbruch!"));
    EXPECT_FALSE(ws.base.loaded());
  }
}

}  // namespace
}  // namespace quort
