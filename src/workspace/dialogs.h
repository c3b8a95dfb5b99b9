#pragma once

#include <optional>
#include <string>
#include <vector>

#include "workspace/ui.h"

namespace quort {

struct Workspace;

// The program's own dialogs, built on the Ui primitives.

// Parses the "|"-separated item string of a choice box: a leading "#" suppresses the
// "Hilfen" button, "?label" is a check box, "$label:value" a text field, anything else a button.
ChoiceBoxRequest parseChoiceItems(const std::string& prompt, const std::string& items,
                                  const std::string& title = kProgramTitle);

ChoiceOutcome ChoiceBox(Ui& ui, const std::string& prompt, const std::string& items,
                        const std::string& title = kProgramTitle);
// The same, with "Hilfen" showing the current help topic of the program directory.
ChoiceOutcome ChoiceBox(Workspace& ws, Ui& ui, const std::string& prompt, const std::string& items,
                        const std::string& title = kProgramTitle);

// The date as "TT.MM.JJJJ" when text names a real day of the calendar (day and month of one
// or two digits, a four-digit year); std::nullopt otherwise. Stricter than Weekday, which
// would take "31.02.2004" for the 2nd of March.
std::optional<std::string> calendarDate(const std::string& text);

// Asks for a date, starting from the shared current date (today when it is none) moved
// by dayOffset days. Only a real calendar date is accepted; true when the user confirmed one,
// which is then the shared current date.
bool DatePrompt(Workspace& ws, Ui& ui, const std::string& title, int dayOffset);

// The file chooser; the answer is also the shared current file name.
std::string FileChooser(Workspace& ws, Ui& ui, const FileChooserRequest& request);

// Whether a chooser may close with this name: in mode "R" the file must exist,
// otherwise name + " nicht gefunden!" is shown.
bool chooserAccepts(Ui& ui, const FileChooserRequest& request, const std::string& name);

// The comma-separated list of a text field with a pick list: adding appends the items
// behind ","; removing deletes every item (wrapped in commas) and tidies the commas.
std::string addFieldItems(const std::string& field, const std::vector<std::string>& items);
std::string removeFieldItems(const std::string& field, const std::vector<std::string>& items);

void ProgressOpen(Workspace& ws, Ui& ui);
// Shows the message; a pending key press asks whether to abort the run.
void ProgressPoll(Workspace& ws, Ui& ui, const std::string& message);
void ProgressClose(Ui& ui);

}  // namespace quort
