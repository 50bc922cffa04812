#pragma once
// The transport state: where the song is, what the transport controls are set to, and what each channel
// and key is doing. Channel-indexed tables run 0..16 with index 0 unused, so channel numbers index them.

#include <array>
#include <cstdint>
#include <string>

namespace sonvela {

constexpr int kChannels = 16;
constexpr int kIntroLengthSeconds = 4;
inline constexpr const char* kStatusEnded = "finito";
inline constexpr const char* kStatusNextSong = "suono";

struct TransportState {
  int64_t SongPosition = 0;  // in 1/60000 tick
  uint8_t Paused = 0;
  float LoopStartPercent = 0;
  float LoopEndPercent = 0;  // 0: no loop
  int32_t ContinuoOn = 0;
  int32_t IntroSeconds = 0;  // 0: whole song
  std::string PlayStatus;    // "finito" once a song ended or its intro ran out
  int64_t PlayStartMs = 0;   // the wall clock's monotonic ms at Play or at a resume from a stopped clock
  float DataScale = 1.0f;    // factor on data 2 of every sent event; 0 = Mute
  uint8_t MonitorOn = 0;
  uint8_t TempoFixed = 0;
  std::array<int16_t, kChannels + 1> ChannelMuted{};
  std::array<int32_t, kChannels + 1> ChannelNoteOn{};  // the channel after a note-on, 0 after a note-off
  std::array<int32_t, 128> KeyOn{};
  // Row 1: a note sounds on the channel; row 2: its level, decayed by the progress tick. Row 0 unused.
  std::array<std::array<int32_t, kChannels + 1>, 3> ChannelMeter{};
  // The program each instrument label stands for, -1 for none (indexed by channel 1..16).
  std::array<int32_t, kChannels + 1> InstrumentProgram{};
  // The progress label's last text.
  std::string ProgressText;
};

}  // namespace sonvela
