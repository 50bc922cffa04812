// Sends through PlatformMidiOut to a JACK MIDI input port of this process and checks what arrives.
// Run by jack_port_test.sh with a JACK server up. Exit 0 passed, 1 failed, 77 skipped.

#include <atomic>
#include <thread>

#include "jack_received.h"
#include "platform/midi_out_codes.h"

using namespace sonvela;
using test::Bytes;
using test::Check;

int main() {
  PrepareAudioLibraries();  // before any thread starts: it sets the environment the libraries read
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
