#include "importer/untis_file.h"

#include <array>

#include "data/codepage.h"
#include "data/field_reader.h"
#include "data/file_access.h"

namespace quort {

namespace {

// DOS code page 850, bytes 0x80 to 0xFF, as Windows-1252 bytes ("?" where there is none).
constexpr std::array<unsigned char, 128> kDosToWindows = {
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7, 0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5, 0xC9, 0xE6, 0xC6,
    0xF4, 0xF6, 0xF2, 0xFB, 0xF9, 0xFF, 0xD6, 0xDC, 0xF8, 0xA3, 0xD8, 0xD7, 0x83, 0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1,
    0xAA, 0xBA, 0xBF, 0xAE, 0xAC, 0xBD, 0xBC, 0xA1, 0xAB, 0xBB, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0xC1, 0xC2, 0xC0, 0xA9,
    0x3F, 0x3F, 0x3F, 0x3F, 0xA2, 0xA5, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0xE3, 0xC3, 0x3F, 0x3F, 0x3F, 0x3F,
    0x3F, 0x3F, 0x3F, 0xA4, 0xF0, 0xD0, 0xCA, 0xCB, 0xC8, 0x3F, 0xCD, 0xCE, 0xCF, 0x3F, 0x3F, 0x3F, 0x3F, 0xA6, 0xCC,
    0x3F, 0xD3, 0xDF, 0xD4, 0xD2, 0xF5, 0xD5, 0xB5, 0xFE, 0xDE, 0xDA, 0xDB, 0xD9, 0xFD, 0xDD, 0xAF, 0xB4, 0xAD, 0xB1,
    0x3F, 0xBE, 0xB6, 0xA7, 0xF7, 0xB8, 0xB0, 0xA8, 0xB7, 0xB9, 0xB3, 0xB2, 0x3F, 0xA0,
};

// Length of the UTF-8 sequence at pos, 0 when it is not well-formed.
size_t utf8SequenceLength(std::string_view text, size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  size_t need = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3;
  } else {
    return 0;
  }
  if (pos + need >= text.size()) return 0;
  for (size_t i = 1; i <= need; ++i) {
    if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 0;
  }
  return need + 1;
}

// Whether the text holds multi-byte UTF-8 sequences and nothing else outside ASCII.
bool isUtf8(std::string_view text) {
  bool multiByte = false;
  for (size_t pos = 0; pos < text.size();) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    const size_t length = utf8SequenceLength(text, pos);
    if (length == 0) return false;
    multiByte = true;
    pos += length;
  }
  return multiByte;
}

// DOS files put their letters at 0x80-0xA5, where Windows text has hardly anything;
// Windows text puts them at 0xC0-0xFF.
bool looksLikeDos(std::string_view text) {
  int dos = 0;
  int windows = 0;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 && byte <= 0xA5) ++dos;
    if (byte >= 0xC0) ++windows;
  }
  return dos > windows;
}

std::string dosToWindows(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) c = static_cast<char>(kDosToWindows[byte - 0x80]);
  }
  return result;
}

std::string cleanField(const std::string& field) {
  std::string result;
  result.reserve(field.size());
  for (char c : field) {
    if (static_cast<unsigned char>(c) < 0x20) continue;
    if (c == ',') c = ';';
    if (c == '"') c = '\'';
    result += c;
  }
  return result;
}

// Whether the line holds c outside double quotes.
bool holdsUnquoted(std::string_view line, char c) {
  bool quoted = false;
  for (char ch : line) {
    if (ch == '"') quoted = !quoted;
    if (ch == c && !quoted) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string_view> splitTextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

namespace {

bool isBlankLine(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// A file written with ";" between the fields reads as one field per line under our
// rules; it is refused as a whole rather than imported as rubbish.
bool separatedBySemicolons(const std::vector<std::string_view>& lines) {
  int checked = 0;
  for (std::string_view line : lines) {
    if (isBlankLine(line)) continue;
    if (holdsUnquoted(line, ',') || !holdsUnquoted(line, ';')) return false;
    if (++checked == 20) break;
  }
  return checked > 0;
}

}  // namespace

std::string untisTextToWindows(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (isUtf8(bytes)) return utf8ToCp1252(bytes);
  if (looksLikeDos(bytes)) return dosToWindows(bytes);
  return std::string(bytes);
}

UntisRecord splitUntisLine(std::string_view line, size_t fieldCount) {
  FieldReader reader(line);
  UntisRecord record;
  record.reserve(fieldCount);
  for (size_t i = 0; i < fieldCount; ++i) record.push_back(cleanField(reader.readField().value_or("")));
  return record;
}

std::string joinPath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (!path.empty() && path.back() != '/') path += '/';
  return path + std::string(name);
}

UntisFile readUntisFile(std::string_view directory, std::string_view name, size_t fieldCount) {
  UntisFile file;
  file.path = joinPath(directory, name);
  const auto found = findExistingFile(file.path);
  if (!found) return file;
  file.path = *found;
  std::string bytes;
  if (!readWholeFile(file.path, bytes)) {
    file.status = UntisReadStatus::Unreadable;
    return file;
  }
  // Everything behind an end-of-file byte is not part of the file.
  bytes = bytes.substr(0, bytes.find('\x1A'));
  const std::string text = untisTextToWindows(bytes);
  const auto lines = splitTextLines(text);
  if (separatedBySemicolons(lines)) {
    file.status = UntisReadStatus::WrongSeparator;
    return file;
  }
  for (std::string_view line : lines) {
    if (!isBlankLine(line)) file.records.push_back(splitUntisLine(line, fieldCount));
  }
  file.status = UntisReadStatus::Ok;
  return file;
}

std::string describeReadFailure(const UntisFile& file) {
  switch (file.status) {
    case UntisReadStatus::Missing:
      return "Datei fehlt: " + file.path;
    case UntisReadStatus::Unreadable:
      return "Datei nicht lesbar: " + file.path;
    case UntisReadStatus::WrongSeparator:
      return "Felder durch \";\" statt \",\" getrennt: " + file.path;
    case UntisReadStatus::Ok:
      break;
  }
  return {};
}

}  // namespace quort
