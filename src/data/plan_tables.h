#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quort {

struct BaseData;

inline constexpr int kMaxCouplings = 100;
inline constexpr int kMaxBlocks = 5000;
inline constexpr int kGridDays = 6;  // days 1 to 6 are always kept, whatever the school uses

// One 16-bit word per entity, period slot (0..periodsPerDay) and day (0..6). Row 0 and
// day 0 are spare unless a grid says otherwise.
class Grid {
 public:
  void resize(int entities, int periodsPerDay);  // entities 0..entities
  void clear();
  uint16_t& at(int entity, int period, int day) { return m_cells[index(entity, period, day)]; }
  uint16_t at(int entity, int period, int day) const { return m_cells[index(entity, period, day)]; }
  int entities() const { return m_entities; }
  int periods() const { return m_periods; }
  bool operator==(const Grid&) const = default;

 private:
  size_t index(int entity, int period, int day) const {
    return (static_cast<size_t>(entity) * (m_periods + 1) + period) * (kGridDays + 1) + day;
  }
  int m_entities = 0;
  int m_periods = 0;
  std::vector<uint16_t> m_cells;
};

// lessonWord: bits 8-15 teacher, bit 7 coupled or fixed, bit 6 index mark, bits 0-5 subject.
struct LessonWord {
  static int teacher(uint16_t w) { return w >> 8; }
  static int subject(uint16_t w) { return w & 63; }
  static bool coupledOrFixed(uint16_t w) { return (w & 128) != 0; }
  static bool indexMark(uint16_t w) { return (w & 64) != 0; }
};

// roomWord: bits 8-15 coupling number, bit 7 marker of placement, bits 0-6 room.
struct RoomWord {
  static int coupling(uint16_t w) { return w >> 8; }
  static bool marker(uint16_t w) { return (w & 128) != 0; }
  static int room(uint16_t w) { return w & 127; }
};

// The timetable of every class and what follows from it for teachers, rooms and subjects.
struct TimetableGrids {
  Grid lessonWord;  // per class
  Grid roomWord;    // per class
  Grid teacher;     // high byte: class taught; low byte: lock value. Row 0: lessons that day
  Grid room;        // class that occupies the room
  Grid subject;     // high byte: lock count; low byte: usage count
  Grid roomLock;    // per room: lock value of the slot (0 = none); a locked room is not given out

  void resize(const BaseData& base);
  void clear();
  bool operator==(const TimetableGrids&) const = default;
};

// The records of the open plan. Sized from the base data whenever base data or a plan
// are loaded.
struct PlanTables {
  std::string assignments;                            // AssignmentView records
  std::string assignmentBuffer;                       // set aside ("Puffer"), saved behind assignments
  std::vector<std::string> couplings{std::string()};  // [1..nCouplings]: CouplingMemberView records
  std::vector<std::string> blocks{std::string()};     // [1..nBlocks]: coupling numbers separated by ","
  TimetableGrids timetable;
  std::vector<int16_t> lessonsPerClass;   // cells with a teacher, per class
  TimetableGrids reference;               // the plan as it was opened, for substitution planning
  std::vector<int16_t> teacherDayValues;  // per teacher, cleared at every load
  std::string openLessons;                // OpenLessonView records of the substitution day
  std::string freedLessons;               // FreedLessonView records

  bool modifiedPlan = false;
  bool modifiedCouplings = false;
  bool modifiedLocks = false;
  bool optionsChangedByGenerator = false;
  int32_t initialPlanCost = 0;  // the generator's measure of the plan before its first run
  std::string planName;

  int nCouplings() const { return static_cast<int>(couplings.size()) - 1; }
  int nBlocks() const { return static_cast<int>(blocks.size()) - 1; }
  bool anyChange() const { return modifiedPlan || modifiedCouplings || modifiedLocks; }
  void clearChanges() { modifiedPlan = modifiedCouplings = modifiedLocks = false; }

  // Empties every record and sizes the grids for base.
  void reset(const BaseData& base);
};

// The copy that "zurück" returns to. The class grid is kept with the records: periods
// that a placement took out of the assignments must come back out of the timetable too.
struct PlanBackup {
  bool taken = false;
  std::string assignments;
  std::string assignmentBuffer;
  std::string openLessons;
  std::string freedLessons;
  Grid lessonWord;
  Grid roomWord;
};

}  // namespace quort
