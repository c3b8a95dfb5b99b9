#pragma once

#include <string>

namespace quort {

struct Workspace;
class Ui;

inline constexpr const char* kHelpFileName = "TAVIN.hlp";

// Reads a whole DOS text file for display: a printer-control prefix and the 0xFF line marks
// are dropped, the umlauts become Windows characters, and a 0x1A ends the text. An empty
// name or one with wildcards asks for the file first (name receives the choice). A file
// that cannot be read shows "Lesefehler in " + name; text then holds what was read.
bool ReadTextFile(Workspace& ws, Ui& ui, std::string& name, std::string& text);

// The section of a help text that belongs to a topic: it starts behind the line "~" + topic
// and ends before the next "~". A topic that does not occur gives the whole text.
std::string helpSection(const std::string& text, const std::string& topic);

// Shows a text read-only. With isFile the argument is a file name, optionally followed by
// "~" and a help topic; otherwise it is the text itself.
void TextViewer(Workspace& ws, Ui& ui, const std::string& argument, bool isFile);

// The help file with the current topic: "TAVIN.hlp" of the program directory, or the one
// that lies beside the program file when the program directory has none; "~" and the topic.
std::string helpReference(const Workspace& ws);

// The help text of the current topic, read from the help file.
std::string helpText(Workspace& ws, Ui& ui);

// Shows the help for the current topic.
void ShowHelp(Workspace& ws, Ui& ui);

}  // namespace quort
