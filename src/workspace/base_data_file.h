#pragma once

#include <string>

namespace quort {

struct Workspace;
class Ui;

enum class LoadStatus { Loaded = 0, EnterNewData = 1, EndProgram = 2 };

// Loads the base-data set named by name (a plan name such as SCHULE_2 loads SCHULE; a
// name whose extension begins with "GP" reads the older pair). An empty name or one with
// wildcards opens the file chooser first. On failure the old tables stay untouched and
// the user decides between entering new data and ending the program.
LoadStatus LoadBaseData(Workspace& ws, Ui& ui, std::string name);

// Writes <stem>.GD; 0 when written, -1 when it failed (the user has been told).
int SaveBaseData(Workspace& ws, Ui& ui, const std::string& name);

}  // namespace quort
