#include "files/write_file.h"

#include <cerrno>
#include <cstring>

namespace sonvela {

bool WriteFileTellingFailure(const std::string& path, const std::function<bool(std::FILE*)>& write,
                             MessageBoxes& messages) {
  const auto complain = [&](int error) {
    messages.ShowMessage("Impossibile scrivere il file \"" + path + "\": " + std::strerror(error));
    return false;
  };
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return complain(errno);
  errno = 0;
  const int writeError = write(file) ? 0 : (errno != 0 ? errno : EIO);
  errno = 0;
  const int closeError = std::fclose(file) == 0 ? 0 : (errno != 0 ? errno : EIO);
  if (writeError != 0) return complain(writeError);
  if (closeError != 0) return complain(closeError);
  return true;
}

}  // namespace sonvela
