#include "cli/terminal_screen.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

#include "cli/terminal_text.h"
#include "player/control_ids.h"

namespace sonvela {

namespace {

constexpr const char* kEraseLine = "\r\033[K";
constexpr size_t kDefaultColumns = 80;

size_t TerminalColumns() {
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return kDefaultColumns;
}

}  // namespace

void TerminalScreen::ShowMessage(std::string_view text) {
  ClearStatus();
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
  DrawStatus();
}

void TerminalScreen::SetText(int controlId, std::string_view text) {
  if (controlId == kTimeLabel) {
    // The wall-clock label changes once a second: the progress is shown with its next refresh, which comes
    // in the same moment when the song plays (the clock's tick goes out before the progress tick).
    progressDue_ = true;
  } else if (controlId == kProgressLabel) {
    latestProgress_.assign(text);
    if (progressDue_) {
      progressDue_ = false;
      shownProgress_ = latestProgress_;
      DrawStatus();
    }
  }
}

void TerminalScreen::ShowLyric(std::string_view text) {
  // A finished lyric line stays above the status line.
  if (lyricLine_.Add(text, &finishedLine_) && showStatus_ && !finishedLine_.empty()) {
    ClearStatus();
    std::fputs(charset_.FromUtf8(texts_.Decode(finishedLine_)).c_str(), stdout);
    std::fputc('\n', stdout);
  }
  DrawStatus();
}

void TerminalScreen::PrintLine(std::string_view line) {
  ClearStatus();
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  DrawStatus();
}

void TerminalScreen::Finish() {
  if (!showStatus_) return;
  shownProgress_ = latestProgress_;
  DrawStatus();
  if (statusDrawn_) std::fputc('\n', stdout);
  statusDrawn_ = false;
  std::fflush(stdout);
}

void TerminalScreen::ClearStatus() {
  if (!statusDrawn_) return;
  std::fputs(kEraseLine, stdout);
  std::fflush(stdout);
  statusDrawn_ = false;
}

void TerminalScreen::DrawStatus() {
  if (!showStatus_ || (shownProgress_.empty() && lyricLine_.Text.empty())) return;
  status_ = shownProgress_;
  if (!status_.empty() && !lyricLine_.Text.empty()) status_ += "  ";
  status_ += texts_.Decode(lyricLine_.Text);
  // A status line that wrapped could no longer be rewritten in place.
  const std::string shown =
      charset_.FromUtf8(FirstColumns(status_, std::max<size_t>(TerminalColumns(), 2) - 1));
  std::fputs(kEraseLine, stdout);
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  std::fflush(stdout);
  statusDrawn_ = true;
}

}  // namespace sonvela
