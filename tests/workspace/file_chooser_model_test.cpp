#include "workspace/file_chooser_model.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace quort {
namespace {

namespace fs = std::filesystem;

// Patterns ignore letter case (umlauts included) and "*.*" takes every name.
TEST(FileChooserModel, PatternsMatchWithoutRegardToCase) {
  EXPECT_TRUE(matchesPattern("schule.gd", "*.GD"));
  EXPECT_TRUE(matchesPattern("SCHULE.GK", "*.G*"));
  EXPECT_TRUE(matchesPattern("S\xC4LE.PL", "s\xE4le.pl"));
  EXPECT_TRUE(matchesPattern("sMO.x", "s??.X"));
  EXPECT_TRUE(matchesPattern("README", "*.*"));
  EXPECT_FALSE(matchesPattern("SCHULE.PV", "*.PL"));
  EXPECT_FALSE(matchesPattern("sMON.x", "s??.x"));
  EXPECT_TRUE(matchesPattern("a.b.c", "*.c"));
  EXPECT_FALSE(matchesPattern("", "?"));
}

class ChooserDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("SCHULE.GD", "x");
    dir.write("alt.gp", "x");
    dir.write("notiz.txt", "x");
    dir.write(".versteckt.gd", "x");
    fs::create_directories(dir.path() / "Archiv");
  }
  std::string root() const { return dir.path().string() + "/"; }
  test::TempDir dir;
};

// The list: parent, directories in brackets, then the matching files; hidden files stay out.
TEST_F(ChooserDirectory, ListShowsParentDirectoriesAndMatchingFiles) {
  FileChooserModel model({"Grunddaten lesen", "R", "*.G*", ""}, root());
  EXPECT_EQ(model.entries(), (std::vector<std::string>{"[..]", "[Archiv]", "alt.gp", "SCHULE.GD"}));
  EXPECT_EQ(model.initialName(), "*.G*");
  ASSERT_FALSE(model.drives().empty());
  EXPECT_EQ(model.drives().front(), "[- / -]");

  EXPECT_TRUE(model.openEntry("[Archiv]"));
  EXPECT_EQ(model.directory(), root() + "Archiv/");
  EXPECT_EQ(model.entries(), std::vector<std::string>{"[..]"});
  EXPECT_TRUE(model.openEntry("[..]"));
  EXPECT_EQ(model.directory(), root());
  EXPECT_FALSE(model.openEntry("SCHULE.GD"));
}

// A typed wildcard becomes the pattern; a typed directory is entered; mode "R" wants the file.
TEST_F(ChooserDirectory, TypedNamesChangePatternDirectoryOrChooseAFile) {
  FileChooserModel model({"Textdateien", "R", "*.*", ""}, root());
  EXPECT_EQ(model.submit("*.TXT"), FileChooserModel::Outcome::PatternChanged);
  EXPECT_EQ(model.entries(), (std::vector<std::string>{"[..]", "[Archiv]", "notiz.txt"}));
  EXPECT_EQ(model.submit("FEHLT.GD"), FileChooserModel::Outcome::NotFound);
  EXPECT_EQ(model.submit("schule.gd"), FileChooserModel::Outcome::Accepted);
  EXPECT_EQ(model.chosenName(), root() + "SCHULE.GD");
  EXPECT_EQ(model.submit("Archiv"), FileChooserModel::Outcome::DirectoryChanged);
  EXPECT_EQ(model.submit(root() + "notiz.txt"), FileChooserModel::Outcome::Accepted);
  EXPECT_EQ(model.chosenName(), root() + "notiz.txt");
  EXPECT_EQ(model.submit("/gibt/es/nicht/x.gd"), FileChooserModel::Outcome::NotFound);
}

// Saving may name a new file; it is completed to the chooser's directory.
TEST_F(ChooserDirectory, WriteModeAcceptsNewNames) {
  FileChooserModel model({"Plan sichern", "W", "*.pl", "NEU.PL"}, root());
  EXPECT_EQ(model.initialName(), "NEU.PL");
  EXPECT_EQ(model.submit("NEU.PL"), FileChooserModel::Outcome::Accepted);
  EXPECT_EQ(model.chosenName(), root() + "NEU.PL");
}

}  // namespace
}  // namespace quort
