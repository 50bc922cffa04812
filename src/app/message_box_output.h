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

// While the program runs its boxes do not wait for the answer: a box that ran its own event loop would let
// timer ticks play the song from inside the code that opened it. Each box goes when it is closed.
class DialogMessageBoxes : public MessageBoxes {
 public:
  void ShowMessage(std::string_view text) override;
};

// A box that waits for its OK: for a process that ends right after it (a second copy of the program).
class WaitingMessageBoxes : public MessageBoxes {
 public:
  void ShowMessage(std::string_view text) override;
};

class StderrMessageBoxes : public MessageBoxes {
 public:
  void ShowMessage(std::string_view text) override;
};

// The program's boxes: dialogs that do not wait, or standard error.
std::unique_ptr<MessageBoxes> MakeMessageBoxes();
// Boxes for a process about to end: dialogs that wait, or standard error.
std::unique_ptr<MessageBoxes> MakeWaitingMessageBoxes();

// Whether a message box of the program is on the screen.
bool MessageBoxShown();

}  // namespace sonvela
