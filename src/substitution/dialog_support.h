#pragma once

#include <string>
#include <vector>

#include "editors/code_lookup.h"

namespace quort {

struct Workspace;

// The trimmed codes of a list without the sentinel entries (the subjects keep "*", the
// entry for a lesson without a subject).
std::vector<std::string> substitutionCodes(const Workspace& ws, CodeList list);

// What "Hilfen" of a substitution dialog shows: the help file and the topic.
std::string substitutionHelp(const Workspace& ws, const std::string& topic);

}  // namespace quort
