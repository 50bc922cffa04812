#pragma once
// One vocabulary for whatever controls playback and the views: the window's buttons and pointer, the
// toolbox's switches and the desktop's media controls each say what they want as a Command, and
// PlaySession::Apply carries it out the same way for all of them.

#include "player/view_settings.h"

namespace sonvela {

enum class CommandKind {
  // Songs: the Load dialog, an entry of the song list, the list's next and previous entries.
  kLoad,
  kPlayEntry,
  kNext,
  kPrevious,
  // The transport.
  kPlay,
  kPause,
  kStop,
  kSeek,
  kLoopStart,
  kLoopEnd,
  kCancelLoop,
  kContinuo,
  kIntro,
  kMute,
  kMonitor,
  kTempoFixed,
  kHalveTempo,
  kDoubleTempo,
  // Channel rows.
  kChannelOnOff,
  kSolo,
  kSoloOff,
  kProgramDown,
  kProgramUp,
  // Views.
  kToggleWindow,
  kCloseWindow,
  kHistory,
  kChannelFilter,
};

struct Command {
  CommandKind kind;
  int channel = 0;                           // channel rows and filters: 1..16
  float percent = 0;                         // seek and loop marks: percent of the song
  int entry = -1;                            // kPlayEntry: the song list's entry
  ToolWindowKind window = ToolWindowKind{};  // kToggleWindow, kCloseWindow
};

// Commands that a load leaves in force (the toggles Continuo, Intro, Mute, Monitor and Fix); the others
// are undone or made new by a load (the tempo, the channel buttons, the loop marks).
constexpr bool OutlastsLoad(CommandKind kind) {
  return kind == CommandKind::kContinuo || kind == CommandKind::kIntro || kind == CommandKind::kMute ||
         kind == CommandKind::kMonitor || kind == CommandKind::kTempoFixed;
}

}  // namespace sonvela
