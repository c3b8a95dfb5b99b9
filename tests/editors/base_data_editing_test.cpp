#include <gtest/gtest.h>

#include "data/base_data_format.h"
#include "data/plan_grids.h"
#include "editors/base_data_editor.h"
#include "editors/entity_list_editing.h"
#include "editors/plan_verification.h"
#include "editors/schedule_editing.h"
#include "timetable/demo_school.h"
#include "timetable/manual_placement.h"

namespace quort {
namespace {

using Kind = EntityKind;

// The editor builds its lines from the input fields the way the file expects them.
TEST(EntityLine, FieldsAreCleanedUpperCasedAndJoinedByOneBlank) {
  EXPECT_EQ(buildEntityLine(Kind::Class, {" 5 a", "Mr", "05a"}), "5A Mr >05A");
  EXPECT_EQ(buildEntityLine(Kind::Class, {"5a", "", ""}), "5A");
  EXPECT_EQ(buildEntityLine(Kind::Teacher, {"mr-", "M\xFC ller", "2", " 24"}), "MR- M\xFCller 2 24");
  EXPECT_EQ(buildEntityLine(Kind::Subject, {"ch", "Chemie", "ch", "2-stdg. > D", ">ch"}), "CH Chemie CH D >CH");
  EXPECT_EQ(buildEntityLine(Kind::Subject, {"d", "Deutsch", "", "1-stdg. > E", ""}), "D Deutsch");
  EXPECT_EQ(buildEntityLine(Kind::Room, {"r 12", "ch"}), "R12 ch");
  EXPECT_EQ(splitEntityLine(Kind::Class, "5A MR >05A"), (EntityFields{"5A", "MR", "05A"}));
  EXPECT_EQ(splitEntityLine(Kind::Subject, "CH Chemie 2 D >CH"), (EntityFields{"CH", "Chemie", "2", "D", "CH"}));
}

class ListEditing : public ::testing::Test {
 protected:
  bool refused(const std::string& message) const { return demo.ui.saw(message); }
  test::InTempDirectory dir;
  test::DemoSchool demo;
  Workspace& ws = demo.ws;
  ScriptedUi& ui = demo.ui;
};

// What the lists or the file could not hold is refused before anything changes.
TEST_F(ListEditing, RefusesWhatTheFileCannotHold) {
  const BaseData before = ws.base;
  EXPECT_FALSE(addEntity(ws, ui, Kind::Class, {"5E", "M,R"}));
  EXPECT_FALSE(addEntity(ws, ui, Kind::Class, {"5E", "\"MR"}));
  EXPECT_FALSE(addEntity(ws, ui, Kind::Teacher, {"QQ", "a\tb"}));
  EXPECT_TRUE(refused("Unzul\xE4ssiges Zeichen (Komma, Anf\xFChrungszeichen, Tabulator oder Zeilenumbruch)!"));
  EXPECT_FALSE(addEntity(ws, ui, Kind::Teacher, {"QQ", "a@b"}));
  EXPECT_FALSE(addEntity(ws, ui, Kind::Room, {" ", "CH"}));
  EXPECT_TRUE(refused("K\xFCrzel fehlt!"));
  for (const char* code : {"*A", "~A", ".A"}) EXPECT_FALSE(addEntity(ws, ui, Kind::Subject, {code}));
  EXPECT_TRUE(refused("Unzul\xE4ssiges K\xFCrzel!"));
  EXPECT_FALSE(addEntity(ws, ui, Kind::Subject, {"XY", "X", "-3"}));
  EXPECT_FALSE(addEntity(ws, ui, Kind::Subject, {"XY", "X", "", "D"}));
  EXPECT_TRUE(refused("Raumzahl/-Bezug fehlt!"));
  // Duplicates count on the code as cut to its width: "5ABC" is "5AB", "MRX" is "MR".
  EXPECT_FALSE(addEntity(ws, ui, Kind::Teacher, {"mrx", "Other"}));
  EXPECT_TRUE(
      refused("K\xFC"
              "rzel bereits vorhanden!"));
  EXPECT_EQ(ws.base.teachers, before.teachers);
  EXPECT_EQ(ws.base.classes.size(), before.classes.size());
  // Replacing a line may keep its own code.
  EXPECT_TRUE(replaceEntity(ws, ui, Kind::Class, 1, {"5A", "MR", "05A", ""}));
}

TEST_F(ListEditing, CapacitiesAreEnforced) {
  int added = 0;
  while (addEntity(ws, ui, Kind::Subject, {std::string{char('9' - added / 26), char('A' + added % 26)}})) ++added;
  EXPECT_EQ(editableCount(ws.base, Kind::Subject), kMaxSubjects);
  EXPECT_TRUE(
      refused("Zu viele Eintr\xE4ge (h\xF6"
              "chstens 50 F\xE4"
              "cher)!"));
  EXPECT_EQ(ws.base.subjects.back().line, "*");
  EXPECT_LT(ws.base.nSubjects(), 64);
}

// A new teacher goes before the sentinel; the class locks, which name the sentinel, follow it.
TEST_F(ListEditing, NewTeacherGoesBeforeTheSentinel) {
  const Slot slot{2, 3};
  ws.plan.timetable.lessonWord.at(1, slot.period, slot.day) = classLockWord(ws.base);
  const int sentinel = ws.base.nTeachers();
  ASSERT_TRUE(addEntity(ws, ui, Kind::Teacher, {"ZZ", "Zorro", "0", "20"}));
  EXPECT_EQ(ws.base.findTeacher("ZZ"), sentinel);
  EXPECT_EQ(ws.base.teachers.back().line, "*");
  EXPECT_EQ(ws.plan.timetable.lessonWord.at(1, slot.period, slot.day), classLockWord(ws.base));
  EXPECT_TRUE(verifyPlan(ws).empty());
}

// Placed lessons stay with their class and teacher through deletions, inserts and sorts.
TEST_F(ListEditing, PlanFollowsItsEntitiesThroughRenumbering) {
  const std::string entry = demo.entry("JG", "D", "5B");
  ASSERT_FALSE(entry.empty());
  const int teacherIndex = demo.teacher("JG");
  const size_t index = ws.plan.assignments.find(entry) / 4;
  ASSERT_EQ(placeAssignment(ws, ui, index, Slot{1, 1}), PlaceOutcome::Placed);
  const uint16_t lesson = demo.lesson("5B", {1, 1});
  ui.queueAnswer("Ja");
  ASSERT_TRUE(deleteEntity(ws, ui, Kind::Class, demo.schoolClass("5A")));
  ASSERT_TRUE(insertEntity(ws, ui, Kind::Teacher, 1, {"AA", "Anfang"}));
  ui.queueAnswer("Ja");
  ASSERT_TRUE(sortEntities(ws, ui, Kind::Class));
  EXPECT_EQ(demo.schoolClass("5B"), 1);
  EXPECT_EQ(demo.teacher("JG"), teacherIndex + 1);
  EXPECT_EQ(LessonWord::teacher(demo.lesson("5B", {1, 1})), demo.teacher("JG"));
  EXPECT_EQ(LessonWord::subject(demo.lesson("5B", {1, 1})), LessonWord::subject(lesson));
  EXPECT_EQ(ws.plan.timetable.teacher.at(demo.teacher("JG"), 1, 1) >> 8, demo.schoolClass("5B"));
  EXPECT_TRUE(verifyPlan(ws).empty());
}

// A deleted class takes its assignments, its lessons and its coupling members with it;
// teachers and subjects only get marked, so that every index stays.
TEST_F(ListEditing, DeletionTakesOutOrMarks) {
  const int c = demo.schoolClass("5A");
  const size_t before = ws.plan.assignments.size();
  ui.queueAnswer("Ja");
  ASSERT_TRUE(deleteEntity(ws, ui, Kind::Class, c));
  EXPECT_LT(ws.plan.assignments.size(), before);
  EXPECT_EQ(ws.base.findClass("5A"), 0);
  const int t = demo.teacher("MR");
  const int teachers = ws.base.nTeachers();
  ui.queueAnswer("Ja");
  ASSERT_TRUE(deleteEntity(ws, ui, Kind::Teacher, t));
  EXPECT_EQ(ws.base.nTeachers(), teachers);
  EXPECT_TRUE(entityDeleted(ws.base, Kind::Teacher, t));
  EXPECT_FALSE(deleteEntity(ws, ui, Kind::Teacher, t));
  // "Nein" keeps everything.
  EXPECT_FALSE(deleteEntity(ws, ui, Kind::Room, 1));
  EXPECT_TRUE(verifyPlan(ws).empty());
}

TEST_F(ListEditing, RoomLockKeepsTheOwner) {
  const int r = demo.room("CH1");
  ASSERT_EQ(ws.base.rooms[r].owner, -demo.subject("CH"));
  ASSERT_TRUE(toggleRoomLock(ws, ui, r));
  EXPECT_EQ(ws.base.rooms[r].line, "CH1 #CH");
  EXPECT_TRUE(roomLocked(ws.base, r));
  ASSERT_TRUE(toggleRoomLock(ws, ui, r));
  EXPECT_EQ(ws.base.rooms[r].line, "CH1 CH");
  EXPECT_EQ(ws.base.rooms[r].owner, -demo.subject("CH"));
  const int bare = demo.room("A01");
  ASSERT_TRUE(toggleRoomLock(ws, ui, bare));
  EXPECT_EQ(ws.base.rooms[bare].line, "A01 #");
  ASSERT_TRUE(toggleRoomLock(ws, ui, bare));
  EXPECT_EQ(ws.base.rooms[bare].line, "A01");
}

TEST_F(ListEditing, DaysAndPeriodsFollowTheDialogRules) {
  EXPECT_FALSE(applyDaysAndPeriods(ws, ui, {"0", "8", "6", false}));
  EXPECT_TRUE(
      refused("Zahl der Tage \xFC"
              "ber 6!"));
  EXPECT_FALSE(applyDaysAndPeriods(ws, ui, {"5", "6", "3", true}));
  EXPECT_TRUE(refused("Stundenzahl nicht zwischen 4 und 10!"));
  ASSERT_TRUE(applyDaysAndPeriods(ws, ui, {"5", "5", "3", true}));
  EXPECT_EQ(ws.base.periodsPerDay, 10);
  EXPECT_EQ(ws.base.afternoonStart, 6);
  EXPECT_EQ(currentDaysAndPeriods(ws.base).periods, "5");
  ASSERT_TRUE(applyDaysAndPeriods(ws, ui, {"5", "9", "0", false}));
  EXPECT_EQ(ws.base.afternoonStart, 6);
  ASSERT_TRUE(applyDaysAndPeriods(ws, ui, {"5", "9", "12", false}));
  EXPECT_EQ(ws.base.afternoonStart, 6);
}

// Fewer periods give the lessons placed there back; with lessons placed the week
// alternation stays as it is.
TEST_F(ListEditing, FewerPeriodsReturnLessonsAndAlternationIsKept) {
  const std::string entry = demo.entry("JG", "D", "5B");
  const int periods = AssignmentView(entry, 0).periods();
  ASSERT_EQ(placeAssignment(ws, ui, ws.plan.assignments.find(entry) / 4, Slot{1, 9}), PlaceOutcome::Placed);
  ws.plan.timetable.teacher.at(demo.teacher("MR"), 2, 2) |= 3;
  ASSERT_TRUE(applyDaysAndPeriods(ws, ui, {"5", "8", "6", false}));
  EXPECT_EQ(demo.periodsToPlace("JG", "D", "5B"), periods);
  EXPECT_EQ(ws.plan.timetable.teacher.at(demo.teacher("MR"), 2, 2) & 255, 3);
  EXPECT_TRUE(verifyPlan(ws).empty());
  ASSERT_EQ(placeAssignment(ws, ui, ws.plan.assignments.find(demo.entry("JG", "D", "5B")) / 4, Slot{1, 2}),
            PlaceOutcome::Placed);
  EXPECT_FALSE(applyDaysAndPeriods(ws, ui, {"5", "4", "3", true}));
  EXPECT_TRUE(refused("Wochenwechsel nicht umstellbar: Stunden sind gesetzt!"));
  EXPECT_FALSE(ws.base.weekAlternation);
}

TEST_F(ListEditing, PlanOptionsAreCheckedAndResetLeavesTheAfternoon) {
  PlanOptionFields fields = currentPlanOptionFields(ws.base);
  EXPECT_EQ(fields[0], " 20");
  fields[2] = "101";
  fields[7] = "1";
  EXPECT_FALSE(applyPlanOptions(ws, ui, fields));
  EXPECT_TRUE(refused("Fehler bei Wert: 3,8"));
  fields[2] = "2,5";
  fields[7] = "4";
  fields[8] = "1000";
  ws.base.planOptions.scaleFactor = 3;
  ASSERT_TRUE(applyPlanOptions(ws, ui, fields));
  EXPECT_FLOAT_EQ(ws.base.planOptions.weights[2], 2.5F);
  EXPECT_EQ(ws.base.planOptions.maxPlanAttempts, 1000);
  EXPECT_FLOAT_EQ(ws.base.planOptions.scaleFactor, 1.0F);
  ws.base.afternoonStart = 7;
  resetPlanOptionValues(ws);
  EXPECT_EQ(ws.base.planOptions.maxPlanAttempts, 100);
  EXPECT_EQ(ws.base.afternoonStart, 7);
}

// Scripts answer the run's questions; the lists are edited between begin and finish.
TEST_F(ListEditing, RunWithoutANameLeavesTheDataAsBefore) {
  const BaseData base = ws.base;
  const std::string assignments = ws.plan.assignments;
  BaseDataEditor editor(ws, ui);
  ui.queueAnswer("Ja");
  ASSERT_TRUE(editor.begin());
  ui.queueAnswer("Ja");
  ASSERT_TRUE(editor.remove(Kind::Class, 3));
  ASSERT_TRUE(editor.add(Kind::Room, {"X1", ""}));
  EXPECT_EQ(editor.finish(""), BaseDataEditor::Finish::Discarded);
  EXPECT_TRUE(refused("Anderungen ohne Wirkung!"));
  EXPECT_EQ(ws.base.classes, base.classes);
  EXPECT_EQ(ws.base.rooms, base.rooms);
  EXPECT_EQ(ws.plan.assignments, assignments);
}

class NoDialogs : public BaseDataDialogs {
 public:
  void daysAndPeriods(BaseDataEditor&) override {}
  void planOptions(BaseDataEditor&) override {}
  void entityList(BaseDataEditor& editor, EntityKind kind) override {
    if (kind == EntityKind::Class && !added) added = editor.add(kind, {"5E", "MR"});
  }
  bool added = false;
};

// A save that fails keeps the run going; the next name saves, and changed codes end the program.
TEST_F(ListEditing, FailedSaveKeepsTheEditorOpen) {
  NoDialogs dialogs;
  for (const char* answer : {"Ja", "Klassen", "Ende", "1NAME.GD", "Ende", "NEU.GD"}) ui.queueAnswer(answer);
  const EditBaseDataOutcome outcome = editBaseData(ws, ui, dialogs, "");
  EXPECT_TRUE(refused("Dateifehler 1NAME! Datenverlust!"));
  EXPECT_TRUE(outcome.saved);
  EXPECT_TRUE(outcome.endProgram);
  EXPECT_TRUE(refused("Programmende !"));
  EXPECT_NE(ws.base.findClass("5E"), 0);
  EXPECT_TRUE(std::filesystem::exists("NEU.GD"));
  EXPECT_EQ(ws.shell.helpTopic, "TAVIN.hlp~menu");
}

}  // namespace
}  // namespace quort
