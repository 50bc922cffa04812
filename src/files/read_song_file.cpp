#include "files/read_song_file.h"

#include <sys/stat.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace sonvela {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

void Complain(MessageBoxes& messages, const std::string& name, int error) {
  messages.ShowMessage("Impossibile leggere il file \"" + name + "\": " + std::strerror(error));
}

}  // namespace

bool ReadSongFile(const std::string& fileName, SongTables& tables, MessageBoxes& messages) {
  tables.SongFileData.clear();
  if (fileName.empty()) {
    messages.ShowMessage("Nomefile vuoto!");
    return false;
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) {
    Complain(messages, fileName, errno);
    return false;
  }
  struct stat info {};
  if (fstat(fileno(file.get()), &info) != 0) {
    Complain(messages, fileName, errno);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    Complain(messages, fileName, EISDIR);
    return false;
  }
  std::string data;
  if (S_ISREG(info.st_mode)) data.resize(static_cast<size_t>(info.st_size));
  size_t length = std::fread(data.data(), 1, data.size(), file.get());
  // Devices and pipes report no size: read them to their end.
  while (!S_ISREG(info.st_mode) && !std::ferror(file.get()) && !std::feof(file.get())) {
    data.resize(length + 65536);
    length += std::fread(data.data() + length, 1, 65536, file.get());
  }
  if (std::ferror(file.get())) {
    Complain(messages, fileName, errno ? errno : EIO);
    return false;
  }
  data.resize(length);
  tables.SongFileData = std::move(data);
  return true;
}

}  // namespace sonvela
