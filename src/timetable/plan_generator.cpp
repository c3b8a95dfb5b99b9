#include "timetable/plan_generator.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "data/number_text.h"
#include "data/plan_records.h"
#include "timetable/assignment_list.h"
#include "timetable/lesson_removal.h"
#include "timetable/lesson_writing.h"
#include "timetable/slot_check.h"
#include "workspace/dialogs.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr size_t kEntry = AssignmentView::kSize;
constexpr size_t kFailedRecord = 8;

int byteAt(std::string_view s, size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0; }

std::string limitBytes(int32_t limit) {
  const auto v = static_cast<uint32_t>(limit);
  return {static_cast<char>(v & 255), static_cast<char>((v >> 8) & 255), static_cast<char>((v >> 16) & 255),
          static_cast<char>(v >> 24)};
}

int32_t limitFrom(std::string_view record) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v * 256 + static_cast<uint32_t>(byteAt(record, 4 + static_cast<size_t>(i)));
  return static_cast<int32_t>(v);
}

// STR of the dialect: the digits behind one blank for the sign.
std::string basicStr(size_t n) { return " " + std::to_string(n); }

std::string progressLine(int attempt, size_t entries) {
  return "Plan" + (basicStr(static_cast<size_t>(attempt)) + "  ").substr(0, 4) +
         " - zu setzen:" + (basicStr(entries) + "   ").substr(0, 5);
}

int classGrade(const BaseData& base, int schoolClass) {
  return static_cast<int>(numericValue(base.classes[static_cast<size_t>(schoolClass)].code));
}

}  // namespace

int32_t roundEven(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

PlanGenerator::PlanGenerator(Workspace& ws, Ui& ui, GenerationSwitches switches)
    : m_ws(ws), m_ui(ui), m_switches(switches), m_blocks(ws.plan) {
  copyWeightsFromOptions();
}

void PlanGenerator::copyWeightsFromOptions() {
  for (int n = 1; n <= 7; ++n) m_weights[n] = m_ws.base.planOptions.weights[n - 1];
}

int PlanGenerator::removeMode() const {
  return m_switches.shiftCouplings ? RemoveMode::kUnprotected : RemoveMode::kRefuse;
}

bool PlanGenerator::blockLessonAt(int schoolClass, int period, int day) const {
  if (m_blocks.empty()) return false;
  const TimetableGrids& grids = m_ws.plan.timetable;
  return LessonWord::coupledOrFixed(grids.lessonWord.at(schoolClass, period, day)) &&
         inBlock(RoomWord::coupling(grids.roomWord.at(schoolClass, period, day)));
}

// removeLesson, refused for a lesson of a block: taking one coupling of a block out
// would place it again apart from the others.
bool PlanGenerator::removeUnlessBlock(Slot slot, int schoolClass, std::string& workList) {
  if (blockLessonAt(schoolClass, slot.period, slot.day)) return true;
  return removeLesson(m_ws, m_ui, slot, schoolClass, removeMode(), workList);
}

int32_t PlanGenerator::teacherTerm(int teacher) const {
  const BaseData& base = m_ws.base;
  if (teacher <= 0 || teacher >= base.nTeachers()) return 0;
  const Grid& grid = m_ws.plan.timetable.teacher;
  const int maxPerDay = base.planOptions.maxTeacherLessonsPerDay;
  int placed = 0;
  int gaps = 0;
  int fullDays = 0;
  for (int day = 1; day <= kGridDays; ++day) {
    const int count = grid.at(teacher, 0, day);
    if (count <= 0) continue;
    placed += count;
    if (count >= maxPerDay) ++fullDays;
    int first = 0;
    int last = 0;
    int lessons = 0;
    for (int p = 1; p <= base.periodsPerDay; ++p) {
      if (grid.at(teacher, p, day) < 256) continue;
      if (first == 0) first = p;
      last = p;
      ++lessons;
    }
    if (first != 0) gaps += last - first + 1 - lessons;
  }
  const std::vector<int>& hours = m_ws.placement.hoursToPlace;
  const int r = static_cast<size_t>(teacher) < hours.size() ? hours[static_cast<size_t>(teacher)] : 0;
  const float* w = m_weights;
  const float inner = w[4] * gaps + w[3] * r * (1 + w[5] * fullDays + w[6] * placed / (r + 1));
  return roundEven(base.teachers[static_cast<size_t>(teacher)].weight * inner);
}

bool PlanGenerator::dayHasCoveredPeriod(int schoolClass, int grade, int period, int day) const {
  const BaseData& base = m_ws.base;
  const Grid& lessons = m_ws.plan.timetable.lessonWord;
  for (int other = 1; other <= base.nClasses(); ++other) {
    if (other == schoolClass || classGrade(base, other) != grade) continue;
    if (LessonWord::coupledOrFixed(lessons.at(other, period, day))) return true;
  }
  return false;
}

int32_t PlanGenerator::classTerm(int schoolClass) const {
  const BaseData& base = m_ws.base;
  const int grade = classGrade(base, schoolClass);
  if (grade <= 0) return 0;
  const Grid& lessons = m_ws.plan.timetable.lessonWord;
  const int periods = base.periodsPerDay;
  int total = 0;
  bool anyCoupled = false;
  int lastPlainDay = 0;
  for (int day = 1; day <= kGridDays; ++day) {
    int lastPeriod = 0;
    for (int p = 1; p <= periods; ++p) {
      const uint16_t w = lessons.at(schoolClass, p, day);
      if (w != 0) {
        if (LessonWord::coupledOrFixed(w)) anyCoupled = true;
        if (!LessonWord::coupledOrFixed(w) && w >= 256) lastPlainDay = day;
        lastPeriod = p;
      } else if (dayHasCoveredPeriod(schoolClass, grade, p, day)) {
        lastPeriod = p;
      } else {
        total += periods - p;
      }
    }
    total += lastPeriod - periods;
  }
  if (!anyCoupled) return 0;
  return 2 * std::max(0, total - periods * (6 - lastPlainDay) * (periods + 1) / 2);
}

int32_t PlanGenerator::entryScore(std::string_view entry) const {
  const int cnt = byteAt(entry, 3);
  if (cnt == 0) return 0;
  const BaseData& base = m_ws.base;
  const float* w = m_weights;
  const auto subjectAt = [&](int s) -> const Subject* {
    return s >= 1 && s <= base.nSubjects() ? &base.subjects[static_cast<size_t>(s)] : nullptr;
  };
  const auto lessonsOf = [&](int c) {
    return c >= 0 && static_cast<size_t>(c) < m_ws.plan.lessonsPerClass.size()
               ? m_ws.plan.lessonsPerClass[static_cast<size_t>(c)]
               : 0;
  };
  const int a = byteAt(entry, 0);
  const int b = byteAt(entry, 1);
  const int c = byteAt(entry, 2);
  if (a > 0) {
    const Subject* s = subjectAt(c);
    const int restriction = s == nullptr ? 0 : (s->roomSpec != 0 ? 2 : 0) + s->lessonKind;
    const int32_t inner = roundEven(w[7] * restriction + w[1] * cnt + teacherTerm(a) + w[2] * lessonsOf(b));
    return roundEven(inner * (s == nullptr ? 1.0F : s->weight));
  }
  int32_t sum = 0;
  if (c >= 1 && c <= m_ws.plan.nCouplings()) {
    const std::string& members = m_ws.plan.couplings[static_cast<size_t>(c)];
    for (size_t m = 0; m < recordCount(members, CouplingMemberView::kSize); ++m) {
      const CouplingMemberView member(members, m);
      const Subject* s = subjectAt(member.subject());
      const int restriction = (s != nullptr && s->roomSpec != 0 ? 2 : 0) + b;
      const float term = w[7] * restriction + teacherTerm(member.teacher()) + w[2] * lessonsOf(member.schoolClass());
      sum = roundEven(sum + term * (s == nullptr ? 1.0F : s->weight));
    }
  }
  return roundEven(sum + w[1] * cnt);
}

// The terms can be huge (a day over the limit scores near the end of the int range), so
// the sums wrap around in 32 bits as they always did, without signed overflow.
int32_t PlanGenerator::planCost(std::string_view list) const {
  uint32_t teachers = 0;
  for (int t = 1; t < m_ws.base.nTeachers(); ++t) teachers += static_cast<uint32_t>(teacherTerm(t));
  uint32_t classes = 0;
  for (int c = 1; c <= m_ws.base.nClasses(); ++c) classes += static_cast<uint32_t>(classTerm(c));
  uint32_t entries = 0;
  for (size_t pos = 0; pos + kEntry <= list.size(); pos += kEntry) {
    entries += static_cast<uint32_t>(entryScore(list.substr(pos, kEntry)));
  }
  return static_cast<int32_t>(teachers + 100U * classes + 2U * entries);
}

void PlanGenerator::varyWeights() {
  const PlanOptions& options = m_ws.base.planOptions;
  const float a = 2.0F * std::min(1.0F, std::max(0.0F, options.scaleFactor));
  for (const int n : {1, 4, 5, 6, 3}) {
    const double r = m_ws.random.next();
    const double option = options.weights[n - 1];
    m_weights[n] = static_cast<float>(std::min(100.0, std::max(0.01, option * (1 + a * (r - 0.5)))));
  }
}

void PlanGenerator::recountTeacherHours(std::string_view workList) {
  const int nTeachers = m_ws.base.nTeachers();
  std::vector<int>& hours = m_ws.placement.hoursToPlace;
  if (hours.size() < static_cast<size_t>(nTeachers) + 1) hours.resize(static_cast<size_t>(nTeachers) + 1, 0);
  for (int t = 1; t < nTeachers; ++t) hours[static_cast<size_t>(t)] = 0;
  const auto add = [&](int teacher, int periods) {
    if (teacher >= 1 && teacher < nTeachers) hours[static_cast<size_t>(teacher)] += periods;
  };
  for (size_t pos = 0; pos + kEntry <= workList.size(); pos += kEntry) {
    const AssignmentView entry(std::string_view(workList).substr(pos, kEntry), 0);
    const int whole = byteAt(workList, pos + 3);
    if (!entry.isCoupling()) {
      add(entry.teacher(), whole);
      continue;
    }
    if (entry.couplingNumber() < 1 || entry.couplingNumber() > m_ws.plan.nCouplings()) continue;
    const std::string& members = m_ws.plan.couplings[static_cast<size_t>(entry.couplingNumber())];
    for (size_t m = 0; m < recordCount(members, CouplingMemberView::kSize); ++m) {
      add(CouplingMemberView(members, m).teacher(), whole);
    }
  }
}

void PlanGenerator::clearEntryFromPlan(std::string& entry) {
  if (entry.size() < kEntry) return;
  const AssignmentView view(entry, 0);
  const BaseData& base = m_ws.base;
  TimetableGrids& grids = m_ws.plan.timetable;
  int removed = 0;
  if (!view.isCoupling()) {
    const int c = view.schoolClass();
    if (c < 1 || c > base.nClasses()) return;
    for (int day = 1; day <= kGridDays; ++day) {
      for (int p = 1; p <= base.periodsPerDay; ++p) {
        const uint16_t w = grids.lessonWord.at(c, p, day);
        // Coupled periods belong to their coupling's entry, not to this one.
        if (w < 256 || LessonWord::teacher(w) != view.teacher() || LessonWord::subject(w) != view.subject() ||
            RoomWord::coupling(grids.roomWord.at(c, p, day)) != 0)
          continue;
        clearPeriods(m_ws, day, p, p, c);
        ++removed;
      }
    }
  } else {
    const int coupling = view.couplingNumber();
    if (!m_switches.shiftCouplings || coupling < 1 || coupling > m_ws.plan.nCouplings() || inBlock(coupling)) return;
    const std::string& members = m_ws.plan.couplings[static_cast<size_t>(coupling)];
    if (members.size() < CouplingMemberView::kSize) return;
    const int firstClass = CouplingMemberView(members, 0).schoolClass();
    if (firstClass < 1 || firstClass > base.nClasses()) return;
    for (int day = 1; day <= kGridDays; ++day) {
      for (int p = 1; p <= base.periodsPerDay; ++p) {
        if (RoomWord::coupling(grids.roomWord.at(firstClass, p, day)) != coupling ||
            grids.lessonWord.at(firstClass, p, day) == 0)
          continue;
        for (size_t m = 0; m < recordCount(members, CouplingMemberView::kSize); ++m) {
          const int c = CouplingMemberView(members, m).schoolClass();
          if (c >= 1 && c <= base.nClasses()) clearPeriods(m_ws, day, p, p, c);
        }
        ++removed;
      }
    }
  }
  entry[3] = static_cast<char>(byteAt(entry, 3) + removed);
}

void PlanGenerator::thinTeacherDays(std::string& workList) {
  const BaseData& base = m_ws.base;
  Grid& grid = m_ws.plan.timetable.teacher;
  for (int t = 1; t < base.nTeachers(); ++t) {
    std::array<int, kGridDays + 1> firstPeriod{};
    bool thin = false;
    for (int day = 1; day <= kGridDays; ++day) {
      int count = 0;
      int last = 0;
      for (int p = 1; p <= base.periodsPerDay; ++p) {
        if (grid.at(t, p, day) < 256) continue;
        if (count == 0) firstPeriod[static_cast<size_t>(day)] = p;
        last = p;
        ++count;
      }
      grid.at(t, 0, day) = static_cast<uint16_t>(count);
      if (count > 0 && last - firstPeriod[static_cast<size_t>(day)] + 1 - count > 1) thin = true;
    }
    if (!thin) continue;
    for (int day = 1; day <= std::min(base.days, kGridDays); ++day) {
      const int p = firstPeriod[static_cast<size_t>(day)];
      if (p == 0 || grid.at(t, p, day) < 256) continue;
      removeUnlessBlock(Slot{day, p}, grid.at(t, p, day) >> 8, workList);
    }
  }
}

int PlanGenerator::scanDayForward(std::string_view units, int extra, int lastPeriod, int level, int day) {
  int candidate = 0;
  bool metUnusable = false;
  for (int p = 1; p <= lastPeriod; ++p) {
    const bool usable = checkSlot(m_ws, units, Slot{day, p}, SlotCheckOptions{level, extra, 0}) == CheckCode::Free;
    if (!usable) {
      metUnusable = true;
    } else if (metUnusable) {
      return p;
    } else {
      candidate = p;
    }
  }
  return candidate;
}

int PlanGenerator::scanDayWithDisplacement(std::string_view units, int extra, int lastPeriod, int level, int day,
                                           std::string& workList) {
  const BaseData& base = m_ws.base;
  TimetableGrids& grids = m_ws.plan.timetable;
  const size_t nUnits = recordCount(units, kEntry);
  const auto teacherCell = [&](int teacher, int p) -> int {
    return teacher <= grids.teacher.entities() ? grids.teacher.at(teacher, p, day) : 0;
  };
  const auto teacherFree = [&](int p) {
    for (size_t i = 0; i < nUnits; ++i) {
      const int t = AssignmentView(units, i).teacher();
      if (t != 0 && teacherCell(t, p) > level) return false;
    }
    return true;
  };
  int chosen = 0;
  int lowest = 0;
  bool previousBusy = false;
  for (int p = base.periodsPerDay; p >= 1; --p) {
    const bool free = teacherFree(p);
    if (free && p <= lastPeriod) {
      lowest = p;
      if (previousBusy) {
        chosen = p;
        break;
      }
    }
    previousBusy = !free;
  }
  if (chosen == 0) chosen = lowest;
  if (chosen == 0) return 0;
  for (size_t i = 0; i < nUnits; ++i) {
    const AssignmentView unit(units, i);
    if (unit.teacher() == 0 || unit.schoolClass() < 1 || unit.schoolClass() > base.nClasses()) continue;
    for (int q = chosen; q <= std::min(chosen + extra, base.periodsPerDay); ++q) {
      if (!LessonWord::coupledOrFixed(grids.lessonWord.at(unit.schoolClass(), q, day))) continue;
      if (blockLessonAt(unit.schoolClass(), q, day)) return 0;
      if (!m_switches.shiftCouplings || grids.roomWord.at(unit.schoolClass(), q, day) == 0) return 0;
    }
  }
  for (size_t i = 0; i < nUnits; ++i) {
    const AssignmentView unit(units, i);
    if (unit.teacher() == 0 || unit.schoolClass() < 1 || unit.schoolClass() > base.nClasses()) continue;
    const int classCell = grids.lessonWord.at(unit.schoolClass(), chosen, day);
    const int teacherAt = teacherCell(unit.teacher(), chosen);
    int victim = 0;
    if (classCell >= 256 && teacherAt < 256) victim = unit.schoolClass();
    if (classCell < 256 && teacherAt >= 256) victim = teacherAt >> 8;
    if (victim != 0 && removeUnlessBlock(Slot{day, chosen}, victim, workList)) return 0;
  }
  return checkSlot(m_ws, units, Slot{day, chosen}, SlotCheckOptions{level, extra, 0}) == CheckCode::Free ? chosen : 0;
}

Slot PlanGenerator::chooseSlot(std::string_view units, int extra, std::string& workList) {
  const BaseData& base = m_ws.base;
  const Grid& teachers = m_ws.plan.timetable.teacher;
  const int maxPerDay = base.planOptions.maxTeacherLessonsPerDay;
  std::array<int, kGridDays> load{};
  for (size_t i = 0; i < recordCount(units, kEntry); ++i) {
    const int t = AssignmentView(units, i).teacher();
    if (t == 0 || t > teachers.entities()) continue;
    for (int day = 1; day <= kGridDays; ++day) {
      const int lessons = teachers.at(t, 0, day);
      load[static_cast<size_t>(day - 1)] += lessons == 0 ? 2 : lessons >= maxPerDay ? base.periodsPerDay : lessons;
    }
  }
  std::array<int, kGridDays> order{1, 2, 3, 4, 5, 6};
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return load[static_cast<size_t>(a - 1)] < load[static_cast<size_t>(b - 1)]; });
  const int levels = base.planOptions.attemptsPerPlan;
  for (int pass = 0; pass <= 2; ++pass) {
    const int lastPeriod = pass == 0 ? std::min(base.periodsPerDay, base.afternoonStart) : base.periodsPerDay;
    for (int level = 0; level <= levels; ++level) {
      for (const int day : order) {
        const int period = pass < 2 ? scanDayForward(units, extra, lastPeriod, level, day)
                                    : scanDayWithDisplacement(units, extra, lastPeriod, level, day, workList);
        if (period != 0) return Slot{day, period};
      }
    }
  }
  return Slot{};
}

int PlanGenerator::selectEntry(std::string_view chunk, int32_t limit, double f, int32_t& bestScore) {
  const double length = static_cast<double>(chunk.size());
  int best = 0;
  for (size_t pos = 1; pos <= chunk.size(); pos += kEntry) {
    const double r = m_ws.random.next();
    const int32_t score =
        roundEven(1000.0 * (entryScore(chunk.substr(pos - 1, kEntry)) + r * length * f) + static_cast<double>(pos));
    if (limit != 0 && score >= limit) continue;
    if (best == 0 || score > bestScore) {
      best = static_cast<int>(pos);
      bestScore = score;
    }
  }
  return best;
}

void PlanGenerator::pickFailed(std::string& chunk, std::string& failed, int32_t& limit) {
  const double r = m_ws.random.next();
  const int32_t rounded = roundEven(r * r * static_cast<double>(failed.size()));
  const size_t k = kFailedRecord * static_cast<size_t>(std::max(0, rounded / 8 - 1));
  const std::string record = failed.substr(k, kFailedRecord);
  chunk += record.substr(0, kEntry);
  limit = limitFrom(record);
  failed.erase(k, kFailedRecord);
}

// The entries of the other couplings of entry's block that are still to place, taken out
// of the chunk or the failed list (a failed block goes there whole, and a retry draws only
// one of its records). Empty for an entry that belongs to no block.
std::string PlanGenerator::takeBlockMates(std::string_view entry, std::string& chunk, std::string& failed) const {
  const AssignmentView view(entry, 0);
  if (m_blocks.empty() || !view.isCoupling() || !inBlock(view.couplingNumber())) return {};
  const auto matches = [](std::string_view candidate, int coupling) {
    const AssignmentView other(candidate, 0);
    return other.isCoupling() && other.couplingNumber() == coupling && other.periods() > 0;
  };
  std::string mates;
  const std::vector<int> group = m_blocks.groupOf(view.couplingNumber());
  for (size_t i = 1; i < group.size(); ++i) {
    bool found = false;
    for (size_t pos = 0; pos + kEntry <= chunk.size() && !found; pos += kEntry) {
      if (!matches(std::string_view(chunk).substr(pos, kEntry), group[i])) continue;
      mates += chunk.substr(pos, kEntry);
      chunk.erase(pos, kEntry);
      found = true;
    }
    for (size_t pos = 0; pos + kFailedRecord <= failed.size() && !found; pos += kFailedRecord) {
      if (!matches(std::string_view(failed).substr(pos, kEntry), group[i])) continue;
      mates += failed.substr(pos, kEntry);
      failed.erase(pos, kFailedRecord);
      found = true;
    }
  }
  return mates;
}

// Places the entries (couplings of one block) in one slot: the slot must take all their
// units at once, and each period placed counts for every entry. Failing, they all go to
// the failed list, the chosen one in front.
bool PlanGenerator::placeTogether(std::string& entries, std::string& chunk, std::string& failed, int32_t& limit,
                                  int32_t score) {
  std::vector<DecodedEntry> decoded;
  std::string units;
  int extra = 2;
  for (size_t pos = 0; pos + kEntry <= entries.size(); pos += kEntry) {
    decoded.push_back(decodeEntry(m_ws, std::string_view(entries).substr(pos, kEntry)));
    units += decoded.back().units;
    extra = std::min(extra, decoded.back().extra);
  }
  extra = std::max(0, extra);
  const Slot slot = chooseSlot(units, extra, chunk);
  if (slot.day == 0 || slot.period == 0) {
    for (size_t pos = entries.size(); pos >= kEntry; pos -= kEntry)
      failed.insert(0, entries.substr(pos - kEntry, kEntry) + limitBytes(limit));
    limit = 0;
    return false;
  }
  for (size_t i = 0; i < decoded.size(); ++i) {
    placeUnits(m_ws, decoded[i].units, slot, UnitPlacement{extra, decoded[i].markers, 0});
    const int remaining = std::max(0, decoded[i].count - extra - 1);
    std::string entry = entries.substr(i * kEntry, kEntry);
    entry[3] = static_cast<char>(remaining + 16 * (decoded[i].markers & 1));
    if (remaining > 0) mergeEntries(entry, chunk, MergeMode::Add);
  }
  limit = score;
  return true;
}

// One attempt over the chunk. false when the run must end at once (a corrupt entry).
bool PlanGenerator::runAttempt(std::string& chunk, int attempt, std::string& failed, GenerationSummary& summary) {
  const BaseData& base = m_ws.base;
  size_t shortest = chunk.size();
  int tries = 0;
  int32_t limit = 0;
  bool clearNext = true;
  int counter = 0;
  failed.clear();
  while (!chunk.empty()) {
    ++counter;
    if (chunk.size() / kEntry < 10 || counter >= 10) {
      ProgressPoll(m_ws, m_ui, progressLine(attempt, chunk.size() / kEntry));
      counter = 0;
      if (m_ws.dialogs.abortRequested) {
        summary.aborted = true;
        return true;
      }
    }
    if (chunk.size() < shortest) {
      shortest = chunk.size();
      tries = 0;
    }
    int32_t score = 0;
    const int best = selectEntry(chunk, limit, m_f, score);
    if (best == 0) {
      if (++tries > base.planOptions.attemptsPerPlan) return true;
      if (!failed.empty()) {
        pickFailed(chunk, failed, limit);
        clearNext = true;
      }
      continue;
    }
    std::string entry = chunk.substr(static_cast<size_t>(best - 1), kEntry);
    chunk.erase(static_cast<size_t>(best - 1), kEntry);
    if (entry.size() != kEntry) {
      m_ui.message("Speicherfehler f\xFCr Deputat! Abbruch!", MessageStyle{Icon::Exclamation, kProgramTitle, true});
      summary.corrupt = true;
      return false;
    }
    if (clearNext) {
      clearEntryFromPlan(entry);
      clearNext = false;
    }
    if (std::string mates = takeBlockMates(entry, chunk, failed); !mates.empty()) {
      std::string entries = entry + mates;
      placeTogether(entries, chunk, failed, limit, score);
      continue;
    }
    const DecodedEntry decoded = decodeEntry(m_ws, entry);
    const Slot slot = chooseSlot(decoded.units, decoded.extra, chunk);
    if (slot.day == 0 || slot.period == 0) {
      failed.insert(0, entry + limitBytes(limit));
      limit = 0;
      continue;
    }
    placeUnits(m_ws, decoded.units, slot, UnitPlacement{decoded.extra, decoded.markers, 0});
    const int remaining = std::max(0, decoded.count - decoded.extra - 1);
    entry[3] = static_cast<char>(remaining + 16 * (decoded.markers & 1));
    limit = score;
    // An entry without periods left simply stays out of the chunk. Merging it would delete
    // the first chunk entry of the same key, and the chunk can hold one: a failed entry is
    // appended to it while a removal has put periods of its key back already.
    if (remaining > 0) mergeEntries(entry, chunk, MergeMode::Add);
  }
  return true;
}

// What is left of the chunk goes back into the assignments. Its ordinary entries stayed
// there while it ran, so their incoming periods come out first; coupling entries left the
// assignments with the work list. Only those periods come out, not every entry of their
// keys: an earlier chunk may have moved a lesson of a later chunk's entry and, unable to
// place it again, put it back into the assignments, and the incoming copy does not know it.
void PlanGenerator::returnChunk(std::string_view incoming, std::string_view chunk) {
  std::string& assignments = m_ws.plan.assignments;
  for (size_t pos = 0; pos + kEntry <= incoming.size(); pos += kEntry) {
    if (!AssignmentView(std::string_view(incoming).substr(pos, kEntry), 0).isCoupling())
      mergeEntries(incoming.substr(pos, kEntry), assignments, MergeMode::Subtract);
  }
  mergeEntries(chunk, assignments, MergeMode::Add);
  m_ws.plan.modifiedPlan = true;
}

void PlanGenerator::adoptWeights(float bestRatio) {
  const int32_t cost = planCost(m_ws.plan.assignments);
  const double quotient = static_cast<double>(cost) / std::max<int32_t>(m_ws.plan.initialPlanCost, 1);
  const float ratio = std::min(bestRatio, static_cast<float>(quotient));
  if (!(0.9F * bestRatio > ratio)) return;
  PlanOptions& options = m_ws.base.planOptions;
  for (const int n : {1, 4, 5, 6, 3}) options.weights[n - 1] = m_weights[n];
  options.scaleFactor = ratio;
  m_ws.plan.optionsChangedByGenerator = true;
}

GenerationSummary PlanGenerator::generate(std::string& chunk) {
  const PlanOptions& options = m_ws.base.planOptions;
  GenerationSummary summary;
  copyWeightsFromOptions();
  m_ws.dialogs.abortRequested = false;
  const float bestRatio = options.scaleFactor;
  const int width = options.variationWidth;
  const float* w = m_weights;
  m_f = std::ldexp(1.0F, width - 10) * width * (w[1] + w[2] + w[7]) / 1000;
  const std::string incoming = chunk;
  if (m_ws.plan.initialPlanCost == 0) m_ws.plan.initialPlanCost = planCost(m_ws.plan.assignments);
  int64_t minTotal = 2 * static_cast<int64_t>(m_ws.plan.assignments.size());
  int64_t lastTotal = minTotal + 1;
  size_t minFailed = chunk.size() / kEntry;
  int noImprovement = 0;
  std::string failed;
  for (;;) {
    if (m_switches.optimiseWeights) varyWeights();
    ++summary.attempts;
    if (summary.attempts > 1 && m_switches.optimisePlan) thinTeacherDays(chunk);
    recountTeacherHours(chunk);
    if (!runAttempt(chunk, summary.attempts, failed, summary)) {
      // The chunk goes back whole, so that no period is lost with the corrupt entry.
      for (size_t k = 0; k + kFailedRecord <= failed.size(); k += kFailedRecord)
        mergeEntries(std::string_view(failed).substr(k, kEntry), chunk, MergeMode::Add);
      returnChunk(incoming, chunk);
      return summary;
    }
    const size_t failedCount = failed.size() / kFailedRecord;
    if (minFailed <= failedCount) {
      ++noImprovement;
    } else {
      minFailed = failedCount;
      noImprovement = 0;
    }
    for (size_t k = 0; k + kFailedRecord <= failed.size(); k += kFailedRecord)
      mergeEntries(std::string_view(failed).substr(k, kEntry), chunk, MergeMode::Add);
    minTotal = std::min(minTotal, lastTotal);
    lastTotal = 0;
    for (size_t pos = 3; pos < chunk.size(); pos += kEntry) lastTotal += byteAt(chunk, pos);
    if (lastTotal == minTotal || summary.aborted || noImprovement > options.maxPlanAttempts) break;
  }
  returnChunk(incoming, chunk);
  if (m_switches.optimiseWeights) adoptWeights(bestRatio);
  return summary;
}

std::vector<std::string> workChunks(const PlanTables& plan, std::string_view workList) {
  const BlockGroups blocks(plan);
  std::vector<std::string> chunks;
  if (blocks.empty()) {
    for (size_t at = 0; at < workList.size(); at += kChunkBytes) chunks.emplace_back(workList.substr(at, kChunkBytes));
    return chunks;
  }
  // A block is placed as one only when its couplings meet in one chunk: the first entry
  // of a block draws every later entry of the block's couplings behind it, and a chunk
  // ends between such groups (a group longer than a chunk makes a chunk of its own).
  const size_t entries = workList.size() / kEntry;
  std::vector<bool> taken(entries, false);
  const auto couplingAt = [&](size_t i) {
    const AssignmentView view(workList.substr(i * kEntry, kEntry), 0);
    return view.isCoupling() ? view.couplingNumber() : 0;
  };
  std::string chunk;
  for (size_t i = 0; i < entries; ++i) {
    if (taken[i]) continue;
    std::string group(workList.substr(i * kEntry, kEntry));
    taken[i] = true;
    if (const int coupling = couplingAt(i); coupling > 0 && blocks.blockOf(coupling) != 0) {
      const std::vector<int> mates = blocks.groupOf(coupling);
      for (size_t j = i + 1; j < entries; ++j) {
        if (taken[j] || std::find(mates.begin(), mates.end(), couplingAt(j)) == mates.end()) continue;
        group += workList.substr(j * kEntry, kEntry);
        taken[j] = true;
      }
    }
    if (!chunk.empty() && chunk.size() + group.size() > kChunkBytes) {
      chunks.push_back(chunk);
      chunk.clear();
    }
    chunk += group;
  }
  if (!chunk.empty()) chunks.push_back(std::move(chunk));
  // A trailing piece shorter than an entry goes with the last chunk, as without blocks.
  if (const size_t tail = entries * kEntry; tail < workList.size()) {
    if (chunks.empty()) chunks.emplace_back();
    chunks.back() += workList.substr(tail);
  }
  return chunks;
}

int generateWorkList(Workspace& ws, Ui& ui, std::string_view workList, GenerationSwitches switches,
                     const ChunkObserver& afterChunk) {
  PlanGenerator generator(ws, ui, switches);
  const std::vector<std::string> chunks = workChunks(ws.plan, workList);
  int attempts = 0;
  for (size_t i = 0; i < chunks.size(); ++i) {
    std::string chunk = chunks[i];
    attempts += generator.generate(chunk).attempts;
    if (afterChunk) {
      std::string pending;
      for (size_t j = i + 1; j < chunks.size(); ++j) pending += chunks[j];
      afterChunk(i, pending);
    }
  }
  return attempts;
}

}  // namespace quort
