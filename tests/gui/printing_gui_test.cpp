#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>

#include "gui/printer_setup_dialog.h"
#include "gui/qt_print_device.h"
#include "gui/text_windows.h"
#include "support/temp_dir.h"
#include "workspace/print_job.h"
#include "workspace/scripted_ui.h"
#include "workspace/text_editor_session.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

QPushButton* buttonNamed(QWidget& window, const QString& text) {
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    if (button->text() == text) return button;
  }
  return nullptr;
}

// pdftotext of a PDF; fails the test when poppler-utils is missing.
std::string pdfText(const test::TempDir& dir, const std::string& pdf) {
  const std::string out = dir.file("pdf.txt");
  EXPECT_EQ(std::system(("pdftotext -layout '" + pdf + "' '" + out + "'").c_str()), 0) << "poppler-utils needed";
  return test::readFile(out);
}

// The dialog shows the request; switching emphasis off clears "Fettschrift", and the
// request it answers carries every field.
TEST(PrinterSetupDialogTest, ShowsAndReturnsTheSettings) {
  PrinterSetupRequest request;
  request.printers = {"Laser", "PDF-Datei"};
  request.printerName = "PDF-Datei";
  request.fontSize = 12;
  request.callerText = "Plankontrolle";
  request.bold = true;
  PrinterSetupDialog dialog(request);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Druckereinstellungen"));
  EXPECT_EQ(dialog.printers()->count(), 2);
  EXPECT_EQ(dialog.printers()->currentText(), QStringLiteral("PDF-Datei"));
  EXPECT_EQ(dialog.sizes()->count(), 9);
  EXPECT_EQ(dialog.sizes()->currentText(), QStringLiteral("12"));
  EXPECT_TRUE(dialog.portrait()->isChecked());
  EXPECT_NE(buttonNamed(dialog, QStringLiteral("Abbruch")), nullptr);
  EXPECT_EQ(dialog.configureButton()->text(), QStringLiteral("Konfiguration"));
  dialog.emphasis()->setChecked(false);
  EXPECT_FALSE(dialog.bold()->isChecked());
  EXPECT_FALSE(dialog.bold()->isEnabled());
  dialog.landscape()->setChecked(true);
  dialog.sizes()->setCurrentText(QStringLiteral("8"));
  dialog.printers()->setCurrentText(QStringLiteral("Laser"));
  QTest::mouseClick(dialog.applyButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  const PrinterSetupRequest chosen = dialog.request();
  EXPECT_EQ(chosen.printerName, "Laser");
  EXPECT_EQ(chosen.fontSize, 8);
  EXPECT_FALSE(chosen.emphasis);
  EXPECT_FALSE(chosen.bold);
  EXPECT_TRUE(chosen.landscape);
}

// "Drucken" of the viewer and of the editor: the set-up, then the text on a real PDF.
TEST(PrintButtonsTest, ViewerAndEditorPrintThroughThePrintLayer) {
  test::TempDir dir;
  Workspace ws;
  ScriptedUi ui;
  ws.printing.provider = makeQtPrintProvider();
  ws.printing.route = dir.file("viewer.pdf");
  ui.queueAnswer("Anwenden");
  TextViewerDialog viewer("Hilfen",
                          "Gr\xFC\xDF"
                          "e\r\nZweite Zeile",
                          [&] {
                            PrintWithSetup(ws, ui, "Hilfen",
                                           "Gr\xFC\xDF"
                                           "e\r\nZweite Zeile");
                          });
  QTest::mouseClick(buttonNamed(viewer, QStringLiteral("Drucken")), Qt::LeftButton);
  EXPECT_NE(pdfText(dir, dir.file("viewer.pdf"))
                .find("Gr\xC3\xBC\xC3\x9F"
                      "e\nZweite Zeile"),
            std::string::npos);

  const std::string file = dir.write("notiz.txt",
                                     "Vertretung \x84"
                                     "ndert sich\r\n");
  TextEditorSession session(ws, ui, file + "  -  Notiz");
  TextEditorDialog editor(session);
  editor.openChosen();
  ws.printing.route = dir.file("editor.pdf");
  ui.queueAnswer("Anwenden");
  QTest::mouseClick(buttonNamed(editor, QStringLiteral("Drucken")), Qt::LeftButton);
  EXPECT_NE(pdfText(dir, dir.file("editor.pdf")).find("Vertretung \xC3\xA4ndert sich"), std::string::npos);
}

}  // namespace
}  // namespace quort
