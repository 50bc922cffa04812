// MIDI input through real ports: a keyboard client plays into Sonvela's JACK input port, and the thru comes
// back out of Sonvela's output port into a second client. Run by jack_port_test.sh with a JACK server up.
// Exit 0 passed, 1 failed, 77 skipped.

#include <atomic>
#include <thread>

#include "devices/midi_in_devices.h"
#include "devices/midi_in_journal.h"
#include "jack_received.h"
#include "platform/platform_midi_in.h"

using namespace sonvela;
using test::Bytes;
using test::Check;

namespace {
struct Messages : MessageBoxes {
  void ShowMessage(std::string_view) override {}
};
}  // namespace

int main() {
  PrepareAudioLibraries();  // before any thread starts: it sets the environment the libraries read
  RtMidiOut keys(RtMidi::UNIX_JACK, "SonvelaCheckKeys");
  keys.openVirtualPort("keys");
  test::Received received("SonvelaCheckThru");
  PlatformMidiOut out = test::SilentOutput();
  PlatformMidiIn in(test::Log);
  // Listing connects again when the first try found no server (a busy server can be slow to answer).
  in.DeviceCount();
  out.DeviceCount();
  if (in.PortSystem() != "JACK" || out.PortSystem() != "JACK") {
    std::printf("SKIP: the MIDI ports come from '%s' (input) and '%s' (output), not JACK\n",
                in.PortSystem().c_str(), out.PortSystem().c_str());
    return 77;
  }
  const int outDevice = test::DeviceNamed(out, "SonvelaCheckThru", 1);  // 0 is the synth
  if (!Check(outDevice >= 0 && out.Open(outDevice) == kMidiOutOk, "the thru client's port would not open"))
    return 1;
  MidiInDevices devices;
  MidiInJournal shower;
  Messages messages;
  const MidiInContext context{devices, in, out, shower, messages};
  const int inDevice = test::DeviceNamed(in, "SonvelaCheckKeys", 0);
  if (!Check(inDevice >= 0 && OpenMidiInput(context, inDevice) == 1 && StartMidiInput(context) == 1,
             "the keyboard client's port would not open and start"))
    return 1;
  bool passed = true;

  // Played at once after the open: the open must not return before the connection carries messages.
  const std::vector<Bytes> expected = {{0x92, 0x3C, 0x64}, {0x92, 0x3C, 0x00}, {0x84, 0x3C, 0x40},
                                       {0xC0, 0x00},       {0xB0, 0x07, 0x64}, {0xE0, 0x00, 0x40},
                                       {0x9F, 0x7F, 0x01}};
  for (const Bytes& message : expected) {
    keys.sendMessage(&message);
    if (message == expected.front()) {  // system messages do not pass
      for (const Bytes& system : {Bytes{0xF8}, Bytes{0xFE}}) keys.sendMessage(&system);
    }
  }
  // In order, so once the last has come anything that should not have passed would be there too.
  const std::vector<Bytes> thruMessages = received.Until(expected.back());
  passed &= Check(thruMessages == expected,
                  "expected the channel messages only, unchanged, in order:", thruMessages);
  // open; note on: key, line; note on velocity 0 and note off: key, line; program: program, line;
  // controller: line; bender: line; the last note on: key, line.
  const std::vector<std::string> shown = shower.Take(13);
  std::vector<std::string> shownOther;
  for (const std::string& entry : shown) {
    if (!entry.starts_with("line ")) shownOther.push_back(entry);
  }
  const std::vector<std::string> expectedShown = {"key 61 lit", "key 61 clear", "key 61 clear", "program 0",
                                                  "key 128 lit"};
  if (!Check(shown.size() == 13 && shown.front() == "line open" && shownOther == expectedShown,
             "the shower was not asked for the two keys and the program:")) {
    for (const std::string& entry : shown) std::printf("  %s\n", entry.c_str());
    passed = false;
  }

  // Closing while the keyboard plays on: once Close has returned nothing reaches the callback.
  passed &= Check(CloseMidiInput(context) == 1, "closing the input");
  std::atomic<bool> closed = false;
  std::atomic<int> delivered = 0, lateCalls = 0;
  const MidiIn::Callback watch = [&](const MidiInMessage& message) {
    if (message.kind != MidiInMessageKind::kData) return;
    ++delivered;
    if (closed) ++lateCalls;
  };
  if (!Check(in.Open(inDevice, watch) == kMidiInOk && in.Start() == kMidiInOk,
             "reopening the keyboard's port"))
    return 1;
  std::atomic<bool> playing = true;
  std::thread player([&] {
    const Bytes note = {0x90, 0x40, 0x40};
    for (; playing; std::this_thread::sleep_for(std::chrono::microseconds(200))) keys.sendMessage(&note);
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (delivered < 20 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  in.Close();
  closed = true;
  // A note through the output that has come back means the graph has run on after the close.
  received.Clear();
  out.Send(0x0001109F);
  const bool graphRanOn = received.Until({0x9F, 0x10, 0x01}) == std::vector<Bytes>{{0x9F, 0x10, 0x01}};
  playing = false;
  player.join();
  passed &= Check(delivered >= 20 && graphRanOn, std::to_string(delivered) +
                                                     " notes reached the reopened input, "
                                                     "marker back: " +
                                                     std::to_string(graphRanOn));
  passed &= Check(lateCalls == 0, std::to_string(lateCalls) + " messages reached the callback after Close");
  passed &= Check(out.Close() == kMidiOutOk, "closing the output");
  return passed ? 0 : 1;
}
