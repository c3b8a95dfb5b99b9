#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>

#include "gui/choice_dialog.h"
#include "gui/file_chooser_dialog.h"
#include "gui/prompt_dialogs.h"
#include "gui/small_windows.h"
#include "gui/text_windows.h"
#include "support/temp_dir.h"
#include "workspace/dialogs.h"
#include "workspace/scripted_ui.h"
#include "workspace/text_editor_session.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

// "Ja|Nein" has "Hilfen" plus two buttons, "#Ja|Nein" only the two; the number counts the items.
TEST(ChoiceDialogTest, ButtonsHelpAndResult) {
  ChoiceDialog withHelp(parseChoiceItems("Weiter?", "Ja|Nein"));
  ASSERT_NE(withHelp.helpButton(), nullptr);
  EXPECT_EQ(withHelp.helpButton()->text(), QStringLiteral("Hilfen"));
  EXPECT_EQ(withHelp.findChildren<QPushButton*>().size(), 3);
  int helpShown = 0;
  QObject::connect(&withHelp, &ChoiceDialog::helpRequested, [&] { ++helpShown; });
  QTest::mouseClick(withHelp.helpButton(), Qt::LeftButton);
  EXPECT_EQ(helpShown, 1);
  EXPECT_EQ(withHelp.result(), 0);  // still open
  QTest::mouseClick(withHelp.itemButton(1), Qt::LeftButton);
  EXPECT_EQ(withHelp.outcome().choiceResult, 1);
  EXPECT_EQ(withHelp.result(), QDialog::Accepted);

  ChoiceDialog noHelp(parseChoiceItems("Weiter?", "#Ja|Nein"));
  EXPECT_EQ(noHelp.helpButton(), nullptr);
  EXPECT_EQ(noHelp.findChildren<QPushButton*>().size(), 2);
  noHelp.reject();
  EXPECT_EQ(noHelp.outcome().choiceResult, 0);
}

// Check boxes start cleared, text fields show label and value; the values come back edited.
TEST(ChoiceDialogTest, CheckBoxesAndFieldsGiveTheirValues) {
  ChoiceDialog dialog(
      parseChoiceItems("Restliche Kurse automatisch blocken:", "#$max. Blockzahl:12|?nur Klausuren|Blocken|Abbruch"));
  ASSERT_NE(dialog.textField(1), nullptr);
  EXPECT_EQ(dialog.textField(1)->text(), QStringLiteral("12"));
  ASSERT_NE(dialog.checkBox(2), nullptr);
  EXPECT_FALSE(dialog.checkBox(2)->isChecked());
  EXPECT_EQ(dialog.outcome().choiceValues, "12|0|");
  dialog.textField(1)->clear();
  QTest::keyClicks(dialog.textField(1), QStringLiteral("8"));
  QTest::mouseClick(dialog.checkBox(2), Qt::LeftButton);
  QTest::mouseClick(dialog.itemButton(3), Qt::LeftButton);
  EXPECT_EQ(dialog.outcome().choiceResult, 3);
  EXPECT_EQ(dialog.outcome().choiceValues, "8|1|");
}

// A masked field (the password of "Daten übertragen") hides what is typed but gives it back.
TEST(ChoiceDialogTest, MaskedFieldHidesItsInput) {
  ChoiceBoxRequest request = parseChoiceItems(
      "Daten \xFC"
      "bertragen",
      "#$Adresse:lehrer|$Pa\xDFwort:|OK|Abbruch");
  request.items[1].masked = true;
  ChoiceDialog dialog(request);
  ASSERT_NE(dialog.textField(2), nullptr);
  EXPECT_EQ(dialog.textField(1)->echoMode(), QLineEdit::Normal);
  EXPECT_EQ(dialog.textField(2)->echoMode(), QLineEdit::Password);
  QTest::keyClicks(dialog.textField(2), QStringLiteral("geheim"));
  EXPECT_EQ(dialog.outcome().choiceValues, "lehrer|geheim|");
}

// One step down from 01.03.2004 is the leap day; up goes forward; only dates are accepted.
TEST(DatePromptDialogTest, ScrollingStepsDaysAndOnlyDatesAreAccepted) {
  DatePromptDialog dialog("Vertretungsplan f\374r ...", "01.03.2004");
  dialog.scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(dialog.field()->text(), QStringLiteral("29.02.2004"));
  dialog.scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  dialog.scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(dialog.field()->text(), QStringLiteral("02.03.2004"));
  QTest::keyClick(dialog.field(), Qt::Key_PageDown);
  EXPECT_EQ(dialog.date(), "24.02.2004");

  dialog.field()->setText(QStringLiteral("31.02.2004"));
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  dialog.field()->setText(QStringLiteral("1.3.2004"));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.date(), "01.03.2004");
}

// The chooser lists the directory, takes a typed pattern and refuses a missing file in mode "R".
TEST(FileChooserDialogTest, PatternAndNotFound) {
  test::TempDir dir;
  dir.write("SCHULE.GD", "x");
  dir.write("notiz.txt", "x");
  std::filesystem::create_directories(dir.path() / "Archiv");
  ScriptedUi ui;
  FileChooserModel model({"QUORT-Plan - Grunddaten lesen", "R", "*.G*", ""}, dir.path().string());
  FileChooserDialog dialog(model, ui);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("QUORT-Plan - Grunddaten lesen"));
  ASSERT_EQ(dialog.entryList()->count(), 3);
  EXPECT_EQ(dialog.entryList()->item(1)->text(), QStringLiteral("[Archiv]"));
  EXPECT_EQ(dialog.nameField()->text(), QStringLiteral("*.G*"));
  EXPECT_TRUE(dialog.driveList()->count() >= 1);

  dialog.nameField()->setText(QStringLiteral("*.txt"));
  dialog.confirm();
  ASSERT_EQ(dialog.entryList()->count(), 3);
  EXPECT_EQ(dialog.entryList()->item(2)->text(), QStringLiteral("notiz.txt"));

  dialog.nameField()->setText(QStringLiteral("FEHLT.GD"));
  dialog.confirm();
  EXPECT_TRUE(ui.saw("FEHLT.GD nicht gefunden!"));
  EXPECT_NE(dialog.result(), QDialog::Accepted);

  emit dialog.entryList()->itemActivated(dialog.entryList()->item(1));  // into [Archiv]
  EXPECT_EQ(dialog.entryList()->count(), 1);
  emit dialog.entryList()->itemActivated(dialog.entryList()->item(0));  // back up
  dialog.nameField()->setText(QStringLiteral("schule.gd"));
  dialog.confirm();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(model.chosenName(), dir.file("SCHULE.GD"));
}

// The editor opens the day file in the Windows code page it is written in, and leaving
// with changes asks first.
TEST(TextEditorDialogTest, OpensSavesAndAsksBeforeLosingChanges) {
  test::TempDir dir;
  const std::string name = dir.write("tMO.x", "Aufsichten:\r\nHof: M\xFCller\r\n");
  Workspace ws;
  ScriptedUi ui;
  TextEditorSession session(ws, ui, name + "  -  Vertretungstexte");
  TextEditorDialog dialog(session);
  dialog.show();
  EXPECT_EQ(dialog.fileList()->count(), 2);
  EXPECT_EQ(dialog.windowTitle(), QString::fromStdString("QUORT-Plan - " + name + "  -  Vertretungstexte"));
  dialog.openChosen();
  EXPECT_EQ(dialog.editor()->toPlainText(), QStringLiteral("Aufsichten:\nHof: M\u00FCller\n"));
  dialog.editor()->moveCursor(QTextCursor::End);
  QTest::keyClicks(dialog.editor(), QStringLiteral("Pause: \u00D6z"));
  dialog.reject();  // "Nein": stays open
  EXPECT_TRUE(ui.saw("Text nicht gespeichert, dennoch beenden?"));
  EXPECT_TRUE(dialog.isVisible());
  dialog.saveText();
  EXPECT_EQ(test::readFile(name), "Aufsichten:\r\nHof: M\xFCller\r\nPause: \xD6z");
  const size_t asked = ui.records().size();
  dialog.reject();
  EXPECT_EQ(ui.records().size(), asked);
  EXPECT_FALSE(dialog.isVisible());
}

// The viewer shows the text read-only in the fixed-pitch font.
TEST(TextViewerDialogTest, ShowsTextReadOnly) {
  TextViewerDialog viewer("QUORT-Plan - Hilfen", "Zeile 1\r\nZeile 2", [] {});
  EXPECT_TRUE(viewer.textView()->isReadOnly());
  EXPECT_EQ(viewer.textView()->toPlainText(), QStringLiteral("Zeile 1\nZeile 2"));
  EXPECT_TRUE(viewer.textView()->font().fixedPitch() || QFontInfo(viewer.textView()->font()).fixedPitch());
}

// A key pressed while a long run polls is reported once.
TEST(ProgressWindowTest, KeyPressIsReportedOnce) {
  ProgressWindow progress;
  progress.show();
  progress.showMessage("Plan 3 von 100");
  EXPECT_EQ(progress.messageLabel()->text(), QStringLiteral("Plan 3 von 100"));
  EXPECT_FALSE(progress.takeKeyPress());
  QTest::keyClick(&progress, Qt::Key_Space);
  EXPECT_TRUE(progress.takeKeyPress());
  EXPECT_FALSE(progress.takeKeyPress());
  progress.setListening(false);
  QTest::keyClick(&progress, Qt::Key_Space);
  EXPECT_FALSE(progress.takeKeyPress());
}

}  // namespace
}  // namespace quort
