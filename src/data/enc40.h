#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quort {

// Record strings are stored in text lines with every byte raised by 40, so that the
// usual values become printable characters. A value of 216 or more cannot be stored.
inline constexpr int kEnc40Limit = 216;

// std::nullopt when a byte is 216 or more (it would come back as a different value).
std::optional<std::string> Enc40(std::string_view bytes);
// std::nullopt when a character is below code 40 (the line is not a record line).
std::optional<std::string> Dec40(std::string_view line);

}  // namespace quort
