#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quort {

struct Workspace;
class Ui;

// Blocks: "<n>:" followed by coupling numbers separated by commas.
std::string blockText(const Workspace& ws, int block);
// The block's coupling numbers as stored ("3,4,9"); std::nullopt after a refusal:
// "Keine zulässige Kopplung!" or a teacher or class in two of its couplings.
std::optional<std::string> parseBlockText(const Workspace& ws, Ui* report, std::string_view text);
// The new block's number, 0 when refused.
int addBlock(Workspace& ws, Ui& ui, std::string_view text);
bool replaceBlock(Workspace& ws, Ui& ui, int number, std::string_view text);
// After "Block löschen?"; later blocks move up one number.
bool deleteBlock(Workspace& ws, Ui& ui, int number);

}  // namespace quort
