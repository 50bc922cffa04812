#pragma once
// The device dialog of the "Midi out" button: a small window of its own with one drop-down list of device
// entries (" 0 Name"). It does not wait for an answer: the program goes on playing while it is open. (The
// "Midi in" button has its own dialog, in midi_in_dialog.h.)

#include <QComboBox>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include "devices/midi_out_devices.h"
#include "player/midi_out.h"
#include "text/logs.h"
#include "text/message_boxes.h"

namespace sonvela {

class DeviceDialog : public QDialog {
  Q_OBJECT

 public:
  // The first entry is selected. Deleted when closed.
  DeviceDialog(const QString& title, const std::vector<std::string>& entries);
  QComboBox* Entries() const { return entries_; }

 signals:
  // An entry was chosen (also the one already selected); the dialog has closed.
  void EntryChosen(const std::string& entry);

 private:
  QComboBox* entries_;
};

// Switching the output to a chosen device without stopping the window: the output closes at once, and
// the device is opened after the pause the driver wants (kPauseAfterCloseMs), by a timer. Meanwhile the
// window answers and the song goes on ticking; what it sends while no output is open is dropped.
class OutputSwitch {
 public:
  OutputSwitch(MidiOutDevices& devices, MidiOut& midi, Logs& logs, MessageBoxes& messages);

  void Choose(const std::string& entry);
  // Between the close and the open.
  bool Switching() const { return pause_.isActive(); }
  // The program ends: a pending open is dropped.
  void Cancel() { pause_.stop(); }
  void SetPauseMs(int milliseconds) { pauseMs_ = milliseconds; }
  // After the chosen device was opened (or failed to open).
  std::function<void()> onSwitched;

 private:
  void Finish();

  MidiOutDevices& devices_;
  MidiOut& midi_;
  Logs& logs_;
  MessageBoxes& messages_;
  int pauseMs_ = kPauseAfterCloseMs;
  QTimer pause_;
  std::string entry_;
};

}  // namespace sonvela
