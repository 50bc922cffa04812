#pragma once
// The capture file of `play --capture`: opened before playing, so a bad path fails at once, and written when
// playing ends.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "player/capture_midi_out.h"

namespace sonvela {

class CaptureFile {
 public:
  // Reports on standard error and returns false when the file cannot be created.
  bool Create(const std::string& path);
  // One line per message; reports on standard error and returns false when writing fails.
  bool Write(const std::vector<SentMessage>& messages);

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::string path_;
  std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace sonvela
