#pragma once
// The song list of the window: the .mid and .kar files of the current folder in list 1070, and the open
// dialog of the Load button, which makes the chosen file's folder the current one.

#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "app/song_file_list.h"
#include "session/song_list.h"

namespace sonvela {

constexpr int kMaxListedSongs = 10000;

// The open dialog: the chosen path, empty when cancelled.
using ChooseFile = std::function<QString()>;
// The real one: caption "Load", the song files and the karaoke files of the current folder.
QString ChooseSongFileInDialog();

// The song files among `names` (.mid, then .kar, each in any case), at most kMaxListedSongs.
std::vector<std::string> SongFileNames(const std::vector<std::string>& names);
// The song files of the current folder, as SongFileNames picks them.
std::vector<std::string> SongFilesOfCurrentFolder();

class FolderSongList : public SongList {
 public:
  FolderSongList(SongFileList& list, ChooseFile choose);

  int Count() override { return list_.Count(); }
  int SelectedIndex() override { return list_.Selected(); }
  void Select(int index) override { list_.Select(index); }
  std::string EntryText(int index) override { return list_.Entry(index); }
  bool GoesRound() const override { return true; }
  std::string ChooseSongFile() override;
  void FillSongList(const std::string& name) override;

  // The song given on the command line plays: its folder becomes the current one, as a chosen file's
  // does, and the list shows it with that song selected (a file that is not there changes nothing).
  void ShowFolderOf(const std::string& song);

  // The next ChooseSongFile takes this file instead of asking (a file dropped on the window).
  void ChooseNext(const QString& path) { next_ = path; }

 private:
  SongFileList& list_;
  ChooseFile choose_;
  QString next_;
};

}  // namespace sonvela
