#pragma once
// `play --port N`: playback always opens the default output, so for this run device N is made the default.
// Everything else passes through to the real output.

#include "player/midi_out.h"

namespace sonvela {

class RoutedMidiOut : public MidiOut {
 public:
  RoutedMidiOut(MidiOut& output, int device) : output_(output), device_(device) {}

  int DeviceCount() override { return output_.DeviceCount(); }
  std::string DeviceName(int device) override { return output_.DeviceName(device); }
  int Open(int device) override { return output_.Open(device == kDefaultMidiOut ? device_ : device); }
  int Close() override { return output_.Close(); }
  int OpenDeviceId() override { return output_.OpenDeviceId(); }
  std::string ErrorText(int code) override { return output_.ErrorText(code); }
  void Send(uint32_t message) override { output_.Send(message); }
  void SendAt(uint32_t message, double dueMs) override { output_.SendAt(message, dueMs); }
  void SongSentUpTo(double dueMs) override { output_.SongSentUpTo(dueMs); }

 private:
  MidiOut& output_;
  int device_;
};

}  // namespace sonvela
