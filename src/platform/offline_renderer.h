#pragma once
// Renders short messages through FluidSynth and the peak limiter into a 16-bit stereo 44100 Hz WAV file,
// faster than real time.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/log_sink.h"
#include "platform/peak_limiter.h"
#include "platform/synth_engine.h"
#include "platform/timed_synth.h"
#include "platform/wav_writer.h"
#include "player/midi_out.h"

namespace sonvela {

// Also a MidiOut with the one device 0 (open from the start), so the transport can send to it directly.
// Use: Begin(path); then repeatedly Send(...) the messages due now and Render(ms); finally Finish().
class OfflineRenderer : public MidiOut {
 public:
  // `soundFont` as for ChooseSoundFont (empty: the Debian GM SoundFont).
  // `maxFrames`: where the WAV file stops growing (the format's own limit unless a test sets less).
  explicit OfflineRenderer(const std::string& soundFont = {}, LogSink log = {},
                           int64_t maxFrames = WavWriter::kMaxFrames);
  ~OfflineRenderer() override;

  // Loads the SoundFont and starts the WAV file; false (with a log line) when either fails.
  bool Begin(const std::string& wavPath);
  // Renders the next `ms` of audio. Fractions add up: 100 calls of 10 ms give exactly 1 s of frames.
  bool Render(double ms);
  // Writes the header's sizes and closes the file; false when writing failed at any point.
  bool Finish();
  int64_t FramesWritten() const { return writer_.Frames(); }
  // The WAV file holds all it can: rendering more adds nothing.
  bool Full() const { return writer_.Full(); }

  int DeviceCount() override { return 1; }
  std::string DeviceName(int device) override;
  int Open(int device) override;
  int Close() override;
  int OpenDeviceId() override { return open_ ? 0 : -1; }
  std::string ErrorText(int code) override;
  // Renders happen on the caller's thread, so unlike the real outputs this one is meant for one thread.
  // Send plays at the frame rendered up to now; SendAt at the frame of its due time, the simulated clock's
  // 0 ms being frame 0, as playback's outputs place it (without their latency).
  void Send(uint32_t message) override;
  void SendAt(uint32_t message, double dueMs) override;

 private:
  SynthEngine engine_;
  TimedSynth timed_{engine_, FrameClock::Fixed(kSynthSampleRate, 0)};
  std::string soundFont_;
  bool soundFontLoaded_ = false;
  bool open_ = true;
  WavWriter writer_;
  PeakLimiter limiter_{kSynthSampleRate};
  double renderedMs_ = 0;
  std::vector<float> left_;
  std::vector<float> right_;
};

}  // namespace sonvela
