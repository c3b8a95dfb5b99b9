#include "timetable/room_distribution.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/base_data_format.h"
#include "data/plan_grids.h"
#include "demo_school.h"
#include "timetable/generation_filter.h"
#include "timetable/plan_generator.h"
#include "timetable/plan_views.h"
#include "timetable/room_setting.h"
#include "workspace/plan_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

// A small school from base-data lines: five days of six periods (or six slots with A/B
// weeks), teachers AA-DD, subjects D (no rooms), PH (two rooms, doubles), NW (uses the
// PH rooms), SP (room field "0"). 5A and 5B have home rooms, 5C's is locked, 5D has none.
struct SmallSchool {
  Workspace ws;
  ScriptedUi ui;

  explicit SmallSchool(bool alternation = false) {
    const std::vector<std::string> lines = {"5A",          "5B",         "5C",     "5D",        "AA",
                                            "BB",          "CC",         "DD",     "D Deutsch", "PH Physik 2 D",
                                            "NW Natur PH", "SP Sport 0", "101 5A", "102 5B",    "103 5C #",
                                            "PH1 PH",      "PH2 PH",     "A01",    "A02 #"};
    std::string text = std::to_string(256 * (alternation ? 8 : 0) + 256 + 16 * 4 + 6) + ",4,5,5,7\r\n";
    for (const std::string& line : lines) text += line + "\r\n";
    text += "20,4,1,20,2,2,1,100,6,4,5,1\r\n";
    if (parseBaseDataFile(text, ws.base).outcome != ParseOutcome::Ok) throw std::runtime_error("small school");
    ws.plan.reset(ws.base);
  }

  int c(const char* code) const { return ws.base.findClass(code); }
  int r(const char* code) const { return ws.base.findRoom(code); }
  int s(const char* code) const { return ws.base.findSubject(code); }
  void lesson(const char* cls, int day, int period, int teacher, const char* subject, int room = 0) {
    const auto word = static_cast<uint16_t>(teacher * 256 + s(subject));
    enterTimetableCell(ws.base, ws.plan, {c(cls), period, day, word, static_cast<uint16_t>(room)}, false);
  }
  int roomOf(const char* cls, int day, int period) const {
    return ws.plan.timetable.roomWord.at(c(cls), period, day) & 127;
  }
  int run(std::vector<int> classes = {}) { return runRoomPhases(ws, classes.empty() ? allClasses(ws) : classes); }
};

// Independent of the distribution: every room is held by at most one class per slot, and
// the room grid says exactly what the class cells say.
std::string roomBookingFaults(const Workspace& ws) {
  std::string faults;
  const TimetableGrids& g = ws.plan.timetable;
  for (int day = 1; day <= kGridDays; ++day) {
    for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
      std::vector<int> holders(static_cast<size_t>(ws.base.nRooms()) + 1, 0);
      for (int c = 1; c <= ws.base.nClasses(); ++c) {
        const int room = g.roomWord.at(c, p, day) & 127;
        if (room == 0) continue;
        if (++holders[static_cast<size_t>(room)] > 1) faults += "room " + std::to_string(room) + " twice; ";
        if (g.room.at(room, p, day) != c) faults += "room grid disagrees; ";
      }
      for (int r = 1; r <= ws.base.nRooms(); ++r) {
        if (g.room.at(r, p, day) != 0 && holders[static_cast<size_t>(r)] == 0) faults += "stale room grid; ";
      }
    }
  }
  return faults;
}

// Phase 1 gives the home room, but not when another class holds it already or it is locked.
TEST(RoomDistribution, HomeRoomOnlyWhenFreeAndNotLocked) {
  SmallSchool school;
  school.lesson("5A", 1, 1, 1, "D");
  school.lesson("5A", 1, 2, 1, "D");
  school.lesson("5B", 1, 2, 2, "D", school.r("101"));  // 5B sits in 5A's home room
  school.lesson("5C", 1, 1, 3, "D");
  school.run();
  EXPECT_EQ(school.roomOf("5A", 1, 1), school.r("101"));
  EXPECT_NE(school.roomOf("5A", 1, 2), school.r("101"));
  EXPECT_NE(school.roomOf("5A", 1, 2), 0);
  EXPECT_NE(school.roomOf("5C", 1, 1), school.r("103"));
  EXPECT_NE(school.roomOf("5C", 1, 1), 0);
  EXPECT_EQ(roomBookingFaults(school.ws), "");
}

// A double period gets one subject room for both periods; when the ring's first room is
// taken in the second period, the other room is used for both.
TEST(RoomDistribution, DoublePeriodTakesOneRoomFreeInBoth) {
  SmallSchool school;
  const int head = school.ws.base.subjects[static_cast<size_t>(school.s("PH"))].firstRoom;
  const int other = head == school.r("PH1") ? school.r("PH2") : school.r("PH1");
  school.lesson("5A", 2, 3, 1, "PH");
  school.lesson("5A", 2, 4, 1, "PH");
  school.lesson("5B", 2, 4, 2, "NW", head);
  school.run();
  EXPECT_EQ(school.roomOf("5A", 2, 3), other);
  EXPECT_EQ(school.roomOf("5A", 2, 4), other);
  EXPECT_EQ(roomBookingFaults(school.ws), "");
}

// Every period of a triple ending in the last period of the day gets the room, and so do
// both rows of a weekly double under week alternation.
TEST(RoomDistribution, TriplesAndAlternatingRowsGetTheirRoom) {
  SmallSchool school;
  for (int p = 4; p <= 6; ++p) school.lesson("5A", 3, p, 1, "PH");
  school.run();
  const int room = school.roomOf("5A", 3, 4);
  EXPECT_NE(room, 0);
  EXPECT_EQ(school.roomOf("5A", 3, 5), room);
  EXPECT_EQ(school.roomOf("5A", 3, 6), room);

  SmallSchool alternating(true);
  for (int slot = 1; slot <= 4; ++slot) alternating.lesson("5D", 1, slot, 1, "PH");
  alternating.run();
  const int shared = alternating.roomOf("5D", 1, 1);
  EXPECT_NE(shared, 0);
  for (int slot = 2; slot <= 4; ++slot) EXPECT_EQ(alternating.roomOf("5D", 1, slot), shared) << slot;
}

// A locked room is never given out, even when it is the only free one; only the named
// classes are served.
TEST(RoomDistribution, LockedRoomsStayFreeAndOnlyNamedClassesAreServed) {
  SmallSchool school;
  school.lesson("5A", 4, 1, 1, "D");
  school.lesson("5B", 4, 1, 2, "D");
  school.lesson("5C", 4, 1, 3, "PH");
  school.lesson("5D", 4, 1, 4, "PH");
  school.lesson("5C", 4, 3, 3, "D");
  EXPECT_EQ(school.run({school.c("5A"), school.c("5B"), school.c("5D")}), 3);
  EXPECT_EQ(school.roomOf("5C", 4, 1), 0);
  EXPECT_EQ(school.roomOf("5C", 4, 3), 0);
  school.run();
  for (const char* cls : {"5A", "5B", "5C", "5D"}) {
    const int room = school.roomOf(cls, 4, 1);
    EXPECT_NE(room, 0) << cls;
    EXPECT_FALSE(roomLocked(school.ws.base, room)) << cls;
  }
  EXPECT_NE(school.roomOf("5C", 4, 3), school.r("103"));
  EXPECT_EQ(roomBookingFaults(school.ws), "");
}

// With the general pool booked out, a lesson that wants a room gets a subject's room in
// the last phase; one whose room field is "0" does not.
TEST(RoomDistribution, RoomFieldZeroGetsNoLeftoverRoom) {
  SmallSchool school;
  for (const int p : {2, 3}) {
    school.lesson("5A", 4, p, 1, "D", school.r("101"));
    school.lesson("5B", 4, p, 2, "D", school.r("102"));
    school.lesson("5C", 4, p, 3, "D", school.r("A01"));
  }
  school.lesson("5D", 4, 2, 4, "SP");
  school.lesson("5D", 4, 3, 4, "D");
  school.run();
  EXPECT_EQ(school.roomOf("5D", 4, 2), 0);
  const int room = school.roomOf("5D", 4, 3);
  EXPECT_TRUE(room == school.r("PH1") || room == school.r("PH2")) << room;
}

// By hand a locked room is not offered as free and is only set after a question.
TEST(RoomDistribution, LockedRoomByHandAsksFirstAndIsNotListedFree) {
  SmallSchool school;
  school.lesson("5C", 2, 1, 3, "D");
  const std::string free = resourcesText(school.ws, {2, 1})[1];
  EXPECT_EQ(free.find("103"), std::string::npos) << free;
  EXPECT_NE(free.find("101"), std::string::npos) << free;
  EXPECT_FALSE(setRoom(school.ws, school.ui, {school.r("103"), school.c("5C"), {2, 1}}));
  EXPECT_TRUE(school.ui.saw("103 gesperrt!  Raum dennoch setzen?"));
  EXPECT_EQ(school.roomOf("5C", 2, 1), 0);
  school.ui.queueAnswer("Ja");
  EXPECT_TRUE(setRoom(school.ws, school.ui, {school.r("103"), school.c("5C"), {2, 1}}));
  EXPECT_EQ(school.roomOf("5C", 2, 1), school.r("103"));
}

// A room locked for one slot ("Raumsperren") is not given out there, not even as a home
// room, and not listed free; in the next period it serves again. By hand it is set only
// after a question.
TEST(RoomDistribution, RoomLockedAtASlotIsNotGivenOutThere) {
  SmallSchool school;
  school.ws.plan.timetable.roomLock.at(school.r("101"), 1, 3) = 1;
  school.lesson("5A", 3, 1, 1, "D");
  school.lesson("5A", 3, 2, 1, "D");
  school.lesson("5B", 3, 1, 2, "PH");
  school.lesson("5B", 3, 2, 2, "PH");
  school.ws.plan.timetable.roomLock.at(school.r("PH1"), 2, 3) = 5;
  school.run();
  EXPECT_NE(school.roomOf("5A", 3, 1), school.r("101"));
  EXPECT_NE(school.roomOf("5A", 3, 1), 0);
  EXPECT_EQ(school.roomOf("5A", 3, 2), school.r("101"));
  // The double period of physics takes the room free in both periods.
  EXPECT_EQ(school.roomOf("5B", 3, 1), school.r("PH2"));
  EXPECT_EQ(school.roomOf("5B", 3, 2), school.r("PH2"));
  EXPECT_EQ(roomBookingFaults(school.ws), "");

  school.lesson("5D", 2, 4, 4, "D");
  school.ws.plan.timetable.roomLock.at(school.r("A01"), 4, 2) = 127;
  EXPECT_EQ(resourcesText(school.ws, {2, 4})[1].find("A01"), std::string::npos);
  EXPECT_FALSE(setRoom(school.ws, school.ui, {school.r("A01"), school.c("5D"), {2, 4}}));
  EXPECT_TRUE(school.ui.saw("A01 in DI 4 gesperrt!  Raum dennoch setzen?"));
  EXPECT_EQ(school.roomOf("5D", 2, 4), 0);
  school.ui.queueAnswer("Ja");
  EXPECT_TRUE(setRoom(school.ws, school.ui, {school.r("A01"), school.c("5D"), {2, 4}}));
  EXPECT_EQ(school.roomOf("5D", 2, 4), school.r("A01"));
}

// A ring damaged in the file (a cycle that misses its head, rooms out of range) ends the
// walk instead of hanging.
TEST(RoomDistribution, DamagedRingsEndTheWalk) {
  SmallSchool school;
  BaseData& base = school.ws.base;
  const int ph1 = school.r("PH1");
  const int ph2 = school.r("PH2");
  base.subjects[static_cast<size_t>(school.s("PH"))].firstRoom = static_cast<int16_t>(school.r("A01"));
  base.rooms[static_cast<size_t>(school.r("A01"))].nextRoom = static_cast<int16_t>(ph1);
  base.rooms[static_cast<size_t>(ph1)].nextRoom = static_cast<int16_t>(ph2);
  base.rooms[static_cast<size_t>(ph2)].nextRoom = static_cast<int16_t>(ph1);
  base.subjects[0].firstRoom = 99;
  school.lesson("5A", 5, 1, 1, "D", school.r("A01"));
  school.lesson("5B", 5, 1, 2, "D", ph1);
  school.lesson("5D", 5, 1, 4, "D", ph2);
  school.lesson("5C", 5, 1, 3, "PH");
  school.run();
  EXPECT_EQ(school.roomOf("5C", 5, 1), school.r("101"));
}

// Through the demo: after a generation every lesson that wants a room and can have one
// gets one, nothing is booked twice, a second run changes nothing, and "zurück" takes the
// whole run back.
TEST(RoomDistribution, DemoPlanAfterGenerationIsIdempotentAndUndone) {
  test::InTempDirectory dir;
  test::DemoSchool demo;
  const std::string workList = buildWorkList(demo.ws, GenerationFilter{});
  generateWorkList(demo.ws, demo.ui, workList, GenerationSwitches{});
  const Grid before = demo.ws.plan.timetable.roomWord;
  ASSERT_GT(distributeRooms(demo.ws, demo.ui, allClasses(demo.ws)), 0);
  EXPECT_EQ(roomBookingFaults(demo.ws), "");
  const Workspace& ws = demo.ws;
  for (int day = 1; day <= ws.base.days; ++day) {
    for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
      for (int c = 1; c <= ws.base.nClasses(); ++c) {
        const uint16_t lesson = ws.plan.timetable.lessonWord.at(c, p, day);
        const int subject = LessonWord::subject(lesson);
        if (!hasTeacherGrid(ws.base, LessonWord::teacher(lesson)) || subject == 0 || subject == ws.base.nSubjects())
          continue;
        if ((ws.plan.timetable.roomWord.at(c, p, day) & 127) != 0 || ws.base.subjects[subject].roomSpec == 256)
          continue;
        for (int r = 1; r <= ws.base.nRooms(); ++r) {
          EXPECT_TRUE(roomLocked(ws.base, r) || ws.plan.timetable.room.at(r, p, day) != 0)
              << "room " << r << " free for class " << c << " at " << day << "/" << p;
        }
      }
    }
  }
  const Grid after = demo.ws.plan.timetable.roomWord;
  EXPECT_EQ(runRoomPhases(demo.ws, allClasses(demo.ws)), 0);
  EXPECT_TRUE(demo.ws.plan.timetable.roomWord == after);
  RestorePlanRecords(demo.ws);
  EXPECT_TRUE(demo.ws.plan.timetable.roomWord == before);
  EXPECT_TRUE(demo.consistent());
}

// Random small plans (seeded): lessons of one to three periods, some coupled or with a
// room already, random locked rooms. After the run no room is booked twice, no locked room
// was given, rooms set before and lessons stay, every lesson still without a room that
// wants one has no free unlocked room at its slot, and a second run changes nothing.
TEST(RoomDistribution, RandomPlansKeepEveryRule) {
  const unsigned seed = std::random_device{}();
  std::printf("RoomDistribution seed %u\n", seed);
  std::mt19937 random(seed);
  for (int round = 0; round < 40; ++round) {
    SmallSchool school(round % 3 == 0);
    Workspace& ws = school.ws;
    const char* subjects[] = {"D", "PH", "NW", "SP"};
    for (int r = 1; r <= ws.base.nRooms(); ++r) {
      if (random() % 5 == 0) ws.base.rooms[static_cast<size_t>(r)].line += " #";
    }
    for (int c = 1; c <= ws.base.nClasses(); ++c) {
      for (int day = 1; day <= 5; ++day) {
        for (int p = 1; p <= ws.base.periodsPerDay;) {
          const int length = 1 + static_cast<int>(random() % 3);
          const auto word = static_cast<uint16_t>((1 + random() % 4) * 256 + (random() % 4 == 0 ? 128 : 0) +
                                                  ws.base.findSubject(subjects[random() % 4]));
          const bool empty = random() % 4 == 0;
          for (int q = p; q < p + length && q <= ws.base.periodsPerDay; ++q) {
            if (empty) continue;
            int room = 0;
            if (random() % 6 == 0) {
              const int r = 1 + static_cast<int>(random() % static_cast<unsigned>(ws.base.nRooms()));
              if (ws.plan.timetable.room.at(r, q, day) == 0) room = r;
            }
            enterTimetableCell(ws.base, ws.plan, {c, q, day, word, static_cast<uint16_t>(room)}, false);
          }
          p += length;
        }
      }
    }
    const TimetableGrids before = ws.plan.timetable;
    school.run();
    ASSERT_EQ(roomBookingFaults(ws), "") << "seed " << seed << " round " << round;
    for (int c = 1; c <= ws.base.nClasses(); ++c) {
      for (int day = 1; day <= 5; ++day) {
        for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
          const int was = before.roomWord.at(c, p, day) & 127;
          const int now = ws.plan.timetable.roomWord.at(c, p, day) & 127;
          ASSERT_EQ(before.lessonWord.at(c, p, day), ws.plan.timetable.lessonWord.at(c, p, day));
          if (was != 0) {
            ASSERT_EQ(now, was);
          }
          if (was == 0 && now != 0) {
            ASSERT_FALSE(roomLocked(ws.base, now)) << "seed " << seed;
          }
          const uint16_t lesson = ws.plan.timetable.lessonWord.at(c, p, day);
          const bool wants = lesson != 0 && ws.base.subjects[LessonWord::subject(lesson)].roomSpec != 256;
          if (now != 0 || !wants) continue;
          for (int r = 1; r <= ws.base.nRooms(); ++r) {
            ASSERT_TRUE(roomLocked(ws.base, r) || ws.plan.timetable.room.at(r, p, day) != 0)
                << "seed " << seed << " round " << round << " class " << c << " " << day << "/" << p;
          }
        }
      }
    }
    const TimetableGrids once = ws.plan.timetable;
    EXPECT_EQ(school.run(), 0) << "seed " << seed;
    EXPECT_TRUE(ws.plan.timetable == once) << "seed " << seed;
  }
}

}  // namespace
}  // namespace quort
