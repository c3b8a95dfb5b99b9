#pragma once

#include <string>
#include <vector>

namespace quort {

class Application;
class BatchRunner;
struct Workspace;
enum class MainButton;

// The exam mode's buttons: "Vorgaben" (the button "entfernen") opens the presets of the
// exam, "einfügen" the exam dialog. false for every other button or work mode.
bool pressExamButton(Application& app, MainButton button);

// The main view of the exam mode, as lines of text (empty without an exam).
std::vector<std::string> examModeViewLines(const Workspace& ws);

// Script keyword "exam" (see the README); "button entfernen"/"einfügen" in the exam mode.
void addExamKeywords(BatchRunner& runner);

}  // namespace quort
