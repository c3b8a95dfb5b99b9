#include "editors/code_lookup.h"

#include "data/base_data.h"
#include "workspace/ui.h"

namespace quort {

namespace {

size_t codeWidth(CodeList list) { return list == CodeList::Class || list == CodeList::Room ? 3 : 2; }

template <typename T>
std::string codeAt(const std::vector<T>& entries, int index) {
  if (index < 1 || index >= static_cast<int>(entries.size())) return "??";
  const std::string& code = entries[static_cast<size_t>(index)].code;
  return code.substr(0, code.find_last_not_of(' ') + 1);
}

}  // namespace

std::string upperCaseText(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    const auto byte = static_cast<unsigned char>(c);
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (byte >= 0xE0 && byte != 0xF7 && byte != 0xFF) c = static_cast<char>(byte - 0x20);
  }
  return upper;
}

int lookupCode(const BaseData& base, CodeList list, std::string_view name, Ui* report) {
  const std::string code = upperCaseText((std::string(name) + "   ").substr(0, codeWidth(list)));
  int found = 0;
  switch (list) {
    case CodeList::Class:
      found = base.findClass(code);
      break;
    case CodeList::Teacher:
      found = base.findTeacher(code);
      break;
    case CodeList::Subject:
      found = base.findSubject(code);
      break;
    case CodeList::Room:
      found = base.findRoom(code);
      break;
  }
  if (found == 0 && report != nullptr) report->message(name.empty() ? "Fehler !" : "Fehler: " + std::string(name));
  return found;
}

std::string codeOf(const BaseData& base, CodeList list, int index) {
  switch (list) {
    case CodeList::Class:
      return codeAt(base.classes, index);
    case CodeList::Teacher:
      return codeAt(base.teachers, index);
    case CodeList::Subject:
      return codeAt(base.subjects, index);
    case CodeList::Room:
      break;
  }
  return codeAt(base.rooms, index);
}

}  // namespace quort
