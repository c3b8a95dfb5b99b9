#include "exams/exam_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "exams/exam_log.h"
#include "exams/exam_preset.h"
#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace {

namespace fs = std::filesystem;

std::string planGolden(const std::string& name) {
  return quort::test::readFile(std::string(QUORT_SOURCE_DIR) + "/tests/exams/data/" + name);
}

// Two rooms, a supervision line without ":", a room change and a long "Frei:" list.
std::string planRecord(const std::string& date) {
  quort::ExamFields fields;
  fields.rooms = "r12:d1 MA, m2 MB ,\r\nR14: e1 KR";
  fields.supervisions = "R12:3.MA,4.MB(*)\nR14 : 3.KR(*),4.KR(*)\nohne Raum";
  fields.roomChanges = "3.: 11A R12>R20";
  fields.freed = "3.:12A D1 MA,12B(E3 SC),12C>MA MR<,12D D1 MA,12E(E3 SC),\n4.:12A M2 MB";
  return quort::examRecordText(*quort::parseExamPreset("mo3-4|12|D1,M2", 10), date, fields);
}

class InPlanDirectory {
 public:
  explicit InPlanDirectory(const fs::path& dir) : m_previous(fs::current_path()) { fs::current_path(dir); }
  ~InPlanDirectory() { fs::current_path(m_previous); }

 private:
  fs::path m_previous;
};

void writePlanFile(const std::string& name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The plain plan holds no marker, no line wider than 37 and continues a long list with
// " ... "; byte for byte as the golden file (Windows code page, CR LF). The printed form
// differs only by the bold marks around headings and section names.
TEST(ExamPlanText, RecordBecomesPlainTextOfTheColumnWidth) {
  const std::string log = planRecord("03.02.2025");
  const std::vector<std::string> plain = quort::examPlanLines(log, {"03.02.2025"}, false);
  EXPECT_EQ(joined(plain), planGolden("plan.txt"));
  for (const std::string& line : plain) {
    EXPECT_LE(line.size(), 37U) << line;
    EXPECT_EQ(line.find_first_of("\xA1\xAC"), std::string::npos) << line;
  }
  const std::vector<std::string> printed = quort::examPlanLines(log, {"03.02.2025"}, true);
  ASSERT_EQ(printed.size(), plain.size());
  EXPECT_EQ(printed[0], "\xAC" + plain[0] + "\xAC");
  for (size_t i = 0; i < plain.size(); ++i) {
    std::string unmarked = printed[i];
    std::erase_if(unmarked, [](char c) { return c == '\xA1' || c == '\xAC'; });
    EXPECT_EQ(unmarked, plain[i]);
  }
}

// The plan covers the asked number of dates from the start, Sundays stepped over.
TEST(ExamPlanText, DatesStepOverSundays) {
  EXPECT_EQ(quort::examPlanDates("08.02.2025", 3),
            (std::vector<std::string>{"08.02.2025", "10.02.2025", "11.02.2025"}));
  EXPECT_EQ(quort::examPlanDates("09.02.2025", 0), (std::vector<std::string>{"10.02.2025"}));
  EXPECT_TRUE(quort::examPlanDates("31.02.x", 2).empty());
  const std::string log = planRecord("03.02.2025") + planRecord("10.02.2025") + planRecord("04.02.2025");
  const auto lines = quort::examPlanLines(log, quort::examPlanDates("03.02.2025", 2), false);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Klausuren am MO,03.02.2025"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Klausuren am MO,04.02.2025"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Klausuren am MO,10.02.2025"), 0);
}

// Saving the plan closes a torn record of the log (both exams kept, the old log as
// klausauf.x-b); a log already in order is left alone, so that backup survives the next
// output.
TEST(ExamOutputFile, SavingKeepsEveryRecordAndTheBackup) {
  const quort::test::TempDir dir;
  const InPlanDirectory inDir(dir.path());
  std::string torn = planRecord("03.02.2025");
  torn.resize(torn.find("####"));
  const std::string log = torn + planRecord("03.02.2025") + planRecord("05.02.2025");
  writePlanFile("klausauf.x", log);
  quort::Workspace ws;
  quort::ScriptedUi ui;
  const quort::ExamOutputRequest request{quort::ExamOutputAction::Save, "03.02.2025", 1};
  ASSERT_EQ(quort::writeExamOutput(ws, ui, request), quort::ExamOutputResult::Done);
  const std::string rewritten = quort::test::readFile("klausauf.x");
  EXPECT_EQ(quort::test::readFile("klausauf.x-b"), log);
  EXPECT_EQ(quort::examLogRecords(rewritten), quort::examLogRecords(log));
  EXPECT_EQ(quort::examsOfDayIn(rewritten, "03.02.2025").size(), 2U);
  EXPECT_EQ(quort::examsOfDayIn(rewritten, "05.02.2025").size(), 1U);
  const std::string plan = quort::test::readFile("klausauf.txt");
  EXPECT_EQ(plan, planGolden("plan.txt") + planGolden("plan.txt"));

  ASSERT_EQ(quort::writeExamOutput(ws, ui, request), quort::ExamOutputResult::Done);
  EXPECT_EQ(quort::test::readFile("klausauf.x"), rewritten);
  EXPECT_EQ(quort::test::readFile("klausauf.x-b"), log);
  for (const char* name : {"klausauf.x", "klausauf.x-b", "klausauf.txt"}) EXPECT_TRUE(fs::exists(name));
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 3) << "no temporary file left";
}

// Without a log, or with no exam in the dates, nothing is written and the message says so.
TEST(ExamOutputFile, NoExamsWritesNothing) {
  const quort::test::TempDir dir;
  const InPlanDirectory inDir(dir.path());
  quort::Workspace ws;
  quort::ScriptedUi ui;
  EXPECT_EQ(quort::writeExamOutput(ws, ui, {quort::ExamOutputAction::Save, "03.02.2025", 1}),
            quort::ExamOutputResult::Refused);
  writePlanFile("klausauf.x", planRecord("10.02.2025"));
  EXPECT_EQ(quort::writeExamOutput(ws, ui, {quort::ExamOutputAction::Save, "03.02.2025", 6}),
            quort::ExamOutputResult::Refused);
  EXPECT_FALSE(fs::exists("klausauf.txt"));
  EXPECT_EQ(ui.records().back().text, "Keine Klausuren ab 03.02.2025!");
}

}  // namespace

namespace {

// "Tag:" only shows the weekday of the date and follows it as it is typed; the date alone
// chooses the day. A weekday typed into it all the same (a script can) that is not the
// date's is refused rather than lost, and the dialog asks again.
TEST(ExamOutputDialog, TagShowsTheWeekdayOfTheDate) {
  struct RecordingUi : quort::ScriptedUi {
    std::vector<quort::ChoiceItem> tags;
    quort::ChoiceOutcome choiceBox(const quort::ChoiceBoxRequest& request) override {
      tags.push_back(request.items[1]);
      return ScriptedUi::choiceBox(request);
    }
  };
  quort::Workspace ws;
  ws.dialogs.currentDate = "03.02.2025";
  RecordingUi ui;
  for (const char* answer : {"$03.02.2025", "$DI", "$1", "Speichern", "$04.02.2025", "$", "$2", "Speichern"})
    ui.queueAnswer(answer);
  const auto request = quort::examOutputDialog(ws, ui);
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->date, "04.02.2025");
  EXPECT_EQ(request->days, 2);
  EXPECT_TRUE(ui.saw("Eingabefehler!"));
  ASSERT_EQ(ui.tags.size(), 2U);
  const quort::ChoiceItem& tag = ui.tags.front();
  EXPECT_EQ(tag.label, "Tag");
  EXPECT_EQ(tag.value, "MO");
  EXPECT_TRUE(tag.readOnly);
  ASSERT_TRUE(tag.follows);
  EXPECT_EQ(tag.follows(" 05.02.2025"), "MI");
  EXPECT_EQ(tag.follows("31.02.2025"), "");
}

}  // namespace
