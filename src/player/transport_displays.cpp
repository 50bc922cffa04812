// The timer ticks besides the song clock: progress label, intro limit, level bars, wall clock and the
// next song; and the displays the transport keeps up to date.

#include <algorithm>

#include "player/control_ids.h"
#include "player/progress_text.h"
#include "player/transport.h"

namespace sonvela {

void Transport::StartSecondTick() {
  clock_.MMTimerStart(kSecondSlot, kSecondPeriodMs);
}

void Transport::KillAllTimers() {
  clock_.MMTimerKill(0);
}

void Transport::OnTimerTick(int slot) {
  switch (slot) {
    case kSequencerSlot:
      OnSequencerTick();
      midi_.SongSentUpToNow();
      break;
    case kSecondSlot:
      OnSecondTick();
      break;
    case kProgressSlot:
      OnProgressTick();
      break;
    default:
      break;
  }
}

void Transport::OnProgressTick() {
  if (state_.IntroSeconds > 0 && ElapsedSeconds() > state_.IntroSeconds) {
    state_.PlayStatus = kStatusEnded;
    events_.IntroExpired = true;
    StopPlayback();
  }
  RefreshProgressText();
  // Views that show the position read it here, ten times a second, not at every event.
  ShowLoopBar();
  for (int channel = 1; channel <= kChannels; ++channel) {
    const auto ch = static_cast<size_t>(channel);
    state_.ChannelMeter[2][ch] = DecayedLevel(state_.ChannelMeter[1][ch], state_.ChannelMeter[2][ch]);
    screen_.DrawLevelBar(ChannelControl(kLevelBarBase, channel), state_.ChannelMeter[2][ch]);
  }
}

void Transport::OnSecondTick() {
  screen_.SetText(kTimeLabel, "Ora: " + TimeOfDayText(wallClock_.Now()));
  if (state_.PlayStatus == kStatusEnded && state_.ContinuoOn == 1) {
    state_.PlayStatus = kStatusNextSong;
    events_.ContinuoDue = true;
  }
}

void Transport::RefreshProgressText() {
  // What has played is where the song is: a song that did not start (its output failed) has played
  // nothing, however long the clock ran, and the tick that passes the end shows the end, not beyond it.
  const double length = SongLengthSeconds(document_.Tables);
  const double percent =
      SongStarted()
          ? std::clamp(PlayedPercent(state_.SongPosition, document_.Tables.LongestTrackTicks), 0.0, 100.0)
          : 0.0;
  FormatProgressText(state_.ProgressText, length * percent / 100, length, percent);
  screen_.SetText(kProgressLabel, state_.ProgressText);
}

double Transport::ElapsedSeconds() {
  // On the monotonic clock: midnight or a change of the system time does not move it.
  return (NowMs() - static_cast<double>(state_.PlayStartMs)) / 1000;
}

void Transport::ShowLoopBar() {
  screen_.DrawLoopBar(state_.LoopStartPercent, state_.LoopEndPercent, PlayedNow());
}

void Transport::ShowProgramOnChannel(int channel, int program) {
  // The reader keeps a data byte as found (0..255). Programs 128..255 have an empty name, and the label
  // shows it; but the label then stands for no program, so that stepping from it cannot send a byte
  // above 127.
  screen_.ShowProgramOnChannel(channel, program, kProgramShown);
  const bool named = program >= 0 && program <= 127;
  state_.InstrumentProgram[static_cast<size_t>(channel)] = named ? program : -1;
}

void Transport::ShowChannelUsage() {
  screen_.ShowChannelUsage(document_.Tables.UsedChannels);
  state_.InstrumentProgram.fill(-1);
}

}  // namespace sonvela
