#pragma once
// A fresh folder of the test's own, removed with all it holds.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace sonvela::test {

struct TempFolder {
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sonvela-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
      ADD_FAILURE() << "no temporary folder";
    else
      path = pattern;
  }
  ~TempFolder() {
    if (!path.empty()) std::filesystem::remove_all(path);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Writes the bytes into the folder; returns the file's path.
  std::string Write(const std::string& name, std::string_view bytes) const {
    const std::string file = (path / name).string();
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }

  std::filesystem::path path;
};

}  // namespace sonvela::test
