#pragma once

#include <memory>
#include <string>
#include <vector>

namespace quort {

// The three looks a printed piece of text can have.
enum class PrintStyle { Regular, Bold, BoldUnderlined };

// What one page holds in the selected font.
struct PageMeasure {
  int charsPerLine = 0;
  int linesPerPage = 0;
};

// Where a job goes: a printer by name, or a file (a PDF, or a text capture).
struct PrintTarget {
  std::string printerName;
  std::string fileName;  // Windows-1252 like every program text
  bool landscape = false;
};

// The printer name that stands for "write a PDF file the user names".
inline constexpr const char* kPdfPrinterName = "PDF-Datei";

// One open print job on a printer or file. Texts are Windows-1252 bytes; a device that
// draws with Unicode fonts converts them itself.
class PrintDevice {
 public:
  virtual ~PrintDevice() = default;
  // Attaches the printer or opens the file; false when it cannot be used.
  virtual bool begin(const PrintTarget& target) = 0;
  // Selects the fixed-pitch font and answers what a page holds in it.
  virtual PageMeasure selectFont(int size, bool bold) = 0;
  // Whether the device takes DOS bytes (a raw text file) rather than Windows text.
  virtual bool rawText() const { return false; }
  // Appends a piece to the current line.
  virtual void print(const std::string& text, PrintStyle style) = 0;
  virtual void endLine() = 0;
  virtual void newPage() = 0;
  // Finishes the document; false when it could not be written.
  virtual bool end() = 0;
};

// What the platform offers: its printers and devices for them. The window program and
// the batch runner install one; without it only the text capture is available.
class PrintDeviceProvider {
 public:
  virtual ~PrintDeviceProvider() = default;
  // Every printer to choose from; "PDF-Datei" is always among them.
  virtual std::vector<std::string> printerNames() = 0;
  // The system's default printer, empty when there is none.
  virtual std::string defaultPrinter() = 0;
  // A device for the target: a PDF file when its file name is set, otherwise the printer.
  virtual std::unique_ptr<PrintDevice> device(const PrintTarget& target) = 0;
};

}  // namespace quort
