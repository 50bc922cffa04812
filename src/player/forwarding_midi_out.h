#pragma once
// An output in front of another that passes everything through: the adaptors (the song's stamping, a
// routed or named default, the captures' timed sender) override only what they change.

#include <cstdint>
#include <string>

#include "player/midi_out.h"

namespace sonvela {

class ForwardingMidiOut : public MidiOut {
 public:
  explicit ForwardingMidiOut(MidiOut& output) : output_(output) {}

  int DeviceCount() override { return output_.DeviceCount(); }
  std::string DeviceName(int device) override { return output_.DeviceName(device); }
  int Open(int device) override { return output_.Open(device); }
  int Close() override { return output_.Close(); }
  int OpenDeviceId() override { return output_.OpenDeviceId(); }
  std::string ErrorText(int code) override { return output_.ErrorText(code); }
  void Send(uint32_t message) override { output_.Send(message); }
  void SendAt(uint32_t message, double dueMs) override { output_.SendAt(message, dueMs); }
  void SongSentUpTo(double dueMs) override { output_.SongSentUpTo(dueMs); }

 protected:
  MidiOut& output_;
};

}  // namespace sonvela
