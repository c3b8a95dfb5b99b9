#pragma once

#include <vector>

namespace quort {

// The modes of the slot check. Bit 1 asks for the day set to be honoured; every other bit
// switches one check off. A manual placement collects the bits of the checks the user
// overrode.
namespace CheckMode {
inline constexpr int kHonourDaySet = 1;
inline constexpr int kIgnoreDaySet = 2;
inline constexpr int kNoEndOfDay = 4;
inline constexpr int kNoCombination = 8;
inline constexpr int kNoRoomCount = 16;
inline constexpr int kNoClassOccupied = 32;
inline constexpr int kNoTeacher = 64;
}  // namespace CheckMode

// Why the slot check refused a slot.
enum class CheckCode {
  Free = 0,
  DayAlreadyUsed = 1,  // the combination stands on that day already (with a day set)
  EndOfDay = 2,        // the further periods run past the end of the day
  Combination = 3,     // the class has that teacher and subject on that day already
  ClassOccupied = 4,   // the class has a lesson there, or the day is not taught
  Teacher = 5,         // the teacher teaches or is locked there, or has enough that day
  NoRoom = 6,          // every room of the subject is taken
};

// Where the last slot check stopped, and for which unit; the messages are built from it.
struct CheckResult {
  CheckCode code = CheckCode::Free;
  int day = 0;
  int period = 0;
  int teacher = 0;
  int schoolClass = 0;
  int subject = 0;
};

// What placement keeps between calls.
struct PlacementState {
  CheckResult result;
  int daySet = 0;                 // bit 2^day: the combination was found already set that day
  std::vector<int> hoursToPlace;  // per teacher: periods still to place
};

}  // namespace quort
