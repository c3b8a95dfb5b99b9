#include "importer/import_text.h"

namespace quort {

namespace {

char upperByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 'a' && byte <= 'z') return static_cast<char>(byte - 'a' + 'A');
  switch (byte) {
    case 0xE4:  // ä
    case 0xF6:  // ö
    case 0xFC:  // ü
    case 0xE9:  // é
    case 0xF1:  // ñ
    case 0xE5:  // å
    case 0xE7:  // ç
      return static_cast<char>(byte - 0x20);
    default:
      return c;
  }
}

}  // namespace

std::string UpperDos(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = upperByte(c);
  return result;
}

bool sortsBefore(std::string_view text, std::string_view other) {
  // string_view compares through char_traits<char>, which orders bytes as unsigned.
  return text.compare(other) < 0;
}

std::string NormTeacher(std::string_view code) {
  if (sortsBefore(code, "A")) return {};
  if (code.size() > 2) return "~~";
  return std::string(code);
}

std::string withoutBlanks(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c != ' ') result += c;
  }
  return result;
}

std::string roomCode(std::string_view name) {
  std::string room = withoutBlanks(name);
  // Several rooms of one lesson arrive joined with "~"; the first one is the lesson's room.
  const size_t start = room.find_first_not_of('~');
  if (start == std::string::npos) return {};
  room = room.substr(start, room.find('~', start) - start);
  if (room.size() > 3) room = room.substr(0, 1) + room.substr(room.size() - 2);
  return room;
}

std::string renameYearGroups(std::string_view className) {
  std::string result(className);
  for (const auto& [from, to] : {std::pair{"EF", "10"}, std::pair{"Q1", "11"}, std::pair{"Q2", "12"}}) {
    for (size_t pos = result.find(from); pos != std::string::npos; pos = result.find(from, pos + 2)) {
      result.replace(pos, 2, to);
    }
  }
  return result;
}

int leadingNumber(std::string_view text, size_t* digits) {
  size_t count = 0;
  int value = 0;
  while (count < text.size() && text[count] >= '0' && text[count] <= '9') {
    if (value < 100000) value = value * 10 + (text[count] - '0');
    ++count;
  }
  if (digits != nullptr) *digits = count;
  return value;
}

}  // namespace quort
