#pragma once
// RtMidi reports construction problems on std::cerr before an error callback can be set; this catches them
// for the debug log instead, for the life of the object.

#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>

namespace sonvela {

class CerrToLog {
 public:
  explicit CerrToLog(std::function<void(const std::string&)> log)
      : log_(std::move(log)), previous_(std::cerr.rdbuf(text_.rdbuf())) {}
  ~CerrToLog() {
    std::cerr.rdbuf(previous_);
    std::string line;
    while (std::getline(text_, line)) {
      if (!line.empty()) log_(line);
    }
  }
  CerrToLog(const CerrToLog&) = delete;
  CerrToLog& operator=(const CerrToLog&) = delete;

 private:
  std::function<void(const std::string&)> log_;
  std::stringstream text_;
  std::streambuf* previous_;
};

}  // namespace sonvela
