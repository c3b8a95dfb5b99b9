#include "exams/exam_planning.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/plan_grids.h"
#include "data/plan_records.h"
#include "exams/exam_dialog.h"
#include "exams/exam_evaluation.h"
#include "support/temp_dir.h"
#include "workspace/base_data_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace {

using quort::ExamDialogSession;

// The demo school with a small Monday: the GK band GEb (EC, 11A) / KUb (EN, 11B) in
// periods 1-2 without rooms, and 5A with MR in room 101 in period 1.
class ExamPlanning : public ::testing::Test {
 protected:
  void SetUp() override {
    quort::ScriptedUi ui;
    ASSERT_EQ(quort::LoadBaseData(ws, ui, std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD"), quort::LoadStatus::Loaded);
    ws.plan.reset(ws.base);
    const int geb = ws.base.findSubject("GE");
    const int kub = ws.base.findSubject("KU");
    ws.plan.couplings.push_back(quort::makeCouplingMember(teacher("EC"), schoolClass("11A"), geb, 'b') +
                                quort::makeCouplingMember(teacher("EN"), schoolClass("11B"), kub, 'b'));
    const int coupling = ws.plan.nCouplings();
    for (int period = 1; period <= 2; ++period) {
      enter(schoolClass("11A"), period, lessonWord("EC", "GE", true), coupling * 256);
      enter(schoolClass("11B"), period, lessonWord("EN", "KU", true), coupling * 256);
    }
    enter(schoolClass("5A"), 1, lessonWord("MR", "D", false), ws.base.findRoom("101"));
    ws.exams.courses = courseBook();
  }

  int teacher(const char* code) const { return ws.base.findTeacher(code); }
  int schoolClass(const char* code) const { return ws.base.findClass(code); }
  uint16_t lessonWord(const char* teacherCode, const char* subject, bool coupled) const {
    return static_cast<uint16_t>(teacher(teacherCode) * 256 + (coupled ? 128 : 0) + ws.base.findSubject(subject));
  }
  void enter(int c, int period, uint16_t lesson, int room) {
    quort::enterTimetableCell(ws.base, ws.plan, {c, period, 1, lesson, static_cast<uint16_t>(room)}, false);
  }

  // GEb: Anna and Ben write it; KUb: only Clara, who writes GEb too, so nobody stays.
  static quort::CourseBook courseBook() {
    quort::CourseBook book;
    book.yearGroup = "11";
    book.courses = {{"GEb   ", ""}, {"KUb   ", ""}};
    book.students = {
        {"Adler;Anna", 'w', {{1, 2}}}, {"Berg;Ben", 'm', {{1, 3}}}, {"Cordes;Clara", 'w', {{1, 2}, {2, 1}}}};
    return book;
  }

  quort::ExamPreset preset(const std::string& text) {
    quort::ScriptedUi ui;
    EXPECT_TRUE(quort::setExamPreset(ws, ui, text));
    return *quort::currentExam(ws);
  }

  quort::ExamSource source() const { return {ws.base, ws.plan, ws.exams.courses}; }

  quort::Workspace ws;
};

// The main view names the writing courses with their writers, the lessons of the grade
// per period with the course file's counts, and the rooms free throughout.
TEST_F(ExamPlanning, EvaluationShowsCoursesPlanAndFreeRooms) {
  const quort::ExamEvaluation evaluation = quort::evaluateExam(source(), preset("mo1-2|11|geb"));
  const std::vector<std::string> lines = quort::examViewLines(evaluation);
  ASSERT_EQ(lines.size(), 5U);
  EXPECT_EQ(lines[0], "Kurse: 1GEb-3,2GEb-3,");
  EXPECT_EQ(lines[1], "Plan:");
  EXPECT_EQ(lines[2], ">  1  [3/3] 11A GEb EC  ;  [1/1] 11B KUb EN");
  EXPECT_EQ(lines[3], ">  2  [3/3] 11A GEb EC  ;  [1/1] 11B KUb EN");
  EXPECT_EQ(lines[4].rfind("freie R\xE4ume: ", 0), 0U);
  EXPECT_EQ(lines[4].find("101"), std::string::npos);  // 5A holds it in period 1
  EXPECT_NE(lines[4].find(" 102 ; 103 ; "), std::string::npos) << lines[4];
  ASSERT_EQ(evaluation.pools.size(), 2U);
  EXPECT_EQ(evaluation.pools[0].teachers, std::vector<std::string>{"EC"});
  // KUb keeps nobody while GEb writes: its lessons are dropped too, marked as not writing.
  EXPECT_EQ(quort::proposeFreedLessons(evaluation), "1.:11A GEb EC,11B(KUb EN),\n2.:11A GEb EC,11B(KUb EN),\n");
}

// Grades, rooms and courses match as whole entries: grade 1 is not grade 11, the exam
// room 10 is not room 101, course "GE" is not "GEb".
TEST_F(ExamPlanning, GradeRoomsAndCoursesMatchWholeEntries) {
  EXPECT_TRUE(quort::evaluateExam(source(), preset("MO1-2|1|")).lessons.empty());
  const quort::ExamEvaluation evaluation = quort::evaluateExam(source(), preset("MO1-2|11|GE"));
  EXPECT_EQ(evaluation.courses, "");
  EXPECT_TRUE(evaluation.pools[0].teachers.empty());
  const quort::ExamPreset exam = preset("MO1-2|11|GEB");
  const quort::ExamEvaluation writing = quort::evaluateExam(source(), exam);
  EXPECT_TRUE(quort::roomChangeInput(source(), exam, writing, {"10"}).displaced.empty());
  const quort::RoomChangeInput input = quort::roomChangeInput(source(), exam, writing, {"101", "102"});
  ASSERT_EQ(input.displaced.size(), 1U);
  EXPECT_EQ(input.displaced[0].schoolClass, "5A");
  // Exam rooms are never offered as free rooms.
  for (const quort::FreeRooms& free : input.free) {
    EXPECT_EQ(std::count(free.rooms.begin(), free.rooms.end(), "102"), 0) << free.period;
  }
}

// A term outside the grids is refused before anything reads them, and a preset that
// slipped past the check is clipped to the periods there are.
TEST_F(ExamPlanning, TermsOutsideTheGridsAreRefused) {
  for (const char* bad : {"SO1-2|11|", "MO0-2|11|", "MO3-11|11|", "MO4-3|11|", "MO1|11|", "MO1-2"}) {
    quort::ScriptedUi ui;
    EXPECT_FALSE(quort::setExamPreset(ws, ui, bad)) << bad;
    EXPECT_TRUE(ui.saw("Eingabefehler!")) << bad;
  }
  quort::ExamPreset wide = preset("MO9-10|11|");
  wide.lastShown = 40;
  EXPECT_EQ(quort::evaluateExam(source(), wide).planLines.size(), 2U);
  wide.day = 9;
  EXPECT_TRUE(quort::evaluateExam(source(), wide).planLines.empty());
}

// The dialog fields belong to one exam: the same exam again keeps them, another clears them.
TEST_F(ExamPlanning, AnotherExamStartsWithEmptyFields) {
  preset("MO1-2|11|GEB");
  ws.exams.rooms = "101:GEb EC\n";
  preset("mo1-2|11|geb");
  EXPECT_EQ(ws.exams.rooms, "101:GEb EC\n");
  preset("MO3-4|11|GEB");
  EXPECT_TRUE(ws.exams.rooms.empty());
}

// Saving runs in a directory of its own: klausauf.x and prot.x live in the current one.
class ExamSaving : public ExamPlanning {
 protected:
  void SetUp() override {
    ExamPlanning::SetUp();
    ws.exams.rooms = "101:GEb EC\n102:KUb EN\n";
    ws.exams.supervisions = "101:1.EC(*),2.EC(*)\n102:1.EN,2.~X(*)\n";
  }
  bool save(quort::ScriptedUi& ui) {
    ExamDialogSession session(ws, ui, preset("MO1-2|11|GEB"));
    return session.act(ExamDialogSession::Action::Save);
  }

  quort::test::InTempDirectory m_dir;
};

// "Übersicht löschen?" answered Yes and then no date: the old overview is still there.
TEST_F(ExamSaving, ClearingTheOverviewThenCancellingTheDateLosesNothing) {
  m_dir.write("klausauf.x", "alt\r\n");
  quort::ScriptedUi ui;
  ui.queueAnswer("Nein");
  ui.queueAnswer("Ja");
  EXPECT_FALSE(save(ui));
  EXPECT_EQ(quort::test::readFile("klausauf.x"), "alt\r\n");
  EXPECT_FALSE(std::filesystem::exists("klausauf.x-b"));
  // With a date the new overview starts, and the old one stays as the backup.
  ui.queueAnswer("Nein");
  ui.queueAnswer("Ja");
  ui.queueAnswer("03.02.2025");
  EXPECT_TRUE(save(ui));
  EXPECT_EQ(quort::test::readFile("klausauf.x-b"), "alt\r\n");
  EXPECT_EQ(quort::readExamsOfDay("03.02.2025").size(), 1U);
}

// An exam planned for Monday and dated on a Tuesday is saved only when confirmed; No and
// No to the two overview questions still appends.
TEST_F(ExamSaving, DateOnAnotherWeekdayIsSavedOnlyWhenConfirmed) {
  m_dir.write("klausauf.x", "alt\r\n");
  quort::ScriptedUi ui;
  ui.queueAnswer("Ja");
  ui.queueAnswer("04.02.2025");
  EXPECT_FALSE(save(ui));
  EXPECT_EQ(quort::test::readFile("klausauf.x"), "alt\r\n");
  ui.queueAnswer("Nein");
  ui.queueAnswer("Nein");
  ui.queueAnswer("04.02.2025");
  ui.queueAnswer("Ja");
  EXPECT_TRUE(save(ui));
  EXPECT_EQ(quort::test::readFile("klausauf.x").rfind("alt\r\n\xACKlausuren am MO,04.02.2025", 0), 0U);
  EXPECT_EQ(ws.exams.lastDate, "04.02.2025");
}

// With "Mehrarbeit abrechnen" every real supervisor gets one line: EC two starred, EN one
// plain; the placeholder "~X" none. Without the box prot.x stays untouched.
TEST_F(ExamSaving, ExtraWorkGoesToEveryRealSupervisor) {
  quort::ScriptedUi ui;
  ui.queueAnswer("Ja");
  ui.queueAnswer("03.02.2025");
  EXPECT_TRUE(save(ui));
  EXPECT_FALSE(std::filesystem::exists("prot.x"));
  ws.exams.countExtraWork = true;
  ui.queueAnswer("Ja");
  ui.queueAnswer("03.02.2025");
  EXPECT_TRUE(save(ui));
  EXPECT_EQ(quort::test::readFile("prot.x"),
            "03.02.2025[Klausur], 11A  1.Std.: EC-*  (#2)\r\n03.02.2025[Klausur], 11A  1.Std.: EN-*  (#1)\r\n");
  EXPECT_EQ(quort::readExamsOfDay("03.02.2025").size(), 2U);
}

// A log that cannot be written is reported and nothing is counted as extra work.
TEST_F(ExamSaving, FileErrorIsReportedAndCountsNothing) {
  std::filesystem::create_directory("klausauf.x");
  ws.exams.countExtraWork = true;
  quort::ScriptedUi ui;
  ui.queueAnswer("Ja");
  ui.queueAnswer("03.02.2025");
  EXPECT_FALSE(save(ui));
  EXPECT_TRUE(ui.saw("Datei-/Druckfehler!"));
  EXPECT_FALSE(std::filesystem::exists("prot.x"));
  EXPECT_TRUE(ws.exams.lastDate.empty());
}

// "Auswerten" fills supervisions from the pool, the dropped lessons and a room change for
// the class that sits in an exam room, into a room that is free then.
TEST_F(ExamSaving, EvaluateFillsProposals) {
  ws.exams.supervisions.clear();
  quort::ScriptedUi ui;
  ExamDialogSession session(ws, ui, preset("MO1-2|11|GEB"));
  EXPECT_FALSE(session.act(ExamDialogSession::Action::Evaluate));
  EXPECT_EQ(ws.exams.supervisions, "101:1.EC,2.EC,\n102:1.,2.,\n");
  EXPECT_EQ(ws.exams.freed, "1.:11A GEb EC,11B(KUb EN),\n2.:11A GEb EC,11B(KUb EN),\n");
  EXPECT_EQ(ws.exams.roomChanges.rfind("1.: 5A 101>", 0), 0U);
  EXPECT_EQ(ws.exams.roomChanges.find(">101"), std::string::npos);
  EXPECT_EQ(ws.exams.roomChanges.find(">102"), std::string::npos);
}

}  // namespace
