#pragma once
// Where the program's message boxes go: dialogs with an OK button, no owner window and the one caption
// "Sonvela"; or, when SONVELA_TEST_MESSAGES is set, one line each on standard error, so that a run without
// anyone at the screen never waits on a dialog.

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <deque>
#include <memory>
#include <string_view>

#include "text/message_boxes.h"

namespace sonvela {

inline constexpr char kMessageCaption[] = "Sonvela";
inline constexpr char kMessagesToStderr[] = "SONVELA_TEST_MESSAGES";

// The program's boxes while its main window runs.
class WindowMessageBoxes : public MessageBoxes {
 public:
  // Boxes open above this window from now on (the main window, once it exists).
  virtual void SetOwner(QWidget* owner) { static_cast<void>(owner); }
  // The main window has ended, and the program with it: no box holds it up.
  virtual void EndWithWindow() {}
};

// While the program runs its boxes do not wait for the answer: a box that ran its own event loop would let
// timer ticks play the song from inside the code that opened it. One box is shown at a time, above the
// main window; later messages wait their turn. Each box goes when it is closed.
class DialogMessageBoxes : public WindowMessageBoxes {
 public:
  void ShowMessage(std::string_view text) override;
  void SetOwner(QWidget* owner) override { owner_ = owner; }
  // The open box closes; what it and the waiting messages said goes to standard error, so that nothing
  // said is lost, and so does what is said from now on.
  void EndWithWindow() override;

 private:
  void OpenNext();

  QPointer<QWidget> owner_;
  QPointer<QMessageBox> open_;
  std::deque<QString> waiting_;
  bool ended_ = false;
};

// A box that waits for its OK: for a process that ends right after it (a second copy of the program).
class WaitingMessageBoxes : public MessageBoxes {
 public:
  void ShowMessage(std::string_view text) override;
};

class StderrMessageBoxes : public WindowMessageBoxes {
 public:
  void ShowMessage(std::string_view text) override;
};

// The program's boxes: dialogs that do not wait, or standard error.
std::unique_ptr<WindowMessageBoxes> MakeMessageBoxes();
// Boxes for a process about to end: dialogs that wait, or standard error.
std::unique_ptr<MessageBoxes> MakeWaitingMessageBoxes();

}  // namespace sonvela
