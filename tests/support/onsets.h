#pragma once
// Where sounds begin in a WAV: for measuring where clicks land against their beat.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "wav_samples.h"

namespace sonvela::test {

// The times (ms from the file's start) at which the sound first rises above `fraction` of the file's peak
// after at least `quietMs` below it. A click's attack is the same every time, so the crossing lies a fixed
// time after the click starts: differences of onsets are exact to the frame.
inline std::vector<double> Onsets(const WavSamples& wav, double fraction = 0.2, double quietMs = 100) {
  std::vector<double> onsets;
  if (!wav.valid || wav.sampleRate <= 0) return onsets;
  int peak = 0;
  for (int16_t sample : wav.samples) peak = std::max(peak, std::abs(static_cast<int>(sample)));
  const int threshold = std::max(1, static_cast<int>(peak * fraction));
  const auto quietFrames = static_cast<size_t>(quietMs * wav.sampleRate / 1000);
  size_t lastLoud = 0;
  bool any = false;
  for (size_t frame = 0; frame < wav.Frames(); ++frame) {
    int level = 0;
    for (int channel = 0; channel < wav.channels; ++channel) {
      level = std::max(level, std::abs(static_cast<int>(wav.samples[frame * wav.channels + channel])));
    }
    if (level < threshold) continue;
    if (!any || frame - lastLoud >= quietFrames) onsets.push_back(frame * 1000.0 / wav.sampleRate);
    any = true;
    lastLoud = frame;
  }
  return onsets;
}

}  // namespace sonvela::test
