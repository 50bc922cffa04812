#pragma once
// What playback shows, put on the windows: labels, toggles and the painted panels, addressed by control id.
// Every panel is drawn into its surface's picture and only the changed pixels are scheduled for repainting;
// nothing is painted at once. The screen keeps what each panel of the main window shows, so that it can draw
// them again when the window's size changes, and the karaoke line (the session's rule for it).

#include <QRect>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "app/app_windows.h"
#include "platform/text_decoder.h"
#include "player/screen.h"
#include "player/view_settings.h"
#include "session/lyric_line.h"
#include "song/song_tables.h"
#include "text/message_boxes.h"
#include "views/view_state.h"

namespace sonvela {

class WindowScreen : public Screen {
 public:
  // The song's texts are decoded by `texts`.
  WindowScreen(AppWindows& windows, MessageBoxes& messages, const TextDecoder& texts);
  ~WindowScreen() override;
  WindowScreen(const WindowScreen&) = delete;
  WindowScreen& operator=(const WindowScreen&) = delete;

  // The song the map shows (the session's tables, which live as long as the program).
  void ShowSongOf(const SongTables* tables) { song_ = tables; }
  // What the Keyboard window shows (whether its keyboard and history strip follow the song).
  void ShowViewOf(const ViewSettings* view) { view_ = view != nullptr ? view : &defaultView_; }

  void ShowMessage(std::string_view text) override;
  void SetText(int controlId, std::string_view text) override;
  void SetBackground(int controlId, Colour colour) override;
  void SetTextColour(int controlId, Colour colour) override;
  void SetChecked(int controlId, bool checked) override;
  void DrawLevelBar(int controlId, int level) override;
  void ShowProgramOnChannel(int channel, int program, Colour textColour) override;
  void ShowChannelUsage(std::string_view usedChannels) override;
  void PaintChannelKeyboard(int controlId, int key, int64_t colour) override;
  void PaintBigKeyboard(int key, int64_t colour) override;
  void ShowLyric(std::string_view text) override;
  void DrawLoopBar(float loopStartPercent, float loopEndPercent, double playedFraction) override;
  void SetEnabled(int controlId, bool enabled) override;
  void ShowSongTitle(std::string_view songFileName) override;
  void DrawSongMap() override;
  void TickStarts() override;
  void TickEnds() override;

  // Every panel of the main window drawn again from what it shows: their pictures were made anew for a new
  // size. Lit keys go out, as after a full keyboard redraw.
  void RedrawMainPanels();

  const LyricLine& Lyric() const { return lyric_; }

 private:
  // What an instrument label shows.
  struct InstrumentLabel {
    bool drawn = false;
    bool usage = false;  // the channel usage at Play, else a program's name
    bool hasNotes = false;
    int program = -1;
    Colour colour = 0;
  };
  struct LoopBar {
    float start = 0;
    float end = 0;
    double played = 0;
    bool operator==(const LoopBar&) const = default;
  };

  // A key to paint on a channel keyboard or (controlId kBigKeyboard) the big one.
  struct KeyPaint {
    int controlId;
    int key;
    int64_t colour;
  };

  void PaintKey(const KeyPaint& paint);
  void DrawInstrumentLabel(int channel);
  void DrawLoopBarNow();

  AppWindows& windows_;
  MessageBoxes& messages_;
  const TextDecoder& texts_;
  const SongTables* song_ = nullptr;
  const ViewSettings defaultView_;
  const ViewSettings* view_ = &defaultView_;
  ViewState views_;
  LyricLine lyric_;
  std::array<int, 16> levels_;  // -1: never drawn
  std::array<InstrumentLabel, 16> instruments_{};
  std::optional<LoopBar> loopBar_;
  // The history strip scrolls as a whole with every lit key: its repaint is gathered and made at most
  // once per progress period, so that a dense song does not copy the whole strip to the screen on every
  // tick (the strip itself is drawn at once; only showing it waits).
  QRect historyPending_;
  QTimer historyRepaint_;
  // Keys asked for during a tick, painted in order when it ends.
  bool gatheringKeys_ = false;
  std::vector<KeyPaint> keyPaints_;
  // A syllable was sung during the tick: the karaoke window catches up when it ends.
  bool syllableCame_ = false;
};

}  // namespace sonvela
