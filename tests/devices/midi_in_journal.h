#pragma once
// A MIDI input shower for tests: what the input thread did, in order, for the test thread to wait for.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "devices/midi_in_shower.h"

namespace sonvela {

class MidiInJournal : public MidiInShower {
 public:
  void PaintInputKey(int key, int64_t colour) override {
    Add("key " + std::to_string(key) +
        (colour == kRestoreKey        ? " clear"
         : colour == kMidiInKeyColour ? " lit"
                                      : " other colour"));
  }
  void ShowInputProgram(int program) override { Add("program " + std::to_string(program)); }
  void ShowMonitorLine(std::string line) override { Add("line " + line); }

  // The first `count` entries, once they are there (or what came within a generous time), taken out.
  std::vector<std::string> Take(size_t count) {
    std::unique_lock lock(mutex_);
    added_.wait_for(lock, std::chrono::seconds(10), [&] { return entries_.size() >= count; });
    const auto end = entries_.begin() + static_cast<std::ptrdiff_t>(std::min(count, entries_.size()));
    std::vector<std::string> taken(entries_.begin(), end);
    entries_.erase(entries_.begin(), end);
    return taken;
  }
  void Add(std::string entry) {
    std::lock_guard lock(mutex_);
    entries_.push_back(std::move(entry));
    added_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable added_;
  std::vector<std::string> entries_;
};

}  // namespace sonvela
