// The MIDI devices: the input through its thread to the output and the window, the dialogs' lists.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/midi_in_callback.h"
#include "devices/midi_in_devices.h"
#include "devices/midi_in_journal.h"
#include "devices/midi_out_devices.h"
#include "devices/threaded_fake_midi_in.h"
#include "player/recording_midi_out.h"
#include "support/fake_ports.h"
#include "text/number_text.h"

namespace sonvela {
namespace {

using ::testing::ElementsAre;

class MidiInTest : public ::testing::Test {
 protected:
  MidiInTest() {
    midi.OnSend = [this](uint32_t word) { journal.Add("send " + HexText(word)); };
  }

  MidiInDevices devices;
  MidiInJournal journal;
  RecordingMidiOut midi;  // its sends in the journal, in order with what they are shown as
  RecordedMessages messages;
  ThreadedFakeMidiIn port;  // after the journal and the output: its thread stops before they go
  MidiInContext context{devices, port, midi, journal, messages};
};

// Every channel message goes through unchanged, in order, shown with its line; system messages are dropped.
TEST_F(MidiInTest, ChannelMessagesGoThroughShownAndSystemMessagesAreDropped) {
  OpenMidiInputAtStart(context);
  EXPECT_THAT(journal.Take(1), ElementsAre("line open"));
  port.Play(0x00643C92, 12);  // note on, channel 3, note 60, velocity 100
  port.Play(0x00003C92, 250);
  port.Play(0x00403C84, 1000);  // note off, channel 5, velocity 64
  for (uint32_t word : {0xF8u, 0xFEu, 0xFAu, 0x0000F2F2u, 0x00403Cu}) port.Play(word);
  port.Play(0x00407F9F, 70000);
  // Programs 1 and 48, volume 100, pitch bend centre, then key and channel pressure (which have no line).
  for (uint32_t word : {0xC0u, 0x2FC9u, 0x6407B3u, 0x4000E0u, 0x203CA0u, 0x50D1u}) port.Play(word);
  EXPECT_THAT(
      journal.Take(24),
      ElementsAre("send 643C92", "key 61 lit", "line Canale: 3 Nota: 60 Vel:100 OnOff:  1  12 ms",      //
                  "send 3C92", "key 61 clear", "line Canale: 3 Nota: 60 Vel:  0 OnOff:  0  250 ms",     //
                  "send 403C84", "key 61 clear", "line Canale: 5 Nota: 60 Vel: 64 OnOff:  0  1000 ms",  //
                  "send 407F9F", "key 128 lit", "line Canale:16 Nota:127 Vel: 64 OnOff:  1  70000 ms",  //
                  "send C0", "program 0", "line Program Change  1 192",                                 //
                  "send 2FC9", "program 47", "line Program Change  48 201",                             //
                  "send 6407B3", "line Controller Change 100", "send 4000E0", "line Bender Change 64",  //
                  "send 203CA0", "send 50D1"));
}

TEST(MidiInMonitorLineTest, DescribesTheEventsOtherThanShortMessages) {
  using enum MidiInMessageKind;
  for (const auto& [message, line] : {std::pair<MidiInMessage, const char*>{{kOpened, 0, 0}, "open"},
                                      {{kLongData, 0x1F0, 0x2A}, "longdata 1F0 2A"},
                                      {{kError, 0x3C, 300}, "Errore!!! 3C/12C"},
                                      {{kLongError, 1, 2}, "longerror"},
                                      {{static_cast<MidiInMessageKind>(99), 1, 2}, "???"}})
    EXPECT_EQ(MidiInMonitorLine(message), line);
}

TEST_F(MidiInTest, OpeningWhenOpenAndClosingWhenClosedReturnZeroAndChangeNothing) {
  port.names = {"Keys", "Pads"};
  // In turn (a braced list is evaluated in order): close and start with nothing open, open 1, open 0 while
  // 1 is open, the handle, start.
  EXPECT_THAT((std::vector{CloseMidiInput(context), StartMidiInput(context), OpenMidiInput(context, 1),
                           OpenMidiInput(context, 0), devices.MidiInHandle, StartMidiInput(context)}),
              ElementsAre(0, 0, 1, 0, 2, 1));
  port.Play(0x00643C90);
  EXPECT_THAT(journal.Take(2), ElementsAre("line open", "send 643C90"));
  EXPECT_THAT((std::vector{CloseMidiInput(context), CloseMidiInput(context)}), ElementsAre(1, 0));
  EXPECT_THAT(port.calls, ElementsAre("open 1", "start", "stop", "close"));
  EXPECT_THAT(journal.Take(3),
              ElementsAre("key 61 lit", "line Canale: 1 Nota: 60 Vel:100 OnOff:  1  0 ms", "line close"));
}

TEST_F(MidiInTest, BothStopAndCloseAreTriedAndOnlyAFailedCloseKeepsTheDevice) {
  OpenMidiInputAtStart(context);
  port.closeResult = 7;
  EXPECT_THAT((std::vector{CloseMidiInput(context), devices.MidiInHandle}), ElementsAre(0, 1));
  port.closeResult = kMidiInOk;
  port.stopResult = 7;
  // Closed though not stopped: a later open must not be refused.
  EXPECT_THAT((std::vector{CloseMidiInput(context), devices.MidiInHandle, OpenMidiInput(context, 0)}),
              ElementsAre(0, 0, 1));
  EXPECT_THAT(port.calls, ElementsAre("open 0", "start", "stop", "close", "stop", "close", "open 0"));
}

// The list: numbered entries, up to 21; without any device, start-up opens nothing and says nothing.
TEST_F(MidiInTest, TheDialogListsUpToTwentyOneEntriesAndStartUpWithoutAnyIsSilent) {
  port.names.assign(25, "Port");
  EXPECT_EQ(FillMidiInNames(devices, port), 21);
  EXPECT_EQ(devices.MidiInNames[20], " 20 Port");
  port.names = {"Keys"};
  EXPECT_EQ(FillMidiInNames(devices, port), 1);
  EXPECT_EQ(devices.MidiInNames[1], "");
  port.names.clear();
  OpenMidiInputAtStart(context);
  EXPECT_EQ(devices.MidiInHandle, 0);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_THAT(port.calls, ElementsAre("open 0"));
}

TEST_F(MidiInTest, ChoosingAnEntryClosesTellsThenOpensAndStartsIt) {
  port.names = {"Keys", "Pads"};
  OpenMidiInputAtStart(context);
  FillMidiInNames(devices, port);
  ChooseMidiInEntry(context, devices.MidiInNames[1]);
  EXPECT_THAT(messages.shown, ElementsAre("Midi in ora è :  1 Pads"));
  EXPECT_EQ(devices.MidiInDeviceId, 1);
  EXPECT_THAT(port.calls, ElementsAre("open 0", "start", "stop", "close", "open 1", "start"));
  port.Play(0x000000C0);
  EXPECT_THAT(journal.Take(5), ElementsAre("line open", "line close", "line open", "send C0", "program 0"));

  // A device that will not open leaves no input at all until another choice succeeds.
  port.openResult = 3;
  ChooseMidiInEntry(context, devices.MidiInNames[0]);
  EXPECT_EQ(devices.MidiInHandle, 0);
  EXPECT_EQ(port.calls.back(), "open 0");
}

class MidiOutDevicesTest : public ::testing::Test {
 protected:
  MidiOutDevices devices;
  RecordingMidiOut midi;
  Logs logs;
  RecordingScreen screen;  // for its message boxes
  MidiOutContext context{devices, midi, logs, screen};
};

TEST_F(MidiOutDevicesTest, TheDialogListsNumberedEntriesUpToTwentyOne) {
  midi.DeviceNames = {"Synth"};
  EXPECT_EQ(FillMidiOutNames(devices, midi, logs), 1);
  EXPECT_THAT(logs.Debug.ToVector(), ElementsAre("Midi device out found : 1", " 0 Synth"));
  midi.DeviceNames.assign(25, "Port");
  EXPECT_EQ(FillMidiOutNames(devices, midi, logs), 21);
  EXPECT_EQ(logs.Debug.Back(), " 20 Port");
}

// Start-up needs a device and the default output, and says which is missing; other failures are logged
// with their code.
TEST_F(MidiOutDevicesTest, FailuresAreShownAtStartUpAndLoggedLater) {
  midi.DeviceNames.clear();
  EXPECT_FALSE(OpenMidiOutAtStart(context));
  midi.DeviceNames = {"Synth", "Port"};
  midi.OpenResult = 4;
  EXPECT_FALSE(OpenMidiOutAtStart(context));
  EXPECT_THAT(screen.messages, ElementsAre("Midi non disponibile", "Problemi con Midi out"));
  midi.CloseResult = 5;
  // A caller that pauses after a close learns that there is nothing to wait for.
  EXPECT_FALSE(CloseMidiOutForSwitch(midi, logs));
  midi.OpenResult = 3;
  OpenMidiOut(devices, midi, logs, 0);
  EXPECT_THAT(logs.Debug.ToVector(), ElementsAre("Numero devices Midi Out: 0", "Numero devices Midi Out: 2",
                                                 "Error 5", "Open Midi Device Out error: 3"));
  midi.CloseResult = kMidiOutOk;
  midi.OpenResult = kMidiOutOk;
  ASSERT_TRUE(OpenDefaultMidiOut(midi));
  EXPECT_TRUE(CloseMidiOutForSwitch(midi, logs));
}

}  // namespace
}  // namespace sonvela
