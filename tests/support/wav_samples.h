#pragma once
// Reads back a 16-bit PCM WAV file for level checks.

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace sonvela::test {

struct WavSamples {
  bool valid = false;
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  uint32_t riffSize = 0;
  uint32_t dataSize = 0;
  size_t fileSize = 0;
  std::vector<int16_t> samples;  // interleaved

  size_t Frames() const { return channels ? samples.size() / channels : 0; }
  // The largest absolute sample of frames [fromMs, toMs).
  int Peak(double fromMs, double toMs) const {
    int peak = 0;
    const size_t from = static_cast<size_t>(fromMs * sampleRate / 1000) * channels;
    const size_t to = std::min(samples.size(), static_cast<size_t>(toMs * sampleRate / 1000) * channels);
    for (size_t i = from; i < to; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
  }
};

inline uint32_t LittleEndian(const std::vector<unsigned char>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

inline WavSamples ReadWav(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
  WavSamples wav;
  wav.fileSize = bytes.size();
  if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF") return wav;
  wav.riffSize = LittleEndian(bytes, 4, 4);
  // Walks the chunks: writers other than ours may put extra ones before the data.
  for (size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id(bytes.begin() + at, bytes.begin() + at + 4);
    const uint32_t size = LittleEndian(bytes, at + 4, 4);
    if (id == "fmt ") {
      wav.channels = LittleEndian(bytes, at + 10, 2);
      wav.sampleRate = LittleEndian(bytes, at + 12, 4);
      wav.bitsPerSample = LittleEndian(bytes, at + 22, 2);
    } else if (id == "data") {
      wav.dataSize = size;
      const size_t end = std::min(bytes.size(), at + 8 + size);
      for (size_t i = at + 8; i + 1 < end; i += 2) {
        wav.samples.push_back(static_cast<int16_t>(LittleEndian(bytes, i, 2)));
      }
      wav.valid = wav.channels > 0 && wav.bitsPerSample == 16;
      break;
    }
    at += 8 + size + (size & 1);
  }
  return wav;
}

}  // namespace sonvela::test
