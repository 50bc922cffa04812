// One QApplication for the whole run, on the offscreen platform: the windows are real widgets without a
// display.

#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include "platform/audio_libraries.h"

int main(int argc, char** argv) {
  // Before any thread starts: it sets the environment the audio libraries read.
  sonvela::PrepareAudioLibraries();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The settings the tests write (the charset chosen) stay out of the user's own.
  QStandardPaths::setTestModeEnabled(true);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
