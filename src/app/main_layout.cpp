#include "app/main_layout.h"

#include <algorithm>
#include <array>

#include "player/control_ids.h"
#include "text/number_text.h"

namespace sonvela {

namespace {

constexpr int kWhiteKeys = 63;

// Whole pixels for every white key, and one more for the closing edge.
int KeyboardWidthFor(int width) {
  return width / kWhiteKeys * kWhiteKeys + 1;
}

struct FixedRect {
  int id;
  ControlRect rect;
};

constexpr int kButtonWidth = 93;
constexpr int kButtonHeight = 20;
constexpr int kNarrowButtonWidth = 31;
// Below the channel rows: Cancel Loop and Info (18 high), then the lyric line; at the bottom the loop bar
// and the song map, 112 pixels with their gaps.
constexpr int kLyricPanelHeight = 40;
constexpr int kBottomBarsHeight = 112;
// From the rows' end to the loop bar: their 4-pixel gap, Cancel Loop, the lyric line and 2 pixels apart.
constexpr int kBetweenRowsAndBars = 4 + 18 + kLyricPanelHeight + 2;

constexpr ControlRect Button(int x, int y) {
  return {x, y, kButtonWidth, kButtonHeight};
}

// The five rows of buttons and labels at the top left: buttons 93 wide, 2 pixels apart, from x = 4.
constexpr std::array<FixedRect, 25> kTopRows = {{
    {kLoadButton, Button(4, 4)},
    {kMidiOutButton, Button(99, 4)},
    {kMidiInButton, Button(194, 4)},
    {kNoteTestButton, Button(289, 4)},
    {kMonitorToggle, Button(384, 4)},
    {kDebugToggle, Button(4, 26)},
    {kAllOrganButton, Button(99, 26)},
    {kBigKeyboardToggle, Button(194, 26)},
    {kListingToggle, Button(289, 26)},
    {kEventTableToggle, Button(384, 26)},
    {kTimeLabel, Button(4, 48)},
    {kProgressLabel, {97, 48, 190, kButtonHeight}},
    {kBpmLabel, {287, 48, 95, kButtonHeight}},
    {kHalveTempoButton, {384, 48, kNarrowButtonWidth, kButtonHeight}},
    {kDoubleTempoButton, {415, 48, kNarrowButtonWidth, kButtonHeight}},
    {kTempoFixToggle, {446, 48, kNarrowButtonWidth, kButtonHeight}},
    {kPlayButton, Button(4, 70)},
    {kPauseToggle, Button(99, 70)},
    {kStopButton, Button(194, 70)},
    {kCreateButton, Button(289, 70)},
    {kSoloOffButton, Button(384, 70)},
    {kContinuoToggle, Button(4, 92)},
    {kIntroToggle, Button(99, 92)},
    {kMuteToggle, Button(194, 92)},
    {kNoteNameLabel, Button(289, 92)},
}};

// A control of channel row `row` (0..15) whose id is base + row, or nothing.
std::optional<ControlRect> ChannelRowRect(int id, const MainLayout& layout) {
  struct Column {
    int base;
    int x;
    int width;
  };
  const int kw = layout.KeyboardWidth;
  const std::array<Column, 5> columns = {{{kChannelKeyboardBase, 4, kw},
                                          {kLevelBarBase, kw + 5, 22},
                                          {kChannelIndicatorBase, kw + 28, 22},
                                          {kChannelButtonBase, kw + 51, 22},
                                          {kInstrumentLabelBase, kw + 74, 110}}};
  for (const Column& column : columns) {
    const int row = id - column.base;
    if (row >= 0 && row < kChannelRows) {
      return ControlRect{column.x, layout.RowTop(row), column.width, layout.RowHeight};
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<ControlRect> MainControlRect(int id, const MainLayout& layout) {
  for (const FixedRect& fixed : kTopRows) {
    if (fixed.id == id) return fixed.rect;
  }
  if (auto rect = ChannelRowRect(id, layout)) return rect;
  const int cw = layout.ClientWidth;
  const int ch = layout.ClientHeight;
  const int yb = layout.BelowRows;
  switch (id) {
    case kMessageLogList:
      return ControlRect{479, 4, cw - 483, 120};
    case kSongFileList:
      return ControlRect{layout.SongListLeft(), kFirstRowTop, layout.SongListWidth(),
                         kChannelRows * layout.RowHeight};
    case kCancelLoopButton:
      return ControlRect{4, yb, 80, 18};
    case kInfoLabel:
      return ControlRect{86, yb, 260, 18};
    case kLyricPanel:
      return ControlRect{4, yb + 18, cw - 8, kLyricPanelHeight};
    case kLoopBar:
      return ControlRect{4, ch - kBottomBarsHeight, cw - 8, 18};
    case kSongMap:
      return ControlRect{4, ch - 94, cw - 8, 90};
    default:
      return std::nullopt;
  }
}

long long RoundRatio(long long a, long long b) {
  long long quotient = a / b;
  long long remainder = a % b;
  if (remainder < 0) {
    quotient -= 1;
    remainder += b;
  }
  const long long twice = 2 * remainder;
  if (twice > b || (twice == b && quotient % 2 != 0)) ++quotient;
  return quotient;
}

MainLayout MainLayout::Compute(int clientWidth, int clientHeight) {
  MainLayout layout;
  layout.ClientWidth = clientWidth;
  layout.ClientHeight = clientHeight;
  // Exact fractions: CH x 0.6 / 16 and CW x 0.64, so a tie really is one.
  layout.RowHeight = static_cast<int>(RoundRatio(static_cast<long long>(clientHeight) * 6, 160));
  // Below about 768 pixels the rows would push the lyric line under the loop bar: the channel rows give
  // way, never the lyric line, the loop bar or the song map.
  const int room = clientHeight - kFirstRowTop - kBetweenRowsAndBars - kBottomBarsHeight;
  layout.RowHeight = std::max(1, std::min(layout.RowHeight, room / kChannelRows));
  layout.KeyboardWidth =
      KeyboardWidthFor(static_cast<int>(RoundRatio(static_cast<long long>(clientWidth) * 64, 100)));
  layout.BelowRows = layout.RowsEnd() + 4;
  layout.KeyboardWindowWidth = KeyboardWidthFor(clientWidth);
  return layout;
}

std::string TitleSizeSuffix(int clientWidth, int clientHeight) {
  return "(" + NumberTextNoBlank(clientWidth) + " x" + NumberText(clientHeight) + ") ";
}

std::string MainWindowTitle(int clientWidth, int clientHeight) {
  return "Sonvela 1.06 Quarzani Teodolfo fecit! " + TitleSizeSuffix(clientWidth, clientHeight);
}

}  // namespace sonvela
