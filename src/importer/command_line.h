#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace quort {

// "importer grunddaten ..." and "importer plandaten ...": the menu functions "G" and "P"
// without a terminal, the prompts answered from options. Arguments are UTF-8.
// Exit status: 0 written, 1 a file could not be read or written, 2 wrong command line.
int runImporterCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

std::string importerUsage();

}  // namespace quort
