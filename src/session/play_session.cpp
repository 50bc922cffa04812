#include "session/play_session.h"

#include "compose/compose_song.h"
#include "files/load_song.h"
#include "player/control_ids.h"
#include "text/number_text.h"

namespace sonvela {

PlaySession::PlaySession(const SessionPorts& ports)
    : ports_(ports),
      transport_(document_, logs_, {ports.midi, ports.timers, ports.clock, ports.screen, &view_}) {}

bool PlaySession::LoadAndPlay(LoadVariant variant, const std::string& path) {
  transport_.ResetSong();
  switch (variant) {
    case LoadVariant::kLoad:
      document_.FileName = ports_.songs.ChooseSongFile();
      ports_.songs.FillSongList(document_.FileName);
      break;
    case LoadVariant::kList:
      document_.FileName = path;
      break;
    case LoadVariant::kCommandLine:
      document_.FileName = CommandLineSong;
      DebugLog(logs_, document_.FileName);
      break;
    case LoadVariant::kCreate:
      document_.FileName = kComposedFileName;
      DebugLog(logs_, document_.FileName);
      break;
  }
  // A cancelled dialog or an empty entry: nothing is loaded, and Play will say so.
  if (document_.FileName.empty()) return false;
  return ReadAndPlay(variant);
}

bool PlaySession::ReadAndPlay(LoadVariant variant) {
  const bool listOrder = variant == LoadVariant::kLoad || variant == LoadVariant::kList;
  Screen& screen = ports_.screen;
  const std::string name = document_.FileName;
  if (listOrder) CommandLineSong.clear();
  screen.SetEnabled(kPlayButton, false);
  if (listOrder) screen.ShowSongTitle(name);
  const bool read = LoadSongFile(document_, name, logs_, screen, ports_.clock.Now());
  if (listOrder) {
    transport_.ShowBpm();
  } else {
    screen.ShowSongTitle(name);
  }
  screen.SetEnabled(kPlayButton, true);
  if (!listOrder) CommandLineSong.clear();
  // The reader has said why the file could not be read: there is nothing to play, and the map says so.
  if (!read) {
    screen.DrawSongMap();
    return false;
  }
  ShowChannelsUsed();

  for (const Command& press : Presses) {
    if (OutlastsLoad(press.kind) && !settingsPressed_) Carry(press);
  }
  settingsPressed_ = true;
  for (const Command& press : Presses) {
    if (!OutlastsLoad(press.kind)) Carry(press);
  }
  if (beforePlay) beforePlay();
  transport_.StartPlayback();

  // Every newly loaded song gets its map, whatever loaded it: a click on it seeks by this song.
  screen.DrawSongMap();
  if (variant == LoadVariant::kCreate) {
    for (int channel = 1; channel <= kChannels; ++channel)
      screen.PaintChannelKeyboard(ChannelControl(kChannelKeyboardBase, channel), 0, kRedrawKeyboard);
  }
  return true;
}

void PlaySession::ShowChannelsUsed() {
  // A channel without notes shows so until the next load; the big keyboard follows the channels with
  // notes, drums (channel 10) aside.
  Screen& screen = ports_.screen;
  const std::string& used = document_.Tables.UsedChannels;
  for (int channel = 1; channel <= kChannels; ++channel) {
    const bool hasNotes =
        static_cast<size_t>(channel - 1) < used.size() && used[static_cast<size_t>(channel - 1)] == '*';
    const std::string number = NumberTextNoBlank(channel);
    if (!hasNotes) {
      const int indicator = ChannelControl(kChannelIndicatorBase, channel);
      screen.SetBackground(indicator, kUnusedChannel);
      screen.SetTextColour(indicator, kBlack);
      screen.SetText(indicator, " NO");
    }
    screen.SetText(ChannelControl(kChannelFilterBase, channel), hasNotes ? "*[" + number + "]*" : number);
    view_.ChannelFilter[static_cast<size_t>(channel)] = hasNotes && channel != 10;
  }
  ShowControls(true);
}

bool PlaySession::PlayNextInList() {
  return PlayEntry(ports_.songs.NextIndex());
}

bool PlaySession::PlayPreviousInList() {
  return PlayEntry(ports_.songs.PreviousIndex());
}

bool PlaySession::PlayEntry(int index) {
  SongList& songs = ports_.songs;
  if (index >= 0) songs.Select(index);
  return LoadAndPlay(LoadVariant::kList, index >= 0 ? songs.EntryText(index) : std::string());
}

void PlaySession::OnTimerTick(int slot) {
  ports_.screen.TickStarts();
  transport_.OnTimerTick(slot);
  ports_.screen.TickEnds();
  // The next song is read once the tick is done, never inside it.
  if (transport_.TakeEvents().ContinuoDue && !PlayNextInList() && onNextSongFailed) onNextSongFailed();
  // Only a started song can be stuck: Pause pressed with no song starts a clock with nothing to play.
  if (transport_.Running() && transport_.SongStarted() && ClockCannotAdvance()) {
    const SongTables& t = document_.Tables;
    ports_.screen.ShowMessage("The song clock cannot advance (Division" + NumberText(t.Division) + ", BPM" +
                              NumberText(t.TempoBpm) + "): playing stops.");
    transport_.StopPlayback();
    if (onClockStuck) onClockStuck();
  }
  ShowControls(false);
}

bool PlaySession::ClockCannotAdvance() const {
  // Each tick moves the song on by Division x BPM x 10: with either at 0 (or below) it never ends.
  return document_.Tables.Division <= 0 || document_.Tables.TempoBpm <= 0;
}

}  // namespace sonvela
