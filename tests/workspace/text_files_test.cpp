#include "workspace/text_files.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/text_editor_session.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

const std::string kHelp = "Allgemein\r\n~menu\r\nDas Hauptmen\x81.\r\n~menu2\r\nZweites.\r\n~dif\r\nAustausch.\r\n";

// A topic's section runs from its header to the next "~"; an unknown topic shows everything.
TEST(TextFiles, HelpSectionsAreCutAtTheTopicMarks) {
  EXPECT_EQ(helpSection(kHelp, "menu"), "Das Hauptmen\x81.");
  EXPECT_EQ(helpSection(kHelp, "menu2"), "Zweites.");
  EXPECT_EQ(helpSection(kHelp, "dif"), "Austausch.");
  EXPECT_EQ(helpSection(kHelp, "men"), kHelp);
  EXPECT_EQ(helpSection(kHelp, "gibtsnicht"), kHelp);
  EXPECT_EQ(helpSection(kHelp, ""), kHelp);
}

// The viewer reads the DOS file: printer prefix and 0xFF marks go, umlauts become Windows
// characters, 0x1A ends the text; a file that is not there says so.
TEST(TextFiles, ViewerReadsDosTextAndReportsMissingFiles) {
  test::TempDir dir;
  const std::string name =
      dir.write("hilfe.hlp", "\x1B(s0p12h0s0b4099T\x1BKopf\xFF\r\n~t\r\nGr\x81\341e\xFF\r\n\x1Arest");
  Workspace ws;
  ScriptedUi ui;
  std::string shown;
  TextViewer(ws, ui, name + "~t", true);
  ASSERT_EQ(ui.records().size(), 1U);
  EXPECT_EQ(ui.records()[0].text, "QUORT-Plan - " + name);
  std::string fileName = name;
  std::string text;
  EXPECT_TRUE(ReadTextFile(ws, ui, fileName, text));
  EXPECT_EQ(text, "Kopf\r\n~t\r\nGr\xFC\337e\r\n");

  fileName = dir.file("fehlt.txt");
  EXPECT_FALSE(ReadTextFile(ws, ui, fileName, text));
  EXPECT_TRUE(ui.saw("Lesefehler in " + fileName));
  EXPECT_TRUE(text.empty());
}

// The help file of the program has a real section for every topic the dialogs name, and is
// written in the DOS code page like the other text files the viewer reads.
TEST(TextFiles, ProgramHelpFileCoversEveryTopic) {
  std::string raw;
  ASSERT_TRUE(test::readFile(std::string(QUORT_SOURCE_DIR) + "/help/TAVIN.hlp").size() > 0);
  raw = test::readFile(std::string(QUORT_SOURCE_DIR) + "/help/TAVIN.hlp");
  for (const char* topic : {"menu", "grunddat", "dif", "spset", "vset", "vdel", "koppchg", "blockchg", "prtin",
                            "gsprtin", "vprtin", "klausin", "klaustxt", "kwahl", "stavin", "uvd", "koppimp"}) {
    const std::string section = helpSection(raw, topic);
    EXPECT_NE(section, raw) << topic;
    EXPECT_GT(section.size(), 200U) << topic;
  }
  for (unsigned char windowsUmlaut : {0xC4, 0xD6, 0xDC, 0xE4, 0xF6, 0xFC, 0xDF}) {
    EXPECT_EQ(raw.find(static_cast<char>(windowsUmlaut)), std::string::npos) << int(windowsUmlaut);
  }
  EXPECT_NE(raw.find("\r\n"), std::string::npos);
}

// Without a help file in the program directory the one beside the program file is shown.
TEST(TextFiles, HelpIsFoundBesideTheProgramFile) {
  test::TempDir install;
  install.write("TAVIN.hlp", kHelp);
  Workspace ws;
  ws.shell.programDirectory = install.path().string() + "/leer/";
  ws.shell.installDirectory = install.path().string() + "/";
  ws.shell.helpTopic = "TAVIN.hlp~dif";
  EXPECT_EQ(helpReference(ws), install.file("TAVIN.hlp") + "~dif");
  ScriptedUi ui;
  EXPECT_EQ(helpText(ws, ui), "Austausch.");
}

// The editor's list gets "*.*" appended; saving writes DOS text with CR LF and reads back.
TEST(TextEditorSession, FileListAndDosRoundTrip) {
  Workspace ws;
  ScriptedUi ui;
  TextEditorSession session(ws, ui, "sMO.x  -  Vertretungsplan|tMO.x  -  Vertretungstexte");
  ASSERT_EQ(session.entries().size(), 3U);
  EXPECT_EQ(session.entries()[1].fileName, "tMO.x");
  EXPECT_EQ(session.entries()[1].description, "Vertretungstexte");
  EXPECT_EQ(session.entries()[2].caption, "*.*  -  alle Dateien");
  EXPECT_EQ(session.title(0), "QUORT-Plan - sMO.x  -  Vertretungsplan");

  test::TempDir dir;
  // The substitution files stay in the Windows code page; other texts are DOS files.
  const std::string dayFile = dir.file("tMO.x");
  ASSERT_TRUE(session.save(dayFile, "Aufsichten:\nHof: M\xFCller\n"));
  EXPECT_EQ(test::readFile(dayFile), "Aufsichten:\r\nHof: M\xFCller\r\n");
  const std::string name = dir.file("hinweis.txt");
  ASSERT_TRUE(session.save(name, "Aufsichten:\nHof: M\xFCller\n"));
  EXPECT_EQ(test::readFile(name), "Aufsichten:\xFF\r\nHof: M\xA3ller\xFF\r\n");
  std::string fileName = name;
  std::string text;
  ASSERT_TRUE(ReadTextFile(ws, ui, fileName, text));
  EXPECT_EQ(text, "Aufsichten:\r\nHof: M\xFCller\r\n");

  EXPECT_TRUE(session.mayClose(false));
  EXPECT_FALSE(session.mayClose(true));
  EXPECT_TRUE(ui.saw("Text nicht gespeichert, dennoch beenden?"));
  EXPECT_FALSE(session.fits(std::string(TextEditorSession::kCapacity + 1, 'x')));
  EXPECT_TRUE(ui.saw("Text zu gro\xDF!Einf\xFCgen gesperrt!"));
}

// The day's files are those of the current substitution date.
TEST(TextEditorSession, DayFilesFollowTheCurrentDate) {
  Workspace ws;
  ws.dialogs.currentDate = "02.03.2004";  // a Tuesday
  EXPECT_EQ(dayTextFiles(ws), "sDI.x  -  Vertretungsplan|tDI.x  -  Vertretungstexte");
}

}  // namespace
}  // namespace quort
