// The main of the window tests: one QApplication for all of them, on the offscreen platform
// unless QT_QPA_PLATFORM says otherwise.
#include <gtest/gtest.h>

#include <QApplication>

#include "common/desktop_conventions.h"
#include "common/window_look.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  evo::InstallProgramFont();
  evo::InstallProgramAccessibility();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
