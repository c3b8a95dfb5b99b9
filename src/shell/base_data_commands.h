#pragma once

namespace quort {

class Application;
class BatchRunner;

// "G:" (the base-data editor, the one command that runs before base data exist) and the
// tool panels "W:L", "W:S", "W:K", "W:F".
void registerBaseDataCommands(Application& app);

// A click on a slot of the plan view: the slot becomes current and the open tool panel
// acts there. true when the panel changed the plan.
bool clickSlot(Application& app, int day, int period);
// Menu "&Indizieren".
void openIndexPanelWindow(Application& app);

// Script keywords: base, days, options, click, panel, verify.
void addBaseDataKeywords(BatchRunner& runner);

}  // namespace quort
