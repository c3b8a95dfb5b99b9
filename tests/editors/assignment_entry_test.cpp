#include "editors/assignment_entry.h"

#include <gtest/gtest.h>

#include "data/plan_records.h"
#include "editors/assignment_composer.h"
#include "editors/assignment_editing.h"
#include "editors/code_lookup.h"
#include "timetable/demo_school.h"

namespace quort {
namespace {

using test::DemoSchool;

class AssignmentEntry : public ::testing::Test {
 protected:
  std::optional<std::string> parse(const std::string& line) {
    return parseAssignmentLine(AssignmentParseContext{demo.ws.base, demo.ws.plan.nCouplings(), &demo.ui}, line);
  }
  std::string longLine(const std::string& entry) const { return assignmentLongLine(demo.ws.base, entry); }
  DemoSchool demo;
};

// Every entry of the demo plan reads back from its long and its short line unchanged.
TEST_F(AssignmentEntry, EveryDemoEntryRoundTripsThroughBothLines) {
  const std::string& list = demo.ws.plan.assignments;
  ASSERT_EQ(recordCount(list, 4), 323U);
  for (size_t i = 0; i < recordCount(list, 4); ++i) {
    const std::string entry = list.substr(i * 4, 4);
    const AssignmentView view(entry, 0);
    if (view.marker1() && view.marker2()) continue;  // shown without a marker, see below
    EXPECT_EQ(parse(longLine(entry)), entry) << longLine(entry);
    EXPECT_EQ(parse(assignmentShortLine(demo.ws.base, entry)), entry) << assignmentShortLine(demo.ws.base, entry);
  }
  EXPECT_TRUE(demo.ui.records().empty());
}

TEST_F(AssignmentEntry, LongAndShortLinesOfALesson) {
  const std::string entry = makeAssignment(demo.teacher("MR"), demo.schoolClass("5A"), demo.subject("D"), 4 | 16);
  EXPECT_EQ(longLine(entry),
            "MR\xB9"
            "D  5A  4");
  EXPECT_EQ(assignmentShortLine(demo.ws.base, entry), "MRD 5A:4");
  EXPECT_EQ(longLine(makeAssignment(demo.teacher("MR"), demo.schoolClass("5A"), demo.subject("D"), 4 | 32)),
            "MR\xB2"
            "D  5A  4");
  EXPECT_EQ(longLine(makeAssignment(demo.teacher("MR"), demo.schoolClass("5A"), demo.subject("D"), 4 | 48)),
            "MR D  5A  4");
}

TEST_F(AssignmentEntry, CouplingLinesShowKindFromByteTwoOrMarkers) {
  EXPECT_EQ(longLine(makeAssignment(0, 1, 12, 3)), "#12:3D");
  EXPECT_EQ(longLine(makeAssignment(0, 0, 12, 3 | 32)), "#12:3H");
  EXPECT_EQ(longLine(makeAssignment(0, 2, 12, 3 | 16)), "#12:3L");
  EXPECT_EQ(longLine(makeAssignment(0, 2, 12, 3 | 48)), "#12:3");
}

// Coupling numbers outside 1..count are refused before anything else.
TEST_F(AssignmentEntry, CouplingOutsideTheListIsRefused) {
  for (const std::string line : {"#0:2", "#27:2", "#:2", "#x:2", "#"}) {
    EXPECT_FALSE(parse(line)) << line;
    EXPECT_TRUE(demo.ui.saw("Keine zul\xE4ssige Kopplung!")) << line;
  }
  EXPECT_EQ(parse("#26:2"), makeAssignment(0, 0, 26, 2));
}

TEST_F(AssignmentEntry, MissingPeriodDigitIsRefusedWithCountZero) {
  EXPECT_FALSE(parse("MR D  5A  x"));
  EXPECT_TRUE(demo.ui.saw("Keine zul\xE4ssige Stundenzahl: 0!"));
  EXPECT_FALSE(parse("#5:D"));
  EXPECT_EQ(demo.ui.records().size(), 2U);
}

TEST_F(AssignmentEntry, UnknownCodeReportsTheName) {
  EXPECT_FALSE(parse("QQ D  5A  4"));
  EXPECT_TRUE(demo.ui.saw("Fehler: QQ"));
  EXPECT_FALSE(parse("MR D  9Z  4"));
  EXPECT_TRUE(demo.ui.saw("Fehler: 9Z"));
  EXPECT_EQ(demo.ui.records().size(), 2U);
}

// Typed in lower case and without padding, the line still names the same entry.
TEST_F(AssignmentEntry, LooseSpellingsParse) {
  const std::string entry = makeAssignment(demo.teacher("MR"), demo.schoolClass("5A"), demo.subject("D"), 4);
  EXPECT_EQ(parse("mr d 5a 4"), entry);
  EXPECT_EQ(parse("MRD 5A:4"), entry);
  EXPECT_EQ(parse("MR D 5A 4  "), entry);
}

TEST_F(AssignmentEntry, MarkersAnywhereSetTheirBits) {
  const int mr = demo.teacher("MR");
  const int d = demo.subject("D");
  const int c = demo.schoolClass("5A");
  EXPECT_EQ(parse("MR\xB9"
                  "D 5A 4"),
            makeAssignment(mr, c, d, 4 | 16));
  EXPECT_EQ(parse("MR\xB2"
                  "D 5A 4"),
            makeAssignment(mr, c, d, 4 | 32));
  EXPECT_EQ(parse("MR\xB9\xB2"
                  "D 5A 4"),
            makeAssignment(mr, c, d, 4 | 48));
  EXPECT_EQ(parse("#5:2D\xB2"), makeAssignment(0, 1, 5, 2 | 32));
}

// A typed "H" or "L" means what the kind pick list means; a plain "E" would read back
// differently from what was typed.
TEST_F(AssignmentEntry, TypedKindLettersHAndLSetTheirMarkers) {
  EXPECT_EQ(parse("#5:2H"), makeAssignment(0, 0, 5, 2 | 32));
  EXPECT_EQ(parse("#5:2L"), makeAssignment(0, 0, 5, 2 | 16));
  EXPECT_EQ(parse("#5:2\xB2H"), makeAssignment(0, 0, 5, 2 | 32));
  EXPECT_EQ(longLine(*parse("#5:2H")), "#5:2H");
  EXPECT_EQ(parse("#5:2T"), makeAssignment(0, 2, 5, 2));
  EXPECT_EQ(parse("#5:2"), makeAssignment(0, 0, 5, 2));
}

TEST_F(AssignmentEntry, SharedLookupPadsCutsAndUpperCases) {
  const BaseData& base = demo.ws.base;
  EXPECT_EQ(lookupCode(base, CodeList::Class, "5a"), demo.schoolClass("5A"));
  EXPECT_EQ(lookupCode(base, CodeList::Class, "11ax"), demo.schoolClass("11A"));
  EXPECT_EQ(lookupCode(base, CodeList::Teacher, "mrx"), demo.teacher("MR"));
  EXPECT_EQ(lookupCode(base, CodeList::Subject, "zz"), 0);
  EXPECT_TRUE(demo.ui.records().empty());
  EXPECT_EQ(lookupCode(base, CodeList::Subject, "", &demo.ui), 0);
  EXPECT_TRUE(demo.ui.saw("Fehler !"));
}

// The pick lists build the long line; a coupling pick drops teacher, subject and class,
// and the kind puts its marker where the parser finds it.
TEST_F(AssignmentEntry, ComposedLinesParseToWhatWasPicked) {
  AssignmentComposer composer;
  composer.setTeacher("MR");
  composer.setSubject("D");
  composer.setClass("5A");
  composer.setPeriods(3);
  composer.setKind('H');
  EXPECT_EQ(composer.line(),
            "MR\xB2"
            "D  5A  3");
  EXPECT_EQ(parse(composer.line()),
            makeAssignment(demo.teacher("MR"), demo.schoolClass("5A"), demo.subject("D"), 3 | 32));
  composer.setKind('E');
  EXPECT_EQ(composer.line(), "MR D  5A  3");
  composer.setCoupling(7);
  EXPECT_EQ(composer.line(), "#7:3E");
  composer.setKind('L');
  EXPECT_EQ(parse(composer.line()), makeAssignment(0, 0, 7, 3 | 16));
  composer.setTeacher("WS");
  EXPECT_EQ(composer.line(), "WS\xB9" + std::string(7, ' ') + "3");
  composer.clear();
  EXPECT_EQ(composer.line(), "");
}

class AssignmentEditing : public ::testing::Test {
 protected:
  std::string entry(const char* t, const char* s, const char* c, int p) const {
    return makeAssignment(demo.teacher(t), demo.schoolClass(c), demo.subject(s), p);
  }
  std::string at(int number) const { return demo.ws.plan.assignments.substr(static_cast<size_t>(number - 1) * 4, 4); }
  DemoSchool demo;
};

TEST_F(AssignmentEditing, AddInsertReplaceRemoveKeepTheOrderAndFlagThePlan) {
  PlanTables& plan = demo.ws.plan;
  const auto list = AssignmentTarget::Assignments;
  ASSERT_FALSE(plan.modifiedPlan);
  addAssignment(plan, list, entry("MR", "D", "5A", 1));
  EXPECT_TRUE(plan.modifiedPlan);
  EXPECT_EQ(assignmentCount(plan, list), 324);
  EXPECT_EQ(at(324), entry("MR", "D", "5A", 1));
  plan.modifiedPlan = false;
  const std::string second = at(2);
  insertAssignment(plan, list, 2, entry("MR", "D", "5B", 2));
  EXPECT_TRUE(plan.modifiedPlan);
  EXPECT_EQ(at(2), entry("MR", "D", "5B", 2));
  EXPECT_EQ(at(3), second);
  plan.modifiedPlan = false;
  EXPECT_TRUE(replaceAssignment(plan, list, 3, entry("MR", "D", "5C", 3)));
  EXPECT_TRUE(plan.modifiedPlan);
  EXPECT_EQ(at(3), entry("MR", "D", "5C", 3));
  EXPECT_FALSE(replaceAssignment(plan, list, 400, entry("MR", "D", "5C", 3)));
  EXPECT_TRUE(replaceAssignment(plan, list, 0, entry("MR", "D", "5D", 3)));
  EXPECT_EQ(at(assignmentCount(plan, list)), entry("MR", "D", "5D", 3));
  plan.modifiedPlan = false;
  EXPECT_TRUE(removeAssignment(plan, demo.ui, list, 2));
  EXPECT_TRUE(plan.modifiedPlan);
  EXPECT_EQ(at(2), entry("MR", "D", "5C", 3));
  EXPECT_FALSE(plan.modifiedCouplings);
}

TEST_F(AssignmentEditing, RemovingWithoutSelectionSaysSoAndChangesNothing) {
  const std::string before = demo.ws.plan.assignments;
  EXPECT_FALSE(removeAssignment(demo.ws.plan, demo.ui, AssignmentTarget::Assignments, 0));
  EXPECT_TRUE(demo.ui.saw("Keine Daten ausgew\xE4hlt!"));
  EXPECT_EQ(demo.ws.plan.assignments, before);
  EXPECT_FALSE(demo.ws.plan.modifiedPlan);
}

TEST_F(AssignmentEditing, BufferIsEditedOnItsOwn) {
  addAssignment(demo.ws.plan, AssignmentTarget::Buffer, entry("MR", "D", "5A", 1));
  EXPECT_EQ(demo.ws.plan.assignmentBuffer, entry("MR", "D", "5A", 1));
  EXPECT_EQ(assignmentCount(demo.ws.plan, AssignmentTarget::Assignments), 323);
}

// Copying 5A's lessons into 6A copies the ordinary entries only, with the new class.
TEST_F(AssignmentEditing, CopyFromClassTakesOrdinaryEntriesWithTheNewClass) {
  Workspace& ws = demo.ws;
  const int from = demo.schoolClass("5A");
  const int to = demo.schoolClass("6A");
  int ordinary = 0;
  for (size_t i = 0; i < recordCount(ws.plan.assignments, 4); ++i) {
    const AssignmentView view(ws.plan.assignments, i);
    if (!view.isCoupling() && view.schoolClass() == from) ++ordinary;
  }
  EXPECT_EQ(copyAssignmentsFromClass(ws, demo.ui, AssignmentTarget::Assignments, from, to), 0);  // "Nein"
  EXPECT_TRUE(demo.ui.saw("Deputat wirklich aus 5A kopieren?"));
  EXPECT_FALSE(ws.plan.modifiedPlan);
  demo.ui.queueAnswer("Ja");
  ASSERT_GT(ordinary, 0);
  EXPECT_EQ(copyAssignmentsFromClass(ws, demo.ui, AssignmentTarget::Assignments, from, to), ordinary);
  EXPECT_EQ(assignmentCount(ws.plan, AssignmentTarget::Assignments), 323 + ordinary);
  for (int i = 324; i <= 323 + ordinary; ++i) {
    const std::string copied = ws.plan.assignments.substr(static_cast<size_t>(i - 1) * 4, 4);
    EXPECT_FALSE(AssignmentView(copied, 0).isCoupling());
    EXPECT_EQ(AssignmentView(copied, 0).schoolClass(), to);
  }
  EXPECT_TRUE(ws.plan.modifiedPlan);
}

TEST_F(AssignmentEditing, CopyFromClassWithoutOrdinaryEntriesAddsNothing) {
  Workspace& ws = demo.ws;
  std::string onlyCouplings;
  for (size_t i = 0; i < recordCount(ws.plan.assignments, 4); ++i) {
    if (AssignmentView(ws.plan.assignments, i).isCoupling()) onlyCouplings += ws.plan.assignments.substr(i * 4, 4);
  }
  ws.plan.assignments = onlyCouplings;
  demo.ui.queueAnswer("Ja");
  EXPECT_EQ(copyAssignmentsFromClass(ws, demo.ui, AssignmentTarget::Assignments, demo.schoolClass("5A"),
                                     demo.schoolClass("5B")),
            0);
  EXPECT_EQ(ws.plan.assignments, onlyCouplings);
  EXPECT_FALSE(ws.plan.modifiedPlan);
}

}  // namespace
}  // namespace quort
