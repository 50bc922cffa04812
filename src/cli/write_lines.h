#pragma once

#include <cstdio>

#include "text/line_list.h"

namespace sonvela {

// Every line unchanged, each followed by a line feed. False when standard output fails.
// Lists: a LineList, or the event table (whose items are written when asked for).
template <typename Lines>
bool WriteLines(const Lines& lines, std::FILE* out = stdout) {
  for (size_t i = 0; i < lines.Size(); ++i) {
    const auto& line = lines[i];
    std::fwrite(line.data(), 1, line.size(), out);
    std::fputc('\n', out);
  }
  return std::fflush(out) == 0 && !std::ferror(out);
}

}  // namespace sonvela
