#pragma once

#include <QPointer>
#include <QWidget>

#include "editors/base_data_editor.h"

namespace quort {

// The window's dialogs of the base-data editor, each modal over the main window.
class QtBaseDataDialogs : public BaseDataDialogs {
 public:
  explicit QtBaseDataDialogs(QWidget* parent) : m_parent(parent) {}
  void daysAndPeriods(BaseDataEditor& editor) override;
  void planOptions(BaseDataEditor& editor) override;
  void entityList(BaseDataEditor& editor, EntityKind kind) override;

 private:
  QPointer<QWidget> m_parent;
};

}  // namespace quort
