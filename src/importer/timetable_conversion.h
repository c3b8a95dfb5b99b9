#pragma once

#include <optional>
#include <string>
#include <vector>

#include "importer/untis_file.h"

namespace quort {

struct ImportTables;

// GPU001.TXT becomes GPTAVIN.TXT: each line of a lesson number gets the (pseudo-)class
// it is placed in. Every teacher-and-subject pair of one lesson number becomes a piece
// of its own ("Neuzuordnung der Kurse zu Klassen"): bare year groups of the upper
// school get the letters A, B, C ... per piece, and every further line of a pair lands
// in the class of the pair's first line. The pieces are kept in the lesson index.
//
// Returns the text of GPTAVIN.TXT, or std::nullopt when the lesson index is full.
std::optional<std::string> convertTimetable(ImportTables& tables, const std::vector<UntisRecord>& gpu001);

// One GPTAVIN.TXT line: the four texts quoted, the numbers bare.
std::string formatGptavinLine(long lessonNumber, const std::string& schoolClass, const std::string& teacher,
                              const std::string& subject, const std::string& room, long day, long period);

// Every lesson of at least two pieces becomes a coupling, with one member per piece.
// false when there are more than the importer's 127.
bool BuildCouplingList(ImportTables& tables);

}  // namespace quort
