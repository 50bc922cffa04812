#include "text/logs.h"

namespace sonvela {

namespace {
constexpr std::string_view kReset = "RESET";
}

void DebugLog(Logs& logs, std::string_view text) {
  if (text == kReset) {
    logs.Debug.Clear();
    return;
  }
  logs.Debug.Append(text);
}

void MessageLog(Logs& logs, std::string_view text) {
  if (text == kReset) {
    logs.Messages.Clear();
    return;
  }
  while (true) {
    const size_t end = text.find("\r\n");
    const std::string_view piece = text.substr(0, end);
    if (piece.find_first_not_of(' ') != std::string_view::npos) logs.Messages.Append(piece);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 2);
  }
}

}  // namespace sonvela
