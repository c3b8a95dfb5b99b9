#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quort {

struct BaseData;
struct PlanTables;

// The stages of reading a plan; each reports on its own and the next one still runs.
enum class PlanStage { Data = 0, Locks = 1, Couplings = 2, Timetable = 3, Records = 4 };
const char* planStageMessage(PlanStage stage);

// The texts of a plan: the plan file itself and, for the older split layout, the files
// that hold its parts. A file that could not be read is std::nullopt.
struct PlanSources {
  std::optional<std::string> plan;       // .PL or .PV
  std::optional<std::string> locks;      // split layout: .PS or .PT
  std::optional<std::string> couplings;  // split layout: .PK
  std::optional<std::string> records;    // split layout: .PP
};

struct PlanReadOptions {
  bool readingPlanFile = true;  // a plan file rather than a substitution snapshot
  bool storeTimetable = true;   // false: the timetable records are read past, not stored
  bool legacyBaseData = false;  // base data from the older pair: class lines follow the timetable
};

// Whether the text is in the older split layout (no version marker in its first line).
bool isSplitLayout(std::string_view planText);

// Reads the plan into plan (which the caller has reset) and returns the stages that
// failed. Indexes beyond the base data fail their stage instead of being stored. The
// class lines after the timetable of older base data are applied to base.
std::vector<PlanStage> readPlan(const PlanSources& sources, BaseData& base, PlanTables& plan,
                                const PlanReadOptions& options);

struct PlanWriteOptions {
  bool withLocks = true;  // false right after an exchange import
  bool snapshot = false;  // a substitution snapshot keeps the class grid as it is
};

// The plan in the current layout, or std::nullopt with reason set when a record holds a
// value the file cannot store.
std::optional<std::string> formatPlanFile(const BaseData& base, const PlanTables& plan, const PlanWriteOptions& options,
                                          std::string& reason);

}  // namespace quort
