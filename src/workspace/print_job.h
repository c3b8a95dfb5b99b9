#pragma once

#include <functional>
#include <string>
#include <vector>

#include "workspace/print_device.h"

namespace quort {

struct Workspace;
class Ui;

// The parts of printerConfig.
struct PrinterConfig {
  int fontSize = 10;
  bool emphasis = true;
  bool landscape = false;
  std::string printerName;
};

// The text form: the size always takes two characters, so a size below 10 keeps the
// "F" and the flag digit where every reader expects them.
std::string printerConfigText(const PrinterConfig& config);
// false when the text holds no ":" after its third character.
bool parsePrinterConfig(const std::string& text, PrinterConfig& config);

// The configuration, made usable first when it never was: size 10, emphasis on, portrait,
// the system's default printer, or the PDF file when the system has no printer.
PrinterConfig currentPrinterConfig(Workspace& ws);

// The dialog "Druckereinstellungen". callerText is the line telling what is to be printed;
// followUp runs when the user applies the settings (the caller goes on printing). true
// when applied.
bool PrinterSetup(Workspace& ws, Ui& ui, const std::string& callerText, const std::function<void()>& followUp = {});

// Opens a job for lines of width characters on the configured printer (or the script's
// route), shrinking the font until such a line fits. The user's font size stays the start
// of every job. A job that cannot start shows "Druckerfehler" and answers {0, 0}.
PageMeasure OpenPrintJob(Workspace& ws, Ui& ui, int width);
// The same into a DOS text file (the printouts' text copies).
PageMeasure OpenTextFileJob(Workspace& ws, Ui& ui, const std::string& fileName, int width);

// Prints one logical line, wrapped to width (below 1: the job's characters per line) at the
// last break character; "¡" and "¬" switch to bold and bold underlined and back.
bool PrintLine(Workspace& ws, const std::string& text, int width = 0);
// Ends the current page so that the next line starts a new one.
void EndPrintPage(Workspace& ws);
// Ends the job; the pages printed, or -1 when its output could not be written.
int ClosePrintJob(Workspace& ws);

// A whole text (lines separated by CR LF or LF) as one job: the "Drucken" of the text
// viewer and editor. false when nothing was printed.
bool PrintText(Workspace& ws, Ui& ui, const std::string& text);

// "Drucken" of the text windows: the printer set-up, and on "Anwenden" the text.
void PrintWithSetup(Workspace& ws, Ui& ui, const std::string& callerText, const std::string& text);

// Prints lines as one job of the given width and closes it; false (after "Druckerfehler"
// or "Druckfehler!") when that did not work. With a text-file name the lines go there.
bool PrintLines(Workspace& ws, Ui& ui, const std::vector<std::string>& lines, int width,
                const std::string& textFileName = {});

}  // namespace quort
