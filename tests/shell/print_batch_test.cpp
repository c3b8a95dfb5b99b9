#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using quort::test::readFile;

// Scripts that print run the planner in a directory of their own; PDF pages are read back
// with pdftotext, which is what a person would see on the paper.
class PrintBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir = fs::temp_directory_path() / ("quort_print_" + test + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }

  int run(const std::string& script) {
    std::ofstream(dir / "test.batch", std::ios::binary) << script;
    const std::string command =
        "cd '" + dir.string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch test.batch > out.log 2> err.log";
    const int status = std::system(command.c_str());
    output = readFile((dir / "out.log").string());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The text of a PDF as pdftotext -layout lays it out; fails the test when it cannot run.
  std::string pdfText(const std::string& name) {
    const std::string command = "cd '" + dir.string() + "' && pdftotext -layout '" + name + "' pdf.txt";
    EXPECT_EQ(std::system(command.c_str()), 0) << "pdftotext (poppler-utils) must be installed";
    return readFile((dir / "pdf.txt").string());
  }

  std::string pdfFonts(const std::string& name) {
    const std::string command = "cd '" + dir.string() + "' && pdffonts '" + name + "' > fonts.txt";
    EXPECT_EQ(std::system(command.c_str()), 0) << "pdffonts (poppler-utils) must be installed";
    return readFile((dir / "fonts.txt").string());
  }

  void writeText(const std::string& name, const std::string& dosText) {
    std::ofstream(dir / name, std::ios::binary) << dosText;
  }

  fs::path dir;
  std::string output;
};

// pdftotext guesses the width of blanks from the neighbouring glyphs: compare words only.
std::string squeezed(std::string text) {
  text.erase(std::unique(text.begin(), text.end(), [](char a, char b) { return a == ' ' && b == ' '; }), text.end());
  return text;
}

size_t pages(const std::string& pdfText) {
  return static_cast<size_t>(std::count(pdfText.begin(), pdfText.end(), '\f'));
}

// A DOS text file printed like "Drucken" of the viewer: umlauts, wrapped lines and a page
// break come out on the PDF as on the text capture.
TEST_F(PrintBatch, TextFilePrintsToPdfWithUmlautsWrapsAndPages) {
  std::string dos =
      "Gr\x81\xE1"
      "e aus M\x81nchen\r\n";
  const std::string longLine = "Anfang " + std::string(140, 'x');
  dos += longLine + "\r\n";
  for (int i = 1; i <= 150; ++i) dos += "Zeile " + std::to_string(i) + "\r\n";
  writeText("brief.txt", dos);
  ASSERT_EQ(run("print-to brief.pdf\nprint text brief.txt\nprint-to brief-kopie.txt\nprint text brief.txt\n"), 0);
  const std::string text = pdfText("brief.pdf");
  EXPECT_NE(text.find("Gr\xC3\xBC\xC3\x9F"
                      "e aus M\xC3\xBCnchen"),
            std::string::npos)
      << text;
  // The viewer asks for at most 132 characters a line: the line breaks behind the blank,
  // and the 140 x without a break character are cut hard at 132.
  EXPECT_NE(text.find("Anfang\n" + std::string(132, 'x') + "\n" + std::string(8, 'x') + "\n"), std::string::npos)
      << text;
  EXPECT_GE(pages(text), 2U);
  const std::string capture = readFile((dir / "brief-kopie.txt").string());
  EXPECT_EQ(capture.substr(0, capture.find('\n')),
            "Gr\xC3\xBC\xC3\x9F"
            "e aus M\xC3\xBCnchen");
  EXPECT_EQ(pages(capture) + 1, pages(text)) << "capture and PDF break at the same lines";
}

// Emphasis marks give bold and underlined pieces in bold type; switched off, none.
TEST_F(PrintBatch, EmphasisUsesTheBoldFaceOnlyWhenSwitchedOn) {
  writeText("marken.txt",
            "normal \xA1"
            "fett\xA1 normal\r\n");
  ASSERT_EQ(
      run("print-to a.pdf\nprint text marken.txt\nprinter 10F2:PDF-Datei\nprint-to b.pdf\nprint text marken.txt\n"), 0);
  EXPECT_NE(pdfFonts("a.pdf").find("Bold"), std::string::npos);
  EXPECT_EQ(pdfFonts("b.pdf").find("Bold"), std::string::npos);
  const std::string text = squeezed(pdfText("a.pdf"));
  EXPECT_NE(text.find("normal fett normal"), std::string::npos) << text;
}

// The plan control of a plan placed by hand: MR teaches periods 1, 2 and 6 on Monday and
// 5A three times on Tuesday (2, 4, 5); period 4 is left out of the free periods.
TEST_F(PrintBatch, PlanControlOfAKnownPlanPrintsItsFindings) {
  const std::string script = "open " + quort::test::demoFile() + " " + quort::test::demoPlanFile() +
                             "\n"
                             "command >MO1 L:MR F:D K:5A\ncommand >MO2 L:MR F:D K:5C\ncommand >MO6 L:MR F:D K:9B\n"
                             "command >DI2 L:MR F:D K:5A\nanswer Ja\ncommand >DI4 L:MR F:D K:5A\n"
                             "answer Ja\ncommand >DI5 L:MR F:D K:5A\n"
                             "print-to kontrolle.pdf\nanswer $MR, WS\nanswer $4\nanswer Drucken\nmenu 139\n";
  ASSERT_EQ(run(script), 0) << output;
  const std::string text = squeezed(pdfText("kontrolle.pdf"));
  const std::string expected =
      ">> MR << Freistunden: 3\n"
      " Stundenl\xC3\xBC"
      "cken: DI4\n"
      " Mehrfachstunden: DI5\n"
      " Mehrfachl\xC3\xBC"
      "cken: MO6\n\n"
      ">> WS << Freistunden: 0\n";
  EXPECT_NE(text.find(expected), std::string::npos) << text;
  EXPECT_NE(text.find("Plankontrolle"), std::string::npos);
}

// "Klassenpläne" of the menu: one page per class, the placed lesson in its cell, and the
// text copy klassen.txt beside it; "Grunddaten" lists the base data.
TEST_F(PrintBatch, ClassPlansAndListsFromTheOutputMenu) {
  const std::string script = "open " + quort::test::demoFile() + " " + quort::test::demoPlanFile() +
                             "\ncommand >DI3 L:MR F:D K:5A\n"
                             "print-to plaene.pdf\nanswer $5A 5B\nanswer Drucken\nmenu 120\n"
                             "answer $5A\nanswer Textdatei\nmenu 120\n"
                             "print-to grunddaten.pdf\nanswer Drucken\nmenu 131\n";
  ASSERT_EQ(run(script), 0) << output;
  const std::string text = squeezed(pdfText("plaene.pdf"));
  EXPECT_EQ(pages(text), 2U);
  EXPECT_NE(text.find("Klasse 5A"), std::string::npos);
  EXPECT_NE(text.find("Klasse 5B"), std::string::npos);
  EXPECT_NE(text.find("| 3 | | D | | | |"), std::string::npos) << text;
  EXPECT_NE(text.find("Seite 2"), std::string::npos);
  EXPECT_NE(readFile((dir / "klassen.txt").string()).find("Klasse 5A"), std::string::npos);
  const std::string baseData = pdfText("grunddaten.pdf");
  EXPECT_NE(baseData.find("5A MR >05A"), std::string::npos);
  EXPECT_NE(baseData.find("R\xC3\xA4ume"), std::string::npos);
}

// A printer that does not exist cannot start a job: "Druckerfehler", and the line fails.
TEST_F(PrintBatch, UnknownPrinterIsAPrinterError) {
  writeText("x.txt", "x\r\n");
  EXPECT_EQ(run("printer 10F0:Gibt es nicht\nprint text x.txt\n"), 1);
  EXPECT_NE(output.find("message: Druckerfehler"), std::string::npos) << output;
  EXPECT_EQ(run("printer 10:\n"), 1) << "a configuration without its flag part is refused";
}

}  // namespace
