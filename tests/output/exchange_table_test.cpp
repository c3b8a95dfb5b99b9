#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/plan_grids.h"
#include "data/plan_records.h"
#include "output/exchange_export.h"
#include "output/exchange_import.h"
#include "support/mutations.h"
#include "support/temp_dir.h"
#include "timetable/demo_school.h"
#include "timetable/lesson_grid.h"
#include "workspace/plan_file.h"

namespace quort {

namespace {

// The class grid written with codes, so that plans on differently numbered base data
// compare: one line per taught cell.
std::vector<std::string> timetableByCodes(const BaseData& base, const PlanTables& plan) {
  std::vector<std::string> lines;
  for (int c = 1; c <= base.nClasses(); ++c) {
    for (int day = 1; day <= base.days; ++day) {
      for (int period = 1; period <= base.periodsPerDay; ++period) {
        const uint16_t lesson = plan.timetable.lessonWord.at(c, period, day);
        if (LessonWord::teacher(lesson) == 0) continue;
        const uint16_t roomWord = plan.timetable.roomWord.at(c, period, day);
        const int room = RoomWord::room(roomWord);
        lines.push_back(base.classes[c].code + " " + std::to_string(day) + "/" + std::to_string(period) + " " +
                        base.teachers[LessonWord::teacher(lesson)].code + " " +
                        base.subjects[LessonWord::subject(lesson)].code + " " +
                        (room > 0 ? base.rooms[room].code : "---") + (RoomWord::coupling(roomWord) ? " K" : ""));
      }
    }
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

// The demo school after "Autom.Setzen", as the exchange is meant for finished plans.
struct GeneratedDemo : test::DemoSchool {
  GeneratedDemo() {
    ui.queueAnswer("Auswerten");
    app.typeCommand("^\r");
  }
};

struct Imported {
  BaseData base;
  PlanTables plan;
};

Imported importTable(const std::string& text, int offset = 0) {
  ExchangeTable table;
  EXPECT_EQ(readExchangeTable(text, offset, table), ExchangeReadStatus::Ok);
  Imported result;
  std::string problem;
  EXPECT_TRUE(buildExchangeBaseData(table, offset, result.base, problem)) << problem;
  EXPECT_TRUE(buildExchangePlan(table, result.base, result.plan, problem)) << problem;
  return result;
}

}  // namespace

// The generated demo plan, exported and imported again, has every lesson in its place,
// and its grids agree with the class grid.
TEST(ExchangeTable, DemoPlanSurvivesExportAndImport) {
  GeneratedDemo demo;
  ASSERT_GT(timetableByCodes(demo.ws.base, demo.ws.plan).size(), 100U);
  for (const char separator : {',', ';'}) {
    const std::string text = formatExchangeTable(demo.ws.base, demo.ws.plan, {separator});
    const Imported back = importTable(text);
    EXPECT_EQ(timetableByCodes(back.base, back.plan), timetableByCodes(demo.ws.base, demo.ws.plan));
    EXPECT_EQ(formatExchangeTable(back.base, back.plan, {separator}), text);
    EXPECT_TRUE(derivedGridDifferences(back.base, back.plan).empty());
  }
}

// The menu's way: export to a file, import into new base data and a new plan under a new
// name, open that plan: the same timetable, and nothing in the saved files disagrees.
TEST(ExchangeTable, ImportedPlanOpensWithTheSameTimetable) {
  test::InTempDirectory here;
  GeneratedDemo demo;
  demo.ui.queueAnswer("plan.txt");
  ASSERT_TRUE(ExportExchange(demo.ws, demo.ui));
  const std::vector<std::string> before = timetableByCodes(demo.ws.base, demo.ws.plan);
  for (const char* answer : {"plan.txt", "0", "NEU", "Ja", "NEU"}) demo.ui.queueAnswer(answer);
  ASSERT_TRUE(ImportExchange(demo.ws, demo.ui, ExchangeImportMode::BaseData));

  test::DemoSchool opened;
  opened.app.loadBase("NEU.GD");
  ASSERT_TRUE(opened.app.openPlanByName("NEU"));
  EXPECT_EQ(timetableByCodes(opened.ws.base, opened.ws.plan), before);
  EXPECT_TRUE(checkPlanConsistency(opened.ws).empty());
}

// A hand-made plan pins the exact bytes: coupled courses carry number and suffix, a cell
// without room gets an empty field, class locks stay out.
TEST(ExchangeTable, ExportWritesCodesCouplingsAndNoLocks) {
  test::DemoSchool demo;
  Workspace& ws = demo.ws;
  ws.plan.reset(ws.base);
  const int c11a = demo.schoolClass("11A"), c11b = demo.schoolClass("11B");
  ws.plan.couplings.push_back(makeCouplingMember(demo.teacher("KG"), c11a, demo.subject("D"), '1') +
                              makeCouplingMember(demo.teacher("IH"), c11b, demo.subject("M"), '1'));
  auto& grid = ws.plan.timetable;
  grid.lessonWord.at(c11a, 2, 1) = static_cast<uint16_t>(demo.teacher("KG") * 256 + 128 + demo.subject("D"));
  grid.roomWord.at(c11a, 2, 1) = static_cast<uint16_t>(256 + demo.room("101"));
  grid.lessonWord.at(c11b, 2, 1) = static_cast<uint16_t>(demo.teacher("IH") * 256 + 128 + demo.subject("M"));
  grid.roomWord.at(c11b, 2, 1) = 256;
  grid.lessonWord.at(demo.schoolClass("5A"), 3, 2) =
      static_cast<uint16_t>(demo.teacher("MR") * 256 + demo.subject("D"));
  grid.lessonWord.at(demo.schoolClass("5B"), 3, 2) = classLockWord(ws.base);
  EXPECT_EQ(formatExchangeTable(ws.base, ws.plan),
            "\"Nummer\",\"Klasse\",\"Lehrer\",\"Fach\",\"Raum\",\"Tag\",\"Stunde\"\r\n"
            "1,\"11A\",\"KG\",\"D 1\",\"101\",1,2\r\n"
            "1,\"11B\",\"IH\",\"M 1\",\"\",1,2\r\n"
            "0,\"5A\",\"MR\",\"D\",\"\",2,3\r\n");
  const Imported back = importTable(formatExchangeTable(ws.base, ws.plan, {';'}));
  ASSERT_EQ(back.plan.nCouplings(), 1);
  EXPECT_EQ(timetableByCodes(back.base, back.plan), std::vector<std::string>({
                                                        "11A 1/2 KG D  101 K",
                                                        "11B 1/2 IH M  --- K",
                                                        "5A  2/3 MR D  ---",
                                                    }));
}

// A spreadsheet may quote only where needed and put the separator inside quotes; an
// offset moves later periods on by one and adds a period; two courses of one class in a
// coupling get letter classes of their own.
TEST(ExchangeTable, ImportReadsSpreadsheetVariants) {
  const Imported back = importTable(
      "Bemerkung;Nummer;Klasse;Lehrer;Fach;Raum;Tag;Stunde\r\n"
      "\"a;b\";3;\"11\";ab;\"D 1\";\"R 1\";1;5\n"
      ";3;11;CD;M 1;;1;5\r\n"
      "\"\"\"x\"\"\";;5a;ab;d;;2;1\r\n"
      "\r\n",
      3);
  EXPECT_EQ(back.base.periodsPerDay, 6);
  EXPECT_EQ(back.base.days, 2);
  EXPECT_EQ(back.base.nClasses(), 3);
  EXPECT_EQ(back.base.classes[1].code, "5A ");
  EXPECT_EQ(back.base.teachers.back().line, "*");
  EXPECT_EQ(back.base.subjects.back().line, "*");
  EXPECT_EQ(timetableByCodes(back.base, back.plan), std::vector<std::string>({
                                                        "11A 1/6 AB D  R1  K",
                                                        "11B 1/6 CD M  --- K",
                                                        "5A  2/1 AB D  ---",
                                                    }));
}

// Tables the planner cannot hold are refused before anything is built.
TEST(ExchangeTable, ImportRefusesWhatThePlannerCannotHold) {
  const std::string header = "\"Nummer\",\"Klasse\",\"Lehrer\",\"Fach\",\"Raum\",\"Tag\",\"Stunde\"\r\n";
  ExchangeTable table;
  EXPECT_EQ(readExchangeTable("\"Klasse\",\"Fach\"\r\n0,\"5A\"\r\n", 0, table), ExchangeReadStatus::MissingColumns);
  EXPECT_EQ(readExchangeTable(header, 0, table), ExchangeReadStatus::NoRows);
  const auto refused = [&](const std::string& rows, int offset = 0) {
    ExchangeTable t;
    if (readExchangeTable(header + rows, offset, t) != ExchangeReadStatus::Ok) return true;
    BaseData base;
    std::string problem;
    return !buildExchangeBaseData(t, offset, base, problem);
  };
  EXPECT_TRUE(refused("0,\"5A\",\"AB\",\"D\",\"\",7,1\r\n"));
  EXPECT_TRUE(refused("0,\"5A\",\"AB\",\"D\",\"\",1,10\r\n", 3));
  EXPECT_FALSE(refused("0,\"5A\",\"AB\",\"D\",\"\",1,10\r\n"));
  std::string manySubjects;
  for (int s = 0; s < 51; ++s) {
    manySubjects += "0,\"5A\",\"AB\",\"" +
                    std::string{static_cast<char>('A' + s / 26), static_cast<char>('A' + s % 26)} + "\",\"\",1,1\r\n";
  }
  EXPECT_TRUE(refused(manySubjects));
  std::string manyCouplings;
  for (int k = 1; k <= 101; ++k) {
    manyCouplings += std::to_string(k) + ",\"5A\",\"AB\",\"D1\",\"\",1,1\r\n" + std::to_string(k) +
                     ",\"5B\",\"CD\",\"M1\",\"\",1,1\r\n";
  }
  ExchangeTable t;
  ASSERT_EQ(readExchangeTable(header + manyCouplings, 0, t), ExchangeReadStatus::Ok);
  BaseData base;
  PlanTables plan;
  std::string problem;
  ASSERT_TRUE(buildExchangeBaseData(t, 0, base, problem));
  EXPECT_FALSE(buildExchangePlan(t, base, plan, problem));
  EXPECT_EQ(problem,
            "H\xF6"
            "chstzahlen \xFC"
            "berschritten! Abbruch!");
}

// Python's csv module, which reads what spreadsheets read, sees seven columns in every
// row and the header names, with either separator.
TEST(ExchangeTable, PythonCsvReadsTheTable) {
  if (std::system("/usr/bin/python3 -c pass") != 0) GTEST_SKIP() << "no /usr/bin/python3";
  GeneratedDemo demo;
  test::TempDir dir;
  for (const char separator : {',', ';'}) {
    const std::string file = dir.write("plan.txt", formatExchangeTable(demo.ws.base, demo.ws.plan, {separator}));
    const std::string script = dir.write(
        "check.py", std::string("import csv,sys\n"
                                "rows=list(csv.reader(open(sys.argv[1],newline='',encoding='cp850'),delimiter='") +
                        separator +
                        "'))\n"
                        "assert rows[0]==['Nummer','Klasse','Lehrer','Fach','Raum','Tag','Stunde'],rows[0]\n"
                        "assert len(rows)>100\n"
                        "for r in rows[1:]:\n"
                        "  assert len(r)==7,r\n"
                        "  int(r[0]);assert 1<=int(r[5])<=6;assert int(r[6])>=1\n");
    EXPECT_EQ(std::system(("/usr/bin/python3 " + script + " " + file).c_str()), 0) << separator;
  }
}

// Damaged tables never crash the import, and what it builds is either refused or a plan
// whose grids agree with each other.
TEST(ExchangeTable, MutatedTablesAreRefusedOrConsistent) {
  GeneratedDemo demo;
  const std::string text = formatExchangeTable(demo.ws.base, demo.ws.plan);
  const uint32_t seed = static_cast<uint32_t>(std::random_device{}());
  std::printf("exchange mutation seed %u\n", seed);
  test::FileMutator mutator(seed);
  for (int round = 0; round < 60; ++round) {
    const std::string damaged = mutator.mutate(text);
    ExchangeTable table;
    if (readExchangeTable(damaged, round % 4, table) != ExchangeReadStatus::Ok) continue;
    BaseData base;
    PlanTables plan;
    std::string problem;
    if (!buildExchangeBaseData(table, round % 4, base, problem)) {
      EXPECT_FALSE(problem.empty()) << "seed " << seed;
      continue;
    }
    if (buildExchangePlan(table, base, plan, problem)) {
      EXPECT_TRUE(derivedGridDifferences(base, plan).empty()) << "seed " << seed << " round " << round;
    }
  }
}

// A refused import leaves the loaded school as it was and writes no file.
TEST(ExchangeTable, RefusedImportKeepsTheLoadedTables) {
  test::InTempDirectory here;
  test::DemoSchool demo;
  const BaseData before = demo.ws.base;
  test::TempDir dir;
  std::string rows = "\"Nummer\",\"Klasse\",\"Lehrer\",\"Fach\",\"Raum\",\"Tag\",\"Stunde\"\r\n";
  for (int c = 0; c < 101; ++c) rows += "0,\"" + std::to_string(100 + c) + "\",\"AB\",\"D\",\"\",1,1\r\n";
  const std::string file = dir.write("big.txt", rows);
  for (const char* answer : {file.c_str(), "0", "NEU", "Ja", "NEU"}) demo.ui.queueAnswer(answer);
  EXPECT_FALSE(ImportExchange(demo.ws, demo.ui, ExchangeImportMode::BaseData));
  EXPECT_EQ(demo.ws.base.classes, before.classes);
  EXPECT_FALSE(std::filesystem::exists("NEU.GD"));
}

}  // namespace quort
