#include "compose/voice_text.h"

#include <algorithm>
#include <string_view>

namespace sonvela {
namespace {

// True when the token was found (and removed everywhere).
bool RemoveToken(std::string& text, std::string_view token) {
  bool found = false;
  for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at)) {
    text.erase(at, token.size());
    found = true;
  }
  return found;
}

}  // namespace

void ParseVoiceText(std::string& text, std::string& mode) {
  if (RemoveToken(text, "[AC]")) mode = kModeOctaveUp;
  if (RemoveToken(text, "[00]")) mode = kModeThirdDown;
  std::replace(text.begin(), text.end(), ' ', '\0');
}

}  // namespace sonvela
