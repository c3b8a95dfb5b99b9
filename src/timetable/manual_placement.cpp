#include "timetable/manual_placement.h"

#include <algorithm>

#include "data/calendar.h"
#include "timetable/assignment_list.h"
#include "timetable/lesson_removal.h"
#include "timetable/lesson_writing.h"
#include "timetable/slot_check.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string codeOf(const auto& list, int index) {
  if (index < 1 || index >= static_cast<int>(list.size())) return {};
  return trimmedCode(list[static_cast<size_t>(index)].code);
}

// The check that answering Yes switches off.
int overrideBit(CheckCode code) {
  switch (code) {
    case CheckCode::DayAlreadyUsed:
      return CheckMode::kIgnoreDaySet;
    case CheckCode::EndOfDay:
      return CheckMode::kNoEndOfDay;
    case CheckCode::Combination:
      return CheckMode::kNoCombination;
    case CheckCode::ClassOccupied:
      return CheckMode::kNoClassOccupied;
    case CheckCode::Teacher:
      return CheckMode::kNoTeacher;
    case CheckCode::NoRoom:
      return CheckMode::kNoRoomCount;
    case CheckCode::Free:
      break;
  }
  return 0;
}

bool hasTeacherUnit(std::string_view units) {
  for (size_t i = 0; i + 4 <= units.size(); i += 4) {
    if (units[i] != 0) return true;
  }
  return false;
}

// Asks for each refusal whether to place the lesson anyway; false when the user declines
// or the refusal cannot be switched off (a day that is not taught).
bool overrideRefusals(Workspace& ws, Ui& ui, const DecodedEntry& decoded, Slot slot, int& mode) {
  const MessageStyle style{Icon::Question, kProgramTitle, true};
  CheckCode code = checkSlot(ws, decoded.units, slot, {.level = 0, .extra = decoded.extra, .mode = mode});
  while (code != CheckCode::Free) {
    const CheckResult& result = ws.placement.result;
    if (hasTeacherGrid(ws.base, result.teacher)) ws.shell.currentTeacher = result.teacher;
    const int bit = overrideBit(code);
    if ((mode & bit) != 0) {
      ui.message(refusalText(ws), MessageStyle{Icon::Exclamation, kProgramTitle, true});
      ws.placement.result = CheckResult{};
      return false;
    }
    if (!ui.askYesNo(refusalText(ws) + "\r\rKombination dennoch setzen?", style)) {
      ws.placement.result = CheckResult{};
      return false;
    }
    mode |= bit;
    code = checkSlot(ws, decoded.units, slot, {.level = 0, .extra = decoded.extra, .mode = mode});
  }
  return true;
}

}  // namespace

std::string refusalText(const Workspace& ws) {
  const CheckResult& result = ws.placement.result;
  std::string where = result.day > 0 ? DayAbbrev(result.day) : "";
  if (result.period > 0) where += " " + std::to_string(result.period);
  switch (result.code) {
    case CheckCode::DayAlreadyUsed:
      return "Keine freie Stunde gefunden.";
    case CheckCode::EndOfDay:
      return "Doppelstunde nicht m\xF6glich.";
    case CheckCode::Combination:
      return where + ": Kombination bereits gesetzt.";
    case CheckCode::ClassOccupied:
      return where + ": Eintrag f\xFCr " + codeOf(ws.base.classes, result.schoolClass) + ".";
    case CheckCode::Teacher: {
      const std::string teacher = codeOf(ws.base.teachers, result.teacher);
      const bool busy = result.teacher <= ws.base.nTeachers() &&
                        ws.plan.timetable.teacher.at(result.teacher, result.period, result.day) > 0;
      return where + ": " + (busy ? "Eintrag f\xFCr " : "hohe Stundenzahl f\xFCr ") + teacher;
    }
    case CheckCode::NoRoom:
      return where + ": Kein Raum f\xFCr " + codeOf(ws.base.subjects, result.subject) + ".";
    case CheckCode::Free:
      break;
  }
  return {};
}

PlaceOutcome placeEntry(Workspace& ws, Ui& ui, std::string& entry, Slot slot, int& mode) {
  if (entry.size() < 4) return PlaceOutcome::NothingToPlace;
  const DecodedEntry decoded = decodeEntry(ws, entry);
  if (decoded.count == 0) {
    entry.clear();
    return PlaceOutcome::NothingToPlace;
  }
  if (!hasTeacherUnit(decoded.units)) {
    ui.message("Kopplung " + std::to_string(static_cast<unsigned char>(entry[2])) + " ohne Kurse!");
    return PlaceOutcome::NothingToPlace;
  }
  if (!overrideRefusals(ws, ui, decoded, slot, mode)) return PlaceOutcome::Declined;
  // Lessons in the way go back into the assignments. Should one of them stay, the new
  // lesson is not written over it: the grids would no longer agree.
  const int last = std::min(slot.period + decoded.extra, ws.base.periodsPerDay);
  for (int q = slot.period; q <= last; ++q) {
    if (clearConflicts(ws, ui, decoded.units, Slot{slot.day, q}, ws.plan.assignments)) {
      ui.message("Daten nicht mehr zuverl\xE4ssig!", MessageStyle{Icon::Exclamation, kProgramTitle, true});
      return PlaceOutcome::Unreliable;
    }
  }
  const int placed =
      placeUnits(ws, decoded.units, slot, {.extra = decoded.extra, .markers = decoded.markers, .source = 0});
  const int countByte = static_cast<unsigned char>(entry[3]);
  entry[3] = static_cast<char>((countByte & 0xF0) | std::max(0, decoded.count - placed));
  return PlaceOutcome::Placed;
}

}  // namespace quort

namespace quort {

PlaceOutcome placeAssignment(Workspace& ws, Ui& ui, size_t index, Slot slot) {
  std::string& list = ws.plan.assignments;
  const size_t pos = index * 4;
  if (pos + 4 > list.size()) return PlaceOutcome::NothingToPlace;
  std::string entry = list.substr(pos, 4);
  list.erase(pos, 4);
  int mode = 0;
  const PlaceOutcome outcome = placeEntry(ws, ui, entry, slot, mode);
  if (entry.size() == 4 && (entry[3] & 15) != 0) {
    // Lessons cleared out of the way may have brought the same key back meanwhile.
    if (findAssignment(list, entry)) {
      mergeEntries(entry, list, MergeMode::Add);
    } else {
      list.insert(std::min(pos, list.size()), entry);
    }
  }
  return outcome;
}

}  // namespace quort
