// Real MIDI through real ports, run by jack_port_test.sh with a private JACK server up. Exit 0 passed, 1
// failed, 77 skipped. "out": PlatformMidiOut sends to a JACK input port of this process. "in": a keyboard
// client plays into Sonvela's JACK input port, and the thru comes back out of its output into a second
// client.

#include <rtmidi/RtMidi.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "devices/midi_in_devices.h"
#include "devices/midi_in_journal.h"
#include "platform/audio_libraries.h"
#include "platform/midi_out_codes.h"
#include "platform/platform_midi_in.h"
#include "platform/platform_midi_out.h"
#include "platform/system_wall_clock.h"

using namespace sonvela;

namespace {

using Bytes = std::vector<unsigned char>;

// What reaches a client's input port, in order; only a lost message makes a wait run to its bound.
struct Received {
  explicit Received(const std::string& client) : port(RtMidi::UNIX_JACK, client) {
    port.setCallback(
        [](double /*deltaTime*/, Bytes* message, void* data) {
          auto& self = *static_cast<Received*>(data);
          std::lock_guard lock(self.mutex);
          self.messages.push_back(*message);
          self.changed.notify_all();
        },
        this);
    port.ignoreTypes(false, false, false);
    port.openVirtualPort("in");
  }
  std::vector<Bytes> WaitFor(size_t count) {
    std::unique_lock lock(mutex);
    changed.wait_for(lock, std::chrono::seconds(20), [&] { return messages.size() >= count; });
    return messages;
  }
  void Clear() {
    std::lock_guard lock(mutex);
    messages.clear();
  }
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<Bytes> messages;
  RtMidiIn port;  // last: its thread stops before the rest goes
};

// The first device from `first` on whose name holds the client's name, -1 for none.
int DeviceNamed(auto& ports, const std::string& client, int first) {
  for (int device = first; device < ports.DeviceCount(); ++device)
    if (ports.DeviceName(device).find(client) != std::string::npos) return device;
  return -1;
}

// Prints "FAIL: what" and the messages when not `ok`; returns `ok`.
bool Check(bool ok, const std::string& what, const std::vector<Bytes>& messages = {}) {
  if (ok) return true;
  std::printf("FAIL: %s\n", what.c_str());
  for (const Bytes& message : messages) {
    for (unsigned char byte : message) std::printf("%02X ", byte);
    std::printf("\n");
  }
  return false;
}

const auto Log = [](const std::string& line) { std::fprintf(stderr, "log: %s\n", line.c_str()); };

struct Messages : MessageBoxes {
  void ShowMessage(std::string_view) override {}
};

// Sonvela's output, its synth silent. Made after PrepareAudioLibraries, before any thread starts.
PlatformMidiOut SilentOutput() {
  SynthOptions silent;
  silent.audioDrivers = {"none"};
  return PlatformMidiOut(silent, Log);
}

int CheckOutput() {
  Received received("SonvelaCheckIn");
  PlatformMidiOut out = SilentOutput();
  if (out.PortSystem() != "JACK") {
    std::printf("SKIP: the MIDI ports come from '%s', not JACK\n", out.PortSystem().c_str());
    return 77;
  }
  const int device = DeviceNamed(out, "SonvelaCheckIn", 1);  // 0 is the synth
  // A song's end on every channel, and what else a short message carries, each in its own length; running
  // status (0x1E) and SysEx reach no port.
  std::vector<uint32_t> words = {0x000513C5, 0x0040001E, 0x004000E0, 0x00000AF0, 0x000000F8};
  std::vector<Bytes> expected = {{0xC5, 0x13}, {0xE0, 0x00, 0x40}, {0xF8}};
  const auto add = [&](uint32_t word) {
    words.push_back(word);
    expected.push_back({static_cast<unsigned char>(word), static_cast<unsigned char>(word >> 8),
                        static_cast<unsigned char>(word >> 16)});
  };
  for (uint32_t channel = 0; channel < 16; ++channel) {
    for (uint32_t key = 36; key < 44; ++key) add(0x640090 | channel | key << 8);
    for (uint32_t key = 36; key < 44; ++key) add(0x80 | channel | key << 8);
  }
  for (uint32_t channel = 0; channel < 16; ++channel) add(0x7BB0 | channel);
  // Meanwhile a thread like the MIDI input's thru sends as soon as it sees a close under way: its send must
  // return while that close still waits for the server's cycles (1.3 ms each), not once the close is done.
  std::atomic<int> closingRound = -1, sentRound = -1, sentDuringClose = 0;
  std::atomic<double> sentMs = 0;
  std::jthread thru([&](const std::stop_token& stop) {
    for (int round = -1; !stop.stop_requested(); std::this_thread::yield()) {
      if ((round = closingRound) < 0 || round == sentRound || out.OpenDeviceId() != -1) continue;
      out.Send(0x0040001E);  // reaches no port
      sentMs = SteadyNowMs();
      sentRound = round;
    }
  });
  constexpr int kRounds = 25;
  for (int round = 0; round < kRounds; ++round) {
    received.Clear();
    // Opened twice, as Play reopens the output that was opened to check it. Sent at once after Open (it must
    // not return before the connection carries messages), closed at once after (Close must not return
    // before they are delivered).
    if (!Check(device >= 0 && out.Open(device) == kMidiOutOk && out.Open(device) == kMidiOutOk &&
                   out.OpenDeviceId() == device,
               "the receiver's port would not open"))
      return 1;
    for (uint32_t word : words) out.Send(word);
    closingRound = round;
    const int closed = out.Close();
    if (sentRound == round && SteadyNowMs() - sentMs > 1) ++sentDuringClose;
    closingRound = -1;
    const std::vector<Bytes> got = received.WaitFor(expected.size());
    if (!Check(closed == kMidiOutOk && got == expected,
               "round " + std::to_string(round) + ": a failed close, or lost or reordered messages:", got))
      return 1;
  }
  // However busy the machine, the thread gets its turn during one of the closes' waits of a few cycles.
  return Check(sentDuringClose > 0, "sends were held up until a close had waited for the server") ? 0 : 1;
}

int CheckInput() {
  RtMidiOut keys(RtMidi::UNIX_JACK, "SonvelaCheckKeys");
  keys.openVirtualPort("keys");
  Received received("SonvelaCheckThru");
  PlatformMidiOut out = SilentOutput();
  PlatformMidiIn in(Log);
  // Listing connects again when the first try found no server (a busy server can be slow to answer).
  in.DeviceCount();
  out.DeviceCount();
  if (in.PortSystem() != "JACK" || out.PortSystem() != "JACK") {
    std::printf("SKIP: the MIDI ports come from '%s' (input) and '%s' (output), not JACK\n",
                in.PortSystem().c_str(), out.PortSystem().c_str());
    return 77;
  }
  MidiInDevices devices;
  MidiInJournal shower;
  Messages messages;
  const MidiInContext context{devices, in, out, shower, messages};
  const int inDevice = DeviceNamed(in, "SonvelaCheckKeys", 0);
  if (!Check(out.Open(DeviceNamed(out, "SonvelaCheckThru", 1)) == kMidiOutOk && inDevice >= 0 &&
                 OpenMidiInput(context, inDevice) == 1 && StartMidiInput(context) == 1,
             "the thru client's and the keyboard client's ports would not open and start"))
    return 1;
  // Played at once after the open: the open must not return before the connection carries messages.
  // System messages do not pass: one that did would be among the first seven. What the window is shown is
  // midi_devices_test.cpp's: the same callback.
  const std::vector<Bytes> expected = {{0x92, 0x3C, 0x64}, {0x92, 0x3C, 0x00}, {0x84, 0x3C, 0x40},
                                       {0xC0, 0x00},       {0xB0, 0x07, 0x64}, {0xE0, 0x00, 0x40},
                                       {0x9F, 0x7F, 0x01}};
  for (const Bytes& message : {expected[0], Bytes{0xF8}, Bytes{0xFE}}) keys.sendMessage(&message);
  for (size_t i = 1; i < expected.size(); ++i) keys.sendMessage(&expected[i]);
  const std::vector<Bytes> got = received.WaitFor(expected.size());
  bool passed = Check(got == expected, "expected the channel messages only, unchanged, in order:", got);
  passed &= Check(CloseMidiInput(context) == 1, "closing the input");
  // Closing while the keyboard plays on: once Close has returned nothing reaches the callback.
  std::atomic<bool> closed = false;
  std::atomic<int> delivered = 0, lateCalls = 0;
  const auto watch = [&](const MidiInMessage& message) {
    if (message.kind != MidiInMessageKind::kData) return;
    ++delivered;
    if (closed) ++lateCalls;
  };
  if (!Check(in.Open(inDevice, watch) == kMidiInOk && in.Start() == kMidiInOk,
             "reopening the keyboard's port"))
    return 1;
  std::jthread player([&](const std::stop_token& playing) {
    const Bytes note = {0x90, 0x40, 0x40};
    for (; !playing.stop_requested(); std::this_thread::sleep_for(std::chrono::microseconds(200)))
      keys.sendMessage(&note);
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (delivered < 20 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  in.Close();
  closed = true;
  // A note through the output that has come back means the graph has run on after the close.
  received.Clear();
  out.Send(0x0001109F);
  const bool graphRanOn = received.WaitFor(1) == std::vector<Bytes>{{0x9F, 0x10, 0x01}};
  player.request_stop();
  player.join();
  passed &= Check(
      delivered >= 20 && graphRanOn,
      std::to_string(delivered) + " notes reached the input, marker back: " + std::to_string(graphRanOn));
  passed &= Check(lateCalls == 0, std::to_string(lateCalls) + " messages reached the callback after Close");
  return Check(out.Close() == kMidiOutOk, "closing the output") && passed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  PrepareAudioLibraries();  // before any thread starts: it sets the environment the libraries read
  if (argc == 2 && std::strcmp(argv[1], "out") == 0) return CheckOutput();
  if (argc == 2 && std::strcmp(argv[1], "in") == 0) return CheckInput();
  std::printf("Use: jack_port_check out|in\n");
  return 2;
}
