#include "data/codepage.h"

#include <array>
#include <cstdint>

namespace quort {

namespace {

constexpr int kDropByte = -1;

// One entry per DOS byte: the Windows byte to write, or kDropByte.
constexpr std::array<int, 256> makeDosToWindowsTable() {
  std::array<int, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = i;
  table[0xFF] = kDropByte;  // line-end marker written by ToDosText
  table[0x84] = 0xE4;
  table[0x8E] = 0xC4;
  table[0x94] = 0xF6;
  table[0x99] = 0xD6;
  table[0x81] = 0xFC;
  table[0xA3] = 0xFC;  // old files wrote u-umlaut as 0xA3, never as u-acute
  table[0x9A] = 0xDC;
  table[0xE1] = 0xDF;
  // Frames and shading from DOS print layouts survive only as plain ASCII.
  for (int i = 0xB0; i <= 0xDA; ++i) table[i] = '!';
  table[0xB1] = 0xB1;
  table[0xBD] = 0xBD;
  table[0xC4] = '-';
  table[0xCD] = '-';
  table[0xF9] = ' ';
  return table;
}

constexpr std::array<unsigned char, 256> makeWindowsToDosTable() {
  std::array<unsigned char, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
  table[0xE4] = 0x84;
  table[0xC4] = 0x8E;
  table[0xF6] = 0x94;
  table[0xD6] = 0x99;
  table[0xFC] = 0xA3;  // what existing DOS files expect, not 0x81
  table[0xDC] = 0x9A;
  table[0xDF] = 0xE1;
  return table;
}

// Unicode code points of Windows-1252 bytes 0x80..0x9F. The five bytes Windows leaves
// undefined map to the C1 control with the same number, so every byte survives a round trip.
constexpr std::array<char32_t, 32> kHighControls = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t cp1252CodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    // Nothing in Windows-1252 needs more than three bytes.
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Returns the byte for cp, or '?' when Windows-1252 has none.
char cp1252Byte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

struct Decoded {
  char32_t codePoint;  // meaningful only when valid
  size_t length;       // bytes consumed; a malformed sequence consumes its valid prefix
  bool valid;
};

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
Decoded decodeUtf8(std::string_view text, size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return {lead, 1, true};
  size_t need = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {0, 1, false};
  }
  char32_t cp = lead & (0x3F >> need);
  for (size_t i = 1; i <= need; ++i) {
    if (pos + i >= text.size()) return {0, i, false};
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if (next < low || next > high) return {0, i, false};
    cp = (cp << 6) | (next & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  return {cp, need + 1, true};
}

}  // namespace

std::string replaceEachOnce(std::string_view text, std::string_view oldText, std::string_view newText) {
  std::string result;
  size_t from = 0;
  for (size_t pos = text.find(oldText); pos != std::string_view::npos; pos = text.find(oldText, from)) {
    result.append(text.substr(from, pos - from)).append(newText);
    from = pos + oldText.size();
  }
  return result.append(text.substr(from));
}

std::string ToWindowsText(std::string_view dos) {
  static constexpr auto table = makeDosToWindowsTable();
  std::string result;
  result.reserve(dos.size());
  for (char c : dos) {
    const int mapped = table[static_cast<unsigned char>(c)];
    if (mapped != kDropByte) result += static_cast<char>(mapped);
  }
  return result;
}

std::string ToDosText(std::string_view windows) {
  static constexpr auto table = makeWindowsToDosTable();
  std::string result;
  result.reserve(windows.size() + windows.size() / 16);
  for (char c : windows) {
    // DOS readers of our files look for 0xFF before CR; ToWindowsText drops it again.
    if (c == '\r') result += '\xFF';
    result += static_cast<char>(table[static_cast<unsigned char>(c)]);
  }
  return result;
}

std::string StripPrinterPrefix(std::string_view text, int& position) {
  position = 0;
  if (!text.empty() && text[0] == '\x1B') {
    const size_t second = text.find('\x1B', 1);
    if (second != std::string_view::npos) position = static_cast<int>(second + 1);
  }
  // Short ESC...ESC runs are printer codes inside the line and stay with it.
  if (position >= 10) text.remove_prefix(static_cast<size_t>(position));
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c != '\xFF') result += c;
  }
  return result;
}

std::string ReplaceAll(std::string_view text, std::string_view oldText, std::string_view newText) {
  if (oldText.empty()) return std::string(text);
  // Repeating would never end; one pass is the best we can do.
  if (newText.find(oldText) != std::string_view::npos) {
    return replaceEachOnce(text, oldText, newText);
  }
  // A shrinking rule always ends. Other rules can in principle grow or cycle forever.
  const bool shrinks = newText.size() < oldText.size();
  size_t budget = 1u << 22;
  std::string result(text);
  size_t pos = result.find(oldText);
  while (pos != std::string::npos && (shrinks || budget-- > 0)) {
    result.replace(pos, oldText.size(), newText);
    // Nothing before pos matched, so a new match can only start where it overlaps newText.
    const size_t from = pos + 1 >= oldText.size() ? pos + 1 - oldText.size() : 0;
    pos = result.find(oldText, from);
  }
  return result;
}

std::string cp1252ToUtf8(std::string_view cp1252) {
  std::string result;
  result.reserve(cp1252.size() + cp1252.size() / 4);
  for (char c : cp1252) appendUtf8(result, cp1252CodePoint(static_cast<unsigned char>(c)));
  return result;
}

std::string utf8ToCp1252(std::string_view utf8) {
  std::string result;
  result.reserve(utf8.size());
  for (size_t pos = 0; pos < utf8.size();) {
    const Decoded decoded = decodeUtf8(utf8, pos);
    result += decoded.valid ? cp1252Byte(decoded.codePoint) : '?';
    pos += decoded.length;
  }
  return result;
}

}  // namespace quort
