// The one way every command is carried out, whoever gave it.

#include "session/play_session.h"

namespace sonvela {

void PlaySession::Apply(const Command& command) {
  Carry(command);
  ShowControls(true);
}

void PlaySession::ShowControls(bool all) {
  controls_.Show(ports_.screen, transport_.State(), view_, all);
}

void PlaySession::Carry(const Command& command) {
  Transport& player = transport_;
  const size_t channel =
      command.channel >= 1 && command.channel <= kChannels ? static_cast<size_t>(command.channel) : 0;
  switch (command.kind) {
    case CommandKind::kLoad:
      LoadAndPlay(LoadVariant::kLoad);
      break;
    case CommandKind::kPlayEntry:
      PlayEntry(command.entry < ports_.songs.Count() ? command.entry : -1);
      break;
    case CommandKind::kNext:
      PlayNextInList();
      break;
    case CommandKind::kPrevious:
      PlayPreviousInList();
      break;
    case CommandKind::kPlay:
      if (beforePlay) beforePlay();
      player.StartPlayback();
      break;
    case CommandKind::kPause:
      player.PausePlayback();
      break;
    case CommandKind::kStop:
      player.StopPlayback();
      break;
    case CommandKind::kSeek:
      player.ContinueFromPercent(command.percent);
      break;
    case CommandKind::kLoopStart:
      player.SetLoopStart(command.percent);
      break;
    case CommandKind::kLoopEnd:
      player.SetLoopEnd(command.percent);
      break;
    case CommandKind::kCancelLoop:
      player.CancelLoop();
      break;
    case CommandKind::kContinuo:
      player.ToggleContinuo();
      break;
    case CommandKind::kIntro:
      player.ToggleIntro();
      break;
    case CommandKind::kMute:
      player.ToggleMute();
      break;
    case CommandKind::kMonitor:
      player.ToggleMonitor();
      break;
    case CommandKind::kTempoFixed:
      player.ToggleTempoFixed();
      break;
    case CommandKind::kHalveTempo:
      player.HalveTempo();
      break;
    case CommandKind::kDoubleTempo:
      player.DoubleTempo();
      break;
    case CommandKind::kChannelOnOff:
      player.ToggleChannel(command.channel);
      break;
    case CommandKind::kSolo:
      player.SoloChannel(command.channel);
      break;
    case CommandKind::kSoloOff:
      player.SoloOff();
      break;
    case CommandKind::kProgramDown:
      player.StepInstrument(command.channel, true, false);
      break;
    case CommandKind::kProgramUp:
      player.StepInstrument(command.channel, false, true);
      break;
    case CommandKind::kToggleWindow:
      view_.WindowShown[static_cast<size_t>(command.window)] = !view_.Shown(command.window);
      break;
    case CommandKind::kCloseWindow:
      view_.WindowShown[static_cast<size_t>(command.window)] = false;
      break;
    case CommandKind::kHistory:
      view_.History = !view_.History;
      break;
    case CommandKind::kChannelFilter:
      if (channel != 0) view_.ChannelFilter[channel] = !view_.ChannelFilter[channel];
      break;
  }
}

}  // namespace sonvela
