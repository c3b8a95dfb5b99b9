#include "workspace/text_capture_device.h"

#include "data/codepage.h"
#include "data/file_access.h"

namespace quort {

namespace {

// A4 in points, less half an inch on every side.
constexpr double kA4Width = 595.0 - 72.0;
constexpr double kA4Height = 842.0 - 72.0;

}  // namespace

PageMeasure a4Measure(int size, bool landscape) {
  if (size < 1) return {};
  const double width = landscape ? kA4Height : kA4Width;
  const double height = landscape ? kA4Width : kA4Height;
  return {static_cast<int>(width / (0.6 * size)), static_cast<int>(height / (1.14 * size))};
}

bool TextCaptureDevice::begin(const PrintTarget& target) {
  m_target = target;
  m_content.clear();
  m_line.clear();
  return !target.fileName.empty();
}

PageMeasure TextCaptureDevice::selectFont(int size, bool) { return a4Measure(size, m_target.landscape); }

void TextCaptureDevice::print(const std::string& text, PrintStyle) { m_line += text; }

void TextCaptureDevice::endLine() {
  while (!m_line.empty() && m_line.back() == ' ') m_line.pop_back();
  m_content += m_form == Form::DosText ? m_line + "\r\n" : cp1252ToUtf8(m_line) + "\n";
  m_line.clear();
}

void TextCaptureDevice::newPage() { m_content += '\f'; }

bool TextCaptureDevice::end() {
  if (!m_line.empty()) endLine();
  if (m_form == Form::DosText) m_content += '\x1A';
  return writeFileAtomically(m_target.fileName, m_content);
}

}  // namespace quort
