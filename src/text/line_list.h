#pragma once
// An append-only list of text lines kept in one buffer: listings of millions of lines without an
// allocation per line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sonvela {

class LineList {
 public:
  void Append(std::string_view line) {
    text_.append(line);
    ends_.push_back(text_.size());
  }
  template <typename... Parts>
  void AppendJoined(const Parts&... parts) {
    (text_.append(parts), ...);
    ends_.push_back(text_.size());
  }
  // Builds a line in place: append to Open(), then Close().
  std::string& Open() { return text_; }
  void Close() { ends_.push_back(text_.size()); }
  // Room for what is about to come, so that millions of lines are not copied as the buffer grows.
  void Reserve(size_t bytes, size_t lines) {
    text_.reserve(text_.size() + bytes);
    ends_.reserve(ends_.size() + lines);
  }
  // What fits before the buffers grow.
  size_t TextRoom() const { return text_.capacity() - text_.size(); }
  size_t LineRoom() const { return ends_.capacity() - ends_.size(); }
  void Clear() {
    text_.clear();
    ends_.clear();
  }
  size_t Size() const { return ends_.size(); }
  // The bytes of all lines together.
  size_t TextSize() const { return text_.size(); }
  bool Empty() const { return ends_.empty(); }
  std::string_view operator[](size_t index) const {
    const size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(begin, ends_[index] - begin);
  }
  std::string_view Back() const { return (*this)[ends_.size() - 1]; }
  std::vector<std::string> ToVector() const {
    std::vector<std::string> lines;
    lines.reserve(Size());
    for (size_t i = 0; i < Size(); ++i) lines.emplace_back((*this)[i]);
    return lines;
  }
  size_t ByteSize() const { return text_.capacity() + ends_.capacity() * sizeof(size_t); }

 private:
  std::string text_;
  std::vector<size_t> ends_;
};

}  // namespace sonvela
