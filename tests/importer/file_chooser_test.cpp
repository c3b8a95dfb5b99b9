#include <gtest/gtest.h>

#include "importer/file_chooser_model.h"
#include "importer/importer_test_support.h"

namespace quort {
namespace {

using test::TempDir;

// The chooser lists the root, "..", the subdirectories with "/" and the files matching
// the pattern in any letter case; typed directories and patterns change the list, any
// other name is chosen even when it does not exist yet.
TEST(FileChooser, ListsAndUnderstandsTypedNamesLikeTheConsoleShowsThem) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "untis");
  std::filesystem::create_directories(dir.path() / ".versteckt");
  for (const char* name : {"gpu001.txt", "GPU002.TXT", "SCHULE.GD", "notiz.txt"}) dir.write(name, "");
  const std::string root = dir.path().string() + "/";

  ConsoleFileChooserModel chooser(root);
  chooser.start("GPU*.TXT");
  EXPECT_EQ(chooser.entries(), (std::vector<std::string>{"/", "..", "untis/", "gpu001.txt", "GPU002.TXT"}));

  EXPECT_EQ(chooser.enter(""), std::nullopt);
  EXPECT_EQ(chooser.enter("*.gd"), std::nullopt);
  EXPECT_EQ(chooser.entries().back(), "SCHULE.GD");
  EXPECT_EQ(chooser.enter("untis"), std::nullopt);
  EXPECT_EQ(chooser.directory(), root + "untis/");
  EXPECT_EQ(chooser.enter("..\\"), std::nullopt);
  EXPECT_EQ(chooser.directory(), root);
  EXPECT_EQ(chooser.enter(" NEU.GD "), root + "NEU.GD");

  chooser.start(root + "untis/*.GD");
  EXPECT_EQ(chooser.directory(), root + "untis/");
  EXPECT_EQ(chooser.pattern(), "*.GD");
  EXPECT_EQ(chooser.enter("/"), std::nullopt);
  EXPECT_EQ(chooser.directory(), "/");
  EXPECT_EQ(chooser.entries().at(0), "/");
  EXPECT_NE(chooser.entries().at(1), "..");
}

}  // namespace
}  // namespace quort
