#include "editors/block_editing.h"

#include <cctype>
#include <vector>

#include "data/plan_records.h"
#include "editors/code_lookup.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr size_t kMember = CouplingMemberView::kSize;

bool validBlock(const Workspace& ws, int number) { return number >= 1 && number <= ws.plan.nBlocks(); }

// The coupling numbers of a block text, "<n>:" left off; an empty list for a number that
// is not a coupling.
std::vector<int> couplingNumbers(const Workspace& ws, Ui* report, std::string_view text) {
  const size_t colon = text.find(':');
  if (colon != std::string_view::npos) text.remove_prefix(colon + 1);
  std::vector<int> numbers;
  int value = -1;
  bool wrong = false;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ',';
    if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
      value = (value < 0 ? 0 : value) * 10 + (c - '0');
      if (value > 1000) wrong = true;
    } else if (c == ',') {
      if (value >= 0) numbers.push_back(value);
      if (value >= 0 && (value < 1 || value > ws.plan.nCouplings())) wrong = true;
      value = -1;
    } else if (c != ' ') {
      wrong = true;
    }
  }
  if (wrong || numbers.empty()) {
    if (report != nullptr) report->message("Keine zul\xE4ssige Kopplung!");
    return {};
  }
  return numbers;
}

// A teacher (other than the sentinel) or class in two of the block's couplings; empty when
// every one occurs once.
std::string repeatedInBlock(const Workspace& ws, const std::vector<int>& numbers) {
  std::vector<bool> teacherSeen(static_cast<size_t>(ws.base.nTeachers()) + 1);
  std::vector<bool> classSeen(static_cast<size_t>(ws.base.nClasses()) + 1);
  for (int k : numbers) {
    const std::string& members = ws.plan.couplings[static_cast<size_t>(k)];
    for (size_t i = 0; i < recordCount(members, kMember); ++i) {
      const CouplingMemberView member(members, i);
      const auto t = static_cast<size_t>(member.teacher());
      const auto c = static_cast<size_t>(member.schoolClass());
      if (t < teacherSeen.size() && member.teacher() != ws.base.nTeachers()) {
        if (teacherSeen[t]) return codeOf(ws.base, CodeList::Teacher, member.teacher());
        teacherSeen[t] = true;
      }
      if (c < classSeen.size()) {
        if (classSeen[c]) return codeOf(ws.base, CodeList::Class, member.schoolClass());
        classSeen[c] = true;
      }
    }
  }
  return {};
}

}  // namespace

std::string blockText(const Workspace& ws, int block) {
  std::string text = std::to_string(block) + ":";
  if (validBlock(ws, block)) text += ws.plan.blocks[static_cast<size_t>(block)];
  return text;
}

std::optional<std::string> parseBlockText(const Workspace& ws, Ui* report, std::string_view text) {
  const std::vector<int> numbers = couplingNumbers(ws, report, text);
  if (numbers.empty()) return std::nullopt;
  const std::string repeated = repeatedInBlock(ws, numbers);
  if (!repeated.empty()) {
    if (report != nullptr) report->message(repeated + " mehrfach eingesetzt!");
    return std::nullopt;
  }
  std::string stored;
  for (int k : numbers) stored += (stored.empty() ? "" : ",") + std::to_string(k);
  return stored;
}

int addBlock(Workspace& ws, Ui& ui, std::string_view text) {
  const auto parsed = parseBlockText(ws, &ui, text);
  if (!parsed || ws.plan.nBlocks() >= kMaxBlocks) return 0;
  ws.plan.blocks.push_back(*parsed);
  ws.plan.modifiedCouplings = true;
  return ws.plan.nBlocks();
}

bool replaceBlock(Workspace& ws, Ui& ui, int number, std::string_view text) {
  if (!validBlock(ws, number)) {
    ui.message("Eingabefehler!");
    return false;
  }
  const auto parsed = parseBlockText(ws, &ui, text);
  if (!parsed) return false;
  ws.plan.blocks[static_cast<size_t>(number)] = *parsed;
  ws.plan.modifiedCouplings = true;
  return true;
}

bool deleteBlock(Workspace& ws, Ui& ui, int number) {
  if (!validBlock(ws, number)) return false;
  if (!ui.askYesNo("Block l\xF6schen?", MessageStyle{Icon::Question})) return false;
  ws.plan.blocks.erase(ws.plan.blocks.begin() + number);
  ws.plan.modifiedCouplings = true;
  return true;
}

}  // namespace quort
