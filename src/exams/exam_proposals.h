#pragma once

#include <string>
#include <vector>

namespace quort {

// The teachers free to supervise in one shown exam period, in the order the evaluation
// found them (the teachers of the writing courses).
struct SupervisorPool {
  int period = 0;  // shown
  std::vector<std::string> teachers;
};

// "Auswerten" for "Aufsicht:": a line for every "Räume:" room not yet supervised. Each
// period takes one of the room's own teachers when one is in the pool, else the pool's
// first; the chosen teacher leaves the pool, so nobody supervises two rooms at once.
// Returns the field with the new lines appended.
std::string proposeSupervisions(const std::string& roomsField, const std::string& supervisionsField,
                                std::vector<SupervisorPool> pools);

// A lesson outside the exam that stands in an exam room.
struct DisplacedLesson {
  int period = 0;  // shown
  std::string schoolClass;
  std::string room;
};
struct FreeRooms {
  int period = 0;  // shown
  std::vector<std::string> rooms;
};
// "Raumänd.:": every displaced lesson gets a free room of its period; a room given once
// is taken for that period, so two classes never share it. A lesson without a free room
// keeps "?" as its new room.
std::string proposeRoomChanges(const std::vector<DisplacedLesson>& displaced, std::vector<FreeRooms> free);

}  // namespace quort
