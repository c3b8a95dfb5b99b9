#pragma once

#include "timetable/lesson_grid.h"

namespace quort {

struct Workspace;
class Ui;

struct RoomRequest {
  int room = 0;  // 0: the code named no room
  int schoolClass = 0;
  Slot slot;
};

// Gives the class's lesson at the slot the room. A room already set is only replaced
// after "Raum überschreiben?"; a room another class holds is taken from it or swapped on
// request. Nothing changes until every question is answered. true when the room was set.
bool setRoom(Workspace& ws, Ui& ui, RoomRequest request);

// Takes the room away from the class's lesson at the slot; true when it had one.
bool clearRoom(Workspace& ws, int schoolClass, Slot slot);

}  // namespace quort
