#include "substitution/extra_work_reports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "substitution/day_text_file.h"
#include "substitution/extra_work_log.h"
#include "support/temp_dir.h"
#include "workspace/base_data_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace {

namespace fs = std::filesystem;

class InReportDirectory {
 public:
  explicit InReportDirectory(const fs::path& dir) : m_previous(fs::current_path()) { fs::current_path(dir); }
  ~InReportDirectory() { fs::current_path(m_previous); }

 private:
  fs::path m_previous;
};

// The demo school's base data, loaded like "Öffnen" does.
void loadDemoBase(quort::Workspace& ws) {
  quort::ScriptedUi ui;
  ASSERT_EQ(quort::LoadBaseData(ws, ui, std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD"), quort::LoadStatus::Loaded);
}

std::string dateOf(int dayOfYear) {
  // 200 school days from 02.09.2024 on, five a week.
  static const int monthDays[] = {30, 31, 30, 31, 31, 28, 31, 30, 31, 30, 31, 31};
  int day = 2 + (dayOfYear / 5) * 7 + dayOfYear % 5;
  int month = 0;
  while (day > monthDays[month]) day -= monthDays[month++];
  const int calendarMonth = (8 + month) % 12 + 1;
  const int year = month >= 4 ? 2025 : 2024;
  char text[16];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", day, calendarMonth, year);
  return text;
}

// A school year of log lines: per day substitutions of KS and AL, free lessons of classes
// up to grade 13 and of course groups, class-trip lines, and the imported and exam lines
// of several teachers on one date.
std::vector<std::string> schoolYearLog(int& muHours, int& abHours, int& lostFirstDay) {
  std::vector<std::string> log = {"Protokoll 2024/25"};
  muHours = abHours = 0;
  for (int d = 0; d < 200; ++d) {
    const std::string date = dateOf(d);
    for (int p = 1; p <= 8; ++p) {
      log.push_back(date + "[Krank], 5A  " + std::to_string(p) + ".Std.: KS-D (*)");
      ++muHours;
    }
    for (int p = 1; p <= 6; ++p) log.push_back(date + "[Kur], 7B  " + std::to_string(p) + ".Std.: frei Kur");
    log.push_back(date + "[Fahrt-BT], 8C  1.Std.: frei");
    log.push_back(date + "[frei], 9A  2.Std.: AL-M (st. MO2)");
    log.push_back(date + "[Tag], 14A 3.Std.: frei");
    log.push_back(date + "[Mehrarbeit], 0A 0.Std.: KS-*  (#2)");
    log.push_back(date + "[Mehrarbeit], 0A 0.Std.: AL-*  (#3)");
    log.push_back(date + "[Klausur], 0A 0.Std.: AL-*  (#1)");
    muHours += 2;
    abHours += 4;
  }
  lostFirstDay = 6;
  return log;
}

// A year of log lines: the counts and reports read it without rewriting it, imported and
// exam lines of several teachers on one date all count, lost lessons count only "frei".
TEST(ExtraWorkReports, SchoolYearLogCountsAndReports) {
  const quort::test::TempDir dir;
  const InReportDirectory inside(dir.path());
  quort::Workspace ws;
  loadDemoBase(ws);
  int mu = 0;
  int ab = 0;
  int lost = 0;
  const std::vector<std::string> log = schoolYearLog(mu, ab, lost);
  ASSERT_GT(log.size(), 4000U);
  const std::string text = quort::joinDayText(log);
  std::ofstream("prot.x", std::ios::binary) << text;
  const std::string since = quort::extraWorkSinceText(ws, "01.09.2024");
  EXPECT_NE(since.find("KS:" + std::to_string(mu)), std::string::npos) << since;
  EXPECT_NE(since.find("AL:" + std::to_string(ab)), std::string::npos) << since;
  EXPECT_EQ(quort::test::readFile("prot.x"), text);

  const std::vector<std::string> lostLines = quort::lostLessonsReportLines(log, "02.09.2024");
  EXPECT_EQ(lostLines[0], "Ausfallstunden:");
  EXPECT_EQ(lostLines[2], "Montag,02.09.2024:   6  Dienstag,03.09.2024:   6  Mittwoch,04.09.2024:   6  ");
  EXPECT_EQ(lostLines.size(), 2U + 67U);

  const std::vector<std::string> report = quort::extraWorkReportLines(ws, log, "01.06.2025", {"AL"});
  EXPECT_EQ(report[0], "Mehrarbeit ab 01.06.2025");
  EXPECT_EQ(report[2], "Vertretungen durch AL:");
  // Every June day of the generated calendar: 3 imported hours and 1 exam hour.
  int juneDays = 0;
  for (int d = 0; d < 200; ++d) juneDays += dateOf(d).substr(3) == "06.2025" ? 1 : 0;
  ASSERT_GT(juneDays, 0);
  const std::string june = "-> Monat 06.2025 - zus\xE4tzliche Stunden: " + std::to_string(4 * juneDays);
  EXPECT_NE(std::find(report.begin(), report.end(), june), report.end()) << june;
}

// The manual entry: its line, the refused fields, and "Minderarbeit" lowering the count.
TEST(ExtraWorkReports, ManualEntryLinesAndRefusals) {
  const quort::test::TempDir dir;
  const InReportDirectory inside(dir.path());
  quort::Workspace ws;
  loadDemoBase(ws);
  quort::ExtraWorkInput input{"03.02.2025", "KS", "5A", "Projekt, Tag", "3"};
  EXPECT_EQ(quort::manualExtraWorkLine(ws.base, input, false).line,
            "03.02.2025[Projekt; Tag],  5A  0.Std.: KS-*  (#3)");
  for (const char* reason : {"x (#9)", "x (*)", "x], 5A", "3.Std."}) {
    input.reason = reason;
    EXPECT_EQ(quort::manualExtraWorkLine(ws.base, input, false).error, "Grund") << reason;
  }
  input.reason = "";
  input.number = "0";
  EXPECT_EQ(quort::manualExtraWorkLine(ws.base, input, false).error, "Zahl");
  input.number = "2";
  input.teacher = "QQ";
  EXPECT_EQ(quort::manualExtraWorkLine(ws.base, input, false).error, "Lehrer");

  quort::ScriptedUi ui;
  for (const char* answer :
       {"$03.02.2025", "$KS", "$5A", "$Projekt", "$4", "Mehrarbeit", "$03.02.2025", "$KS", "$5A", "$Projekt", "$1",
        "Minderarbeit", "$03.02.2025", "$KS", "$", "$a (#9)", "$1", "Mehrarbeit", "Ende"}) {
    ui.queueAnswer(answer);
  }
  EXPECT_FALSE(quort::enterExtraWork(ws, ui));
  EXPECT_TRUE(ui.saw("Eingabefehler: Grund"));
  EXPECT_EQ(quort::extraWorkSinceText(ws, "01.02.2025"), "KS:  3");

  // Another computer's log: its substitutions counted per date and teacher.
  const std::vector<std::string> other = {"04.02.2025[], 5A  1.Std.: KS-D (*)", "04.02.2025[], 5B  2.Std.: KS-D (*)",
                                          "04.02.2025[], 5C  2.Std.: frei", "05.02.2025[], 5C  1.Std.: AL-E (*)"};
  EXPECT_EQ(quort::importedExtraWorkLines(ws.base, other, "Import"),
            (std::vector<std::string>{"04.02.2025[Import], 0A 0.Std.: KS-*  (#2)",
                                      "05.02.2025[Import], 0A 0.Std.: AL-*  (#1)"}));
}

}  // namespace
