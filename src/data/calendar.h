#pragma once

#include <string>
#include <string_view>

namespace quort {

// Dates are carried as text "TT.MM.JJJJ". Every year divisible by 4 is a leap year here;
// stored files and day numbers depend on exactly this arithmetic.

// The system date as "TT.MM.JJJJ".
std::string TodayText();

// A count of days; 0 for text that is not a date. 01.01.2000 gives 36160.
long DayNumber(std::string_view date);

// 1 = Monday ... 7 = Sunday; -1 when the text is not a date.
int Weekday(std::string_view date);

// Week of the year (week 1 holds 1 January, weeks start on Monday); 0 when not computable.
int WeekNumber(std::string_view date);

// "MO".."SO" for 1..7, two blanks otherwise.
std::string DayAbbrev(int weekday);

// Moves date by n days (n may be negative) and returns the weekday name of the result.
// A text that is not a date becomes today's date and the result is empty.
std::string ShiftDate(std::string& date, int n);

}  // namespace quort
