#pragma once
// Writing listings of millions of lines: the lines are gathered into large blocks, each written with
// one system call, so a line costs a copy and no call of its own.

#include <string>
#include <string_view>

#include "song/song_document.h"
#include "text/line_list.h"

namespace sonvela {

class BlockWriter {
 public:
  explicit BlockWriter(int fd);
  BlockWriter(const BlockWriter&) = delete;
  BlockWriter& operator=(const BlockWriter&) = delete;

  // The block to append a line to; Line() ends it.
  std::string& Block() { return block_; }
  // Ends the line appended to the block; writes the block once it is full.
  void Line() {
    block_.push_back('\n');
    if (block_.size() >= kBlockBytes) WriteBlock();
  }
  // Lines appended to the block, each with its line feed, are complete: writes the block once it is full.
  void LinesAppended() {
    if (block_.size() >= kBlockBytes) WriteBlock();
  }
  void Line(std::string_view text) {
    if (text.size() >= kBlockBytes) {
      LongLine(text);
      return;
    }
    block_.append(text);
    Line();
  }
  // Every line of the list.
  void Lines(const LineList& lines);
  // Writes what is left. False when any write failed.
  bool Finish();

 private:
  static constexpr size_t kBlockBytes = size_t{1} << 20;
  void WriteBlock();
  void Write(std::string_view bytes);
  // A line longer than a block (the dump of a large SysEx) is written from where it stands.
  void LongLine(std::string_view text);
  int fd_;
  bool failed_ = false;
  std::string block_;
};

// Every item of the document's event table, one a line.
void WriteEventTable(BlockWriter& out, const SongDocument& document);

}  // namespace sonvela
