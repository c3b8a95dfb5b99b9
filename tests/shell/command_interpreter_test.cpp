#include "shell/command_interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/application.h"
#include "workspace/base_data_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

const std::string kUnavailable = "Funktion nicht verf\xFCgbar!";

// The main window on the demo school, with three blocks of couplings.
class LoadedApp : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(LoadBaseData(ws, ui, std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD"), LoadStatus::Loaded);
    ws.plan.blocks = {"", "1,2", "3", "4,5,6"};
  }
  long unavailableCount() const {
    return std::count_if(ui.records().begin(), ui.records().end(), [](auto& r) { return r.text == kUnavailable; });
  }

  Workspace ws;
  ScriptedUi ui;
  Application app{ws, ui};
};

// Typed texts lose their line breaks, "+n" becomes block n, and single letters become commands.
TEST(CommandInterpreter, NormalisationExpandsBlocksUpperCasesAndCompletesSingleLetters) {
  Workspace ws;
  ScriptedUi ui;
  CommandInterpreter interpreter(ws, ui);
  ws.plan.blocks = {"", "1,2", "3", "4,5,6"};
  EXPECT_EQ(interpreter.normalise("B:+3"), "B:#4,5,6");
  EXPECT_EQ(interpreter.normalise("b: + 3"), "B: #4,5,6");
  EXPECT_EQ(interpreter.normalise("s:+1x"), "S:#1,2X");
  EXPECT_EQ(interpreter.normalise("\r\nd:+\r2\n"), "D:#3");
  for (const char* dropped : {"B:+9", "B:+0", "B:+", "B:+ x", "T:+4"}) {
    EXPECT_EQ(interpreter.normalise(dropped), std::nullopt) << dropped;
  }
  EXPECT_EQ(interpreter.normalise("s\r\n"), "S:");
  EXPECT_EQ(interpreter.normalise("\xC4"), "\xC4:");  // above "A" in byte order
  EXPECT_EQ(interpreter.normalise("a"), "A");
  EXPECT_EQ(interpreter.normalise("A"), "A");
  EXPECT_EQ(interpreter.normalise(">"), ">");
}

// A continuation command (">...") keeps the continuation flag, every other command clears it.
TEST_F(LoadedApp, OnlyContinuationCommandsKeepTheContinuationFlag) {
  ws.shell.continuation = true;
  app.typeCommand(">1\r");
  EXPECT_TRUE(ws.shell.continuation);
  EXPECT_EQ(ws.shell.currentCommand, ">1");
  app.typeCommand("b:+2");
  EXPECT_FALSE(ws.shell.continuation);
  EXPECT_EQ(ws.shell.currentCommand, "B:#3");
  ws.shell.continuation = true;
  app.typeCommand("S:+7");  // no block 7: dropped without a trace
  EXPECT_TRUE(ws.shell.continuation);
  EXPECT_EQ(ws.shell.currentCommand, "B:#3");
}

// Without base data only the base-data editor can be reached.
TEST(CommandInterpreter, BeforeBaseDataOnlyTheBaseDataCommandRuns) {
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  for (const char* command : {"S", "E:", ">", "H:K", "X"}) app.typeCommand(command);
  EXPECT_TRUE(ui.records().empty());
  app.typeCommand("g");
  ASSERT_FALSE(ui.records().empty());
  EXPECT_TRUE(ui.records().front().text.starts_with("Grunddatenaufnahme:"));
}

// The main window's commands that are not built yet say so and leave every table alone.
TEST_F(LoadedApp, UnbuiltCommandsAnswerNotAvailableAndChangeNothing) {
  const std::vector<std::string> known = {"O"};
  for (const std::string& command : known) app.typeCommand(command);
  EXPECT_EQ(unavailableCount(), static_cast<long>(known.size()));
  for (const char* unknown : {"Q:", "H:", "W:A", "Z"}) app.typeCommand(unknown);
  EXPECT_EQ(ui.records().size(), known.size());
  EXPECT_FALSE(ws.plan.anyChange());
  EXPECT_FALSE(app.endRequested());
}

// "B:", "D:", "S:" and "T:" belong to the planning modes; a new registration replaces the modes too.
TEST_F(LoadedApp, PlanningCommandsDoNothingOutsideThePlanningModes) {
  for (int mode = 2; mode <= 4; ++mode) {
    app.setWorkMode(mode);
    for (const char* command : {"B:1", "D", "S", "T"}) app.typeCommand(command);
  }
  EXPECT_EQ(unavailableCount(), 0);
  app.typeCommand("O");  // any mode
  EXPECT_EQ(unavailableCount(), 1);
  EXPECT_FALSE(ui.saw("Deputateingabe Puffer"));
  app.setWorkMode(0);
  app.typeCommand("d");
  EXPECT_TRUE(ui.saw("Deputateingabe Puffer"));

  int runs = 0;
  app.interpreter().registerCommand("S:", [&](CommandContext&, const std::string&) { ++runs; });
  app.setWorkMode(3);
  app.typeCommand("S");
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(unavailableCount(), 1);
}

// The handler with the longest matching prefix runs, whatever the order of registration.
TEST_F(LoadedApp, LongestRegisteredPrefixWinsAndReRegistrationReplaces) {
  std::vector<std::string> seen;
  auto& interpreter = app.interpreter();
  interpreter.registerCommand("H:", [&](CommandContext&, const std::string& c) { seen.push_back("H " + c); });
  interpreter.registerCommand("H:XY", [&](CommandContext&, const std::string& c) { seen.push_back("XY " + c); });
  app.typeCommand("h:xyz");
  app.typeCommand("H:X");
  app.typeCommand("H:K1");  // the built-in "H:K" is longer than "H:"
  EXPECT_EQ(seen, (std::vector<std::string>{"XY H:XYZ", "H H:X"}));
  EXPECT_TRUE(ui.saw("Klasse w\xE4hlen"));
  interpreter.registerCommand("H:", [&](CommandContext&, const std::string& c) { seen.push_back("new " + c); });
  app.typeCommand("H:A");
  app.typeCommand("H:XY");
  EXPECT_EQ(seen, (std::vector<std::string>{"XY H:XYZ", "H H:X", "new H:A", "XY H:XY"}));
}

// A handler hands over to another command; one that keeps issuing itself is cut off.
TEST_F(LoadedApp, IssuedCommandsNestAndSelfIssuingStops) {
  auto& interpreter = app.interpreter();
  std::vector<std::string> inner;
  interpreter.registerCommand("X:", [](CommandContext& context, const std::string&) { context.issue("y:+1"); });
  interpreter.registerCommand("Y:", [&](CommandContext&, const std::string& command) { inner.push_back(command); });
  app.typeCommand("x");
  EXPECT_EQ(inner, std::vector<std::string>{"Y:#1,2"});
  EXPECT_EQ(ws.shell.currentCommand, "Y:#1,2");

  int loops = 0;
  interpreter.registerCommand("Z:", [&](CommandContext& context, const std::string&) {
    ++loops;
    context.issue("z");
  });
  app.typeCommand("Z");
  EXPECT_GT(loops, 1);
  EXPECT_LT(loops, 1000);
  app.typeCommand("X");  // the interpreter still works afterwards
  EXPECT_EQ(inner.size(), 2U);
}

}  // namespace
}  // namespace quort
