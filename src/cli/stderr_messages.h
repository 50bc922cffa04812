#pragma once
// Message boxes of the toolbox: one line each on standard error.

#include <cstdio>
#include <string>
#include <string_view>

#include "text/message_boxes.h"

namespace sonvela {

class StderrMessages : public MessageBoxes {
 public:
  void ShowMessage(std::string_view text) override {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    ++count_;
  }
  int Count() const { return count_; }

 private:
  int count_ = 0;
};

}  // namespace sonvela
