#include "gui/editors/base_data_dialogs.h"

#include "gui/editors/entity_list_dialog.h"
#include "gui/editors/schedule_dialogs.h"

namespace quort {

void QtBaseDataDialogs::daysAndPeriods(BaseDataEditor& editor) {
  DaysAndPeriodsDialog dialog(editor, m_parent);
  dialog.exec();
}

void QtBaseDataDialogs::planOptions(BaseDataEditor& editor) {
  PlanOptionsDialog dialog(editor, m_parent);
  dialog.exec();
}

void QtBaseDataDialogs::entityList(BaseDataEditor& editor, EntityKind kind) {
  EntityListDialog dialog(editor, kind, m_parent);
  dialog.exec();
}

}  // namespace quort
