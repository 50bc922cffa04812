#include "platform/offline_renderer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/midi_out_codes.h"

namespace sonvela {

namespace {

constexpr int kChunkFrames = 4096;

}  // namespace

OfflineRenderer::OfflineRenderer(const std::string& soundFont, LogSink log, int64_t maxFrames)
    : engine_(std::move(log)), soundFont_(ChooseSoundFont(soundFont)), writer_(maxFrames) {}

OfflineRenderer::~OfflineRenderer() {
  if (writer_.IsOpen()) Finish();
}

bool OfflineRenderer::Begin(const std::string& wavPath) {
  if (!soundFontLoaded_) {
    soundFontLoaded_ = engine_.LoadSoundFont(soundFont_);
    if (!soundFontLoaded_) {
      engine_.Log(soundFont_.empty() ? "Renderer: no SoundFont found"
                                     : "Renderer: SoundFont " + soundFont_ + " could not be loaded");
      return false;
    }
  }
  if (!writer_.Open(wavPath)) {
    engine_.Log("Renderer: cannot write " + wavPath);
    return false;
  }
  renderedMs_ = 0;
  limiter_.Reset();
  left_.resize(kChunkFrames);
  right_.resize(kChunkFrames);
  return true;
}

bool OfflineRenderer::Render(double ms) {
  if (!writer_.IsOpen() || ms <= 0) return writer_.IsOpen() && !writer_.Failed();
  renderedMs_ += ms;
  // The target is computed from the running total so that rounding never accumulates.
  const int64_t targetFrames = std::llrint(renderedMs_ * kSynthSampleRate / 1000.0);
  int64_t remaining = targetFrames - writer_.Frames();
  while (remaining > 0 && !writer_.Failed() && !writer_.Full()) {
    const int frames = static_cast<int>(std::min<int64_t>(remaining, kChunkFrames));
    // Float, with the effects mixed in, so that the limiter acts before anything is clipped.
    timed_.Render(
        0, frames,
        [&](int offset, int count) {
          fluid_synth_write_float(engine_.Synth(), count, left_.data() + offset, 0, 1, right_.data() + offset,
                                  0, 1);
        },
        false);
    limiter_.Process(left_.data(), right_.data(), frames);
    writer_.Write(left_.data(), right_.data(), frames);
    remaining -= frames;
  }
  return !writer_.Failed();
}

bool OfflineRenderer::Finish() {
  return writer_.Close();
}

std::string OfflineRenderer::DeviceName(int device) {
  return device == 0 ? kBuiltInSynthName : "";
}

int OfflineRenderer::Open(int device) {
  if (open_) Close();
  if (device != 0 && device != kDefaultMidiOut) return kMidiOutBadDevice;
  open_ = true;
  return kMidiOutOk;
}

int OfflineRenderer::Close() {
  if (!open_) return kMidiOutNotOpen;
  timed_.PlayPendingNow();
  engine_.ReleaseAllNotes();
  open_ = false;
  return kMidiOutOk;
}

std::string OfflineRenderer::ErrorText(int code) {
  return MidiOutErrorText(code);
}

void OfflineRenderer::Send(uint32_t message) {
  if (open_) engine_.Send(message);
}

void OfflineRenderer::SendAt(uint32_t message, double dueMs) {
  if (open_) timed_.SendAt(message, dueMs);
}

}  // namespace sonvela
