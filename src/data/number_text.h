#pragma once

#include <string_view>

namespace quort {

// The numeric value of the leading number in text, the way the file reader and the
// editors read numbers: leading blanks skipped, optional sign, digits, optional
// fraction; anything else ends the number. Text without a number gives 0.
double numericValue(std::string_view text);

}  // namespace quort
