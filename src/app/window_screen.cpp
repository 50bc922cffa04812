#include "app/window_screen.h"

#include <QLabel>
#include <QPushButton>

#include <utility>

#include "app/control_style.h"
#include "app/screen_text.h"
#include "player/control_ids.h"
#include "player/instrument_names.h"
#include "player/tick_timers.h"
#include "views/channel_displays.h"
#include "views/keyboards.h"
#include "views/lyric_line.h"
#include "views/song_panels.h"

namespace sonvela {

namespace {

constexpr int kRows = 16;

// The row of a per-channel control (0..15), or -1 when the id is not one of that base.
int RowOf(int controlId, int base) {
  return ChannelOfControl(controlId, base) - 1;
}

}  // namespace

WindowScreen::WindowScreen(AppWindows& windows, MessageBoxes& messages, const TextDecoder& texts)
    : windows_(windows), messages_(messages), texts_(texts) {
  levels_.fill(-1);
  historyRepaint_.setSingleShot(true);
  historyRepaint_.setInterval(kProgressPeriodMs);
  QObject::connect(&historyRepaint_, &QTimer::timeout, [this] {
    if (DrawingSurface* history = windows_.Surface(kHistoryStrip)) history->Changed(historyPending_);
    historyPending_ = QRect();
  });
  if (DrawingSurface* history = windows_.Surface(kHistoryStrip)) {
    history->PaintPictureWith([this, history](QPainter& painter, const QRect& part) {
      DrawHistoryStrip(painter, history->Image(), views_.BigKeyboard.HistoryTop, part);
    });
  }
}

WindowScreen::~WindowScreen() {
  // The strip paints through this screen's state, and the windows may outlive it.
  if (DrawingSurface* history = windows_.Surface(kHistoryStrip)) history->PaintPictureWith(nullptr);
}

void WindowScreen::ShowMessage(std::string_view text) {
  messages_.ShowMessage(text);
}

void WindowScreen::SetText(int controlId, std::string_view text) {
  const QString shown = ScreenText(text);
  if (QLabel* label = windows_.Label(controlId)) {
    if (label->text() != shown) label->setText(shown);
  } else if (QPushButton* button = windows_.Button(controlId)) {
    button->setText(shown);
  }
}

void WindowScreen::SetBackground(int controlId, Colour colour) {
  if (QLabel* label = windows_.Label(controlId)) SetLabelBackground(label, colour);
}

void WindowScreen::SetTextColour(int controlId, Colour colour) {
  if (QLabel* label = windows_.Label(controlId)) SetLabelTextColour(label, colour);
}

void WindowScreen::SetChecked(int controlId, bool checked) {
  if (controlId == kKaraokeWindow) {
    if (checked != windows_.Karaoke().isVisible()) windows_.ShowKaraoke(checked);
  } else if (QPushButton* button = windows_.Button(controlId)) {
    button->setChecked(checked);
  }
}

void WindowScreen::DrawLevelBar(int controlId, int level) {
  const int row = RowOf(controlId, kLevelBarBase);
  DrawingSurface* surface = windows_.Surface(controlId);
  if (row < 0 || surface == nullptr) return;
  // The bars are asked for ten times a second; one that shows this level already stays as it is.
  if (levels_[static_cast<size_t>(row)] == level) return;
  levels_[static_cast<size_t>(row)] = level;
  sonvela::DrawLevelBar(surface->Image(), level);
  surface->Changed();
}

void WindowScreen::ShowProgramOnChannel(int channel, int program, Colour textColour) {
  if (channel < 1 || channel > kRows) return;
  instruments_[static_cast<size_t>(channel - 1)] = {true, false, false, program, textColour};
  DrawInstrumentLabel(channel);
}

void WindowScreen::ShowChannelUsage(std::string_view usedChannels) {
  for (int channel = 1; channel <= kRows; ++channel) {
    const auto index = static_cast<size_t>(channel - 1);
    const bool hasNotes = index < usedChannels.size() && usedChannels[index] == '*';
    instruments_[index] = {true, true, hasNotes, -1, 0};
    DrawInstrumentLabel(channel);
  }
}

void WindowScreen::DrawInstrumentLabel(int channel) {
  const InstrumentLabel& label = instruments_[static_cast<size_t>(channel - 1)];
  DrawingSurface* surface = windows_.Surface(ChannelControl(kInstrumentLabelBase, channel));
  if (surface == nullptr || !label.drawn) return;
  if (label.usage) {
    DrawChannelUsageLabel(surface->Image(), label.hasNotes);
  } else {
    // Programs outside 0..127 have an empty name.
    const std::string_view name = InstrumentNames(label.program);
    sonvela::DrawInstrumentLabel(surface->Image(),
                                 QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())),
                                 label.colour);
  }
  surface->Changed();
}

void WindowScreen::PaintChannelKeyboard(int controlId, int key, int64_t colour) {
  if (RowOf(controlId, kChannelKeyboardBase) < 0) return;
  PaintKey({controlId, key, colour});
}

void WindowScreen::PaintBigKeyboard(int key, int64_t colour) {
  PaintKey({kBigKeyboard, key, colour});
}

void WindowScreen::TickStarts() {
  gatheringKeys_ = true;
}

void WindowScreen::TickEnds() {
  gatheringKeys_ = false;
  for (const KeyPaint& paint : keyPaints_) PaintKey(paint);
  keyPaints_.clear();
  if (std::exchange(syllableCame_, false)) windows_.Karaoke().Refresh();
}

void WindowScreen::PaintKey(const KeyPaint& paint) {
  if (gatheringKeys_) {
    keyPaints_.push_back(paint);
    return;
  }
  if (paint.controlId != kBigKeyboard) {
    DrawingSurface* surface = windows_.Surface(paint.controlId);
    if (surface == nullptr) return;
    const QRect changed =
        sonvela::PaintChannelKeyboard(surface->Image(), views_.ChannelKeyboard, paint.key, paint.colour);
    if (!changed.isEmpty()) surface->Changed(changed);
    return;
  }
  DrawingSurface* keyboard = windows_.Surface(kBigKeyboard);
  DrawingSurface* history = windows_.Surface(kHistoryStrip);
  if (keyboard == nullptr || history == nullptr) return;
  const BigKeyboardChange change =
      sonvela::PaintBigKeyboard(views_.BigKeyboard, keyboard->Image(), history->Image(), paint.key,
                                paint.colour, view_->Shown(ToolWindowKind::kKeyboard), view_->History);
  if (!change.Keyboard.isEmpty()) keyboard->Changed(change.Keyboard);
  if (!change.History.isEmpty()) {
    historyPending_ |= change.History;
    if (!historyRepaint_.isActive()) historyRepaint_.start();
  }
}

void WindowScreen::ShowLyric(std::string_view text) {
  lyric_.Add(text);
  // The karaoke window colours the syllable once the tick's messages are out.
  if (gatheringKeys_) {
    syllableCame_ = true;
  } else {
    windows_.Karaoke().Refresh();
  }
  DrawingSurface* panel = windows_.Surface(kLyricPanel);
  if (panel == nullptr) return;
  panel->Changed(DrawLyricLine(panel->Image(), SongText(texts_, lyric_.Text)));
}

void WindowScreen::DrawLoopBar(float loopStartPercent, float loopEndPercent, double playedFraction) {
  const LoopBar bar{loopStartPercent, loopEndPercent, playedFraction};
  // Asked for ten times a second: a paused or ended song's bar stays as it is.
  if (loopBar_ == bar) return;
  loopBar_ = bar;
  DrawLoopBarNow();
}

void WindowScreen::DrawLoopBarNow() {
  DrawingSurface* surface = windows_.Surface(kLoopBar);
  if (surface == nullptr || !loopBar_) return;
  // A song of no length has no position to show.
  const bool hasLength = song_ != nullptr && song_->LongestTrackTicks > 0;
  sonvela::DrawLoopBar(surface->Image(), loopBar_->start, loopBar_->end,
                       hasLength ? std::optional<double>(loopBar_->played) : std::nullopt);
  surface->Changed();
}

void WindowScreen::DrawSongMap() {
  DrawingSurface* surface = windows_.Surface(kSongMap);
  if (surface == nullptr) return;
  static const SongTables kNoSong;
  sonvela::DrawSongMap(surface->Image(), song_ != nullptr ? *song_ : kNoSong);
  surface->Changed();
}

void WindowScreen::SetEnabled(int controlId, bool enabled) {
  if (QWidget* control = windows_.Control(controlId)) control->setEnabled(enabled);
}

void WindowScreen::ShowSongTitle(std::string_view songFileName) {
  windows_.Main().ShowSongInTitle(songFileName);
}

void WindowScreen::RedrawMainPanels() {
  for (int channel = 1; channel <= kRows; ++channel) {
    PaintChannelKeyboard(ChannelControl(kChannelKeyboardBase, channel), 0, kRedrawKeyboard);
    const auto row = static_cast<size_t>(channel - 1);
    const int level = levels_[row];
    levels_[row] = -1;
    if (level >= 0) DrawLevelBar(ChannelControl(kLevelBarBase, channel), level);
    DrawInstrumentLabel(channel);
  }
  DrawSongMap();
  DrawLoopBarNow();
  if (DrawingSurface* panel = windows_.Surface(kLyricPanel)) {
    panel->Changed(DrawLyricLine(panel->Image(), SongText(texts_, lyric_.Text)));
  }
}

}  // namespace sonvela
