#include "timetable/manual_placement.h"

#include <gtest/gtest.h>

#include "demo_school.h"
#include "timetable/assignment_list.h"
#include "timetable/lesson_removal.h"
#include "timetable/slot_check.h"

namespace quort {
namespace {

using test::DemoSchool;

constexpr Slot kMo1{1, 1};

class Placement : public ::testing::Test {
 protected:
  // Places the list entry of teacher, subject and class like "einfügen".
  PlaceOutcome place(const std::string& t, const std::string& s, const std::string& c, Slot slot) {
    const std::string e = demo.entry(t, s, c);
    EXPECT_FALSE(e.empty()) << t << s << c;
    return placeAssignment(demo.ws, demo.ui, *findAssignment(demo.ws.plan.assignments, e), slot);
  }
  PlaceOutcome placeCoupling(int coupling, int kind, Slot slot) {
    const std::string e = demo.couplingEntry(coupling, kind);
    return placeAssignment(demo.ws, demo.ui, *findAssignment(demo.ws.plan.assignments, e), slot);
  }
  std::string unit(const std::string& t, const std::string& s, const std::string& c) {
    return makeAssignment(demo.teacher(t), demo.schoolClass(c), demo.subject(s), 1);
  }
  static std::string question(const std::string& text) { return text + "\r\rKombination dennoch setzen?"; }

  DemoSchool demo;
};

// A second lesson of the same teacher and subject on one day is refused, naming where the
// first one stands; a coupled lesson of that teacher and subject does not count.
TEST_F(Placement, SameCombinationTwiceADayIsRefusedUnlessOneIsCoupled) {
  EXPECT_EQ(place("MR", "D", "5A", kMo1), PlaceOutcome::Placed);
  EXPECT_EQ(demo.periodsToPlace("MR", "D", "5A"), 4);
  EXPECT_EQ(place("MR", "D", "5A", Slot{1, 3}), PlaceOutcome::Declined);
  EXPECT_TRUE(demo.ui.saw(question("MO 1: Kombination bereits gesetzt.")));
  EXPECT_EQ(demo.lesson("5A", Slot{1, 3}), 0);
  EXPECT_EQ(demo.periodsToPlace("MR", "D", "5A"), 4);

  // NB teaches KR1 in coupling 1 (5A-5D); an ordinary KR lesson of NB in 5A is another lesson.
  EXPECT_EQ(placeCoupling(1, 0, Slot{2, 1}), PlaceOutcome::Placed);
  EXPECT_EQ(checkSlot(demo.ws, unit("NB", "KR", "5A"), Slot{2, 3}, {}), CheckCode::Free);
  EXPECT_EQ(checkSlot(demo.ws, demo.couplingEntry(1, 0) + demo.ws.plan.couplings[1], Slot{2, 3}, {}),
            CheckCode::Combination);
  EXPECT_TRUE(demo.consistent());
}

// Checking several days with the day set skips a day on which the combination stands.
TEST_F(Placement, DaySetSkipsTheDayWhereTheCombinationStands) {
  place("MR", "D", "5A", kMo1);
  const std::string units = unit("MR", "D", "5A");
  EXPECT_EQ(checkSlot(demo.ws, units, Slot{1, 4}, {.mode = CheckMode::kHonourDaySet}), CheckCode::Combination);
  EXPECT_EQ(checkSlot(demo.ws, units, Slot{1, 5}, {.mode = CheckMode::kHonourDaySet}), CheckCode::DayAlreadyUsed);
  EXPECT_EQ(checkSlot(demo.ws, units, Slot{1, 5}, {.mode = CheckMode::kHonourDaySet | CheckMode::kIgnoreDaySet}),
            CheckCode::Combination);
  EXPECT_EQ(checkSlot(demo.ws, units, Slot{2, 5}, {.mode = CheckMode::kHonourDaySet}), CheckCode::Free);
  EXPECT_EQ(checkSlot(demo.ws, units, Slot{1, 5}, {}), CheckCode::Combination);    // a new search
  EXPECT_EQ(checkSlot(demo.ws, units, Slot{6, 1}, {}), CheckCode::ClassOccupied);  // no Saturday lessons
}

// Chemistry is taught in double periods; forced into the last period it takes one period,
// and only that one period leaves the assignment.
TEST_F(Placement, DoubleLessonInTheLastPeriodBecomesASinglePeriodWhenForced) {
  demo.ui.queueAnswer("Ja");
  EXPECT_EQ(place("VO", "CH", "8A", Slot{1, 10}), PlaceOutcome::Placed);
  EXPECT_TRUE(demo.ui.saw(question("Doppelstunde nicht m\xF6glich.")));
  EXPECT_NE(demo.lesson("8A", Slot{1, 10}), 0);
  EXPECT_EQ(demo.lesson("8A", Slot{1, 9}), 0);
  EXPECT_EQ(demo.periodsToPlace("VO", "CH", "8A"), 1);
  EXPECT_TRUE(demo.consistent());
}

// Chemistry has two rooms: a third parallel lesson finds none. With "2+1" rooms the third
// room is granted only at the generator's last level.
TEST_F(Placement, RoomCountLimitsParallelLessonsOfASubject) {
  const Slot di3{2, 3};
  place("VO", "CH", "8A", di3);
  place("BG", "CH", "8B", di3);
  const std::string third = unit("FR", "CH", "8C");
  EXPECT_EQ(checkSlot(demo.ws, third, di3, {.extra = 1}), CheckCode::NoRoom);
  EXPECT_EQ(refusalText(demo.ws), "DI 3: Kein Raum f\xFCr CH.");
  EXPECT_EQ(checkSlot(demo.ws, third, di3, {.extra = 1, .mode = CheckMode::kNoRoomCount}), CheckCode::Free);

  demo.ws.base.subjects[static_cast<size_t>(demo.subject("CH"))].roomSpec = 258;
  const int lastLevel = demo.ws.base.planOptions.attemptsPerPlan;
  EXPECT_EQ(checkSlot(demo.ws, third, di3, {.level = lastLevel - 1, .extra = 1}), CheckCode::NoRoom);
  EXPECT_EQ(checkSlot(demo.ws, third, di3, {.level = lastLevel, .extra = 1}), CheckCode::Free);
}

// Two courses of one coupling in the same room group need two rooms of it at once.
TEST_F(Placement, CoupledCoursesOfOneRoomGroupCountTwice) {
  const int ch = demo.subject("CH");
  const std::string members = makeCouplingMember(demo.teacher("VO"), demo.schoolClass("8A"), ch, 'a') +
                              makeCouplingMember(demo.teacher("BG"), demo.schoolClass("8B"), ch, 'b');
  const std::string units = makeAssignment(0, 0, 27, 1) + members;
  const Slot mi2{3, 2};
  EXPECT_EQ(checkSlot(demo.ws, units, mi2, {}), CheckCode::Free);
  place("FR", "CH", "8C", mi2);
  EXPECT_EQ(checkSlot(demo.ws, units, mi2, {}), CheckCode::NoRoom);
  EXPECT_EQ(demo.ws.placement.result.teacher, demo.teacher("BG"));
}

// A teacher who has option 8's number of lessons that day is refused even in a free slot;
// a slot where the teacher teaches names the lesson instead.
TEST_F(Placement, TeacherAtTheDailyLimitOrBusyIsRefused) {
  demo.ws.base.planOptions.maxTeacherLessonsPerDay = 1;
  place("MR", "D", "5A", Slot{3, 1});
  EXPECT_EQ(place("MR", "D", "5C", Slot{3, 5}), PlaceOutcome::Declined);
  EXPECT_TRUE(demo.ui.saw(question("MI 5: hohe Stundenzahl f\xFCr MR")));
  EXPECT_EQ(place("MR", "D", "5C", Slot{3, 1}), PlaceOutcome::Declined);
  EXPECT_TRUE(demo.ui.saw(question("MI 1: Eintrag f\xFCr MR")));
  EXPECT_EQ(demo.ws.shell.currentTeacher, demo.teacher("MR"));
}

// Option 8 holds for every period of a double: the second period counts the first. With
// two lessons on Wednesday and a limit of 3, a double of the teacher there would make 4;
// placing it asks like any other refusal, naming the second period.
TEST_F(Placement, DoubleThatWouldPassTheDailyLimitIsRefusedAtItsSecondPeriod) {
  demo.ws.base.planOptions.maxTeacherLessonsPerDay = 3;
  place("VO", "M", "5C", Slot{3, 1});
  place("VO", "M", "6D", Slot{3, 2});
  EXPECT_EQ(place("VO", "CH", "8A", Slot{3, 4}), PlaceOutcome::Declined);
  EXPECT_TRUE(demo.ui.saw(question("MI 5: hohe Stundenzahl f\xFCr VO")));
  EXPECT_EQ(demo.lesson("8A", Slot{3, 4}), 0);
  EXPECT_EQ(demo.lesson("8A", Slot{3, 5}), 0);
  EXPECT_EQ(demo.periodsToPlace("VO", "CH", "8A"), 2);

  demo.ui.queueAnswer("Ja");
  EXPECT_EQ(place("VO", "CH", "8A", Slot{3, 4}), PlaceOutcome::Placed);
  EXPECT_NE(demo.lesson("8A", Slot{3, 5}), 0);
  EXPECT_EQ(demo.periodsToPlace("VO", "CH", "8A"), 0);
  EXPECT_TRUE(demo.consistent());

  // A single period still fits below the limit; a triple checks count + 2 at its third.
  demo.ws.base.planOptions.maxTeacherLessonsPerDay = 2;
  const std::string units = unit("VO", "CH", "9B");
  EXPECT_EQ(checkSlot(demo.ws, units, Slot{4, 3}, {.extra = 1}), CheckCode::Free);
  EXPECT_EQ(checkSlot(demo.ws, units, Slot{4, 3}, {.extra = 2}), CheckCode::Teacher);
  EXPECT_EQ(demo.ws.placement.result.period, 5);
}

// Forcing a lesson over another class's lesson of the same teacher sends that lesson back
// into the assignments.
TEST_F(Placement, ForcingOverTheTeachersOtherClassReturnsThatLesson) {
  place("MR", "D", "5A", Slot{4, 2});
  demo.ui.queueAnswer("Ja");
  EXPECT_EQ(place("MR", "D", "5C", Slot{4, 2}), PlaceOutcome::Placed);
  EXPECT_EQ(demo.lesson("5A", Slot{4, 2}), 0);
  EXPECT_NE(demo.lesson("5C", Slot{4, 2}), 0);
  EXPECT_EQ(demo.periodsToPlace("MR", "D", "5A"), 5);
  EXPECT_EQ(demo.periodsToPlace("MR", "D", "5C"), 4);
  EXPECT_TRUE(demo.consistent());
}

// A protected lesson that the user keeps stops the placement of even a one-period lesson:
// writing over it would leave the coupling half in the plan.
TEST_F(Placement, KeepingAProtectedLessonStopsThePlacement) {
  const Slot fr1{5, 1};
  placeCoupling(1, 0, fr1);
  const uint16_t coupled = demo.lesson("5A", fr1);
  demo.ui.queueAnswer("Ja");    // "FR 1: Eintrag für 5A."
  demo.ui.queueAnswer("Nein");  // "FR1: Sperre - Kombination löschen?"
  EXPECT_EQ(place("DZ", "MU", "5A", fr1), PlaceOutcome::Unreliable);
  EXPECT_TRUE(demo.ui.saw("FR1: Sperre - Kombination l\xF6schen?"));
  EXPECT_TRUE(demo.ui.saw("Daten nicht mehr zuverl\xE4ssig!"));
  EXPECT_EQ(demo.lesson("5A", fr1), coupled);
  EXPECT_EQ(demo.periodsToPlace("DZ", "MU", "5A"), 2);
  EXPECT_TRUE(demo.consistent());

  demo.ui.queueAnswer("Ja");
  demo.ui.queueAnswer("Ja");
  EXPECT_EQ(place("DZ", "MU", "5A", fr1), PlaceOutcome::Placed);
  for (const char* member : {"5B", "5C", "5D"}) EXPECT_EQ(demo.lesson(member, fr1), 0) << member;
  EXPECT_EQ(AssignmentView(std::string_view(demo.couplingEntry(1, 0)), 0).periods(), 2);
  EXPECT_EQ(demo.periodsToPlace("DZ", "MU", "5A"), 1);
  EXPECT_TRUE(demo.consistent());
}

// Removing any period of a double lesson returns the whole block with its marker; in the
// coupling view a coupled lesson goes without a question.
TEST_F(Placement, RemovingReturnsTheWholeBlockWithItsMarkers) {
  demo.ws.plan.assignments += makeAssignment(demo.teacher("VO"), demo.schoolClass("9A"), demo.subject("CH"), 2 + 32);
  place("VO", "CH", "9A", Slot{2, 5});
  EXPECT_TRUE(LessonWord::indexMark(demo.lesson("9A", Slot{2, 6})));
  EXPECT_TRUE(demo.entry("VO", "CH", "9A").empty());
  EXPECT_FALSE(
      removeLesson(demo.ws, demo.ui, Slot{2, 6}, demo.schoolClass("9A"), RemoveMode::kAsk, demo.ws.plan.assignments));
  EXPECT_EQ(demo.lesson("9A", Slot{2, 5}), 0);
  EXPECT_EQ(static_cast<unsigned char>(demo.entry("VO", "CH", "9A")[3]), 2 + 32);

  placeCoupling(7, 1, Slot{1, 3});
  demo.ws.shell.workMode = 0;
  EXPECT_FALSE(
      removeLesson(demo.ws, demo.ui, Slot{1, 3}, demo.schoolClass("11F"), RemoveMode::kAsk, demo.ws.plan.assignments));
  EXPECT_TRUE(demo.ui.records().empty());
  for (const char* member : {"11A", "11B", "11C", "11D", "11E", "11F"}) EXPECT_EQ(demo.lesson(member, Slot{1, 4}), 0);
  EXPECT_EQ(AssignmentView(std::string_view(demo.couplingEntry(7, 1)), 0).periods(), 4);
  demo.ws.shell.workMode = 1;
  placeCoupling(7, 1, Slot{1, 3});
  EXPECT_TRUE(removeLesson(demo.ws, demo.ui, Slot{1, 3}, demo.schoolClass("11A"), RemoveMode::kRefuse,
                           demo.ws.plan.assignments));
  EXPECT_TRUE(demo.consistent());
}

// Merging adds the counts and keeps the markers of both sides; what does not fit into
// 15 periods goes into a further entry of the same key.
TEST(MergeEntries, CountsAddMarkersStayAndNothingOverflows) {
  std::string list = makeAssignment(1, 2, 3, 2 + 16) + makeAssignment(4, 5, 6, 1);
  mergeEntries(makeAssignment(1, 2, 3, 1 + 16), list, MergeMode::Add);
  EXPECT_EQ(list, makeAssignment(1, 2, 3, 3 + 16) + makeAssignment(4, 5, 6, 1));
  mergeEntries(makeAssignment(1, 2, 3, 14 + 32), list, MergeMode::Add);
  EXPECT_EQ(list, makeAssignment(1, 2, 3, 15 + 48) + makeAssignment(4, 5, 6, 1) + makeAssignment(1, 2, 3, 2 + 32));
  mergeEntries(makeAssignment(7, 7, 7, 3) + makeAssignment(4, 5, 6, 0), list, MergeMode::Add);
  EXPECT_EQ(list, makeAssignment(1, 2, 3, 15 + 48) + makeAssignment(1, 2, 3, 2 + 32) + makeAssignment(7, 7, 7, 3));
  mergeEntries(makeAssignment(1, 2, 3, 9), list, MergeMode::Remove);
  EXPECT_EQ(list, makeAssignment(7, 7, 7, 3));
}

// How many periods go together: doubles for double-period subjects and marker "¹", the
// kind for couplings, never more than the periods left.
TEST_F(Placement, DecodingChoosesTheBlockLength) {
  const int ch = demo.subject("CH");
  const int d = demo.subject("D");
  EXPECT_EQ(decodeEntry(demo.ws, makeAssignment(1, 1, ch, 4)).extra, 1);
  EXPECT_EQ(decodeEntry(demo.ws, makeAssignment(1, 1, ch, 1)).extra, 0);
  EXPECT_EQ(decodeEntry(demo.ws, makeAssignment(1, 1, d, 4)).extra, 0);
  EXPECT_EQ(decodeEntry(demo.ws, makeAssignment(1, 1, d, 2 + 16)).extra, 1);
  const DecodedEntry triple = decodeEntry(demo.ws, demo.couplingEntry(26, 2));
  EXPECT_EQ(triple.extra, 2);
  EXPECT_EQ(triple.units.size(), 4U + demo.ws.plan.couplings[26].size());
  EXPECT_EQ(demo.ws.shell.currentClass, demo.schoolClass("12B"));
  EXPECT_EQ(decodeEntry(demo.ws, makeAssignment(0, 2, 26, 2)).extra, 1);
}

}  // namespace
}  // namespace quort
