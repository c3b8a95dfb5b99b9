// The Qt tests need an application object; the offscreen platform needs no display.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "gui/qt_noise_filter.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  quort::installQtNoiseFilter();
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
