#include "workspace/dialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

using Kind = ChoiceItem::Kind;

// The item string decides the help button and the kind, label and start value of each row.
TEST(Dialogs, ChoiceItemsBecomeButtonsCheckBoxesAndTextFields) {
  const ChoiceBoxRequest plain = parseChoiceItems("p", "Ja|Nein");
  EXPECT_TRUE(plain.helpButton);
  ASSERT_EQ(plain.items.size(), 2U);
  EXPECT_EQ(plain.items[1].kind, Kind::Button);
  EXPECT_EQ(plain.items[1].label, "Nein");

  const ChoiceBoxRequest noHelp = parseChoiceItems("p", "#Ja|Nein");
  EXPECT_FALSE(noHelp.helpButton);
  ASSERT_EQ(noHelp.items.size(), 2U);
  EXPECT_EQ(noHelp.items[0].label, "Ja");

  const ChoiceBoxRequest mixed = parseChoiceItems("p", "?Fett|$Name:Wert|OK");
  ASSERT_EQ(mixed.items.size(), 3U);
  const auto row = [&](size_t i) {
    return std::tuple(mixed.items[i].kind, mixed.items[i].label, mixed.items[i].value);
  };
  EXPECT_EQ(row(0), std::tuple(Kind::CheckBox, std::string("Fett"), std::string("0")));
  EXPECT_EQ(row(1), std::tuple(Kind::TextField, std::string("Name"), std::string("Wert")));
  EXPECT_EQ(row(2), std::tuple(Kind::Button, std::string("OK"), std::string()));
}

// Answers name a button by caption; "?"/"$" answers fill the fields first; silence means Abbruch.
TEST(Dialogs, ChoiceBoxAnswersPickButtonsAndFillFields) {
  ScriptedUi ui;
  ui.queueAnswer("Nein");
  EXPECT_EQ(ChoiceBox(ui, "Weiter?", "Ja|Nein").choiceResult, 2);

  for (const char* answer : {"?1", "$neu", "OK"}) ui.queueAnswer(answer);
  const ChoiceOutcome filled = ChoiceBox(ui, "Format", "?Fett|$Name:Wert|OK");
  EXPECT_EQ(filled.choiceResult, 3);
  EXPECT_EQ(filled.choiceValues, "1|neu|");

  const ChoiceOutcome untouched = ChoiceBox(ui, "Format", "?Fett|$Name:Wert|OK");
  EXPECT_EQ(untouched.choiceResult, 0);
  EXPECT_EQ(untouched.choiceValues, "0|Wert|");
  EXPECT_EQ(ChoiceBox(ui, "Welche?", "#Auswahl|alle|Abbruch").choiceResult, 3);
  EXPECT_EQ(ChoiceBox(ui, "Welche?", "Ja|Nein").choiceResult, 0);
  EXPECT_EQ(ui.pendingAnswers(), 0U);
}

// The prompt starts one day before 01.03.2004, asks again after a non-date and keeps the date given.
TEST(Dialogs, DatePromptStartsFromTheShiftedDateAndAcceptsOnlyDates) {
  Workspace ws;
  ScriptedUi ui;
  ws.dialogs.currentDate = "01.03.2004";
  ui.queueAnswer("31.02.x");
  ui.queueAnswer("15.03.2004");
  EXPECT_TRUE(DatePrompt(ws, ui, "Datum", -1));
  ASSERT_EQ(ui.records().size(), 2U);
  EXPECT_NE(ui.records()[0].text.find("29.02.2004"), std::string::npos) << ui.records()[0].text;
  EXPECT_EQ(ws.dialogs.currentDate, "15.03.2004");

  ws.dialogs.currentDate = "01.03.2004";
  EXPECT_FALSE(DatePrompt(ws, ui, "Datum", -1));
  EXPECT_EQ(ws.dialogs.currentDate, "29.02.2004");
}

// Only days of the calendar are dates: the lenient day count would take 31.02. for 02.03.
TEST(Dialogs, CalendarDatesAreCheckedAndWrittenInFull) {
  EXPECT_EQ(calendarDate("29.02.2004"), "29.02.2004");
  EXPECT_EQ(calendarDate("1.3.2004"), "01.03.2004");
  for (const char* bad : {"29.02.2005", "31.04.2005", "00.01.2004", "31.02.2004", "1.13.2004", "01.03.04",
                          "01.03.2004x", "", "..", "01-03-2004"}) {
    EXPECT_EQ(calendarDate(bad), std::nullopt) << bad;
  }
}

// Only a pending key press interrupts a long action with the question whether to abort.
TEST(Dialogs, KeyPressDuringProgressOffersToAbort) {
  Workspace ws;
  ScriptedUi ui;
  ui.queueAnswer("Ja");
  ProgressPoll(ws, ui, "Rechne ...");
  EXPECT_TRUE(ui.records().empty());
  EXPECT_EQ(ui.pendingAnswers(), 1U);
  EXPECT_FALSE(ws.dialogs.abortRequested);

  ui.pressKey();
  ProgressPoll(ws, ui, "Rechne ...");
  EXPECT_TRUE(ui.saw("Aktion abbrechen?"));
  EXPECT_TRUE(ws.dialogs.abortRequested);

  ProgressOpen(ws, ui);
  ui.pressKey();
  ProgressPoll(ws, ui, "Rechne ...");  // no answer: Nein
  EXPECT_FALSE(ws.dialogs.abortRequested);
}

}  // namespace
}  // namespace quort
