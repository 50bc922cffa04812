#pragma once
// The sizes that the main window's layout derives from its client area, worked out in one place so that
// the windows and their tests agree.

#include <optional>
#include <string>

namespace sonvela {

constexpr int kChannelRows = 16;
constexpr int kFirstRowTop = 128;  // the channel rows start below the five button rows

struct MainLayout {
  int ClientWidth = 0;          // CW
  int ClientHeight = 0;         // CH
  int RowHeight = 0;            // RH: one channel row, 0.6 of the height shared by the 16 rows, less where
                                // the window is too low for that
  int KeyboardWidth = 0;        // KW: a channel keyboard, 63 white keys of whole pixels plus one
  int BelowRows = 0;            // YB: top of the area below the channel rows
  int KeyboardWindowWidth = 0;  // WK: the Keyboard window, 63 white keys of whole pixels plus one

  static MainLayout Compute(int clientWidth, int clientHeight);

  int RowTop(int row) const { return kFirstRowTop + row * RowHeight; }
  int RowsEnd() const { return RowTop(kChannelRows); }
  // Controls right of the channel keyboards.
  int SongListLeft() const { return KeyboardWidth + 185; }
  int SongListWidth() const { return ClientWidth - KeyboardWidth - 189; }
};

struct ControlRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const ControlRect&) const = default;
};

// Where a control of the main window lies in its client area; nothing for an id the main window does not
// hold.
std::optional<ControlRect> MainControlRect(int id, const MainLayout& layout);

// a / b rounded to the nearest integer, ties to the even one (b > 0).
long long RoundRatio(long long a, long long b);

// "(1024 x 768) " for a client area of 1024 by 768.
std::string TitleSizeSuffix(int clientWidth, int clientHeight);
// The main window's title before a song is loaded.
std::string MainWindowTitle(int clientWidth, int clientHeight);

}  // namespace sonvela
