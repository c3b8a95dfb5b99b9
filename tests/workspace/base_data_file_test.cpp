#include "workspace/base_data_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/base_data_format.h"
#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

using test::readFile;
using test::TempDir;

// A small school: 2 days... written the way the program writes it.
std::string smallSchool(const std::string& tail = "20,4,1,20,2,2,1,100,6,4,5,1\r\n") {
  return "362,3,4,6,6\r\n"
         "5A MR\r\n"
         "13 KL >13\r\n"
         "6B HB\r\n"
         "MR- M\xFCller 0 25.5\r\n"
         "HB+ Hansberg 6 25.5\r\n"
         "KL Klein 0 12\r\n"
         "CH Chemie 1 D >CH\r\n"
         "NW Natur CH T\r\n"
         "SP Sport 0+2 D\r\n"
         "XX Selbst XX\r\n"
         "D Deutsch\r\n"
         "CH1 CH\r\n"
         "CH2 CH\r\n"
         "101 5A\r\n"
         "A01\r\n"
         "310 #\r\n"
         "LAG *alt\r\n" +
         tail;
}

struct Loaded {
  Workspace ws;
  ScriptedUi ui;
  LoadStatus status;
  explicit Loaded(const std::string& name) : status(LoadBaseData(ws, ui, name)) {}
};

// A freshly written file reads back with every derived field the planner relies on.
TEST(BaseDataFile, LoadingDerivesCodesWeightsRoomRulesAndRings) {
  TempDir dir;
  Loaded school(dir.write("SCHULE.GD", smallSchool()));
  ASSERT_EQ(school.status, LoadStatus::Loaded);
  const BaseData& base = school.ws.base;
  EXPECT_EQ(base.days, 5);
  EXPECT_EQ(base.periodsPerDay, 10);
  EXPECT_EQ(base.afternoonStart, 6);
  EXPECT_TRUE(base.hasYear13);
  EXPECT_EQ(base.classes[1].code, "5A ");
  EXPECT_EQ(base.teachers[1].code, "MR");
  EXPECT_FLOAT_EQ(base.teachers[1].weight, 0.75F);
  EXPECT_FLOAT_EQ(base.teachers[2].weight, 1.25F);
  EXPECT_EQ(base.teachers[4].code, "* ");
  EXPECT_EQ(base.subjects[6].line, "*");

  EXPECT_EQ(base.subjects[1].roomSpec, 1);
  EXPECT_EQ(base.subjects[1].lessonKind, 1);
  EXPECT_EQ(base.subjects[2].roomSpec, -1);
  EXPECT_EQ(base.subjects[2].lessonKind, 2);
  EXPECT_EQ(base.subjects[3].roomSpec, 2 * 256 + 256);  // "0+2"
  EXPECT_EQ(base.subjects[4].roomSpec, 0);              // names itself
  EXPECT_EQ(base.subjects[5].roomSpec, 0);

  // Rooms are pushed in front of their chains; the chemistry ring is closed and NW shares it.
  EXPECT_EQ(base.subjects[1].firstRoom, 2);
  EXPECT_EQ(base.rooms[2].nextRoom, 1);
  EXPECT_EQ(base.rooms[1].nextRoom, 2);
  EXPECT_EQ(base.subjects[2].firstRoom, 2);
  EXPECT_EQ(base.rooms[1].owner, -1);
  EXPECT_EQ(base.rooms[3].owner, 1);
  EXPECT_EQ(base.classes[1].homeRoom, 3);
  // The general pool: home room, free and locked rooms, but not the one marked "*".
  EXPECT_EQ(base.subjects[0].firstRoom, 5);
  EXPECT_EQ(base.rooms[5].nextRoom, 4);
  EXPECT_EQ(base.rooms[4].nextRoom, 3);
  EXPECT_EQ(base.rooms[3].nextRoom, 0);
  EXPECT_EQ(base.rooms[6].nextRoom, 0);
}

// Loading and saving again must give the same bytes, or schools lose data silently.
TEST(BaseDataFile, SavingReproducesTheLoadedFileByteForByte) {
  TempDir dir;
  for (const std::string& source : {test::demoFile(), dir.write("KLEIN.GD", smallSchool())}) {
    Loaded school(source);
    ASSERT_EQ(school.status, LoadStatus::Loaded) << source;
    ASSERT_EQ(SaveBaseData(school.ws, school.ui, dir.file("KOPIE.GD")), 0);
    EXPECT_EQ(readFile(dir.file("KOPIE.GD")), readFile(source)) << source;
  }
}

// Options may be missing entirely (defaults, silently) or end early ("Daten unvollständig!").
TEST(BaseDataFile, OptionsLineIsOptionalButAnIncompleteOneIsReported) {
  TempDir dir;
  Loaded without(dir.write("OHNE.GD", smallSchool("")));
  EXPECT_EQ(without.status, LoadStatus::Loaded);
  EXPECT_TRUE(without.ui.records().empty());
  EXPECT_EQ(without.ws.base.planOptions.value(9), 100);

  Loaded partial(dir.write("TEIL.GD", smallSchool("50,3,2\r\n")));
  EXPECT_EQ(partial.status, LoadStatus::Loaded);
  EXPECT_TRUE(partial.ui.saw("Daten unvollst\xE4ndig!"));
  EXPECT_EQ(partial.ws.base.planOptions.value(7), 50);
  EXPECT_EQ(partial.ws.base.planOptions.value(2), 3);
  EXPECT_EQ(partial.ws.base.planOptions.value(3), 2);
  EXPECT_EQ(partial.ws.base.planOptions.value(1), 20);

  Loaded eleven(dir.write("ELF.GD", smallSchool(".5,4,1,20,2,2,1,300,7,4,5\r\n")));
  EXPECT_TRUE(eleven.ui.records().empty());
  EXPECT_FLOAT_EQ(eleven.ws.base.planOptions.weights[6], 0.5F);
  EXPECT_EQ(eleven.ws.base.planOptions.value(9), 300);
  EXPECT_EQ(eleven.ws.base.planOptions.value(8), 7);
  EXPECT_EQ(eleven.ws.base.planOptions.value(12), 1);
}

// An afternoon start outside the day falls back to period 3.
TEST(BaseDataFile, AfternoonStartOutsideTheDayBecomesThree) {
  TempDir dir;
  std::string text = smallSchool();
  text.replace(0, 3, std::to_string(256 + 9));  // afternoon 0, 9 periods
  Loaded school(dir.write("NEUN.GD", text));
  ASSERT_EQ(school.status, LoadStatus::Loaded);
  EXPECT_EQ(school.ws.base.periodsPerDay, 9);
  EXPECT_EQ(school.ws.base.afternoonStart, 3);
}

// Deleted teachers and subjects are written as placeholders so later indexes stay put.
TEST(BaseDataFile, DeletedEntriesKeepTheIndexesOfLaterOnes) {
  TempDir dir;
  Loaded school(dir.write("SCHULE.GD", smallSchool()));
  ASSERT_EQ(school.status, LoadStatus::Loaded);
  school.ws.base.teachers[1].line = "*MR";
  school.ws.base.subjects[2].line = "*NW";
  ASSERT_EQ(SaveBaseData(school.ws, school.ui, dir.file("NEU")), 0);
  const std::string written = readFile(dir.file("NEU.GD"));
  EXPECT_NE(written.find("\r\n~@\r\nHB+"), std::string::npos);
  EXPECT_NE(written.find("\r\n~A\r\nSP "), std::string::npos);

  Loaded again(dir.file("NEU.GD"));
  ASSERT_EQ(again.status, LoadStatus::Loaded);
  EXPECT_EQ(again.ws.base.teachers[1].code, "~ ");
  EXPECT_EQ(again.ws.base.teachers[2].code, "HB");
  EXPECT_EQ(again.ws.base.nTeachers(), 4);
  EXPECT_EQ(again.ws.base.subjects[3].code, "SP");
}

// Bad names are refused before anything is written.
TEST(BaseDataFile, SavingUnderANameThatDoesNotSortAfterAIsRefused) {
  TempDir dir;
  Loaded school(test::demoFile());
  ASSERT_EQ(school.status, LoadStatus::Loaded);
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  for (const std::string name : {"A", "", "1SCHULE", "A.GD"}) {
    EXPECT_EQ(SaveBaseData(school.ws, school.ui, name), -1) << name;
    EXPECT_TRUE(school.ui.saw("Dateifehler " + name + "! Datenverlust!")) << name;
  }
  EXPECT_EQ(SaveBaseData(school.ws, school.ui, "\xC4RA"), 0);
  std::filesystem::current_path(cwd);
  EXPECT_FALSE(std::filesystem::exists(dir.file("A.GD")));
  EXPECT_FALSE(std::filesystem::exists(dir.file(".GD")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("\xC3\x84RA.GD")));  // stored under its UTF-8 name
}

// A line the file cannot hold (a comma splits it on reading) is refused, not written.
TEST(BaseDataFile, SavingRefusesLinesWithCommas) {
  TempDir dir;
  Loaded school(test::demoFile());
  school.ws.base.teachers[3].line = "XY Meier,Schulze 0 25";
  EXPECT_EQ(SaveBaseData(school.ws, school.ui, dir.file("KOMMA")), -1);
  EXPECT_FALSE(std::filesystem::exists(dir.file("KOMMA.GD")));
}

// Plan names, other letter cases and directories with "_" all lead to the right file.
TEST(BaseDataFile, PlanNamesAndLetterCaseFindTheBaseDataFile) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "mein_ordner.v2");
  const std::string folder = dir.file("mein_ordner.v2");
  std::filesystem::copy_file(test::demoFile(), folder + "/schule.gd");
  Loaded plan(folder + "/SCHULE_3.PL");
  EXPECT_EQ(plan.status, LoadStatus::Loaded);
  EXPECT_EQ(plan.ws.base.baseDataName, "SCHULE");
  Loaded upper(folder + "/SCHULE.GD");
  EXPECT_EQ(upper.status, LoadStatus::Loaded);
}

// A broken file asks whether to enter new data; the old tables stay as they were.
TEST(BaseDataFile, DefectiveFileOffersNewDataOrEndsTheProgram) {
  TempDir dir;
  std::string text = smallSchool();
  text.replace(0, 11, "362,3,0,6,6");
  const std::string broken = dir.write("KAPUTT.GD", text);

  Loaded school(test::demoFile());
  school.ui.queueAnswer("Ja");
  EXPECT_EQ(LoadBaseData(school.ws, school.ui, broken), LoadStatus::EnterNewData);
  EXPECT_TRUE(school.ui.saw("Keine oder defekte Grunddaten!\r\rNeue Daten aufnehmen?"));
  EXPECT_EQ(school.ws.base.nClasses(), 36);

  EXPECT_EQ(LoadBaseData(school.ws, school.ui, broken), LoadStatus::EndProgram);
  EXPECT_TRUE(school.ui.saw("Programmabbruch!"));
  EXPECT_EQ(LoadBaseData(school.ws, school.ui, dir.file("FEHLT.GD")), LoadStatus::EndProgram);
}

// Counts beyond the tables' capacity are refused with a message of their own.
TEST(BaseDataFile, TooManyEntriesAreRefused) {
  TempDir dir;
  std::string text = smallSchool();
  text.replace(0, 11, "362,101,4,6,6");
  Loaded school(dir.write("GROSS.GD", text));
  EXPECT_EQ(school.status, LoadStatus::EndProgram);
  ASSERT_FALSE(school.ui.records().empty());
  EXPECT_NE(school.ui.records()[0].text.find("Zu viele"), std::string::npos);
}

// Subjects that name each other's rooms must not send the loader round in circles.
TEST(BaseDataFile, MutualRoomReferencesMergeChainsAndTerminate) {
  BaseData base;
  const std::string text = "362,1,1,3,3\r\n5A\r\nAA Eins BB\r\nBB Zwei AA\r\nR1 AA\r\nR2 BB\r\nR3 BB\r\n";
  ASSERT_EQ(parseBaseDataFile(text, base).outcome, ParseOutcome::Ok);
  EXPECT_EQ(base.subjects[1].roomSpec, -2);
  EXPECT_EQ(base.subjects[2].roomSpec, -1);
  for (int s = 1; s <= 2; ++s) {
    int room = base.subjects[s].firstRoom;
    for (int step = 0; step < 10; ++step) {
      ASSERT_GE(room, 0);
      ASSERT_LE(room, 3);
      room = base.rooms[room].nextRoom;
    }
  }
}

// A negative room count refers to a subject by its index; one that names no subject
// (far below, or just past the list) refuses the file instead of linking into nowhere.
TEST(BaseDataFile, NegativeRoomCountsBeyondTheSubjectsAreDefective) {
  for (const std::string count : {"-32768", "-9", "-6", "-3+-1"}) {
    std::string text = smallSchool();
    text.replace(text.find("CH Chemie 1 D"), 13, "CH Chemie " + count + " D");
    BaseData base;
    EXPECT_EQ(parseBaseDataFile(text, base).outcome, ParseOutcome::Defective) << count;
  }
  // A count that names an existing subject is a reference, as always.
  std::string text = smallSchool();
  text.replace(text.find("CH Chemie 1 D"), 13, "CH Chemie -3 D");
  BaseData base;
  ASSERT_EQ(parseBaseDataFile(text, base).outcome, ParseOutcome::Ok);
  EXPECT_EQ(base.subjects[1].roomSpec, -3);

  TempDir dir;
  text = smallSchool();
  text.replace(text.find("CH Chemie 1 D"), 13, "CH Chemie -32768 D");
  Loaded school(dir.write("MINUS.GD", text));
  EXPECT_EQ(school.status, LoadStatus::EndProgram);
  EXPECT_TRUE(school.ui.saw("Keine oder defekte Grunddaten!\r\rNeue Daten aufnehmen?"));
}

// A name that finds no file says which file it looked for before it offers new data.
TEST(BaseDataFile, MissingFileIsNamedBeforeTheQuestion) {
  TempDir dir;
  Loaded school(dir.file("FEHLT"));
  EXPECT_EQ(school.status, LoadStatus::EndProgram);
  ASSERT_GE(school.ui.records().size(), 2U);
  EXPECT_EQ(school.ui.records()[0].text, "Datei nicht gefunden: " + dir.file("FEHLT.GD"));
  EXPECT_EQ(school.ui.records()[1].text, "Keine oder defekte Grunddaten!\r\rNeue Daten aufnehmen?");

  Loaded older(dir.file("ALT.GP"));
  EXPECT_TRUE(older.ui.saw("Datei nicht gefunden: " + dir.file("ALT.GP")));
  // A file that exists but is damaged is not called missing.
  Loaded damaged(dir.write("LEER.GD", ""));
  EXPECT_FALSE(damaged.ui.records().empty());
  EXPECT_EQ(damaged.ui.records()[0].text.find("Datei nicht gefunden"), std::string::npos);
}

// The older pair: numbers for the room rules in .GP, the full lines in .GK.
TEST(BaseDataFile, OlderPairIsReadAndSavedAsGd) {
  TempDir dir;
  dir.write("ALT.GP",
            "362,2,3,3\r\n5A MR\r\n6B HB\r\nMR\r\nHB\r\n*\r\n"
            "CH Chemie\r\n2,2\r\nD Deutsch\r\n0,1\r\n*\r\n0,1\r\n"
            "3\r\nCH1\r\n2\r\nCH2\r\n0\r\n101\r\n0\r\n"
            "3,0\r\n3,1,0,0\r\n");
  dir.write("ALT.GK", "MRM\xFCller 0 25\r\nHBHansberg 6 25\r\n*\r\nCHChemie\r\nD Deutsch\r\n*\r\n");
  Loaded school(dir.file("ALT.GP"));
  ASSERT_EQ(school.status, LoadStatus::Loaded);
  const BaseData& base = school.ws.base;
  EXPECT_TRUE(base.legacyBaseData);
  EXPECT_EQ(base.teachers[1].line, "MR M\xFCller 0 25");
  EXPECT_EQ(base.subjects[1].line, "CH Chemie 2 D");
  EXPECT_EQ(base.subjects[1].lessonKind, 1);
  EXPECT_EQ(base.classes[1].homeRoom, 3);
  EXPECT_EQ(base.rooms[3].line, "101 5A");
  EXPECT_EQ(base.rooms[1].line, "CH1 CH");
  EXPECT_EQ(base.rooms[2].owner, -1);

  ASSERT_EQ(SaveBaseData(school.ws, school.ui, dir.file("NEU")), 0);
  Loaded converted(dir.file("NEU.GD"));
  ASSERT_EQ(converted.status, LoadStatus::Loaded);
  EXPECT_EQ(converted.ws.base.subjects[1].roomSpec, 2);
  EXPECT_EQ(converted.ws.base.subjects[1].lessonKind, 1);
  EXPECT_EQ(converted.ws.base.classes[1].homeRoom, 3);
}

}  // namespace
}  // namespace quort
