#include "app/command_line.h"

#include <algorithm>

namespace sonvela {

std::string ArgumentsText(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) {
    if (&argument != &arguments.front()) text += ' ';
    text += argument;
  }
  return text;
}

std::string SongFromArguments(std::string_view argumentsText) {
  std::string song(argumentsText);
  std::erase(song, '"');
  return song;
}

bool NamesMidiFile(std::string_view argumentsText) {
  std::string lower(argumentsText);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return lower.find(".mid") != std::string::npos;
}

}  // namespace sonvela
