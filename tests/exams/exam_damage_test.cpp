// Damaged logs, garbage in the exam dialog and odd presets: every reader of the exam
// subsystem ends with a message or a clean result, never a crash, a broken grid or a
// half-written file. Each case is made from its seed, so a failure replays.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "courses/course_file.h"
#include "exams/exam_dialog.h"
#include "exams/exam_evaluation.h"
#include "exams/exam_log.h"
#include "exams/exam_output.h"
#include "exams/exam_planning.h"
#include "exams/exam_takeover.h"
#include "exams/exam_text.h"
#include "substitution/absence_register.h"
#include "substitution/extra_work_log.h"
#include "support/mutations.h"
#include "support/temp_dir.h"
#include "timetable/demo_school.h"
#include "workspace/base_data_file.h"

namespace {

namespace fs = std::filesystem;

const std::string kDate = "03.02.2025";  // a Monday

quort::ExamFields demoFields() {
  quort::ExamFields fields;
  fields.rooms = "101:GEb EC,KUb EN\n102:EKb HW,Ec SD";
  fields.supervisions = "101:1.EC(*),2.EC(*)\n102:1.HW,2.MR(*)";
  fields.roomChanges = "1.: 5A 101>103\n2.: 5B 102>104";
  fields.freed = "1.:11A GEb EC,11B(KUb EN),\n2.:11A GEb EC,5A>D MR<,";
  return fields;
}

// Two exams of the demo school's Monday and one of another day.
std::string demoLog() {
  const auto preset = quort::parseExamPreset("MO1-2|11|GEB,EKB", 10);
  quort::ExamFields second;
  second.supervisions = "103:3.KS,4.ZZZ(*)";
  second.freed = "3.:7A D KS";
  return quort::examRecordText(*preset, kDate, demoFields()) + quort::examRecordText(*preset, kDate, second) +
         quort::examRecordText(*preset, "04.02.2025", demoFields());
}

// Damage the log format invites besides what any file suffers: markers lost, periods and
// codes that exist nowhere, a record's end or heading lost or doubled.
class ExamLogMutator {
 public:
  explicit ExamLogMutator(uint32_t seed) : m_random(seed), m_generic(seed) {}

  std::string mutate(std::string text) {
    const int changes = 1 + static_cast<int>(m_random() % 3);
    for (int i = 0; i < changes; ++i) {
      switch (m_random() % 6) {
        case 0:
          text = m_generic.mutate(text);
          break;
        case 1:
          replaceAll(text, m_random() % 2 == 0 ? "\xAC" : "\xA1", "");
          break;
        case 2:
          replaceOne(text, pick({"1.", "2.", "3.", "4."}), pick({"99.", "0.", "-1.", "4294967296.", ".", "1000."}));
          break;
        case 3:
          replaceOne(text, pick({"EC", "HW", "MR", "KS", "5A", "11A", "101", "103", "GEb"}),
                     pick({"QQ", "", "*", "~X", "5Z", ",", "->", ":", "(", "(*)"}));
          break;
        case 4:
          replaceOne(text, pick({"####\r\n", "\xACKlausuren am ", "Aufsichten:", "Frei:", "Stufe:", "Zeit:"}),
                     pick({"", "####\r\n####\r\n", "\xACKlausuren am MO,03.02.2025\xAC\r\n", "Frei:Frei:"}));
          break;
        default:
          text.insert(m_random() % (text.size() + 1), pick({"\r\n", "->", ",", ":", "(*)", "Klausuren am ", "   "}));
          break;
      }
    }
    return text;
  }

 private:
  std::string pick(std::initializer_list<const char*> options) {
    return *(options.begin() + static_cast<long>(m_random() % options.size()));
  }
  void replaceOne(std::string& text, const std::string& from, const std::string& to) {
    std::vector<size_t> hits;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + 1)) hits.push_back(at);
    if (!hits.empty()) text.replace(hits[m_random() % hits.size()], from.size(), to);
  }
  static void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
      text.replace(at, from.size(), to);
    }
  }

  std::mt19937 m_random;
  quort::test::FileMutator m_generic;
};

bool hasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

// What the readers of one log text must give whatever it holds: exams without line breaks
// in their parts, a rewrite that a second output leaves alone, plan lines of the width.
void expectCleanReading(const std::string& log, const std::string& where) {
  for (const quort::ExamOfDay& exam : quort::examsOfDayIn(log, kDate)) {
    EXPECT_FALSE(hasLineBreak(exam.grade) || hasLineBreak(exam.time)) << where;
    for (const auto& s : exam.supervisions) {
      EXPECT_FALSE(s.teacher.empty() || hasLineBreak(s.teacher) || hasLineBreak(s.room)) << where;
      EXPECT_GE(s.period, 0) << where;
    }
    for (const auto& r : exam.roomChanges) EXPECT_GE(r.period, 0) << where;
  }
  const auto records = quort::examLogRecords(log);
  const std::string rewritten = quort::examLogText(records);
  EXPECT_EQ(quort::examLogRecords(rewritten), records) << where;
  EXPECT_EQ(quort::examLogText(quort::examLogRecords(rewritten)), rewritten) << where;
  const auto dates = quort::examPlanDates(kDate, 2);
  for (const bool forPrint : {false, true}) {
    for (const std::string& line : quort::examPlanLines(log, dates, forPrint)) {
      EXPECT_FALSE(hasLineBreak(line)) << where;
      if (!forPrint) {
        EXPECT_LE(line.size(), 37U) << where << ": " << line;
      }
    }
  }
}

// The log cut at every byte and damaged in a few hundred ways reads cleanly.
TEST(ExamLogDamage, CutAndMutatedLogsReadCleanly) {
  const std::string log = demoLog();
  ASSERT_EQ(quort::examsOfDayIn(log, kDate).size(), 2U);
  for (size_t cut = 0; cut <= log.size(); ++cut) expectCleanReading(log.substr(0, cut), "cut " + std::to_string(cut));
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    expectCleanReading(ExamLogMutator(seed).mutate(log), "seed " + std::to_string(seed));
  }
}

// Text a person may type into the exam dialog's fields, in any order.
std::string garbageField(std::mt19937& random) {
  static const char* const kPieces[] = {"101:",
                                        "R12:",
                                        "102 :",
                                        ":",
                                        "1.",
                                        "2.",
                                        "99.",
                                        "0.",
                                        "-3.",
                                        ".",
                                        "EC",
                                        "MR",
                                        "ZZZ",
                                        "~X",
                                        "*",
                                        "(*)",
                                        "(",
                                        ")",
                                        ",",
                                        ", ,",
                                        "->",
                                        ">",
                                        "<",
                                        " ",
                                        "   ",
                                        "\n",
                                        "\r\n",
                                        "\r",
                                        "Klausuren am ",
                                        "####",
                                        "\xAC",
                                        "\xA1",
                                        "Stufe:",
                                        "Zeit:",
                                        "Frei:",
                                        "Aufsichten:",
                                        "Raum\xE4nderung:",
                                        "R\xE4ume:",
                                        "5A 101>103",
                                        "11A",
                                        "GEb",
                                        "4294967296",
                                        "|",
                                        "\t",
                                        "\x1A",
                                        "\xFF"};
  std::string text;
  const int count = static_cast<int>(random() % 24);
  for (int i = 0; i < count; ++i) text += kPieces[random() % std::size(kPieces)];
  return text;
}

// The demo school in the exam mode with a small course file of grade 11, working in a
// directory of its own.
struct ExamSchool : quort::test::DemoSchool {
  quort::test::InTempDirectory dir;

  ExamSchool() {
    quort::CourseBook book;
    book.yearGroup = "11";
    book.courses = {{"GEb   ", ""}, {"KUb   ", ""}, {"EKb   ", ""}};
    book.students = {{"Adler;Anna", 'w', {{1, 2}}}, {"Berg;Ben", 'm', {{1, 3}, {3, 1}}}};
    ws.exams.courses = book;
  }

  std::vector<std::string> leftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::current_path())) {
      if (entry.path().extension() == ".tmp") names.push_back(entry.path().filename().string());
    }
    return names;
  }
};

// Garbage in every field of the exam dialog, pressed through "Auswerten" and "Speichern":
// each save adds exactly one exam to the log and leaves the earlier ones as they were;
// the extra work lines it writes count.
TEST(ExamDialogDamage, GarbageFieldsAreEvaluatedAndSavedAsOneExam) {
  ExamSchool school;
  ASSERT_TRUE(quort::setExamPreset(school.ws, school.ui, "MO1-2|11|GEB,EKB"));
  quort::ExamDialogSession session(school.ws, school.ui, *quort::currentExam(school.ws));
  const int evaluate = 6;
  const int save = 7;
  std::mt19937 random(7);
  for (int round = 0; round < 150; ++round) {
    const std::string where = "round " + std::to_string(round);
    std::vector<std::string> values;
    for (int i = 0; i < 4; ++i) values.push_back(garbageField(random));
    values.push_back(random() % 2 == 0 ? "1" : "0");
    EXPECT_FALSE(session.press(evaluate, values)) << where;
    const quort::ExamFields proposed = session.fields();
    if (random() % 2 == 0) values = {proposed.rooms, proposed.supervisions, proposed.roomChanges, proposed.freed};
    values.resize(4);
    values[random() % 4] = garbageField(random);
    values.push_back(random() % 2 == 0 ? "1" : "0");

    std::string before;
    if (fs::exists(quort::kExamLogName)) before = quort::test::readFile(quort::kExamLogName);
    const auto recordsBefore = quort::examLogRecords(before);
    const size_t examsBefore = quort::examsOfDayIn(before, kDate).size();
    const std::string protBefore = fs::exists("prot.x") ? quort::test::readFile("prot.x") : std::string();
    school.ui.queueAnswer("Ja");
    school.ui.queueAnswer(kDate);
    EXPECT_TRUE(session.press(save, values)) << where;
    const std::string after = quort::test::readFile(quort::kExamLogName);
    auto records = quort::examLogRecords(after);
    ASSERT_EQ(records.size(), recordsBefore.size() + 1) << where << "\n" << after.substr(before.size());
    const std::string added = after.substr(before.size());
    EXPECT_EQ(std::count(added.begin(), added.end(), '\xAC'), 2) << where;
    EXPECT_EQ(std::count(added.begin(), added.end(), '\xA1') % 2, 0) << where;
    records.pop_back();
    EXPECT_EQ(records, recordsBefore) << where;
    const auto exams = quort::examsOfDayIn(after, kDate);
    ASSERT_EQ(exams.size(), examsBefore + 1) << where;
    EXPECT_EQ(exams.back().grade + " " + exams.back().time, "11 1-2") << where;
    const std::string prot = fs::exists("prot.x") ? quort::test::readFile("prot.x") : std::string();
    ASSERT_EQ(prot.rfind(protBefore, 0), 0U) << where;
    for (const std::string& line : quort::fieldLines(prot.substr(protBefore.size()))) {
      EXPECT_GT(quort::loggedHours(line), 0) << where << ": " << line;
    }
  }
  EXPECT_TRUE(school.leftovers().empty());
  EXPECT_TRUE(school.consistent());
}

// The exams of a damaged log, read into the demo school's day ("einlesen") or taken over
// ("vorgeben"): a message or a clean result, every grid consistent, no file half-written.
TEST(ExamDayDamage, DamagedLogsNeverBreakTheDay) {
  const std::string log = demoLog();
  // Cases past the mutated ones cut the log short, every 7th byte.
  constexpr uint32_t kMutated = 200;
  const auto cases = kMutated + static_cast<uint32_t>(log.size() / 7);
  for (uint32_t seed = 0; seed < cases; ++seed) {
    const std::string where = "seed " + std::to_string(seed);
    ExamSchool school;
    school.app.typeCommand(">MO1 K:5A L:MR F:D R:101\r");
    school.app.setWorkMode(3);
    school.ws.dialogs.currentDate = kDate;
    const std::string text = seed == 0          ? log
                             : seed >= kMutated ? log.substr(0, (seed - kMutated) * 7)
                                                : ExamLogMutator(seed).mutate(log);
    std::ofstream(quort::kExamLogName, std::ios::binary) << text;
    // Some days already have notes, damaged as well; some read the exams before taking them over.
    if (seed % 3 == 1) {
      std::ofstream("tMO.x", std::ios::binary)
          << quort::test::FileMutator(seed).mutate("MR:1-2(krank)\r\nAufsichten:\r\nKlausur 11: 1.EC\r\nHof\r\n");
    }
    const std::string notesBefore = fs::exists("tMO.x") ? quort::test::readFile("tMO.x") : std::string();
    if (seed % 4 == 3) quort::readExamsIntoDay(school.ws, school.ui, kDate);
    const size_t messages = school.ui.records().size();
    const bool takeOver = seed % 2 == 0 || seed % 4 == 3;
    const bool done = takeOver ? quort::takeOverExams(school.ws, school.ui, kDate)
                               : quort::readExamsIntoDay(school.ws, school.ui, kDate);
    // The undamaged log is taken over; only the teacher the school does not know is left.
    if (seed == 0) {
      EXPECT_TRUE(
          school.ui.saw("Klausuren in 11 \xFC"
                        "bernommen!"));
      EXPECT_TRUE(
          school.ui.saw("Nicht \xFC"
                        "bernommen: 4.ZZZ 103!"));
    }
    if (!done) {
      EXPECT_GT(school.ui.records().size(), messages) << where;
    }
    EXPECT_TRUE(school.consistent()) << where << ": " << quort::checkPlanConsistency(school.ws).front();
    EXPECT_TRUE(school.leftovers().empty()) << where;
    for (const std::string& item : school.ws.substitution.absences) {
      EXPECT_FALSE(hasLineBreak(item)) << where;
      const quort::AbsenceItemFields fields = quort::parseAbsenceItem(item);
      EXPECT_TRUE(fields.first >= 1 && fields.first <= fields.last &&
                  fields.last <= quort::lastShownPeriod(school.ws.base))
          << where << ": " << item;
    }
    // Notes rewritten are whole: the heading the exams go under is there.
    if (const std::string notes = fs::exists("tMO.x") ? quort::test::readFile("tMO.x") : std::string();
        notes != notesBefore) {
      EXPECT_NE(notes.find("Aufsichten:"), std::string::npos) << where;
    }
    EXPECT_EQ(quort::test::readFile(quort::kExamLogName), text) << where;
  }
}

// With week alternation and an odd number of periods the last shown period has only its
// A period: an exam in it is set there and nothing lands past the grid's last period.
TEST(ExamDayDamage, LastShownPeriodOfAnOddAlternatingDayStaysInTheGrid) {
  quort::test::InTempDirectory dir;
  quort::Workspace ws;
  quort::ScriptedUi ui;
  ASSERT_EQ(quort::LoadBaseData(ws, ui, quort::test::demoFile()), quort::LoadStatus::Loaded);
  ws.base.weekAlternation = true;
  ws.base.periodsPerDay = 9;
  ws.plan.reset(ws.base);
  const int last = quort::lastShownPeriod(ws.base);
  ASSERT_EQ(last, 5);
  const auto preset = quort::parseExamPreset("MO5-5|11|", last);
  ASSERT_TRUE(preset);
  quort::ExamFields fields;
  fields.supervisions = "101:5.EC\n102:5.HW";
  std::ofstream(quort::kExamLogName, std::ios::binary) << quort::examRecordText(*preset, kDate, fields);
  EXPECT_TRUE(quort::takeOverExams(ws, ui, kDate)) << ui.records().back().text;
  EXPECT_TRUE(quort::checkPlanConsistency(ws).empty());
  int supervisions = 0;
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    if (ws.plan.timetable.lessonWord.at(c, 9, 1) != 0) ++supervisions;
    EXPECT_EQ(ws.plan.timetable.lessonWord.at(c, 0, 1), 0) << c;
  }
  EXPECT_EQ(supervisions, 2);
}

// "Ausgabe von Klausurenplänen" over a damaged log: klausauf.txt is the plan of what the
// log holds or nothing is written and a message says why; the rewritten log keeps every
// record and the old one stays as the backup. Day counts past a year are refused at once.
TEST(ExamPlanDamage, DamagedLogsGiveThePlanOrAMessage) {
  ExamSchool school;
  const std::string log = demoLog();
  for (uint32_t seed = 0; seed < 120; ++seed) {
    const std::string where = "seed " + std::to_string(seed);
    const std::string text = seed == 0 ? log : ExamLogMutator(seed).mutate(log);
    fs::remove(quort::kExamPlanName);
    fs::remove(quort::kExamLogBackupName);
    std::ofstream(quort::kExamLogName, std::ios::binary | std::ios::trunc) << text;
    const size_t messages = school.ui.records().size();
    const auto result = quort::writeExamOutput(school.ws, school.ui, {quort::ExamOutputAction::Save, kDate, 2});
    const std::string rewritten = quort::test::readFile(quort::kExamLogName);
    EXPECT_EQ(quort::examLogRecords(rewritten), quort::examLogRecords(text)) << where;
    if (rewritten != text) EXPECT_EQ(quort::test::readFile(quort::kExamLogBackupName), text) << where;
    if (result == quort::ExamOutputResult::Done) {
      const auto lines = quort::examPlanLines(text, quort::examPlanDates(kDate, 2), false);
      EXPECT_EQ(quort::fieldLinesKeepingBlanks(quort::test::readFile(quort::kExamPlanName)).size(), lines.size() + 1)
          << where;
    } else {
      EXPECT_FALSE(fs::exists(quort::kExamPlanName)) << where;
      EXPECT_GT(school.ui.records().size(), messages) << where;
    }
    EXPECT_TRUE(school.leftovers().empty()) << where;
  }
  for (const char* days : {"0", "-1", "367", "99999999999", "2x", "", " "})
    EXPECT_EQ(quort::examPlanDayCount(days), 0) << days;
  EXPECT_EQ(quort::examPlanDayCount(" 366 "), 366);
  EXPECT_EQ(quort::writeExamOutput(school.ws, school.ui, {quort::ExamOutputAction::Save, kDate, 2000000000}),
            quort::ExamOutputResult::Refused);
  EXPECT_EQ(school.ui.records().back().text, "Eingabefehler!");
}

// Odd terms, grades and selections are refused with "Eingabefehler!" or evaluated; a
// course file cut at any byte is refused with a message or loaded, and the exam is
// evaluated over what was loaded.
TEST(ExamPresetDamage, OddPresetsAndCutCourseFilesEndCleanly) {
  ExamSchool school;
  std::mt19937 random(11);
  static const char* const kTerms[] = {"MO1-2",   "SA1-1",   "SO1-2",          "MO0-2",  "MO2-1",
                                       "MO1-99",  "DI-3",    "MI3-",           "FR",     "",
                                       "MO1-2-3", "mo01-02", "DO4294967296-1", "SA1-10", "X"};
  static const char* const kGrades[] = {"11", "",     "0",     "-1",    "999999999999", "11A", "5",
                                        "Q1", "\xFF", " 1 1 ", "1(#9)", "11:",          "[K]"};
  static const char* const kSelections[] = {"", "GEB", ",,,", "GEB;;EKB", "ZZZ", "GEB EKB,KUB", "*", "\x1A"};
  for (int round = 0; round < 300; ++round) {
    std::string text = std::string(kTerms[random() % std::size(kTerms)]) + "|" +
                       kGrades[random() % std::size(kGrades)] + "|" + kSelections[random() % std::size(kSelections)];
    if (round % 5 == 4) text = quort::test::FileMutator(static_cast<uint32_t>(round)).mutate(text);
    const size_t messages = school.ui.records().size();
    if (!quort::setExamPreset(school.ws, school.ui, text)) {
      EXPECT_TRUE(school.ui.records().size() > messages && school.ui.records().back().text == "Eingabefehler!") << text;
      continue;
    }
    const auto preset = quort::currentExam(school.ws);
    ASSERT_TRUE(preset) << text;
    const quort::ExamEvaluation evaluation = quort::evaluateCurrentExam(school.ws, *preset);
    for (const auto& lesson : evaluation.lessons) {
      EXPECT_GE(lesson.away, 0) << text;
      EXPECT_LE(lesson.away, lesson.members) << text;
    }
    EXPECT_FALSE(quort::examMainViewLines(school.ws).empty()) << text;
    // Whatever the grade, the supervisor's extra work is one line that counts.
    if (round % 3 != 0) continue;
    school.ws.exams.supervisions = "101:" + std::to_string(preset->firstShown) + ".EC(*)";
    school.ws.exams.countExtraWork = true;
    school.ui.queueAnswer("Ja");
    school.ui.queueAnswer(kDate);
    if (preset->day != 1) school.ui.queueAnswer("Ja");
    const std::string protBefore = fs::exists("prot.x") ? quort::test::readFile("prot.x") : std::string();
    quort::ExamDialogSession session(school.ws, school.ui, *preset);
    EXPECT_TRUE(session.act(quort::ExamDialogSession::Action::Save)) << text;
    const auto added = quort::fieldLines(quort::test::readFile("prot.x").substr(protBefore.size()));
    ASSERT_EQ(added.size(), 1U) << text;
    EXPECT_EQ(quort::loggedHours(added[0]), 1) << text << ": " << added[0];
  }

  quort::CourseFileNotes notes;
  const std::string bytes = quort::formatCourseFile(school.ws.exams.courses, notes);
  ASSERT_TRUE(quort::setExamPreset(school.ws, school.ui, "MO1-2|11|GEB"));
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    std::ofstream("K11.BK", std::ios::binary | std::ios::trunc) << bytes.substr(0, cut);
    const quort::CourseBook before = school.ws.exams.courses;
    const size_t messages = school.ui.records().size();
    if (!quort::loadExamCourses(school.ws, school.ui, "K11.BK")) {
      EXPECT_TRUE(school.ui.saw(quort::kExamFileError)) << cut;
      EXPECT_GT(school.ui.records().size(), messages) << cut;
      EXPECT_EQ(school.ws.exams.courses.students.size(), before.students.size()) << cut;
      continue;
    }
    const auto evaluation = quort::evaluateCurrentExam(school.ws, *quort::currentExam(school.ws));
    for (const auto& lesson : evaluation.lessons) EXPECT_LE(lesson.away, lesson.members) << cut;
  }
}

}  // namespace
