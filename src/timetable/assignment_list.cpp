#include "timetable/assignment_list.h"

#include <algorithm>

#include "data/plan_records.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr int kCountBits = 15;
constexpr int kMarkerBits = 0xF0;

int countByte(std::string_view record) { return static_cast<unsigned char>(record[3]); }

// Adds periods to the entries of that key, up to 15 each, and appends what does not fit.
void addPeriods(std::string& target, std::string_view key, int periods, int markers) {
  for (size_t pos = 0; pos + AssignmentView::kSize <= target.size(); pos += AssignmentView::kSize) {
    if (std::string_view(target).substr(pos, 3) != key) continue;
    int byte = static_cast<unsigned char>(target[pos + 3]);
    const int take = std::min(kCountBits - (byte & kCountBits), periods);
    byte = (byte | markers) + take;
    target[pos + 3] = static_cast<char>(byte);
    periods -= take;
    if (periods == 0) return;
  }
  while (periods > 0) {
    const int take = std::min(kCountBits, periods);
    target += std::string(key);
    target += static_cast<char>(markers | take);
    periods -= take;
  }
}

// Takes periods from the entries of that key, deleting each entry that is left without any.
void takePeriods(std::string& target, std::string_view key, int periods) {
  for (size_t pos = 0; pos + AssignmentView::kSize <= target.size();) {
    if (std::string_view(target).substr(pos, 3) != key) {
      pos += AssignmentView::kSize;
      continue;
    }
    const int byte = static_cast<unsigned char>(target[pos + 3]);
    const int take = std::min(byte & kCountBits, periods);
    periods -= take;
    if ((byte & kCountBits) == take) {
      target.erase(pos, AssignmentView::kSize);
    } else {
      target[pos + 3] = static_cast<char>(byte - take);
      pos += AssignmentView::kSize;
    }
    if (periods == 0) return;
  }
}

std::string codeAt(const auto& list, int index) {
  if (index < 1 || index >= static_cast<int>(list.size())) return "??";
  return trimmedCode(list[static_cast<size_t>(index)].code);
}

std::string paddedCodeAt(const auto& list, int index, size_t width) {
  std::string code = index >= 1 && index < static_cast<int>(list.size()) ? list[static_cast<size_t>(index)].code : "??";
  code.resize(width, ' ');
  return code;
}

}  // namespace

std::string trimmedCode(const std::string& code) { return code.substr(0, code.find_last_not_of(' ') + 1); }

DecodedEntry decodeEntry(Workspace& ws, std::string_view entry) {
  DecodedEntry decoded;
  if (entry.size() < AssignmentView::kSize) return decoded;
  const AssignmentView view(entry, 0);
  const int whole = countByte(entry);
  decoded.count = view.periods();
  decoded.markers = (view.marker1() ? 1 : 0) + (view.marker2() ? 2 : 0);
  int firstTeacher = view.teacher();
  int firstClass = view.schoolClass();
  if (!view.isCoupling()) {
    decoded.units = std::string(entry.substr(0, AssignmentView::kSize));
    const int subject = view.subject();
    const bool doubleKind = subject >= 1 && subject <= ws.base.nSubjects() &&
                            ws.base.subjects[static_cast<size_t>(subject)].lessonKind != 0;
    decoded.extra = whole > 1 && (view.marker1() || doubleKind) ? 1 : 0;
  } else {
    const int coupling = view.couplingNumber();
    const std::string members = coupling >= 1 && coupling <= ws.plan.nCouplings() ? ws.plan.couplings[coupling] : "";
    if (members.size() >= CouplingMemberView::kSize) {
      decoded.units = std::string(entry.substr(0, AssignmentView::kSize)) +
                      members.substr(0, members.size() / CouplingMemberView::kSize * CouplingMemberView::kSize);
      firstTeacher = CouplingMemberView(members, 0).teacher();
      firstClass = CouplingMemberView(members, 0).schoolClass();
    }
    decoded.extra = view.marker1() ? 1 : view.lessonKind();
  }
  if (decoded.extra >= decoded.count) decoded.extra = std::max(0, decoded.count - 1);
  if (firstTeacher >= 1 && firstTeacher < ws.base.nTeachers()) ws.shell.currentTeacher = firstTeacher;
  if (firstClass >= 1 && firstClass <= ws.base.nClasses()) ws.shell.currentClass = firstClass;
  return decoded;
}

void mergeEntries(std::string_view source, std::string& target, MergeMode mode) {
  for (size_t pos = 0; pos + AssignmentView::kSize <= source.size(); pos += AssignmentView::kSize) {
    const std::string_view entry = source.substr(pos, AssignmentView::kSize);
    const std::string_view key = entry.substr(0, 3);
    const int periods = countByte(entry) & kCountBits;
    if (mode == MergeMode::Subtract) {
      takePeriods(target, key, periods);
      continue;
    }
    if (mode == MergeMode::Remove || periods == 0) {
      for (size_t at = 0; at + AssignmentView::kSize <= target.size();) {
        if (std::string_view(target).substr(at, 3) == key) {
          target.erase(at, AssignmentView::kSize);
          if (mode != MergeMode::Remove) break;
        } else {
          at += AssignmentView::kSize;
        }
      }
      continue;
    }
    addPeriods(target, key, periods, countByte(entry) & kMarkerBits);
  }
}

std::optional<size_t> findAssignment(std::string_view list, std::string_view entry) {
  const std::string_view key = entry.substr(0, 3);
  for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
    if (list.substr(i * AssignmentView::kSize, 3) == key && AssignmentView(list, i).periods() > 0) return i;
  }
  return std::nullopt;
}

void recountHoursToPlace(Workspace& ws) {
  const int nTeachers = ws.base.nTeachers();
  std::vector<int>& hours = ws.placement.hoursToPlace;
  hours.assign(static_cast<size_t>(std::max(nTeachers, 0)) + 1, 0);
  const auto add = [&](int teacher, int periods) {
    if (teacher >= 1 && teacher < nTeachers) hours[static_cast<size_t>(teacher)] += periods;
  };
  const std::string& list = ws.plan.assignments;
  for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
    const AssignmentView entry(list, i);
    if (!entry.isCoupling()) {
      add(entry.teacher(), entry.periods());
      continue;
    }
    if (entry.couplingNumber() < 1 || entry.couplingNumber() > ws.plan.nCouplings()) continue;
    const std::string& members = ws.plan.couplings[static_cast<size_t>(entry.couplingNumber())];
    for (size_t m = 0; m < recordCount(members, CouplingMemberView::kSize); ++m) {
      add(CouplingMemberView(members, m).teacher(), entry.periods());
    }
  }
}

std::string entryText(const BaseData& base, std::string_view entry) {
  const AssignmentView view(entry, 0);
  const int markers = (view.marker1() ? 1 : 0) + (view.marker2() ? 2 : 0);
  if (view.isCoupling()) {
    std::string kind;
    if (markers == 2) kind = "H";
    if (markers == 1) kind = "L";
    if (markers == 0 && view.lessonKind() <= 2) kind = std::string(1, "EDT"[view.lessonKind()]);
    return "#" + std::to_string(view.couplingNumber()) + ":" + std::to_string(view.periods()) + kind;
  }
  const char* const markerText[] = {" ", "\xB9", "\xB2", " "};
  return paddedCodeAt(base.teachers, view.teacher(), 2) + markerText[markers] +
         paddedCodeAt(base.subjects, view.subject(), 2) + " " + paddedCodeAt(base.classes, view.schoolClass(), 3) +
         " " + std::to_string(view.periods());
}

std::string couplingMembersText(const BaseData& base, const PlanTables& plan, int coupling) {
  if (coupling < 1 || coupling > plan.nCouplings()) return {};
  const std::string& members = plan.couplings[static_cast<size_t>(coupling)];
  std::string text;
  for (size_t m = 0; m < recordCount(members, CouplingMemberView::kSize); ++m) {
    const CouplingMemberView member(members, m);
    if (!text.empty()) text += ", ";
    text += codeAt(base.classes, member.schoolClass()) + " " + codeAt(base.teachers, member.teacher()) + " " +
            codeAt(base.subjects, member.subject());
    if (member.suffix() != ' ') text += member.suffix();
  }
  return text;
}

}  // namespace quort
