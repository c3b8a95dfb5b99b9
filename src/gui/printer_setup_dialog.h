#pragma once

#include <QDialog>

#include "workspace/ui.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace quort {

// "Druckereinstellungen": printer, "Konfiguration" (the platform's print dialog), font size,
// the caller's text, "Schriftauszeichnung", "Fettschrift", "Hochformat"/"Breitformat",
// "Anwenden" and "Abbruch". Accepted means "Anwenden"; request() then holds the choices.
class PrinterSetupDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PrinterSetupDialog(const PrinterSetupRequest& request, QWidget* parent = nullptr);

  PrinterSetupRequest request() const;

  QComboBox* printers() const { return m_printers; }
  QComboBox* sizes() const { return m_sizes; }
  QCheckBox* emphasis() const { return m_emphasis; }
  QCheckBox* bold() const { return m_bold; }
  QRadioButton* portrait() const { return m_portrait; }
  QRadioButton* landscape() const { return m_landscape; }
  QPushButton* applyButton() const { return m_apply; }
  QPushButton* configureButton() const { return m_configure; }

 private:
  void configure();

  PrinterSetupRequest m_request;
  QComboBox* m_printers;
  QComboBox* m_sizes;
  QCheckBox* m_emphasis;
  QCheckBox* m_bold;
  QRadioButton* m_portrait;
  QRadioButton* m_landscape;
  QPushButton* m_configure;
  QPushButton* m_apply;
};

}  // namespace quort
