#pragma once
// Writes float stereo audio into a 16-bit 44100 Hz WAV file, with dither, through libsndfile.

#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sonvela {

class WavWriter {
 public:
  // The most frames a WAV file's 32-bit sizes can describe (about 6 h 45 min).
  static constexpr int64_t kMaxFrames = (int64_t{UINT32_MAX} - 44) / 4;

  explicit WavWriter(int64_t maxFrames = kMaxFrames) : maxFrames_(maxFrames) {}
  // Starts the file with a header whose sizes Close fills in; false when it cannot be written.
  bool Open(const std::string& path);
  // Samples beyond full scale are clipped. Frames past the file's limit are not written (see Full).
  // False once any write has failed.
  bool Write(const float* left, const float* right, int frames);
  // Makes the header describe the frames written so far, so that a file cut short (the program killed
  // while it plays into it) still reads up to there.
  void UpdateHeader();
  // Writes the header's sizes and closes the file; false when writing failed at any point.
  bool Close();
  bool IsOpen() const { return file_ != nullptr; }
  bool Failed() const { return failed_; }
  int64_t Frames() const { return frames_; }
  bool Full() const { return frames_ >= maxFrames_; }

 private:
  float Dither();  // one unit either way, triangular

  int64_t maxFrames_;
  std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file_{nullptr, &sf_close};
  bool failed_ = false;
  int64_t frames_ = 0;
  uint32_t noise_ = 0x9E3779B9u;  // dither generator state (any non-zero seed)
  std::vector<int16_t> buffer_;
};

}  // namespace sonvela
