#include "platform/charset_converter.h"

#include <cerrno>
#include <utility>

#include "text/charsets.h"

namespace sonvela {

namespace {

const iconv_t kNoHandle = reinterpret_cast<iconv_t>(-1);

}  // namespace

std::optional<CharsetConverter> CharsetConverter::Open(const std::string& from, const std::string& to) {
  const iconv_t handle = iconv_open(to.c_str(), from.c_str());
  if (handle == kNoHandle) return std::nullopt;
  return CharsetConverter(handle, from, to);
}

CharsetConverter::CharsetConverter(iconv_t handle, std::string from, std::string to)
    : handle_(handle), from_(std::move(from)), to_(std::move(to)) {}

CharsetConverter::~CharsetConverter() {
  if (handle_ != kNoHandle) iconv_close(handle_);
}

CharsetConverter::CharsetConverter(CharsetConverter&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)),
      from_(std::move(other.from_)),
      to_(std::move(other.to_)) {}

CharsetConverter& CharsetConverter::operator=(CharsetConverter&& other) noexcept {
  if (this != &other) {
    if (handle_ != kNoHandle) iconv_close(handle_);
    handle_ = std::exchange(other.handle_, kNoHandle);
    from_ = std::move(other.from_);
    to_ = std::move(other.to_);
  }
  return *this;
}

std::string CharsetConverter::Convert(std::string_view bytes) const {
  const bool fromUtf8 = from_ == kUtf8Charset;
  const std::string_view replacement = to_ == kUtf8Charset ? "\xEF\xBF\xBD" : "?";
  std::string out;
  out.resize(bytes.size() * 4 + 8);
  size_t written = 0;
  iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // a text never continues the last one's state
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  while (true) {
    char* outAt = out.data() + written;
    size_t outLeft = out.size() - written;
    // With the input done, what a charset held back (a letter that a mark might still have combined
    // with) is written out.
    const bool flushing = inLeft == 0;
    const size_t done = flushing ? iconv(handle_, nullptr, nullptr, &outAt, &outLeft)
                                 : iconv(handle_, &in, &inLeft, &outAt, &outLeft);
    written = out.size() - outLeft;
    if (done != static_cast<size_t>(-1)) {
      if (flushing) break;
      continue;
    }
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    if (flushing) break;
    // A sequence the charset lacks, or one cut off by the end: replaced, and on past it (a whole UTF-8
    // sequence when UTF-8 is read, else one byte, so that the next character is read afresh).
    size_t skip = 1;
    if (fromUtf8 && errno == EILSEQ) {
      while (skip < inLeft && IsUtf8Continuation(static_cast<unsigned char>(in[skip]))) ++skip;
    }
    if (errno == EINVAL) skip = inLeft;
    if (out.size() - written < replacement.size()) out.resize(out.size() * 2);
    out.replace(written, replacement.size(), replacement);
    written += replacement.size();
    in += skip;
    inLeft -= skip;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(written);
  return out;
}

}  // namespace sonvela
