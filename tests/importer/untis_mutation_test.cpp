// Seeded damage to the Untis export files: every case either ends with a message or
// writes files that the planner loads without one and saves back to the same bytes.
#include <gtest/gtest.h>

#include <sstream>

#include "data/base_data_format.h"
#include "data/plan_file_format.h"
#include "data/plan_tables.h"
#include "importer/answering_console.h"
#include "importer/base_data_import.h"
#include "importer/import_tables.h"
#include "importer/importer_test_support.h"
#include "importer/plan_import.h"
#include "support/mutations.h"

namespace quort {
namespace {

using test::readFile;

const std::vector<std::pair<std::string, std::string>> kExport = {
    {"GPU004.TXT", "\"AB\",\"Abel Anna\"\r\n\"A\",\"Adam\"\r\n\"MEY\",\"Meyer\"\r\n\"KL\",\"Klein\"\r\n"},
    {"GPU005.TXT", "\"R101\",\"Raum\"\r\n\"R201\",\"Raum\"\r\n\"PH1\"\r\n\"R102\"\r\n"},
    {"GPU006.TXT",
     "\"PH\",\"Physik\",,\"PH1\"\r\n\"CH\",\"Chemie\",,\"PH1\"\r\n\"M\",\"Mathe\",,\r\n\"D\",\"Deutsch\"\r\n"},
    {"GPU003.TXT", "\"10A\",\"Klasse 10a\",,\"R102\"\r\n\"5B\",,,\"R101\"\r\n\"5A\",,,\"R201\"\r\n\"Q1\"\r\n"},
    {"GPU002.TXT", "1,2\r\n2,2\r\n3,1\r\n"},
};

const std::string kTimetable =
    "1,\"5A\",\"AB\",\"PH\",\"PH1\",1,1,,\r\n1,\"5B\",\"KL\",\"CH\",\"R101\",1,1,,\r\n"
    "2,\"10A\",\"A\",\"M\",\"R102\",2,3,,\r\n2,\"10A\",\"A\",\"M\",\"R102\",2,4,,\r\n"
    "3,\"Q1\",\"AB\",\"D\",,3,2,,\r\n4,\"5B\",\"MEY\",\"M\",,5,6,,\r\n";

class UntisMutation : public ::testing::Test {
 protected:
  void writeExport(size_t damaged, const std::string& damagedText) {
    for (size_t i = 0; i < kExport.size(); ++i)
      dir.write(kExport[i].first, i == damaged ? damagedText : kExport[i].second);
  }
  ImportOutcome importBaseData(AnsweringConsole& console) {
    ImportTables tables;
    console.setAnswer("Tageszahl", "5");
    return ImportBaseData(tables, console, {dir.path().string(), dir.file("SCHULE")});
  }

  test::TempDir dir{test::TempDir::inMemoryIfPossible()};
  std::ostringstream out;
};

// What the importer wrote loads in the planner without a message and saves to its bytes.
void expectBaseDataLoadsCleanly(const std::string& text, BaseData& base, const std::string& context) {
  const ParseResult result = parseBaseDataFile(text, base);
  ASSERT_EQ(result.outcome, ParseOutcome::Ok) << context;
  EXPECT_FALSE(result.optionsIncomplete) << context;
  EXPECT_EQ(formatBaseDataFile(base), text) << context;
}

TEST_F(UntisMutation, DamagedBaseDataExportsEndWithAMessageOrLoadCleanly) {
  const uint32_t seed = 20270117;
  test::FileMutator mutator(seed);
  int written = 0;
  for (int round = 0; round < 250; ++round) {
    const std::string context = "seed " + std::to_string(seed) + " round " + std::to_string(round);
    const size_t damaged = static_cast<size_t>(round) % kExport.size();
    writeExport(damaged, mutator.mutate(kExport[damaged].second));
    std::filesystem::remove(dir.file("SCHULE.GD"));
    AnsweringConsole console(out);
    if (!importBaseData(console).written) {
      EXPECT_FALSE(console.messages().empty()) << context;
      continue;
    }
    ++written;
    BaseData base;
    expectBaseDataLoadsCleanly(readFile(dir.file("SCHULE.GD")), base, context);
  }
  EXPECT_GT(written, 50);
}

TEST_F(UntisMutation, DamagedTimetableExportsEndWithAMessageOrLoadCleanly) {
  writeExport(kExport.size(), "");
  AnsweringConsole baseConsole(out);
  ASSERT_TRUE(importBaseData(baseConsole).succeeded()) << out.str();
  BaseData base;
  expectBaseDataLoadsCleanly(readFile(dir.file("SCHULE.GD")), base, "base data");

  const uint32_t seed = 20270118;
  test::FileMutator mutator(seed);
  int written = 0;
  for (int round = 0; round < 150; ++round) {
    const std::string context = "seed " + std::to_string(seed) + " round " + std::to_string(round);
    dir.write("GPU001.TXT", round == 0 ? kTimetable : mutator.mutate(kTimetable));
    std::filesystem::remove(dir.file("SCHULE.PL"));
    AnsweringConsole console(out);
    ImportTables tables;
    if (!ImportPlan(tables, console, {dir.path().string(), dir.file("SCHULE")}).written) {
      EXPECT_FALSE(console.messages().empty()) << context;
      continue;
    }
    ++written;
    PlanTables plan;
    plan.reset(base);
    PlanSources sources;
    sources.plan = readFile(dir.file("SCHULE.PL"));
    ASSERT_TRUE(readPlan(sources, base, plan, {}).empty()) << context;
    std::string reason;
    const auto saved = formatPlanFile(base, plan, {}, reason);
    ASSERT_TRUE(saved) << context << reason;
    PlanTables again;
    again.reset(base);
    sources.plan = *saved;
    EXPECT_TRUE(readPlan(sources, base, again, {}).empty()) << context;
    EXPECT_EQ(formatPlanFile(base, again, {}, reason), saved) << context;
  }
  EXPECT_GT(written, 30);
}

}  // namespace
}  // namespace quort
