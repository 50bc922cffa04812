// The transport's settings: loop marks, channel buttons, toggles, tempo buttons and instrument labels.

#include <cmath>

#include "player/control_ids.h"
#include "player/midi_primitives.h"
#include "player/transport.h"
#include "text/number_text.h"

namespace sonvela {

namespace {
// Far beyond any song's tempo; doubling stops below it instead of overflowing.
constexpr int32_t kMaxTempoBpm = 1'000'000;
constexpr int32_t kLastProgram = 127;
}  // namespace

void Transport::SetLoopStart(float percent) {
  state_.LoopStartPercent = percent;
  if (state_.LoopStartPercent > state_.LoopEndPercent) state_.LoopEndPercent = state_.LoopStartPercent + 1;
  ShowLoopBar();
}

void Transport::SetLoopEnd(float percent) {
  state_.LoopEndPercent = percent;
  if (state_.LoopStartPercent > state_.LoopEndPercent) state_.LoopEndPercent = state_.LoopStartPercent + 1;
  ShowLoopBar();
}

void Transport::CancelLoop() {
  state_.LoopEndPercent = 0;
  state_.LoopStartPercent = 0;
  ShowLoopBar();
}

void Transport::ToggleChannel(int channel) {
  if (channel < 1 || channel > kChannels) return;
  // Silence first, so a note of the channel being muted cannot hang.
  Silence();
  const auto ch = static_cast<size_t>(channel);
  if (state_.ChannelMuted[ch] == 1) {
    state_.ChannelMuted[ch] = 0;
    screen_.SetTextColour(ChannelControl(kChannelButtonBase, channel), kCaptionOn);
  } else {
    state_.ChannelMuted[ch] = 1;
    screen_.SetTextColour(ChannelControl(kChannelButtonBase, channel), kCaptionOff);
    state_.ChannelMeter[1][ch] = 0;
  }
}

void Transport::SoloChannel(int channel) {
  if (channel < 1 || channel > kChannels) return;
  for (int each = 1; each <= kChannels; ++each) {
    state_.ChannelMuted[static_cast<size_t>(each)] = 1;
    screen_.SetTextColour(ChannelControl(kChannelButtonBase, each), kCaptionOff);
    AllNotesOff(midi_, each);
    state_.ChannelMeter[1][static_cast<size_t>(each)] = 0;
  }
  state_.ChannelMuted[static_cast<size_t>(channel)] = 0;
  screen_.SetTextColour(ChannelControl(kChannelButtonBase, channel), kCaptionOn);
  Silence();
}

void Transport::SoloOff() {
  Silence();
  for (int each = 1; each <= kChannels; ++each) {
    state_.ChannelMuted[static_cast<size_t>(each)] = 0;
    screen_.SetTextColour(ChannelControl(kChannelButtonBase, each), kCaptionOn);
    AllNotesOff(midi_, each);
  }
}

void Transport::ToggleContinuo() {
  state_.ContinuoOn = 1 - state_.ContinuoOn;
}

void Transport::ToggleIntro() {
  state_.IntroSeconds = state_.IntroSeconds == 0 ? kIntroLengthSeconds : 0;
}

void Transport::ToggleMute() {
  if (state_.DataScale == 0.0f) {
    state_.DataScale = 1.0f;
    return;
  }
  state_.DataScale = 0.0f;
  Silence();
}

void Transport::ToggleMonitor() {
  state_.MonitorOn = static_cast<uint8_t>((state_.MonitorOn + 1) % 2);
}

void Transport::ToggleTempoFixed() {
  state_.TempoFixed = static_cast<uint8_t>((state_.TempoFixed + 1) % 2);
}

void Transport::HalveTempo() {
  // Halving 1 gives 0: the song clock then stands still until a tempo event or a new song.
  Tables().TempoBpm = static_cast<int32_t>(std::lrint(Tables().TempoBpm / 2.0));
  ShowBpm();
}

void Transport::DoubleTempo() {
  int32_t& tempo = Tables().TempoBpm;
  if (tempo >= -kMaxTempoBpm / 2 && tempo <= kMaxTempoBpm / 2) tempo *= 2;
  ShowBpm();
}

void Transport::StepInstrument(int channel, bool leftDown, bool rightDown) {
  if (channel < 1 || channel > kChannels) return;
  int32_t& program = state_.InstrumentProgram[static_cast<size_t>(channel)];
  const auto step = [&](bool move, int32_t to) {
    if (move) {
      program = to;
      screen_.ShowProgramOnChannel(channel, program, kProgramStepped);
    }
    // After Play a label stands for no program (-1): there is nothing to send.
    if (program >= 0 && program <= kLastProgram)
      SendShortMessage(midi_, kProgramChangeStatus + channel - 1, program, 127);
  };
  if (leftDown) step(program > 0, program - 1);
  if (rightDown) step(program < kLastProgram, program + 1);
}

void Transport::ShowBpm() {
  line_ = "BPM";
  AppendNumberText(line_, Tables().TempoBpm);
  screen_.SetText(kBpmLabel, line_);
}

}  // namespace sonvela
