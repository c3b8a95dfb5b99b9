#pragma once

#include <string>
#include <string_view>

namespace quort {

struct BaseData;
class Ui;

enum class CodeList { Class, Teacher, Subject, Room };

// The one lookup of typed names that every editor uses: the name is padded with three
// blanks, cut to the code width of its list (classes and rooms 3, teachers and subjects 2),
// put in upper case and searched. 1-based position, 0 when it is not in the list. With a
// ui, a failed lookup says "Fehler: <name>" ("Fehler !" for an empty name).
int lookupCode(const BaseData& base, CodeList list, std::string_view name, Ui* report = nullptr);

// Upper case of Windows-1252 text (the accented lower-case letters too).
std::string upperCaseText(std::string_view text);

// The code of entry index of a list without its padding blanks; "??" when there is none.
std::string codeOf(const BaseData& base, CodeList list, int index);

}  // namespace quort
