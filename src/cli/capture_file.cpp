#include "cli/capture_file.h"

#include <cerrno>
#include <cstring>

namespace sonvela {

namespace {

void ReportFailure(const std::string& path, int error) {
  std::fprintf(stderr, "Cannot write the capture file \"%s\": %s\n", path.c_str(), std::strerror(error));
}

}  // namespace

bool CaptureFile::Create(const std::string& path) {
  path_ = path;
  file_.reset(std::fopen(path.c_str(), "w"));
  if (!file_) ReportFailure(path, errno);
  return file_ != nullptr;
}

bool CaptureFile::Write(const std::vector<SentMessage>& messages) {
  if (!file_) return false;
  for (const SentMessage& message : messages) {
    const std::string line = CaptureLine(message);
    std::fputs(line.c_str(), file_.get());
    std::fputc('\n', file_.get());
  }
  errno = 0;
  const bool written = std::fflush(file_.get()) == 0 && !std::ferror(file_.get());
  const int error = errno != 0 ? errno : EIO;
  const bool closed = std::fclose(file_.release()) == 0;
  if (!written || !closed) ReportFailure(path_, error);
  return written && closed;
}

}  // namespace sonvela
