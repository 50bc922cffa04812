#pragma once
// A capture file (SONVELA_CAPTURE, `play --capture`), written as playing goes: each Append writes what was
// recorded since the one before and flushes it, so that a killed program leaves what it had played, and a
// reader can follow the file as it grows. One "ms<TAB>status<TAB>data1<TAB>data2" line per message.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "player/capture_midi_out.h"

namespace sonvela {

class CaptureFile {
 public:
  // False, with the reason in `error`, when the file cannot be created.
  bool Create(const std::string& path, std::string& error);
  // False, with the reason, once writing has failed; what follows is not written.
  bool Append(const std::vector<SentMessage>& messages, std::string& error);
  // Appends the last messages and closes the file.
  bool Close(const std::vector<SentMessage>& messages, std::string& error);
  const std::string& Path() const { return path_; }

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::string path_;
  std::unique_ptr<std::FILE, Closer> file_;
  int failure_ = 0;  // the first write's errno that failed
};

}  // namespace sonvela
