#include "player/capture_file.h"

#include <cerrno>
#include <cstring>

namespace sonvela {

bool CaptureFile::Create(const std::string& path, std::string& error) {
  path_ = path;
  file_.reset(std::fopen(path.c_str(), "w"));
  if (!file_) error = std::strerror(errno);
  return file_ != nullptr;
}

bool CaptureFile::Append(const std::vector<SentMessage>& messages, std::string& error) {
  if (!file_) return false;
  if (failure_ == 0) {
    errno = 0;
    for (const SentMessage& message : messages) {
      const std::string line = CaptureLine(message) + '\n';
      if (std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size()) break;
    }
    if (std::fflush(file_.get()) != 0 || std::ferror(file_.get())) failure_ = errno != 0 ? errno : EIO;
  }
  if (failure_ != 0) error = std::strerror(failure_);
  return failure_ == 0;
}

bool CaptureFile::Close(const std::vector<SentMessage>& messages, std::string& error) {
  if (!file_) return false;
  const bool written = Append(messages, error);
  errno = 0;
  const bool closed = std::fclose(file_.release()) == 0;
  if (written && !closed) error = std::strerror(errno != 0 ? errno : EIO);
  return written && closed;
}

}  // namespace sonvela
