// Sends through PlatformMidiOut to a JACK MIDI input port of this process and checks what arrives.
// Run by jack_port_test.sh with a JACK server up. Exit 0 passed, 1 failed, 77 skipped.

#include <rtmidi/RtMidi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform_midi_out.h"

int main() {
  using namespace sonvela;
  using Bytes = std::vector<unsigned char>;
  const std::string receiverName = "SonvelaCheckIn";
  RtMidiIn receiver(RtMidi::UNIX_JACK, receiverName);
  receiver.openVirtualPort("in");
  receiver.ignoreTypes(false, false, false);

  SynthOptions silent;
  silent.audioDrivers = {"none"};
  PlatformMidiOut out(silent,
                      [](const std::string& line) { std::fprintf(stderr, "log: %s\n", line.c_str()); });
  if (out.PortSystem() != "JACK") {
    std::printf("SKIP: the MIDI ports come from '%s', not JACK\n", out.PortSystem().c_str());
    return 77;
  }
  int device = -1;
  for (int i = 1; i < out.DeviceCount(); ++i) {
    if (out.DeviceName(i).find(receiverName) != std::string::npos) device = i;
  }
  if (device < 0 || out.Open(device) != kMidiOutOk || out.OpenDeviceId() != device) {
    std::printf("FAIL: the receiver's port (device %d) could not be opened\n", device);
    return 1;
  }

  const std::vector<uint32_t> words = {
      0x00643C90,  // note on, channel 1
      0x000513C5,  // program change, channel 6: two bytes on the wire
      0x0040001E,  // running status: not sendable, dropped
      0x004000E0,  // pitch bend centre
      0x00000AF0,  // SysEx cannot travel as a short message: dropped
      0x00003C80,  // note off
      0x000000F8,  // timing clock: one byte
  };
  const std::vector<Bytes> expected = {
      {0x90, 0x3C, 0x64}, {0xC5, 0x13}, {0xE0, 0x00, 0x40}, {0x80, 0x3C, 0x00}, {0xF8}};
  // Sent at once after Open: Open must not return before the connection carries messages.
  for (uint32_t word : words) out.Send(word);

  std::vector<Bytes> received;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (received.size() < expected.size() && std::chrono::steady_clock::now() < deadline) {
    Bytes message;
    receiver.getMessage(&message);
    if (!message.empty()) received.push_back(message);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // Anything extra (a dropped word that got through) arrives within a few periods.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  for (Bytes message; receiver.getMessage(&message), !message.empty();) received.push_back(message);

  for (const Bytes& message : received) {
    for (unsigned char byte : message) std::printf("%02X ", byte);
    std::printf("\n");
  }
  if (received != expected || out.Close() != kMidiOutOk) {
    std::printf("FAIL: expected the 5 sendable messages, in order, and a clean Close\n");
    return 1;
  }
  return 0;
}
