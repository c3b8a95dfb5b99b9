#include "timetable/plan_completion.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <unordered_set>

#include "data/plan_records.h"
#include "timetable/assignment_list.h"
#include "timetable/lesson_grid.h"
#include "timetable/lesson_removal.h"
#include "timetable/lesson_writing.h"
#include "timetable/slot_check.h"
#include "workspace/dialogs.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr size_t kCompletionEntry = AssignmentView::kSize;
constexpr double kPeriodCost = 20;  // taking out one period of another lesson
constexpr int kTabuTenure = 5;      // iterations an evicted lesson may not return to its slot
// Random share of a slot's cost, half a period taken out at most: in a crowded plan many
// slots cost nearly the same, and a narrower spread keeps the search running the same
// chains of evictions.
constexpr double kSlotNoise = 10;
constexpr int kProgressEvery = 64;   // iterations between progress lines and abort polls
constexpr long kStallMoves = 60000;  // moves without fewer open periods before the weights halve
constexpr int kGapPasses = 4;        // rounds of the gap pass over every lesson of the plan
constexpr int kRepairRounds = 3;     // further evictions when the slot check still refuses
constexpr size_t kRoomGroups = 64;   // subjects, and so room groups, of the lesson word

// What keeps a slot from taking a lesson for good: nothing the completion may move.
enum class SlotObstacle { None, ClassTaken, TeacherLocked, TeacherBusy, TeacherDayFull, NoRoom, Combination };

struct LessonUnit {
  int teacher = 0;
  int schoolClass = 0;
  int subject = 0;
  bool coupled = false;
};

// A placed lesson block that a move takes out; for a coupled block every member class goes.
struct TakenBlock {
  int schoolClass = 0;
  int day = 0;
  int first = 0;
  int last = 0;
  int coupling = 0;
};

struct CompletionMove {
  Slot slot;
  int level = 0;
  double cost = 0;
  std::vector<TakenBlock> evictions;
  SlotObstacle obstacle = SlotObstacle::None;
  bool pruned = false;  // cheaper slots are known: scored no further
  int teacher = 0;      // whose lock, lessons or day count is the obstacle
  int subject = 0;      // whose rooms are the obstacle
};

// The state the run may return to.
struct CompletionState {
  TimetableGrids timetable;
  std::vector<int16_t> lessonsPerClass;
  std::string assignments;
  std::vector<int> hoursToPlace;
  int open = 0;
  int gaps = 0;
};

std::vector<LessonUnit> lessonUnitsOf(std::string_view units) {
  std::vector<LessonUnit> list;
  bool coupled = false;
  for (size_t i = 0; i < recordCount(units, kCompletionEntry); ++i) {
    const AssignmentView view(units, i);
    if (view.teacher() == 0) {
      coupled = true;
      continue;
    }
    list.push_back(LessonUnit{view.teacher(), view.schoolClass(), view.subject(), coupled});
  }
  return list;
}

int teacherDayGaps(const Grid& teachers, int teacher, int day, int periods, Slot added, int extra) {
  int first = 0;
  int last = 0;
  int lessons = 0;
  for (int p = 1; p <= periods; ++p) {
    const bool taught =
        teachers.at(teacher, p, day) >= 256 || (added.day == day && p >= added.period && p <= added.period + extra);
    if (!taught) continue;
    if (first == 0) first = p;
    last = p;
    ++lessons;
  }
  return first == 0 ? 0 : last - first + 1 - lessons;
}

// The key of a lesson: teacher, class and subject bytes packed; a coupling by its number
// alone, since a removed block comes back under the kind its length gives.
int packedKey(int teacher, int schoolClass, int subject) { return (teacher << 16) | (schoolClass << 8) | subject; }

int completionKey(std::string_view entry) {
  const AssignmentView view(entry, 0);
  if (view.isCoupling()) return view.couplingNumber();
  return packedKey(view.teacher(), view.schoolClass(), view.subject());
}

// Tabu entries: a lesson key with the day and period it left.
int64_t tabuKey(int key, int day, int period) { return (static_cast<int64_t>(key) << 16) | (day << 8) | period; }

std::string listCode(const auto& list, int index) {
  if (index < 1 || index >= static_cast<int>(list.size())) return "??";
  return trimmedCode(list[static_cast<size_t>(index)].code);
}

// How often each lesson had to be placed again, by its key. The cost of every slot asks for
// the weights of the lessons it takes out, so they are kept by class and subject (with the
// rare second teacher of both beside the first) and by coupling number rather than in one
// hash table.
class LessonWeights {
 public:
  double of(int key) const {
    if (key < kFirstLesson) {
      const auto k = static_cast<size_t>(key);
      return k < m_coupling.size() ? m_coupling[k] : 1;
    }
    const size_t at = slotOf(key);
    if (at >= m_lesson.size()) return 1;
    for (const auto& [k, weight] : m_lesson[at])
      if (k == key) return weight;
    return 1;
  }
  void raise(int key) {
    if (key < kFirstLesson) {
      const auto k = static_cast<size_t>(key);
      if (k >= m_coupling.size()) m_coupling.resize(k + 1, 1);
      m_coupling[k] += 1;
      return;
    }
    const size_t at = slotOf(key);
    if (at >= m_lesson.size()) m_lesson.resize(at + 1);
    for (auto& [k, weight] : m_lesson[at])
      if (k == key) {
        weight += 1;
        return;
      }
    m_lesson[at].emplace_back(key, 2);
  }
  void halve() {
    const auto half = [](double& weight) { weight = 1 + (weight - 1) / 2; };
    std::for_each(m_coupling.begin(), m_coupling.end(), half);
    for (auto& list : m_lesson)
      for (auto& entry : list) half(entry.second);
  }

 private:
  static constexpr int kFirstLesson = 1 << 16;  // packed keys have a teacher above the coupling numbers
  static size_t slotOf(int key) { return static_cast<size_t>(key & 0xFFFF); }  // class and subject
  std::vector<double> m_coupling;
  std::vector<std::vector<std::pair<int, double>>> m_lesson;
};

// The run itself: one object per call of completePlan.
class Completion {
 public:
  Completion(Workspace& ws, Ui& ui, const CompletionSettings& settings) : m_ws(ws), m_ui(ui), m_settings(settings) {}
  CompletionReport run();

 private:
  void collectWorkableKeys();
  bool workable(std::string_view entry) const;
  std::vector<size_t> candidates() const;
  bool step();
  CompletionMove evaluate(const std::vector<LessonUnit>& units, int extra, Slot slot, int minLevel = 0,
                          double bound = std::numeric_limits<double>::infinity()) const;
  bool movable(int schoolClass, int day, int period) const;
  bool gapMovable(int schoolClass, int day, int period) const;
  TakenBlock blockAt(int schoolClass, int day, int period) const;
  bool covered(const std::vector<TakenBlock>& evictions, int schoolClass, int day, int period) const;
  bool evict(std::vector<TakenBlock>& evictions, int schoolClass, int day, int period) const;
  bool freeTeacherDay(CompletionMove& move, const LessonUnit& unit, int extra) const;
  bool freeRooms(CompletionMove& move, const std::vector<LessonUnit>& units, int extra) const;
  double moveCost(const CompletionMove& move, const std::vector<LessonUnit>& units, int extra) const;
  double evictionCost(const TakenBlock& block) const;
  bool apply(std::string_view entry, size_t index, const std::vector<LessonUnit>& units, const CompletionMove& chosen);
  void takeOut(const TakenBlock& block);
  void rebuildRoomUse();
  void refreshRoomUse(int schoolClass, int day);
  void refreshRoomUse(const TakenBlock& block);
  size_t column(int day, int period) const {
    return static_cast<size_t>(day) * static_cast<size_t>(m_ws.base.periodsPerDay + 1) + static_cast<size_t>(period);
  }
  const std::vector<int16_t>& roomUsers(int day, int period, int group) const {
    return m_roomUse[column(day, period) * kRoomGroups + static_cast<size_t>(group)];
  }
  bool tabu(int key, int day, int period) const;
  int keyOf(const TakenBlock& block) const;
  double weightOf(int key) const;
  CompletionState capture() const;
  void restore(const CompletionState& state);
  bool better(int open, int gaps) const { return open < m_best.open || (open == m_best.open && gaps < m_best.gaps); }
  bool shouldStop(CompletionReport& report);
  bool poll(CompletionReport& report);
  void reduceGaps(CompletionReport& report);
  bool tryExchange(const TakenBlock& lesson, Slot target);
  int gapChange(const TakenBlock& lesson, const TakenBlock* other, Slot target) const;
  bool placeAgain(uint16_t lessonWord, uint16_t roomWord, int schoolClass, Slot slot, int length);
  std::vector<std::string> reasons();
  std::string reasonFor(std::string_view entry);

  Workspace& m_ws;
  Ui& m_ui;
  const CompletionSettings& m_settings;
  std::unordered_set<int> m_keys;       // ordinary entries (packed keys) the run may place
  std::unordered_set<int> m_couplings;  // coupling numbers the run may place
  std::set<int> m_blockCouplings;       // couplings named in a block: they stay where they are
  std::unordered_set<int> m_stuck;      // keys with no slot at all
  // Key, day and period of a lesson taken out, and the iteration it may return there. The
  // tenure is short, so the list stays short: expired entries go at every move.
  std::vector<std::pair<int64_t, long>> m_tabu;
  // Per day, period and room group, the classes (in order) whose lesson there takes a room
  // of the group: a full group offers these for eviction without a scan of every class.
  std::vector<std::vector<int16_t>> m_roomUse;
  std::vector<uint8_t> m_cellGroup;    // per class, day and period: the group it is listed under
  std::vector<int> m_couplingClasses;  // per coupling: its member classes, for the eviction cost
  // How often each lesson had to be placed again: a lesson that keeps coming back open is
  // hard to place, so taking it out costs more the next time (the easy ones make room).
  LessonWeights m_weight;
  std::vector<int> m_groupOf;  // per subject: its room group
  long m_iteration = 0;
  int m_openBefore = 0;
  CompletionState m_best;
  std::chrono::steady_clock::time_point m_start;
};

void Completion::collectWorkableKeys() {
  // The work list of "Autom.Setzen" takes coupling entries out of the assignments; here it
  // only tells which entries to work on.
  const std::string assignments = m_ws.plan.assignments;
  const bool modified = m_ws.plan.modifiedPlan;
  const std::string workList = buildWorkList(m_ws, m_settings.filter);
  m_ws.plan.assignments = assignments;
  m_ws.plan.modifiedPlan = modified;
  for (size_t i = 0; i < recordCount(workList, kCompletionEntry); ++i) {
    const AssignmentView entry(workList, i);
    if (entry.isCoupling())
      m_couplings.insert(entry.couplingNumber());
    else
      m_keys.insert(completionKey(std::string_view(workList).substr(i * kCompletionEntry, kCompletionEntry)));
  }
  for (int b = 1; b <= m_ws.plan.nBlocks(); ++b) {
    const std::string& text = m_ws.plan.blocks[static_cast<size_t>(b)];
    size_t at = 0;
    while (at < text.size()) {
      const size_t comma = std::min(text.find(',', at), text.size());
      const int k = std::atoi(text.substr(at, comma - at).c_str());
      if (k > 0) m_blockCouplings.insert(k);
      at = comma + 1;
    }
  }
}

bool Completion::workable(std::string_view entry) const {
  const AssignmentView view(entry, 0);
  if (view.periods() == 0) return false;
  if (view.isCoupling()) return m_couplings.count(view.couplingNumber()) != 0;
  return m_keys.count(completionKey(entry)) != 0;
}

std::vector<size_t> Completion::candidates() const {
  std::vector<size_t> found;
  const std::string& list = m_ws.plan.assignments;
  for (size_t i = 0; i < recordCount(list, kCompletionEntry); ++i) {
    const std::string_view entry = std::string_view(list).substr(i * kCompletionEntry, kCompletionEntry);
    if (workable(entry) && m_stuck.count(completionKey(entry)) == 0) found.push_back(i);
  }
  return found;
}

// Fixed lessons, class locks and couplings that may not move stay; so do lessons of
// teachers and subjects outside the lists.
bool Completion::movable(int schoolClass, int day, int period) const {
  const TimetableGrids& grids = m_ws.plan.timetable;
  const uint16_t w = grids.lessonWord.at(schoolClass, period, day);
  if (w == 0 || w == classLockWord(m_ws.base)) return false;
  const int coupling = RoomWord::coupling(grids.roomWord.at(schoolClass, period, day));
  if (coupling == 0) return !LessonWord::coupledOrFixed(w);
  return m_settings.shiftCouplings && m_blockCouplings.count(coupling) == 0;
}

// The block removeLesson would take out there: equal neighbouring cells of one coupling.
TakenBlock Completion::blockAt(int schoolClass, int day, int period) const {
  const TimetableGrids& grids = m_ws.plan.timetable;
  const uint16_t w = grids.lessonWord.at(schoolClass, period, day);
  const int coupling = RoomWord::coupling(grids.roomWord.at(schoolClass, period, day));
  const auto same = [&](int q) {
    return grids.lessonWord.at(schoolClass, q, day) == w &&
           RoomWord::coupling(grids.roomWord.at(schoolClass, q, day)) == coupling;
  };
  TakenBlock block{schoolClass, day, period, period, coupling};
  while (block.first > 1 && same(block.first - 1)) --block.first;
  while (block.last < m_ws.base.periodsPerDay && same(block.last + 1)) ++block.last;
  return block;
}

bool Completion::covered(const std::vector<TakenBlock>& evictions, int schoolClass, int day, int period) const {
  for (const TakenBlock& b : evictions) {
    if (b.day != day || period < b.first || period > b.last) continue;
    if (b.coupling == 0 ? b.schoolClass == schoolClass
                        : RoomWord::coupling(m_ws.plan.timetable.roomWord.at(schoolClass, period, day)) == b.coupling)
      return true;
  }
  return false;
}

// Adds the lesson at the class slot to the evictions; false when it may not move.
bool Completion::evict(std::vector<TakenBlock>& evictions, int schoolClass, int day, int period) const {
  if (covered(evictions, schoolClass, day, period)) return true;
  if (!movable(schoolClass, day, period)) return false;
  evictions.push_back(blockAt(schoolClass, day, period));
  return true;
}

// Option 8: the teacher's lessons that day, with this lesson's periods, may not exceed the
// maximum; other lessons of that day make room, shortest first.
bool Completion::freeTeacherDay(CompletionMove& move, const LessonUnit& unit, int extra) const {
  const Grid& teachers = m_ws.plan.timetable.teacher;
  const int day = move.slot.day;
  const int periods = m_ws.base.periodsPerDay;
  const auto remaining = [&] {
    int count = teachers.at(unit.teacher, 0, day);
    for (int q = 1; q <= periods; ++q) {
      const int cell = teachers.at(unit.teacher, q, day);
      if (cell >= 256 && covered(move.evictions, cell >> 8, day, q)) --count;
    }
    return count;
  };
  const int maximum = m_ws.base.planOptions.maxTeacherLessonsPerDay;
  for (int length = 1; length <= periods && remaining() + extra + 1 > maximum; ++length) {
    for (int q = 1; q <= periods && remaining() + extra + 1 > maximum; ++q) {
      if (q >= move.slot.period && q <= move.slot.period + extra) continue;
      const int cell = teachers.at(unit.teacher, q, day);
      if (cell < 256 || covered(move.evictions, cell >> 8, day, q) || !movable(cell >> 8, day, q)) continue;
      const TakenBlock block = blockAt(cell >> 8, day, q);
      if (block.last - block.first + 1 == length) move.evictions.push_back(block);
    }
  }
  return remaining() + extra + 1 <= maximum;
}

// The room count of every subject group at every period of the lesson.
bool Completion::freeRooms(CompletionMove& move, const std::vector<LessonUnit>& units, int extra) const {
  const BaseData& base = m_ws.base;
  const TimetableGrids& grids = m_ws.plan.timetable;
  const int day = move.slot.day;
  // Group and units of the list in it, by group; a slot is scored often, so no allocation.
  std::array<std::pair<int, int>, 256> wanted;
  size_t groups = 0;
  for (const LessonUnit& u : units) {
    if (!hasTeacherGrid(base, u.teacher)) continue;
    const int group = roomGroup(base, u.subject);
    if (group == 0 || base.subjects[static_cast<size_t>(group)].roomSpec <= 0) continue;
    size_t at = 0;
    while (at < groups && wanted[at].first < group) ++at;
    if (at < groups && wanted[at].first == group) {
      ++wanted[at].second;
      continue;
    }
    std::move_backward(wanted.begin() + static_cast<std::ptrdiff_t>(at),
                       wanted.begin() + static_cast<std::ptrdiff_t>(groups),
                       wanted.begin() + static_cast<std::ptrdiff_t>(groups + 1));
    wanted[at] = {group, 1};
    ++groups;
  }
  const bool lastLevel = move.level == base.planOptions.attemptsPerPlan;
  for (size_t g = 0; g < groups; ++g) {
    const auto [group, own] = wanted[g];
    const int spec = base.subjects[static_cast<size_t>(group)].roomSpec;
    const int capacity = (spec & 255) + (lastLevel ? spec >> 8 : 0);
    for (int q = move.slot.period; q <= move.slot.period + extra; ++q) {
      int used = (grids.subject.at(group, q, day) & 127) + own;
      if (used <= capacity) continue;  // taking lessons out only frees rooms
      // The cheapest lessons of the group make room.
      std::vector<std::pair<double, TakenBlock>> offers;
      for (const int c : roomUsers(day, q, group)) {
        if (covered(move.evictions, c, day, q))
          --used;
        else if (movable(c, day, q)) {
          const TakenBlock block = blockAt(c, day, q);
          offers.emplace_back(evictionCost(block), block);
        }
      }
      if (used <= capacity) continue;
      std::stable_sort(offers.begin(), offers.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
      for (const auto& [cost, block] : offers) {
        if (used <= capacity) break;
        if (!covered(move.evictions, block.schoolClass, day, q)) move.evictions.push_back(block);
        --used;
      }
      if (used > capacity) return false;
    }
  }
  return true;
}

// What placing the units at the slot would take out, and what it costs; an obstacle when
// something that may not move stands in the way.
// A bound ends the scoring early (pruned) once the level and the lessons taken out so far
// reach it: what is still to come only adds.
CompletionMove Completion::evaluate(const std::vector<LessonUnit>& units, int extra, Slot slot, int minLevel,
                                    double bound) const {
  const BaseData& base = m_ws.base;
  const TimetableGrids& grids = m_ws.plan.timetable;
  CompletionMove move;
  move.slot = slot;
  move.level = minLevel;
  const auto refuse = [&](SlotObstacle obstacle, int teacher, int subject) {
    move.obstacle = obstacle;
    move.teacher = teacher;
    move.subject = subject;
    return move;
  };
  for (const LessonUnit& u : units) {
    if (!hasTeacherGrid(base, u.teacher)) continue;
    for (int q = slot.period; q <= slot.period + extra; ++q)
      move.level = std::max(move.level, grids.teacher.at(u.teacher, q, slot.day) & 255);
  }
  if (move.level > base.planOptions.attemptsPerPlan) {
    for (const LessonUnit& u : units) {
      if (!hasTeacherGrid(base, u.teacher)) continue;
      for (int q = slot.period; q <= slot.period + extra; ++q)
        if ((grids.teacher.at(u.teacher, q, slot.day) & 255) > base.planOptions.attemptsPerPlan)
          return refuse(SlotObstacle::TeacherLocked, u.teacher, u.subject);
    }
  }
  for (const LessonUnit& u : units) {
    const int key = 2 * u.teacher + (u.coupled ? 1 : 0);
    for (int r = 1; r <= base.periodsPerDay; ++r) {
      const uint16_t cell = grids.lessonWord.at(u.schoolClass, r, slot.day);
      if ((cell >> 7) == key && (cell & 63) == u.subject && !evict(move.evictions, u.schoolClass, slot.day, r))
        return refuse(SlotObstacle::Combination, u.teacher, u.subject);
    }
    for (int q = slot.period; q <= slot.period + extra; ++q) {
      if (grids.lessonWord.at(u.schoolClass, q, slot.day) != 0 && !evict(move.evictions, u.schoolClass, slot.day, q))
        return refuse(SlotObstacle::ClassTaken, u.teacher, u.subject);
      if (!hasTeacherGrid(base, u.teacher)) continue;
      const int other = grids.teacher.at(u.teacher, q, slot.day) >> 8;
      if (other > 0 && other != u.schoolClass && !evict(move.evictions, other, slot.day, q))
        return refuse(SlotObstacle::TeacherBusy, u.teacher, u.subject);
    }
  }
  if (bound != std::numeric_limits<double>::infinity()) {
    double cost = move.level;
    for (const TakenBlock& b : move.evictions) cost += evictionCost(b);
    if (cost >= bound) {
      move.pruned = true;
      return move;
    }
  }
  for (const LessonUnit& u : units) {
    if (hasTeacherGrid(base, u.teacher) && !freeTeacherDay(move, u, extra))
      return refuse(SlotObstacle::TeacherDayFull, u.teacher, u.subject);
  }
  if (!freeRooms(move, units, extra)) {
    // The extra rooms of a subject are there at the last level only.
    if (move.level < base.planOptions.attemptsPerPlan) {
      CompletionMove last = evaluate(units, extra, slot, base.planOptions.attemptsPerPlan);
      if (last.obstacle == SlotObstacle::None) return last;
    }
    for (const LessonUnit& u : units)
      if (roomGroup(base, u.subject) != 0) return refuse(SlotObstacle::NoRoom, u.teacher, u.subject);
    return refuse(SlotObstacle::NoRoom, 0, 0);
  }
  return move;
}

double Completion::moveCost(const CompletionMove& move, const std::vector<LessonUnit>& units, int extra) const {
  const BaseData& base = m_ws.base;
  const Grid& teachers = m_ws.plan.timetable.teacher;
  double cost = move.level;
  for (const TakenBlock& b : move.evictions) cost += evictionCost(b);
  for (const LessonUnit& u : units) {
    if (!hasTeacherGrid(base, u.teacher)) continue;
    cost += teacherDayGaps(teachers, u.teacher, move.slot.day, base.periodsPerDay, move.slot, extra) -
            teacherDayGaps(teachers, u.teacher, move.slot.day, base.periodsPerDay, Slot{}, 0);
  }
  return cost;
}

// Periods taken out (couplings weigh by their classes), times how often the lesson has come
// back open.
double Completion::evictionCost(const TakenBlock& b) const {
  const int classes = b.coupling != 0 && b.coupling < static_cast<int>(m_couplingClasses.size())
                          ? m_couplingClasses[static_cast<size_t>(b.coupling)]
                          : 1;
  return kPeriodCost * (b.last - b.first + 1) * (1 + (classes - 1) / 2.0) * weightOf(keyOf(b));
}

int Completion::keyOf(const TakenBlock& block) const {
  if (block.coupling != 0) return block.coupling;
  const uint16_t w = m_ws.plan.timetable.lessonWord.at(block.schoolClass, block.first, block.day);
  return packedKey(LessonWord::teacher(w), block.schoolClass, LessonWord::subject(w));
}

double Completion::weightOf(int key) const { return m_weight.of(key); }

// Takes a block out like the generator's displacement does; its periods go back into the
// assignments and become work of this run.
void Completion::takeOut(const TakenBlock& block) {
  TimetableGrids& grids = m_ws.plan.timetable;
  if (grids.lessonWord.at(block.schoolClass, block.first, block.day) == 0) return;  // went with its coupling
  const int key = keyOf(block);
  m_tabu.emplace_back(tabuKey(key, block.day, block.first), m_iteration + kTabuTenure);
  if (block.coupling != 0)
    m_couplings.insert(block.coupling);
  else
    m_keys.insert(key);
  removeLesson(m_ws, m_ui, Slot{block.day, block.first}, block.schoolClass, RemoveMode::kUnprotected,
               m_ws.plan.assignments);
  refreshRoomUse(block);
}

// The room groups of one class's day as the grid now holds them; only cells that changed
// move between the lists, which keep their classes in order.
void Completion::refreshRoomUse(int schoolClass, int day) {
  const BaseData& base = m_ws.base;
  const TimetableGrids& grids = m_ws.plan.timetable;
  for (int q = 1; q <= base.periodsPerDay; ++q) {
    const uint16_t w = grids.lessonWord.at(schoolClass, q, day);
    const int group = w == 0 || !hasTeacherGrid(base, LessonWord::teacher(w))
                          ? 0
                          : m_groupOf[static_cast<size_t>(LessonWord::subject(w))];
    uint8_t& listed =
        m_cellGroup[column(day, q) * static_cast<size_t>(base.nClasses() + 1) + static_cast<size_t>(schoolClass)];
    if (listed == group) continue;
    const size_t at = column(day, q) * kRoomGroups;
    const auto c = static_cast<int16_t>(schoolClass);
    if (listed != 0) std::erase(m_roomUse[at + listed], c);
    if (group != 0) {
      std::vector<int16_t>& users = m_roomUse[at + static_cast<size_t>(group)];
      users.insert(std::lower_bound(users.begin(), users.end(), c), c);
    }
    listed = static_cast<uint8_t>(group);
  }
}

// A block taken out: its class, or for a coupling every class, since the coupling leaves
// every class that holds it there, listed among its members or not.
void Completion::refreshRoomUse(const TakenBlock& block) {
  if (block.coupling == 0) {
    refreshRoomUse(block.schoolClass, block.day);
    return;
  }
  for (int c = 1; c <= m_ws.base.nClasses(); ++c) refreshRoomUse(c, block.day);
}

void Completion::rebuildRoomUse() {
  const BaseData& base = m_ws.base;
  m_roomUse.assign(column(kGridDays + 1, 0) * kRoomGroups, {});
  m_cellGroup.assign(column(kGridDays + 1, 0) * static_cast<size_t>(base.nClasses() + 1), 0);
  for (int c = 1; c <= base.nClasses(); ++c)
    for (int day = 1; day <= kGridDays; ++day) refreshRoomUse(c, day);
}

bool Completion::tabu(int key, int day, int period) const {
  const int64_t wanted = tabuKey(key, day, period);
  return std::any_of(m_tabu.begin(), m_tabu.end(),
                     [&](const auto& entry) { return entry.first == wanted && entry.second > m_iteration; });
}

bool Completion::apply(std::string_view entry, size_t index, const std::vector<LessonUnit>& units,
                       const CompletionMove& chosen) {
  const DecodedEntry decoded = decodeEntry(m_ws, entry);
  CompletionMove move = chosen;
  for (int round = 0;; ++round) {
    for (const TakenBlock& b : move.evictions) takeOut(b);
    const SlotCheckOptions options{move.level, decoded.extra, 0};
    if (checkSlot(m_ws, decoded.units, move.slot, options) == CheckCode::Free) break;
    if (round == kRepairRounds) return false;
    move = evaluate(units, decoded.extra, move.slot);
    if (move.obstacle != SlotObstacle::None) return false;
  }
  placeUnits(m_ws, decoded.units, move.slot, UnitPlacement{decoded.extra, decoded.markers, 0});
  for (const LessonUnit& u : units) refreshRoomUse(u.schoolClass, move.slot.day);
  std::string& list = m_ws.plan.assignments;
  // Other entries may have moved in front of it while lessons came back into the list.
  size_t at = index * kCompletionEntry;
  if (at + kCompletionEntry > list.size() || std::string_view(list).substr(at, 3) != entry.substr(0, 3)) {
    const auto found = findAssignment(list, entry);
    if (!found) return true;
    at = *found * kCompletionEntry;
  }
  const int byte = static_cast<unsigned char>(list[at + 3]);
  const int left = std::max(0, (byte & 15) - decoded.extra - 1);
  if (left == 0)
    list.erase(at, kCompletionEntry);
  else
    list[at + 3] = static_cast<char>((byte & 0xF0) | left);
  return true;
}

// One move: a random open entry goes to its cheapest slot. false when nothing is left to try.
bool Completion::step() {
  std::erase_if(m_tabu, [&](const auto& entry) { return entry.second <= m_iteration; });
  const std::vector<size_t> open = candidates();
  if (open.empty()) return false;
  const size_t index = open[std::min(open.size() - 1, static_cast<size_t>(m_ws.random.next() * open.size()))];
  const std::string entry = m_ws.plan.assignments.substr(index * kCompletionEntry, kCompletionEntry);
  const int key = completionKey(entry);
  const DecodedEntry decoded = decodeEntry(m_ws, entry);
  const std::vector<LessonUnit> units = lessonUnitsOf(decoded.units);
  const BaseData& base = m_ws.base;
  const bool valid = std::all_of(units.begin(), units.end(), [&](const LessonUnit& u) {
    return u.schoolClass >= 1 && u.schoolClass <= base.nClasses() && u.teacher <= base.nTeachers();
  });
  if (units.empty() || !valid) {
    m_stuck.insert(key);
    return true;
  }
  m_weight.raise(key);
  CompletionMove best;
  bool found = false;
  bool anySlot = false;
  double gapRelief = 0;
  for (const LessonUnit& u : units)
    if (hasTeacherGrid(base, u.teacher)) gapRelief += decoded.extra + 1;
  for (int day = 1; day <= std::min(base.days, kGridDays); ++day) {
    for (int p = 1; p + decoded.extra <= base.periodsPerDay; ++p) {
      // Each slot draws its share, scored or not, so that pruning leaves the draws alone.
      const double noise = m_ws.random.next() * kSlotNoise;
      // Once a slot is found, one that cannot beat it is not scored to the end; the
      // placement itself can lower the gaps by at most its periods.
      const double bound = found ? best.cost - noise + gapRelief : std::numeric_limits<double>::infinity();
      CompletionMove move = evaluate(units, decoded.extra, Slot{day, p}, 0, bound);
      if (move.pruned || move.obstacle != SlotObstacle::None) continue;
      anySlot = true;
      if (!move.evictions.empty() && tabu(key, day, p)) continue;
      move.cost = moveCost(move, units, decoded.extra) + noise;
      if (!found || move.cost < best.cost) {
        best = std::move(move);
        found = true;
      }
    }
  }
  if (!anySlot) {
    m_stuck.insert(key);
    return true;
  }
  if (found) apply(entry, index, units, best);
  return true;
}

CompletionState Completion::capture() const {
  return CompletionState{m_ws.plan.timetable,         m_ws.plan.lessonsPerClass, m_ws.plan.assignments,
                         m_ws.placement.hoursToPlace, openPeriodCount(m_ws),     teacherGapCount(m_ws)};
}

void Completion::restore(const CompletionState& state) {
  m_ws.plan.timetable = state.timetable;
  m_ws.plan.lessonsPerClass = state.lessonsPerClass;
  m_ws.plan.assignments = state.assignments;
  m_ws.placement.hoursToPlace = state.hoursToPlace;
  rebuildRoomUse();
}

bool Completion::shouldStop(CompletionReport& report) { return m_iteration % kProgressEvery == 0 && poll(report); }

bool Completion::poll(CompletionReport& report) {
  const int open = openPeriodCount(m_ws);
  ProgressPoll(m_ws, m_ui,
               "gesetzt: " + std::to_string(std::max(0, m_openBefore - open)) + "  offen: " + std::to_string(open));
  if (m_ws.dialogs.abortRequested) {
    report.aborted = true;
    return true;
  }
  const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - m_start;
  if (spent.count() > m_settings.timeLimitSeconds) {
    report.timedOut = true;
    return true;
  }
  return false;
}

CompletionReport Completion::run() {
  m_start = std::chrono::steady_clock::now();
  m_ws.dialogs.abortRequested = false;
  collectWorkableKeys();
  const BaseData& base = m_ws.base;
  m_groupOf.resize(64);
  for (int s = 0; s < 64; ++s) m_groupOf[static_cast<size_t>(s)] = roomGroup(base, s);
  rebuildRoomUse();
  m_couplingClasses.assign(static_cast<size_t>(m_ws.plan.nCouplings() + 1), 1);
  for (int k = 1; k <= m_ws.plan.nCouplings(); ++k)
    m_couplingClasses[static_cast<size_t>(k)] = std::max<int>(
        1, static_cast<int>(recordCount(m_ws.plan.couplings[static_cast<size_t>(k)], CouplingMemberView::kSize)));
  m_best = capture();
  m_openBefore = m_best.open;
  CompletionReport report;
  report.openBefore = m_best.open;
  report.gapsBefore = m_best.gaps;
  const long budget =
      m_settings.iterationBudget > 0 ? m_settings.iterationBudget : 2000 + 500L * static_cast<long>(m_best.open);
  long lastGain = 0;
  // Without a number of moves given, a run still finding states with fewer open periods goes
  // on past the budget until half a budget brings none: a crowded school can need more moves
  // than its open periods suggest, and the count of moves, not the clock, decides, so the
  // same plan gives the same result.
  const long extension = m_settings.iterationBudget > 0 ? 0 : budget / 2;
  long lastFewer = 0;
  while (m_iteration < budget || m_iteration - lastFewer < extension) {
    ++m_iteration;
    if (!step()) break;
    const int open = openPeriodCount(m_ws);
    if (open <= m_best.open) {
      const int gaps = teacherGapCount(m_ws);
      if (better(open, gaps)) {
        if (open < m_best.open) lastGain = lastFewer = m_iteration;
        m_best = capture();
      }
    }

    // Weights that have grown for long without a better state freeze the search in one
    // corner; halving them lets the lessons around the open ones move again.
    if (m_iteration - lastGain > kStallMoves) {
      m_weight.halve();
      lastGain = m_iteration;
    }
    if (shouldStop(report)) break;
  }
  // The best state is never worse than the current one; a differing count means worse.
  if (openPeriodCount(m_ws) != m_best.open || teacherGapCount(m_ws) != m_best.gaps) restore(m_best);
  if (!report.aborted && !report.timedOut) reduceGaps(report);
  m_ws.plan.modifiedPlan = true;
  report.iterations = m_iteration;
  report.openAfter = openPeriodCount(m_ws);
  report.gapsAfter = teacherGapCount(m_ws);
  report.reasons = reasons();
  return report;
}

// A lesson of one class whose teacher's day changes when it moves: a single or double
// lesson of its own (no coupling, not fixed) of a teacher with a grid.
bool Completion::gapMovable(int schoolClass, int day, int period) const {
  const uint16_t w = m_ws.plan.timetable.lessonWord.at(schoolClass, period, day);
  return movable(schoolClass, day, period) &&
         RoomWord::coupling(m_ws.plan.timetable.roomWord.at(schoolClass, period, day)) == 0 &&
         hasTeacherGrid(m_ws.base, LessonWord::teacher(w));
}

// Teacher gaps after the lesson goes to the target and the other lesson (if any, same class
// and length) to the lesson's place, less the gaps now, over the days of both teachers.
int Completion::gapChange(const TakenBlock& lesson, const TakenBlock* other, Slot target) const {
  const TimetableGrids& grids = m_ws.plan.timetable;
  const int periods = m_ws.base.periodsPerDay;
  const int length = lesson.last - lesson.first + 1;
  const int teacher = LessonWord::teacher(grids.lessonWord.at(lesson.schoolClass, lesson.first, lesson.day));
  const int otherTeacher =
      other != nullptr ? LessonWord::teacher(grids.lessonWord.at(other->schoolClass, other->first, other->day)) : 0;
  const auto taught = [&](int t, int day, int p) {
    bool busy = grids.teacher.at(t, p, day) >= 256;
    if (day == lesson.day && p >= lesson.first && p <= lesson.last && t == teacher) busy = false;
    if (other != nullptr && day == target.day && p >= target.period && p < target.period + length && t == otherTeacher)
      busy = false;
    if (day == target.day && p >= target.period && p < target.period + length && t == teacher) busy = true;
    if (other != nullptr && day == lesson.day && p >= lesson.first && p <= lesson.last && t == otherTeacher)
      busy = true;
    return busy;
  };
  const auto gaps = [&](int t, int day, bool after) {
    int first = 0;
    int last = 0;
    int lessons = 0;
    for (int p = 1; p <= periods; ++p) {
      if (!(after ? taught(t, day, p) : grids.teacher.at(t, p, day) >= 256)) continue;
      if (first == 0) first = p;
      last = p;
      ++lessons;
    }
    return first == 0 ? 0 : last - first + 1 - lessons;
  };
  std::array<std::pair<int, int>, 4> days{{{teacher, lesson.day}, {teacher, target.day}, {0, 0}, {0, 0}}};
  if (other != nullptr && hasTeacherGrid(m_ws.base, otherTeacher)) {
    days[2] = {otherTeacher, lesson.day};
    days[3] = {otherTeacher, target.day};
  }
  int change = 0;
  for (size_t i = 0; i < days.size(); ++i) {
    const auto [t, day] = days[i];
    if (t == 0 || std::find(days.begin(), days.begin() + static_cast<std::ptrdiff_t>(i), days[i]) !=
                      days.begin() + static_cast<std::ptrdiff_t>(i))
      continue;
    change += gaps(t, day, true) - gaps(t, day, false);
  }
  return change;
}

// Writes a lesson taken out by the gap pass at the slot when the slot check lets it, without
// taking anything out; its room comes along when that room is free there.
bool Completion::placeAgain(uint16_t lessonWord, uint16_t roomWord, int schoolClass, Slot slot, int length) {
  const int markers = (RoomWord::marker(roomWord) ? 1 : 0) + (LessonWord::indexMark(lessonWord) ? 2 : 0);
  const std::string units =
      makeAssignment(LessonWord::teacher(lessonWord), schoolClass, LessonWord::subject(lessonWord), length);
  const std::vector<LessonUnit> list = lessonUnitsOf(units);
  const CompletionMove move = evaluate(list, length - 1, slot);
  if (move.obstacle != SlotObstacle::None || !move.evictions.empty()) return false;
  if (checkSlot(m_ws, units, slot, SlotCheckOptions{move.level, length - 1, 0}) != CheckCode::Free) return false;
  placeUnits(m_ws, units, slot, UnitPlacement{length - 1, markers, 0});
  refreshRoomUse(schoolClass, slot.day);
  TimetableGrids& grids = m_ws.plan.timetable;
  const int room = RoomWord::room(roomWord);
  if (room < 1 || room > m_ws.base.nRooms()) return true;
  for (int q = slot.period; q < slot.period + length; ++q)
    if (grids.room.at(room, q, slot.day) != 0) return true;
  for (int q = slot.period; q < slot.period + length; ++q) {
    grids.room.at(room, q, slot.day) = static_cast<uint16_t>(schoolClass);
    uint16_t& word = grids.roomWord.at(schoolClass, q, slot.day);
    word = static_cast<uint16_t>((word & ~127) | room);
  }
  return true;
}

// Moves the lesson to the target, where its class is free or holds one lesson of the same
// length that takes the lesson's place; keeps it when both land and the gaps fall, else puts
// everything back as it was.
bool Completion::tryExchange(const TakenBlock& lesson, Slot target) {
  TimetableGrids& grids = m_ws.plan.timetable;
  const int c = lesson.schoolClass;
  const int length = lesson.last - lesson.first + 1;
  const bool sameDayOverlap =
      target.day == lesson.day && target.period <= lesson.last && target.period + length - 1 >= lesson.first;
  if (sameDayOverlap || target.period + length - 1 > m_ws.base.periodsPerDay) return false;
  std::optional<TakenBlock> other;
  if (grids.lessonWord.at(c, target.period, target.day) != 0) {
    if (!gapMovable(c, target.day, target.period)) return false;
    other = blockAt(c, target.day, target.period);
    if (other->first != target.period || other->last != target.period + length - 1) return false;
  } else {
    for (int q = target.period; q < target.period + length; ++q)
      if (grids.lessonWord.at(c, q, target.day) != 0) return false;
  }
  // Teachers teaching another class there can only be a no at once.
  const auto busyElsewhere = [&](int teacher, int day, int first) {
    for (int q = first; q < first + length; ++q) {
      const int taught = grids.teacher.at(teacher, q, day) >> 8;
      if (taught != 0 && taught != c) return true;
    }
    return false;
  };
  if (busyElsewhere(LessonWord::teacher(grids.lessonWord.at(c, lesson.first, lesson.day)), target.day, target.period))
    return false;
  if (other &&
      busyElsewhere(LessonWord::teacher(grids.lessonWord.at(c, other->first, other->day)), lesson.day, lesson.first))
    return false;
  if (gapChange(lesson, other ? &*other : nullptr, target) >= 0) return false;
  const int gapsBefore = teacherGapCount(m_ws);
  const TimetableGrids grids0 = grids;
  const std::vector<int16_t> lessons0 = m_ws.plan.lessonsPerClass;
  const std::vector<int> hours0 = m_ws.placement.hoursToPlace;
  const uint16_t word = grids.lessonWord.at(c, lesson.first, lesson.day);
  const uint16_t roomWord = grids.roomWord.at(c, lesson.first, lesson.day);
  const uint16_t otherWord = other ? grids.lessonWord.at(c, other->first, other->day) : 0;
  const uint16_t otherRoomWord = other ? grids.roomWord.at(c, other->first, other->day) : 0;
  clearPeriods(m_ws, lesson.day, lesson.first, lesson.last, c);
  if (other) clearPeriods(m_ws, other->day, other->first, other->last, c);
  refreshRoomUse(c, lesson.day);
  refreshRoomUse(c, target.day);
  bool placed = placeAgain(word, roomWord, c, target, length);
  if (placed && other) placed = placeAgain(otherWord, otherRoomWord, c, Slot{lesson.day, lesson.first}, length);
  if (placed && teacherGapCount(m_ws) < gapsBefore) return true;
  grids = grids0;
  m_ws.plan.lessonsPerClass = lessons0;
  m_ws.placement.hoursToPlace = hours0;
  refreshRoomUse(c, lesson.day);
  refreshRoomUse(c, target.day);
  return false;
}

// Lowers the teacher gaps of the plan the search ends in: each lesson of a class may move to
// a free period of its class or change places with a lesson of the same length there, when
// the slot check lets both go without taking anything out. Open periods stay as they are.
void Completion::reduceGaps(CompletionReport& report) {
  const BaseData& base = m_ws.base;
  long tries = 0;
  for (int pass = 0; pass < kGapPasses; ++pass) {
    bool improved = false;
    for (int c = 1; c <= base.nClasses(); ++c) {
      for (int day = 1; day <= std::min(base.days, kGridDays); ++day) {
        for (int p = 1; p <= base.periodsPerDay; ++p) {
          if (!gapMovable(c, day, p)) continue;
          const TakenBlock lesson = blockAt(c, day, p);
          if (lesson.first != p || lesson.last - lesson.first > 1) continue;
          for (int d2 = 1; d2 <= std::min(base.days, kGridDays); ++d2) {
            bool moved = false;
            for (int p2 = 1; p2 <= base.periodsPerDay && !moved; ++p2) moved = tryExchange(lesson, Slot{d2, p2});
            if (moved) {
              improved = true;
              break;
            }
          }
          if (++tries % (kProgressEvery * 16) == 0 && poll(report)) return;
        }
      }
    }
    if (!improved) return;
  }
}

std::vector<std::string> Completion::reasons() {
  std::vector<std::string> lines;
  const std::string list = m_ws.plan.assignments;
  for (size_t i = 0; i < recordCount(list, kCompletionEntry); ++i) {
    const std::string_view entry = std::string_view(list).substr(i * kCompletionEntry, kCompletionEntry);
    if (workable(entry)) lines.push_back(reasonFor(entry));
  }
  return lines;
}

// The obstacle that stands at most slots of the week names what the user has to change.
std::string Completion::reasonFor(std::string_view entry) {
  const BaseData& base = m_ws.base;
  const AssignmentView view(entry, 0);
  const std::string name =
      view.isCoupling() ? "#" + std::to_string(view.couplingNumber())
                        : listCode(base.subjects, view.subject()) + " " + listCode(base.classes, view.schoolClass());
  const DecodedEntry decoded = decodeEntry(m_ws, entry);
  const std::vector<LessonUnit> units = lessonUnitsOf(decoded.units);
  if (units.empty()) return name + ": Kopplung ohne Kurse";
  for (const LessonUnit& u : units)
    if (u.schoolClass < 1 || u.schoolClass > base.nClasses() || u.teacher > base.nTeachers())
      return name + ": Klasse oder Lehrer fehlt in den Grunddaten";
  std::map<std::pair<SlotObstacle, int>, int> tally;  // obstacle and its teacher or subject -> slots
  int open = 0;
  for (int day = 1; day <= std::min(base.days, kGridDays); ++day) {
    for (int p = 1; p + decoded.extra <= base.periodsPerDay; ++p) {
      const CompletionMove move = evaluate(units, decoded.extra, Slot{day, p});
      if (move.obstacle == SlotObstacle::None) {
        ++open;
        continue;
      }
      const int who = move.obstacle == SlotObstacle::NoRoom || move.obstacle == SlotObstacle::Combination
                          ? move.subject
                          : move.teacher;
      ++tally[{move.obstacle, who}];
    }
  }
  if (open > 0) return name + ": nur durch Verdr\xE4ngen anderer Stunden zu setzen, die dann offen blieben";
  if (tally.empty()) return name + ": keine " + std::to_string(decoded.extra + 1) + " Stunden hintereinander am Tag";
  const auto worst =
      std::max_element(tally.begin(), tally.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
  const std::string teacher = listCode(base.teachers, worst->first.second);
  const std::string subject = listCode(base.subjects, worst->first.second);
  const std::string schoolClass = listCode(base.classes, units.front().schoolClass);
  switch (worst->first.first) {
    case SlotObstacle::ClassTaken:
      return name + ": Klasse " + schoolClass + " an allen Stunden gesperrt, fixiert oder gekoppelt belegt";
    case SlotObstacle::TeacherLocked:
      return name + ": Lehrer " + teacher + " an allen freien Stunden der Klasse gesperrt";
    case SlotObstacle::TeacherBusy:
      return name + ": Lehrer " + teacher + " an allen freien Stunden der Klasse belegt";
    case SlotObstacle::TeacherDayFull:
      return name + ": Lehrer " + teacher + " hat an allen freien Tagen schon die H\xF6" + "chstzahl an Stunden";
    case SlotObstacle::NoRoom:
      return name + ": kein Raum f\xFCr " + subject + " an allen freien Stunden der Klasse";
    case SlotObstacle::Combination:
      return name + ": " + subject + " an allen freien Tagen schon fest gesetzt";
    case SlotObstacle::None:
      break;
  }
  return name;
}

}  // namespace

int openPeriodCount(const Workspace& ws) {
  int periods = 0;
  for (size_t i = 0; i < recordCount(ws.plan.assignments, kCompletionEntry); ++i)
    periods += AssignmentView(ws.plan.assignments, i).periods();
  return periods;
}

int teacherGapCount(const Workspace& ws) {
  int gaps = 0;
  for (int t = 1; t < ws.base.nTeachers(); ++t)
    for (int day = 1; day <= kGridDays; ++day)
      gaps += teacherDayGaps(ws.plan.timetable.teacher, t, day, ws.base.periodsPerDay, Slot{}, 0);
  return gaps;
}

CompletionReport completePlan(Workspace& ws, Ui& ui, const CompletionSettings& settings) {
  Completion completion(ws, ui, settings);
  return completion.run();
}

}  // namespace quort
