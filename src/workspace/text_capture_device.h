#pragma once

#include <string>

#include "workspace/print_device.h"

namespace quort {

// Prints into a text file instead of onto paper. The capture (UTF-8, pages separated by a
// form feed, as pdftotext gives them) serves scripts and tests; the DOS form is the plain
// text file the printouts leave beside their paper copy (DOS bytes, CR LF, 0x1A at the end).
// A page is measured like an A4 sheet with half-inch margins and a fixed-pitch font whose
// characters are 0.6 of the font size wide and whose lines are 1.14 of it high (the
// metrics of Courier New and of its stand-ins), so the capture breaks pages like the PDF.
class TextCaptureDevice : public PrintDevice {
 public:
  enum class Form { Capture, DosText };
  explicit TextCaptureDevice(Form form = Form::Capture) : m_form(form) {}

  bool begin(const PrintTarget& target) override;
  PageMeasure selectFont(int size, bool bold) override;
  bool rawText() const override { return m_form == Form::DosText; }
  void print(const std::string& text, PrintStyle style) override;
  void endLine() override;
  void newPage() override;
  bool end() override;

  // What was printed so far, in the file's encoding.
  const std::string& content() const { return m_content; }

 private:
  Form m_form;
  PrintTarget m_target;
  std::string m_content;
  std::string m_line;
};

// The measure of an A4 page for a fixed-pitch font of that size (0 for sizes below 1).
PageMeasure a4Measure(int size, bool landscape);

}  // namespace quort
