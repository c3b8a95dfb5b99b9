#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quort {

struct Workspace;
struct BaseData;
struct PlanTables;

// The lessons of one assignment entry, ready for the slot check and for writing: an
// ordinary entry is its own single unit; a coupling entry is a header unit (teacher 0,
// coupling number in the third byte) followed by the coupling's members.
struct DecodedEntry {
  std::string units;
  int count = 0;    // periods still to place
  int extra = 0;    // further consecutive periods per placement: 0 single, 1 double, 2 triple
  int markers = 0;  // 1 marker "¹", 2 marker "²"
};

// Decodes an entry and makes its teacher and class (a coupling's first member) the
// current ones of the views.
DecodedEntry decodeEntry(Workspace& ws, std::string_view entry);

enum class MergeMode { Add, Remove, Subtract };

// Merges the entries of source into target, found by their key (the first three bytes).
// Add: the periods are added and the markers kept from both; a source entry without periods
// deletes its target entry; an unknown key is appended. A count cannot go above 15, so
// periods beyond that go to a further entry of the same key rather than being lost.
// Remove: every target entry with a source key is deleted.
// Subtract: the source entry's periods are taken from the target entries of its key in
// order; an entry left without periods is deleted, periods beyond the target's are ignored.
void mergeEntries(std::string_view source, std::string& target, MergeMode mode);

// Index of the first entry with periods left under the key (the first three bytes) of entry.
std::optional<size_t> findAssignment(std::string_view list, std::string_view entry);

// Sets hoursToPlace of every teacher from the periods still in the assignments; a coupling
// entry counts for every member's teacher.
void recountHoursToPlace(Workspace& ws);

// The entry as the assignment list shows it: "MR¹D  5A  4" for a lesson, "#12:3D" for a coupling.
std::string entryText(const BaseData& base, std::string_view entry);
// The members of a coupling, "11A SD D1, 11B AL M1".
std::string couplingMembersText(const BaseData& base, const PlanTables& plan, int coupling);

// A code without its padding blanks.
std::string trimmedCode(const std::string& code);

}  // namespace quort
