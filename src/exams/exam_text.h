#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quort {

// Small text steps the exam fields and the exam log share.
std::string trimmedOf(std::string_view text, std::string_view strip = " ");
std::string upperCasedOf(std::string_view text);
// The lines of a multi-line dialog field (CR dropped), blank lines left out.
std::vector<std::string> fieldLines(std::string_view text);
// Every line of a text (CR dropped), blank ones kept.
std::vector<std::string> fieldLinesKeepingBlanks(std::string_view text);
// Items separated by ",", each trimmed; empty items left out.
std::vector<std::string> listItems(std::string_view text);
// Whether the list holds the entry as a whole item ("3MU" is not in "13MU,").
bool listHasEntry(std::string_view list, std::string_view entry);

}  // namespace quort
