#include "platform/wav_writer.h"

#include <algorithm>
#include <cmath>

#include "platform/synth_engine.h"

namespace sonvela {

namespace {

constexpr int kChannels = 2;
// As FluidSynth scales to 16 bits, so that levels match its own output.
constexpr float kFullScale = 32766.0f;

}  // namespace

bool WavWriter::Open(const std::string& path) {
  SF_INFO format{};
  format.samplerate = kSynthSampleRate;
  format.channels = kChannels;
  format.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  file_.reset(sf_open(path.c_str(), SFM_WRITE, &format));
  failed_ = !file_;
  frames_ = 0;
  return !failed_;
}

float WavWriter::Dither() {
  // xorshift32: cheap, and its low quality does not matter for noise of one unit. Its two halves give the
  // two uniform values whose difference is triangular noise of one unit either way, which decorrelates the
  // rounding error from quiet signals.
  noise_ ^= noise_ << 13;
  noise_ ^= noise_ >> 17;
  noise_ ^= noise_ << 5;
  return (static_cast<float>(noise_ & 0xFFFF) - static_cast<float>(noise_ >> 16)) * (1.0f / 65536.0f);
}

bool WavWriter::Write(const float* left, const float* right, int frames) {
  if (!file_ || failed_) return false;
  // A longer song would write past what the header can describe and could fill the disk: stop there.
  frames = static_cast<int>(std::clamp<int64_t>(maxFrames_ - frames_, 0, frames));
  buffer_.resize(static_cast<size_t>(frames) * kChannels);
  // Converted and dithered here, not by libsndfile, which would neither dither nor scale as FluidSynth does.
  const auto convert = [this](float sample) {
    const long value = std::lrint(sample * kFullScale + Dither());
    return static_cast<int16_t>(std::clamp<long>(value, -32768, 32767));
  };
  for (int i = 0; i < frames; ++i) {
    buffer_[2 * i] = convert(left[i]);
    buffer_[2 * i + 1] = convert(right[i]);
  }
  if (sf_writef_short(file_.get(), buffer_.data(), frames) != frames) failed_ = true;
  frames_ += frames;
  return !failed_;
}

void WavWriter::UpdateHeader() {
  if (file_ && !failed_) sf_command(file_.get(), SFC_UPDATE_HEADER_NOW, nullptr, 0);
}

bool WavWriter::Close() {
  if (!file_) return false;
  if (sf_close(file_.release()) != SF_ERR_NO_ERROR) failed_ = true;
  return !failed_;
}

}  // namespace sonvela
