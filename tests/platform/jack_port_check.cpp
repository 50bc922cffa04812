// Sends through PlatformMidiOut to a JACK MIDI input port of this process and checks what arrives.
// Run by jack_port_test.sh with a JACK server up. Exit 0 passed, 1 failed, 77 skipped.

#include <rtmidi/RtMidi.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "jack_received.h"
#include "platform/audio_libraries.h"
#include "platform/midi_out_codes.h"
#include "platform/platform_midi_out.h"

using sonvela::test::Bytes;
using sonvela::test::PrintMessages;
using sonvela::test::Received;

int main() {
  // Before any thread starts: it sets the environment the audio libraries read.
  sonvela::PrepareAudioLibraries();
  using namespace sonvela;
  const std::string receiverName = "SonvelaCheckIn";
  Received received;
  RtMidiIn receiver(RtMidi::UNIX_JACK, receiverName);
  receiver.setCallback(&Received::OnMessage, &received);
  receiver.ignoreTypes(false, false, false);
  receiver.openVirtualPort("in");

  SynthOptions silent;
  silent.audioDrivers = {"none"};
  PlatformMidiOut out(silent,
                      [](const std::string& line) { std::fprintf(stderr, "log: %s\n", line.c_str()); });
  if (out.PortSystem() != "JACK") {
    std::printf("SKIP: the MIDI ports come from '%s', not JACK\n", out.PortSystem().c_str());
    return 77;
  }
  const int device = sonvela::test::DeviceNamed(out, receiverName, 1);  // 0 is the synth
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
  // Sent at once after Open (Open must not return before the connection carries messages) and closed at
  // once after (Close must not return before they are delivered). A dropped word that got through would
  // show among the first five.
  for (uint32_t word : words) out.Send(word);
  if (out.Close() != kMidiOutOk || received.WaitFor(expected.size()) != expected) {
    std::printf("FAIL: expected the 5 sendable messages, in order, and a clean Close; received:\n");
    PrintMessages(received.WaitFor(0), 0);
    return 1;
  }

  // Closing right after a burst, again and again: every Note Off and All Notes Off must arrive.
  std::vector<Bytes> sent;
  for (int channel = 0; channel < 16; ++channel) {
    const auto status = static_cast<unsigned char>(channel);
    for (unsigned char key = 36; key < 44; ++key)
      sent.push_back({static_cast<unsigned char>(0x90 | status), key, 100});
    for (unsigned char key = 36; key < 44; ++key)
      sent.push_back({static_cast<unsigned char>(0x80 | status), key, 0});
  }
  for (int channel = 0; channel < 16; ++channel)
    sent.push_back({static_cast<unsigned char>(0xB0 | channel), 123, 0});
  // Meanwhile a thread like the MIDI input's thru sends as soon as it sees a close under way: its send must
  // return while that close still waits for the server's cycles, not when it is done. The running-status
  // word takes the send's path and reaches no port.
  std::atomic<int> closingRound = -1;
  std::atomic<int> sentInRound = -1;
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
    if (out.Open(device) != kMidiOutOk || out.Open(device) != kMidiOutOk) {
      std::printf("FAIL: round %d: the port could not be opened again\n", round);
      return 1;
    }
    for (const Bytes& message : sent) out.Send(message[0] | (message[1] << 8) | (message[2] << 16));
    closingRound = round;
    out.Close();
    if (sentInRound == round) ++sentDuringClose;
    closingRound = -1;
    const std::vector<Bytes> got = received.WaitFor(sent.size());
    if (got != sent) {
      size_t same = 0;
      while (same < got.size() && same < sent.size() && got[same] == sent[same]) ++same;
      std::printf("FAIL: round %d: %zu of %zu messages arrived in order, then:\n", round, same, sent.size());
      PrintMessages(got, same);
      return 1;
    }
  }
  thru.request_stop();
  thru.join();
  // However busy the machine, the thread gets its turn during one of the closes' waits of a few cycles.
  if (sentDuringClose == 0) {
    std::printf("FAIL: sends were held up until the close had waited for the JACK server\n");
    return 1;
  }
  std::printf("%d rounds of %zu messages each arrived in full, sends went through during %d closes\n",
              kRounds, sent.size(), sentDuringClose);
  return 0;
}
