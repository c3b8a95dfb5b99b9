#include "workspace/plan_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "data/enc40.h"
#include "data/plan_file_format.h"
#include "data/plan_grids.h"
#include "data/plan_records.h"
#include "shell/application.h"
#include "support/mutations.h"
#include "support/temp_dir.h"
#include "workspace/base_data_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

using test::readFile;

uint16_t lesson(int teacher, int subject, int flags = 0) {
  return static_cast<uint16_t>(teacher * 256 + flags + subject);
}

// A small plan on the demo school: assignments, a coupling with a byte 4 in it, blocks,
// locks and a few placed lessons, entered the way the loader enters them.
void fillPlan(Workspace& ws) {
  PlanTables& plan = ws.plan;
  plan.reset(ws.base);
  plan.assignments = makeAssignment(1, 1, 1, 4) + makeAssignment(6, 2, 7, 4 | 16) + makeAssignment(0, 1, 1, 2);
  plan.assignmentBuffer = makeAssignment(7, 3, 2, 3);
  plan.couplings.push_back(makeCouplingMember(4, 1, 17, ' ') + makeCouplingMember(5, 2, 18, 'a'));
  plan.couplings.push_back(makeCouplingMember(8, 3, 21, 'b'));
  plan.blocks = {"", "1,2", "2"};
  plan.timetable.teacher.at(2, 1, 1) = 1;
  plan.timetable.teacher.at(3, 10, 5) = 5;
  plan.timetable.subject.at(23, 1, 2) = 257;
  plan.timetable.roomLock.at(3, 2, 4) = 2;
  plan.timetable.roomLock.at(ws.base.nRooms(), 10, 5) = 127;
  plan.openLessons = std::string("\x01\x02\x01\x03\x04\x00\x05", 7);
  plan.freedLessons = std::string("\x01\x02\x0B", 3);
  const BaseData& base = ws.base;
  enterTimetableCell(base, plan, {1, 1, 1, lesson(1, 1), 1}, true);
  enterTimetableCell(base, plan, {2, 1, 1, lesson(6, 9), 2}, true);
  enterTimetableCell(base, plan, {1, 2, 3, lesson(4, 17, 128 | 64), static_cast<uint16_t>(1 * 256 + 3)}, true);
  enterTimetableCell(base, plan, {2, 2, 3, lesson(5, 18, 128), static_cast<uint16_t>(1 * 256 + 25)}, true);
  enterTimetableCell(base, plan, {3, 6, 4, lesson(8, 23), static_cast<uint16_t>(128 + 31)}, true);
}

PlanSources planOnly(std::string text) {
  PlanSources sources;
  sources.plan = std::move(text);
  return sources;
}

struct PlanFixture : ::testing::Test {
  Workspace ws;
  ScriptedUi ui;
  test::TempDir dir;
  void SetUp() override { ASSERT_EQ(LoadBaseData(ws, ui, test::demoFile()), LoadStatus::Loaded); }

  std::vector<PlanStage> read(const PlanSources& sources, PlanTables& into, PlanReadOptions options = {}) {
    into.reset(ws.base);
    return readPlan(sources, ws.base, into, options);
  }
  std::string format(const PlanTables& plan, PlanWriteOptions options = {}) {
    std::string reason;
    return formatPlanFile(ws.base, plan, options, reason).value_or("");
  }
};

void expectSameTables(const PlanTables& a, const PlanTables& b) {
  EXPECT_EQ(a.assignments + a.assignmentBuffer, b.assignments + b.assignmentBuffer);
  EXPECT_EQ(a.couplings, b.couplings);
  EXPECT_EQ(a.blocks, b.blocks);
  EXPECT_TRUE(a.timetable == b.timetable);
  EXPECT_EQ(a.lessonsPerClass, b.lessonsPerClass);
  EXPECT_EQ(a.openLessons, b.openLessons);
  EXPECT_EQ(a.freedLessons, b.freedLessons);
}

// What is written comes back unchanged, including a comma made by the byte value 4.
TEST_F(PlanFixture, WrittenPlanReadsBackIntoTheSameTables) {
  fillPlan(ws);
  const std::string text = format(ws.plan);
  EXPECT_NE(text.find(std::string(1, static_cast<char>(4 + 40))), std::string::npos);
  PlanTables again;
  EXPECT_TRUE(read(planOnly(text), again).empty());
  again.assignmentBuffer.clear();
  PlanTables expected = ws.plan;
  expected.assignments += expected.assignmentBuffer;
  expected.assignmentBuffer.clear();
  expectSameTables(again, expected);
  EXPECT_TRUE(derivedGridDifferences(ws.base, again).empty());
  EXPECT_EQ(format(again), text);
}

// The older layouts hold the same plan in other shapes; all load into identical tables.
std::string olderLayout(const BaseData& base, const PlanTables& plan, const std::string& marker) {
  std::string text = marker.empty() ? "" : marker + "\r\n";
  for (int day = 1; day <= 6; ++day) {
    for (int period = 1; period <= base.periodsPerDay; ++period) {
      for (int t = 1; t <= base.nTeachers(); ++t) {
        if (const int v = plan.timetable.teacher.at(t, period, day) & 127) {
          text += std::to_string(day) + "," + std::to_string(period) + "," + std::to_string(t) + "," +
                  std::to_string(v) + "\r\n";
        }
      }
      for (int s = 1; s <= base.nSubjects(); ++s) {
        if (const int v = plan.timetable.subject.at(s, period, day) >> 8) {
          text += std::to_string(day) + "," + std::to_string(period) + "," + std::to_string(s) + ",-" +
                  std::to_string(v) + "\r\n";
        }
      }
      for (int r = 1; r <= base.nRooms(); ++r) {
        if (const int v = plan.timetable.roomLock.at(r, period, day)) {
          text += std::to_string(day) + "," + std::to_string(period) + ",-" + std::to_string(r) + "," +
                  std::to_string(v) + "\r\n";
        }
      }
    }
  }
  text += "0,0," + std::to_string(plan.nCouplings()) + "," + std::to_string(plan.nBlocks()) + "\r\n";
  for (int k = 1; k <= plan.nCouplings(); ++k) text += *Enc40(plan.couplings[k]) + "\r\n";
  for (int b = 1; b <= plan.nBlocks(); ++b) text += plan.blocks[b] + "\r\n";
  if (marker == "#4#") text += "#4#\r\n";
  for (int day = 1; day <= 6; ++day) {
    for (int period = 1; period <= base.periodsPerDay; ++period) {
      for (int c = 1; c <= base.nClasses(); ++c) {
        text += std::to_string(plan.timetable.lessonWord.at(c, period, day)) + "," +
                std::to_string(plan.timetable.roomWord.at(c, period, day)) + "\r\n";
      }
    }
  }
  return text;
}

TEST_F(PlanFixture, OlderLayoutsLoadIntoIdenticalTables) {
  fillPlan(ws);
  PlanTables current;
  ASSERT_TRUE(read(planOnly(format(ws.plan)), current).empty());
  const std::string records = *Enc40(ws.plan.assignments + ws.plan.assignmentBuffer) + "\r\n" +
                              *Enc40(ws.plan.openLessons) + "\r\n" + *Enc40(ws.plan.freedLessons) + "\r\n";
  for (const std::string marker : {"#4#", "#3#"}) {
    PlanTables older;
    EXPECT_TRUE(read(planOnly(olderLayout(ws.base, ws.plan, marker) + records), older).empty()) << marker;
    expectSameTables(older, current);
  }
  // The split layout: locks and couplings in files of their own, the timetable alone.
  const std::string full = olderLayout(ws.base, ws.plan, "");
  std::string locksAndCounts = full.substr(0, full.find("0,0,") + full.substr(full.find("0,0,")).find("\r\n") + 2);
  std::string couplings;
  for (int k = 1; k <= ws.plan.nCouplings(); ++k) couplings += *Enc40(ws.plan.couplings[k]) + "\r\n";
  couplings += "#\r\n1,2\r\n2\r\n";
  std::string timetable;
  for (int day = 1; day <= 6; ++day) {
    for (int period = 1; period <= ws.base.periodsPerDay; ++period) {
      for (int c = 1; c <= ws.base.nClasses(); ++c) {
        timetable += std::to_string(ws.plan.timetable.lessonWord.at(c, period, day)) + "," +
                     std::to_string(ws.plan.timetable.roomWord.at(c, period, day)) + "\r\n";
      }
    }
  }
  PlanTables split;
  EXPECT_TRUE(read(PlanSources{timetable, locksAndCounts, couplings, records}, split).empty());
  expectSameTables(split, current);
}

// Two classes stored with one room in one slot: the later class in the file keeps it.
TEST_F(PlanFixture, RoomClashKeepsTheRoomWithTheLaterClass) {
  const std::string text = "#5#\r\n0,0,0\r\n#5#\r\n11,1,258,40\r\n11,2,1539,40\r\n0,0,0,0\r\n\r\n\r\n\r\n";
  PlanTables plan;
  EXPECT_TRUE(read(planOnly(text), plan).empty());
  EXPECT_EQ(RoomWord::room(plan.timetable.roomWord.at(1, 1, 6)), 0);
  EXPECT_EQ(RoomWord::room(plan.timetable.roomWord.at(2, 1, 6)), 40);
  EXPECT_EQ(plan.timetable.room.at(40, 1, 6), 2);
  EXPECT_EQ(plan.lessonsPerClass[1], 1);
  EXPECT_EQ(plan.timetable.teacher.at(6, 0, 6), 1);
  EXPECT_TRUE(derivedGridDifferences(ws.base, plan).empty());
}

// "#3#" records carry no position: class first, then period, then day.
TEST_F(PlanFixture, PositionlessRecordsFillClassesThenPeriodsThenDays) {
  std::string text = "#3#\r\n0,0,0,0\r\n";
  const int cells = ws.base.nClasses() * ws.base.periodsPerDay * 6;
  const int classes = ws.base.nClasses();
  for (int i = 0; i < cells; ++i) {
    const bool placed = i == 1 || i == classes || i == classes * ws.base.periodsPerDay;
    text += placed ? "257,0\r\n" : "0,0\r\n";
  }
  PlanTables plan;
  EXPECT_TRUE(read(planOnly(text + "\r\n\r\n\r\n"), plan).empty());
  EXPECT_EQ(plan.timetable.lessonWord.at(2, 1, 1), 257);
  EXPECT_EQ(plan.timetable.lessonWord.at(1, 2, 1), 257);
  EXPECT_EQ(plan.timetable.lessonWord.at(1, 1, 2), 257);
  EXPECT_EQ(plan.lessonsPerClass[1], 2);
}

// Indexes beyond the base data fail their stage and are never stored.
TEST_F(PlanFixture, IndexesBeyondTheBaseDataFailTheirStage) {
  const std::string bad = "#5#\r\n7,99,3\r\n7,2,3\r\n0,1,0\r\n" + *Enc40(makeCouplingMember(200, 1, 1, ' ')) +
                          "\r\n#5#\r\n7,99,257,0\r\n7,1,257,0\r\n0,0,0,0\r\n" +
                          *Enc40(makeAssignment(1, 99, 1, 2) + makeAssignment(1, 1, 1, 2)) + "\r\n\r\n\r\n";
  PlanTables plan;
  const auto failed = read(planOnly(bad), plan);
  EXPECT_EQ(failed,
            (std::vector<PlanStage>{PlanStage::Locks, PlanStage::Couplings, PlanStage::Timetable, PlanStage::Records}));
  EXPECT_EQ(plan.timetable.teacher.at(2, 1, 2) & 255, 3);
  EXPECT_EQ(plan.nCouplings(), 1);
  EXPECT_TRUE(plan.couplings[1].empty());
  EXPECT_EQ(plan.timetable.lessonWord.at(1, 1, 2), 257);
  EXPECT_EQ(plan.assignments, makeAssignment(1, 1, 1, 2));
}

// A room lock is a record with the room as a negative index; one for a room the base data
// do not have, or with a value the grid cannot keep, fails the lock stage and the rest loads.
TEST_F(PlanFixture, RoomLocksAreRecordsWithANegativeIndex) {
  fillPlan(ws);
  const std::string text = format(ws.plan);
  // Day 4, period 2 is pos 6 * 2 + 4 - 1.
  EXPECT_NE(text.find("\r\n15,-3,2\r\n"), std::string::npos) << text;
  for (const std::string bad :
       {"15,-" + std::to_string(ws.base.nRooms() + 1) + ",1", std::string("15,-3,200"), std::string("15,-3,-1")}) {
    std::string damaged = text;
    damaged.replace(damaged.find("15,-3,2"), 7, bad);
    PlanTables plan;
    EXPECT_EQ(read(planOnly(damaged), plan), std::vector<PlanStage>{PlanStage::Locks}) << bad;
    EXPECT_EQ(plan.timetable.roomLock.at(3, 2, 4), 0) << bad;
    EXPECT_EQ(plan.timetable.roomLock.at(ws.base.nRooms(), 10, 5), 127) << bad;
    EXPECT_EQ(plan.assignments, ws.plan.assignments + ws.plan.assignmentBuffer) << bad;
  }
  // Saved right after an exchange import the plan has no locks, rooms' neither.
  EXPECT_EQ(format(ws.plan, PlanWriteOptions{false, false}).find(",-3,2\r\n"), std::string::npos);
}

// Truncations and byte mutations of a plan never crash; each bad stage says so.
TEST_F(PlanFixture, DamagedPlansNeverCrash) {
  fillPlan(ws);
  const std::string text = format(ws.plan);
  for (size_t length = 0; length <= text.size(); length += 3) {
    PlanTables plan;
    read(planOnly(text.substr(0, length)), plan);
  }
  std::mt19937 random(42);
  for (int round = 0; round < 300; ++round) {
    std::string mutated = text;
    for (int i = 0; i < 3; ++i) mutated[random() % mutated.size()] = static_cast<char>(random());
    PlanTables plan;
    read(planOnly(mutated), plan);
    EXPECT_TRUE(derivedGridDifferences(ws.base, plan).empty()) << "round " << round;
  }
  PlanTables empty;
  EXPECT_EQ(read({}, empty).size(), 5U);
}

bool sameTables(const PlanTables& a, const PlanTables& b) {
  return a.assignments == b.assignments && a.couplings == b.couplings && a.blocks == b.blocks &&
         a.timetable == b.timetable && a.lessonsPerClass == b.lessonsPerClass && a.openLessons == b.openLessons &&
         a.freedLessons == b.freedLessons;
}

// A plan file cut short anywhere either reports a stage or still holds the whole plan
// (only the last line end was lost): a cut never loads a part of the plan as if whole.
TEST_F(PlanFixture, EveryCutOfTheDemoPlanReportsOrLoadsTheWholePlan) {
  const std::string demo = readFile(test::demoPlanFile());
  PlanTables full;
  ASSERT_TRUE(read(planOnly(demo), full).empty());
  ASSERT_GT(full.assignments.size(), 1000U);
  int reported = 0;
  for (size_t length = 0; length < demo.size(); ++length) {
    PlanTables cut;
    if (!read(planOnly(demo.substr(0, length)), cut).empty()) {
      ++reported;
    } else {
      EXPECT_TRUE(sameTables(cut, full)) << "cut at " << length << " of " << demo.size();
    }
  }
  EXPECT_GE(reported, static_cast<int>(demo.size()) - 2);

  // Through the loader: the stage's message, and the load does not count as complete.
  const std::string name = dir.write("CUT.PL", demo.substr(0, demo.size() - 40));
  EXPECT_FALSE(LoadPlan(ws, ui, name, PlanFileKind::Plan, {.askForTimetable = false}));
  EXPECT_TRUE(ui.saw("Keine oder fehlerhafte Deputate!"));
}

// The older layouts show a cut too: a "#4#" or "#3#" timetable that stops before the last
// day, and a record that lost its room word.
TEST_F(PlanFixture, CutOlderLayoutsFailTheirTimetable) {
  fillPlan(ws);
  for (const std::string marker : {"#4#", "#3#"}) {
    const std::string text = olderLayout(ws.base, ws.plan, marker);
    PlanTables whole;
    EXPECT_TRUE(read(planOnly(text), whole).empty()) << marker;
    const size_t lastDay = text.rfind("\r\n", text.size() / 2) + 2;
    PlanTables cut;
    EXPECT_EQ(read(planOnly(text.substr(0, lastDay)), cut), std::vector<PlanStage>{PlanStage::Timetable}) << marker;
    PlanTables halfRecord;
    EXPECT_EQ(read(planOnly(text.substr(0, text.size() - 4) + "\r\n"), halfRecord),
              std::vector<PlanStage>{PlanStage::Timetable})
        << marker;
  }
}

// Seeded damage to every plan layout ("#5#", the demo plan, "#4#", "#3#" and each part
// of the split layout): each case either reports a stage or loads a plan that saves and
// reloads to the same bytes.
TEST_F(PlanFixture, SeededMutationsOfEveryLayoutReportOrSaveStably) {
  fillPlan(ws);
  const std::string records = *Enc40(ws.plan.assignments + ws.plan.assignmentBuffer) + "\r\n" +
                              *Enc40(ws.plan.openLessons) + "\r\n" + *Enc40(ws.plan.freedLessons) + "\r\n";
  const std::string split = olderLayout(ws.base, ws.plan, "");
  const size_t afterCounts = split.find("\r\n", split.find("0,0,")) + 2;
  std::string couplings;
  for (int k = 1; k <= ws.plan.nCouplings(); ++k) couplings += *Enc40(ws.plan.couplings[k]) + "\r\n";
  const std::string blocks = "1,2\r\n2\r\n";
  const std::string timetable = split.substr(split.find(blocks, afterCounts) + blocks.size());
  const PlanSources splitSources{timetable, split.substr(0, afterCounts), couplings + "#\r\n" + blocks, records};
  const std::vector<PlanSources> layouts = {planOnly(format(ws.plan)), planOnly(readFile(test::demoPlanFile())),
                                            planOnly(olderLayout(ws.base, ws.plan, "#4#") + records),
                                            planOnly(olderLayout(ws.base, ws.plan, "#3#") + records), splitSources};
  for (size_t i = 0; i < layouts.size(); ++i) {
    PlanTables whole;
    ASSERT_TRUE(read(layouts[i], whole).empty()) << "layout " << i;
  }
  const uint32_t seed = 20270116;
  test::FileMutator mutator(seed);
  int loadedCleanly = 0;
  for (int round = 0; round < 500; ++round) {
    const std::string context = "seed " + std::to_string(seed) + " round " + std::to_string(round);
    PlanSources damaged = layouts[static_cast<size_t>(round) % layouts.size()];
    std::optional<std::string>* parts[] = {&damaged.plan, &damaged.locks, &damaged.couplings, &damaged.records};
    std::optional<std::string>& part = *parts[damaged.locks ? (round / 5) % 4 : 0];
    part = mutator.mutate(*part);
    PlanTables loaded;
    if (!read(damaged, loaded).empty()) continue;
    std::string reason;
    const auto first = formatPlanFile(ws.base, loaded, {}, reason);
    if (!first) {
      EXPECT_FALSE(reason.empty()) << context;
      continue;
    }
    ++loadedCleanly;
    PlanTables again;
    EXPECT_TRUE(read(planOnly(*first), again).empty()) << context;
    EXPECT_EQ(format(again), *first) << context;
  }
  EXPECT_GT(loadedCleanly, 25);
}

// A coupled lesson is written as its coupling says; a cell without a teacher is not written.
TEST_F(PlanFixture, CoupledLessonsAreWrittenFromTheirCoupling) {
  fillPlan(ws);
  ws.plan.timetable.lessonWord.at(1, 2, 3) = lesson(9, 9, 64);
  ws.plan.timetable.lessonWord.at(4, 5, 5) = 0;
  ws.plan.timetable.roomWord.at(4, 5, 5) = 30;
  const std::string text = format(ws.plan);
  EXPECT_NE(text.find("\r\n14,1," + std::to_string(lesson(4, 17, 128 | 64)) + ","), std::string::npos);
  EXPECT_EQ(text.find(",4,0,30\r\n"), std::string::npos);
  const std::string snapshot = format(ws.plan, {.snapshot = true});
  EXPECT_NE(snapshot.find("\r\n14,1," + std::to_string(lesson(9, 9, 64)) + ","), std::string::npos);
  EXPECT_EQ(format(ws.plan, {.withLocks = false}).substr(0, 12), "#5#\r\n0,2,2\r\n");
}

// A value the file cannot hold is refused before the file is touched.
TEST_F(PlanFixture, ValuesOf216AndAboveAreRefusedBeforeWriting) {
  fillPlan(ws);
  ws.plan.couplings[2] = makeCouplingMember(8, 3, 21, '\xE0');
  std::string reason;
  EXPECT_FALSE(formatPlanFile(ws.base, ws.plan, {}, reason));
  EXPECT_NE(reason.find("Kopplung 2"), std::string::npos);

  const std::string name = dir.file("SCHULE");
  const std::string before = "unver\xE4ndert";
  dir.write("SCHULE.PL", before);
  ws.plan.modifiedPlan = true;
  ui.queueAnswer(name);
  EXPECT_EQ(SavePlan(ws, ui, SaveKind::Normal), -1);
  EXPECT_TRUE(ui.saw("Fehler beim Speichern!"));
  EXPECT_EQ(readFile(dir.file("SCHULE.PL")), before);
}

// A save writes the base data and the plan together: when either file fails, neither
// replaces what was on disk and the save reports failure instead of "gesichert".
TEST_F(PlanFixture, FailedWriteOfEitherFileLeavesTheOldPairAndReportsFailure) {
  fillPlan(ws);
  const std::string oldBase = "alte Grunddaten";
  const std::string oldPlan = "alter Plan";
  const auto resetPair = [&] {
    dir.write("SCHULE.GD", oldBase);
    dir.write("SCHULE.PL", oldPlan);
  };
  for (const std::string blocked : {"SCHULE.GD.tmp", "SCHULE.PL.tmp"}) {
    resetPair();
    // A directory where the temporary file must go makes that write fail.
    std::filesystem::create_directories(dir.path() / blocked / "inhalt");
    ScriptedUi saveUi;
    saveUi.queueAnswer(dir.file("SCHULE"));
    EXPECT_EQ(SavePlan(ws, saveUi, SaveKind::Normal), -1) << blocked;
    EXPECT_EQ(readFile(dir.file("SCHULE.GD")), oldBase) << blocked;
    EXPECT_EQ(readFile(dir.file("SCHULE.PL")), oldPlan) << blocked;
    EXPECT_FALSE(saveUi.saw("Daten unter '" + dir.file("SCHULE") + "' gesichert.")) << blocked;
    const bool baseFailed = blocked == "SCHULE.GD.tmp";
    EXPECT_EQ(saveUi.saw("Dateifehler " + dir.file("SCHULE") + "! Datenverlust!"), baseFailed);
    EXPECT_EQ(saveUi.saw("Fehler beim Speichern!"), !baseFailed);
    EXPECT_FALSE(std::filesystem::exists(dir.file(baseFailed ? "SCHULE.PL.tmp" : "SCHULE.GD.tmp")));
    std::filesystem::remove_all(dir.path() / blocked);
  }
  // A line the base-data file cannot hold stops the save before anything is written.
  resetPair();
  ws.base.teachers[1].line += ",x";
  ScriptedUi refusedUi;
  refusedUi.queueAnswer(dir.file("SCHULE"));
  EXPECT_EQ(SavePlan(ws, refusedUi, SaveKind::Normal), -1);
  EXPECT_EQ(readFile(dir.file("SCHULE.PL")), oldPlan);
  EXPECT_FALSE(refusedUi.saw("Daten unter '" + dir.file("SCHULE") + "' gesichert."));
  EXPECT_TRUE(refusedUi.saw("Dateifehler " + dir.file("SCHULE") + "! Datenverlust!"));
}

// Names: plan SCHULE_MO lives in SCHULE.PL, its snapshot in SCHULE_MO.PV; the save
// proposes "_" and the weekday in substitution mode; the same name asks before it overwrites.
TEST_F(PlanFixture, SaveNamesQuestionsAndMessages) {
  fillPlan(ws);
  ws.plan.modifiedPlan = true;
  ui.queueAnswer(dir.file("SCHULE_MO.pl"));
  ASSERT_EQ(SavePlan(ws, ui, SaveKind::Normal), 0);
  EXPECT_TRUE(std::filesystem::exists(dir.file("SCHULE.PL")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("SCHULE.GD")));
  EXPECT_TRUE(ui.saw("Daten unter '" + dir.file("SCHULE_MO") + "' gesichert."));
  EXPECT_FALSE(ws.plan.anyChange());

  ui.queueAnswer(dir.file("SCHULE_MO"));
  EXPECT_EQ(SavePlan(ws, ui, SaveKind::Normal), -1);
  EXPECT_TRUE(ui.saw("Evtl. Datenverlust durch gleichen neuen und alten Namen!\r\rWirklich Speichern?"));

  ws.plan.planName = dir.file("SCHULE");
  ws.shell.workMode = 3;
  ws.shell.substitutionMode = true;
  ws.dialogs.currentDate = "07.12.2026";
  ui.queueAnswer(dir.file("SCHULE_MO"));
  ui.queueAnswer("Ja");
  ASSERT_EQ(SavePlan(ws, ui, SaveKind::Normal), 0);
  EXPECT_TRUE(ui.saw("QUORT-Plan - Plan sichern [*.pv]"));
  EXPECT_TRUE(std::filesystem::exists(dir.file("SCHULE_MO.PV")));
}

// Opening loads the plan file and keeps a copy of the class grid as the reference plan;
// declining "Stundenplan lesen?" still loads the assignments.
TEST_F(PlanFixture, OpenPlanAsksForTheTimetableAndKeepsTheReference) {
  fillPlan(ws);
  dir.write("PLAN.PL", format(ws.plan));
  ui.queueAnswer(dir.file("PLAN.PL"));
  ui.queueAnswer("Ja");
  ASSERT_TRUE(OpenPlan(ws, ui));
  EXPECT_TRUE(ws.shell.planOpened);
  EXPECT_EQ(ws.plan.timetable.lessonWord.at(1, 1, 1), lesson(1, 1));
  EXPECT_TRUE(ws.plan.reference.lessonWord == ws.plan.timetable.lessonWord);

  ui.queueAnswer(dir.file("PLAN.PL"));
  ui.queueAnswer("Nein");
  ASSERT_TRUE(OpenPlan(ws, ui));
  EXPECT_EQ(ws.plan.timetable.lessonWord.at(1, 1, 1), 0);
  EXPECT_EQ(ws.plan.assignments.size(), 16U);
  EXPECT_TRUE(ws.plan.assignmentBuffer.empty());

  EXPECT_FALSE(OpenPlan(ws, ui));  // no answer: cancelled, the plan stays
  EXPECT_EQ(ws.plan.assignments.size(), 16U);
}

// "U:" returns to the copy taken before a change and leaves consistent grids.
TEST_F(PlanFixture, UndoRestoresTheRecordsAndTheGridsAgree) {
  fillPlan(ws);
  Application app(ws, ui);
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  BackupPlanRecords(ws, ui);
  EXPECT_TRUE(std::filesystem::exists(dir.file("safe.PL")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("safe.GD")));
  std::filesystem::current_path(cwd);
  const PlanBackup before = ws.backup;
  ws.plan.assignments += makeAssignment(2, 2, 2, 2);
  ws.plan.assignmentBuffer.clear();
  ws.plan.openLessons.clear();
  ws.plan.freedLessons += "\x01\x01\x0B";
  ws.plan.timetable.teacher.at(2, 3, 3) = 5 * 256;
  app.typeCommand("u");
  EXPECT_EQ(ws.plan.assignments, before.assignments);
  EXPECT_EQ(ws.plan.assignmentBuffer, before.assignmentBuffer);
  EXPECT_EQ(ws.plan.openLessons, before.openLessons);
  EXPECT_EQ(ws.plan.freedLessons, before.freedLessons);
  EXPECT_TRUE(checkPlanConsistency(ws).empty());
  ws.plan.timetable.room.at(1, 1, 1) = 0;
  EXPECT_EQ(checkPlanConsistency(ws).size(), 1U);
}

}  // namespace
}  // namespace quort
