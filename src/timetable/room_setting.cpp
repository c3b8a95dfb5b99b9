#include "timetable/room_setting.h"

#include <optional>

#include "data/calendar.h"
#include "data/plan_records.h"
#include "timetable/assignment_list.h"
#include "workspace/dialogs.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

const MessageStyle kTaskModal{Icon::Exclamation, kProgramTitle, true};

std::string classCode(const Workspace& ws, int c) { return trimmedCode(ws.base.classes[static_cast<size_t>(c)].code); }
std::string roomCode(const Workspace& ws, int r) { return trimmedCode(ws.base.rooms[static_cast<size_t>(r)].code); }

uint16_t& roomWordAt(Workspace& ws, int c, Slot slot) {
  return ws.plan.timetable.roomWord.at(c, slot.period, slot.day);
}

void assignRoom(Workspace& ws, int c, int room, Slot slot) {
  uint16_t& word = roomWordAt(ws, c, slot);
  word = static_cast<uint16_t>((word & ~127U) | static_cast<unsigned>(room));
  if (room > 0) ws.plan.timetable.room.at(room, slot.period, slot.day) = static_cast<uint16_t>(c);
}

// A lesson that can hold a room: the plan file keeps no room for a class lock or a
// cell without teacher or subject.
bool takesRoom(const Workspace& ws, uint16_t lesson) {
  const int subject = LessonWord::subject(lesson);
  return LessonWord::teacher(lesson) != 0 && subject != 0 && subject != ws.base.nSubjects();
}

enum class Holder { Keep, Delete, Swap };

// Another class holds the room: delete it there, swap, or give up.
std::optional<Holder> askHolder(Workspace& ws, Ui& ui, const std::string& question, int room, int holder) {
  const std::string holderCode = classCode(ws, holder);
  const ChoiceOutcome choice = ChoiceBox(
      ws, ui, (question.empty() ? "" : question + "\r\r") + roomCode(ws, room) + " in " + holderCode + " gesetzt!",
      "#Raum in " + holderCode + " l\xF6schen|R\xE4ume tauschen|Abbruch");
  if (choice.choiceResult == 1) return Holder::Delete;
  if (choice.choiceResult == 2) return Holder::Swap;
  return std::nullopt;
}

}  // namespace

bool clearRoom(Workspace& ws, int schoolClass, Slot slot) {
  uint16_t& word = roomWordAt(ws, schoolClass, slot);
  const int room = RoomWord::room(word);
  if (room == 0) return false;
  if (room <= ws.base.nRooms() && ws.plan.timetable.room.at(room, slot.period, slot.day) == schoolClass) {
    ws.plan.timetable.room.at(room, slot.period, slot.day) = 0;
  }
  word = static_cast<uint16_t>(word & ~127U);
  ws.plan.modifiedPlan = true;
  return true;
}

bool setRoom(Workspace& ws, Ui& ui, RoomRequest request) {
  const int room = request.room;
  const int c = request.schoolClass;
  const Slot slot = request.slot;
  if (room < 1 || room > ws.base.nRooms()) {
    ui.message("Kein Raum!", kTaskModal);
    return false;
  }
  ws.shell.currentClass = c;
  if (!takesRoom(ws, ws.plan.timetable.lessonWord.at(c, slot.period, slot.day))) {
    ui.message("Kein Unterricht in " + classCode(ws, c) + "!");
    return false;
  }
  // A locked room is kept back on purpose; giving it out by hand must be meant.
  if (roomLocked(ws.base, room) &&
      !ui.askYesNo(roomCode(ws, room) + " gesperrt!  Raum dennoch setzen?", MessageStyle{Icon::Question})) {
    return false;
  }
  if (roomLockedAt(ws.plan.timetable, room, slot) &&
      !ui.askYesNo(roomCode(ws, room) + " in " + DayAbbrev(slot.day) + " " + std::to_string(slot.period) +
                       " gesperrt!  Raum dennoch setzen?",
                   MessageStyle{Icon::Question})) {
    return false;
  }
  const int oldRoom = RoomWord::room(roomWordAt(ws, c, slot));
  std::string question;
  if (oldRoom != 0) {
    if (oldRoom == room) {
      ui.message("Identischer Raum f\xFCr " + classCode(ws, c) + "!");
      return false;
    }
    question = "In " + classCode(ws, c) +
               " bereits Raum gesetzt!  Raum \xFC"
               "berschreiben?";
    if (!ui.askYesNo(question, MessageStyle{Icon::Question})) return false;
    if (oldRoom > ws.base.nRooms() || ws.plan.timetable.room.at(oldRoom, slot.period, slot.day) != c) return false;
  }
  const int holder = ws.plan.timetable.room.at(room, slot.period, slot.day);
  std::optional<Holder> handling = Holder::Keep;
  if (holder != 0 && holder != c) {
    handling = askHolder(ws, ui, question, room, holder);
    if (!handling || RoomWord::room(roomWordAt(ws, holder, slot)) != room) return false;
  }
  if (oldRoom != 0) clearRoom(ws, c, slot);
  if (handling == Holder::Delete) {
    clearRoom(ws, holder, slot);
    ui.message(roomCode(ws, room) + " in " + classCode(ws, holder) + " gel\xF6scht!");
  } else if (handling == Holder::Swap) {
    clearRoom(ws, holder, slot);
    assignRoom(ws, holder, oldRoom, slot);
    ui.message("R\xE4ume in " + classCode(ws, c) + " und " + classCode(ws, holder) + " getauscht!");
  }
  assignRoom(ws, c, room, slot);
  ws.plan.modifiedPlan = true;
  return true;
}

}  // namespace quort
