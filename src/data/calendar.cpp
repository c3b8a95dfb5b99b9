#include "data/calendar.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <optional>

#include "data/number_text.h"

namespace quort {

namespace {

// Day numbers beyond this are nonsense input; keeping them small keeps every cast defined.
constexpr double kLargestDayNumber = 1e15;

struct DateFields {
  std::string_view day;
  std::string_view month;
  std::string_view year;  // everything after the second dot, exactly as written
};

std::optional<DateFields> splitDate(std::string_view date) {
  const size_t first = date.find('.');
  if (first == std::string_view::npos) return std::nullopt;
  const size_t second = date.find('.', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  return DateFields{date.substr(0, first), date.substr(first + 1, second - first - 1), date.substr(second + 1)};
}

long wholeValue(std::string_view text) {
  const double value = numericValue(text);
  if (std::isnan(value)) return 0;
  return static_cast<long>(std::clamp(value, -kLargestDayNumber, kLargestDayNumber));
}

std::string twoDigits(long value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02ld", value);
  return buffer;
}

std::string formatDate(long day, long month, std::string_view year) {
  return twoDigits(day) + "." + twoDigits(month) + "." + std::string(year);
}

// Going back from day 1: the last day of the previous month is the latest day whose weekday
// fits. Day 31 of a short month counts as a date in the next month, so it never fits.
std::string lastDayBefore(long month, std::string_view year, int weekday) {
  const std::string monthAndYear =
      month == 1 ? "12." + std::to_string(wholeValue(year) - 1) : twoDigits(month - 1) + "." + std::string(year);
  long day = 31;
  while (day > 1 && Weekday(twoDigits(day) + "." + monthAndYear) != weekday) --day;
  return twoDigits(day) + "." + monthAndYear;
}

std::string stepOneDay(std::string_view date, int step, int weekday) {
  const auto fields = splitDate(date);
  if (!fields) return std::string(date);
  const long day = wholeValue(fields->day) + step;
  const long month = wholeValue(fields->month);
  if (day < 1) return lastDayBefore(month, fields->year, weekday);
  if (day > 28) {
    // Past the 28th the month may have ended: the next month's first day tells.
    const std::string nextFirst =
        month == 12 ? "01.01." + std::to_string(wholeValue(fields->year) + 1) : formatDate(1, month + 1, fields->year);
    if (Weekday(nextFirst) == weekday) return nextFirst;
  }
  return formatDate(day, month, fields->year);
}

}  // namespace

std::string TodayText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return "01.01.2000";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900);
  return buffer;
}

long DayNumber(std::string_view date) {
  if (std::count(date.begin(), date.end(), '.') != 2) return 0;
  const DateFields fields = *splitDate(date);
  const double d = numericValue(fields.day);
  const double m = numericValue(fields.month);
  double y = numericValue(fields.year);
  if (y >= 100) y -= 1900;  // years count from 1900; a two-digit year already does
  const double b = std::floor(365.25 * y);
  // January and February count as months 13 and 14 of the year before.
  double c = m == 1 ? 1 : (m == 2 ? 2 : 0);
  if (m <= 2 && std::fmod(y, 4.0) != 0) c += 1;
  const double result = std::trunc(d + c + 30.6 * (m - 13) - 0.5) + b;
  if (!std::isfinite(result) || std::fabs(result) > kLargestDayNumber) return 0;
  return static_cast<long>(result);
}

int Weekday(std::string_view date) {
  const long dayNumber = DayNumber(date);
  return dayNumber > 0 ? static_cast<int>(dayNumber % 7) + 1 : -1;
}

int WeekNumber(std::string_view date) {
  const auto fields = splitDate(date);
  if (!fields) return 0;
  const long newYear = DayNumber("01.01." + std::string(fields->year));
  // x counts days from the Monday on or before 1 January.
  const long x = newYear <= 0 ? 0 : (DayNumber(date) - newYear) + newYear % 7;
  if (x > 371) return 0;
  const long week = x / 7 + 1;
  return week < INT_MIN ? 0 : static_cast<int>(week);
}

std::string DayAbbrev(int weekday) {
  if (weekday < 1 || weekday > 7) return "  ";
  return std::string(std::string_view("MODIMIDOFRSASO").substr(2 * (weekday - 1), 2));
}

std::string ShiftDate(std::string& date, int n) {
  int weekday = Weekday(date);
  if (weekday <= 0) {
    date = TodayText();
    return "";
  }
  const int step = n >= 0 ? 1 : -1;
  const long count = std::labs(static_cast<long>(n));
  for (long done = 0; done < count; ++done) {
    weekday += step;
    if (weekday > 7) weekday = 1;
    if (weekday < 1) weekday = 7;
    date = stepOneDay(date, step, weekday);
  }
  const int result = Weekday(date);
  return result > 0 ? DayAbbrev(result) : "";
}

}  // namespace quort
