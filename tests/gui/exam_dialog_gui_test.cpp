#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "exams/exam_dialog.h"
#include "exams/exam_planning.h"
#include "gui/exams/exam_dialog_view.h"
#include "gui/qt_text.h"
#include "support/temp_dir.h"
#include "workspace/base_data_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

// The window edits the session's fields: what is typed reaches "Auswerten", and the
// proposals come back into the fields; "Abbruch" closes and the fields stay for next time.
TEST(ExamDialogGui, FieldsGoThroughTheSession) {
  Workspace ws;
  ScriptedUi ui;
  ASSERT_EQ(LoadBaseData(ws, ui, test::demoFile()), LoadStatus::Loaded);
  ws.plan.reset(ws.base);
  ASSERT_TRUE(setExamPreset(ws, ui, "MO1-2|11|GEB"));
  ExamDialogSession session(ws, ui, *currentExam(ws));
  ExamDialogView view(session);
  EXPECT_EQ(view.windowTitle(), QStringLiteral("QUORT-Plan - MO1-2 Stufe:11"));
  view.field(0)->setPlainText(QStringLiteral("101:GEb EC"));
  view.extraWorkBox()->setChecked(true);
  view.button(QStringLiteral("Auswerten"))->click();
  EXPECT_EQ(fromQString(view.field(1)->toPlainText()), "101:1.,2.,\n");
  EXPECT_EQ(ws.exams.rooms, "101:GEb EC");
  EXPECT_TRUE(ws.exams.countExtraWork);
  view.button(QStringLiteral("Abbruch"))->click();
  EXPECT_EQ(view.result(), QDialog::Accepted);
  EXPECT_EQ(ws.exams.supervisions, "101:1.,2.,\n");
}

}  // namespace
}  // namespace quort
