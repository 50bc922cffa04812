#pragma once
// The lyric line's context menu.

#include <QMenu>

#include <functional>

namespace sonvela {

// The key that opens and closes the karaoke window from the main window.
inline constexpr auto kKaraokeKey = Qt::CTRL | Qt::Key_K;

// Fills `menu` with the lyric line's entries: the karaoke window, checked while it is shown.
void FillLyricLineMenu(QMenu& menu, bool karaokeShown, const std::function<void()>& toggleKaraoke);

}  // namespace sonvela
