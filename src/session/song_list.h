#pragma once
// The song files to choose from: the window's file list of the current folder, or the toolbox's file
// arguments. Entries are numbered from 0.

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
  // The Load button's open dialog: the chosen path, empty when it was cancelled. A list without a dialog
  // chooses nothing.
  virtual std::string ChooseSongFile() { return {}; }
  // Refills the list with the song files of the current folder and selects the entry of `name` (the
  // first entry when it is empty or not there).
  virtual void FillSongList(const std::string& /*name*/) {}
};

}  // namespace sonvela
