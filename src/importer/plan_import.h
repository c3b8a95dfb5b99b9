#pragma once

#include <string>
#include <vector>

#include "importer/import_outcome.h"
#include "importer/untis_file.h"

namespace quort {

struct ImportTables;
class ImportUi;

// Menu "P": loads <baseDataName>.GD, converts GPU001.TXT into GPTAVIN.TXT, builds the
// couplings, asks for the period offset, reads GPTAVIN.TXT into the plan grid (problems
// go to gpuerr.txt) and writes <baseDataName>.PL. A plan is written only when every
// step before it succeeded and the couplings fit the planner.
ImportOutcome ImportPlan(ImportTables& tables, ImportUi& ui, const ImportSource& source);

// Replaces the lists with those of a base-data file; the plan grid is sized from it.
// false when the file is missing, defective or larger than the planner takes.
bool LoadImportBaseData(ImportTables& tables, ImportUi& ui, const std::string& baseDataName);

// Fills the plan grid from the records of GPTAVIN.TXT. offset > 0 moves the lessons
// after that period one row down ("Stundenversatz"). Returns the lines of gpuerr.txt.
std::vector<std::string> fillImportGrid(ImportTables& tables, ImportUi& ui, const std::vector<UntisRecord>& gptavin,
                                        int offset);

// The plan file in the layout marked "#4#": couplings, then every cell of the grid.
std::string formatImportPlan(const ImportTables& tables);

}  // namespace quort
