#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "gui/choice_dialog.h"
#include "workspace/dialogs.h"

namespace quort {
namespace {

QPushButton* buttonCalled(const ChoiceDialog& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == text) return button;
  }
  return nullptr;
}

// A text field with choices gets a list; selecting there makes the field the target of
// "Hinzufügen" and "Entfernen", and a double click adds the item at once.
TEST(FilterDialogTest, ListsFillTheirFieldThroughAddAndRemove) {
  ChoiceBoxRequest request = parseChoiceItems("Planerstellung - Filter",
                                              "$F\xE4"
                                              "cher:|$Lehrer:|Auswerten|Abbruch");
  request.items[0].choices = {"D", "E", "M"};
  request.items[1].choices = {"MR", "WS"};
  ChoiceDialog dialog(request);
  const QList<QListWidget*> lists = dialog.findChildren<QListWidget*>(QStringLiteral("choices"));
  ASSERT_EQ(lists.size(), 2);
  QPushButton* add = buttonCalled(dialog, QStringLiteral("Hinzuf\u00FCgen"));
  QPushButton* remove = buttonCalled(dialog, QStringLiteral("Entfernen"));
  ASSERT_NE(add, nullptr);
  ASSERT_NE(remove, nullptr);

  lists[0]->item(0)->setSelected(true);
  lists[0]->item(2)->setSelected(true);
  QTest::mouseClick(add, Qt::LeftButton);
  EXPECT_EQ(dialog.textField(1)->text(), QStringLiteral("D,M"));
  lists[1]->item(1)->setSelected(true);
  QTest::mouseClick(add, Qt::LeftButton);
  EXPECT_EQ(dialog.textField(2)->text(), QStringLiteral("WS"));
  EXPECT_EQ(dialog.textField(1)->text(), QStringLiteral("D,M"));

  lists[0]->clearSelection();
  lists[0]->item(0)->setSelected(true);
  QTest::mouseClick(remove, Qt::LeftButton);
  EXPECT_EQ(dialog.textField(1)->text(), QStringLiteral("M"));
  emit lists[0]->itemDoubleClicked(lists[0]->item(1));
  EXPECT_EQ(dialog.textField(1)->text(), QStringLiteral("M,E"));
  // The extra buttons are no items: "Auswerten" keeps its number.
  QTest::mouseClick(dialog.itemButton(3), Qt::LeftButton);
  EXPECT_EQ(dialog.outcome().choiceResult, 3);
  EXPECT_EQ(dialog.outcome().choiceValues, "M,E|WS|");
}

}  // namespace
}  // namespace quort
