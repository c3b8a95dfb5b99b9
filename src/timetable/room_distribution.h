#pragma once

#include <vector>

namespace quort {

struct Workspace;
class Ui;

// Gives rooms to the placed lessons of the classes (in list order) that have none: first
// the classes' home rooms, then the rooms of the subjects, then whatever is left. Lessons
// are never moved; only room bits and the room grid change. The undo copy is taken first,
// so "zurück" takes the whole run back. An empty class list changes nothing. The number of
// periods that got a room.
int distributeRooms(Workspace& ws, Ui& ui, const std::vector<int>& classes);

// The three phases alone, without the undo copy (for callers that keep their own).
int runRoomPhases(Workspace& ws, const std::vector<int>& classes);

// Every class in list order.
std::vector<int> allClasses(const Workspace& ws);

}  // namespace quort
