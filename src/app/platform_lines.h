#pragma once
// Where the platform's log lines go: every one into the Debug window; the first that says the program
// plays without sound also into the message log, where the user sees it (no box: it is no error of theirs).

#include <string>

#include "text/logs.h"

namespace sonvela {

class PlatformLines {
 public:
  void Take(Logs& logs, const std::string& line);

 private:
  bool noSoundTold_ = false;
};

}  // namespace sonvela
