#pragma once
// The song files to choose from: the window's file list of the current folder, or the toolbox's file
// arguments. Entries are numbered from 0.

#include <algorithm>
#include <string>

namespace sonvela {

class SongList {
 public:
  virtual ~SongList() = default;
  virtual int Count() = 0;
  // -1 when no entry is selected.
  virtual int SelectedIndex() = 0;
  // Selects an entry the way the program does: nothing is loaded by the selection itself.
  virtual void Select(int index) = 0;
  virtual std::string EntryText(int index) = 0;
  // Whether the entry after the last is the first again, and the one before the first the last: the
  // folder's list goes round, the toolbox's file arguments end.
  virtual bool GoesRound() const = 0;

  // The entry after (before) the selected one, as the list goes; with none selected the first (last).
  // -1 when there is none.
  int NextIndex() {
    const int count = Count();
    const int next = SelectedIndex() + 1;
    if (count <= 0) return -1;
    if (next < count) return std::max(next, 0);
    return GoesRound() ? 0 : -1;
  }
  int PreviousIndex() {
    const int count = Count();
    const int selected = SelectedIndex();
    if (count <= 0) return -1;
    if (selected > 0) return std::min(selected, count) - 1;
    return GoesRound() ? count - 1 : -1;
  }
  // The Load button's open dialog: the chosen path, empty when it was cancelled. A list without a dialog
  // chooses nothing.
  virtual std::string ChooseSongFile() { return {}; }
  // Refills the list with the song files of the current folder and selects the entry of `name` (the
  // first entry when it is empty or not there).
  virtual void FillSongList(const std::string& /*name*/) {}
};

}  // namespace sonvela
