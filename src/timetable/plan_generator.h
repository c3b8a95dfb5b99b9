#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "timetable/coupling_blocks.h"
#include "timetable/lesson_grid.h"

namespace quort {

struct Workspace;
class Ui;

// The strategy switches of the filter dialog.
struct GenerationSwitches {
  bool shiftCouplings = false;   // "Koppl. versetzen:": coupled lessons may be moved
  bool optimisePlan = true;      // "Plan optimieren:": thin out teacher days with gaps
  bool optimiseWeights = false;  // "Wichtungen optimieren:": draw weights 1, 3, 4, 5, 6 per attempt
};

// What one chunk's run did, for the progress line, the tests and the benchmark.
struct GenerationSummary {
  int attempts = 0;
  bool aborted = false;
  bool corrupt = false;  // "Speicherfehler für Deputat! Abbruch!"
};

inline constexpr size_t kChunkBytes = 800;

// The randomised greedy placement of one chunk of the work list. The weights are working
// copies of the plan options 1 to 7; every random decision draws from ws.random, so a run
// after a program start can be reproduced exactly.
class PlanGenerator {
 public:
  PlanGenerator(Workspace& ws, Ui& ui, GenerationSwitches switches);

  // One run over the chunk (changed in place); what is left goes back into the assignments.
  GenerationSummary generate(std::string& chunk);

  int32_t entryScore(std::string_view entry) const;
  int32_t teacherTerm(int teacher) const;
  int32_t classTerm(int schoolClass) const;
  int32_t planCost(std::string_view list) const;
  void varyWeights();
  Slot chooseSlot(std::string_view units, int extra, std::string& workList);
  int scanDayForward(std::string_view units, int extra, int lastPeriod, int level, int day);
  int scanDayWithDisplacement(std::string_view units, int extra, int lastPeriod, int level, int day,
                              std::string& workList);
  void thinTeacherDays(std::string& workList);
  void clearEntryFromPlan(std::string& entry);
  void recountTeacherHours(std::string_view workList);

  // Working weight n (1 to 7).
  float weight(int n) const { return m_weights[n]; }
  void copyWeightsFromOptions();

 private:
  bool runAttempt(std::string& chunk, int attempt, std::string& failed, GenerationSummary& summary);
  int selectEntry(std::string_view chunk, int32_t limit, double f, int32_t& bestScore);
  void pickFailed(std::string& chunk, std::string& failed, int32_t& limit);
  void returnChunk(std::string_view incoming, std::string_view chunk);
  void adoptWeights(float bestRatio);
  bool dayHasCoveredPeriod(int schoolClass, int grade, int period, int day) const;
  int removeMode() const;
  // Couplings of a block go into the plan together and are never taken out alone, so the
  // block keeps one slot per period. Without blocks none of this draws or changes anything.
  bool inBlock(int coupling) const { return m_blocks.blockOf(coupling) != 0; }
  bool blockLessonAt(int schoolClass, int period, int day) const;
  bool removeUnlessBlock(Slot slot, int schoolClass, std::string& workList);
  std::string takeBlockMates(std::string_view entry, std::string& chunk, std::string& failed) const;
  bool placeTogether(std::string& entries, std::string& chunk, std::string& failed, int32_t& limit, int32_t score);

  Workspace& m_ws;
  Ui& m_ui;
  GenerationSwitches m_switches;
  BlockGroups m_blocks;
  float m_weights[8] = {};
  float m_f = 0;
};

// Called after each chunk has gone back into the assignments, with the chunk's index and
// the part of the work list still to run (its coupling entries are in no other list yet).
// It only looks: the generation goes on exactly as without it.
using ChunkObserver = std::function<void(size_t chunk, std::string_view pending)>;

// The work list cut into the chunks the generator takes one after the other: 800 bytes
// each, except that the entries of a block's couplings always share one chunk.
std::vector<std::string> workChunks(const PlanTables& plan, std::string_view workList);

// Generates the work list chunk by chunk (800 bytes each) with the progress window open;
// an abort ends only the chunk in which it happened. Returns the attempts of all chunks.
int generateWorkList(Workspace& ws, Ui& ui, std::string_view workList, GenerationSwitches switches,
                     const ChunkObserver& afterChunk = {});

// Rounds to the nearest integer, halves to even.
int32_t roundEven(double value);

}  // namespace quort
