#include "workspace/print_job.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/codepage.h"
#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/text_capture_device.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

using test::readFile;
using test::TempDir;

struct Piece {
  std::string text;
  PrintStyle style;
};

// What a printer was asked to do; it outlives the device, which the job destroys.
struct Recording {
  std::vector<int> sizes;
  std::vector<Piece> line;
  std::vector<std::vector<Piece>> lines;
  std::vector<size_t> pageStarts;
};

// A printer that records every piece with its style and answers a page of fixed size
// for sizes up to a limit, so that the fitting loop can be watched.
class RecordingDevice : public PrintDevice {
 public:
  RecordingDevice(Recording& recording, int charsAtSize10, int lines, bool raw)
      : m_recording(recording), m_charsAtSize10(charsAtSize10), m_lines(lines), m_raw(raw) {}
  bool begin(const PrintTarget&) override { return true; }
  PageMeasure selectFont(int size, bool) override {
    m_recording.sizes.push_back(size);
    return {m_charsAtSize10 * 10 / size, m_lines};
  }
  bool rawText() const override { return m_raw; }
  void print(const std::string& text, PrintStyle style) override { m_recording.line.push_back({text, style}); }
  void endLine() override {
    m_recording.lines.push_back(m_recording.line);
    m_recording.line.clear();
  }
  void newPage() override { m_recording.pageStarts.push_back(m_recording.lines.size()); }
  bool end() override { return true; }

 private:
  Recording& m_recording;
  int m_charsAtSize10;
  int m_lines;
  bool m_raw;
};

// Hands out one prepared device and says whether it was asked for one.
class OneDeviceProvider : public PrintDeviceProvider {
 public:
  explicit OneDeviceProvider(std::unique_ptr<PrintDevice> device, std::string defaultName = "Laser")
      : m_device(std::move(device)), m_default(std::move(defaultName)) {}
  std::vector<std::string> printerNames() override { return {"Laser", kPdfPrinterName}; }
  std::string defaultPrinter() override { return m_default; }
  std::unique_ptr<PrintDevice> device(const PrintTarget& target) override {
    lastTarget = target;
    return std::move(m_device);
  }
  PrintTarget lastTarget;

 private:
  std::unique_ptr<PrintDevice> m_device;
  std::string m_default;
};

struct PrintBench {
  Workspace ws;
  ScriptedUi ui;
  Recording recording;
  Recording* device = &recording;
  std::shared_ptr<OneDeviceProvider> provider;

  explicit PrintBench(int charsAtSize10 = 80, int lines = 60, bool raw = false) {
    provider =
        std::make_shared<OneDeviceProvider>(std::make_unique<RecordingDevice>(recording, charsAtSize10, lines, raw));
    ws.printing.provider = provider;
  }
  std::string lineText(size_t n) const {
    std::string text;
    for (const auto& piece : device->lines.at(n)) text += piece.text;
    return text;
  }
};

}  // namespace

// The configuration text keeps its layout for every size and flag combination.
TEST(PrinterConfig, SizeAlwaysTakesTwoCharactersAndFlagsRoundTrip) {
  EXPECT_EQ(printerConfigText({8, true, true, "Laser"}), " 8F1:Laser");
  EXPECT_EQ(printerConfigText({12, false, false, "PDF-Datei"}), "12F2:PDF-Datei");
  PrinterConfig parsed;
  ASSERT_TRUE(parsePrinterConfig(" 8F3:Drucker im Flur", parsed));
  EXPECT_EQ(parsed.fontSize, 8);
  EXPECT_TRUE(parsed.landscape);
  EXPECT_FALSE(parsed.emphasis);
  EXPECT_EQ(parsed.printerName, "Drucker im Flur");
  EXPECT_FALSE(parsePrinterConfig("10:", parsed)) << "the colon must come after the third character";
  EXPECT_FALSE(parsePrinterConfig("", parsed));
}

// A job before any set-up goes to the default printer, and the user's size survives a
// job that had to shrink the font.
TEST(OpenPrintJob, UnsetConfigurationUsesDefaultPrinterAndFittingIsNotStoredBack) {
  PrintBench bench(80, 60);
  const PageMeasure page = OpenPrintJob(bench.ws, bench.ui, 100);
  EXPECT_EQ(bench.ws.printing.printerConfig, "10F0:Laser");
  EXPECT_EQ(bench.provider->lastTarget.printerName, "Laser");
  EXPECT_EQ(bench.device->sizes, (std::vector<int>{10, 9, 8}));
  EXPECT_EQ(page.charsPerLine, 100);
  EXPECT_TRUE(bench.ws.printing.printJobOpen);
  EXPECT_EQ(ClosePrintJob(bench.ws), 0);
  EXPECT_FALSE(bench.ws.printing.printJobOpen);
  EXPECT_EQ(bench.ws.printing.printerConfig, "10F0:Laser");
}

// Without any printer the default is the PDF file; without a file chosen the job fails.
TEST(OpenPrintJob, NoPrinterAndNoFileIsAPrinterError) {
  Workspace ws;
  ScriptedUi ui;
  EXPECT_EQ(OpenPrintJob(ws, ui, 80).charsPerLine, 0);
  EXPECT_EQ(ws.printing.printerConfig, "10F0:PDF-Datei");
  EXPECT_TRUE(ui.saw("Druckerfehler"));
  EXPECT_TRUE(ws.printing.failed);
  EXPECT_FALSE(ws.printing.printJobOpen);
  EXPECT_FALSE(PrintLine(ws, "nichts"));
}

// A width that does not fit even at size 1 fails the job.
TEST(OpenPrintJob, WidthBeyondSizeOneFails) {
  PrintBench bench(8, 60);  // 80 characters at size 1
  EXPECT_EQ(OpenPrintJob(bench.ws, bench.ui, 81).charsPerLine, 0);
  EXPECT_EQ(bench.device->sizes.back(), 1);
  EXPECT_TRUE(bench.ui.saw("Druckerfehler"));
  EXPECT_FALSE(bench.ws.printing.printJobOpen);
}

// Wrapping: at the last break character within the width (which stays on the line), or
// hard at the width when there is none; a width below 1 is the job's own.
TEST(PrintLine, WrapsAtBreakCharactersOrHardAtTheWidth) {
  PrintBench bench(80, 60);
  OpenPrintJob(bench.ws, bench.ui, 80);
  PrintLine(bench.ws, std::string(100, 'x'), 80);
  PrintLine(bench.ws, "eins,zwei drei-vier", 10);
  PrintLine(bench.ws, std::string(85, 'y'), 0);
  PrintLine(bench.ws, "", 0);
  ClosePrintJob(bench.ws);
  ASSERT_EQ(bench.device->lines.size(), 7U);
  EXPECT_EQ(bench.lineText(0), std::string(80, 'x'));
  EXPECT_EQ(bench.lineText(1), std::string(20, 'x'));
  EXPECT_EQ(bench.lineText(2), "eins,zwei ");
  EXPECT_EQ(bench.lineText(3), "drei-vier");
  EXPECT_EQ(bench.lineText(4), std::string(80, 'y'));
  EXPECT_EQ(bench.lineText(5), std::string(5, 'y'));
  EXPECT_EQ(bench.lineText(6), "");
}

// A full page starts the next one, and the pages are counted.
TEST(PrintLine, FullPageStartsANewOne) {
  PrintBench bench(80, 3);
  OpenPrintJob(bench.ws, bench.ui, 40);
  for (int i = 0; i < 7; ++i) PrintLine(bench.ws, "Zeile " + std::to_string(i));
  EXPECT_EQ(bench.device->pageStarts, (std::vector<size_t>{3, 6}));
  EXPECT_EQ(ClosePrintJob(bench.ws), 3);
}

// Marks print as a blank in the normal style and switch the style; each line starts normal.
TEST(PrintLine, EmphasisMarksSwitchStyleAndResetAtEachLine) {
  PrintBench bench;
  OpenPrintJob(bench.ws, bench.ui, 40);
  PrintLine(bench.ws,
            "a\xA1"
            "b\xAC"
            "c");
  PrintLine(bench.ws,
            "\xAC"
            "offen");
  PrintLine(bench.ws, "neu");
  ClosePrintJob(bench.ws);
  using S = PrintStyle;
  const auto& first = bench.device->lines[0];
  ASSERT_EQ(first.size(), 5U);
  EXPECT_EQ(first[0].text + first[1].text + first[2].text + first[3].text + first[4].text, "a b c");
  EXPECT_EQ(first[0].style, S::Regular);
  EXPECT_EQ(first[1].style, S::Regular);
  EXPECT_EQ(first[2].style, S::Bold);
  EXPECT_EQ(first[3].style, S::Regular);
  EXPECT_EQ(first[4].style, S::Regular);
  EXPECT_EQ(bench.device->lines[1].back().style, S::BoldUnderlined);
  EXPECT_EQ(bench.device->lines[2].front().style, S::Regular);
}

// With emphasis off nothing changes style; "Fettschrift" makes the normal style bold.
TEST(PrintLine, EmphasisOffKeepsOneStyleAndBoldTextIsTheNormalStyle) {
  PrintBench bench;
  bench.ws.printing.printerConfig = "10F2:Laser";
  bench.ws.printing.boldText = false;
  OpenPrintJob(bench.ws, bench.ui, 40);
  PrintLine(bench.ws,
            "a\xA1"
            "b");
  ClosePrintJob(bench.ws);
  for (const auto& piece : bench.device->lines[0]) EXPECT_EQ(piece.style, PrintStyle::Regular);

  PrintBench boldBench;
  boldBench.ws.printing.printerConfig = "10F0:Laser";
  boldBench.ws.printing.boldText = true;
  OpenPrintJob(boldBench.ws, boldBench.ui, 40);
  PrintLine(boldBench.ws,
            "a\xAC"
            "b");
  ClosePrintJob(boldBench.ws);
  EXPECT_EQ(boldBench.device->lines[0][0].style, PrintStyle::Bold);
  EXPECT_EQ(boldBench.device->lines[0][2].style, PrintStyle::BoldUnderlined);
}

// Umlauts reach a drawing device as Windows text; only a raw text device gets DOS bytes.
TEST(PrintLine, OnlyRawDevicesGetDosText) {
  PrintBench drawing;
  OpenPrintJob(drawing.ws, drawing.ui, 40);
  PrintLine(drawing.ws,
            "Gr\xFC\xDF"
            "e");
  ClosePrintJob(drawing.ws);
  EXPECT_EQ(drawing.lineText(0),
            "Gr\xFC\xDF"
            "e");

  PrintBench raw(80, 60, true);
  OpenPrintJob(raw.ws, raw.ui, 40);
  PrintLine(raw.ws,
            "Gr\xFC\xDF"
            "e");
  ClosePrintJob(raw.ws);
  EXPECT_EQ(raw.lineText(0), ToDosText("Gr\xFC\xDF"
                                       "e"));
  EXPECT_NE(raw.lineText(0),
            "Gr\xFC\xDF"
            "e");
}

// The script's route: a ".txt" file captures the pages as text, form feed between them.
TEST(PrintRoute, TextCaptureWritesPagesAsUtf8) {
  TempDir dir;
  Workspace ws;
  ScriptedUi ui;
  ws.printing.route = dir.file("druck.txt");
  ws.printing.printerConfig = "40F0:Laser";  // 21 characters, 16 lines per A4 page
  const PageMeasure page = OpenPrintJob(ws, ui, 30);
  EXPECT_EQ(page.charsPerLine, a4Measure(29, false).charsPerLine) << "shrunk to the first size that fits";
  for (int i = 1; i <= page.linesPerPage + 1; ++i)
    PrintLine(ws, i == 1 ? "M\xFC"
                           "nchen, \xA1"
                           "fett"
                         : "x");
  EXPECT_EQ(ClosePrintJob(ws), 2);
  const std::string text = readFile(dir.file("druck.txt"));
  EXPECT_EQ(text.substr(0, text.find('\n')), "M\xC3\xBCnchen,  fett");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1);
}

// The text copy of a printout is a DOS text file with CR LF and the end mark.
TEST(PrintRoute, TextFileJobWritesDosText) {
  TempDir dir;
  Workspace ws;
  ScriptedUi ui;
  ASSERT_TRUE(PrintLines(ws, ui,
                         {"\xC4rger \xA1"
                          "fett",
                          std::string(150, '-')},
                         150, dir.file("klassen.txt")));
  const std::string text = readFile(dir.file("klassen.txt"));
  EXPECT_EQ(text, "\x8Erger  fett\r\n" + std::string(150, '-') + "\r\n\x1A");
}

// "Anwenden" stores the dialog's choices; the follow-up runs only then.
TEST(PrinterSetup, ApplyStoresConfigurationAndRunsFollowUp) {
  PrintBench bench;
  bench.ws.printing.printerConfig = " 5F0:Laser";
  int followUps = 0;
  EXPECT_FALSE(PrinterSetup(bench.ws, bench.ui, "Test", [&] { ++followUps; }));
  EXPECT_EQ(followUps, 0);
  bench.ui.queueAnswer("Anwenden");
  EXPECT_TRUE(PrinterSetup(bench.ws, bench.ui, "Test", [&] { ++followUps; }));
  EXPECT_EQ(followUps, 1);
  EXPECT_EQ(bench.ws.printing.printerConfig, "10F0:Laser") << "a size below 8 preselects 10";
  EXPECT_TRUE(bench.ws.printing.printerChanged);
}

}  // namespace quort
