#pragma once

#include <vector>

namespace quort {

struct Workspace;
class Grid;

// The four entity lists of the base data, with the letters the editor is called with.
enum class EntityKind { Class, Teacher, Subject, Room };

// How the indexes of one list change: newIndexOf[old] is the entity's index afterwards,
// 0 when it is gone. Index 0 ("none") always stays 0.
struct EntityRemap {
  EntityKind kind = EntityKind::Class;
  std::vector<int> newIndexOf;
};

// After a list of ws.base has been rearranged (and its derived fields rebuilt), rewrites
// every reference of the plan so that each still names the same entity: assignments and
// buffer, coupling members, the class grid's lesson and room words, the teacher, room and
// subject grids with their locks, the open and freed lessons, the reference grids and the
// current selections. What belonged to a gone entity is taken out. The grids take the new
// size of the list; the undo copy is dropped, as it holds the old indexes.
void remapEntityIndexes(Workspace& ws, const EntityRemap& remap);

// The grid with its rows moved to their new indexes and sized for newEntities and
// periods; cells beyond the old size stay 0, rows of gone entities and periods past
// the new count are dropped.
Grid remapGridRows(const Grid& old, int newEntities, int periods, const std::vector<int>& newIndexOf);

// The identity for a list of count entries.
std::vector<int> unchangedIndexes(int count);

}  // namespace quort
