#include "substitution/dialog_support.h"

#include "workspace/text_files.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string supportTrimmed(const std::string& code) {
  const size_t first = code.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return code.substr(first, code.find_last_not_of(' ') - first + 1);
}

template <typename T>
std::vector<std::string> supportCodes(const std::vector<T>& list, size_t end) {
  std::vector<std::string> codes;
  for (size_t i = 1; i < end && i < list.size(); ++i) codes.push_back(supportTrimmed(list[i].code));
  return codes;
}

}  // namespace

std::vector<std::string> substitutionCodes(const Workspace& ws, CodeList list) {
  const BaseData& base = ws.base;
  switch (list) {
    case CodeList::Teacher:
      return supportCodes(base.teachers, static_cast<size_t>(base.nTeachers()));
    case CodeList::Class:
      return supportCodes(base.classes, static_cast<size_t>(base.nClasses()) + 1);
    case CodeList::Room:
      return supportCodes(base.rooms, static_cast<size_t>(base.nRooms()) + 1);
    case CodeList::Subject:
      break;
  }
  return supportCodes(base.subjects, static_cast<size_t>(base.nSubjects()) + 1);
}

std::string substitutionHelp(const Workspace& ws, const std::string& topic) {
  const std::string current = helpReference(ws);  // the help file where the program finds it
  return current.substr(0, current.find('~')) + "~" + topic;
}

}  // namespace quort
