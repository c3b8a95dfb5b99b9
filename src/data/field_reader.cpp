#include "data/field_reader.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "data/number_text.h"

namespace quort {

namespace {

constexpr char kEndOfFile = '\x1A';

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

FieldReader::FieldReader(std::string_view content) : m_text(content) {
  const size_t eof = m_text.find(kEndOfFile);
  if (eof != std::string_view::npos) m_text = m_text.substr(0, eof);
}

bool FieldReader::onlySeparatorsLeft() const {
  for (size_t i = m_pos; i < m_text.size(); ++i) {
    if (!isBlank(m_text[i]) && !isLineEnd(m_text[i])) return false;
  }
  return true;
}

void FieldReader::skipLineEnd() {
  if (m_pos < m_text.size() && m_text[m_pos] == '\r') ++m_pos;
  if (m_pos < m_text.size() && m_text[m_pos] == '\n') ++m_pos;
}

std::optional<double> FieldReader::readNumber() {
  while (m_pos < m_text.size() && (isBlank(m_text[m_pos]) || isLineEnd(m_text[m_pos]) || m_text[m_pos] == ',')) {
    ++m_pos;
  }
  if (atEnd()) return std::nullopt;
  const size_t start = m_pos;
  while (m_pos < m_text.size() && !isBlank(m_text[m_pos]) && !isLineEnd(m_text[m_pos]) && m_text[m_pos] != ',') {
    ++m_pos;
  }
  const double value = numericValue(m_text.substr(start, m_pos - start));
  // A number owns the separator behind it, so that a text field read next starts on
  // the following line or behind the comma.
  while (m_pos < m_text.size() && isBlank(m_text[m_pos])) ++m_pos;
  if (m_pos < m_text.size() && m_text[m_pos] == ',') {
    ++m_pos;
  } else {
    skipLineEnd();
  }
  return value;
}

std::optional<long> FieldReader::readInteger() {
  const auto value = readNumber();
  if (!value) return std::nullopt;
  if (!std::isfinite(*value) || std::fabs(*value) > 2.0e9) return 0;
  return static_cast<long>(*value);
}

std::optional<std::string> FieldReader::readField() {
  while (m_pos < m_text.size() && (isBlank(m_text[m_pos]) || m_text[m_pos] == '\n')) ++m_pos;
  if (atEnd()) return std::nullopt;
  std::string field;
  if (m_text[m_pos] == '"') {
    const size_t close = m_text.find('"', m_pos + 1);
    const size_t end = close == std::string_view::npos ? m_text.size() : close;
    field.assign(m_text.substr(m_pos + 1, end - m_pos - 1));
    m_pos = end == m_text.size() ? end : end + 1;
    while (m_pos < m_text.size() && m_text[m_pos] != ',' && m_text[m_pos] != '\r') ++m_pos;
  } else {
    for (; m_pos < m_text.size() && m_text[m_pos] != ',' && m_text[m_pos] != '\r'; ++m_pos) {
      if (m_text[m_pos] != '\t' && m_text[m_pos] != '\n') field += m_text[m_pos];
    }
  }
  if (m_pos < m_text.size() && m_text[m_pos] == ',') {
    ++m_pos;
  } else {
    skipLineEnd();
  }
  return field;
}

std::optional<std::string> FieldReader::readLine() {
  if (atEnd()) return std::nullopt;
  std::string line;
  for (; m_pos < m_text.size() && m_text[m_pos] != '\r'; ++m_pos) {
    if (m_text[m_pos] != '\n') line += m_text[m_pos];
  }
  skipLineEnd();
  return line;
}

std::string formatSingle(float value) {
  if (!std::isfinite(value)) return "0";
  char buffer[64];
  for (int digits = 1; digits <= 7; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
    if (std::strtof(buffer, nullptr) == value) break;
  }
  // %g may have chosen an exponent; the files only know plain decimals.
  const double rounded = std::strtod(buffer, nullptr);
  std::string text = buffer;
  if (text.find('e') != std::string::npos) {
    std::snprintf(buffer, sizeof buffer, "%.7f", rounded);
    text = buffer;
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
  }
  return text;
}

}  // namespace quort
