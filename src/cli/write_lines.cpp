#include "cli/write_lines.h"

#include <unistd.h>

#include <cerrno>

namespace sonvela {

BlockWriter::BlockWriter(int fd) : fd_(fd) {
  // Room for a full block and an ordinary line after it, so that appending seldom reallocates.
  block_.reserve(kBlockBytes + 4096);
}

void BlockWriter::WriteBlock() {
  Write(block_);
  block_.clear();
}

void BlockWriter::Write(std::string_view bytes) {
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0 && !failed_) {
    const ssize_t written = ::write(fd_, data, left);
    if (written < 0) {
      if (errno != EINTR) failed_ = true;
      continue;
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
}

void BlockWriter::LongLine(std::string_view text) {
  WriteBlock();
  Write(text);
  Line();
}

void BlockWriter::Lines(const LineList& lines) {
  for (size_t i = 0; i < lines.Size(); ++i) Line(lines[i]);
}

bool BlockWriter::Finish() {
  WriteBlock();
  return !failed_;
}

void WriteEventTable(BlockWriter& out, const SongDocument& document) {
  // A few thousand items at a time: about a block.
  constexpr size_t kItemsAtATime = 8192;
  const EventTableList& table = document.EventTable;
  for (size_t first = 0; first < table.Size(); first += kItemsAtATime) {
    table.AppendItems(out.Block(), document, first, first + kItemsAtATime, '\n');
    out.LinesAppended();
  }
}

}  // namespace sonvela
