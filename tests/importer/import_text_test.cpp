#include "importer/import_text.h"

#include <gtest/gtest.h>

#include "importer/import_tables.h"
#include "importer/untis_file.h"

namespace quort {
namespace {

// Teacher codes: three letters and more become the external teacher, codes sorting
// before "A" (digits, "?", empty) become empty; umlauts are upper-cased on the way.
TEST(ImportText, TeacherCodesAreNormalisedToTwoCharactersOrTheExternalTeacher) {
  EXPECT_EQ(NormTeacher(UpperDos("ab")), "AB");
  EXPECT_EQ(NormTeacher(UpperDos("m\xFC")), "M\xDC");
  EXPECT_EQ(NormTeacher(UpperDos("M\xFCL FK03")), "~~");
  EXPECT_EQ(NormTeacher("MEY"), "~~");
  EXPECT_EQ(NormTeacher("?"), "");
  EXPECT_EQ(NormTeacher("1AB"), "");
  EXPECT_EQ(NormTeacher(""), "");
  EXPECT_EQ(UpperDos("\xE4\xF6\xFC\xE9\xF1\xE5\xE7\xDF"), "\xC4\xD6\xDC\xC9\xD1\xC5\xC7\xDF");
}

// Rooms: R101 and R201 both become R01; joined rooms count as their first one; blanks go.
TEST(ImportText, RoomNamesAreShortenedToFirstAndLastTwoCharacters) {
  EXPECT_EQ(roomCode("R101"), "R01");
  EXPECT_EQ(roomCode("R201"), "R01");
  EXPECT_EQ(roomCode("PHYS"), "PYS");
  EXPECT_EQ(roomCode("R12"), "R12");
  EXPECT_EQ(roomCode("CAD2~R001"), "CD2");
  EXPECT_EQ(roomCode("~R001"), "R01");
  EXPECT_EQ(roomCode("R 0.055"), "R55");
  EXPECT_EQ(roomCode(""), "");
  EXPECT_EQ(roomCode("~"), "");
}

TEST(ImportText, UpperSchoolYearGroupsAreRenamedToYearNumbers) {
  EXPECT_EQ(renameYearGroups("EF"), "10");
  EXPECT_EQ(renameYearGroups("Q1"), "11");
  EXPECT_EQ(renameYearGroups("Q2B"), "12B");
  EXPECT_EQ(renameYearGroups("5A"), "5A");
}

// Look-ups compare whole codes: "A" is not "AB", "R1" is not "R12", and an empty key
// (a teacher or room empty after normalisation) finds nothing even with empty entries.
TEST(ImportText, PrefixFindComparesCodesAtTheirFullWidthAndEmptyKeysMatchNothing) {
  const std::vector<std::string> teachers{"", "AB Abel", "A Adam", "~~ ausw\xE4rts"};
  EXPECT_EQ(PrefixFind(teachers, "A", 2), 2);
  EXPECT_EQ(PrefixFind(teachers, "AB", 2), 1);
  EXPECT_EQ(PrefixFind(teachers, "~~", 2), 3);
  EXPECT_EQ(PrefixFind(teachers, "", 2), 0);
  const std::vector<std::string> rooms{"", "R12 PH", "R1", ""};
  EXPECT_EQ(PrefixFind(rooms, "R1", 3), 2);
  EXPECT_EQ(PrefixFind(rooms, "", 3), 0);
  const std::vector<std::string> classes{"", "10AB", "5A BACHELOR"};
  EXPECT_EQ(PrefixFind(classes, "10A", 3), 1);
  EXPECT_EQ(PrefixFind(classes, "5A", 3), 2);
  EXPECT_EQ(PrefixFind(classes, "5", 3), 0);
}

// The same line arrives from schools in the three code pages; all read the same.
TEST(UntisFile, WindowsDosAndUtf8TextsAllBecomeWindowsText) {
  const std::string windows = "\"M\xDCL\",\"M\xFCller, J\xF6rg\"";
  EXPECT_EQ(untisTextToWindows(windows), windows);
  EXPECT_EQ(untisTextToWindows("\"M\x9AL\",\"M\x81ller, J\x94rg\""), windows);
  EXPECT_EQ(untisTextToWindows("\xEF\xBB\xBF\"M\xC3\x9CL\",\"M\xC3\xBCller, J\xC3\xB6rg\""), windows);
  EXPECT_EQ(untisTextToWindows("E-WERKST\xEF\xBF\xBDTTE"), "E-WERKST?TTE");
}

// Quoted fields keep their commas (as ";", which our files can carry), short lines
// get empty fields, long ones lose the rest.
TEST(UntisFile, LinesGiveExactlyTheFieldsAskedFor) {
  EXPECT_EQ(splitUntisLine("12,\"5A\",  \"M\xDCL\",\"MA\"", 5), (UntisRecord{"12", "5A", "M\xDCL", "MA", ""}));
  EXPECT_EQ(splitUntisLine("\"Doe, John\",x\"y,3,4", 2), (UntisRecord{"Doe; John", "x'y"}));
  EXPECT_EQ(splitUntisLine("", 2), (UntisRecord{"", ""}));
  EXPECT_EQ(splitUntisLine("\"open quote, to the end", 2), (UntisRecord{"open quote; to the end", ""}));
}

}  // namespace
}  // namespace quort
