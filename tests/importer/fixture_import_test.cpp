#include <gtest/gtest.h>

#include "importer/importer_test_support.h"

namespace quort::test {
namespace {

namespace fs = std::filesystem;

// Real Untis exports from public repositories, each hard in its own way. The importer
// must never crash on them, must say what it could not do, and every file it writes
// must open in the planner without a message.
class FixtureImport : public ::testing::Test {
 protected:
  // Marks the test skipped when the fixture folder is not there; the test then returns.
  void useFixture(const std::string& name) {
    if (!copyFixture(name, dir.path() / "untis")) GTEST_SKIP() << "fixture folder missing: " << name;
  }
  ProgramRun importBaseData() { return runImporter(dir.path(), "grunddaten --untis untis --ziel SCHULE"); }
  ProgramRun importPlan() { return runImporter(dir.path(), "plandaten --untis untis --ziel SCHULE"); }
  bool exists(const std::string& name) const { return fs::exists(dir.path() / name); }

  // The planner opens base data (and plan) in batch mode without any message.
  void expectPlannerOpens(const std::string& openLine) {
    const ProgramRun planner = runPlanner(dir.path(), openLine + "\ninfo\n");
    EXPECT_EQ(planner.exitCode, 0) << planner.output;
    EXPECT_EQ(planner.output.find("message:"), std::string::npos) << planner.output;
    EXPECT_NE(planner.output.find("classes: "), std::string::npos) << planner.output;
  }

  TempDir dir;
};

// hm-fk09: 369 subjects whose first two characters still give 65 codes; the planner
// takes 50, so no base data are written, and without them no plan either.
TEST_F(FixtureImport, HmFk09ExceedsThePlannersSubjectsAndWritesNothing) {
  useFixture("hm-fk09");
  if (IsSkipped()) return;
  const ProgramRun run = importBaseData();
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("Zu viele F\xC3\xA4"
                            "cher f\xC3\xBCr den Planer: 65 (h\xC3\xB6"
                            "chstens 50)!"),
            std::string::npos)
      << run.output;
  EXPECT_FALSE(exists("SCHULE.GD"));
  const ProgramRun plan = importPlan();
  EXPECT_EQ(plan.exitCode, 1);
  EXPECT_NE(plan.output.find("Grunddaten fehlerhaft!"), std::string::npos);
  EXPECT_FALSE(exists("SCHULE.PL"));
}

// hm-fk10: long teacher codes fold into the external teacher, numeric subject codes are
// skipped, periods run past the plan; both files are written and open in the planner.
TEST_F(FixtureImport, HmFk10ImportsWithReportedLinesIntoFilesThePlannerOpens) {
  useFixture("hm-fk10");
  if (IsSkipped()) return;
  ASSERT_EQ(importBaseData().exitCode, 0);
  expectPlannerOpens("open SCHULE");
  const ProgramRun plan = importPlan();
  ASSERT_EQ(plan.exitCode, 0) << plan.output;
  expectPlannerOpens("open SCHULE SCHULE");
  const std::string errors = readFile(dir.file("untis/gpuerr.txt"));
  EXPECT_NE(errors.find("Fehler: Klasse (FK1,~~,XFK11)\r\n"), std::string::npos);
  EXPECT_NE(errors.find("Fehler: Klasse, Fach (,~~,)\r\n"), std::string::npos);  // class and subject empty
  EXPECT_NE(errors.find("Fehler: Fach (1A,~~,031\xDC)\r\n"), std::string::npos);
}

// htl-vb-at: no GPU003/GPU004, so no classes and no base data; its GPU001 (seven fields
// per line, rooms joined with "~", periods up to 16) goes onto base data of our own.
TEST_F(FixtureImport, HtlWithoutClassFilesWritesNoBaseDataButItsPlanImports) {
  useFixture("htl-vb-at");
  if (IsSkipped()) return;
  const ProgramRun run = importBaseData();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("Datei fehlt: untis/GPU004.TXT"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Keine Klassen in den Untis-Dateien!"), std::string::npos);
  EXPECT_FALSE(exists("SCHULE.GD"));

  std::ofstream(dir.path() / "SCHULE.GD", std::ios::binary)
      << "362,6,2,5,3\r\n3AFMBM\r\n1AHWIM\r\n1BHME\r\n3AHME\r\n4AFMBM\r\n4ABMB\r\n~~ ausw\xE4rts\r\n"
         "WP Werkstatt\r\nFE Fertigung\r\nLA Labor\r\nKO Konstruktion\r\nCAD\r\nR01\r\nGLB\r\n";
  const ProgramRun plan = importPlan();
  ASSERT_EQ(plan.exitCode, 0) << plan.output;
  expectPlannerOpens("open SCHULE SCHULE");
  const std::string errors = readFile(dir.file("untis/gpuerr.txt"));
  EXPECT_NE(errors.find("Fehler: Fach, Stunde 13 (4AB,~~,AM)\r\n"), std::string::npos);
  EXPECT_NE(errors.find("Fehler: Klasse, Fach (,~~,SPR)\r\n"), std::string::npos);  // consultation hours
}

// svws-gym-nrw: fields separated by ";" and UTF-8 text; both functions refuse the files
// with a clear reason instead of importing rubbish.
TEST_F(FixtureImport, SvwsSemicolonFilesAreRefusedWithTheirReason) {
  useFixture("svws-gym-nrw");
  if (IsSkipped()) return;
  const ProgramRun run = importBaseData();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("Felder durch \";\" statt \",\" getrennt: untis/GPU002.TXT"), std::string::npos)
      << run.output;
  EXPECT_FALSE(exists("SCHULE.GD"));

  std::ofstream(dir.path() / "SCHULE.GD", std::ios::binary) << "362,1,2,2,0\r\n09A\r\n~~ ausw\xE4rts\r\nBI Bio\r\n";
  const ProgramRun plan = importPlan();
  EXPECT_EQ(plan.exitCode, 1);
  EXPECT_NE(plan.output.find("Untis-Datei fehlerhaft!"), std::string::npos) << plan.output;
  EXPECT_FALSE(exists("SCHULE.PL"));
}

}  // namespace
}  // namespace quort::test
