#pragma once

#include <string>
#include <string_view>

namespace quort {

// The numeric value of the leading number in text, the way the file reader and the
// editors read numbers: leading blanks skipped, optional sign, digits, optional
// fraction; anything else ends the number. Text without a number gives 0.
double numericValue(std::string_view text);

// The whole number of a file field; values past +-1e9 (no field holds them) give 0.
long wholeNumber(std::string_view field);

// Text filled with blanks up to width; longer text stays as it is.
std::string padRight(std::string text, size_t width);

}  // namespace quort
