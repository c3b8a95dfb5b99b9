#pragma once

#include <memory>

#include "workspace/print_device.h"

namespace quort {

// The system's printers (CUPS) and PDF files, printed with QPrinter. Works without a
// window: when no Qt application runs yet (the batch runner), the provider starts one on
// the offscreen platform the first time it needs fonts or printers.
std::shared_ptr<PrintDeviceProvider> makeQtPrintProvider();

}  // namespace quort
