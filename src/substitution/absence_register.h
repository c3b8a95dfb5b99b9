#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quort {

struct Workspace;
struct BaseData;
class Ui;

enum class AbsenceKind { None, Class, Teacher, Room };

// What an absence code names: a class (or, as a prefix such as "10", every class of a
// grade), a teacher or a room. Exact codes win over class prefixes, so teacher "MU" is
// never taken for a class "MUS".
struct AbsenceTarget {
  AbsenceKind kind = AbsenceKind::None;
  int index = 0;  // teacher or room; for classes the first class found
};
AbsenceTarget findAbsenceTarget(const BaseData& base, std::string_view who);
// Whether class c is one an absence of who affects.
bool classMatches(const BaseData& base, int c, std::string_view who);

// One absence: an entry of the day's list and, with its dates, a line of termin.x.
struct AbsenceEntry {
  std::string from;  // "TT.MM.JJJJ"
  std::string to;    // equals from for one day
  std::string who;
  int first = 0;  // shown periods; 0 and 0 for the whole day
  int last = 0;
  bool countFlag = true;  // "Stunden verrechnen:" / "Stunden vertreten:"
  std::string reason;
};

// "who[:a-b][n](reason)": what the day's list shows and t<WD>.x line 1 collects.
std::string absenceItem(const AbsenceEntry& entry);
// "from[-to]:" + the item: a line of termin.x.
std::string absenceLine(const AbsenceEntry& entry);
// The part that identifies an entry or item: everything before its first "(".
std::string_view absenceKey(std::string_view text);

// An item split into its fields; periods in shown numbers, 0 for "not given".
struct AbsenceItemFields {
  std::string who;
  int first = 0;
  int last = 0;
  bool countFlag = true;
  std::string reason;
};
AbsenceItemFields parseAbsenceItem(std::string_view item);

// A line of termin.x: its date range and the item behind the dates.
struct AbsenceLine {
  std::string from;
  std::string to;
  std::string item;
};
std::optional<AbsenceLine> parseAbsenceLine(std::string_view line);

// What the "Vertretungen" dialog holds for one entry.
struct AbsenceInput {
  std::string from;
  std::string to;  // empty: one day
  std::string who;
  std::string firstPeriod;  // shown, as typed; empty for the first
  std::string lastPeriod;   // shown, as typed; empty for the last
  bool countFlag = true;
  std::string reason;
};
// Checks and normalises an input; reports "Lehrer/Klasse/Raum fehlerhaft!",
// "Zeitangabe fehlerhaft!" or "Datumsfehler!" and gives std::nullopt.
std::optional<AbsenceEntry> normaliseAbsence(const BaseData& base, Ui& ui, const AbsenceInput& input);

// Adds (add) or deletes the entry in termin.x: lines whose key equals the entry's key are
// dropped, the file is rewritten atomically keeping termin.bx. false on a file error
// (reported).
bool writeAbsenceRegister(Ui& ui, const AbsenceEntry& entry, bool add);

enum class AbsenceMode {
  ReadRegister,  // every termin.x entry whose range holds the date joins the day's list
  StoreAndList,  // "Speichern": into termin.x and the day's list
  StoreOnly,
  ListOnly,  // "Hinzufügen": the day's list only
};
// The day's list grows by the entries; false when an entry was refused or a file failed.
bool readAbsences(Workspace& ws, Ui& ui, const std::string& date, AbsenceMode mode, const AbsenceInput& input = {});

// Removes every item of the day's list whose key equals key.
void removeAbsenceItems(Workspace& ws, std::string_view key);

// "Löschen": the entry leaves termin.x and the day's list.
bool deleteAbsence(Workspace& ws, Ui& ui, const AbsenceEntry& entry);

// The number of the last shown period.
int lastShownPeriod(const BaseData& base);

}  // namespace quort
