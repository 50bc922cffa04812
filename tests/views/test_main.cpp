// One QGuiApplication for the whole run: fonts need it.

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  // Test discovery runs this program outside the tests' environment: never ask for a display.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
