#include "importer/base_data_import.h"

#include <gtest/gtest.h>

#include <sstream>

#include "importer/answering_console.h"
#include "importer/import_tables.h"
#include "importer/importer_test_support.h"
#include "importer/kivo_list.h"

namespace quort {
namespace {

using test::readFile;
using test::TempDir;

// A small export written with LF lines, as many repositories keep them.
class BaseDataImport : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("GPU004.TXT",
              "\"AB\",\"Abel Anna\"\n\"ab\",\"Doppelt\"\n\"A\",\"Adam\"\n\"MEY\",\"Meyer\"\n\"?\",\"Niemand\"\n");
    dir.write("GPU005.TXT", "\"R101\",\"Raum\"\n\"R201\",\"Raum\"\n\"PH1\"\n\"R102\"\n\"\"\n");
    dir.write("GPU006.TXT",
              "\"PH\",\"Physik\",,\"PH1\"\n\"Ch\",\"Chemie\",,\"PH1\"\n\"PHX\",\"Doppelt\"\n\"010\",\"Zahl\"\n"
              "\"M\",\"\",,\n");
    dir.write("GPU003.TXT", "\"10A\",\"Klasse 10a\",,\"R102\"\n\"5B\",,,\"R101\"\n\"5A\",,,\"PH1\"\n\"Q1\"\n");
    dir.write("GPU002.TXT", "1,2\n2,2\n");
    console.setAnswer("Tageszahl", "5");
  }

  ImportOutcome run(const std::string& name = "SCHULE") {
    return ImportBaseData(tables, console, {dir.path().string(), dir.file(name)});
  }
  std::string written() const { return readFile(dir.file("SCHULE.GD")); }

  TempDir dir;
  std::ostringstream out;
  AnsweringConsole console{out};
  ImportTables tables;
};

// Teachers: "~~ auswärts" first; "MEY" folds into it, "?" is dropped, "ab" repeats AB,
// and the one-letter "A" is its own teacher. Rooms: R101 and R201 are one room R01.
// Subject rooms: PH owns PH1, CH shares it by naming PH. Home rooms go to classes only
// when no subject owns the room. Q1 keeps its name.
TEST_F(BaseDataImport, ListsFollowTheNormalisationRules) {
  ASSERT_TRUE(run().succeeded()) << out.str();
  EXPECT_EQ(written(),
            "361,4,4,4,3\r\n"
            "10A 10A\r\n5B\r\n5A\r\nQ1\r\n"
            "~~ ausw\xE4rts\r\nAB Abel_Anna\r\nA Adam\r\n"
            "PH Physik\r\nCH Chemie PH\r\nM  M\r\n"
            "R01 5B\r\nPH1 PH\r\nR02 10A\r\n"
            "20,4,1,20,2,2,1,100,6,4,5,1\r\n");
  EXPECT_EQ(out.str().find("Wochenwechsel"), std::string::npos);
  EXPECT_TRUE(console.saw("Grunddaten erzeugt!"));
}

// A lesson number twice in GPU002 asks for week alternation; with "J" the periods and
// the lunch break count double (9 x 2 is more than 10, so 10), and the header has bit 11.
TEST_F(BaseDataImport, RepeatedLessonNumbersAskForWeekAlternation) {
  dir.write("GPU002.TXT", "1,2\n1,2\n");
  console.setAnswer("Wochenwechsel", "j");
  console.setAnswer("Mittagspause", "4");
  ASSERT_TRUE(run().succeeded());
  EXPECT_NE(out.str().find("Wochenwechsel: J\n"), std::string::npos);
  EXPECT_EQ(written().substr(0, written().find(',')), std::to_string(256 * (8 + 1) + 16 * 7 + 10));
}

// Sorting puts classes in year order (Q1 has none: year 0) and teachers in byte order,
// the external one last.
TEST_F(BaseDataImport, SortingOrdersClassesByYearAndTeachersByText) {
  console.setAnswer("Daten sortieren", "J");
  ASSERT_TRUE(run().succeeded());
  EXPECT_NE(written().find("\r\nQ1\r\n5A\r\n5B\r\n10A 10A\r\nA Adam\r\nAB Abel_Anna\r\n~~ ausw\xE4rts\r\n"),
            std::string::npos)
      << written();
}

// More subjects than the planner takes: no file, and the user is told why.
TEST_F(BaseDataImport, DataBeyondThePlannersCapacityWriteNoFile) {
  std::string subjects;
  for (char a = 'A'; a <= 'C'; ++a) {
    for (char b = 'A'; b <= 'R'; ++b) subjects += std::string("\"") + a + b + "\",\"Fach\"\r\n";
  }
  dir.write("GPU006.TXT", subjects);
  const ImportOutcome outcome = run();
  EXPECT_FALSE(outcome.written);
  EXPECT_TRUE(
      console.saw("Zu viele F\xE4"
                  "cher f\xFCr den Planer: 54 (h\xF6"
                  "chstens 50)!"));
  EXPECT_TRUE(console.saw("Keine Grunddaten geschrieben!"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("SCHULE.GD")));
}

// A missing file is reported and the others are still read; the exit is a failure.
// Without classes nothing is written, and a name that does not sort after "A" is refused.
TEST_F(BaseDataImport, MissingFilesAreReportedAndTheRestIsRead) {
  std::filesystem::remove(dir.file("GPU004.TXT"));
  ImportOutcome outcome = run();
  EXPECT_TRUE(outcome.written);
  EXPECT_TRUE(outcome.fileFailed);
  EXPECT_TRUE(console.saw("Untis-Datei fehlerhaft!"));
  EXPECT_NE(written().find("\r\n~~ ausw\xE4rts\r\nPH Physik"), std::string::npos);

  EXPECT_FALSE(run("A").written);
  EXPECT_TRUE(console.saw("Schreibfehler! Datenverlust!"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("A.GD")));

  std::filesystem::remove(dir.file("GPU003.TXT"));
  EXPECT_FALSE(run("NEU").written);
  EXPECT_TRUE(console.saw("Keine Klassen in den Untis-Dateien!"));
}

TEST(KivoIni, CommentsAreSkippedAndEqualsSignsRewritten) {
  TempDir dir;
  std::vector<std::string> lines;
  EXPECT_FALSE(LoadKivoIni(dir.file("kivo.ini"), lines));
  dir.write("kivo.ini", "// Umsetzung\nD=DE\r\nM=+MA=1\n");
  EXPECT_TRUE(LoadKivoIni(dir.file("kivo.ini"), lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"D.DE", "M+MA.1"}));
}

}  // namespace
}  // namespace quort
