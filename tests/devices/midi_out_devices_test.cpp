#include "devices/midi_out_devices.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "player/recording_midi_out.h"
#include "support/fake_ports.h"

namespace sonvela {
namespace {

using ::testing::ElementsAre;

class MidiOutDevicesTest : public ::testing::Test {
 protected:
  MidiOutDevices devices;
  RecordingMidiOut midi;
  Logs logs;
  RecordingScreen screen;  // for its message boxes
  MidiOutContext context{devices, midi, logs, screen};
};

TEST_F(MidiOutDevicesTest, StartUpNeedsADeviceAndTheDefaultOutput) {
  midi.DeviceNames.clear();
  EXPECT_FALSE(OpenMidiOutAtStart(context));
  midi.DeviceNames = {"Synth", "Port"};
  midi.OpenResult = 4;
  EXPECT_FALSE(OpenMidiOutAtStart(context));
  EXPECT_THAT(logs.Debug.ToVector(), ElementsAre("Numero devices Midi Out: 0", "Numero devices Midi Out: 2"));
  EXPECT_THAT(screen.messages, ElementsAre("Midi non disponibile", "Problemi con Midi out"));
}

TEST_F(MidiOutDevicesTest, TheDialogListsNumberedEntriesUpToTwentyOne) {
  midi.DeviceNames = {"Synth"};
  EXPECT_EQ(FillMidiOutNames(devices, midi, logs), 1);
  EXPECT_THAT(logs.Debug.ToVector(), ElementsAre("Midi device out found : 1", " 0 Synth"));
  midi.DeviceNames.assign(25, "Port");
  EXPECT_EQ(FillMidiOutNames(devices, midi, logs), 21);
  EXPECT_EQ(devices.MidiOutNames[20], " 20 Port");
  EXPECT_EQ(logs.Debug.Back(), " 20 Port");
}

TEST_F(MidiOutDevicesTest, FailuresAreLoggedWithTheirCode) {
  midi.CloseResult = 5;
  // A caller that pauses after a close learns that there is nothing to wait for.
  EXPECT_FALSE(CloseMidiOutForSwitch(midi, logs));
  midi.OpenResult = 3;
  OpenMidiOut(devices, midi, logs, 0);
  EXPECT_THAT(logs.Debug.ToVector(), ElementsAre("Error 5", "Open Midi Device Out error: 3"));
  midi.CloseResult = kMidiOutOk;
  midi.OpenResult = kMidiOutOk;
  ASSERT_TRUE(OpenDefaultMidiOut(midi));
  EXPECT_TRUE(CloseMidiOutForSwitch(midi, logs));
}

}  // namespace
}  // namespace sonvela
