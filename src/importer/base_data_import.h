#pragma once

#include <string>
#include <vector>

#include "importer/import_outcome.h"

namespace quort {

struct ImportTables;
class ImportUi;

// Menu "G": reads GPU004, GPU005, GPU006, GPU003 and GPU002 from the Untis directory
// into fresh tables, asks for days, periods, lunch break, week alternation and sorting,
// and writes <baseDataName>.GD. Nothing is written when the data do not fit the planner.
ImportOutcome ImportBaseData(ImportTables& tables, ImportUi& ui, const ImportSource& source);

// The base-data pass alone: fills the lists and the week-alternation flag. A file that
// cannot be read is reported and the pass goes on with the next one; false when any
// file could not be read.
bool RunBaseDataPass(ImportTables& tables, ImportUi& ui, const std::string& untisDirectory);

// The text of the .GD file for the tables and the schedule they hold.
std::string formatImportedBaseData(const ImportTables& tables, int lunchValue);

// Whether a file name (the part after the last "/") may be written: it must sort after "A".
bool isWritableBaseName(const std::string& baseDataName);

// "Zu viele ..." lines for every list that exceeds the planner's capacity.
std::vector<std::string> capacityProblems(const ImportTables& tables);

}  // namespace quort
