#include "player/capture_midi_out.h"

#include <cstdio>

namespace sonvela {

namespace {
// Room for a dense song, so that recording does not reallocate while it plays.
constexpr size_t kInitialRoom = 1 << 16;
}  // namespace

std::string CaptureLine(const SentMessage& message) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3f\t%d\t%d\t%d", message.timeMs, message.Status(), message.Data1(),
                message.Data2());
  return buffer;
}

CaptureMidiOut::CaptureMidiOut(std::function<double()> nowMs) : nowMs_(std::move(nowMs)) {
  sent_.reserve(kInitialRoom);
}

void CaptureMidiOut::StartRecording() {
  if (beforeRecording_) beforeRecording_();
  std::lock_guard lock(mutex_);
  startMs_ = nowMs_();
  recording_ = true;
}

std::vector<SentMessage> CaptureMidiOut::Messages() const {
  std::lock_guard lock(mutex_);
  return sent_;
}

std::vector<SentMessage> CaptureMidiOut::TakeRecorded() {
  std::vector<SentMessage> taken;
  const std::lock_guard lock(mutex_);
  taken.swap(sent_);
  return taken;
}

std::string CaptureMidiOut::DeviceName(int device) {
  return device == 0 ? "Capture" : "";
}

int CaptureMidiOut::Open(int device) {
  std::lock_guard lock(mutex_);
  if (device != kDefaultMidiOut && device != 0) return 1;
  open_ = true;
  return kMidiOutOk;
}

int CaptureMidiOut::Close() {
  std::lock_guard lock(mutex_);
  const bool wasOpen = open_;
  open_ = false;
  return wasOpen ? kMidiOutOk : 1;
}

int CaptureMidiOut::OpenDeviceId() {
  std::lock_guard lock(mutex_);
  return open_ ? 0 : -1;
}

std::string CaptureMidiOut::ErrorText(int code) {
  return code == 1 ? "No capture output is open." : "Capture error " + std::to_string(code);
}

void CaptureMidiOut::Send(uint32_t message) {
  std::lock_guard lock(mutex_);
  // Every message sent from the start on is what would have sounded, open output or not.
  if (recording_) sent_.push_back({nowMs_() - startMs_, message});
}

}  // namespace sonvela
