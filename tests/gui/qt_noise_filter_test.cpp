#include "gui/qt_noise_filter.h"

#include <gtest/gtest.h>

#include <QString>
#include <QtGlobal>

namespace quort {
namespace {

// The two notes of every run without a display are dropped; real warnings and errors
// still reach standard error.
TEST(QtNoiseFilter, DropsTheOffscreenNotesAndKeepsRealWarnings) {
  EXPECT_TRUE(isQtNoise(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-x'")));
  EXPECT_TRUE(isQtNoise(QStringLiteral("This plugin does not support propagateSizeHints()")));
  EXPECT_FALSE(isQtNoise(QStringLiteral("QPainter::begin: Paint device returned engine == 0")));

  installQtNoiseFilter();
  ::testing::internal::CaptureStderr();
  qWarning("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-root'");
  qWarning("This plugin does not support propagateSizeHints()");
  qWarning("QWidget::setLayout: Attempting to set QLayout on a widget that already has a layout");
  qCritical("Kritisch: %d", 7);
  const std::string written = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(written.find("XDG_RUNTIME_DIR"), std::string::npos) << written;
  EXPECT_EQ(written.find("propagateSizeHints"), std::string::npos) << written;
  EXPECT_NE(written.find("QWidget::setLayout: Attempting"), std::string::npos) << written;
  EXPECT_NE(written.find("Kritisch: 7"), std::string::npos) << written;
}

}  // namespace
}  // namespace quort
