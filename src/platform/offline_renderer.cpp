#include "platform/offline_renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "platform/midi_out_codes.h"

namespace sonvela {

namespace {

constexpr int kChannels = 2;
constexpr int kBytesPerSample = 2;
constexpr int kHeaderBytes = 44;
constexpr int kChunkFrames = 4096;

void PutLittleEndian(std::array<char, kHeaderBytes>& header, int offset, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) header[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

OfflineRenderer::OfflineRenderer(const std::string& soundFont, LogSink log)
    : engine_(std::move(log)), soundFont_(ChooseSoundFont(soundFont)) {}

OfflineRenderer::~OfflineRenderer() {
  if (file_.is_open()) Finish();
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
  file_.open(wavPath, std::ios::binary | std::ios::trunc);
  if (!file_) {
    engine_.Log("Renderer: cannot write " + wavPath);
    return false;
  }
  failed_ = false;
  renderedMs_ = 0;
  framesWritten_ = 0;
  // Sizes are zero until Finish knows them.
  WriteHeader(0);
  return !failed_;
}

bool OfflineRenderer::Render(double ms) {
  if (!file_.is_open() || ms <= 0) return file_.is_open() && !failed_;
  renderedMs_ += ms;
  // The target is computed from the running total so that rounding never accumulates.
  const int64_t targetFrames = std::llrint(renderedMs_ * kSynthSampleRate / 1000.0);
  int64_t remaining = targetFrames - framesWritten_;
  buffer_.resize(static_cast<size_t>(kChunkFrames) * kChannels);
  while (remaining > 0 && !failed_) {
    const int frames = static_cast<int>(std::min<int64_t>(remaining, kChunkFrames));
    fluid_synth_write_s16(engine_.Synth(), frames, buffer_.data(), 0, kChannels, buffer_.data(), 1,
                          kChannels);
    // WAV samples are little-endian, as is every machine this builds for.
    file_.write(reinterpret_cast<const char*>(buffer_.data()),
                static_cast<std::streamsize>(frames) * kChannels * kBytesPerSample);
    if (!file_) failed_ = true;
    framesWritten_ += frames;
    remaining -= frames;
  }
  return !failed_;
}

bool OfflineRenderer::Finish() {
  if (!file_.is_open()) return false;
  const int64_t dataBytes = framesWritten_ * kChannels * kBytesPerSample;
  constexpr int64_t kMaxData = std::numeric_limits<uint32_t>::max() - kHeaderBytes;
  file_.seekp(0);
  WriteHeader(static_cast<uint32_t>(std::min(dataBytes, kMaxData)));
  file_.close();
  if (file_.fail()) failed_ = true;
  return !failed_;
}

void OfflineRenderer::WriteHeader(uint32_t dataBytes) {
  std::array<char, kHeaderBytes> header{'R', 'I', 'F', 'F', 0,   0,   0,   0,
                                        'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  PutLittleEndian(header, 4, dataBytes + kHeaderBytes - 8, 4);
  PutLittleEndian(header, 16, 16, 4);  // fmt chunk size
  PutLittleEndian(header, 20, 1, 2);   // PCM
  PutLittleEndian(header, 22, kChannels, 2);
  PutLittleEndian(header, 24, kSynthSampleRate, 4);
  PutLittleEndian(header, 28, kSynthSampleRate * kChannels * kBytesPerSample, 4);
  PutLittleEndian(header, 32, kChannels * kBytesPerSample, 2);
  PutLittleEndian(header, 34, 8 * kBytesPerSample, 2);
  header[36] = 'd';
  header[37] = 'a';
  header[38] = 't';
  header[39] = 'a';
  PutLittleEndian(header, 40, dataBytes, 4);
  file_.write(header.data(), header.size());
  if (!file_) failed_ = true;
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

}  // namespace sonvela
