#pragma once
// What playback shows, as a terminal can show it: the progress text once a second and the lyric line as it
// grows, on one status line rewritten in place (finished lyric lines stay above it). Message boxes go to
// standard error, one line each. Everything else a window would draw is dropped.

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "cli/terminal_text.h"
#include "platform/text_decoder.h"
#include "player/screen.h"
#include "session/lyric_line.h"

namespace sonvela {

class TerminalScreen : public Screen {
 public:
  // `showStatus`: standard output is a terminal, so the status line may be drawn. The song's texts are
  // decoded by `texts`.
  TerminalScreen(bool showStatus, const TextDecoder& texts) : showStatus_(showStatus), texts_(texts) {}

  void ShowMessage(std::string_view text) override;
  void SetText(int controlId, std::string_view text) override;
  void SetBackground(int, Colour) override {}
  void SetTextColour(int, Colour) override {}
  void SetChecked(int, bool) override {}
  void DrawLevelBar(int, int) override {}
  void ShowProgramOnChannel(int, int, Colour) override {}
  void ShowChannelUsage(std::string_view) override {}
  void PaintChannelKeyboard(int, int, int64_t) override {}
  void PaintBigKeyboard(int, int64_t) override {}
  void ShowLyric(std::string_view text) override;
  void DrawLoopBar(float, float, double) override {}

  // A line of its own on standard output (the monitor's lines), above the status line.
  void PrintLine(std::string_view line);
  // Shows the latest progress text now and leaves the status line behind, for the shell prompt.
  void Finish();

 private:
  void ClearStatus();
  void DrawStatus();

  bool showStatus_;
  const TextDecoder& texts_;
  TerminalCharset charset_;
  bool statusDrawn_ = false;
  bool progressDue_ = false;
  std::string latestProgress_;
  std::string shownProgress_;
  LyricLine lyricLine_;
  std::string finishedLine_;
  std::string status_;
};

}  // namespace sonvela
