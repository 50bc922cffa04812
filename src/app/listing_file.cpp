#include "app/listing_file.h"

#include <QFile>
#include <QString>

#include <cstdio>

#include "files/write_file.h"

namespace sonvela {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void RemoveAll(std::string& text, std::string_view piece) {
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at)) {
    text.erase(at, piece.size());
  }
}

}  // namespace

std::string ListingFileName(const std::string& songPath) {
  const size_t slash = songPath.find_last_of('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  // The name is lower-cased as text, so that letters beyond ASCII lower-case too.
  const std::string name = songPath.substr(nameStart);
  const QByteArray lower = QFile::encodeName(
      QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size()))).toLower());
  std::string shortened(lower.constData(), static_cast<size_t>(lower.size()));
  RemoveAll(shortened, ".mid");
  return songPath.substr(0, nameStart) + shortened + ".txt";
}

bool SaveListing(const LineList& lines, const std::string& songPath, MessageBoxes& messages) {
  const std::string path = ListingFileName(songPath);
  return WriteFileTellingFailure(
      path,
      [&lines](std::FILE* file) {
        for (size_t i = 0; i < lines.Size(); ++i) {
          const std::string_view line = lines[i];
          if (std::fwrite(line.data(), 1, line.size(), file) != line.size() ||
              std::fwrite(kLineEnd.data(), 1, kLineEnd.size(), file) != kLineEnd.size()) {
            return false;
          }
        }
        return true;
      },
      messages);
}

}  // namespace sonvela
