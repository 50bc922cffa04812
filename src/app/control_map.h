#pragma once
// Every control of the five windows by its id (the ids are unique across the windows), in the order the
// controls were created.

#include <QWidget>

#include <unordered_map>
#include <vector>

namespace sonvela {

class ControlMap {
 public:
  struct Entry {
    int id = 0;
    QWidget* control = nullptr;
    bool clickable = false;  // reports clicks as commands
  };

  void Add(int id, QWidget* control, bool clickable = false) {
    byId_[id] = entries_.size();
    byControl_[control] = entries_.size();
    entries_.push_back({id, control, clickable});
  }
  // nullptr for an id no window holds. Playback looks controls up on every note: no search.
  QWidget* Find(int id) const {
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : entries_[found->second].control;
  }
  bool Clickable(int id) const {
    const auto found = byId_.find(id);
    return found != byId_.end() && entries_[found->second].clickable;
  }
  // The id of a control, 0 when it is none of them.
  int IdOf(const QWidget* control) const {
    const auto found = byControl_.find(control);
    return found == byControl_.end() ? 0 : entries_[found->second].id;
  }
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
  std::unordered_map<int, size_t> byId_;
  std::unordered_map<const QWidget*, size_t> byControl_;
};

}  // namespace sonvela
