#include "gui/editors/block_editor_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/block_editing.h"
#include "editors/coupling_editing.h"
#include "gui/qt_text.h"
#include "shell/application.h"
#include "workspace/text_files.h"
#include "workspace/workspace.h"

namespace quort {

BlockEditorDialog::BlockEditorDialog(Application& app, int block, QWidget* parent) : QDialog(parent), m_app(app) {
  Workspace& ws = app.workspace();
  setWindowTitle(QStringLiteral("Eingabe von Block "));
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  ws.shell.helpTopic = "TAVIN.hlp~blockchg";
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Block:"), this));
  m_number = new QLineEdit(this);
  m_number->setObjectName(QStringLiteral("number"));
  m_number->setMaximumWidth(60);
  top->addWidget(m_number);
  top->addWidget(new QLabel(QStringLiteral("Kopplungen:"), this));
  m_couplings = new QLineEdit(this);
  m_couplings->setObjectName(QStringLiteral("couplings"));
  top->addWidget(m_couplings, 1);
  layout->addLayout(top);
  layout->addWidget(new QLabel(QStringLiteral("Kopplung:"), this));
  m_pick = new QListWidget(this);
  m_pick->setObjectName(QStringLiteral("pickKopplung"));
  m_pick->setFont(fixedFont());
  for (int k = 1; k <= ws.plan.nCouplings(); ++k) m_pick->addItem(toQString(couplingText(ws, k)));
  connect(m_pick, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const QString number = item->text().section(QLatin1Char(':'), 0, 0);
    const QString text = m_couplings->text().trimmed();
    m_couplings->setText(text.isEmpty() ? number : text + QLatin1Char(',') + number);
  });
  layout->addWidget(m_pick, 1);
  auto* buttons = new QHBoxLayout;
  for (const QString& caption :
       {QStringLiteral("Hinzuf\u00FCgen"), QStringLiteral("Ersetzen"), QStringLiteral("L\u00F6schen"),
        QStringLiteral("Entfernen"), QStringLiteral("Hilfen"), QStringLiteral("Ende")}) {
    auto* button = new QPushButton(caption, this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, caption] { action(caption); });
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);
  resize(640, 460);
  showBlock(block);
}

BlockEditorDialog::~BlockEditorDialog() { m_app.workspace().shell.helpTopic = "TAVIN.hlp~menu"; }

QPushButton* BlockEditorDialog::button(const QString& caption) const {
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (button->text() == caption) return button;
  }
  return nullptr;
}

void BlockEditorDialog::showBlock(int block) {
  const Workspace& ws = m_app.workspace();
  const bool exists = block >= 1 && block <= ws.plan.nBlocks();
  m_number->setText(QString::number(exists ? block : ws.plan.nBlocks() + 1));
  m_couplings->setText(exists ? toQString(ws.plan.blocks[static_cast<size_t>(block)]) : QString());
}

void BlockEditorDialog::action(const QString& caption) {
  Workspace& ws = m_app.workspace();
  Ui& ui = m_app.ui();
  const int number = m_number->text().trimmed().toInt();
  const std::string text = fromQString(m_couplings->text());
  bool done = false;
  if (caption == QStringLiteral("Hinzuf\u00FCgen")) {
    const int added = addBlock(ws, ui, text);
    if (added > 0) m_number->setText(QString::number(added));
    done = added > 0;
  } else if (caption == QStringLiteral("Ersetzen")) {
    done = replaceBlock(ws, ui, number, text);
  } else if (caption == QStringLiteral("L\u00F6schen")) {
    done = deleteBlock(ws, ui, number);
    if (done) showBlock(number);
  } else if (caption == QStringLiteral("Entfernen")) {
    // The coupling chosen in the pick list leaves the block text; storing is "Ersetzen".
    const QString chosen =
        m_pick->currentItem() != nullptr ? m_pick->currentItem()->text().section(QLatin1Char(':'), 0, 0) : QString();
    QStringList numbers = m_couplings->text().split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString& n : numbers) n = n.trimmed();
    numbers.removeAll(chosen);
    m_couplings->setText(numbers.join(QLatin1Char(',')));
  } else if (caption == QStringLiteral("Hilfen")) {
    ShowHelp(ws, ui);
  } else {
    close();
  }
  if (!done) return;
  emit changed();
  emit commandRequested(QStringLiteral("B:"));
}

}  // namespace quort
