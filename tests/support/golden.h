#pragma once
// Golden files: outputs in sections, each from its "== title" line on, compared section by section so that
// a failure names its case; a file may serve many tests. SONVELA_WRITE_GOLDEN=1 rewrites the sections a
// test compares from what the code does now (run the test binary itself, one process at a time); read the
// difference before committing it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace sonvela::test {

inline std::string GoldenPath(const std::string& name) {
  return std::string(SONVELA_TEST_DATA) + "/" + name;
}
inline bool WritingGolden() {
  return std::getenv("SONVELA_WRITE_GOLDEN") != nullptr;
}

// Each (title, text) against the file's section of that title.
inline void ExpectGolden(const std::string& name,
                         const std::vector<std::pair<std::string, std::string>>& made) {
  const std::string path = GoldenPath(name);
  std::vector<std::string> sections;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("== ") || sections.empty()) sections.emplace_back();
    sections.back() += line + "\n";
  }
  for (const auto& [title, text] : made) {
    const std::string head = "== " + title + "\n", section = head + text;
    const auto found =
        std::ranges::find_if(sections, [&](const std::string& s) { return s.starts_with(head); });
    if (!WritingGolden())
      EXPECT_EQ(section, found == sections.end() ? "" : *found) << path;
    else
      found == sections.end() ? sections.push_back(section) : void(*found = section);
  }
  if (!WritingGolden()) return;
  std::ofstream out(path, std::ios::binary);
  for (const std::string& section : sections) out << section;
}

}  // namespace sonvela::test
