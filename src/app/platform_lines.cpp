#include "app/platform_lines.h"

#include "platform/log_sink.h"

namespace sonvela {

void PlatformLines::Take(Logs& logs, const std::string& line) {
  DebugLog(logs, line);
  if (SaysNoSound(line) && !noSoundTold_) {
    noSoundTold_ = true;
    MessageLog(logs, line);
  }
}

}  // namespace sonvela
