#pragma once
// What playback shows, addressed by the control ids of the layout (control_ids.h). The app implements it
// over the widgets and views; tests record the calls. Message boxes come through the base class.
//
// Played events push only what changes with them: keys, levels, labels, lyrics. The play position is not
// pushed per event (a window would repaint on every note): it reaches the loop bar on the progress tick,
// ten times a second, when the song ends, and at once when a loop mark changes.

#include <cstdint>
#include <string_view>

#include "player/colours.h"
#include "text/message_boxes.h"

namespace sonvela {

class Screen : public MessageBoxes {
 public:
  // Labels and buttons.
  virtual void SetText(int controlId, std::string_view text) = 0;
  virtual void SetBackground(int controlId, Colour colour) = 0;
  virtual void SetTextColour(int controlId, Colour colour) = 0;
  virtual void SetChecked(int controlId, bool checked) = 0;

  // Level bar of a channel row, level 0..127.
  virtual void DrawLevelBar(int controlId, int level) = 0;
  // Instrument label of channel 1..16: the name of the program on white, in the given text colour. The
  // program is a data byte as the song holds it: 0..127 name an instrument, any other value (128..255
  // under running status) has an empty name, and the label shows that empty name.
  virtual void ShowProgramOnChannel(int channel, int program, Colour textColour) = 0;
  // Instrument labels at Play: "Non usato !" on channels without notes ("*" marks a channel with notes).
  virtual void ShowChannelUsage(std::string_view usedChannels) = 0;

  // Keyboards: key 1..108 is MIDI note key - 1; colour is a colour, kRedrawKeyboard or kRestoreKey.
  virtual void PaintChannelKeyboard(int controlId, int key, int64_t colour) = 0;
  virtual void PaintBigKeyboard(int key, int64_t colour) = 0;

  // Song panels: a lyric piece, and the loop bar with the play position (fraction 0..1 of the song; beyond
  // 1 when a song runs on after its end).
  virtual void ShowLyric(std::string_view text) = 0;
  virtual void DrawLoopBar(float loopStartPercent, float loopEndPercent, double playedFraction) = 0;

  // The window's steps of the load sequence; a screen without a window leaves them out.
  virtual void SetEnabled(int /*controlId*/, bool /*enabled*/) {}
  // The main window's title names the loaded song file.
  virtual void ShowSongTitle(std::string_view /*songFileName*/) {}
  virtual void DrawSongMap() {}

  // Around every timer tick: a screen may gather what the tick asks it to draw and draw it at the end, so
  // that none of the tick's messages waits for a picture.
  virtual void TickStarts() {}
  virtual void TickEnds() {}
};

}  // namespace sonvela
