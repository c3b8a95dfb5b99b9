#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "data/plan_records.h"
#include "shell/menu_actions.h"
#include "substitution/absence_register.h"
#include "substitution/candidates.h"
#include "substitution/day_plan.h"
#include "substitution/day_records.h"
#include "support/temp_dir.h"
#include "timetable/demo_school.h"
#include "workspace/plan_file.h"

namespace {

using namespace quort;

// The demo school with one lesson of MR on Monday, work mode 3, Monday 03.02.2025, in a
// directory of its own. Dialogs answer from the script queue as in a batch run.
struct DialogDay : test::DemoSchool {
  test::InTempDirectory dir;
  const std::string date = "03.02.2025";
  int c5a = 0;
  uint16_t planned = 0;

  DialogDay() {
    app.typeCommand(">MO1 L:MR F:D K:5A\r");
    app.setWorkMode(3);
    ws.substitution.clockDate = date;
    ws.dialogs.currentDate = date;
    c5a = schoolClass("5A");
    planned = ws.plan.timetable.lessonWord.at(c5a, 1, 1);
  }
  // One round of the "Vertretungen" dialog: date, until, who, from, to, reason, then a button.
  void dayRound(const std::string& who, const std::string& from, const std::string& to, const std::string& reason,
                const std::string& button) {
    for (const std::string& field : {date, std::string(), who, from, to, reason}) ui.queueAnswer("$" + field);
    ui.queueAnswer(button);
  }
  std::string file(const std::string& name) const { return test::readFile(name); }
};

// The day dialog from a script: "Speichern" stores in termin.x, "Hinzufügen" lists for the
// day only, a reversed range is refused, "Löschen" removes the named entry, "Auswerten"
// evaluates and closes.
TEST(DayDialogs, AbsenceDialogStoresListsDeletesAndEvaluates) {
  DialogDay day;
  day.dayRound("MR", "", "", "Krank", "Speichern");
  day.dayRound("7A", "2", "3", "Wandertag", "Hinzuf\xFCgen");
  day.dayRound("WS", "3", "2", "Arzt", "Hinzuf\xFCgen");
  day.dayRound("7A", "2", "3", "Wandertag", "L\xF6schen");
  day.ui.queueAnswer("Ja");
  day.ui.queueAnswer("Auswerten");
  day.ui.queueAnswer("Ja");
  day.app.typeCommand("V:\r");
  EXPECT_EQ(day.ui.pendingAnswers(), 0U);
  EXPECT_TRUE(day.ui.saw("Zeitangabe fehlerhaft!"));
  EXPECT_TRUE(day.ui.saw("Eintr\xE4ge f\xFCr den 03.02.2025 auswerten?"));
  EXPECT_EQ(day.ws.substitution.absences, std::vector<std::string>{"MR(Krank)"});
  EXPECT_EQ(day.file("termin.x"), "03.02.2025:MR(Krank)\r\n");
  ASSERT_TRUE(findOpenLesson(day.ws.plan.openLessons, day.c5a, 1, 1));
  EXPECT_EQ(day.ws.plan.timetable.lessonWord.at(day.c5a, 1, 1), 0);
}

// A date typed into the dialog makes the list that date's: termin.x is read for it.
TEST(DayDialogs, AnotherDateReadsItsOwnAbsences) {
  DialogDay day;
  AbsenceEntry entry{"04.02.2025", "04.02.2025", "WS", 0, 0, true, "Kur"};
  ASSERT_TRUE(writeAbsenceRegister(day.ui, entry, true));
  day.dayRound("MR", "", "", "Krank", "Hinzuf\xFCgen");
  day.ui.queueAnswer("$04.02.2025");
  day.ui.queueAnswer("$");
  day.ui.queueAnswer("$GO");
  day.ui.queueAnswer("Hinzuf\xFCgen");
  day.app.typeCommand("V:\r");
  EXPECT_EQ(day.ws.dialogs.currentDate, "04.02.2025");
  EXPECT_EQ(day.ws.substitution.absences, (std::vector<std::string>{"WS(Kur)", "GO(Krank)"}));
}

// The lesson dialog: "Setzen" without a typed entry sets the best candidate; "Frei" cancels;
// "Rekonstruieren" brings the planned lesson back. Each button closes the dialog.
TEST(DayDialogs, LessonDialogSetsCancelsAndReconstructs) {
  DialogDay day;
  day.ws.substitution.absences = {"MR(Krank)"};
  ASSERT_TRUE(evaluateDay(day.ws, day.ui, day.date));
  const CandidateLists lists = candidateList(day.ws, 1, 1, day.c5a, day.subject("D"));
  ASSERT_FALSE(lists.teachers.empty());
  const std::string best = day.ws.base.teachers[static_cast<size_t>(lists.teachers[0].teacher)].code.substr(0, 2);
  day.ui.queueAnswer("Setzen");
  day.app.typeCommand("Z:1,K:5A>\r");
  EXPECT_NE(day.file("sMO.x").find(" 5A  1.Std.: " + best + "-D"), std::string::npos) << day.file("sMO.x");
  EXPECT_FALSE(findOpenLesson(day.ws.plan.openLessons, day.c5a, 1, 1));

  day.ui.queueAnswer("Frei");
  day.ui.queueAnswer("Ja");  // "Eintrag überschreiben?"
  day.app.typeCommand("Z:1,K:5A>\r");
  EXPECT_NE(day.file("sMO.x").find(" 5A  1.Std.: frei"), std::string::npos) << day.file("sMO.x");
  EXPECT_EQ(day.ws.plan.timetable.lessonWord.at(day.c5a, 1, 1), 0);

  day.ui.queueAnswer("Rekonstruieren");
  day.app.typeCommand("Z:1,K:5A>\r");
  EXPECT_EQ(day.ws.plan.timetable.lessonWord.at(day.c5a, 1, 1), day.planned);
  EXPECT_TRUE(checkPlanConsistency(day.ws).empty());
}

// "Extrastunden" opens the dialog for the current slot of the current class under its own
// title; the lesson is added to the plan.
TEST(DayDialogs, ExtraLessonTakesTheCurrentSlot) {
  DialogDay day;
  day.ws.shell.currentClass = day.c5a;
  day.ws.shell.currentPeriod = 3;
  day.ui.queueAnswer("$MR-D");
  day.ui.queueAnswer("Setzen");
  runMenuItem(day.app, 143);
  ASSERT_FALSE(day.ui.records().empty());
  bool titled = false;
  for (const auto& record : day.ui.records())
    titled = titled || record.text.starts_with("Extrastunde MO 6.Woche 3.Std. 5A");
  EXPECT_TRUE(titled);
  EXPECT_EQ(LessonWord::teacher(day.ws.plan.timetable.lessonWord.at(day.c5a, 3, 1)), day.teacher("MR"));
}

// "Vertretungen - Vorgaben" sets every open lesson and writes the day file and the log once;
// when that write fails the run leaves grids and open lessons as they were.
TEST(DayDialogs, AutomaticRunWritesOnceOrLeavesNoTrace) {
  DialogDay day;
  day.app.typeCommand(">MO2 L:WS F:E K:5A\r");
  day.ws.substitution.absences = {"5A(Wandertag)"};
  ASSERT_TRUE(evaluateDay(day.ws, day.ui, day.date));
  const std::string open = day.ws.plan.openLessons;
  ASSERT_FALSE(open.empty());
  const TimetableGrids before = day.ws.plan.timetable;
  std::filesystem::create_directory("prot.x");
  day.ui.queueAnswer("Auswerten");
  day.app.typeCommand("^\r");
  EXPECT_EQ(day.ws.plan.openLessons, open);
  EXPECT_TRUE(day.ws.plan.timetable == before);
  EXPECT_FALSE(day.ui.saw("Planerstellung beendet! Plan evtl. unvollst\xE4ndig!"));

  std::filesystem::remove("prot.x");
  day.ui.queueAnswer("Auswerten");
  day.app.typeCommand("^\r");
  EXPECT_TRUE(day.ui.saw("Planerstellung beendet! Plan evtl. unvollst\xE4ndig!"));
  EXPECT_FALSE(findOpenLesson(day.ws.plan.openLessons, day.c5a, 1, 1));
  const std::string log = day.file("prot.x");
  EXPECT_NE(log.find(" 5A  1.Std.:"), std::string::npos) << log;
  EXPECT_FALSE(std::filesystem::exists("prot.bx"));  // one write: no earlier log to keep
}

// Menu "Löschen": "Vertretungen" › "alle" empties the open lessons, "Stattstunden" ›
// "Auswahl" removes the chosen freed lesson, "Plan" in work mode 3 clears the day file.
TEST(DayDialogs, DeletionMenusWorkOnTheDay) {
  DialogDay day;
  day.ws.substitution.absences = {"5A(Wandertag)"};
  ASSERT_TRUE(evaluateDay(day.ws, day.ui, day.date));
  ASSERT_FALSE(day.ws.plan.freedLessons.empty());
  ASSERT_FALSE(day.ws.plan.openLessons.empty());
  const std::vector<std::string> freed = freedLessonLines(day.ws);
  day.ui.queueAnswer("Auswahl");
  day.ui.queueAnswer(freed.front());
  runMenuItem(day.app, 109);
  EXPECT_EQ(freedLessonLines(day.ws).size(), freed.size() - 1);
  day.ui.queueAnswer("alle");
  day.ui.queueAnswer("Ja");
  runMenuItem(day.app, 108);
  EXPECT_TRUE(day.ws.plan.openLessons.empty());
  day.ui.queueAnswer(day.date);
  runMenuItem(day.app, 107);
  EXPECT_EQ(day.file("sMO.x"), "Vertretungen MO,03.02.2025\r\n");
}

// With A/B weeks the substitution works in shown periods: internal periods 2k-1 and 2k are
// shown period k, a partner half counts as busy, adjacency, the first period and the
// afternoon start compare shown periods, and "Randstunden freigeben" releases shown 1 and 6.
struct AlternatingDay : test::DemoSchool {
  test::InTempDirectory dir;
  AlternatingDay() {
    ws.base.weekAlternation = true;
    ws.base.periodsPerDay = 12;  // shown periods 1 to 6
    ws.base.afternoonStart = 4;
    ws.plan.reset(ws.base);
    ws.plan.reference.resize(ws.base);
    app.setWorkMode(3);
    ws.dialogs.currentDate = "03.02.2025";
  }
  void teach(const std::string& t, const std::string& c, int period, int day) {
    ws.plan.timetable.teacher.at(teacher(t), period, day) = static_cast<uint16_t>(schoolClass(c) << 8);
    ws.plan.timetable.lessonWord.at(schoolClass(c), period, day) =
        static_cast<uint16_t>((teacher(t) << 8) | subject("D"));
  }
  int flags(const std::string& t, int period, const std::string& c) const {
    return scoreCandidate(ws, {1, period, teacher(t), schoolClass(c), 0, false}).flags;
  }
};

TEST(WeekAlternation, ShownPeriodsDriveBusyAdjacentAndEdges) {
  AlternatingDay day;
  EXPECT_EQ(shownPeriod(day.ws, 1), 1);
  EXPECT_EQ(shownPeriod(day.ws, 2), 1);
  EXPECT_EQ(shownPeriod(day.ws, 11), 6);
  EXPECT_EQ(lastShownPeriod(day.ws.base), 6);
  // Gap at internal 5 (shown 3): internal 6 is its other half, internal 4 (shown 2) is next
  // to it, internal 2 (shown 1) is not.
  day.teach("MR", "6A", 6, 1);
  day.teach("WS", "6A", 4, 1);
  day.teach("BH", "6A", 2, 1);
  EXPECT_EQ(day.flags("MR", 5, "5A") & CandidateFlag::kFree, 0);
  EXPECT_EQ(day.flags("WS", 5, "5A") & 0xC0, 0xC0);
  EXPECT_EQ(day.flags("BH", 5, "5A") & 0xC0, CandidateFlag::kFree);
  // Teaching the class in the B half of shown period 1 or at the afternoon start (shown 4 =
  // internal 7 and 8) is the edge bit; shown 3 on another day is the class bit.
  day.teach("GO", "5A", 2, 2);
  day.teach("KS", "5A", 8, 3);
  day.teach("MU", "5A", 5, 4);
  EXPECT_NE(day.flags("GO", 5, "5A") & CandidateFlag::kClassAtEdge, 0);
  EXPECT_NE(day.flags("KS", 5, "5A") & CandidateFlag::kClassAtEdge, 0);
  EXPECT_EQ(day.flags("MU", 5, "5A") & (CandidateFlag::kClassAtEdge | CandidateFlag::kClass), CandidateFlag::kClass);
}

TEST(WeekAlternation, EdgeReleaseAndAbsenceRangesUseShownPeriods) {
  AlternatingDay day;
  for (int p : {2, 3, 6, 11}) day.teach("MR", "5A", p, 1);
  day.ws.plan.reference = day.ws.plan.timetable;
  day.ws.substitution.absences = {"MR:2-3(Krank)"};
  ASSERT_TRUE(evaluateDay(day.ws, day.ui, "03.02.2025"));
  const int c = day.schoolClass("5A");
  // Shown 2-3 are internal 3 to 6; internal 2 and 11 stay.
  EXPECT_TRUE(findOpenLesson(day.ws.plan.openLessons, c, 1, 3));
  EXPECT_TRUE(findOpenLesson(day.ws.plan.openLessons, c, 1, 6));
  EXPECT_FALSE(findOpenLesson(day.ws.plan.openLessons, c, 1, 2));
  EXPECT_NE(day.ws.plan.timetable.lessonWord.at(c, 11, 1), 0);
  // Internal 2 (shown 1) and 11 (shown 6) are released, internal 3 (shown 2) is not.
  day.ws.substitution.absences = {"MR(Krank)"};
  ASSERT_TRUE(evaluateDay(day.ws, day.ui, "03.02.2025"));
  ASSERT_TRUE(findOpenLesson(day.ws.plan.openLessons, c, 1, 11));
  autoSubstitute(day.ws, day.ui, {"03.02.2025", false, true, false, false});
  const std::string file = test::readFile("sMO.x");
  EXPECT_NE(file.find(" 5A  1.Std.: frei"), std::string::npos) << file;
  EXPECT_NE(file.find(" 5A  6.Std.: frei"), std::string::npos) << file;
  EXPECT_EQ(file.find(" 5A  2.Std.: frei"), std::string::npos) << file;
}

}  // namespace
