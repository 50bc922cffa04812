#include "app/midi_in_dialog.h"

#include <QSignalBlocker>

#include <algorithm>

#include "player/control_ids.h"

namespace sonvela {

namespace {

constexpr QSize kDialogSize(200, 150);
constexpr QRect kDeviceListRect(10, 10, 130, 20);
// The open list reaches 100 pixels below the top of the closed one.
constexpr int kDeviceListOpenHeight = 100;

}  // namespace

MidiInDialog::MidiInDialog()
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      devices_(new QComboBox(this)) {
  setWindowTitle("Midi in device");
  resize(kDialogSize);
  devices_->setObjectName(QString::number(kMidiInDeviceList));
  devices_->setGeometry(kDeviceListRect);
  const int rowHeight = std::max(1, devices_->fontMetrics().height());
  devices_->setMaxVisibleItems(std::max(1, (kDeviceListOpenHeight - kDeviceListRect.height()) / rowHeight));
  connect(devices_, &QComboBox::activated, this, &MidiInDialog::EntryChosen);
}

void MidiInDialog::ShowEntries(const QStringList& entries) {
  {
    const QSignalBlocker quiet(devices_);
    devices_->clear();
    devices_->addItems(entries);
    devices_->setCurrentIndex(entries.isEmpty() ? -1 : 0);
  }
  show();
  raise();
  activateWindow();
}

}  // namespace sonvela
