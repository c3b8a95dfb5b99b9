#include "timetable/room_setting.h"

#include <gtest/gtest.h>

#include "demo_school.h"
#include "timetable/assignment_list.h"
#include "timetable/manual_placement.h"

namespace quort {
namespace {

// 5A, 5B and 5C each have a lesson on Monday, period 1; rooms are set there.
class RoomSetting : public ::testing::Test {
 protected:
  void SetUp() override {
    placeFirstOf("5A");
    placeFirstOf("5B");
    placeFirstOf("5C");
  }
  void placeFirstOf(const std::string& c) {
    const std::string& list = demo.ws.plan.assignments;
    for (size_t i = 0; i < recordCount(list, 4); ++i) {
      const AssignmentView e(list, i);
      if (e.schoolClass() != demo.schoolClass(c) || e.isCoupling()) continue;
      if (placeAssignment(demo.ws, demo.ui, i, kSlot) == PlaceOutcome::Placed) return;
    }
    FAIL() << "nothing placed in " << c;
  }
  bool set(const std::string& room, const std::string& c) {
    return setRoom(demo.ws, demo.ui, {demo.room(room), demo.schoolClass(c), kSlot});
  }
  int roomOf(const std::string& c) const { return demo.roomOf(c, kSlot); }
  int holder(const std::string& room) const { return demo.ws.plan.timetable.room.at(demo.room(room), 1, 1); }

  static constexpr Slot kSlot{1, 1};
  test::DemoSchool demo;
};

// A room already set is only replaced after the question, and the same room again is refused.
TEST_F(RoomSetting, OverwritingAsksAndTheSameRoomIsRefused) {
  EXPECT_TRUE(set("101", "5A"));
  EXPECT_EQ(holder("101"), demo.schoolClass("5A"));
  EXPECT_FALSE(set("101", "5A"));
  EXPECT_TRUE(demo.ui.saw("Identischer Raum f\xFCr 5A!"));
  EXPECT_FALSE(set("102", "5A"));
  EXPECT_TRUE(
      demo.ui.saw("In 5A bereits Raum gesetzt!  Raum \xFC"
                  "berschreiben?"));
  EXPECT_EQ(roomOf("5A"), demo.room("101"));
  demo.ui.queueAnswer("Ja");
  EXPECT_TRUE(set("102", "5A"));
  EXPECT_EQ(holder("101"), 0);
  EXPECT_EQ(holder("102"), demo.schoolClass("5A"));
  EXPECT_FALSE(set("XYZ", "5A"));
  EXPECT_TRUE(demo.ui.saw("Kein Raum!"));
  EXPECT_FALSE(set("103", "5D"));
  EXPECT_TRUE(demo.ui.saw("Kein Unterricht in 5D!"));
  EXPECT_TRUE(demo.consistent());
}

// A room another class holds is taken from it or swapped; cancelling leaves both classes
// as they were, even after the overwrite question was answered.
TEST_F(RoomSetting, RoomOfAnotherClassIsDeletedOrSwappedOrLeftAlone) {
  set("101", "5A");
  set("102", "5B");
  demo.ui.queueAnswer("Ja");
  demo.ui.queueAnswer("Abbruch");
  EXPECT_FALSE(set("102", "5A"));
  EXPECT_TRUE(
      demo.ui.saw("In 5A bereits Raum gesetzt!  Raum \xFC"
                  "berschreiben?\r\r102 in 5B gesetzt! [Raum in 5B l\xF6schen|R\xE4ume tauschen|Abbruch]"));
  EXPECT_EQ(roomOf("5A"), demo.room("101"));
  EXPECT_EQ(roomOf("5B"), demo.room("102"));

  demo.ui.queueAnswer("Ja");
  demo.ui.queueAnswer("R\xE4ume tauschen");
  EXPECT_TRUE(set("102", "5A"));
  EXPECT_TRUE(demo.ui.saw("R\xE4ume in 5A und 5B getauscht!"));
  EXPECT_EQ(roomOf("5A"), demo.room("102"));
  EXPECT_EQ(roomOf("5B"), demo.room("101"));
  EXPECT_TRUE(demo.consistent());

  demo.ui.queueAnswer("Raum in 5A l\xF6schen");
  EXPECT_TRUE(set("102", "5C"));
  EXPECT_TRUE(demo.ui.saw("102 in 5A gel\xF6scht!"));
  EXPECT_EQ(roomOf("5A"), 0);
  EXPECT_EQ(holder("102"), demo.schoolClass("5C"));
  EXPECT_TRUE(demo.consistent());
}

}  // namespace
}  // namespace quort
