#pragma once

#include <memory>
#include <string>

#include "workspace/print_device.h"

namespace quort {

// The printer settings of this run and the one print job that may be open.
struct PrintState {
  // Font size (two characters, right-aligned), "F", the flag digit, ":", the printer name.
  // Flag digit: bit 0 landscape, bit 1 emphasis switched off. Empty until first used.
  std::string printerConfig;
  bool boldText = false;
  bool printJobOpen = false;
  bool printerChanged = false;
  // Set when the last job could not start or its output could not be written.
  bool failed = false;
  // Scripts send every job to this file instead (".txt": the text capture, else a PDF).
  std::string route;
  std::shared_ptr<PrintDeviceProvider> provider;

  // The open job.
  std::unique_ptr<PrintDevice> device;
  PageMeasure page;
  bool emphasis = true;
  int linesOnPage = 0;
  int pagesPrinted = 0;
};

}  // namespace quort
