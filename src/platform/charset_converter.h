#pragma once
// Converts text from one charset to another (iconv). What the source charset does not have, or the
// target cannot write, becomes a replacement and the rest still converts: U+FFFD into UTF-8, "?" into
// any other charset. One converter serves one thread.

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

namespace sonvela {

class CharsetConverter {
 public:
  // nullopt when the converter knows either name not.
  static std::optional<CharsetConverter> Open(const std::string& from, const std::string& to = "UTF-8");
  ~CharsetConverter();
  CharsetConverter(CharsetConverter&& other) noexcept;
  CharsetConverter& operator=(CharsetConverter&& other) noexcept;
  CharsetConverter(const CharsetConverter&) = delete;
  CharsetConverter& operator=(const CharsetConverter&) = delete;

  std::string Convert(std::string_view bytes) const;
  const std::string& From() const { return from_; }

 private:
  CharsetConverter(iconv_t handle, std::string from, std::string to);

  iconv_t handle_;
  std::string from_;
  std::string to_;
};

}  // namespace sonvela
