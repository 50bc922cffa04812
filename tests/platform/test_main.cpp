// One QCoreApplication for the whole run: the timers need a Qt event loop on the test thread.

#include <QCoreApplication>

#include <gtest/gtest.h>

#include "platform/audio_libraries.h"

int main(int argc, char** argv) {
  // Before any thread starts: it sets the environment the audio libraries read.
  sonvela::PrepareAudioLibraries();
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
