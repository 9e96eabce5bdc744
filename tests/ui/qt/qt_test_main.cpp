#include <gtest/gtest.h>

#include <QApplication>

#include "ui/qt/widgets.h"

// Window tests need one application object for the whole run.
int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QApplication::setStyle(new ui::qt::SelenialStyle);  // as the program does
  return RUN_ALL_TESTS();
}
