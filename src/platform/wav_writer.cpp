#include "platform/wav_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "platform/synth_engine.h"

namespace sonvela {

namespace {

constexpr int kChannels = 2;
constexpr int kBytesPerSample = 2;
constexpr int kHeaderBytes = 44;
// As FluidSynth scales to 16 bits, so that levels match its own output.
constexpr float kFullScale = 32766.0f;

void PutLittleEndian(std::array<char, kHeaderBytes>& header, int offset, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) header[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

bool WavWriter::Open(const std::string& path) {
  file_.open(path, std::ios::binary | std::ios::trunc);
  failed_ = !file_;
  frames_ = 0;
  if (!failed_) WriteHeader(0);
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
  if (!file_.is_open() || failed_) return false;
  // A longer song would write past what the header can describe and could fill the disk: stop there.
  frames = static_cast<int>(std::clamp<int64_t>(maxFrames_ - frames_, 0, frames));
  buffer_.resize(static_cast<size_t>(frames) * kChannels);
  const auto convert = [this](float sample) {
    const long value = std::lrint(sample * kFullScale + Dither());
    return static_cast<int16_t>(std::clamp<long>(value, -32768, 32767));
  };
  for (int i = 0; i < frames; ++i) {
    buffer_[2 * i] = convert(left[i]);
    buffer_[2 * i + 1] = convert(right[i]);
  }
  // WAV samples are little-endian, as is every machine this builds for.
  file_.write(reinterpret_cast<const char*>(buffer_.data()),
              static_cast<std::streamsize>(buffer_.size()) * kBytesPerSample);
  if (!file_) failed_ = true;
  frames_ += frames;
  return !failed_;
}

bool WavWriter::Close() {
  if (!file_.is_open()) return false;
  const int64_t dataBytes = frames_ * kChannels * kBytesPerSample;
  constexpr int64_t kMaxData = std::numeric_limits<uint32_t>::max() - kHeaderBytes;
  file_.seekp(0);
  WriteHeader(static_cast<uint32_t>(std::min(dataBytes, kMaxData)));
  file_.close();
  if (file_.fail()) failed_ = true;
  return !failed_;
}

void WavWriter::WriteHeader(uint32_t dataBytes) {
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

}  // namespace sonvela
