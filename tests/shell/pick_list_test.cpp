// The "zu setzen" list: in the window a picked line chooses the entry that ">" places next.
#include <gtest/gtest.h>

#include "data/plan_records.h"
#include "shell/application.h"
#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

// A front end that offers lists as pick lists and picks a fixed line.
class PickingUi : public ScriptedUi {
 public:
  int showPickList(const std::string& title, const std::vector<std::string>& lines) override {
    shown = title;
    lineCount = lines.size();
    return pick;
  }
  int pick = -1;
  std::string shown;
  size_t lineCount = 0;
};

TEST(PickList, PickedLineChoosesTheEntryThatIsPlacedNext) {
  test::TempDir dir;
  Workspace ws;
  PickingUi ui;
  Application app(ws, ui);
  ASSERT_EQ(app.loadBase(test::demoFile()), LoadStatus::Loaded);
  ASSERT_TRUE(app.openPlanByName(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.PL"));
  ui.pick = 2;
  app.typeCommand("P:");
  EXPECT_EQ(ui.shown, "zu setzen");
  EXPECT_EQ(ui.lineCount, recordCount(ws.plan.assignments, AssignmentView::kSize) + 1);  // and the sum
  EXPECT_EQ(ws.shell.currentEntry, ws.plan.assignments.substr(8, 4));

  ui.pick = -1;  // closed without a choice: the entry stays
  app.typeCommand("P:");
  EXPECT_EQ(ws.shell.currentEntry, ws.plan.assignments.substr(8, 4));
}

}  // namespace
}  // namespace quort
