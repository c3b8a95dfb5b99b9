#pragma once

#include <optional>
#include <string>

#include "data/file_access.h"

namespace quort {

struct Workspace;
class Ui;

enum class LoadStatus { Loaded = 0, EnterNewData = 1, EndProgram = 2 };

// Loads the base-data set named by name (a plan name such as SCHULE_2 loads SCHULE; a
// name whose extension begins with "GP" reads the older pair). An empty name or one with
// wildcards opens the file chooser first. On failure the old tables stay untouched and
// the user decides between entering new data and ending the program.
LoadStatus LoadBaseData(Workspace& ws, Ui& ui, std::string name);

// The .GD file SaveBaseData would write, for a save that writes it together with other
// files; std::nullopt (the user has been told) when the name or a line cannot be written.
std::optional<FileToWrite> baseDataFileToWrite(const Workspace& ws, Ui& ui, const std::string& name);
// "Dateifehler NAME! Datenverlust!"
void reportBaseDataWriteFailure(Ui& ui, const std::string& name);

// Writes <stem>.GD; 0 when written, -1 when it failed (the user has been told).
int SaveBaseData(Workspace& ws, Ui& ui, const std::string& name);

}  // namespace quort
