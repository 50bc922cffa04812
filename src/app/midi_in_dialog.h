#pragma once
// The "Midi in device" dialog: a drop-down list (1144) of the input devices. It has no owner window, so the
// main window stays usable while it is open; choosing an entry reports it, and the chooser closes it.

#include <QComboBox>
#include <QDialog>
#include <QStringList>

namespace sonvela {

class MidiInDialog : public QDialog {
  Q_OBJECT

 public:
  MidiInDialog();

  // Shows the dialog (or brings it to the front) with these entries, the first selected.
  void ShowEntries(const QStringList& entries);
  QComboBox* DeviceList() const { return devices_; }

 signals:
  // The user chose entry `index` (also the one already selected).
  void EntryChosen(int index);

 private:
  QComboBox* devices_;
};

}  // namespace sonvela
