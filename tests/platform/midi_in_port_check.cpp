// MIDI input through real ports: a keyboard client plays into Sonvela's JACK input port, and the thru comes
// back out of Sonvela's output port into a second client. Run by jack_port_test.sh with a JACK server up.
// Exit 0 passed, 1 failed, 77 skipped.

#include <rtmidi/RtMidi.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "devices/midi_in_devices.h"
#include "devices/midi_in_journal.h"
#include "jack_received.h"
#include "platform/audio_libraries.h"
#include "platform/platform_midi_in.h"
#include "platform/platform_midi_out.h"

namespace {

using namespace sonvela;

using test::Bytes;
using test::Received;

struct Messages : MessageBoxes {
  void ShowMessage(std::string_view) override {}
};

void Print(const char* what, const std::vector<Bytes>& messages) {
  std::printf("%s:\n", what);
  test::PrintMessages(messages);
}

}  // namespace

int main() {
  // Before any thread starts: it sets the environment the audio libraries read.
  sonvela::PrepareAudioLibraries();
  const std::string keysName = "SonvelaCheckKeys";
  const std::string thruName = "SonvelaCheckThru";
  RtMidiOut keys(RtMidi::UNIX_JACK, keysName);
  keys.openVirtualPort("keys");
  // Made before the client whose process thread will use it.
  Received received;
  RtMidiIn thru(RtMidi::UNIX_JACK, thruName);
  thru.ignoreTypes(false, false, false);
  thru.setCallback(&Received::OnMessage, &received);
  thru.openVirtualPort("thru");

  auto log = [](const std::string& line) { std::fprintf(stderr, "log: %s\n", line.c_str()); };
  SynthOptions silent;
  silent.audioDrivers = {"none"};
  PlatformMidiOut out(silent, log);
  PlatformMidiIn in(log);
  // Listing connects again when the first try found no server (a busy server can be slow to answer).
  in.DeviceCount();
  out.DeviceCount();
  if (in.PortSystem() != "JACK" || out.PortSystem() != "JACK") {
    std::printf("SKIP: the MIDI ports come from '%s' (input) and '%s' (output), not JACK\n",
                in.PortSystem().c_str(), out.PortSystem().c_str());
    return 77;
  }
  const int outDevice = test::DeviceNamed(out, thruName, 1);  // 0 is the synth
  if (outDevice < 0 || out.Open(outDevice) != kMidiOutOk) {
    std::printf("FAIL: the thru client's port (device %d) could not be opened\n", outDevice);
    return 1;
  }

  MidiInDevices devices;
  MidiInJournal shower;
  Messages messages;
  const MidiInContext context{devices, in, out, shower, messages};
  const int inDevice = test::DeviceNamed(in, keysName, 0);
  if (inDevice < 0 || OpenMidiInput(context, inDevice) != 1 || StartMidiInput(context) != 1) {
    std::printf("FAIL: the keyboard client's port (device %d) could not be opened and started\n", inDevice);
    return 1;
  }
  int failures = 0;

  // Played at once after the open: the open must not return before the connection carries messages.
  const std::vector<Bytes> played = {{0x92, 0x3C, 0x64},
                                     {0xF8},
                                     {0xFE},
                                     {0x92, 0x3C, 0x00},
                                     {0x84, 0x3C, 0x40},
                                     {0xC0, 0x00},
                                     {0xB0, 0x07, 0x64},
                                     {0xE0, 0x00, 0x40},
                                     {0x9F, 0x7F, 0x01}};
  const std::vector<Bytes> expected = {{0x92, 0x3C, 0x64}, {0x92, 0x3C, 0x00}, {0x84, 0x3C, 0x40},
                                       {0xC0, 0x00},       {0xB0, 0x07, 0x64}, {0xE0, 0x00, 0x40},
                                       {0x9F, 0x7F, 0x01}};
  for (const Bytes& message : played) keys.sendMessage(&message);
  // In order, so once the last has come anything that should not have passed would be there too.
  const std::vector<Bytes> thruMessages = received.Until(expected.back());
  if (thruMessages != expected) {
    Print("FAIL: expected the channel messages only, unchanged and in order; received", thruMessages);
    ++failures;
  }
  // open; note on: key, line; note on velocity 0 and note off: key, line; program: program, line;
  // controller: line; bender: line; the last note on: key, line.
  std::vector<std::string> shown = shower.Take(13);
  std::vector<std::string> shownOther;
  for (const std::string& entry : shown) {
    if (entry.rfind("line ", 0) != 0) shownOther.push_back(entry);
  }
  const std::vector<std::string> expectedShown = {"key 61 lit", "key 61 clear", "key 61 clear", "program 0",
                                                  "key 128 lit"};
  if (shown.size() != 13 || shown.front() != "line open" || shownOther != expectedShown) {
    std::printf("FAIL: the shower was not asked for the two keys and the program:\n");
    for (const std::string& entry : shown) std::printf("  %s\n", entry.c_str());
    ++failures;
  }

  // Closing while the keyboard plays on: once Close has returned nothing reaches the callback.
  std::atomic<bool> closed = false;
  std::atomic<int> lateCalls = 0;
  if (CloseMidiInput(context) != 1) {
    std::printf("FAIL: closing the input\n");
    ++failures;
  }
  std::atomic<int> delivered = 0;
  const MidiIn::Callback watch = [&](const MidiInMessage& message) {
    if (message.kind != MidiInMessageKind::kData) return;
    ++delivered;
    if (closed) ++lateCalls;
  };
  if (in.Open(inDevice, watch) != kMidiInOk || in.Start() != kMidiInOk) {
    std::printf("FAIL: reopening the keyboard's port\n");
    return 1;
  }
  std::atomic<bool> playing = true;
  std::thread player([&] {
    const Bytes note = {0x90, 0x40, 0x40};
    while (playing) {
      keys.sendMessage(&note);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (delivered < 20 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  in.Close();
  closed = true;
  // A note through the output that has come back means the graph has run on after the close.
  received.Clear();
  const Bytes marker = {0x9F, 0x10, 0x01};
  out.Send(0x0001109F);
  const bool graphRanOn = received.Until(marker) == std::vector<Bytes>{marker};
  playing = false;
  player.join();
  if (delivered < 20 || !graphRanOn) {
    std::printf("FAIL: %d notes reached the reopened input, marker back: %d\n", delivered.load(), graphRanOn);
    ++failures;
  }
  if (lateCalls != 0) {
    std::printf("FAIL: %d messages reached the callback after Close returned\n", lateCalls.load());
    ++failures;
  }
  if (out.Close() != kMidiOutOk) ++failures;
  return failures == 0 ? 0 : 1;
}
