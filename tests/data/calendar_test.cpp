#include "data/calendar.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace quort {
namespace {

// Real calendar dates under the program's rule that every fourth year is a leap year.
struct Date {
  int day, month, year;
  void advance() {
    const int lengths[] = {31, year % 4 == 0 ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (++day <= lengths[month - 1]) return;
    day = 1;
    if (++month > 12) month = 1, ++year;
  }
  std::string text() const {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", day, month, year);
    return buffer;
  }
};

TEST(Calendar, DayNumbersCountDaysAndGiveTheWeekday) {
  EXPECT_EQ(DayNumber("01.01.2000"), 36160);
  EXPECT_EQ(DayNumber("15.06.99"), DayNumber("15.06.1999"));
  EXPECT_EQ(DayNumber("29.02.2001"), DayNumber("01.03.2001"));
  EXPECT_EQ(DayNumber("29.02.2100") + 1, DayNumber("01.03.2100"));  // no century rule
  EXPECT_EQ(Weekday("01.01.2000"), 6);
  EXPECT_EQ(Weekday("03.01.2000"), 1);
  EXPECT_EQ(Weekday("24.12.2023"), 7);
}

TEST(Calendar, TextWithoutExactlyTwoDotsIsNoDate) {
  for (const char* text : {"1.1", "", "01.01.2000.", "01012000"}) {
    EXPECT_EQ(DayNumber(text), 0) << text;
    EXPECT_EQ(Weekday(text), -1) << text;
  }
  EXPECT_EQ(WeekNumber("01.01"), 0);
  EXPECT_EQ(DayNumber(std::string(400, '9') + ".1.2000"), 0);  // too large to count
}

TEST(Calendar, WeekOneHoldsNewYearAndWeeksStartOnMonday) {
  EXPECT_EQ(WeekNumber("01.01.2000"), 1);
  EXPECT_EQ(WeekNumber("03.01.2000"), 2);
  EXPECT_EQ(WeekNumber("07.01.2001"), 1);  // 2001 starts on a Monday
  EXPECT_EQ(WeekNumber("31.12.2001"), 53);
  EXPECT_EQ(WeekNumber("45.12.2000"), 0);
  EXPECT_EQ(DayAbbrev(1) + DayAbbrev(3) + DayAbbrev(7), "MOMISO");
  EXPECT_EQ(DayAbbrev(0) + DayAbbrev(8), "    ");
}

TEST(Calendar, ShiftingAcrossMonthEndsHonoursLeapYears) {
  const auto shift = [](std::string date, int n) { return ShiftDate(date, n) + " " + date; };
  EXPECT_EQ(shift("28.02.2001", 1), "DO 01.03.2001");
  EXPECT_EQ(shift("28.02.2004", 1), "SO 29.02.2004");
  EXPECT_EQ(shift("01.03.2004", -1), "SO 29.02.2004");
  EXPECT_EQ(shift("31.12.1999", 1), "SA 01.01.2000");
  EXPECT_EQ(shift("01.01.2000", -1), "FR 31.12.1999");
  EXPECT_EQ(shift("1.5.2001", 0), "DI 1.5.2001");
  EXPECT_EQ(shift("30.4.01", 1), "MI 01.05.01");
  for (const char* start : {"25.02.2004", "31.01.2001", "01.03.2003", "30.12.1999"}) {
    for (int n : {7, -30, 45, -400}) {
      std::string date = start;
      const std::string name = ShiftDate(date, n);
      EXPECT_EQ(name, DayAbbrev(Weekday(date)));
      EXPECT_EQ(DayNumber(date) - DayNumber(start), n) << start << " by " << n;
    }
  }
}

TEST(Calendar, ShiftingDayByDayVisitsEveryRealDateWithConsecutiveNumbers) {
  Date expected{20, 12, 2003};
  std::vector<std::string> visited{expected.text()};
  std::string date = expected.text();
  for (int i = 0; i < 800; ++i) {
    expected.advance();
    ShiftDate(date, 1);
    ASSERT_EQ(date, expected.text());
    ASSERT_EQ(DayNumber(date), DayNumber(visited.back()) + 1) << date;
    visited.push_back(date);
  }
  for (auto it = visited.rbegin() + 1; it != visited.rend(); ++it) {
    ShiftDate(date, -1);
    ASSERT_EQ(date, *it);
  }
}

TEST(Calendar, ShiftingNoDateFallsBackToTodayAndOddDatesStillEnd) {
  std::string date = "Montag";
  EXPECT_EQ(ShiftDate(date, 3), "");
  EXPECT_EQ(date, TodayText());
  EXPECT_GT(Weekday(date), 0);
  for (const char* odd : {"01.00.2000", "31.13.2000", "99.99.2000", "01.01.0", "1.2.-3"}) {
    for (int n : {-40, 40}) {
      date = odd;
      EXPECT_LE(ShiftDate(date, n).size(), 2u) << odd;
    }
  }
}

}  // namespace
}  // namespace quort
