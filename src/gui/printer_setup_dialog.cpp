#include "gui/printer_setup_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "workspace/print_device.h"

namespace quort {

PrinterSetupDialog::PrinterSetupDialog(const PrinterSetupRequest& request, QWidget* parent)
    : QDialog(parent),
      m_request(request),
      m_printers(new QComboBox(this)),
      m_sizes(new QComboBox(this)),
      m_emphasis(new QCheckBox(QStringLiteral("Schriftauszeichnung"), this)),
      m_bold(new QCheckBox(QStringLiteral("Fettschrift"), this)),
      m_portrait(new QRadioButton(QStringLiteral("Hochformat"), this)),
      m_landscape(new QRadioButton(QStringLiteral("Breitformat"), this)),
      m_configure(new QPushButton(QStringLiteral("Konfiguration"), this)),
      m_apply(new QPushButton(QStringLiteral("Anwenden"), this)) {
  setWindowTitle(QStringLiteral("Druckereinstellungen"));
  for (const std::string& name : request.printers) m_printers->addItem(toQString(name));
  if (m_printers->findText(toQString(request.printerName)) < 0) m_printers->addItem(toQString(request.printerName));
  m_printers->setCurrentText(toQString(request.printerName));
  for (int size = 8; size <= 16; ++size) m_sizes->addItem(QString::number(size));
  m_sizes->setCurrentText(QString::number(request.fontSize));
  m_emphasis->setChecked(request.emphasis);
  m_bold->setChecked(request.bold);
  m_bold->setEnabled(request.emphasis);
  (request.landscape ? m_landscape : m_portrait)->setChecked(true);

  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  auto* printerRow = new QHBoxLayout;
  printerRow->addWidget(m_printers, 1);
  printerRow->addWidget(m_configure);
  form->addRow(QStringLiteral("Drucker:"), printerRow);
  form->addRow(QStringLiteral("Schriftgr\u00F6\u00DFe:"), m_sizes);
  layout->addLayout(form);
  layout->addWidget(new QLabel(toQString(request.callerText), this));
  layout->addWidget(m_emphasis);
  layout->addWidget(m_bold);
  auto* orientation = new QHBoxLayout;
  orientation->addWidget(m_portrait);
  orientation->addWidget(m_landscape);
  layout->addLayout(orientation);
  auto* buttons = new QHBoxLayout;
  auto* cancel = new QPushButton(QStringLiteral("Abbruch"), this);
  buttons->addStretch();
  buttons->addWidget(m_apply);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  m_apply->setDefault(true);

  // Without emphasis there is no bold either: the box follows the switch.
  connect(m_emphasis, &QCheckBox::toggled, this, [this](bool on) {
    m_bold->setEnabled(on);
    if (!on) m_bold->setChecked(false);
  });
  connect(m_configure, &QPushButton::clicked, this, &PrinterSetupDialog::configure);
  connect(m_apply, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

PrinterSetupRequest PrinterSetupDialog::request() const {
  PrinterSetupRequest result = m_request;
  result.printerName = fromQString(m_printers->currentText());
  result.fontSize = m_sizes->currentText().toInt();
  result.emphasis = m_emphasis->isChecked();
  result.bold = m_bold->isChecked() && result.emphasis;
  result.landscape = m_landscape->isChecked();
  return result;
}

// The platform's own dialog chooses printer and orientation; the fields follow it.
void PrinterSetupDialog::configure() {
  QPrinter printer;
  const QString current = m_printers->currentText();
  if (current != QLatin1String(kPdfPrinterName)) printer.setPrinterName(current);
  printer.setPageOrientation(m_landscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const QString name =
      printer.outputFormat() == QPrinter::PdfFormat ? QString::fromLatin1(kPdfPrinterName) : printer.printerName();
  if (m_printers->findText(name) < 0) m_printers->addItem(name);
  m_printers->setCurrentText(name);
  (printer.pageLayout().orientation() == QPageLayout::Landscape ? m_landscape : m_portrait)->setChecked(true);
}

}  // namespace quort
