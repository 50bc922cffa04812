#pragma once
// MIDI input in the window. The input thread does the thru itself and queues everything it shows; the
// window shows it on the UI thread: keys of the big keyboard lit in light green, a program change as the
// Keyboard window's title and its instrument list's entry (nothing sent), and the monitor lines in the
// message log while "Monitor" is on. The input thread never touches a widget.
//
// Use, on the UI thread: construct once the windows are built; OpenAtStart(); the "Midi in" button calls
// ShowMidiInDialog(); at shutdown Close() before the output closes. Destroying it closes the input too.

#include <functional>
#include <memory>

#include "app/app_windows.h"
#include "app/midi_in_dialog.h"
#include "devices/midi_in.h"
#include "devices/midi_in_devices.h"
#include "devices/midi_in_shower.h"
#include "platform/queued_midi_in_shower.h"
#include "player/midi_out.h"
#include "player/screen.h"
#include "text/logs.h"
#include "text/message_boxes.h"

namespace sonvela {

// Everything must outlive the MidiInWindow. `port` and `midi` are used from the input thread too.
struct MidiInWindowPorts {
  AppWindows& windows;     // the Keyboard window's title and instrument list
  Screen& screen;          // the big keyboard's keys
  MidiIn& port;            // the input devices
  MidiOut& midi;           // the thru, sent from the input thread
  MessageBoxes& messages;  // "Midi in ora è : ..."
  Logs& logs;              // monitor lines go to the message log
  // Whether "Monitor" is on (the transport's MonitorOn); asked on the UI thread for each line.
  std::function<bool()> monitorOn;
  // The log lists show the lines just added.
  std::function<void()> logsWritten;
};

// The window's side of the input: runs on the UI thread only (the queued shower calls it there).
class MidiInWindowShower : public MidiInShower {
 public:
  explicit MidiInWindowShower(const MidiInWindowPorts& ports) : ports_(ports) {}
  void PaintInputKey(int key, int64_t colour) override;
  void ShowInputProgram(int program) override;
  void ShowMonitorLine(std::string line) override;

 private:
  const MidiInWindowPorts& ports_;
};

class MidiInWindow {
 public:
  explicit MidiInWindow(MidiInWindowPorts ports);
  ~MidiInWindow();
  MidiInWindow(const MidiInWindow&) = delete;
  MidiInWindow& operator=(const MidiInWindow&) = delete;

  // Start-up: device 0 opened and started; nothing is said when there is none.
  void OpenAtStart();
  // The "Midi in" button: the "Midi in device" dialog with the devices of this moment, the first
  // selected. Choosing an entry closes the dialog and the current input, says "Midi in ora è : " and the
  // entry, and opens and starts the entry's device.
  void ShowMidiInDialog();
  // Shutdown: the input stopped and closed (no message reaches the window afterwards) and the dialog
  // hidden. Nothing opens input again afterwards.
  void Close();

  const MidiInDevices& Devices() const { return devices_; }
  // The dialog, once shown (nullptr before).
  MidiInDialog* Dialog() const { return dialog_.get(); }

 private:
  MidiInContext Context();
  void Choose(int index);

  MidiInWindowPorts ports_;
  MidiInDevices devices_;
  MidiInWindowShower uiShower_;
  // Takes the input thread's calls; goes after the input is closed (the destructor closes it first).
  QueuedMidiInShower queued_;
  std::unique_ptr<MidiInDialog> dialog_;
  bool closed_ = false;
};

}  // namespace sonvela
