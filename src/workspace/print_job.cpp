#include "workspace/print_job.h"

#include <algorithm>

#include "data/codepage.h"
#include "workspace/dialogs.h"
#include "workspace/text_capture_device.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr char kBoldMark = '\xA1';       // "¡"
constexpr char kUnderlineMark = '\xAC';  // "¬"
constexpr const char* kPrinterError = "Druckerfehler";

bool isBreakCharacter(char c) {
  return c == ' ' || c == ',' || c == '.' || c == ':' || c == '!' || c == '?' || c == '*' || c == '+' || c == '-' ||
         c == '/';
}

// Where the next physical line ends: behind the last break character within the width,
// or at the width itself.
size_t pieceLength(const std::string& rest, size_t width) {
  if (rest.size() <= width) return rest.size();
  for (size_t i = width; i > 0; --i) {
    if (isBreakCharacter(rest[i - 1])) return i;
  }
  return width;
}

bool endsWithPdf(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
  return tail == ".pdf";
}

std::string defaultPrinterName(Workspace& ws) {
  PrintState& printing = ws.printing;
  const std::string name = printing.provider ? printing.provider->defaultPrinter() : std::string();
  return name.empty() ? kPdfPrinterName : name;
}

void detach(PrintState& printing) {
  printing.device.reset();
  printing.printJobOpen = false;
}

PageMeasure failJob(Workspace& ws, Ui& ui) {
  detach(ws.printing);
  ws.printing.failed = true;
  ui.message(kPrinterError, MessageStyle{Icon::Stop});
  return {};
}

// The device for a job on the configured printer or the script's route; the target gets
// the file the output goes to. nullptr when there is nothing to print on.
std::unique_ptr<PrintDevice> deviceFor(Workspace& ws, Ui& ui, PrintTarget& target) {
  PrintState& printing = ws.printing;
  if (!printing.route.empty()) {
    target.fileName = printing.route;
    if (!endsWithPdf(printing.route)) return std::make_unique<TextCaptureDevice>();
  } else if (target.printerName == kPdfPrinterName) {
    target.fileName = FileChooser(ws, ui, {kPdfPrinterName, "", "*.pdf", "druck.pdf"});
    if (target.fileName.find('.') == std::string::npos) return nullptr;
  }
  if (!printing.provider) return nullptr;
  return printing.provider->device(target);
}

// Selects the largest font from the user's size down in which a line of width fits.
PageMeasure fitFont(PrintDevice& device, int size, bool bold, int width) {
  PageMeasure page = device.selectFont(size, bold);
  while (page.charsPerLine < width && size > 0) {
    --size;
    if (size > 0) page = device.selectFont(size, bold);
  }
  if (size == 0) return {};
  return page;
}

PageMeasure startJob(Workspace& ws, Ui& ui, std::unique_ptr<PrintDevice> device, const PrintTarget& target,
                     int fontSize, int width) {
  PrintState& printing = ws.printing;
  if (!device || !device->begin(target)) return failJob(ws, ui);
  const PageMeasure page = fitFont(*device, fontSize, printing.boldText, width);
  if (page.charsPerLine <= 0 || page.linesPerPage <= 0) return failJob(ws, ui);
  printing.device = std::move(device);
  printing.page = page;
  printing.linesOnPage = 0;
  printing.pagesPrinted = 0;
  printing.printJobOpen = true;
  return page;
}

void printPhysicalLine(PrintState& printing, const std::string& piece, PrintStyle& style) {
  PrintDevice& device = *printing.device;
  if (printing.linesOnPage >= printing.page.linesPerPage) {
    device.newPage();
    ++printing.pagesPrinted;
    printing.linesOnPage = 0;
  }
  const bool styled = printing.emphasis && !device.rawText();
  const PrintStyle normal = printing.boldText && printing.emphasis ? PrintStyle::Bold : PrintStyle::Regular;
  const auto emit = [&](const std::string& text, PrintStyle look) {
    if (!text.empty()) device.print(device.rawText() ? ToDosText(text) : text, look);
  };
  std::string run;
  for (char c : piece) {
    if (c != kBoldMark && c != kUnderlineMark) {
      run += c;
      continue;
    }
    emit(run, style);
    run.clear();
    emit(" ", normal);
    if (!styled) continue;
    if (style != normal) {
      style = normal;
    } else {
      style = c == kBoldMark ? PrintStyle::Bold : PrintStyle::BoldUnderlined;
    }
  }
  emit(run, style);
  device.endLine();
  ++printing.linesOnPage;
}

// Lines end in CR LF, LF or a lone CR (message texts).
std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

std::string printerConfigText(const PrinterConfig& config) {
  const int size = std::clamp(config.fontSize, 0, 99);
  std::string text = std::to_string(size);
  if (text.size() < 2) text.insert(0, 1, ' ');
  const int flag = 2 * (config.emphasis ? 0 : 1) + (config.landscape ? 1 : 0);
  return text + "F" + std::to_string(flag) + ":" + config.printerName;
}

bool parsePrinterConfig(const std::string& text, PrinterConfig& config) {
  const size_t colon = text.find(':', 3);
  if (colon == std::string::npos) return false;
  int size = 0;
  for (size_t i = 0; i < 2 && i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') size = size * 10 + (text[i] - '0');
  }
  const int flag = text.size() > 3 && text[3] >= '0' && text[3] <= '9' ? text[3] - '0' : 0;
  config.fontSize = size;
  config.landscape = (flag & 1) != 0;
  config.emphasis = (flag & 2) == 0;
  config.printerName = text.substr(colon + 1);
  return true;
}

PrinterConfig currentPrinterConfig(Workspace& ws) {
  PrinterConfig config;
  if (!parsePrinterConfig(ws.printing.printerConfig, config)) {
    config = PrinterConfig{10, true, false, defaultPrinterName(ws)};
    ws.printing.printerConfig = printerConfigText(config);
  }
  return config;
}

bool PrinterSetup(Workspace& ws, Ui& ui, const std::string& callerText, const std::function<void()>& followUp) {
  const PrinterConfig config = currentPrinterConfig(ws);
  PrinterSetupRequest request;
  if (ws.printing.provider) request.printers = ws.printing.provider->printerNames();
  if (std::find(request.printers.begin(), request.printers.end(), kPdfPrinterName) == request.printers.end()) {
    request.printers.emplace_back(kPdfPrinterName);
  }
  request.printerName = config.printerName;
  request.fontSize = config.fontSize < 8 || config.fontSize > 16 ? 10 : config.fontSize;
  request.callerText = callerText;
  request.emphasis = config.emphasis;
  request.bold = ws.printing.boldText;
  request.landscape = config.landscape;
  if (!ui.printerSetup(request)) return false;
  ws.printing.printerConfig =
      printerConfigText({request.fontSize, request.emphasis, request.landscape, request.printerName});
  ws.printing.boldText = request.bold && request.emphasis;
  ws.printing.printerChanged = true;
  if (followUp) followUp();
  return true;
}

PageMeasure OpenPrintJob(Workspace& ws, Ui& ui, int width) {
  if (ws.printing.printJobOpen) ClosePrintJob(ws);
  ws.printing.failed = false;
  const PrinterConfig config = currentPrinterConfig(ws);
  PrintTarget target{config.printerName, {}, config.landscape};
  std::unique_ptr<PrintDevice> device = deviceFor(ws, ui, target);
  ws.printing.emphasis = config.emphasis;
  return startJob(ws, ui, std::move(device), target, config.fontSize, width);
}

PageMeasure OpenTextFileJob(Workspace& ws, Ui& ui, const std::string& fileName, int width) {
  if (ws.printing.printJobOpen) ClosePrintJob(ws);
  ws.printing.failed = false;
  ws.printing.emphasis = false;
  // A text file has no font to shrink: its lines are as wide as the printout asks.
  const int size = std::max(1, std::min(10, 523 * 10 / (6 * std::max(width, 1))));
  return startJob(ws, ui, std::make_unique<TextCaptureDevice>(TextCaptureDevice::Form::DosText), {"", fileName, false},
                  size, width);
}

bool PrintLine(Workspace& ws, const std::string& text, int width) {
  PrintState& printing = ws.printing;
  if (!printing.printJobOpen) return false;
  const int usable = printing.page.charsPerLine;
  const size_t lineWidth = static_cast<size_t>(width < 1 || width > usable ? usable : width);
  // Every logical line starts in the normal style, whatever the last one left open.
  PrintStyle style = printing.boldText && printing.emphasis ? PrintStyle::Bold : PrintStyle::Regular;
  std::string rest = text;
  do {
    const size_t length = pieceLength(rest, lineWidth);
    printPhysicalLine(printing, rest.substr(0, length), style);
    rest.erase(0, length);
  } while (!rest.empty());
  return true;
}

void EndPrintPage(Workspace& ws) {
  PrintState& printing = ws.printing;
  if (printing.printJobOpen && printing.linesOnPage > 0) printing.linesOnPage = printing.page.linesPerPage;
}

int ClosePrintJob(Workspace& ws) {
  PrintState& printing = ws.printing;
  if (!printing.printJobOpen) return 0;
  const int pages = printing.pagesPrinted + (printing.linesOnPage > 0 ? 1 : 0);
  const bool written = printing.device->end();
  detach(printing);
  if (!written) printing.failed = true;
  return written ? pages : -1;
}

bool PrintLines(Workspace& ws, Ui& ui, const std::vector<std::string>& lines, int width,
                const std::string& textFileName) {
  const PageMeasure page =
      textFileName.empty() ? OpenPrintJob(ws, ui, width) : OpenTextFileJob(ws, ui, textFileName, width);
  if (page.charsPerLine <= 0) return false;
  for (const std::string& line : lines) PrintLine(ws, line, width);
  if (ClosePrintJob(ws) < 0) {
    ui.message("Druckfehler!", MessageStyle{Icon::Stop});
    return false;
  }
  return true;
}

bool PrintText(Workspace& ws, Ui& ui, const std::string& text) {
  const std::vector<std::string> lines = splitLines(text);
  size_t width = 1;
  for (const std::string& line : lines) width = std::max(width, line.size());
  // Long lines wrap rather than shrink the font to nothing.
  return PrintLines(ws, ui, lines, static_cast<int>(std::min<size_t>(width, 132)));
}

}  // namespace quort

namespace quort {

void PrintWithSetup(Workspace& ws, Ui& ui, const std::string& callerText, const std::string& text) {
  PrinterSetup(ws, ui, callerText, [&] { PrintText(ws, ui, text); });
}

}  // namespace quort
