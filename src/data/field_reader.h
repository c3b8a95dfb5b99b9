#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quort {

// Reads the comma-delimited text files of the program (base data, plans, imports).
// Numbers are separated by blanks, commas or line ends; text fields end at a comma or
// at CR, or are enclosed in double quotes. A byte 0x1A ends the file.
class FieldReader {
 public:
  explicit FieldReader(std::string_view content);
  // The reader keeps a view of the text; a temporary would be gone before the first read.
  explicit FieldReader(std::string&&) = delete;
  explicit FieldReader(const char* content) : FieldReader(std::string_view(content)) {}

  bool atEnd() const { return m_pos >= m_text.size(); }
  // Whether the text (up to an end-of-file byte) ends with CR or LF. The program ends
  // every line it writes, so a file without it was cut short.
  bool endsWithLineEnd() const { return !m_text.empty() && (m_text.back() == '\r' || m_text.back() == '\n'); }
  // Whether only blanks and line ends are left.
  bool onlySeparatorsLeft() const;

  // The next number; std::nullopt at the end of the file. A token that is not a number
  // reads as its numeric prefix (0 when there is none).
  std::optional<double> readNumber();
  // readNumber() truncated to an integer.
  std::optional<long> readInteger();
  // The next comma-delimited text field; std::nullopt at the end of the file.
  std::optional<std::string> readField();
  // The rest of the current line up to CR (LF dropped); std::nullopt at the end of the file.
  std::optional<std::string> readLine();

 private:
  void skipLineEnd();

  std::string_view m_text;
  size_t m_pos = 0;
};

// Writes a single-precision value in the shortest decimal form that reads back to the
// same single ("0.75", "20"), the way the files hold them.
std::string formatSingle(float value);

}  // namespace quort
