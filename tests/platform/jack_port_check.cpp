// Real MIDI through real ports, run by jack_port_test.sh with a private JACK server up. Exit 0 passed, 1
// failed, 77 skipped. "out": PlatformMidiOut sends to a JACK input port of this process. "in": a keyboard
// client plays into Sonvela's JACK input port, and the thru comes back out of its output into a second
// client.

#include <atomic>
#include <cstring>
#include <thread>

#include "devices/midi_in_devices.h"
#include "devices/midi_in_journal.h"
#include "jack_received.h"
#include "platform/midi_out_codes.h"
#include "platform/platform_midi_in.h"

using namespace sonvela;
using test::Bytes;
using test::Check;

namespace {

struct Messages : MessageBoxes {
  void ShowMessage(std::string_view) override {}
};

int CheckOutput() {
  test::Received received("SonvelaCheckIn");
  PlatformMidiOut out = test::SilentOutput();
  if (out.PortSystem() != "JACK") {
    std::printf("SKIP: the MIDI ports come from '%s', not JACK\n", out.PortSystem().c_str());
    return 77;
  }
  const int device = test::DeviceNamed(out, "SonvelaCheckIn", 1);  // 0 is the synth
  if (!Check(device >= 0 && out.Open(device) == kMidiOutOk && out.OpenDeviceId() == device,
             "the receiver's port could not be opened"))
    return 1;
  // Sent at once after Open (it must not return before the connection carries messages), closed at once
  // after (Close must not return before they are delivered). Running status (0x1E) and SysEx are dropped.
  for (uint32_t word : {0x00643C90, 0x000513C5, 0x0040001E, 0x004000E0, 0x00000AF0, 0x00003C80, 0x000000F8})
    out.Send(word);
  const std::vector<Bytes> expected = {
      {0x90, 0x3C, 0x64}, {0xC5, 0x13}, {0xE0, 0x00, 0x40}, {0x80, 0x3C, 0x00}, {0xF8}};
  if (!Check(out.Close() == kMidiOutOk && received.WaitFor(expected.size()) == expected,
             "expected the 5 sendable messages, in order, and a clean Close; received:", received.WaitFor(0)))
    return 1;

  // Closing right after a burst, again and again: every Note Off and All Notes Off must arrive.
  std::vector<Bytes> sent;
  for (unsigned char channel = 0; channel < 16; ++channel) {
    for (unsigned char key = 36; key < 44; ++key)
      sent.push_back({static_cast<unsigned char>(0x90 | channel), key, 100});
    for (unsigned char key = 36; key < 44; ++key)
      sent.push_back({static_cast<unsigned char>(0x80 | channel), key, 0});
  }
  for (unsigned char channel = 0; channel < 16; ++channel)
    sent.push_back({static_cast<unsigned char>(0xB0 | channel), 123, 0});
  // Meanwhile a thread like the MIDI input's thru sends as soon as it sees a close under way: its send must
  // return while that close still waits for the server's cycles. The running-status word reaches no port.
  std::atomic<int> closingRound = -1, sentInRound = -1;
  std::jthread thru([&](const std::stop_token& stop) {
    while (!stop.stop_requested()) {
      const int round = closingRound;
      if (round < 0 || round == sentInRound || out.OpenDeviceId() != -1) {
        std::this_thread::yield();
        continue;
      }
      out.Send(0x0040001E);
      sentInRound = round;
    }
  });
  int sentDuringClose = 0;
  constexpr int kRounds = 25;
  for (int round = 0; round < kRounds; ++round) {
    received.Clear();
    // Opened twice, as Play reopens the output that was opened to check it.
    if (!Check(out.Open(device) == kMidiOutOk && out.Open(device) == kMidiOutOk,
               "the port would not open again"))
      return 1;
    for (const Bytes& message : sent) out.Send(message[0] | (message[1] << 8) | (message[2] << 16));
    closingRound = round;
    out.Close();
    if (sentInRound == round) ++sentDuringClose;
    closingRound = -1;
    const std::vector<Bytes> got = received.WaitFor(sent.size());
    size_t same = 0;
    while (same < got.size() && same < sent.size() && got[same] == sent[same]) ++same;
    if (!Check(got == sent,
               "round " + std::to_string(round) + ": " + std::to_string(same) + " of " +
                   std::to_string(sent.size()) + " messages arrived in order, then:",
               got, same))
      return 1;
  }
  thru.request_stop();
  thru.join();
  // However busy the machine, the thread gets its turn during one of the closes' waits of a few cycles.
  if (!Check(sentDuringClose > 0, "sends were held up until the close had waited for the JACK server"))
    return 1;
  std::printf("%d rounds of %zu messages arrived in full, sends went through during %d closes\n", kRounds,
              sent.size(), sentDuringClose);
  return 0;
}

int CheckInput() {
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
  // What the window is shown of them is midi_devices_test.cpp's: the same callback, whatever the port.
  passed &= Check(thruMessages == expected,
                  "expected the channel messages only, unchanged, in order:", thruMessages);
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

}  // namespace

int main(int argc, char** argv) {
  PrepareAudioLibraries();  // before any thread starts: it sets the environment the libraries read
  if (argc == 2 && std::strcmp(argv[1], "out") == 0) return CheckOutput();
  if (argc == 2 && std::strcmp(argv[1], "in") == 0) return CheckInput();
  std::printf("Use: jack_port_check out|in\n");
  return 2;
}
