// Prints the onsets of a WAV file, in ms from its start, one per line: for the sound tests and benchmarks.
// An onset is where the sound first rises above a fifth of the file's peak after at least 100 ms below it.
// A click's attack is the same every time, so differences of onsets are exact to the frame.
// Use: wav_onsets FILE.wav

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "wav_samples.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "Use: wav_onsets FILE.wav\n");
    return 2;
  }
  const sonvela::test::WavSamples wav = sonvela::test::ReadWav(argv[1]);
  if (!wav.valid || wav.sampleRate <= 0) {
    std::fprintf(stderr, "wav_onsets: %s is no 16-bit PCM WAV file\n", argv[1]);
    return 1;
  }
  int peak = 0;
  for (int16_t sample : wav.samples) peak = std::max(peak, std::abs(static_cast<int>(sample)));
  const int threshold = std::max(1, peak / 5);
  const auto quietFrames = static_cast<size_t>(wav.sampleRate / 10);
  size_t lastLoud = 0;
  bool any = false;
  for (size_t frame = 0, at = 0; frame < wav.Frames(); ++frame) {
    int level = 0;
    for (int channel = 0; channel < wav.channels; ++channel, ++at)
      level = std::max(level, std::abs(static_cast<int>(wav.samples[at])));
    if (level < threshold) continue;
    if (!any || frame - lastLoud >= quietFrames) std::printf("%.3f\n", frame * 1000.0 / wav.sampleRate);
    any = true;
    lastLoud = frame;
  }
  return 0;
}
