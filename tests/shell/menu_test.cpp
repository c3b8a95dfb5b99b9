#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>

#include "shell/application.h"
#include "shell/batch_runner.h"
#include "shell/menu_actions.h"
#include "shell/menu_table.h"
#include "support/temp_dir.h"
#include "workspace/base_data_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

const std::string kUnavailable = "Funktion nicht verf\xFCgbar!";

// The bar holds the five padded pulldowns; every item number occurs once with its caption.
TEST(MenuTable, PulldownsItemsAndCaptionsAreThoseOfTheMenuTree) {
  std::vector<std::string> pulldowns;
  for (const MenuNode& node : mainMenu()) pulldowns.push_back(node.caption);
  EXPECT_EQ(pulldowns, (std::vector<std::string>{" &Datei     ", " &Bearbeiten  ", " &Eingabe  ", " &Ausgabe     ",
                                                 " &Hilfen     "}));
  const std::vector<int> ids = menuItemIds();
  EXPECT_EQ(ids.size(), 56U);  // 100 to 154 without 118, and 160, 161
  EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
  for (int id = 100; id <= 154; ++id) {
    if (id == 118) continue;  // there is no item 118
    EXPECT_NE(findMenuItem(id), nullptr) << id;
  }
  EXPECT_EQ(findMenuItem(101)->caption, "&\326ffnen");
  EXPECT_EQ(findMenuItem(128)->caption, "&");
  EXPECT_EQ(findMenuItem(138)->caption,
            "&Sch\xFCl"
            "erpl\xE4ne");
  EXPECT_EQ(findMenuItem(115)->caption,
            "in &Klassenpl\xE4ne"
            "n");
  EXPECT_EQ(findMenuItem(140)->caption, "Druckere&instellung");
}

// Before loading, Bearbeiten, Eingabe, Ausgabe and the grey Datei items are disabled; after
// loading they follow the work mode ("&Sichern" not in the exam mode).
TEST(MenuTable, GreyingFollowsBaseDataAndWorkMode) {
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  const auto& menu = mainMenu();
  const auto enabled = [&](int id) { return menuEnabled(*findMenuItem(id), ws); };
  EXPECT_TRUE(menuEnabled(menu[0], ws));
  EXPECT_FALSE(menuEnabled(menu[1], ws));
  EXPECT_FALSE(menuEnabled(menu[2], ws));
  EXPECT_FALSE(menuEnabled(menu[3], ws));
  EXPECT_TRUE(menuEnabled(menu[4], ws));
  for (int id : {102, 137, 146, 147}) EXPECT_FALSE(enabled(id)) << id;
  for (int id : {100, 101, 103, 150, 151, 152, 153}) EXPECT_TRUE(enabled(id)) << id;

  ASSERT_EQ(app.loadBase(test::demoFile()), LoadStatus::Loaded);
  for (int m = 1; m <= 3; ++m) EXPECT_TRUE(menuEnabled(menu[static_cast<size_t>(m)], ws));
  for (int id : {102, 137, 146, 147, 110, 111, 114}) EXPECT_TRUE(enabled(id)) << id;
  EXPECT_FALSE(enabled(108));
  app.setWorkMode(3);
  EXPECT_TRUE(enabled(108));
  EXPECT_FALSE(enabled(110));
  app.setWorkMode(4);
  EXPECT_FALSE(enabled(102));
}

class LoadedMenu : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(app.loadBase(test::demoFile()), LoadStatus::Loaded); }
  Workspace ws;
  ScriptedUi ui;
  Application app{ws, ui};
};

// Items type their command; "&Autom.Setzen" sends the command field's text along.
TEST_F(LoadedMenu, ItemsIssueTheirCommandsThroughTheInterpreter) {
  std::vector<std::string> seen;
  for (const char* prefix : {"^", "^C", "H:K", "D:", "W:S", "G:"}) {
    app.interpreter().registerCommand(prefix, [&](CommandContext&, const std::string& c) { seen.push_back(c); });
  }
  runMenuItem(app, 104, "k:5a");
  runMenuItem(app, 154, "k1");
  runMenuItem(app, 112);
  runMenuItem(app, 114);
  ui.queueAnswer("D");
  runMenuItem(app, 117);
  runMenuItem(app, 119);
  EXPECT_EQ(seen, (std::vector<std::string>{"^K:5A", "^C K1", "H:K", "D:", "W:S", "G:"}));
  runMenuItem(app, 110);
  EXPECT_EQ(ws.shell.mainView, MainView::CouplingList);
}

// Unbuilt functions say so; without base data the items 104 to 127 do nothing at all.
TEST(MenuActions, UnbuiltItemsAnswerNotAvailableAndNothingRunsWithoutBaseData) {
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  for (int id : {104, 110, 120, 127, 154}) runMenuItem(app, id);
  EXPECT_TRUE(ui.records().empty());
  runMenuItem(app, 147);
  EXPECT_TRUE(ui.saw(kUnavailable));
}

// "Kurswahlen bearbeiten" and "Kurswahlen" open the course choice editor, with or
// without base data.
TEST(MenuActions, CourseChoiceItemsOpenTheCourseEditor) {
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  runMenuItem(app, 153);
  runMenuItem(app, 145);
  ASSERT_EQ(ui.records().size(), 2U);
  EXPECT_EQ(ui.records()[1].kind, "editor");
  EXPECT_EQ(ui.records()[1].text, "Kurswahlen");
}

// "Einblenden" puts the buffer behind the assignments and marks the plan changed.
TEST_F(LoadedMenu, ShowingTheBufferAppendsItToTheAssignments) {
  ws.plan.assignments = "\x01\x01\x01\x02";
  ws.plan.assignmentBuffer = "\x02\x01\x03\x01";
  runMenuItem(app, 133);
  EXPECT_EQ(ws.plan.assignments, std::string("\x01\x01\x01\x02\x02\x01\x03\x01"));
  EXPECT_TRUE(ws.plan.assignmentBuffer.empty());
  EXPECT_TRUE(ws.plan.modifiedPlan);
}

// The DIF box shows its own help topic while open and gives the menu topic back after.
TEST_F(LoadedMenu, ExchangeBoxUsesItsHelpTopicAndEndsNothing) {
  ui.queueAnswer("Hilfen");
  ui.queueAnswer("Ende");
  runMenuItem(app, 152);
  ASSERT_GE(ui.records().size(), 2U);
  EXPECT_NE(ui.records()[0].text.find("TAVIN.hlp~dif"), std::string::npos) << ui.records()[0].text;
  EXPECT_EQ(ws.shell.helpTopic, "TAVIN.hlp~menu");
  // An import whose file chooser is closed changes nothing and so ends nothing.
  ui.queueAnswer("Plan importieren");
  runMenuItem(app, 152);
  EXPECT_TRUE(ui.saw("QUORT-Plan - DIF-Daten importieren [*.txt]"));
  EXPECT_FALSE(app.endRequested());
}

// Ending: "Programm beenden?" first; a changed plan is saved before the end, in every work mode.
TEST_F(LoadedMenu, EndingSavesAChangedPlanFirstEvenInExamMode) {
  runMenuItem(app, 103);
  EXPECT_TRUE(ui.saw("Programm beenden?"));
  EXPECT_FALSE(app.endRequested());
  EXPECT_FALSE(ui.saw(kUnavailable));

  ws.shell.planOpened = true;
  ws.plan.modifiedPlan = true;
  app.setWorkMode(4);
  ui.queueAnswer("OK");
  runMenuItem(app, 103);
  EXPECT_TRUE(ui.saw("QUORT-Plan - Plan sichern [*.pl]"));  // the plan save was asked for
  EXPECT_TRUE(app.endRequested());
}

// "Sperren" first asks which class, teacher or subject, shows its plan and then opens the
// lock panel; closing the chooser opens none. Scripts choose items and answer the chooser.
TEST_F(LoadedMenu, LockItemsChooseTheirEntityBeforeThePanelOpens) {
  std::vector<std::string> panels;
  for (const char* prefix : {"W:K", "W:L", "W:S"}) {
    app.interpreter().registerCommand(prefix, [&](CommandContext& context, const std::string& command) {
      const ShellState& shell = context.ws.shell;
      const int shown = shell.view.kind == PlanEntity::Class     ? shell.currentClass
                        : shell.view.kind == PlanEntity::Teacher ? shell.currentTeacher
                                                                 : shell.view.currentSubject;
      panels.push_back(command + " " + std::to_string(shown));
    });
  }
  std::ostringstream out;
  std::ostringstream err;
  BatchRunner runner(app, ui, out, err);
  std::istringstream script("answer 7B\nmenu 115\nanswer KS\nmenu 116\nmenu 117\nanswer E\nmenu 117\n");
  EXPECT_EQ(runner.run(script), 0) << err.str();
  EXPECT_EQ(out.str(),
            "question: Klasse w\xC3\xA4hlen -> 7B\n"
            "question: Lehrer w\xC3\xA4hlen -> KS\n"
            "question: Fach w\xC3\xA4hlen -> Abbruch\n"
            "question: Fach w\xC3\xA4hlen -> E\n");
  EXPECT_EQ(panels, (std::vector<std::string>{"W:K " + std::to_string(ws.base.findClass("7B")),
                                              "W:L " + std::to_string(ws.base.findTeacher("KS")),
                                              "W:S " + std::to_string(ws.base.findSubject("E"))}));
  EXPECT_EQ(ws.shell.view.kind, PlanEntity::Subject);
}

// "menu N" chooses any item of the tree; unknown numbers and grey items fail the line.
TEST(MenuActions, ScriptsChooseItemsButNotGreyOrUnknownOnes) {
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  const auto run = [&](const std::string& text) {
    std::ostringstream out;
    std::ostringstream err;
    BatchRunner runner(app, ui, out, err);
    std::istringstream script(text);
    const int status = runner.run(script);
    return std::make_pair(status, out.str() + err.str());
  };
  EXPECT_EQ(run("menu 106\n"),
            std::make_pair(1, std::string("Zeile 1: menu: 106 ist gesperrt (&Zu setzende Stunden)\n")));
  EXPECT_EQ(run("menu 118\n").first, 1);
  EXPECT_EQ(run("menu x\n").first, 1);
  EXPECT_EQ(run("menu 151\n").first, 0);
  EXPECT_TRUE(ui.saw(versionInfoText()));
  ASSERT_EQ(app.loadBase(test::demoFile()), LoadStatus::Loaded);
  const auto deleted = run("answer Ja\nmenu 106\n");
  EXPECT_EQ(deleted.first, 0) << deleted.second;
  EXPECT_TRUE(ui.saw("Alle zu setzende Stunden l\xF6schen?"));
}

}  // namespace
}  // namespace quort
