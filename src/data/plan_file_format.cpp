#include "data/plan_file_format.h"

#include <algorithm>

#include "data/base_data.h"
#include "data/enc40.h"
#include "data/field_reader.h"
#include "data/plan_grids.h"
#include "data/plan_records.h"
#include "data/plan_tables.h"

namespace quort {

namespace {

enum class Layout { V5, V4, V3, Split };

const std::string kLineEnd = "\r\n";

Layout layoutOf(const std::string& firstLine) {
  if (firstLine == "#5#") return Layout::V5;
  if (firstLine == "#4#") return Layout::V4;
  if (firstLine == "#3#") return Layout::V3;
  return Layout::Split;
}

int slotPos(int period, int day) { return 6 * period + day - 1; }

// Reading of one plan: knows the base data's sizes and notes failing stages.
class PlanReader {
 public:
  PlanReader(BaseData& base, PlanTables& plan, const PlanReadOptions& options)
      : m_base(base), m_plan(plan), m_options(options) {}

  void readLocks(FieldReader& in, Layout layout);
  void readCouplingsAndBlocks(FieldReader& in, Layout layout);
  void readTimetable(FieldReader& in, Layout layout);
  void readRecords(FieldReader& in, Layout layout);
  void fail(PlanStage stage) {
    if (std::find(m_failed.begin(), m_failed.end(), stage) == m_failed.end()) m_failed.push_back(stage);
  }
  std::vector<PlanStage> failed() {
    std::sort(m_failed.begin(), m_failed.end());
    return m_failed;
  }

 private:
  bool slotValid(long period, long day) const {
    return period >= 1 && period <= m_base.periodsPerDay && day >= 1 && day <= kGridDays;
  }
  bool enterLock(long period, long day, long index, long value);
  bool memberValid(const CouplingMemberView& member) const;
  bool enterCell(long schoolClass, long period, long day, long lessonWord, long roomWord);
  void readOlderTimetable(FieldReader& in, Layout layout);
  void applyClassLines(FieldReader& in);
  std::string decodeRecords(const std::optional<std::string>& line, size_t recordSize,
                            bool (PlanReader::*valid)(std::string_view) const);
  bool assignmentValid(std::string_view record) const;
  bool openLessonValid(std::string_view record) const;
  bool freedLessonValid(std::string_view record) const;

  BaseData& m_base;
  PlanTables& m_plan;
  const PlanReadOptions& m_options;
  std::vector<PlanStage> m_failed;
  long m_nCouplings = 0;
  long m_nBlocks = 0;
};

// A record names a teacher lock with a positive value, a subject lock with a negative
// one (the count), and a room lock with a negative index (the room) and a positive value.
// Readers that know no room locks refuse such a record as a bad lock and read on.
bool PlanReader::enterLock(long period, long day, long index, long value) {
  if (!slotValid(period, day) || value == 0 || value > 255 || value < -255) return false;
  if (index < 0) {
    if (value < 0 || value > 127 || -index > m_base.nRooms()) return false;
    m_plan.timetable.roomLock.at(static_cast<int>(-index), static_cast<int>(period), static_cast<int>(day)) =
        static_cast<uint16_t>(value);
    return true;
  }
  if (value > 0) {
    if (index < 1 || index > m_base.nTeachers()) return false;
    m_plan.timetable.teacher.at(static_cast<int>(index), static_cast<int>(period), static_cast<int>(day)) =
        static_cast<uint16_t>(value);
    return true;
  }
  if (index < 1 || index > m_base.nSubjects()) return false;
  m_plan.timetable.subject.at(static_cast<int>(index), static_cast<int>(period), static_cast<int>(day)) =
      static_cast<uint16_t>(257 * -value);
  return true;
}

void PlanReader::readLocks(FieldReader& in, Layout layout) {
  const int width = layout == Layout::V5 ? 3 : 4;
  for (;;) {
    long n[4] = {};
    for (int i = 0; i < width; ++i) {
      const auto value = in.readInteger();
      if (!value) {
        // The parts of a split plan may end with their locks; a plan file in one piece
        // always has the terminator, so without it the file was cut short.
        if (layout != Layout::Split || i > 0) fail(PlanStage::Locks);
        return;
      }
      n[i] = *value;
    }
    long period = 0, day = 0, index = 0, value = 0;
    if (width == 3) {
      if (n[0] == 0) {
        m_nCouplings = n[1];
        m_nBlocks = n[2];
        break;
      }
      period = n[0] / 6, day = n[0] % 6 + 1, index = n[1], value = n[2];
    } else {
      if (n[0] == 0 && n[1] == 0) {
        m_nCouplings = n[2];
        m_nBlocks = n[3];
        break;
      }
      day = n[0], period = n[1], index = n[2], value = n[3];
    }
    if (!enterLock(period, day, index, value)) fail(PlanStage::Locks);
  }
  if (m_nCouplings < 0 || m_nCouplings > kMaxCouplings || m_nBlocks < 0 || m_nBlocks > kMaxBlocks) {
    fail(PlanStage::Locks);
    m_nCouplings = m_nBlocks = 0;
  }
}

bool PlanReader::memberValid(const CouplingMemberView& member) const {
  return member.teacher() <= m_base.nTeachers() && member.schoolClass() <= m_base.nClasses() &&
         member.subject() <= m_base.nSubjects();
}

void PlanReader::readCouplingsAndBlocks(FieldReader& in, Layout layout) {
  const bool toEnd = layout == Layout::Split;
  while (toEnd || m_plan.nCouplings() < m_nCouplings) {
    const auto line = in.readLine();
    if (!line) {
      if (!toEnd) fail(PlanStage::Couplings);
      break;
    }
    if (*line == "#") break;
    std::string coupling = Dec40(*line).value_or(std::string());
    if (coupling.empty() && !line->empty()) fail(PlanStage::Couplings);
    coupling.resize(coupling.size() / CouplingMemberView::kSize * CouplingMemberView::kSize);
    for (size_t i = 0; i < recordCount(coupling, CouplingMemberView::kSize); ++i) {
      if (!memberValid(CouplingMemberView(coupling, i))) {
        fail(PlanStage::Couplings);
        coupling.clear();
      }
    }
    if (m_plan.nCouplings() >= kMaxCouplings) {
      fail(PlanStage::Couplings);
      break;
    }
    m_plan.couplings.push_back(std::move(coupling));
  }
  while (toEnd || m_plan.nBlocks() < m_nBlocks) {
    const auto line = in.readLine();
    if (!line) {
      if (!toEnd) fail(PlanStage::Couplings);
      break;
    }
    if (m_plan.nBlocks() >= kMaxBlocks) {
      fail(PlanStage::Couplings);
      break;
    }
    m_plan.blocks.push_back(*line);
  }
}

bool PlanReader::enterCell(long schoolClass, long period, long day, long lessonWord, long roomWord) {
  if (schoolClass < 1 || schoolClass > m_base.nClasses() || !slotValid(period, day) || lessonWord < 0 ||
      lessonWord > 0xFFFF || roomWord < 0 || roomWord > 0xFFFF) {
    return false;
  }
  const auto lesson = static_cast<uint16_t>(lessonWord);
  if (LessonWord::teacher(lesson) > m_base.nTeachers() || LessonWord::subject(lesson) > m_base.nSubjects()) {
    return false;
  }
  if (!m_options.storeTimetable) return true;
  enterTimetableCell(m_base, m_plan,
                     {static_cast<int>(schoolClass), static_cast<int>(period), static_cast<int>(day), lesson,
                      static_cast<uint16_t>(roomWord)},
                     m_options.readingPlanFile);
  return true;
}

// Older layouts store only the two words, class by class, then period, then day.
void PlanReader::readOlderTimetable(FieldReader& in, Layout layout) {
  int schoolClass = 1, period = 1, day = 1;
  while (day <= kGridDays && m_base.nClasses() > 0) {
    const auto lessonWord = in.readInteger();
    const auto roomWord = lessonWord ? in.readInteger() : std::nullopt;
    if (!roomWord) {
      // A split plan's timetable file may stop early; inside one plan file the records
      // follow the last day, and a record without its room word is cut in any layout.
      if (layout != Layout::Split || lessonWord) fail(PlanStage::Timetable);
      return;
    }
    if (!enterCell(schoolClass, period, day, *lessonWord, *roomWord)) fail(PlanStage::Timetable);
    if (++schoolClass > m_base.nClasses()) {
      schoolClass = 1;
      if (++period > m_base.periodsPerDay) {
        period = 1;
        ++day;
      }
    }
  }
}

// Plans made on the older base-data pair carry the class teachers after the timetable.
void PlanReader::applyClassLines(FieldReader& in) {
  for (int c = 1; c <= m_base.nClasses(); ++c) {
    const auto line = in.readLine();
    if (!line) return;
    std::string& classLine = m_base.classes[c].line;
    if (line->find('*') == std::string::npos && lineField(classLine, 2).empty() &&
        line->find(',') == std::string::npos) {
      classLine += ' ' + *line;
    }
  }
}

void PlanReader::readTimetable(FieldReader& in, Layout layout) {
  if (layout == Layout::V5 || layout == Layout::V4) {
    const auto separator = in.readLine();
    if (!separator || *separator != (layout == Layout::V5 ? "#5#" : "#4#")) {
      fail(PlanStage::Timetable);
      return;
    }
  }
  if (layout != Layout::V5) {
    readOlderTimetable(in, layout);
  } else {
    for (;;) {
      long n[4] = {};
      for (long& value : n) {
        const auto read = in.readInteger();
        if (!read) {
          fail(PlanStage::Timetable);
          return;
        }
        value = *read;
      }
      if (n[0] == 0) break;
      if (!enterCell(n[1], n[0] / 6, n[0] % 6 + 1, n[2], n[3])) fail(PlanStage::Timetable);
    }
  }
  if (m_options.legacyBaseData) applyClassLines(in);
}

bool PlanReader::assignmentValid(std::string_view record) const {
  const AssignmentView entry(record, 0);
  if (entry.isCoupling()) return entry.couplingNumber() <= kMaxCouplings;
  return entry.teacher() <= m_base.nTeachers() && entry.schoolClass() <= m_base.nClasses() &&
         entry.subject() <= m_base.nSubjects();
}

bool PlanReader::openLessonValid(std::string_view record) const {
  const OpenLessonView entry(record, 0);
  return entry.teacher() <= m_base.nTeachers() && entry.schoolClass() <= m_base.nClasses() &&
         entry.day() <= kGridDays && entry.period() <= m_base.periodsPerDay && entry.subject() <= m_base.nSubjects() &&
         entry.coupling() <= kMaxCouplings && entry.room() <= m_base.nRooms();
}

bool PlanReader::freedLessonValid(std::string_view record) const {
  const FreedLessonView entry(record, 0);
  return entry.teacher() <= m_base.nTeachers() && entry.schoolClass() <= m_base.nClasses() &&
         entry.day() <= kGridDays && entry.period() <= m_base.periodsPerDay;
}

std::string PlanReader::decodeRecords(const std::optional<std::string>& line, size_t recordSize,
                                      bool (PlanReader::*valid)(std::string_view) const) {
  if (!line) return {};
  const auto decoded = Dec40(*line);
  if (!decoded) {
    fail(PlanStage::Records);
    return {};
  }
  std::string kept;
  for (size_t i = 0; i + recordSize <= decoded->size(); i += recordSize) {
    const std::string_view record = std::string_view(*decoded).substr(i, recordSize);
    if ((this->*valid)(record)) {
      kept += record;
    } else {
      fail(PlanStage::Records);
    }
  }
  return kept;
}

void PlanReader::readRecords(FieldReader& in, Layout layout) {
  std::optional<std::string> lines[3];
  for (auto& line : lines) {
    line = in.readLine();
    // The current layout always writes all three lines; older files may lack them.
    if (!line && layout == Layout::V5) fail(PlanStage::Records);
  }
  m_plan.assignments = decodeRecords(lines[0], AssignmentView::kSize, &PlanReader::assignmentValid);
  m_plan.openLessons = decodeRecords(lines[1], OpenLessonView::kSize, &PlanReader::openLessonValid);
  m_plan.freedLessons = decodeRecords(lines[2], FreedLessonView::kSize, &PlanReader::freedLessonValid);
}

void readSplitPlan(const PlanSources& sources, PlanReader& reader) {
  const auto readPart = [&](const std::optional<std::string>& text, PlanStage stage, auto read) {
    if (!text) {
      reader.fail(stage);
      return;
    }
    FieldReader in(*text);
    read(in);
  };
  readPart(sources.locks, PlanStage::Locks, [&](FieldReader& in) { reader.readLocks(in, Layout::Split); });
  readPart(sources.couplings, PlanStage::Couplings,
           [&](FieldReader& in) { reader.readCouplingsAndBlocks(in, Layout::Split); });
  readPart(sources.plan, PlanStage::Timetable, [&](FieldReader& in) { reader.readTimetable(in, Layout::Split); });
  readPart(sources.records, PlanStage::Records, [&](FieldReader& in) { reader.readRecords(in, Layout::Split); });
}

// The class word as the file keeps it: a coupled lesson is rebuilt from its coupling, so
// the file never disagrees with the coupling the lesson belongs to.
uint16_t lessonWordToWrite(const PlanTables& plan, int schoolClass, uint16_t lessonWord, uint16_t roomWord,
                           bool snapshot) {
  const int coupling = RoomWord::coupling(roomWord);
  if (snapshot || coupling == 0) return lessonWord;
  const uint16_t indexMark = lessonWord & 64;
  if (coupling > plan.nCouplings()) return indexMark;
  const std::string& members = plan.couplings[static_cast<size_t>(coupling)];
  for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize); ++i) {
    const CouplingMemberView member(members, i);
    if (member.schoolClass() == schoolClass) {
      return static_cast<uint16_t>(member.teacher() * 256 + 128 + member.subject()) | indexMark;
    }
  }
  return indexMark;
}

void appendNumbers(std::string& text, std::initializer_list<long> numbers) {
  bool first = true;
  for (const long n : numbers) {
    if (!first) text += ',';
    text += std::to_string(n);
    first = false;
  }
  text += kLineEnd;
}

void appendLocks(std::string& text, const BaseData& base, const PlanTables& plan) {
  for (int day = 1; day <= kGridDays; ++day) {
    for (int period = 1; period <= base.periodsPerDay; ++period) {
      for (int t = 1; t <= base.nTeachers(); ++t) {
        const int value = plan.timetable.teacher.at(t, period, day) & 127;
        if (value > 0) appendNumbers(text, {slotPos(period, day), t, value});
      }
      for (int s = 1; s <= base.nSubjects(); ++s) {
        const int count = plan.timetable.subject.at(s, period, day) >> 8;
        if (count > 0) appendNumbers(text, {slotPos(period, day), s, -count});
      }
      for (int r = 1; r <= base.nRooms(); ++r) {
        const int value = plan.timetable.roomLock.at(r, period, day) & 127;
        if (value > 0) appendNumbers(text, {slotPos(period, day), -r, value});
      }
    }
  }
}

// The loader's rule: a cell without teacher or subject, or (in a plan file) with the
// sentinel subject, holds no room.
bool roomKeptOnLoad(const BaseData& base, uint16_t lessonWord, bool snapshot) {
  const int subject = LessonWord::subject(lessonWord);
  return LessonWord::teacher(lessonWord) != 0 && subject != 0 && (snapshot || subject != base.nSubjects());
}

void appendTimetable(std::string& text, const BaseData& base, const PlanTables& plan, bool snapshot) {
  for (int day = 1; day <= kGridDays; ++day) {
    for (int period = 1; period <= base.periodsPerDay; ++period) {
      for (int c = 1; c <= base.nClasses(); ++c) {
        uint16_t roomWord = plan.timetable.roomWord.at(c, period, day);
        const uint16_t lessonWord =
            lessonWordToWrite(plan, c, plan.timetable.lessonWord.at(c, period, day), roomWord, snapshot);
        // A coupled cell is written from its coupling, which may give a word the loader
        // keeps no room for (the coupling lost the class, or names the sentinel
        // subject); the room goes too, or the next save would differ from this one.
        if (!roomKeptOnLoad(base, lessonWord, snapshot)) roomWord = static_cast<uint16_t>(roomWord & ~127U);
        if (lessonWord != 0) appendNumbers(text, {slotPos(period, day), c, lessonWord, roomWord});
      }
    }
  }
}

bool appendEncoded(std::string& text, std::string_view bytes, const std::string& what, std::string& reason) {
  const auto line = Enc40(bytes);
  if (!line) {
    reason = what +
             " enth\xE4lt einen Wert \xFC"
             "ber 215, den die Plandatei nicht speichern kann!";
    return false;
  }
  text += *line + kLineEnd;
  return true;
}

}  // namespace

const char* planStageMessage(PlanStage stage) {
  switch (stage) {
    case PlanStage::Data:
      return "Keine oder fehlerhafte Daten!";
    case PlanStage::Locks:
      return "Keine oder fehlerhafte Plansperren!";
    case PlanStage::Couplings:
      return "Keine oder fehlerhafte Kopplungsdaten!";
    case PlanStage::Timetable:
      return "Kein oder fehlerhafter Stundenplan!";
    case PlanStage::Records:
      return "Keine oder fehlerhafte Deputate!";
  }
  return "";
}

bool isSplitLayout(std::string_view planText) {
  FieldReader in(planText);
  const auto first = in.readLine();
  return !first || layoutOf(*first) == Layout::Split;
}

std::vector<PlanStage> readPlan(const PlanSources& sources, BaseData& base, PlanTables& plan,
                                const PlanReadOptions& options) {
  PlanReader reader(base, plan, options);
  if (!sources.plan) {
    return {PlanStage::Data, PlanStage::Locks, PlanStage::Couplings, PlanStage::Timetable, PlanStage::Records};
  }
  FieldReader in(*sources.plan);
  const auto version = in.readLine();
  if (!version) reader.fail(PlanStage::Data);
  const Layout layout = version ? layoutOf(*version) : Layout::Split;
  if (layout == Layout::Split) {
    readSplitPlan(sources, reader);
    return reader.failed();
  }
  // A file cut inside a line fails the stage that was reading when the text ran out.
  PlanStage lastStageWithText = PlanStage::Data;
  const auto runStage = [&](PlanStage stage, auto read) {
    if (!in.atEnd()) lastStageWithText = stage;
    read();
  };
  runStage(PlanStage::Locks, [&] { reader.readLocks(in, layout); });
  runStage(PlanStage::Couplings, [&] { reader.readCouplingsAndBlocks(in, layout); });
  runStage(PlanStage::Timetable, [&] { reader.readTimetable(in, layout); });
  runStage(PlanStage::Records, [&] { reader.readRecords(in, layout); });
  if (!in.endsWithLineEnd()) reader.fail(lastStageWithText);
  return reader.failed();
}

std::optional<std::string> formatPlanFile(const BaseData& base, const PlanTables& plan, const PlanWriteOptions& options,
                                          std::string& reason) {
  std::string text = "#5#" + kLineEnd;
  if (options.withLocks) appendLocks(text, base, plan);
  appendNumbers(text, {0, plan.nCouplings(), plan.nBlocks()});
  for (int k = 1; k <= plan.nCouplings(); ++k) {
    if (!appendEncoded(text, plan.couplings[static_cast<size_t>(k)], "Kopplung " + std::to_string(k), reason)) {
      return std::nullopt;
    }
  }
  for (int b = 1; b <= plan.nBlocks(); ++b) text += plan.blocks[static_cast<size_t>(b)] + kLineEnd;
  text += "#5#" + kLineEnd;
  appendTimetable(text, base, plan, options.snapshot);
  appendNumbers(text, {0, 0, 0, 0});
  if (!appendEncoded(text, plan.assignments + plan.assignmentBuffer, "Die Deputatsliste", reason) ||
      !appendEncoded(text, plan.openLessons, "Die Liste der Vertretungsstunden", reason) ||
      !appendEncoded(text, plan.freedLessons, "Die Liste der freigesetzten Stunden", reason)) {
    return std::nullopt;
  }
  return text;
}

}  // namespace quort
