// Prints the onsets of a WAV file, in ms from its start, one per line: for the sound tests and benchmarks.
// Use: wav_onsets FILE.wav

#include <cstdio>

#include "onsets.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "Use: wav_onsets FILE.wav\n");
    return 2;
  }
  const sonvela::test::WavSamples wav = sonvela::test::ReadWav(argv[1]);
  if (!wav.valid) {
    std::fprintf(stderr, "wav_onsets: %s is no 16-bit PCM WAV file\n", argv[1]);
    return 1;
  }
  for (double onset : sonvela::test::Onsets(wav)) std::printf("%.3f\n", onset);
  return 0;
}
