#include "app/folder_song_list.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>

namespace sonvela {

namespace {

bool EndsWithIgnoringCase(const std::string& name, std::string_view ending) {
  if (name.size() < ending.size()) return false;
  return std::equal(ending.begin(), ending.end(), name.end() - static_cast<std::ptrdiff_t>(ending.size()),
                    [](char a, char b) {
                      const auto lower = [](char c) {
                        return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
                      };
                      return lower(a) == lower(b);
                    });
}

// The last part of a path (after its last "/").
std::string FileNamePart(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

QString Decoded(const std::string& bytes) {
  return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace

QString ChooseSongFileInDialog() {
  QFileDialog dialog(nullptr, QStringLiteral("Load"), QDir::currentPath(),
                     QStringLiteral(".mid .kar files (*.mid *.kar);;karaoke (*.kar)"));
  // Qt's own dialog matches the filters in either case (files from other systems often carry their
  // extensions in capitals); a desktop's dialog may not.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

std::vector<std::string> SongFileNames(const std::vector<std::string>& names) {
  std::vector<std::string> songs;
  for (const char* ending : {".mid", ".kar"}) {
    for (const std::string& name : names) {
      if (songs.size() >= static_cast<size_t>(kMaxListedSongs)) return songs;
      if (EndsWithIgnoringCase(name, ending)) songs.push_back(name);
    }
  }
  return songs;
}

std::vector<std::string> SongFilesOfCurrentFolder() {
  std::vector<std::string> names;
  const QDir folder = QDir::current();
  for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
    const QByteArray bytes = QFile::encodeName(name);
    names.emplace_back(bytes.constData(), static_cast<size_t>(bytes.size()));
  }
  return SongFileNames(names);
}

FolderSongList::FolderSongList(SongFileList& list, ChooseFile choose)
    : list_(list), choose_(std::move(choose)) {}

std::string FolderSongList::ChooseSongFile() {
  const QString path = !next_.isEmpty() ? std::exchange(next_, {}) : (choose_ ? choose_() : QString());
  if (path.isEmpty()) return {};
  const QFileInfo chosen(path);
  // The folder of the chosen file becomes the current one: the list shows it, and its entries are read
  // from it.
  QDir::setCurrent(chosen.absolutePath());
  const QByteArray bytes = QFile::encodeName(chosen.absoluteFilePath());
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void FolderSongList::ShowFolderOf(const std::string& song) {
  const QFileInfo file(Decoded(song));
  if (song.empty() || !file.isFile()) return;
  QDir::setCurrent(file.absolutePath());
  const QByteArray bytes = QFile::encodeName(file.absoluteFilePath());
  FillSongList(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void FolderSongList::FillSongList(const std::string& name) {
  list_.SetEntries(SongFilesOfCurrentFolder());
  if (list_.Count() == 0) return;
  int selected = 0;
  if (!name.empty()) {
    const QString wanted = Decoded(FileNamePart(name));
    for (int index = 0; index < list_.Count(); ++index) {
      if (Decoded(list_.Entry(index)).compare(wanted, Qt::CaseInsensitive) == 0) {
        selected = index;
        break;
      }
    }
  }
  list_.Select(selected);
}

}  // namespace sonvela
