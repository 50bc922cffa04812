#pragma once
// Where the program's message boxes go: dialogs with an OK button, no owner window and the one caption
// "Sonvela"; or, when SONVELA_TEST_MESSAGES is set, one line each on standard error, so that a run without
// anyone at the screen never waits on a dialog.

#include <memory>
#include <string_view>

#include "text/message_boxes.h"

namespace sonvela {

inline constexpr char kMessageCaption[] = "Sonvela";
inline constexpr char kMessagesToStderr[] = "SONVELA_TEST_MESSAGES";

class DialogMessageBoxes : public MessageBoxes {
 public:
  void ShowMessage(std::string_view text) override;
};

class StderrMessageBoxes : public MessageBoxes {
 public:
  void ShowMessage(std::string_view text) override;
};

std::unique_ptr<MessageBoxes> MakeMessageBoxes();

}  // namespace sonvela
