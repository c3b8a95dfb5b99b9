#include "data/enc40.h"

namespace quort {

std::optional<std::string> Enc40(std::string_view bytes) {
  std::string line(bytes.size(), '\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    const int value = static_cast<unsigned char>(bytes[i]);
    if (value >= kEnc40Limit) return std::nullopt;
    line[i] = static_cast<char>(value + 40);
  }
  return line;
}

std::optional<std::string> Dec40(std::string_view line) {
  std::string bytes(line.size(), '\0');
  for (size_t i = 0; i < line.size(); ++i) {
    const int code = static_cast<unsigned char>(line[i]);
    if (code < 40) return std::nullopt;
    bytes[i] = static_cast<char>(code - 40);
  }
  return bytes;
}

}  // namespace quort
