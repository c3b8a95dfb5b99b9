#include "importer/import_tables.h"

#include <algorithm>

#include "data/base_data.h"

namespace quort {

int PrefixFind(const std::vector<std::string>& table, std::string_view key, size_t width) {
  if (key.empty()) return 0;
  const std::string wanted = padCode(key, width);
  for (size_t i = 1; i < table.size(); ++i) {
    if (padCode(table[i], width) == wanted) return static_cast<int>(i);
  }
  return 0;
}

bool ImportList::append(std::string entry) {
  if (full()) {
    ++m_overflow;
    return false;
  }
  m_entries.push_back(std::move(entry));
  return true;
}

void ImportList::clear() {
  m_entries.assign(1, std::string());
  m_overflow = 0;
}

LessonEntry* LessonIndex::find(long lessonNumber) {
  const auto found = m_byNumber.find(lessonNumber);
  return found == m_byNumber.end() ? nullptr : &m_entries[found->second];
}

LessonEntry* LessonIndex::add(long lessonNumber) {
  if (m_entries.size() >= kCapacity) return nullptr;
  m_byNumber[lessonNumber] = m_entries.size();
  m_entries.push_back(LessonEntry{lessonNumber, {}});
  return &m_entries.back();
}

void LessonIndex::clear() {
  m_entries.clear();
  m_byNumber.clear();
}

void ImportGrid::reset(int classes, int periods) {
  lessonWord.resize(classes, periods);
  lessonWord.clear();
  roomWord.resize(classes, periods);
  roomWord.clear();
}

int ImportTables::couplingOf(long lessonNumber) const {
  for (size_t k = 1; k < couplings.size(); ++k) {
    if (couplings[k].lessonNumber == lessonNumber) return static_cast<int>(k);
  }
  return 0;
}

void ImportTables::clearLists() {
  classes.clear();
  teachers.clear();
  subjects.clear();
  rooms.clear();
  couplings.assign(1, ImportCoupling{});
  lessonIndex.clear();
}

}  // namespace quort
