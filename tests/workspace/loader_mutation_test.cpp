// Seeded damage to base-data files (.GD and the older .GP/.GK pair): every case either
// loads with a message or loads into data that saves and reloads to the same bytes.
#include <gtest/gtest.h>

#include "data/base_data_format.h"
#include "support/mutations.h"
#include "support/temp_dir.h"
#include "workspace/base_data_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

constexpr uint32_t kBaseDataSeed = 20270115;

// The .GD text the save would write, or std::nullopt when the save refuses with a message.
std::optional<std::string> savedBaseData(const BaseData& base) {
  Workspace ws;
  ws.base = base;
  ScriptedUi ui;
  const auto file = baseDataFileToWrite(ws, ui, "SCHULE");
  if (!file) {
    EXPECT_FALSE(ui.records().empty());
    return std::nullopt;
  }
  return file->content;
}

// true when the data loaded without a message (then they must save stably).
bool expectReportedOrStable(const ParseResult& result, const BaseData& loaded, const std::string& context) {
  if (result.outcome != ParseOutcome::Ok || result.optionsIncomplete) return false;
  const auto first = savedBaseData(loaded);
  if (!first) return false;
  BaseData again;
  const ParseResult reread = parseBaseDataFile(*first, again);
  EXPECT_EQ(reread.outcome, ParseOutcome::Ok) << context;
  EXPECT_FALSE(reread.optionsIncomplete) << context;
  const auto second = savedBaseData(again);
  EXPECT_TRUE(second) << context;
  if (!second || *second == *first) return true;
  // A deleted teacher is saved as the placeholder "~@", which the loader cuts at the
  // "@" like every teacher line: the text settles after that one round.
  BaseData third;
  EXPECT_EQ(parseBaseDataFile(*second, third).outcome, ParseOutcome::Ok) << context;
  EXPECT_TRUE(savedBaseData(third) == second) << context;
  return true;
}

std::string smallOlderPairGp() {
  return "362,2,3,3\r\n5A MR\r\n6B HB\r\nMR\r\nHB\r\n*\r\n"
         "CH Chemie\r\n2,2\r\nD Deutsch\r\n0,1\r\n*\r\n0,1\r\n"
         "3\r\nCH1\r\n2\r\nCH2\r\n0\r\n101\r\n0\r\n"
         "3,0\r\n3,1,0,0\r\n";
}

std::string smallOlderPairGk() { return "MRM\xFCller 0 25\r\nHBHansberg 6 25\r\n*\r\nCHChemie\r\nD Deutsch\r\n*\r\n"; }

TEST(LoaderMutation, BaseDataFilesLoadWithAMessageOrSaveStably) {
  const std::string demo = test::readFile(test::demoFile());
  const std::string small =
      "362,3,4,6,6\r\n5A MR\r\n13 KL >13\r\n6B HB\r\nMR- M\xFCller 0 25.5\r\nHB+ Hansberg 6 25.5\r\nKL Klein 0 12\r\n"
      "CH Chemie 1 D >CH\r\nNW Natur CH T\r\nSP Sport 0+2 D\r\nXX Selbst XX\r\nD Deutsch\r\nCH1 CH\r\nCH2 CH\r\n"
      "101 5A\r\nA01\r\n310 #\r\nLAG *alt\r\n20,4,1,20,2,2,1,100,6,4,5,1\r\n";
  test::FileMutator mutator(kBaseDataSeed);
  for (int round = 0; round < 600; ++round) {
    const std::string mutated = mutator.mutate(round % 2 == 0 ? demo : small);
    BaseData base;
    const ParseResult result = parseBaseDataFile(mutated, base);
    expectReportedOrStable(result, base,
                           "GD seed " + std::to_string(kBaseDataSeed) + " round " + std::to_string(round));
  }
}

TEST(LoaderMutation, OlderPairLoadsWithAMessageOrSavesStably) {
  const std::string gp = smallOlderPairGp();
  const std::string gk = smallOlderPairGk();
  test::FileMutator mutator(kBaseDataSeed + 1);
  int loadedCleanly = 0;
  for (int round = 0; round < 400; ++round) {
    const bool damageGp = round % 3 != 2;
    const std::string mutatedGp = damageGp ? mutator.mutate(gp) : gp;
    const std::string mutatedGk = damageGp ? gk : mutator.mutate(gk);
    BaseData base;
    const ParseResult result = parseLegacyBaseData(mutatedGp, mutatedGk, base);
    loadedCleanly += expectReportedOrStable(
        result, base, "GP/GK seed " + std::to_string(kBaseDataSeed + 1) + " round " + std::to_string(round));
  }
  EXPECT_GT(loadedCleanly, 40);
  EXPECT_LT(loadedCleanly, 360);
}

// Through the loader with its dialogs: a damaged file on disk ends in a message, never
// in a crash.
TEST(LoaderMutation, DamagedFilesOnDiskAnswerWithAMessage) {
  test::TempDir dir;
  const std::string demo = test::readFile(test::demoFile());
  test::FileMutator mutator(kBaseDataSeed + 2);
  for (int round = 0; round < 40; ++round) {
    Workspace ws;
    ScriptedUi ui;
    const LoadStatus status = LoadBaseData(ws, ui, dir.write("KAPUTT.GD", mutator.mutate(demo)));
    if (status != LoadStatus::Loaded) {
      EXPECT_FALSE(ui.records().empty()) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace quort
