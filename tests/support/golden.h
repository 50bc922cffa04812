#pragma once
// Golden files: outputs in sections, each from its "== name" line on, compared section by section so that a
// failure names its case. SONVELA_WRITE_GOLDEN=1 rewrites what a test compares from what the code does now
// (run the test binary itself, one process at a time); read the difference before committing it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace sonvela::test {

inline std::string GoldenPath(const std::string& name) {
  return std::string(SONVELA_TEST_DATA) + "/" + name;
}
inline bool WritingGolden() {
  return std::getenv("SONVELA_WRITE_GOLDEN") != nullptr;
}

inline std::vector<std::string> GoldenSections(const std::string& name) {
  std::ifstream in(GoldenPath(name), std::ios::binary);
  std::vector<std::string> sections;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("== ") || sections.empty()) sections.emplace_back();
    sections.back() += line + "\n";
  }
  return sections;
}
inline void WriteGolden(const std::string& name, const std::vector<std::string>& sections) {
  std::ofstream out(GoldenPath(name), std::ios::binary);
  for (const std::string& section : sections) out << section;
}

// The whole file: `sections` in order.
inline void ExpectGolden(const std::string& name, const std::vector<std::string>& sections) {
  if (WritingGolden()) return WriteGolden(name, sections);
  const std::vector<std::string> golden = GoldenSections(name);
  for (size_t i = 0; i < std::max(sections.size(), golden.size()); ++i) {
    const std::string& made = i < sections.size() ? sections[i] : golden[i];
    EXPECT_EQ(i < sections.size() ? sections[i] : "", i < golden.size() ? golden[i] : "")
        << made.substr(0, made.find('\n'));
  }
}

// One section of a file that many tests share, found by its "== title" line.
inline void ExpectGoldenSection(const std::string& name, const std::string& title, const std::string& text) {
  std::vector<std::string> sections = GoldenSections(name);
  const std::string section = "== " + title + "\n" + text;
  const auto found = std::ranges::find_if(sections, [&](const std::string& golden) {
    return golden.substr(0, golden.find('\n')) == "== " + title;
  });
  if (!WritingGolden()) {
    EXPECT_EQ(section, found == sections.end() ? "" : *found) << title;
  } else {
    found == sections.end() ? sections.push_back(section) : void(*found = section);
    WriteGolden(name, sections);
  }
}

}  // namespace sonvela::test
