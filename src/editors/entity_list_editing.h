#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editors/entity_remap.h"

namespace quort {

struct BaseData;
struct Workspace;
class Ui;

// The input fields of one entity line as the editor shows them, the code ("Kürzel:")
// first, then the fields named by entityFieldNames.
using EntityFields = std::vector<std::string>;

std::optional<EntityKind> entityKindOfLetter(char letter);  // "K", "L", "F", "R"
// "Klassen", "Lehrer", "Fächer", "Räume"
std::string entityListName(EntityKind kind);
// The captions of the fields after "Kürzel:".
std::vector<std::string> entityFieldNames(EntityKind kind);
// The most entities the tables and files hold (teachers and subjects without the sentinel).
int entityCapacity(EntityKind kind);

// The line the fields make: blanks inside a field removed, every field but the second in
// upper case, fields joined by one blank (empty ones drop out). The statistics field of
// classes and subjects follows a ">", the subject's kind is "", "D" or "T".
std::string buildEntityLine(EntityKind kind, const EntityFields& fields);
// The fields of a stored line, to fill the input fields when a line is selected.
EntityFields splitEntityLine(EntityKind kind, const std::string& line);

// The lines of a list, index 1 first; teachers and subjects without the sentinel.
std::vector<std::string> entityLines(const BaseData& base, EntityKind kind);
// Entities that may be selected: 1 to this number.
int editableCount(const BaseData& base, EntityKind kind);
// A deleted teacher or subject: its line begins with "*".
bool entityDeleted(const BaseData& base, EntityKind kind, int index);

// Gives empty base data their "none" entries and the two sentinels, so that a new
// school can be entered from nothing.
void ensureEntityLists(BaseData& base);

// The buttons of the list editor. Each refuses with a German message (and changes
// nothing) what the lists or the file cannot hold; true when the list changed.
// Inserts and sorts renumber, and every reference of the plan follows its entity.
bool addEntity(Workspace& ws, Ui& ui, EntityKind kind, const EntityFields& fields);
bool insertEntity(Workspace& ws, Ui& ui, EntityKind kind, int before, const EntityFields& fields);
bool replaceEntity(Workspace& ws, Ui& ui, EntityKind kind, int index, const EntityFields& fields);
// Asks "Planverlust! Dennoch löschen?". Teachers and subjects keep their index (the line
// is marked deleted); a class or room goes, and its lessons with it.
bool deleteEntity(Workspace& ws, Ui& ui, EntityKind kind, int index);
// Asks "Planverlust! Dennoch sortieren?"; classes sort by their number, the others by code.
bool sortEntities(Workspace& ws, Ui& ui, EntityKind kind);
// "Raum sperren" / "Raum entsperren": "#" before the owner field, and away again.
bool toggleRoomLock(Workspace& ws, Ui& ui, int room);

}  // namespace quort
