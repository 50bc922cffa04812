#pragma once
// Playing the keyboards with the mouse. A left-button press on a key of a channel keyboard sounds its note
// on that keyboard's channel; one on the big keyboard sounds it on channel 1, whose instrument the Keyboard
// window's instrument list chooses. The key lights while the note sounds.
//
// The note that was pressed is kept, and its Note Off goes to exactly that channel and note wherever the
// button comes up: over another keyboard, another control or outside every window. Keys lit by playback or
// by MIDI input are only shown; nothing here lets their notes go, and moving over them sends nothing.
//
// Also the rest of the Keyboard window: its channel filters redraw the big keyboard, and a press on the
// history strip whitens it.

#include <QPoint>

#include <functional>
#include <optional>
#include <string>

#include "app/app_windows.h"
#include "player/midi_out.h"
#include "player/screen.h"
#include "text/logs.h"

namespace sonvela {

struct KeyboardPlayPorts {
  AppWindows& windows;  // the keyboards' sizes, the history strip, the instrument list
  Screen& screen;       // keys, the note name label, the user told when the output is gone
  MidiOut& midi;
  Logs& logs;
  // The log lists show the lines just added.
  std::function<void()> logsWritten;
  // Whether the output is being switched (closed until the chosen device opens); empty: never.
  std::function<bool()> outputSwitching;
  // A program could not be sent: the output is gone, and the program ends.
  std::function<void()> outputGone;
};

// "do=60": the solfege name of the note's pitch class, "=", the note number.
std::string NoteNameText(int note);

class KeyboardPlay {
 public:
  static constexpr int kStartProgram = 1;

  // Everything in `ports` must outlive this object.
  explicit KeyboardPlay(KeyboardPlayPorts ports);

  // Every pointer event of the windows (AppWindows::Pointer). Acts on presses of the left button on the
  // channel keyboards 2200..2215, the big keyboard 2400 and the history strip 2415. The left button let go
  // anywhere ends the held note; so does a move that shows it up (its release went elsewhere).
  void OnPointer(int id, PointerAction action, QPoint position, Qt::MouseButton button,
                 Qt::MouseButtons buttons);
  // The Keyboard window's commands (AppWindows::Command): a channel filter 3020..3035 redraws the big
  // keyboard; a choice in the instrument list 1122 (notification 1) sets and sends the big keyboard's
  // program. Other ids are ignored. A program chosen while the output is switching waits for it.
  void OnKeyboardWindowCommand(int id, int notification);
  // The switched output is open: the program chosen meanwhile is sent now.
  void OutputSwitched();

  // Ends the held note, if any. At shutdown, before the output closes.
  void ReleaseHeldNote();
  bool HoldsNote() const { return held_.has_value(); }
  // The big keyboard's instrument, 1-based as the list shows it (1 until a choice is made in the list).
  int KeyboardProgram() const { return keyboardProgram_; }

 private:
  struct HeldNote {
    int keyboardId;    // where it was pressed: its key is cleared there
    int channelIndex;  // 0..15
    int note;
  };
  void PressKey(int keyboardId, int channelIndex, QPoint position);
  void ClearHistory();
  void ChooseKeyboardProgram();
  void SendKeyboardProgram();

  KeyboardPlayPorts ports_;
  std::optional<HeldNote> held_;
  int keyboardProgram_ = kStartProgram;
  bool programWaiting_ = false;  // chosen while the output was switching
};

}  // namespace sonvela
