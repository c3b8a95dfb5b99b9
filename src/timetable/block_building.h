#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quort {

struct Workspace;
class Ui;

// The old blocks as a 0-separated list of coupling-number bytes, in block order; empty
// when they are to be deleted. The block list itself stays as it is until the new one
// is complete.
std::string keepOldBlocks(const Workspace& ws, bool deleteOld);

// Greedy covering: the candidates that cover the couplings not yet in kept, rare
// couplings first; then every candidate coupling still in no block as a block of its own.
// The whole list (kept blocks first); std::nullopt when the user stopped the choice.
std::optional<std::string> chooseBlocks(Workspace& ws, Ui& ui, std::string_view candidates, std::string kept);

// Appends every block of a 0-separated list to blocks (texts "3,7,12") up to the capacity
// of the block list; the number of blocks that did not fit.
int storeBlocks(std::vector<std::string>& blocks, std::string_view list);

struct BlockBuildRequest {
  std::string ranges;           // items each followed by "#"
  bool deleteOld = true;        // "Alte Blöcke löschen"
  bool automaticChoice = true;  // "Automatische Blockwahl"
};

enum class BlockBuildOutcome { Stored, NothingFound, Aborted };

// "Auswerten" of "Blockerstellung - Vorgaben": analysis, building and choice in the
// progress window "Automatische Blockerstellung". The block list is replaced only when
// the run comes to its end.
BlockBuildOutcome buildBlocks(Workspace& ws, Ui& ui, const BlockBuildRequest& request);

}  // namespace quort
