#pragma once

#include <string>
#include <string_view>

namespace quort {

// The normalisation rules of the Untis import. Texts are Windows-1252 bytes.

// Upper-cases a-z and the accented letters of the DOS upper-casing rule (ä ö ü é ñ å ç);
// every other byte stays.
std::string UpperDos(std::string_view text);

// A teacher code as the tables hold it: empty when it sorts before "A", "~~" (the
// external teacher) when it is longer than two characters.
std::string NormTeacher(std::string_view code);

// A room name as the tables hold it: blanks removed, the first of several rooms joined
// with "~", and a name longer than three characters cut to its first and last two
// characters (R101 becomes R01).
std::string roomCode(std::string_view name);

// Class names of the upper school use year numbers: "EF" -> "10", "Q1" -> "11", "Q2" -> "12".
std::string renameYearGroups(std::string_view className);

// Class names without blanks, so that the planner's code (the first blank-separated
// field) is the whole name.
std::string withoutBlanks(std::string_view text);

// The value of the leading digits (0 when the text does not begin with a digit) and
// how many digits there are.
int leadingNumber(std::string_view text, size_t* digits = nullptr);

// Byte-wise comparison, the way codes are ordered ("less than A").
bool sortsBefore(std::string_view text, std::string_view other);

}  // namespace quort
