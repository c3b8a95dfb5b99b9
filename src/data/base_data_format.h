#pragma once

#include <string>
#include <string_view>

#include "data/base_data.h"

namespace quort {

// Reading and writing the text of base-data files, without any dialog.

enum class ParseOutcome { Ok, Defective, TooLarge };

struct ParseResult {
  ParseOutcome outcome = ParseOutcome::Defective;
  bool optionsIncomplete = false;  // the options line ended early; the rest kept their defaults
};

// A .GD file. out must be a fresh BaseData (options at their defaults).
ParseResult parseBaseDataFile(std::string_view content, BaseData& out);

// The older pair: .GP with numbers for the room rules, .GK with the full teacher and
// subject lines (an empty gk keeps the lines of the .GP file).
ParseResult parseLegacyBaseData(std::string_view gp, std::string_view gk, BaseData& out);

// The text of a .GD file. Deleted teachers and subjects are written as placeholders so
// that the indexes of all later entries survive the next load.
std::string formatBaseDataFile(const BaseData& base);

// Rebuilds every field derived from the entity lines: codes, weights, room rules and
// the room rings. Used by the loader and after editing the lists.
void deriveEntityFields(BaseData& base);
// Only codes and weights (the older pair stores its room rules as numbers).
void deriveCodesAndWeights(BaseData& base);

// The header's first number: periods, afternoon start, days and week alternation.
int packSchedule(const BaseData& base);
// false when the days or periods it holds cannot be used.
bool unpackSchedule(long packed, BaseData& base);

void ResetPlanOptions(BaseData& base);

}  // namespace quort
